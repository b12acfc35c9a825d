#!/usr/bin/env bash
# Installs the engine built in the folder $1 into a temporary prefix, then builds and
# runs against it: headless/ with find_package and corvex::headless, checking the
# recording driver's trace; x11/ with pkg-config and one compiler line, under Xvfb.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$1" --prefix "$prefix" >/dev/null
strict="-Wall -Wextra -Werror"

cmake -S "$here/headless" -B "$work/headless" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_CXX_FLAGS="$strict" >/dev/null
cmake --build "$work/headless" -j "${JOBS:-2}" >/dev/null
CORVEX_DRAW_TRACE="$work/trace" "$work/headless/headless_consumer"
grep -qx "rect 0 0 30 40 10 20" "$work/trace" || { echo "no rectangle in the trace:"; cat "$work/trace"; exit 1; }

export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
# shellcheck disable=SC2046,SC2086  # the flags are words
c++ -std=c++20 $strict "$here/x11/main.cpp" -o "$work/x11_consumer" $(pkg-config --cflags --libs corvex)
bash "$root/scripts/with-xvfb.sh" "$work/x11_consumer"
echo "install: both consumers ran"
