#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# fuzz.sh <build-dir> <seconds>: runs every fuzz target for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
dir=$1; seconds=$2
found=0
for target in "$dir"/tests/fuzz_*; do
  [ -x "$target" ] || continue
  found=1
  corpus=$(mktemp -d)
  echo "fuzzing $(basename "$target") for ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len=70000 -print_final_stats=1 "$corpus"
  rm -rf "$corpus"
done
[ "$found" -eq 1 ] || { echo "no fuzz target was built" >&2; exit 1; }
