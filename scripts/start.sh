#!/usr/bin/env bash
# Builds Tallyfern and starts the calculator, passing on any arguments.
# Installs what is missing first (see setup.sh). Build output goes to
# standard error, so standard output carries only the calculator's.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# The program that is "the calculator": the console program for now.
APP_TARGET=tallyfern-cli
APP_PATH=build/cli/tallyfern-cli

bash scripts/setup.sh </dev/null >&2
configure_build build >&2
build build "$APP_TARGET" >&2

exec "$REPO_ROOT/$APP_PATH" "$@"
