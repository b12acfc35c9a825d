// The image functions: loading with the automatic flags, mask colour and mid-handle,
// drawing at the image's handle, tiling and grabbing.
#include <cmath>

#include "draw2d/draw2d.h"

namespace corvex {

namespace {

int _autoImageFlags = MASKEDIMAGE | FILTEREDIMAGE;
int _autoMidHandle = 0;
int _maskRed = 0, _maskGreen = 0, _maskBlue = 0;

int ImageFlags(int flags) { return flags == -1 ? _autoImageFlags : flags; }

Ref<TImage> Finish(Ref<TImage> image) {
    if (image && _autoMidHandle) MidHandleImage(image);
    return image;
}

// Wraps a non-negative remainder of a tile position back in front of the viewport.
int WrapTile(int t, int size, int start) { return (t >= 0 ? t % size : size - (-t) % size) + start; }

}  // namespace

Ref<TImage> LoadImage(const Ref<Object>& url, int flags) {
    return Finish(TImage::Load(url, ImageFlags(flags), _maskRed, _maskGreen, _maskBlue));
}

Ref<TImage> LoadImage(const String& url, int flags) { return LoadImage(url.AsObject(), flags); }

Ref<TImage> LoadAnimImage(const Ref<Object>& url, int cell_width, int cell_height, int first_cell, int cell_count,
                          int flags) {
    return Finish(TImage::LoadAnim(url, cell_width, cell_height, first_cell, cell_count, ImageFlags(flags), _maskRed,
                                   _maskGreen, _maskBlue));
}

Ref<TImage> LoadAnimImage(const String& url, int cell_width, int cell_height, int first_cell, int cell_count,
                          int flags) {
    return LoadAnimImage(url.AsObject(), cell_width, cell_height, first_cell, cell_count, flags);
}

Ref<TImage> CreateImage(int width, int height, int frames, int flags) {
    return Finish(
        TImage::Create(width, height, frames, ImageFlags(flags) | DYNAMICIMAGE, _maskRed, _maskGreen, _maskBlue));
}

void AutoImageFlags(int flags) {
    if (flags != -1) _autoImageFlags = flags;
}

void AutoMidHandle(int enable) { _autoMidHandle = enable; }

void SetMaskColor(int red, int green, int blue) {
    _maskRed = red;
    _maskGreen = green;
    _maskBlue = blue;
}

void GetMaskColor(int& red, int& green, int& blue) {
    red = _maskRed;
    green = _maskGreen;
    blue = _maskBlue;
}

void SetImageHandle(const Ref<TImage>& image, float x, float y) {
    image->handle_x = x;
    image->handle_y = y;
}

void MidHandleImage(const Ref<TImage>& image) {
    image->handle_x = image->width * 0.5f;
    image->handle_y = image->height * 0.5f;
}

int ImageWidth(const Ref<TImage>& image) { return image->width; }

int ImageHeight(const Ref<TImage>& image) { return image->height; }

void DrawImage(const Ref<TImage>& image, float x, float y, int frame) {
    DrawImageRect(image, x, y, static_cast<float>(image->width), static_cast<float>(image->height), frame);
}

void DrawImageRect(const Ref<TImage>& image, float x, float y, float width, float height, int frame) {
    const float x0 = -image->handle_x;
    const float y0 = -image->handle_y;
    Ref<TImageFrame> f = image->Frame(frame);
    if (!f) return;
    f->Draw(x0, y0, x0 + width, y0 + height, x + gc->origin_x, y + gc->origin_y);
}

void TileImage(const Ref<TImage>& image, float x, float y, int frame) {
    Ref<TImageFrame> f = image->Frame(frame);
    // An empty image would tile forever without covering anything.
    if (!f || image->width <= 0 || image->height <= 0) return;
    const TDraw2DGraphics& g = *gc;
    _draw2dDriver->SetTransform(1, 0, 0, 1);
    const int w = image->width;
    const int h = image->height;
    const int ox = g.viewport_x - w + 1;
    const int oy = g.viewport_y - h + 1;
    const float px = x + g.origin_x - image->handle_x;
    const float py = y + g.origin_y - image->handle_y;
    const float fx = px - std::floor(px);
    const float fy = py - std::floor(py);
    const int tx = WrapTile(static_cast<int>(std::floor(px) - ox), w, ox);
    const int ty = WrapTile(static_cast<int>(std::floor(py) - oy), h, oy);
    const int right = g.viewport_x + g.viewport_w;
    const int bottom = g.viewport_y + g.viewport_h;
    for (int iy = ty; iy < bottom; iy += h) {
        for (int ix = tx; ix < right; ix += w) {
            f->Draw(0, 0, static_cast<float>(w), static_cast<float>(h), ix + fx, iy + fy);
        }
    }
    // Back to the context's own transform, which tiling does not change.
    _draw2dDriver->SetTransform(g.tform_ix, g.tform_iy, g.tform_jx, g.tform_jy);
}

Ref<TPixmap> LockImage(const Ref<TImage>& image, int frame, int read_lock, int write_lock) {
    return image->Lock(frame, read_lock, write_lock);
}

void UnlockImage(const Ref<TImage>&, int) {}

void GrabImage(const Ref<TImage>& image, int x, int y, int frame) {
    Ref<TPixmap> pixmap = _draw2dDriver->GrabPixmap(x, y, image->width, image->height);
    if (image->flags & MASKEDIMAGE) pixmap = ColorKeyPixmap(pixmap, _maskRed, _maskGreen, _maskBlue);
    image->SetPixmap(frame, pixmap);
}

}  // namespace corvex
