#!/usr/bin/env bash
# Builds the library, examples, benchmarks and tests from scratch and runs the whole suite;
# then runs the suite again under AddressSanitizer and UndefinedBehaviorSanitizer, and
# replays the fuzz corpus and fuzzes for a minute.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BLL_BUILD_DIR:-build-tests}
sanitize_build=${BLL_SANITIZE_BUILD_DIR:-build-sanitize}
jobs=$(nproc)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$jobs"
# The suite includes the benchmarks' quick mode (label bench-quick), which checks that
# they build and run; tools/run-benchmarks.sh measures in full.
(cd "$build" && QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software \
    ctest --output-on-failure -j "$jobs")

echo "== The suite again, under ASan and UBSan"
cmake -S . -B "$sanitize_build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBLL_SANITIZE=address,undefined -DBLL_BUILD_EXAMPLES=OFF -DBLL_BUILD_BENCHMARKS=OFF
cmake --build "$sanitize_build" -j "$jobs"
(cd "$sanitize_build" && ctest --output-on-failure -j "$jobs")

echo "== Fuzzing: corpus replay and a short run"
tools/run-fuzz.sh 60
