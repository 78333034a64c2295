#!/usr/bin/env bash
# examples/minimal pulls the library's tree in with add_subdirectory(), as the README's command
# says (readme_walk.sh), in a clean copy of the tree, and runs. The tree must leave its tests,
# examples, benchmarks, docs and uninstall targets to its own top-level build, and the build
# type to the parent.
# Usage: check_subproject.sh <source dir> <scratch dir> <Qt major version>
set -euo pipefail

source_dir=$(cd "$1" && pwd)
scratch=$2
qt_major=$3

rm -rf "$scratch"
mkdir -p "$scratch/source"
tar -C "$source_dir" --exclude='./build*' --exclude=./.git -cf - . | tar -C "$scratch/source" -xf -
cd "$scratch/source"

README=$source_dir/README.md
PREFIX=$scratch/nothing-installed
QT_MAJOR=$qt_major
CONFIGURE_OPTIONS=()
source "$source_dir/tests/package/readme_walk.sh"
walk subproject

build=build-minimal-sub
targets=$(cmake --build "$build" --target help)
for target in Bll_Painted_Item bll_painteditem_plugin minimal; do
    grep -qw "$target" <<<"$targets" || { echo "missing target $target"; exit 1; }
done
for target in tst_item gallery bll_bench docs uninstall; do
    ! grep -qw "$target" <<<"$targets" || { echo "the subproject built $target"; exit 1; }
done
grep -q '^CMAKE_BUILD_TYPE:STRING=$' "$build/CMakeCache.txt" \
    || { echo "the subproject set the build type"; exit 1; }
echo "examples/minimal builds and runs with the library as its subproject"
