#!/usr/bin/env bash
# The consumer pulls the library's tree in with add_subdirectory() and links the target that
# find_package() would give. The tree must leave its tests, examples, benchmarks and docs
# target to its own top-level build, and the build type to the parent.
# Usage: check_subproject.sh <source dir> <scratch dir> <Qt major version>
set -euo pipefail

source_dir=$(cd "$1" && pwd)
scratch=$2
qt_major=$3
package=Bll_Painted_Item
[ "$qt_major" = 6 ] && package=Bll_Painted_ItemQt6

rm -rf "$scratch"
cmake -S "$(dirname "$0")/consumer" -B "$scratch" -DBLL_SOURCE_DIR="$source_dir" \
    -DBLL_QT_MAJOR="$qt_major" -DBLL_PACKAGE="$package" >/dev/null
targets=$(cmake --build "$scratch" --target help)
for target in Bll_Painted_Item bll_painteditem_plugin consumer; do
    grep -qw "$target" <<<"$targets" || { echo "missing target $target"; exit 1; }
done
for target in tst_item gallery bll_bench docs; do
    ! grep -qw "$target" <<<"$targets" || { echo "the subproject built $target"; exit 1; }
done
grep -q '^CMAKE_BUILD_TYPE:STRING=$' "$scratch/CMakeCache.txt" \
    || { echo "the subproject set the build type"; exit 1; }

cmake --build "$scratch" --target consumer -j "$(nproc)" >/dev/null
"$scratch/consumer"
