#!/usr/bin/env bash
# Builds the library, examples, benchmarks and tests from scratch and runs the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BLL_BUILD_DIR:-build-tests}
jobs=$(nproc)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j "$jobs"
# The suite includes the benchmarks' quick mode (label bench-quick), which checks that
# they build and run; tools/run-benchmarks.sh measures in full.
(cd "$build" && QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software \
    ctest --output-on-failure -j "$jobs")
