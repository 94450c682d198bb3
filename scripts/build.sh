#!/usr/bin/env bash
# Configures and builds one flavour into build/<flavour>:
#   release  g++, optimised (the default)
#   asan     clang 14 with AddressSanitizer and UndefinedBehaviorSanitizer
# Extra arguments go to CMake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
flavour=${1:-release}
shift || true
jobs=${ZARV_JOBS:-$(nproc)}
case "$flavour" in
  release)
    cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_C_COMPILER=gcc -DCMAKE_CXX_COMPILER=g++ "$@" >/dev/null
    cmake --build build/release -j "$jobs"
    ;;
  asan)
    cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 -DZARV_SANITIZE=ON -DZARV_BUILD_FUZZ=ON "$@" >/dev/null
    cmake --build build/asan -j "$jobs"
    ;;
  *)
    echo "unknown flavour: $flavour (release or asan)" >&2
    exit 2
    ;;
esac
