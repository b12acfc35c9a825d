// The drawing functions: shapes placed by the context's handle and origin, text in the
// context's image font, and pixmaps copied to and from the screen.
#include "draw2d/draw2d.h"

namespace corvex {

void Cls() { _draw2dDriver->Cls(); }

void Plot(float x, float y) { _draw2dDriver->Plot(x + gc->origin_x, y + gc->origin_y); }

void DrawRect(float x, float y, float width, float height) {
    const TDraw2DGraphics& g = *gc;
    _draw2dDriver->DrawRect(g.handle_x, g.handle_y, g.handle_x + width, g.handle_y + height, x + g.origin_x,
                            y + g.origin_y);
}

void DrawOval(float x, float y, float width, float height) {
    const TDraw2DGraphics& g = *gc;
    _draw2dDriver->DrawOval(g.handle_x, g.handle_y, g.handle_x + width, g.handle_y + height, x + g.origin_x,
                            y + g.origin_y);
}

void DrawLine(float x, float y, float x2, float y2, int draw_last_pixel) {
    const TDraw2DGraphics& g = *gc;
    const float px = g.handle_x + x2 - x;
    const float py = g.handle_y + y2 - y;
    const float tx = x + g.origin_x;
    const float ty = y + g.origin_y;
    _draw2dDriver->DrawLine(g.handle_x, g.handle_y, px, py, tx, ty);
    if (!draw_last_pixel) return;
    _draw2dDriver->Plot(px * g.tform_ix + py * g.tform_iy + tx, px * g.tform_jx + py * g.tform_jy + ty);
}

void DrawPoly(const Array<float>& xy) {
    const TDraw2DGraphics& g = *gc;
    _draw2dDriver->DrawPoly(xy, g.handle_x, g.handle_y, g.origin_x, g.origin_y);
}

void DrawText(const String& text, float x, float y) {
    const TDraw2DGraphics& g = *gc;
    const float pen_x = x + g.origin_x + g.handle_x * g.tform_ix + g.handle_y * g.tform_iy;
    const float pen_y = y + g.origin_y + g.handle_x * g.tform_jx + g.handle_y * g.tform_jy;
    g.image_font->Draw(text, pen_x, pen_y, g.tform_ix, g.tform_iy, g.tform_jx, g.tform_jy);
}

int TextWidth(const String& text) {
    const Ref<TImageFont>& font = gc->image_font;
    int width = 0;
    for (char16_t ch : text.Text()) {
        const int index = font->CharToGlyph(ch);
        if (index < 0) continue;
        width = static_cast<int>(width + font->LoadGlyph(index)->Advance());
    }
    return width;
}

int TextHeight(const String&) { return gc->image_font->Height(); }

Ref<TImageFont> LoadImageFont(const Ref<Object>& url, int size, int style) {
    return TImageFont::Load(url, size, style);
}

void DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) { _draw2dDriver->DrawPixmap(pixmap, x, y); }

Ref<TPixmap> GrabPixmap(int x, int y, int width, int height) { return _draw2dDriver->GrabPixmap(x, y, width, height); }

}  // namespace corvex
