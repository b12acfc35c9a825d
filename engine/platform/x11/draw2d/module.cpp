#include "runtime/module.h"

namespace corvex {

// The OpenGL 2D driver, installed before this record runs, stays current on X11.
CORVEX_MODULE(platformdraw2d, &runtime_module) {}

}  // namespace corvex
