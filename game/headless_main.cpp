// tarvolin-headless SCRIPT TRACE [MAX_FRAMES]: the game without a display, its input
// from the script and everything it draws written to the trace.
#include "game/replay_args.h"
#include "game/tarvolin.h"
#include "runtime/startup.h"

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::replayargs_module,
                   &corvex::tarvolin_module) {}
