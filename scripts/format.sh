#!/usr/bin/env bash
# Formats every C++ source file of the repository with .clang-format, or with
# --check only reports the files that differ and exits non-zero.
#   usage: bash scripts/format.sh [--check]
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

mapfile -t files < <(find expr render plot session ui cli platform res tests bench fuzz \
    -type f \( -name '*.cpp' -o -name '*.h' \) | sort)
if [ "${1:-}" = "--check" ]; then
    clang-format --dry-run --Werror "${files[@]}"
else
    clang-format -i "${files[@]}"
fi
