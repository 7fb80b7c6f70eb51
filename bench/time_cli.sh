#!/usr/bin/env bash
# Times the console program on large inputs and prints wall time and MB/s
# (10^6 bytes per second) of expression text:
#   - 100,000 short expressions, one per line, on standard input;
#   - one sum of 1,000,000 terms as a single line on standard input, also
#     with its natural form;
#   - one sum of 10,000 terms as an argument (an argument of a million terms
#     would pass the kernel's 128 KiB limit for one argument);
#   - a trivial expression, for the cost of starting the program.
#
# Usage: bash bench/time_cli.sh [BUILD_DIR]   (default: build, the tree the
# scripts use; a tree that does not exist yet is configured here, as Release).
# The program is built with ninja first. Uses hyperfine as well when it is
# installed.
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${1:-build}
case $BUILD_DIR in /*) ;; *) BUILD_DIR=$REPO_ROOT/$BUILD_DIR ;; esac
CLI=$BUILD_DIR/cli/tallyfern-cli

if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S "$REPO_ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release >&2
fi
ninja -C "$BUILD_DIR" -j 2 tallyfern-cli >&2

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# 100,000 expressions in the shape of 3.5*(2+4.25)/7-1.5.
awk 'BEGIN {
    for (i = 0; i < 100000; i++)
        printf "%g*(%d+%g)/%d-%g\n", 1.5 + i % 17, 2 + i % 5, 0.25 * (i % 29), 3 + i % 11, 0.5 * (i % 7)
}' >"$WORK/short.txt"

# "1+2.5+3+4.75+..." with n terms, on one line.
long_sum() {
    awk -v n="$1" 'BEGIN {
        split("1 2.5 3 4.75 10 0.125 7", t, " ")
        for (i = 0; i < n; i++) printf "%s%s", (i ? "+" : ""), t[i % 7 + 1]
        printf "\n"
    }'
}
long_sum 1000000 >"$WORK/sum1m.txt"
long_sum 10000 >"$WORK/sum10k.txt"

bytes_of() { wc -c <"$1" | tr -d ' '; }

# time_run LABEL BYTES INPUT ARGS...: one run, output discarded; prints the
# wall time and MB/s. INPUT is a file for standard input, or - for none.
time_run() {
    local label=$1 bytes=$2 input=$3
    shift 3
    local start end status=0
    [ "$input" = - ] && input=/dev/null
    start=$(date +%s%N)
    "$CLI" "$@" <"$input" >/dev/null || status=$?
    end=$(date +%s%N)
    awk -v l="$label" -v b="$bytes" -v ns="$((end - start))" -v s="$status" 'BEGIN {
        sec = ns / 1e9
        rate = b > 0 ? sprintf("%9.2f MB/s", b / sec / 1e6) : sprintf("%9s     ", "-")
        printf "%-44s %12d bytes  %9.3f s  %s%s\n", l, b, sec, rate, (s ? "  (exit " s ")" : "")
    }'
}

echo "program: $CLI ($(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$BUILD_DIR/CMakeCache.txt"))"
time_run "100,000 short expressions (stdin)" "$(bytes_of "$WORK/short.txt")" "$WORK/short.txt"
time_run "1,000,000-term sum (stdin)" "$(bytes_of "$WORK/sum1m.txt")" "$WORK/sum1m.txt"
time_run "1,000,000-term sum, natural form (stdin)" "$(bytes_of "$WORK/sum1m.txt")" "$WORK/sum1m.txt" --natural
sum10k=$(tr -d '\n' <"$WORK/sum10k.txt")
time_run "10,000-term sum (argument)" "${#sum10k}" - -- "$sum10k"
time_run "start-up: 1+1 (argument)" 0 - -- "1+1"

if command -v hyperfine >/dev/null; then
    echo
    hyperfine --warmup 1 --runs 5 "'$CLI' <'$WORK/short.txt' >/dev/null"
    hyperfine --warmup 3 --runs 50 "'$CLI' -- 1+1 >/dev/null"
fi
