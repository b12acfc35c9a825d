// The command line of the games' headless programs: SCRIPT TRACE [MAX_FRAMES].
#pragma once

#include "runtime/module.h"

namespace corvex {
// Reads the command line and hands its settings to the headless platform, whose modules
// read them from the environment when they start: input from SCRIPT, the draw trace to
// TRACE, the end right after the MAX_FRAMES-th presentation (100000 by default). It
// imports only the runtime, so that it runs before the engine's modules.
extern Module replayargs_module;
}  // namespace corvex
