#include "game/replay_args.h"

#include <cstdlib>

#include "runtime/startup.h"

namespace corvex {

CORVEX_MODULE(replayargs, &runtime_module) {
    const int count = ApplicationArgs.Length();
    if (count < 3 || count > 4) RaiseRuntimeError("Usage: " + ApplicationArgs[0] + " SCRIPT TRACE [MAX_FRAMES]");
    const String max_frames = count == 4 ? ApplicationArgs[3] : String("100000");
    if (max_frames.ToInt() <= 0) RaiseRuntimeError("MAX_FRAMES must be a positive number");
    setenv("CORVEX_INPUT_SCRIPT", ApplicationArgs[1].ToUtf8().c_str(), 1);
    setenv("CORVEX_DRAW_TRACE", ApplicationArgs[2].ToUtf8().c_str(), 1);
    setenv("CORVEX_DRAW_TRACE_FLIPS", max_frames.ToUtf8().c_str(), 1);
}

}  // namespace corvex
