#!/usr/bin/env bash
# Fuzzes one target for a number of seconds:
#   bash fuzz/run.sh TARGET SECONDS [LIBFUZZER OPTIONS...]
# TARGET is one of parse, compute, render, variables, console_line.
#
# Builds the libFuzzer programs with clang in build-fuzz/ (the option
# TALLYFERN_FUZZ; address and undefined-behaviour sanitizers on), then runs
# the target as one process at the lowest priority, starting from the seed
# corpus in fuzz/corpus/TARGET and the kept findings in fuzz/regressions/TARGET.
# New inputs collect in build-fuzz/corpus/TARGET, findings in
# build-fuzz/findings/TARGET/. A run counts as failed on a crash, a sanitizer
# report, a leak, an input taking more than 1 s of processor time
# (console_line: 10 s, render: 120 s; see below) or more than 2 GB, and so
# does a run that stops before its time without one.
#
# A finding, once fixed, is copied into fuzz/regressions/TARGET, where the
# tests replay it in every build (bash scripts/test.sh).
#
#   bash fuzz/run.sh TARGET merge
# adds to fuzz/corpus/TARGET those inputs of build-fuzz/corpus/TARGET that
# reach code the seed corpus does not, so that the tests replay them too.
set -euo pipefail

REPO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TARGETS="parse compute render variables console_line"

if [ $# -lt 2 ] || ! grep -qw -- "$1" <<<"$TARGETS"; then
    echo "usage: $0 TARGET SECONDS|merge [LIBFUZZER OPTIONS...]   (TARGET: $TARGETS)" >&2
    exit 2
fi
target=$1
seconds=$2
shift 2

BUILD_DIR=${FUZZ_BUILD_DIR:-$REPO_ROOT/build-fuzz}
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    CXX=${CXX:-clang++} nice -n 19 cmake -S "$REPO_ROOT" -B "$BUILD_DIR" -G Ninja \
        -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYFERN_FUZZ=ON -DTALLYFERN_WINDOW=OFF \
        -DBUILD_TESTING=OFF -DTALLYFERN_BENCHMARKS=OFF -DCMAKE_EXE_LINKER_FLAGS=-fuse-ld=lld >&2
fi
nice -n 19 cmake --build "$BUILD_DIR" -j 2 --target "fuzz_$target" >&2

corpus=$BUILD_DIR/corpus/$target
findings=$BUILD_DIR/findings/$target
# git keeps no empty folder, and libFuzzer stops at a corpus folder that is
# missing: a fresh clone has no regressions for a target until its first.
regressions=$REPO_ROOT/fuzz/regressions/$target
mkdir -p "$corpus" "$findings" "$regressions"

# An input's budget is processor time: 1 s, except for two targets. The
# console target computes each of its longer inputs twice (10 s). The render
# target's inputs are long enough for towers and nested brackets thousands
# of levels deep, and a drawing just within the natural form's 256 MiB limit,
# drawn three times, takes 75 s under the fuzzing instrumentation: its
# budget is 120 s, which a drawing whose cost outgrew the limit (as the
# square of its bars did) still exceeds. libFuzzer's own timeout counts wall
# time, which a loaded machine stretches at the lowest priority (inputs of
# 5 ms have waited over a second for a processor), so it is only the outer
# bound that stops a hang; each input it stops is then replayed alone under
# a processor-time limit, and only one that exceeds its budget there is a
# finding.
max_len=8192
cpu_budget=1
case "$target" in
    render)
        max_len=65536
        cpu_budget=120
        ;;
    console_line)
        max_len=327680
        cpu_budget=10
        ;;
esac
timeout=$((cpu_budget * 5 > 60 ? cpu_budget * 5 : 60))

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
if [ "$seconds" = merge ]; then
    # Edges alone decide, not how often each is taken: the corpus stays small.
    exec nice -n 19 "$BUILD_DIR/fuzz/fuzz_$target" -merge=1 -use_counters=0 -timeout="$timeout" -rss_limit_mb=2048 \
        "$REPO_ROOT/fuzz/corpus/$target" "$corpus"
fi
started=$(mktemp)
trap 'rm -f "$started"' EXIT
status=0
run_from=$SECONDS
nice -n 19 "$BUILD_DIR/fuzz/fuzz_$target" \
    -max_total_time="$seconds" -timeout="$timeout" -rss_limit_mb=2048 -malloc_limit_mb=2048 \
    -max_len="$max_len" -print_final_stats=1 \
    -dict="$REPO_ROOT/fuzz/$target.dict" -artifact_prefix="$findings/" "$@" \
    "$corpus" "$REPO_ROOT/fuzz/corpus/$target" "$regressions" || status=$?

# Replays what libFuzzer stopped as too slow: a real hang uses up its
# processor time, one that only waited for a processor does not.
for slow in "$findings"/timeout-*; do
    [ -f "$slow" ] && [ "$slow" -nt "$started" ] || continue
    if (ulimit -t $((cpu_budget + 1)) && exec "$BUILD_DIR/fuzz/fuzz_$target" -runs=1 "$slow") \
        >/dev/null 2>&1; then
        mkdir -p "$findings/waited"
        mv "$slow" "$findings/waited/"
        echo "$slow: within ${cpu_budget} s of processor time alone; moved to $findings/waited/" >&2
        # It stopped the run: nothing else was found (the run counts as cut
        # short below).
        status=0
    else
        echo "$slow: over ${cpu_budget} s of processor time alone: a real hang" >&2
        status=1
    fi
done

# A run that ends before its time without a finding fuzzed nothing for the
# rest of it (a sanitizer report the run cannot keep, an input that only
# waited, a crash of the fuzzer itself): that is a failure too, never a
# clean run. libFuzzer stops within a second of its time.
if [ "$seconds" -gt 0 ] && [ $((SECONDS - run_from)) -lt $((seconds - 1)) ]; then
    found=$(find "$findings" -maxdepth 1 -type f -newer "$started" | head -n 5)
    if [ -n "$found" ]; then
        echo "fuzz/run.sh: $target stopped after $((SECONDS - run_from)) of $seconds s on a finding:" >&2
        echo "$found" >&2
    else
        echo "fuzz/run.sh: $target stopped after $((SECONDS - run_from)) of $seconds s without a finding: it fuzzed nothing for the rest (see its output above)" >&2
    fi
    [ "$status" -ne 0 ] || status=3
fi
exit "$status"
