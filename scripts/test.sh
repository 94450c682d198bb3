#!/usr/bin/env bash
# Sets up, builds and runs every test twice: a g++ release build and a
# clang AddressSanitizer + UndefinedBehaviorSanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

status=0
for flavour in release asan; do
  echo "== $flavour build"
  scripts/build.sh "$flavour"
  echo "== $flavour tests"
  if ! ctest --test-dir "build/$flavour" --output-on-failure -j "$(nproc)"; then
    status=1
  fi
done
echo "== fuzz targets (sanitizer build)"
if ! scripts/fuzz.sh build/asan "${ZARV_FUZZ_SECONDS:-15}"; then
  status=1
fi
exit $status
