/// @file
/// Graphics: the device-independent front of the graphics system.
///
/// One current driver and one current context per process. Contexts are opened and
/// closed through the driver; the driver's display modes are cached; Flip presents the
/// current context and, for the exclusive context opened by Graphics, paces frames on an
/// exact millisecond schedule (vertical sync is used only where a measurement shows that
/// the hardware already runs at the requested rate).
#pragma once

#include <cstdint>

#include "runtime/array.h"
#include "runtime/module.h"
#include "runtime/object.h"
#include "runtime/string.h"

namespace corvex {

/// Graphics flags: the buffers a graphics context asks for.
enum : int {
    GRAPHICS_BACKBUFFER = 2,
    GRAPHICS_ALPHABUFFER = 4,
    GRAPHICS_DEPTHBUFFER = 8,
    GRAPHICS_STENCILBUFFER = 16,
    GRAPHICS_ACCUMBUFFER = 32,
};

/// A display mode a driver can open full-screen; depth is bits per pixel.
class TGraphicsMode : public Object {
public:
    int width = 0;   ///< in pixels
    int height = 0;  ///< in pixels
    int depth = 0;   ///< bits per pixel
    int hertz = 0;   ///< refresh rate

    String ToString() const override;  ///< "640,480,32 60Hz"
};

/// The modes a driver offers.
using GraphicsModeList = Array<Ref<TGraphicsMode>>;

class TGraphicsDriver;

/// A graphics context: a surface some driver made.
class TGraphics : public Object {
public:
    /// The driver that made the context.
    virtual Ref<TGraphicsDriver> Driver() = 0;
    /// The context's size, depth (0 for a window), refresh rate and graphics flags.
    virtual void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) = 0;
    /// Closes the context; its settings are 0 afterwards.
    virtual void Close() = 0;
};

/// A native window handle an existing context can be attached to.
using GraphicsWidget = std::uintptr_t;

/// What makes and presents graphics contexts.
class TGraphicsDriver : public Object {
public:
    /// The full-screen modes the display offers.
    virtual GraphicsModeList GraphicsModes() = 0;
    /// A context over an existing native window; Null when that fails.
    virtual Ref<TGraphics> AttachGraphics(GraphicsWidget widget, int flags) = 0;
    /// depth 0 asks for a window, any other depth for full-screen.
    virtual Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) = 0;
    /// Makes g (Null: nothing) the driver's current context.
    virtual void SetGraphics(Ref<TGraphics> g) = 0;
    /// Presents the current context: sync 0 at once, 1 at the vertical blank.
    virtual void Flip(int sync) = 0;
};

/// Run at the start of every Flip.
extern int FlipHook;
/// Generation of the graphics: changes whenever the exclusive context opens or closes,
/// never 0. Textures and frames made under another value are gone.
extern int GraphicsSeq;

/// Makes driver the current driver, with the flags Graphics adds to the ones it is given.
void SetGraphicsDriver(Ref<TGraphicsDriver> driver, int defaultFlags);
/// The default flags of the current driver.
int DefaultGraphicsFlags();

/** @{ */
/// The current driver's modes, how many there are, and the one at index.
GraphicsModeList GraphicsModes();
int CountGraphicsModes();
void GetGraphicsMode(int index, int& width, int& height, int& depth, int& hertz);
/** @} */
/// 1 when a mode matches; an argument of 0 matches anything.
int GraphicsModeExists(int width, int height, int depth, int hertz);

/** @{ */
/// Contexts from the current driver, not made current; Null when the driver fails.
Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags);
Ref<TGraphics> AttachGraphics(GraphicsWidget widget, int flags);
/** @} */
/// Closes g; when it is current, no context is current afterwards.
void CloseGraphics(Ref<TGraphics> g);
/// Makes g (Null: nothing) the current context, through the driver that made it.
void SetGraphics(Ref<TGraphics> g);

/** @{ */
/// Settings of the current context, 0 when there is none.
int GraphicsWidth();
int GraphicsHeight();
int GraphicsDepth();
int GraphicsHertz();
int GraphicsFlags();
/** @} */

/// sync: -1 paced by the schedule of the exclusive context, 0 at once, 1 vertical blank.
void Flip(int sync = -1);

/// Opens the exclusive context, makes it current and starts its pacing; Null on failure.
Ref<TGraphics> Graphics(int width, int height, int depth = 0, int hertz = 60, int flags = 0);
/// Closes the exclusive context (nothing when none is open).
void EndGraphics();

/// The module record of graphics (see InitModule).
extern Module graphics_module;

}  // namespace corvex
