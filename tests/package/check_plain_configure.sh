#!/usr/bin/env bash
# A library user has Qt and a compiler, nothing else. From a clean copy of the tree, with every
# package the build can look for beyond Qt hidden (-DCMAKE_DISABLE_FIND_PACKAGE_<name>=ON):
# the default configure succeeds, and the README's install commands build and install the
# library, its CMake package and its pkg-config file.
# Usage: check_plain_configure.sh <source dir> <scratch dir> <Qt major version>
set -euo pipefail

source_dir=$(cd "$1" && pwd)
scratch=$2
qt_major=$3

# Every find_package() of the tree, except Qt's and the library's own packages; Qt modules
# with a package of their own (Qt5Svg, Qt6Svg) are hidden too.
mapfile -t optional < <(grep -rhoE --include=CMakeLists.txt --exclude-dir='build*' 'find_package\( *[A-Za-z0-9_]+' \
    "$source_dir" | sed 's/.*( *//' | grep -vE '^(Qt[0-9]*|Bll_Painted_Item.*)$' | sort -u)
hidden=()
for package in "${optional[@]}"; do
    hidden+=("-DCMAKE_DISABLE_FIND_PACKAGE_$package=ON")
done
echo "hidden: ${optional[*]}"

rm -rf "$scratch"
mkdir -p "$scratch/source"
# A clean tree: no build directories or other leftovers of the checkout it comes from.
tar -C "$source_dir" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$scratch/source" -xf -
cd "$scratch"

echo "== default configure"
cmake -S source -B default -DBLL_QT_MAJOR="$qt_major" "${hidden[@]}" >default.log
grep -q "Google Benchmark not found" default.log
grep -q "Qt SVG not found" default.log

echo "== the README's install commands"
cmake -S source -B build -DCMAKE_INSTALL_PREFIX="$scratch/prefix" -DBLL_BUILD_TESTS=OFF \
    -DBLL_QT_MAJOR="$qt_major" "${hidden[@]}" >/dev/null
cmake --build build -j "$(nproc)" >/dev/null
cmake --install build >/dev/null
find "$scratch/prefix" -name 'libBll_Painted_Item*.so.1' | grep -q .
find "$scratch/prefix" -name 'Bll_Painted_Item*Config.cmake' | grep -q .
find "$scratch/prefix" -name 'Bll_Painted_Item*.pc' | grep -q .
find "$scratch/prefix" -name bll_painted_item.h | grep -q .
# Built without Qt SVG, the package asks for none.
! grep -q Svg "$(find "$scratch/prefix" -name 'Bll_Painted_Item*.pc')" \
    "$(find "$scratch/prefix" -name 'Bll_Painted_Item*Config.cmake')"
echo "installed with only Qt present"
