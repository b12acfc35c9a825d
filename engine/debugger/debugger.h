/// @file
/// The debugger: it installs the debug hooks and the unhandled-exception handler when its
/// module starts, and then talks to a controlling program (or a person at a console) over
/// standard error and standard input. Programs get it by linking the debugger's
/// application stub (corvex_program ... DEBUGGER), which starts it right after the runtime.
#pragma once

#include "runtime/module.h"

namespace corvex {

/// The module record of debugger (see InitModule).
extern Module debugger_module;

}  // namespace corvex
