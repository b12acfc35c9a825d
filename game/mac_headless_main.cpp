// tarvolin_mac-headless SCRIPT TRACE [MAX_FRAMES]: the earlier revision without a
// display, run as tarvolin-headless runs the game.
#include "game/replay_args.h"
#include "game/tarvolin_mac.h"
#include "runtime/startup.h"

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::replayargs_module,
                   &corvex::tarvolin_mac_module) {}
