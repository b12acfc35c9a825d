#include "graphics/graphics.h"
#include "graphics/state.h"

namespace corvex {

using namespace graphics_state;

GraphicsModeList GraphicsModes() {
    if (_graphicsModes.Length() == 0) _graphicsModes = _driver->GraphicsModes();
    return _graphicsModes.Copy();
}

int CountGraphicsModes() { return GraphicsModes().Length(); }

void GetGraphicsMode(int index, int& width, int& height, int& depth, int& hertz) {
    Ref<TGraphicsMode> mode = GraphicsModes()[index];
    width = mode->width;
    height = mode->height;
    depth = mode->depth;
    hertz = mode->hertz;
}

int GraphicsModeExists(int width, int height, int depth, int hertz) {
    for (const Ref<TGraphicsMode>& mode : GraphicsModes()) {
        if (width && width != mode->width) continue;
        if (height && height != mode->height) continue;
        if (depth && depth != mode->depth) continue;
        if (hertz && hertz != mode->hertz) continue;
        return 1;
    }
    return 0;
}

}  // namespace corvex
