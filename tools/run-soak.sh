#!/usr/bin/env bash
# Soak run, not part of CI: the item in a real QQuickView with the threaded render loop on
# OpenGL (Mesa under xvfb-run), built with AddressSanitizer and UndefinedBehaviorSanitizer, fed
# generated calls and repainted frame after frame for SECONDS (default 600). Full frames are
# painted in bands on BLL_PAINT_THREADS threads (default 4). Any sanitizer finding ends the run
# with an error; the resident set is printed every five seconds, and its range after the warm-up
# at the end, with how the frames were painted.
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
# as the slow one stalls for many minutes in Mesa's shader compiler.
export ASAN_OPTIONS=quarantine_size_mb=16
export LSAN_OPTIONS=suppressions=$PWD/tests/sanitizer/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1
export QSG_RENDER_LOOP=threaded QT_QPA_PLATFORM=xcb
export BLL_PAINT_THREADS=${BLL_PAINT_THREADS:-4}
export QT_LOGGING_RULES="bll.painteditem.retained.debug=true"
unset QT_QUICK_BACKEND

# Mesa unloads its GL driver when Qt closes the X display at exit, before LeakSanitizer looks:
# what the driver still holds from its own static data then looks leaked, and its stacks end in
# an unknown module. Loaded beforehand, it stays until the end (and names its frames). The
# sanitizer's runtime, when the program loads it, must come first.
driver=${BLL_SOAK_GL_DRIVER:-/usr/lib/$(gcc -print-multiarch)/dri/swrast_dri.so}
preload=""
if [ -f "$driver" ]; then
    asan=$(ldd "$build/bench/soak/bll_soak" | awk '/libasan/ { print $3 }')
    preload="$asan $driver"
else
    echo "run-soak.sh: no GL driver at $driver: leaks it holds at exit may be reported" >&2
fi

log=$build/soak-stderr.log
status=0
xvfb-run -a -s "-screen 0 1280x720x24" env LD_PRELOAD="$preload" \
    "$build/bench/soak/bll_soak" "$seconds" "$boxes" 2>"$log" || status=$?
grep -v '^bll\.painteditem\.retained: ' "$log" >&2 || true
awk '/retained: repainted/ { part++ } /retained: full frame:/ { full++ }
     /retained: full frame in/ { banded++; bands[$(NF - 1)]++ }
     END { printf "frames repainted in part: %d, in full: %d, of them in bands: %d", part, full, banded
           for (n in bands) printf " (%d in %d bands)", bands[n], n
           print "" }' "$log"
exit $status
