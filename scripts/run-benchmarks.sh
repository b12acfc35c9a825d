#!/usr/bin/env bash
# Runs every benchmark program built under bench/ in the given build folder.
set -euo pipefail
build=${1:-build}
for b in "$build"/bench/*/bench_*; do
  [ -x "$b" ] || continue
  echo "== $b"
  "$b"
done
