// The driver as a graphics driver (contexts come from the OpenGL graphics driver,
// wrapped as 2D contexts) and its state setters.
#include "gldraw2d/gldraw2d.h"

#include <GL/gl.h>

#include "gldraw2d/state.h"
#include "runtime/exception.h"
#include "runtime/startup.h"
#include "runtime/string.h"

namespace corvex {

using namespace gldraw2d_state;

namespace {

Ref<TGLDraw2DDriver> _glDraw2DDriver;

GLubyte ClampByte(int value) { return static_cast<GLubyte>(value < 0 ? 0 : value > 255 ? 255 : value); }

}  // namespace

String TGLDraw2DDriver::ToString() const { return "OpenGL"; }

GraphicsModeList TGLDraw2DDriver::GraphicsModes() { return GLGraphicsDriver()->GraphicsModes(); }

Ref<TGraphics> TGLDraw2DDriver::AttachGraphics(GraphicsWidget widget, int flags) {
    return TDraw2DGraphics::Create(GLGraphicsDriver()->AttachGraphics(widget, flags), this);
}

Ref<TGraphics> TGLDraw2DDriver::CreateGraphics(int width, int height, int depth, int hertz, int flags) {
    return TDraw2DGraphics::Create(GLGraphicsDriver()->CreateGraphics(width, height, depth, hertz, flags), this);
}

void TGLDraw2DDriver::SetGraphics(Ref<TGraphics> g) {
    if (!g) {
        TDraw2DGraphics::ClearCurrent();
        GLGraphicsDriver()->SetGraphics(nullptr);
        return;
    }
    Ref<TDraw2DGraphics> g2d = Cast<TDraw2DGraphics>(g);
    if (!g2d || !Cast<TGLGraphics>(g2d->_graphics)) RaiseRuntimeError("Assert failed");
    GLGraphicsDriver()->SetGraphics(g2d->_graphics);
    ResetGLContext(g);
    g2d->MakeCurrent();
}

void TGLDraw2DDriver::Flip(int sync) { GLGraphicsDriver()->Flip(sync); }

void TGLDraw2DDriver::ResetGLContext(const Ref<TGraphics>& g) {
    int width, height, depth, hertz, flags;
    g->GetSettings(width, height, depth, hertz, flags);
    ForgetState();
    glDisable(GL_TEXTURE_2D);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, width, height, 0, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glViewport(0, 0, width, height);
}

Ref<TImageFrame> TGLDraw2DDriver::CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) {
    // Swapped back however the frame's making ends.
    struct SharedContext {
        SharedContext() { GLGraphicsDriver()->SwapSharedContext(); }
        ~SharedContext() { GLGraphicsDriver()->SwapSharedContext(); }
    } shared;
    return TGLImageFrame::CreateFromPixmap(pixmap, flags);
}

void TGLDraw2DDriver::SetBlend(int blend) { ApplyBlend(blend); }

void TGLDraw2DDriver::SetAlpha(float alpha) {
    alpha = alpha > 1 ? 1 : alpha >= 0 ? alpha : 0;  // NaN counts as 0
    color4ub[3] = static_cast<GLubyte>(alpha * 255);
    glColor4ubv(color4ub);
}

void TGLDraw2DDriver::SetColor(int red, int green, int blue) {
    color4ub[0] = ClampByte(red);
    color4ub[1] = ClampByte(green);
    color4ub[2] = ClampByte(blue);
    glColor4ubv(color4ub);
}

void TGLDraw2DDriver::SetClsColor(int red, int green, int blue) {
    glClearColor(ClampByte(red) / 255.0f, ClampByte(green) / 255.0f, ClampByte(blue) / 255.0f, 1);
}

void TGLDraw2DDriver::SetViewport(int x, int y, int width, int height) {
    if (x == 0 && y == 0 && width == GraphicsWidth() && height == GraphicsHeight()) {
        glDisable(GL_SCISSOR_TEST);
        return;
    }
    glEnable(GL_SCISSOR_TEST);
    glScissor(x, GraphicsHeight() - y - height, width, height);
}

void TGLDraw2DDriver::SetTransform(float new_ix, float new_iy, float new_jx, float new_jy) {
    ix = new_ix;
    iy = new_iy;
    jx = new_jx;
    jy = new_jy;
}

void TGLDraw2DDriver::SetLineWidth(float width) { glLineWidth(width); }

void TGLDraw2DDriver::Cls() { glClear(GL_COLOR_BUFFER_BIT); }

Ref<TGLDraw2DDriver> GLDraw2DDriver() {
    if (!_glDraw2DDriver) _glDraw2DDriver = New<TGLDraw2DDriver>();
    return _glDraw2DDriver;
}

CORVEX_MODULE(gldraw2d, &runtime_module, &graphics_module, &glgraphics_module, &draw2d_module, &pixmap_module) {
    SetGraphicsDriver(GLDraw2DDriver(), GRAPHICS_BACKBUFFER);
    // Runs before the static destructors that free images still held at exit (the
    // default font's among them).
    AddEndHandler([] { process_ending = true; });
}

}  // namespace corvex
