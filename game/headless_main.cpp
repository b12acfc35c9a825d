// tarvolin-headless SCRIPT TRACE [MAX_FRAMES]: the same game without a display. Input
// comes from the script, everything drawn goes to the trace, and the run ends with
// status 0 right after the MAX_FRAMES-th presentation (100000 by default) unless the
// game ends first.
#include <cstdlib>

#include "game/tarvolin.h"
#include "runtime/startup.h"

namespace corvex {

// Runs before the engine's modules start, which read their settings from the
// environment (relative paths from the launch directory).
CORVEX_MODULE(replayargs, &runtime_module) {
    const int count = ApplicationArgs.Length();
    if (count < 3 || count > 4) RaiseRuntimeError("Usage: tarvolin-headless SCRIPT TRACE [MAX_FRAMES]");
    const String max_frames = count == 4 ? ApplicationArgs[3] : String("100000");
    if (max_frames.ToInt() <= 0) RaiseRuntimeError("MAX_FRAMES must be a positive number");
    setenv("CORVEX_INPUT_SCRIPT", ApplicationArgs[1].ToUtf8().c_str(), 1);
    setenv("CORVEX_DRAW_TRACE", ApplicationArgs[2].ToUtf8().c_str(), 1);
    setenv("CORVEX_DRAW_TRACE_FLIPS", max_frames.ToUtf8().c_str(), 1);
}

}  // namespace corvex

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::replayargs_module,
                   &corvex::tarvolin_module) {}
