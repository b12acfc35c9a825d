// The 2D drawing layer's module record. Its state starts empty: the default font is made
// by the first 2D context, the current context and driver by the first MakeCurrent.
#include "draw2d/draw2d.h"
#include "graphics/graphics.h"
#include "pixmap/pixmap.h"

namespace corvex {

CORVEX_MODULE(draw2d, &runtime_module, &pixmap_module, &graphics_module) {}

}  // namespace corvex
