#!/usr/bin/env bash
# Runs a command with an X display: the current one if DISPLAY works, else a private
# Xvfb server (with GLX, RandR and XTest) started for the command and stopped after it.
# The server picks a free display number itself, so runs side by side never collide.
set -euo pipefail
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
fifo_dir=$(mktemp -d)
mkfifo "$fifo_dir/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 +extension GLX +extension RANDR -nolisten tcp \
  3>"$fifo_dir/display" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; rm -rf "$fifo_dir"' EXIT
read -r -t 30 number <"$fifo_dir/display" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":${number}"
export LIBGL_ALWAYS_SOFTWARE=1
"$@"
