#include "glgraphics/glgraphics.h"

#include <vector>

#include "platform/api/glcontext.h"
#include "runtime/exception.h"

namespace corvex {

// Graphics flags go to the native layer unchanged.
static_assert(GRAPHICS_BACKBUFFER == GLCONTEXT_BACKBUFFER && GRAPHICS_ALPHABUFFER == GLCONTEXT_ALPHABUFFER &&
              GRAPHICS_DEPTHBUFFER == GLCONTEXT_DEPTHBUFFER && GRAPHICS_STENCILBUFFER == GLCONTEXT_STENCILBUFFER &&
              GRAPHICS_ACCUMBUFFER == GLCONTEXT_ACCUMBUFFER);

namespace {

Ref<TGLGraphicsDriver> _glDriver;

GLContext* OpenContext(const TGLGraphics& g) {
    if (!g._context) RaiseRuntimeError("Assert failed");
    return g._context;
}

// A native context that could not be made yields Null, like any mode that cannot be
// opened, so the failure reaches the caller of Graphics as Null.
Ref<TGraphics> Wrap(GLContext* context) {
    if (!context) return nullptr;
    return New<TGLGraphics>(context);
}

}  // namespace

Ref<TGraphicsDriver> TGLGraphics::Driver() {
    OpenContext(*this);
    return GLGraphicsDriver();
}

void TGLGraphics::GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) {
    GLContextGetSettings(OpenContext(*this), width, height, depth, hertz, flags);
}

void TGLGraphics::Close() {
    if (!_context) return;
    GLContextClose(_context);
    _context = nullptr;
}

GraphicsModeList TGLGraphicsDriver::GraphicsModes() {
    constexpr int kMaxModes = 1024;
    std::vector<int> buffer(4 * kMaxModes);
    const int count = GLContextModes(buffer.data(), kMaxModes);
    GraphicsModeList modes(count);
    for (int i = 0; i < count; ++i) {
        Ref<TGraphicsMode> mode = New<TGraphicsMode>();
        mode->width = buffer[4 * i];
        mode->height = buffer[4 * i + 1];
        mode->depth = buffer[4 * i + 2];
        mode->hertz = buffer[4 * i + 3];
        modes[i] = mode;
    }
    return modes;
}

Ref<TGraphics> TGLGraphicsDriver::AttachGraphics(GraphicsWidget widget, int flags) {
    return Wrap(GLContextAttach(widget, flags));
}

Ref<TGraphics> TGLGraphicsDriver::CreateGraphics(int width, int height, int depth, int hertz, int flags) {
    return Wrap(GLContextCreate(width, height, depth, hertz, flags));
}

void TGLGraphicsDriver::SetGraphics(Ref<TGraphics> g) {
    Ref<TGLGraphics> gl = Cast<TGLGraphics>(g);
    GLContextMakeCurrent(gl ? gl->_context : nullptr);
}

void TGLGraphicsDriver::Flip(int sync) { GLContextFlip(sync); }

void TGLGraphicsDriver::SwapSharedContext() { GLContextSwapShared(); }

Ref<TGLGraphicsDriver> GLGraphicsDriver() {
    if (!_glDriver) _glDriver = New<TGLGraphicsDriver>();
    return _glDriver;
}

Ref<TGraphics> GLGraphics(int width, int height, int depth, int hertz, int flags) {
    SetGraphicsDriver(GLGraphicsDriver(), GRAPHICS_BACKBUFFER);
    return Graphics(width, height, depth, hertz, flags);
}

CORVEX_MODULE(glgraphics, &runtime_module, &graphics_module) {
    SetGraphicsDriver(GLGraphicsDriver(), GRAPHICS_BACKBUFFER);
}

}  // namespace corvex
