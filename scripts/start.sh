#!/usr/bin/env bash
# Builds Tallyfern and starts the calculator, passing on any arguments.
# Installs what is missing first (see setup.sh). Build output goes to
# standard error, so standard output carries only the calculator's.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

# The calculator's window; the console program is build/cli/tallyfern-cli.
APP_TARGET=tallyfern
APP_PATH=build/ui/tallyfern

bash scripts/setup.sh </dev/null >&2
configure_build build >&2
build build "$APP_TARGET" >&2

exec "$REPO_ROOT/$APP_PATH" "$@"
