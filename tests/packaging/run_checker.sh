#!/usr/bin/env bash
# Runs a checker of a file format on a file; the test fails when the checker
# fails or, with --no-warnings, when it prints anything on standard error
# (man reports its formatter's warnings there and still exits 0).
# Exits 77 (skipped) when the checker is not installed.
#
#   run_checker.sh [--no-warnings] DEBIAN_PACKAGE PROGRAM [ARGS...]
set -euo pipefail

no_warnings=false
if [ "${1:-}" = --no-warnings ]; then
    no_warnings=true
    shift
fi
package=${1:?usage: run_checker.sh [--no-warnings] DEBIAN_PACKAGE PROGRAM [ARGS...]}
program=${2:?usage: run_checker.sh [--no-warnings] DEBIAN_PACKAGE PROGRAM [ARGS...]}
shift 2

if ! command -v "$program" >/dev/null 2>&1; then
    echo "run_checker: SKIPPED: $program is not installed (Debian package $package; scripts/setup.sh installs it)" >&2
    exit 77
fi

errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
status=0
"$program" "$@" 2>"$errors" || status=$?
cat "$errors" >&2
if [ "$status" -ne 0 ]; then
    echo "run_checker: FAILED: $program exited with status $status" >&2
    exit 1
fi
if $no_warnings && [ -s "$errors" ]; then
    echo "run_checker: FAILED: $program reported warnings" >&2
    exit 1
fi
echo "run_checker: $program passed" >&2
