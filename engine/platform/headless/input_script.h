/// @file
/// The parsed form of an input script (see input.h), shared by the parser and the driver.
#pragma once

#include <vector>

#include "runtime/string.h"

namespace corvex::headless {

struct ScriptedEvent {
    int presentation = 0;
    int id = 0;  ///< EVENT_ kind
    int data = 0;
    int x = 0, y = 0;  ///< for moves
};

/// Parses the script file; name is used in error messages.
std::vector<ScriptedEvent> ParseInputScript(const String& path);

}  // namespace corvex::headless
