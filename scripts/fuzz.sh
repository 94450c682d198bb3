#!/usr/bin/env bash
# Runs every fuzz target of a sanitizer build for a short while, seeded with
# the generated sample files. Usage: scripts/fuzz.sh [BUILD_DIR] [SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/asan}
seconds=${2:-20}
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
"$build/tools/zarv-samples" "$corpus/samples" >/dev/null
status=0
for target in "$build"/fuzz/*_fuzz; do
  name=$(basename "$target")
  mkdir -p "$corpus/$name"
  cp "$corpus"/samples/* "$corpus/$name/"
  if "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -max_len=65536 \
       -print_final_stats=0 "$corpus/$name" >"$corpus/$name.log" 2>&1; then
    echo "fuzz $name: ok (${seconds}s)"
  else
    echo "fuzz $name: FAILED"
    tail -40 "$corpus/$name.log"
    status=1
  fi
done
exit $status
