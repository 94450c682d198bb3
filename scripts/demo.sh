#!/usr/bin/env bash
# Sets up, builds, writes the sample files of every format and runs every
# converter of the zarv command on them. Everything lands in demo-out/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh release >/dev/null
exec tools/demo/run-demo build/release demo-out
