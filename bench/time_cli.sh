#!/usr/bin/env bash
# Times the console program on generated inputs, each run RUNS times (default
# 5) with the best wall time kept, and prints MB/s (10^6 bytes per second) of
# expression text and the peak memory (resident set) of a run:
#   - 100,000 short expressions of about 27 bytes, one per line, on standard
#     input (target: at least 30 MB/s);
#   - the same number of shorter ones (about 18 bytes), as timed before;
#   - sums of 100,000 and 1,000,000 terms as one line on standard input, one
#     computation each (target: at least 20 MB/s for the million terms, and
#     at most 11 times the time of the 100,000), and the million terms with
#     their natural form (target: at most 200 MB of memory);
#   - one sum of 10,000 terms as an argument (a million terms would pass the
#     kernel's 128 KiB limit for one argument);
#   - `1+1` as an argument, for the cost of starting the program (target: at
#     most 1 ms).
# The targets are printed beside the figures; the script does not fail on
# them, as a loaded machine misses any target.
#
# Usage: bash bench/time_cli.sh [BUILD_DIR]   (default: build-rel, configured
# here as a Release build without tests when it does not exist yet). The
# program is built first. Peak memory needs GNU time (/usr/bin/time); uses
# hyperfine as well when it is installed.
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${1:-build-rel}
case $BUILD_DIR in /*) ;; *) BUILD_DIR=$REPO_ROOT/$BUILD_DIR ;; esac
CLI=$BUILD_DIR/cli/tallyfern-cli
RUNS=${RUNS:-5}

if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S "$REPO_ROOT" -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DBUILD_TESTING=OFF -DTALLYFERN_WINDOW=OFF >&2
fi
ninja -C "$BUILD_DIR" -j 2 tallyfern-cli >&2

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# 100,000 expressions in the shape of 3.5*(2+4.25)/7-1.5*(8-0.75), and as
# many in the shorter shape 3.5*(2+4.25)/7-1.5.
awk 'BEGIN {
    for (i = 0; i < 100000; i++)
        printf "%g*(%d+%g)/%d-%g*(%d-%g)\n", 1.5 + i % 17, 2 + i % 5, 0.25 * (i % 29), 3 + i % 11,
            0.5 * (i % 7), 8 + i % 3, 0.25 * (i % 13)
}' >"$WORK/short27.txt"
awk 'BEGIN {
    for (i = 0; i < 100000; i++)
        printf "%g*(%d+%g)/%d-%g\n", 1.5 + i % 17, 2 + i % 5, 0.25 * (i % 29), 3 + i % 11, 0.5 * (i % 7)
}' >"$WORK/short18.txt"

# "1+2.5+3+4.75+..." with n terms, on one line.
long_sum() {
    awk -v n="$1" 'BEGIN {
        split("1 2.5 3 4.75 10 0.125 7", t, " ")
        for (i = 0; i < n; i++) printf "%s%s", (i ? "+" : ""), t[i % 7 + 1]
        printf "\n"
    }'
}
long_sum 1000000 >"$WORK/sum1m.txt"
long_sum 100000 >"$WORK/sum100k.txt"
long_sum 10000 >"$WORK/sum10k.txt"

bytes_of() { wc -c <"$1" | tr -d ' '; }

# best_run INPUT ARGS...: the best wall time of RUNS runs in microseconds, and
# the exit status of the last one. INPUT is a file for standard input, or -.
best_run() {
    local input=$1 best=0 start end i
    shift
    [ "$input" = - ] && input=/dev/null
    last_status=0
    for ((i = 0; i < RUNS; i++)); do
        # The shell's own clock: starting `date` would cost about a
        # millisecond, as much as the program's whole start-up.
        start=${EPOCHREALTIME/./}
        "$CLI" "$@" <"$input" >/dev/null || last_status=$?
        end=${EPOCHREALTIME/./}
        if [ "$best" -eq 0 ] || [ $((end - start)) -lt "$best" ]; then best=$((end - start)); fi
    done
    best_us=$best
}

# peak_kb INPUT ARGS...: the peak resident memory of one run, or "-".
peak_kb() {
    local input=$1
    shift
    [ "$input" = - ] && input=/dev/null
    if [ -x /usr/bin/time ]; then
        /usr/bin/time -f %M "$CLI" "$@" <"$input" 2>&1 >/dev/null | tail -n 1
    else
        echo -
    fi
}

# time_run LABEL BYTES TARGET INPUT ARGS...: prints the best wall time, the
# rate, the peak memory and the target.
time_run() {
    local label=$1 bytes=$2 target=$3 input=$4
    shift 4
    best_run "$input" "$@"
    local peak
    peak=$(peak_kb "$input" "$@")
    awk -v l="$label" -v b="$bytes" -v us="$best_us" -v s="$last_status" -v p="$peak" -v t="$target" 'BEGIN {
        sec = us / 1e6
        rate = b > 0 ? sprintf("%8.2f MB/s", b / sec / 1e6) : sprintf("%8s     ", "-")
        mem = p == "-" ? "      -" : sprintf("%7.1f MB", p / 1024)
        printf "%-42s %9d bytes %9.4f s %s %s  %s%s\n", l, b, sec, rate, mem, t, (s ? "  (exit " s ")" : "")
    }'
}

echo "program: $CLI ($(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$BUILD_DIR/CMakeCache.txt")), best of $RUNS runs"
time_run "100,000 expressions of ~27 bytes (stdin)" "$(bytes_of "$WORK/short27.txt")" "[>= 30 MB/s]" "$WORK/short27.txt"
time_run "100,000 expressions of ~18 bytes (stdin)" "$(bytes_of "$WORK/short18.txt")" "" "$WORK/short18.txt"
time_run "100,000-term sum (stdin)" "$(bytes_of "$WORK/sum100k.txt")" "" "$WORK/sum100k.txt"
us100k=$best_us
time_run "1,000,000-term sum (stdin)" "$(bytes_of "$WORK/sum1m.txt")" "[>= 20 MB/s]" "$WORK/sum1m.txt"
us1m=$best_us
time_run "1,000,000-term sum, natural form (stdin)" "$(bytes_of "$WORK/sum1m.txt")" "[<= 200 MB]" "$WORK/sum1m.txt" --natural
sum10k=$(tr -d '\n' <"$WORK/sum10k.txt")
time_run "10,000-term sum (argument)" "${#sum10k}" "" - -- "$sum10k"
time_run "start-up: 1+1 (argument)" 0 "[<= 1 ms]" - -- "1+1"
awk -v a="$us1m" -v b="$us100k" 'BEGIN { printf "time of 1,000,000 terms / time of 100,000 terms: %.1f  [<= 11]\n", a / b }'

if command -v hyperfine >/dev/null; then
    echo
    hyperfine --warmup 1 --runs 5 "'$CLI' <'$WORK/short27.txt' >/dev/null"
    hyperfine --warmup 3 --runs 50 "'$CLI' -- 1+1 >/dev/null"
fi
