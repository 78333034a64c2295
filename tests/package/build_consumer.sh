#!/usr/bin/env bash
# Builds and runs the tiny consumer against an installed tree twice: through the CMake package
# and through pkg-config.
# Usage: build_consumer.sh <install prefix> <scratch dir> <C++ compiler> <package name>
set -euo pipefail

prefix=$1
scratch=$2
compiler=$3
package=$4
consumer=$(cd "$(dirname "$0")/consumer" && pwd)

echo "== CMake package"
cmake -S "$consumer" -B "$scratch/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_CXX_COMPILER="$compiler" -DCMAKE_CXX_FLAGS="-Wall -Wextra -Werror" \
    -DBLL_PACKAGE="$package" >/dev/null
cmake --build "$scratch/cmake-build"
"$scratch/cmake-build/consumer"

echo "== pkg-config"
pc_file=$(find "$prefix" -name "$package.pc")
export PKG_CONFIG_PATH=$(dirname "$pc_file")
libdir=$(pkg-config --variable=libdir "$package")
# Qt is built with reduced relocations, so its users must be position independent.
# shellcheck disable=SC2046
"$compiler" -std=c++17 -fPIC -Wall -Wextra -Werror "$consumer/main.cpp" \
    -o "$scratch/consumer-pc" $(pkg-config --cflags --libs "$package")
LD_LIBRARY_PATH=$libdir "$scratch/consumer-pc"
