/// @file
/// Pixmaps: rectangles of pixels in main memory in one of the pixel formats, with
/// windows onto each other, copies, conversions and per-pixel access.
///
/// A pixmap made by Create owns its block; a static pixmap (or a window) borrows the
/// memory of its _source, which it keeps alive for as long as it lives.
#pragma once

#include <cstdint>

#include "pixmap/pixel.h"
#include "runtime/module.h"
#include "runtime/object.h"

namespace corvex {

/// Most pixels a pixmap may hold; larger requests (and sizes whose byte count would
/// overflow 32 bits) are refused.
inline constexpr int64_t kMaxPixmapPixels = int64_t{1} << 28;

/// True when a width x height pixmap may be made: both non-negative and the pixel count
/// within kMaxPixmapPixels. Loaders check this before allocating anything.
bool PixmapSizeAllowed(int64_t width, int64_t height);

class TPixmapDataType;

/// A rectangle of pixels in one of the pixel formats, with its own pixels or borrowed ones.
class TPixmap : public Object {
public:
    ~TPixmap() override;

    /// The serialiser of pixmaps (see pixmap/datatype.h).
    Ref<TPixmapDataType> DataType() const;

    uint8_t* pixels = nullptr;  ///< the top-left pixel
    int width = 0;              ///< in pixels
    int height = 0;             ///< in pixels
    int pitch = 0;              ///< bytes from one row to the next
    int format = 0;             ///< a PF_ pixel format
    int capacity = 0;           ///< bytes owned at pixels; -1 when they belong to _source
    Ref<Object> _source;        ///< keeps borrowed pixels alive

    /// Address of pixel (x, y); not bounds-checked.
    uint8_t* PixelPtr(int x, int y) const {
        return pixels + static_cast<ptrdiff_t>(y) * pitch + static_cast<ptrdiff_t>(x) * BytesPerPixel[format];
    }
    /// A pixmap sharing this one's pixels; raises "Pixmap coordinates out of bounds"
    /// unless the rectangle lies inside.
    Ref<TPixmap> Window(int x, int y, int width, int height);
    /// A new pixmap with its own copy of the pixels.
    Ref<TPixmap> Copy() const;
    /// Converts source's pixels into this pixmap at (x, y); the caller keeps the source
    /// inside the target.
    void Paste(const Ref<TPixmap>& source, int x, int y);
    /// A new pixmap of the same pixels in another format.
    Ref<TPixmap> Convert(int format) const;
    /** @{ */
    /// One pixel read or written, or every pixel set. Packed colours are 0xAARRGGBB.
    uint32_t ReadPixel(int x, int y) const;
    void WritePixel(int x, int y, uint32_t color);
    void ClearPixels(uint32_t color);
    /** @} */

    /// A new pixmap with its own uninitialised, 16-byte aligned block; the pitch is
    /// rounded up to a multiple of align. Raises "Illegal pixmap size" when
    /// PixmapSizeAllowed refuses the size.
    static Ref<TPixmap> Create(int width, int height, int format, int align = 4);
    /// A pixmap over memory it does not own.
    static Ref<TPixmap> CreateStatic(void* pixels, int width, int height, int pitch, int format);

private:
    void CheckPixel(int x, int y) const;
};

/// Same as `TPixmap::Create(width, height, format, align)`.
Ref<TPixmap> CreatePixmap(int width, int height, int format, int align = 4);
/// Same as `TPixmap::CreateStatic(pixels, width, height, pitch, format)`.
Ref<TPixmap> CreateStaticPixmap(void* pixels, int width, int height, int pitch, int format);
/// Same as `pixmap->Copy()`.
Ref<TPixmap> CopyPixmap(const Ref<TPixmap>& pixmap);
/// Same as `pixmap->Convert(format)`.
Ref<TPixmap> ConvertPixmap(const Ref<TPixmap>& pixmap, int format);
/// Same as `pixmap->width`.
int PixmapWidth(const Ref<TPixmap>& pixmap);
/// Same as `pixmap->height`.
int PixmapHeight(const Ref<TPixmap>& pixmap);
/// Same as `pixmap->pitch`.
int PixmapPitch(const Ref<TPixmap>& pixmap);
/// Same as `pixmap->format`.
int PixmapFormat(const Ref<TPixmap>& pixmap);
/// Same as `pixmap->PixelPtr(x, y)`.
uint8_t* PixmapPixelPtr(const Ref<TPixmap>& pixmap, int x = 0, int y = 0);
/// Same as `pixmap->Window(x, y, width, height)`.
Ref<TPixmap> PixmapWindow(const Ref<TPixmap>& pixmap, int x, int y, int width, int height);
/// Same as `pixmap->ReadPixel(x, y)`.
uint32_t ReadPixel(const Ref<TPixmap>& pixmap, int x, int y);
/// Same as `pixmap->WritePixel(x, y, color)`.
void WritePixel(const Ref<TPixmap>& pixmap, int x, int y, uint32_t color);
/// Same as `pixmap->ClearPixels(color)`.
void ClearPixels(const Ref<TPixmap>& pixmap, uint32_t color);

/// New PF_RGBA8888 pixmap in which pixels of the key colour become transparent and take
/// the average colour of their non-key neighbours (black when there are none).
Ref<TPixmap> ColorKeyPixmap(const Ref<TPixmap>& pixmap, int red, int green, int blue);
/// New pixmap of the given size in the source's format, filtered bilinearly.
Ref<TPixmap> ResamplePixmap(const Ref<TPixmap>& pixmap, int width, int height);
/** @{ */
/// New pixmaps mirrored left to right (X) and top to bottom (Y).
Ref<TPixmap> MirrorPixmapX(const Ref<TPixmap>& pixmap);
Ref<TPixmap> MirrorPixmapY(const Ref<TPixmap>& pixmap);
/** @} */

/// The module record of pixmap (see InitModule).
extern Module pixmap_module;

}  // namespace corvex
