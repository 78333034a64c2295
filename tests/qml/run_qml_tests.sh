#!/usr/bin/env bash
# Installs the build into a scratch prefix and runs the QML TestCase files beside this script
# with Qt's qmltestrunner against the installed module, as a QML-only application would use it.
# Usage: run_qml_tests.sh <library build dir> <scratch dir> <QML dir in the prefix> <qmltestrunner>
set -euo pipefail

build=$1
scratch=$2
qml_dir=$3
qmltestrunner=$4
tests=$(cd "$(dirname "$0")" && pwd)

rm -rf "$scratch"
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
# A build for /usr gives the plug-in no path to the library, which the system's loader would find.
libdir=$(sed -n 's/^CMAKE_INSTALL_LIBDIR:PATH=//p' "$build/CMakeCache.txt")
export LD_LIBRARY_PATH=$scratch/prefix/$libdir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
# The tests save files into the current directory.
mkdir -p "$scratch/files"
cd "$scratch/files"
# grabImage() reads the window back, which Qt 5 can do only from a real display's backing
# store, not offscreen: an X server of its own, software rendering for the same pixels.
# The gallery's scene in the look its host gives it, so that its controls fit their panels.
export QT_QUICK_CONTROLS_CONF="$tests/../../examples/gallery/qtquickcontrols2.conf"
QT_QPA_PLATFORM=xcb QT_QUICK_BACKEND=software xvfb-run -a \
    "$qmltestrunner" -import "$scratch/prefix/$qml_dir" -input "$tests"
