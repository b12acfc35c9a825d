/// @file
/// The OpenGL graphics driver: contexts on the platform's window system (GLX windows on
/// X11, windowless contexts on the headless platform; see platform/api/glcontext.h), plus
/// small OpenGL helpers for renderers.
///
/// The module's start-up makes GLGraphicsDriver() the current driver with
/// GRAPHICS_BACKBUFFER as default flags; both platforms provide it under the same names,
/// so a program links the X11 or the headless layer without changing its code.
#pragma once

#include "graphics/graphics.h"
#include "runtime/module.h"

namespace corvex {

struct GLContext;
class TGLGraphicsDriver;

/// A graphics context over one native OpenGL context.
class TGLGraphics : public TGraphics {
public:
    /// Takes over the native context.
    explicit TGLGraphics(GLContext* context) : _context(context) {}
    /// The OpenGL graphics driver.
    Ref<TGraphicsDriver> Driver() override;
    /// The native context's settings; all 0 once closed.
    void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
    /// Releases the native context; a second Close does nothing.
    void Close() override;

    GLContext* _context;  ///< nullptr once closed
};

/// The graphics driver over the platform's OpenGL contexts.
class TGLGraphicsDriver : public TGraphicsDriver {
public:
    GraphicsModeList GraphicsModes() override;
    Ref<TGraphics> AttachGraphics(GraphicsWidget widget, int flags) override;
    Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) override;
    /// A context of another driver makes no OpenGL context current.
    void SetGraphics(Ref<TGraphics> g) override;
    void Flip(int sync) override;
    /// Called twice around an operation, runs it in the shared context (where textures
    /// of every context live) and returns to the drawing context.
    virtual void SwapSharedContext();
};

/// The one driver of the process.
Ref<TGLGraphicsDriver> GLGraphicsDriver();
/// Makes the OpenGL driver current, then opens the exclusive context with it.
Ref<TGraphics> GLGraphics(int width, int height, int depth = 0, int hertz = 60, int flags = 0);

/** @{ */
/// A pixel-exact 2D projection of the viewport (y down) with culling, alpha and depth
/// tests off; EndOrtho restores what BeginOrtho saved.
void BeginOrtho();
void EndOrtho();
/** @} */
/** @{ */
/// The modelview and projection matrices BeginOrtho replaced, for EndOrtho.
extern double ortho_mv[16];
extern double ortho_pj[16];
/** @} */
/// Smallest power of two not below n (1 for n <= 1; at most 2^30).
int Pow2Size(int n);
/// Raises width and height to powers of two, then halves them until the OpenGL
/// implementation accepts a texture of that size.
void GLAdjustTexSize(int& width, int& height);

/// The module record of glgraphics (see InitModule).
extern Module glgraphics_module;

}  // namespace corvex
