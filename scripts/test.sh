#!/usr/bin/env bash
# Checks the format of the sources (scripts/format.sh) and that no files include
# each other in a loop (scripts/include_loops.py), then builds Tallyfern,
# checks the naming rule (scripts/tidy.sh) and runs every test: first a
# RelWithDebInfo build in build/, then an optimized build with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/. Installs what is missing first (see setup.sh).
# Both builds have the C++ standard library's assertions on, and their tests
# include the replay of every fuzz corpus and kept finding (fuzz/corpus,
# fuzz/regressions) through each fuzz target: in build-asan/ that runs under
# the sanitizers with leak checking, without needing clang or libFuzzer.
# Exits non-zero when the format check, any build or any test fails.
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

bash scripts/setup.sh || exit 1

failures=()
passed_total=0
failed_total=0

# run_tests DIR: ctest in DIR; adds its counts to the totals.
run_tests() {
    local dir=$1 log
    log=$(mktemp)
    ctest --test-dir "$dir" --output-on-failure --no-tests=error -j "$JOBS" </dev/null 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    # "100% tests passed, 0 tests failed out of 57"
    local summary
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1)
    rm -f "$log"
    if [ -n "$summary" ]; then
        local failed total
        failed=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$summary")
        total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$summary")
        passed_total=$((passed_total + total - failed))
        failed_total=$((failed_total + failed))
    fi
    [ "$status" -eq 0 ] || failures+=("tests in $dir")
}

echo "== format (.clang-format)"
if bash scripts/format.sh --check; then
    echo "every source file is formatted"
else
    failures+=("format check (bash scripts/format.sh formats the tree)")
fi

echo "== include loops"
python3 scripts/include_loops.py || failures+=("include loops (python3 scripts/include_loops.py)")

echo "== build/ (RelWithDebInfo)"
if configure_build build && build build; then
    echo "== names (.clang-tidy)"
    bash scripts/tidy.sh build || failures+=("naming check (bash scripts/tidy.sh)")
    run_tests build
else
    failures+=("build of build/")
fi

echo "== build-asan/ (RelWithDebInfo, AddressSanitizer + UndefinedBehaviorSanitizer)"
# Leaks fail a test as any other sanitizer report does.
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
if configure_build build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTALLYFERN_SANITIZE=ON -DTALLYFERN_BENCHMARKS=OFF &&
    build build-asan; then
    run_tests build-asan
else
    failures+=("build of build-asan/")
fi

echo
if [ ${#failures[@]} -eq 0 ]; then
    echo "test.sh: everything passed (build/ and build-asan/)"
    echo "tests: $passed_total passed, $failed_total failed"
    exit 0
fi
for f in "${failures[@]}"; do echo "test.sh: FAILED: $f"; done
echo "tests: $passed_total passed, $failed_total failed"
exit 1
