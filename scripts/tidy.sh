#!/usr/bin/env bash
# Checks the naming rule (.clang-tidy: readability-identifier-naming) over
# every C++ source file of the repository, with the compile commands of a
# build tree that has been built (the window's generated headers must be
# there). Exits non-zero on any finding.
#
#   bash scripts/tidy.sh [BUILD_DIR]     (default: build)
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

dir=${1:-build}
if [ ! -f "$dir/compile_commands.json" ]; then
    echo "tidy.sh: $dir/compile_commands.json is missing: configure and build $dir first" >&2
    exit 2
fi
log=$(mktemp)
git ls-files -z '*.cpp' |
    xargs -0 -P "$JOBS" -n 8 clang-tidy -p "$dir" --quiet >"$log" 2>/dev/null
findings=$(grep -E '(warning|error):' "$log" | sort -u)
rm -f "$log"
if [ -n "$findings" ]; then
    printf '%s\n' "$findings"
    echo "tidy.sh: $(wc -l <<<"$findings") names break the rule" >&2
    exit 1
fi
echo "every name follows the rule"
