/// @file
/// The parsed form of an input script (see input.h), shared by the parser and the driver.
#pragma once

#include <vector>

#include "runtime/string.h"

namespace corvex::headless {

/// One line of the script.
struct ScriptedEvent {
    int presentation = 0;  ///< the presentations to wait for (n)
    int id = 0;            ///< EVENT_ kind
    int data = 0;          ///< the event's data
    /** @{ */
    /// The position, for moves.
    int x = 0, y = 0;
    /** @} */
};

/// Parses the script file; name is used in error messages.
std::vector<ScriptedEvent> ParseInputScript(const String& path);

}  // namespace corvex::headless
