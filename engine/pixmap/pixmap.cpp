#include "pixmap/pixmap.h"

#include <cstring>
#include <new>

#include "pixmap/datatype.h"

namespace corvex {

CORVEX_MODULE(pixmap, &runtime_module, &pixel_module, &stream_module) { PixmapDataType = New<TPixmapDataType>(); }

namespace {

constexpr std::align_val_t kBlockAlign{16};

// ReadPixel, WritePixel and ClearPixels know only the byte formats 1 to 6.
bool HasPackedAccess(int format) { return format >= PF_I8 && format <= PF_RGBA8888; }

void PackedToStd(uint32_t color, uint8_t* std) {
    std[0] = static_cast<uint8_t>(color >> 16);
    std[1] = static_cast<uint8_t>(color >> 8);
    std[2] = static_cast<uint8_t>(color);
    std[3] = static_cast<uint8_t>(color >> 24);
}

uint32_t StdToPacked(const uint8_t* std) {
    return uint32_t{std[3]} << 24 | uint32_t{std[0]} << 16 | uint32_t{std[1]} << 8 | std[2];
}

[[noreturn]] void OutOfBounds() { RaiseRuntimeError("Pixmap coordinates out of bounds"); }

void PasteRows(TPixmap& to, const TPixmap& from, int x, int y) {
    for (int r = 0; r < from.height; ++r) {
        ConvertPixels(from.PixelPtr(0, r), from.format, to.PixelPtr(x, y + r), to.format, from.width);
    }
}

}  // namespace

bool PixmapSizeAllowed(int64_t width, int64_t height) {
    return width >= 0 && height >= 0 && width * height <= kMaxPixmapPixels;
}

TPixmap::~TPixmap() {
    if (capacity >= 0) ::operator delete(pixels, kBlockAlign);
}

Ref<TPixmap> TPixmap::Create(int width, int height, int format, int align) {
    int bpp = BytesPerPixel[format];
    if (!PixmapSizeAllowed(width, height)) RaiseRuntimeError("Illegal pixmap size");
    if (align < 1) align = 1;
    int64_t pitch = (int64_t{width} * bpp + align - 1) / align * align;
    int64_t capacity = pitch * height;
    if (pitch > INT32_MAX || capacity > INT32_MAX) RaiseRuntimeError("Illegal pixmap size");
    auto pixmap = New<TPixmap>();
    // Even an empty pixmap gets a block, so its pixel pointer is never null.
    pixmap->pixels = static_cast<uint8_t*>(::operator new(capacity ? capacity : 1, kBlockAlign));
    pixmap->width = width;
    pixmap->height = height;
    pixmap->pitch = static_cast<int>(pitch);
    pixmap->format = format;
    pixmap->capacity = static_cast<int>(capacity);
    return pixmap;
}

Ref<TPixmap> TPixmap::CreateStatic(void* pixels, int width, int height, int pitch, int format) {
    auto pixmap = New<TPixmap>();
    pixmap->pixels = static_cast<uint8_t*>(pixels);
    pixmap->width = width;
    pixmap->height = height;
    pixmap->pitch = pitch;
    pixmap->format = format;
    pixmap->capacity = -1;
    return pixmap;
}

Ref<TPixmap> TPixmap::Window(int x, int y, int w, int h) {
    if (x < 0 || w < 0 || x > width - w || y < 0 || h < 0 || y > height - h) OutOfBounds();
    auto window = CreateStatic(PixelPtr(x, y), w, h, pitch, format);
    window->_source = Ref<Object>(this);
    return window;
}

Ref<TPixmap> TPixmap::Copy() const {
    auto copy = Create(width, height, format, 4);
    for (int y = 0; y < height; ++y) CopyPixels(PixelPtr(0, y), copy->PixelPtr(0, y), format, width);
    return copy;
}

Ref<TPixmap> TPixmap::Convert(int to_format) const {
    auto converted = Create(width, height, to_format, 4);
    PasteRows(*converted, *this, 0, 0);
    return converted;
}

void TPixmap::Paste(const Ref<TPixmap>& source, int x, int y) { PasteRows(*this, *source, x, y); }

void TPixmap::CheckPixel(int x, int y) const {
    if (x < 0 || x >= width || y < 0 || y >= height) OutOfBounds();
}

uint32_t TPixmap::ReadPixel(int x, int y) const {
    CheckPixel(x, y);
    if (!HasPackedAccess(format)) return 0;
    uint8_t std[4];
    ConvertPixelsToStdFormat(PixelPtr(x, y), std, format, 1);
    return StdToPacked(std);
}

void TPixmap::WritePixel(int x, int y, uint32_t color) {
    CheckPixel(x, y);
    if (!HasPackedAccess(format)) return;
    uint8_t std[4];
    PackedToStd(color, std);
    ConvertPixelsFromStdFormat(std, PixelPtr(x, y), format, 1);
}

void TPixmap::ClearPixels(uint32_t color) {
    int bpp = BytesPerPixel[format];
    size_t row_bytes = static_cast<size_t>(width) * bpp;
    if (color == 0 && static_cast<size_t>(pitch) == row_bytes) {
        std::memset(pixels, 0, row_bytes * height);
        return;
    }
    if (color != 0 && !HasPackedAccess(format)) return;
    uint8_t std[4], pixel[4];
    PackedToStd(color, std);
    ConvertPixelsFromStdFormat(std, pixel, format, 1);
    for (int y = 0; y < height; ++y) {
        uint8_t* row = PixelPtr(0, y);
        if (color == 0) {
            std::memset(row, 0, row_bytes);
        } else {
            for (int x = 0; x < width; ++x) std::memcpy(row + static_cast<size_t>(x) * bpp, pixel, bpp);
        }
    }
}

Ref<TPixmap> CreatePixmap(int width, int height, int format, int align) {
    return TPixmap::Create(width, height, format, align);
}
Ref<TPixmap> CreateStaticPixmap(void* pixels, int width, int height, int pitch, int format) {
    return TPixmap::CreateStatic(pixels, width, height, pitch, format);
}
Ref<TPixmap> CopyPixmap(const Ref<TPixmap>& pixmap) { return pixmap->Copy(); }
Ref<TPixmap> ConvertPixmap(const Ref<TPixmap>& pixmap, int format) { return pixmap->Convert(format); }
int PixmapWidth(const Ref<TPixmap>& pixmap) { return pixmap->width; }
int PixmapHeight(const Ref<TPixmap>& pixmap) { return pixmap->height; }
int PixmapPitch(const Ref<TPixmap>& pixmap) { return pixmap->pitch; }
int PixmapFormat(const Ref<TPixmap>& pixmap) { return pixmap->format; }
uint8_t* PixmapPixelPtr(const Ref<TPixmap>& pixmap, int x, int y) { return pixmap->PixelPtr(x, y); }
Ref<TPixmap> PixmapWindow(const Ref<TPixmap>& pixmap, int x, int y, int width, int height) {
    return pixmap->Window(x, y, width, height);
}
uint32_t ReadPixel(const Ref<TPixmap>& pixmap, int x, int y) { return pixmap->ReadPixel(x, y); }
void WritePixel(const Ref<TPixmap>& pixmap, int x, int y, uint32_t color) { pixmap->WritePixel(x, y, color); }
void ClearPixels(const Ref<TPixmap>& pixmap, uint32_t color) { pixmap->ClearPixels(color); }

}  // namespace corvex
