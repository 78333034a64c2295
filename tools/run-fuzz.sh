#!/usr/bin/env bash
# Builds the libFuzzer harness with clang (ASan, UBSan), replays the committed
# corpus, then fuzzes for SECONDS (default 60). New inputs go to build-fuzz/corpus;
# findings are written to build-fuzz/ as crash-*, leak-*, timeout-* or slow-unit-*.
# A long run: nice -n 19 tools/run-fuzz.sh 1800
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
build=${BLL_FUZZ_BUILD_DIR:-build-fuzz}

# Without precompiled headers, so that a file that leans on them for an include it lacks
# fails here.
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_DISABLE_PRECOMPILE_HEADERS=ON \
    -DBLL_BUILD_FUZZERS=ON -DBLL_SANITIZE=address,undefined -DBLL_BUILD_QML_MODULE=OFF \
    -DBLL_BUILD_TESTS=OFF -DBLL_BUILD_EXAMPLES=OFF -DBLL_BUILD_BENCHMARKS=OFF
cmake --build "$build" -j "$(nproc)" --target fuzz_item

# The full unwinder on every allocation: Qt has no frame pointers, and the suppressions of Qt's
# font cache and the platform plugin match frames beyond Qt's first one. The fuzzing time is
# fixed, so the slower allocations only cost inputs.
export ASAN_OPTIONS=fast_unwind_on_malloc=0
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1
fuzzer=$(cd "$build" && pwd)/fuzz/fuzz_item
root=$PWD
mkdir -p "$build/corpus"
cd "$build"

# The fuzzing run starts by running every input of both corpora, the committed one included,
# whatever SECONDS is. An input of many frames, each compared with a full repaint, may take
# seconds under the sanitizers on a loaded machine: a hang is what runs past 30 s.
echo "Replaying the committed corpus, then fuzzing for $seconds s"
"$fuzzer" -max_total_time="$seconds" -timeout=30 -max_len=4096 -print_final_stats=1 \
    -dict="$root/fuzz/item.dict" corpus "$root/fuzz/corpus"
