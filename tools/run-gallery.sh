#!/usr/bin/env bash
# Builds the gallery and runs it: in a window when there is a display, otherwise headless,
# rendering the scene once into a PNG.
set -euo pipefail
cd "$(dirname "$0")/.."

build=${BLL_BUILD_DIR:-build-gallery}
jobs=$(nproc)

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBLL_BUILD_TESTS=OFF -DBLL_BUILD_BENCHMARKS=OFF -DBLL_BUILD_EXAMPLES=ON
cmake --build "$build" --target gallery -j "$jobs"
gallery="$build/examples/gallery/gallery"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$gallery" "$@"
fi

screenshot="$(cd "$build" && pwd)/gallery.png"
QT_QPA_PLATFORM=offscreen QT_QUICK_BACKEND=software "$gallery" --screenshot "$screenshot" "$@"
echo "No display found, so the gallery was rendered headless into:"
echo "  $screenshot"
