#!/usr/bin/env bash
# Makes the library's Debian packages with cpack, checks their names and dependencies and that
# lintian finds neither errors nor warnings in them, extracts them into a scratch root
# (dpkg-deb -x), and there builds and runs the consumer (CMake package, pkg-config) and the QML
# tests against the packaged QML module. The packages come from the given build when it was
# configured for /usr (the test suite's are), else from a build of their own for /usr.
# Usage: check_debian_packages.sh <source dir> <scratch dir> <Qt major version> [<build dir>]
set -euo pipefail

source_dir=$(cd "$1" && pwd)
scratch=$2
qt_major=$3
build=${4:-}
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
if [ "$qt_major" = 5 ]; then
    package=Bll_Painted_Item runtime=libbll-painted-item1 dev=libbll-painted-item-dev
    qml=qml-module-bll-painteditem qt_qml=qt5/qml qt_qml_library=libqt5qml5 qt_quick_library=libqt5quick5
    qt_svg_library=libqt5svg5 qt_svg_dev=libqt5svg5-dev
else
    package=Bll_Painted_ItemQt6 runtime=libbll-painted-item-qt6-1 dev=libbll-painted-item-qt6-dev
    qml=qml6-module-bll-painteditem qt_qml=qt6/qml qt_qml_library=libqt6qml6 qt_quick_library=libqt6quick6
    qt_svg_library=libqt6svg6 qt_svg_dev=qt6-svg-dev
fi

rm -rf "$scratch"
mkdir -p "$scratch/root"
# A build for /usr puts the QML module into Qt's own QML directory.
if [ -z "$build" ] || ! grep -qx 'CMAKE_INSTALL_PREFIX:PATH=/usr' "$build/CMakeCache.txt" \
    || ! grep -qx "BLL_QML_INSTALL_DIR:PATH=lib/$multiarch/$qt_qml" "$build/CMakeCache.txt"; then
    build=$scratch/build
    cmake -S "$source_dir" -B "$build" -DCMAKE_INSTALL_PREFIX=/usr -DBLL_QT_MAJOR="$qt_major" \
        -DBLL_BUILD_TESTS=OFF -DBLL_BUILD_EXAMPLES=OFF -DBLL_BUILD_BENCHMARKS=OFF >/dev/null
    cmake --build "$build" -j "$(nproc)" >/dev/null
fi
# The packages go to the scratch directory, wherever they are built from.
(cd "$build" && cpack -G DEB -B "$scratch/build" >"$scratch/cpack.log" 2>&1)

# depends <package> <dependency>: the package's Depends field names the dependency.
depends() {
    dpkg-deb -f "$scratch/build/$1"_*.deb Depends | tr ',' '\n' | grep -q "^ *$2\b" \
        || { echo "$1 does not depend on $2"; exit 1; }
}
depends "$runtime" "$qt_quick_library"   # from the binary
depends "$runtime" "$qt_svg_library"  # SVG export, found at build time
depends "$dev" "$runtime"
depends "$dev" "$qt_svg_dev"
depends "$qml" "$runtime"
depends "$qml" "$qt_qml_library"
for deb in "$scratch/build"/*.deb; do
    dpkg-deb -f "$deb" Package Depends
    dpkg-deb -x "$deb" "$scratch/root"
done
[ "$(ls "$scratch/build"/*.deb | wc -l)" -eq 3 ]
! grep -i warning "$scratch/cpack.log" || exit 1
echo "== lintian"
lintian --fail-on error,warning "$scratch/build"/*.deb
test -f "$scratch/root/usr/lib/$multiarch/$qt_qml/Bll/PaintedItem/qmldir"

# The packaged files sit where Debian's own would, so nothing finds them in the scratch root
# unaided: the library through LD_LIBRARY_PATH, the QML module through its import path.
export LD_LIBRARY_PATH=$scratch/root/usr/lib/$multiarch
"$source_dir/tests/package/build_consumer.sh" "$scratch/root/usr" "$scratch" c++ "$package"
echo "== QML module"
# The gallery's scene in the look its host gives it, so that its controls fit their panels.
export QT_QUICK_CONTROLS_CONF="$source_dir/examples/gallery/qtquickcontrols2.conf"
QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software xvfb-run -a "/usr/lib/qt$qt_major/bin/qmltestrunner" \
    -import "$scratch/root/usr/lib/$multiarch/$qt_qml" -input "$source_dir/tests/qml/tst_families.qml"
