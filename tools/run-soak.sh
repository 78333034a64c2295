#!/usr/bin/env bash
# Soak run, not part of CI: the item in a real QQuickView with the threaded render loop on
# OpenGL (Mesa under xvfb-run), built with AddressSanitizer and UndefinedBehaviorSanitizer, fed
# generated calls and repainted frame after frame for SECONDS (default 600). Any sanitizer
# finding ends the run with an error; the resident set is printed every five seconds, and its
# range after the warm-up at the end.
#   tools/run-soak.sh [SECONDS] [BOXES]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-600}
boxes=${2:-3000}
build=${BLL_SOAK_BUILD_DIR:-build-soak}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLL_SANITIZE=address,undefined \
    -DBLL_BUILD_SOAK=ON -DBLL_BUILD_TESTS=OFF -DBLL_BUILD_EXAMPLES=OFF -DBLL_BUILD_BENCHMARKS=OFF \
    >/dev/null
cmake --build "$build" -j "$(nproc)" --target bll_soak

# A small quarantine, so that the resident set settles within the warm-up; the fast unwinder,
# as the slow one takes minutes over Mesa's shader compiler.
export ASAN_OPTIONS=quarantine_size_mb=16
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1
export QSG_RENDER_LOOP=threaded QT_QPA_PLATFORM=xcb
unset QT_QUICK_BACKEND
xvfb-run -a -s "-screen 0 1280x720x24" "$build/bench/soak/bll_soak" "$seconds" "$boxes"
