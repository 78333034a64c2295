#!/usr/bin/env bash
# Builds everything from scratch and runs the whole suite: the formatting check, then the
# tests against Qt 5 (the benchmarks' quick mode included), again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then against Qt 6; then replays the fuzz corpus and fuzzes for a
# minute. Whatever fails on the way, it ends with one line: "tests: N passed, N failed".
set -uo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
passed=0
failed=0
trap 'echo "tests: $passed passed, $failed failed"' EXIT
# timed <command...>: runs one step and says how long it took, and the run so far.
timed() {
    local start=$SECONDS
    "$@"
    echo "-- $((SECONDS - start)) s (the run so far: $SECONDS s)"
}

# step <title> <command...>: one check that counts as one test.
step() {
    local title=$1
    shift
    echo "== $title"
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "FAILED: $title"
        failed=$((failed + 1))
    fi
}

check_format() {
    git ls-files -- '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
}

# suite <title> <build dir> [cmake options...]: configure, build and run one build's tests.
# Counts come from ctest's JUnit report; a build that fails, or a run that fails without a
# report that says so, counts as one failure.
suite() {
    local title=$1 build=$2
    shift 2
    echo "== $title"
    if ! cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" \
        || ! cmake --build "$build" -j "$jobs"; then
        echo "FAILED: $title does not build"
        failed=$((failed + 1))
        return
    fi
    local report=$build/junit.xml status=0
    rm -f "$report"
    (cd "$build" && QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software \
        ctest --output-on-failure -j "$jobs" --output-junit junit.xml) || status=$?
    # One <testcase> per test: status "run" passed; "fail" and "notrun" (no executable) did not.
    local runs=0 failures=0
    if [ -f "$report" ]; then
        runs=$(grep -c 'status="run"' "$report")
        failures=$(grep -cE 'status="(fail|notrun)"' "$report")
    fi
    passed=$((passed + runs))
    failed=$((failed + failures))
    if [ "$status" -ne 0 ] && [ "$failures" -eq 0 ]; then
        echo "FAILED: $title: ctest exited with $status"
        failed=$((failed + 1))
    fi
}

timed step "Formatting (clang-format --dry-run --Werror)" check_format
# The suites build for /usr, so that the Debian package test packs their build instead of its own.
timed suite "Qt 5" build-tests -DBLL_BUILD_BENCHMARKS=ON -DCMAKE_INSTALL_PREFIX=/usr
timed suite "Qt 5 under ASan and UBSan" build-sanitize -DBLL_SANITIZE=address,undefined \
    -DBLL_BUILD_EXAMPLES=OFF -DBLL_BUILD_BENCHMARKS=OFF -DBLL_BUILD_QML_MODULE=OFF
timed suite "Qt 6" build-tests-qt6 -DBLL_QT_MAJOR=6 -DBLL_BUILD_BENCHMARKS=ON \
    -DCMAKE_INSTALL_PREFIX=/usr

fuzz() {
    mkdir -p build-fuzz
    if tools/run-fuzz.sh 60 >build-fuzz/fuzz.log 2>&1; then
        grep -E '^(Done|stat::number_of_executed_units)' build-fuzz/fuzz.log
        return 0
    fi
    tail -n 60 build-fuzz/fuzz.log
    return 1
}
timed step "Fuzzing: corpus replay and a short run (log: build-fuzz/fuzz.log)" fuzz

[ "$failed" -eq 0 ]
