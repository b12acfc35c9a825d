#!/usr/bin/env bash
# Starts the game built in BUILD (default build). Without a display it runs the game on
# a virtual display (Xvfb) instead, plays a short session at it (the title, a key, the
# meadow, a few clicks that plant flowers, Escape) and saves screenshots of the title
# and of the meadow in BUILD/screenshots.
set -euo pipefail
build=${1:-build}
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$build/game/tarvolin"
fi
echo "No display available: running the game on a virtual display (Xvfb) with a short scripted session."
shots="$build/screenshots"
mkdir -p "$shots"
# The colours awaited: the title's sky near the top-left corner, then the meadow's sky.
bash "$(dirname "$0")/with-xvfb.sh" "$build/tools/xdrive" "$build/game/tarvolin" \
  check 40 40 63 154 246 sleep 300 shot "$shots/title.png" \
  key space check 10 10 100 200 255 \
  move 420 520 click sleep 400 move 600 540 click sleep 400 move 512 600 click sleep 1500 \
  shot "$shots/meadow.png" key Escape exit
echo "Screenshots of the title and of the meadow: $shots/title.png $shots/meadow.png"
