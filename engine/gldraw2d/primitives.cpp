// Shapes in immediate mode, and pixmaps copied to and from the screen.
#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "gldraw2d/gldraw2d.h"
#include "gldraw2d/state.h"

namespace corvex {

using namespace gldraw2d_state;

namespace {

// Vertices of an oval with radii xr and yr: about one per pixel of the radii, at least
// 12, and a multiple of 4 so that the shape is symmetric about both axes.
int OvalSegments(float xr, float yr) {
    const int segs = std::max(static_cast<int>(std::fabs(xr) + std::fabs(yr)), 12);
    return segs & ~3;
}

}  // namespace

void TGLDraw2DDriver::Plot(float x, float y) {
    DisableTex();
    glBegin(GL_POINTS);
    glVertex2f(x + 0.5f, y + 0.5f);
    glEnd();
}

void TGLDraw2DDriver::DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) {
    DisableTex();
    glBegin(GL_LINES);
    TransformedVertex(x0, y0, tx + 0.5f, ty + 0.5f);
    TransformedVertex(x1, y1, tx + 0.5f, ty + 0.5f);
    glEnd();
}

void TGLDraw2DDriver::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) {
    DisableTex();
    glBegin(GL_QUADS);
    TransformedVertex(x0, y0, tx, ty);
    TransformedVertex(x1, y0, tx, ty);
    TransformedVertex(x1, y1, tx, ty);
    TransformedVertex(x0, y1, tx, ty);
    glEnd();
}

void TGLDraw2DDriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) {
    const float xr = (x1 - x0) * 0.5f;
    const float yr = (y1 - y0) * 0.5f;
    const int segs = OvalSegments(xr, yr);
    const float cx = x0 + xr, cy = y0 + yr;
    DisableTex();
    glBegin(GL_POLYGON);
    for (int i = 0; i < segs; ++i) {
        const double theta = i * 2 * std::numbers::pi / segs;
        TransformedVertex(cx + static_cast<float>(std::cos(theta)) * xr, cy - static_cast<float>(std::sin(theta)) * yr,
                          tx, ty);
    }
    glEnd();
}

void TGLDraw2DDriver::DrawPoly(const Array<float>& xy, float handle_x, float handle_y, float origin_x, float origin_y) {
    if (xy.Length() < 6 || xy.Length() % 2) return;
    DisableTex();
    glBegin(GL_POLYGON);
    for (int i = 0; i < xy.Length(); i += 2) {
        TransformedVertex(xy[i] + handle_x, xy[i + 1] + handle_y, origin_x, origin_y);
    }
    glEnd();
}

void TGLDraw2DDriver::DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) {
    const int blend = state_blend;
    DisableTex();
    SetBlend(SOLIDBLEND);
    Ref<TPixmap> t = MirrorPixmapY(pixmap);
    if (t->format != PF_RGBA8888) t = t->Convert(PF_RGBA8888);
    // A raster position off the screen would be invalid and drop the pixels: start from
    // the visible corner and move without drawing to the bottom-left of the target.
    glRasterPos2i(0, 0);
    glBitmap(0, 0, 0, 0, static_cast<float>(x), static_cast<float>(-y - t->height), nullptr);
    glDrawPixels(t->width, t->height, GL_RGBA, GL_UNSIGNED_BYTE, t->pixels);
    SetBlend(blend);
}

Ref<TPixmap> TGLDraw2DDriver::GrabPixmap(int x, int y, int width, int height) {
    const int blend = state_blend;
    SetBlend(SOLIDBLEND);
    Ref<TPixmap> p = CreatePixmap(width, height, PF_RGBA8888, 4);
    glReadPixels(x, GraphicsHeight() - height - y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, p->pixels);
    p = MirrorPixmapY(p);
    SetBlend(blend);
    return p;
}

}  // namespace corvex
