// The "--frames N" option the animated examples share, so a test can run them for a
// fixed number of frames.
#pragma once

#include "runtime/startup.h"

namespace corvex::examples {

// The number after "--frames" on the command line, or -1 to run until told to stop.
inline int FrameLimit() {
    for (int i = 1; i + 1 < ApplicationArgs.Length(); ++i) {
        if (ApplicationArgs[i] == String("--frames")) return ApplicationArgs[i + 1].ToInt();
    }
    return -1;
}

}  // namespace corvex::examples
