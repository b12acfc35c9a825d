// The 2D contexts, the current one, and the drawing state they store and replay.
#include <cmath>
#include <numbers>

#include "draw2d/draw2d.h"
#include "runtime/exception.h"

namespace corvex {

Ref<TDraw2DGraphics> gc;
Ref<TDraw2DDriver> _draw2dDriver;

namespace {

// Made by the first context and kept for the life of the program.
Ref<TImageFont> _defaultFont;

// The 2x2 transform from the stored rotation and scale, forwarded to the driver and, so
// that collisions are placed as shapes are drawn, to the collision layer.
void UpdateTransform(TDraw2DGraphics& g) {
    const double radians = g.tform_rot * (std::numbers::pi / 180);
    const float s = static_cast<float>(std::sin(radians));
    const float c = static_cast<float>(std::cos(radians));
    g.tform_ix = c * g.tform_scale_x;
    g.tform_iy = -s * g.tform_scale_y;
    g.tform_jx = s * g.tform_scale_x;
    g.tform_jy = c * g.tform_scale_y;
    _draw2dDriver->SetTransform(g.tform_ix, g.tform_iy, g.tform_jx, g.tform_jy);
    SetCollisions2DTransform(g.tform_ix, g.tform_iy, g.tform_jx, g.tform_jy);
}

}  // namespace

Ref<TGraphicsDriver> TDraw2DGraphics::Driver() { return _driver; }

void TDraw2DGraphics::GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) {
    _graphics->GetSettings(width, height, depth, hertz, flags);
}

void TDraw2DGraphics::Close() {
    if (!_graphics) return;
    _graphics->Close();
    _graphics = nullptr;
    _driver = nullptr;
}

void TDraw2DGraphics::Validate() {
    SetBlend(blend_mode);
    SetColor(color_red, color_green, color_blue);
    SetAlpha(color_alpha);
    SetClsColor(clscolor_red, clscolor_green, clscolor_blue);
    SetLineWidth(line_width);
    SetRotation(tform_rot);
    SetScale(tform_scale_x, tform_scale_y);
    SetViewport(viewport_x, viewport_y, viewport_w, viewport_h);
    SetOrigin(origin_x, origin_y);
    SetHandle(-handle_x, -handle_y);
    SetImageFont(image_font);
}

void TDraw2DGraphics::MakeCurrent() {
    gc = this;
    _draw2dDriver = _driver;
    if (!_draw2dDriver) RaiseRuntimeError("Assert failed");
    Validate();
    if (_setup) return;
    corvex::Cls();
    Flip(0);
    corvex::Cls();
    Flip(0);
    _setup = 1;
}

void TDraw2DGraphics::ClearCurrent() {
    gc = nullptr;
    _draw2dDriver = nullptr;
}

Ref<TDraw2DGraphics> TDraw2DGraphics::Current() { return gc; }

Ref<TDraw2DGraphics> TDraw2DGraphics::Create(const Ref<TGraphics>& g, const Ref<TDraw2DDriver>& d) {
    if (!g) return nullptr;
    int width, height, depth, hertz, flags;
    g->GetSettings(width, height, depth, hertz, flags);
    if (!_defaultFont) _defaultFont = TImageFont::CreateDefault();
    Ref<TDraw2DGraphics> context = New<TDraw2DGraphics>();
    context->viewport_w = width;
    context->viewport_h = height;
    context->image_font = _defaultFont;
    context->_graphics = g;
    context->_driver = d;
    return context;
}

void SetColor(int red, int green, int blue) {
    gc->color_red = red;
    gc->color_green = green;
    gc->color_blue = blue;
    _draw2dDriver->SetColor(red, green, blue);
}

void GetColor(int& red, int& green, int& blue) {
    red = gc->color_red;
    green = gc->color_green;
    blue = gc->color_blue;
}

void SetAlpha(float alpha) {
    gc->color_alpha = alpha;
    _draw2dDriver->SetAlpha(alpha);
}

float GetAlpha() { return gc->color_alpha; }

void SetBlend(int blend) {
    gc->blend_mode = blend;
    _draw2dDriver->SetBlend(blend);
}

int GetBlend() { return gc->blend_mode; }

void SetClsColor(int red, int green, int blue) {
    gc->clscolor_red = red;
    gc->clscolor_green = green;
    gc->clscolor_blue = blue;
    _draw2dDriver->SetClsColor(red, green, blue);
}

void GetClsColor(int& red, int& green, int& blue) {
    red = gc->clscolor_red;
    green = gc->clscolor_green;
    blue = gc->clscolor_blue;
}

void SetLineWidth(float width) {
    gc->line_width = width;
    _draw2dDriver->SetLineWidth(width);
}

float GetLineWidth() { return gc->line_width; }

void SetViewport(int x, int y, int width, int height) {
    gc->viewport_x = x;
    gc->viewport_y = y;
    gc->viewport_w = width;
    gc->viewport_h = height;
    _draw2dDriver->SetViewport(x, y, width, height);
}

void GetViewport(int& x, int& y, int& width, int& height) {
    x = gc->viewport_x;
    y = gc->viewport_y;
    width = gc->viewport_w;
    height = gc->viewport_h;
}

void SetOrigin(float x, float y) {
    gc->origin_x = x;
    gc->origin_y = y;
}

void GetOrigin(float& x, float& y) {
    x = gc->origin_x;
    y = gc->origin_y;
}

void SetHandle(float x, float y) {
    gc->handle_x = -x;
    gc->handle_y = -y;
}

void GetHandle(float& x, float& y) {
    x = -gc->handle_x;
    y = -gc->handle_y;
}

void SetRotation(float rotation) {
    gc->tform_rot = rotation;
    UpdateTransform(*gc);
}

float GetRotation() { return gc->tform_rot; }

void SetScale(float scale_x, float scale_y) {
    gc->tform_scale_x = scale_x;
    gc->tform_scale_y = scale_y;
    UpdateTransform(*gc);
}

void GetScale(float& scale_x, float& scale_y) {
    scale_x = gc->tform_scale_x;
    scale_y = gc->tform_scale_y;
}

void SetTransform(float rotation, float scale_x, float scale_y) {
    gc->tform_rot = rotation;
    gc->tform_scale_x = scale_x;
    gc->tform_scale_y = scale_y;
    UpdateTransform(*gc);
}

void SetImageFont(const Ref<TImageFont>& font) { gc->image_font = font ? font : _defaultFont; }

Ref<TImageFont> GetImageFont() { return gc->image_font; }

}  // namespace corvex
