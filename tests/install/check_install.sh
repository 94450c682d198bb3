#!/usr/bin/env bash
# Installs the build into a scratch prefix, then builds and runs a C host
# against it three ways: the CMake package (shared and static) and pkg-config.
set -euo pipefail
build=$1
here=$(cd "$(dirname "$0")" && pwd)
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake --install "$build" --prefix "$scratch/prefix" >/dev/null
cmake -S "$here/consumer" -B "$scratch/consumer" -DCMAKE_PREFIX_PATH="$scratch/prefix" -DCMAKE_C_COMPILER=gcc \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$scratch/consumer" >/dev/null
LD_LIBRARY_PATH="$scratch/prefix/lib" "$scratch/consumer/shared_host"
"$scratch/consumer/static_host"
export PKG_CONFIG_PATH="$scratch/prefix/lib/pkgconfig"
# shellcheck disable=SC2046
gcc "$here/consumer/main.c" $(pkg-config --cflags --libs zarv) -o "$scratch/pkgconfig_host"
LD_LIBRARY_PATH="$scratch/prefix/lib" "$scratch/pkgconfig_host"
