#!/usr/bin/env bash
# Builds everything from scratch and runs the whole suite: against Qt 5 (the benchmarks'
# quick mode included), again under AddressSanitizer and UndefinedBehaviorSanitizer, then
# against Qt 6; then replays the fuzz corpus and fuzzes for a minute.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
passed=0
failed=0

# suite <title> <build dir> [cmake options...]: configure, build and run one build's tests.
suite() {
    local title=$1 build=$2
    shift 2
    echo "== $title"
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@"
    cmake --build "$build" -j "$jobs"
    local status=0
    (cd "$build" && QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software \
        ctest --output-on-failure -j "$jobs") 2>&1 | tee "$build/ctest.log" || status=$?
    local total failures
    total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$build/ctest.log" | tail -n 1)
    failures=$(sed -n 's/.* \([0-9]*\) tests failed out of.*/\1/p' "$build/ctest.log" | tail -n 1)
    passed=$((passed + ${total:-0} - ${failures:-0}))
    failed=$((failed + ${failures:-0}))
    # ctest failed without a summary line: count the build's run as one failure.
    if [ "$status" -ne 0 ] && [ "${failures:-0}" -eq 0 ]; then
        failed=$((failed + 1))
    fi
}

suite "Qt 5" build-tests
suite "Qt 5 under ASan and UBSan" build-sanitize \
    -DBLL_SANITIZE=address,undefined -DBLL_BUILD_EXAMPLES=OFF -DBLL_BUILD_BENCHMARKS=OFF
suite "Qt 6" build-tests-qt6 -DBLL_QT_MAJOR=6

echo "== Fuzzing: corpus replay and a short run (log: build-fuzz/fuzz.log)"
mkdir -p build-fuzz
if tools/run-fuzz.sh 60 >build-fuzz/fuzz.log 2>&1; then
    grep -E '^(Done|stat::number_of_executed_units)' build-fuzz/fuzz.log || true
    passed=$((passed + 1))
else
    tail -n 60 build-fuzz/fuzz.log
    failed=$((failed + 1))
fi

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
