#!/usr/bin/env bash
# Installs the built library into a scratch prefix, then builds and runs a tiny
# consumer against it twice: through the CMake package and through pkg-config.
# Usage: check_package.sh <library build dir> <scratch dir> <C++ compiler> [package name]
set -euo pipefail

build=$1
scratch=$2
compiler=$3
package=${4:-Bll_Painted_Item}

rm -rf "$scratch"
mkdir -p "$scratch"
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
"$(dirname "$0")/build_consumer.sh" "$scratch/prefix" "$scratch" "$compiler" "$package"
