#!/usr/bin/env bash
# The processor time per frame of the real game on the X server (run it under
# scripts/with-xvfb.sh): past the title, the meadow runs for 5 s at its 60 frames a
# second, and the program's processor time over that span is divided by the frames
# shown in it. The budget of a frame is 16.7 ms.
set -euo pipefail
# It is copied to BUILD/bench/game/bench_frame_time and finds the programs from there.
build=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
"$build/tools/xdrive" "$build/game/tarvolin" check 40 40 63 154 246 key space check 10 10 100 200 255 \
  sleep 1000 cpu sleep 5000 cpu key Escape exit |
  awk '/^cpu/ { cpu[n] = $2; wall[n++] = $4 }
       END { frames = (wall[1] - wall[0]) * 60 / 1000
             printf "game frame: %.2f ms of processor time per frame (%d frames of the world of 302 objects)\n",
                    (cpu[1] - cpu[0]) / frames, frames }'
