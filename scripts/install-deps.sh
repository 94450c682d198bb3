#!/usr/bin/env bash
# Installs every Debian package the build, the tests, the benchmarks and the
# demo need. Does nothing when they are all present already.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config git
  clang-14 libclang-rt-14-dev llvm-14
  libexpected-dev libfmt-dev libboost1.81-dev libcli11-dev
  libspng-dev zlib1g-dev
  libgtest-dev libgmock-dev libbenchmark-dev libsimdjson-dev
  python3 python3-mido
  libwildmidi-dev libopenmpt-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
