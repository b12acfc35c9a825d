#!/usr/bin/env bash
# Takes the screenshots of examples/README.md: runs each windowed example built in BUILD
# (default build) on the X display, or on a private Xvfb without one, and saves its
# window, a moment after it opened, as examples/screenshots/NAME.png.
set -euo pipefail
build=${1:-build}
here=$(dirname "$0")
shots="$here/../examples/screenshots"
mkdir -p "$shots"
# Each example with the milliseconds to let it run before the shot: long enough for its
# moving parts to have moved somewhere that shows them.
for example in first_window:2000 drawing:1500 collisions:2500; do
  name=${example%%:*}
  bash "$here/with-xvfb.sh" "$build/tools/xdrive" "$build/examples/$name" \
    sleep "${example#*:}" shot "$shots/$name.png"
  echo "$shots/$name.png"
done
