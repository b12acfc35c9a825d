/// @file
/// The graphics module's process-wide state, shared by its source files only.
#pragma once

#include "graphics/graphics.h"

namespace corvex::graphics_state {

/** @{ */
/// The current driver and its default flags, its modes as last listed, the current
/// context and its settings, and the exclusive context.
extern int _defaultFlags;
extern Ref<TGraphicsDriver> _driver;
extern GraphicsModeList _graphicsModes;
extern Ref<TGraphics> _graphics;
extern int _gWidth, _gHeight, _gDepth, _gHertz, _gFlags;
extern Ref<TGraphics> _exGraphics;
/** @} */

/** @{ */
/// Millisecond arithmetic wraps like the 32-bit clock it works on.
inline int WrapAdd(int a, int b) { return static_cast<int>(static_cast<unsigned>(a) + static_cast<unsigned>(b)); }
inline int WrapSub(int a, int b) { return static_cast<int>(static_cast<unsigned>(a) - static_cast<unsigned>(b)); }
/** @} */

}  // namespace corvex::graphics_state
