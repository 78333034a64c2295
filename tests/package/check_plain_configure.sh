#!/usr/bin/env bash
# A library user has Qt and a compiler, nothing else. From a clean copy of the tree, with every
# package the build can look for beyond Qt hidden (-DCMAKE_DISABLE_FIND_PACKAGE_<name>=ON):
# the default configure succeeds, and the README's commands, run as written (readme_walk.sh),
# install the library, build and run examples/minimal against it through its CMake package and
# through pkg-config, and uninstall it again, leaving nothing behind.
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
cd "$scratch/source"

echo "== default configure"
cmake -S . -B "$scratch/default" -DBLL_QT_MAJOR="$qt_major" "${hidden[@]}" >"$scratch/default.log"
grep -q "Google Benchmark not found" "$scratch/default.log"
grep -q "Qt SVG not found" "$scratch/default.log"

README=$source_dir/README.md
PREFIX=$scratch/prefix
QT_MAJOR=$qt_major
CONFIGURE_OPTIONS=("${hidden[@]}")
source "$source_dir/tests/package/readme_walk.sh"
walk install
find "$PREFIX" -name 'libBll_Painted_Item*.so.1' | grep -q .
find "$PREFIX" -name bll_painted_item.h | grep -q .
# Built without Qt SVG, the package asks for none.
! grep -q Svg "$(find "$PREFIX" -name 'Bll_Painted_Item*.pc')" \
    "$(find "$PREFIX" -name 'Bll_Painted_Item*Config.cmake')"
[ ! -e build/examples ] && [ ! -e build/bench ] || { echo "the install built more than the library"; exit 1; }
walk minimal
quoted cmake examples/minimal/CMakeLists.txt
walk pkg-config
walk uninstall
[ ! -e "$PREFIX" ] || { echo "left behind:"; find "$PREFIX"; exit 1; }
echo "installed, used and uninstalled with only Qt present"
