#!/usr/bin/env bash
# Copies the project beside this script to a temporary folder outside the tree, builds
# it there against the engine's sources (add_subdirectory) and runs it.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$(dirname "$0")/project" "$work/src"
cmake -S "$work/src" -B "$work/build" -DCORVEX_ENGINE_DIR="$root/engine" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/build" -j "${JOBS:-2}" >/dev/null
out=$("$work/build/outside")
echo "$out"
[ "$out" = "outside: pixel ok, clock ok" ]
