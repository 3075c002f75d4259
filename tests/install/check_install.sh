#!/usr/bin/env bash
# Installs the build tree into a scratch prefix, then builds and runs a C
# consumer through pkg-config and through find_package(kx).
set -euo pipefail
build=$1; src=$2; scratch=$3
rm -rf "$scratch"; mkdir -p "$scratch"
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(ls -d "$prefix"/lib*/pkgconfig | head -n1); libdir=${libdir%/pkgconfig}

# pkg-config, shared
export PKG_CONFIG_PATH=$libdir/pkgconfig
cc -std=c99 -Wall -Wextra -Werror "$src/main.c" $(pkg-config --cflags --libs kx) -o "$scratch/consumer_pc"
LD_LIBRARY_PATH=$libdir "$scratch/consumer_pc"
# pkg-config, static
cc -std=c99 -Wall -Wextra -Werror "$src/main.c" $(pkg-config --cflags kx) "$libdir/libkx.a" -lstdc++ -lm -lpthread -o "$scratch/consumer_static"
"$scratch/consumer_static"
# CMake package
cmake -S "$src" -B "$scratch/cmake" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$scratch/cmake" >/dev/null
LD_LIBRARY_PATH=$libdir "$scratch/cmake/consumer"
# the tool is installed and runs
LD_LIBRARY_PATH=$libdir "$prefix/bin/kxproj" --version
