// Graphics flags: the buffers a graphics context asks for. Shared by the graphics
// module and the platforms' context layers, which turn them into pixel formats.
#pragma once

namespace corvex {

enum : int {
    GRAPHICS_BACKBUFFER = 2,
    GRAPHICS_ALPHABUFFER = 4,
    GRAPHICS_DEPTHBUFFER = 8,
    GRAPHICS_STENCILBUFFER = 16,
    GRAPHICS_ACCUMBUFFER = 32,
};

}  // namespace corvex
