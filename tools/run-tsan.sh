#!/usr/bin/env bash
# ThreadSanitizer run, not part of CI: the library, tst_retained and the soak run built with
# -DBLL_SANITIZE=thread; the rows of tst_retained that paint full frames in bands on 2 to 8
# threads, then the soak run (the threaded render loop on OpenGL under xvfb-run, bands on four
# threads) for SECONDS (default 180). Qt is not built with ThreadSanitizer: tools/tsan-qt-sync.cpp
# makes what orders the bands visible, tests/sanitizer/tsan.supp suppresses Qt's own state. Exits
# with an error when any run reports anything.
#   tools/run-tsan.sh [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-180}
qt=${BLL_QT_MAJOR:-5}
build=${BLL_TSAN_BUILD_DIR:-build-tsan}

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBLL_SANITIZE=thread -DBLL_QT_MAJOR="$qt" \
    -DBLL_BUILD_TESTS=ON -DBLL_BUILD_SOAK=ON -DBLL_BUILD_EXAMPLES=OFF -DBLL_BUILD_BENCHMARKS=OFF \
    -DBLL_BUILD_QML_MODULE=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target tst_retained bll_soak
c++ -std=c++17 -shared -fPIC -O1 -Wall -Wextra $(pkg-config --cflags "Qt${qt}Core") \
    tools/tsan-qt-sync.cpp -o "$build/libtsan-qt-sync.so" $(pkg-config --libs "Qt${qt}Core") -ldl

export TSAN_OPTIONS="suppressions=$PWD/tests/sanitizer/tsan.supp:second_deadlock_stack=1"
# The sanitizer's runtime first, when the program loads it, then the hand-over of Qt's threads.
tsan=$(ldd "$build/tests/tst_retained" | awk '/libtsan/ { print $3 }')
preload="$tsan $PWD/$build/libtsan-qt-sync.so"

status=0
for threads in 2 3 4 5 6 7 8; do
    QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software LD_PRELOAD="$preload" \
        "$build/tests/tst_retained" "framesMatchFullRepaints:$threads threads" || status=1
done

# The offscreen platform draws with GLX too, but starts no D-Bus or X event threads of its own,
# whose state Qt also keeps behind futexes.
QSG_RENDER_LOOP=threaded QT_QPA_PLATFORM=offscreen BLL_PAINT_THREADS=${BLL_PAINT_THREADS:-4} \
    xvfb-run -a -s "-screen 0 1280x720x24" env -u QT_QUICK_BACKEND LD_PRELOAD="$preload" \
    "$build/bench/soak/bll_soak" "$seconds" || status=1
exit $status
