#include "pngloader/pngloader.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <exception>
#include <vector>

#include "stream/bytereader.h"

namespace corvex {

CORVEX_MODULE(pngloader, &runtime_module, &pixel_module, &pixmap_module, &stream_module) { New<TPixmapLoaderPNG>(); }

namespace {

constexpr int kSignatureBytes = 8;
// The IHDR chunk's length, type, width and height: read ahead so the size can be
// checked before libpng allocates the rows.
constexpr int kLookahead = 16;
// No deflate stream expands its input more than this.
constexpr int64_t kMaxDeflateRatio = 1033;

// What the read callback reads from: the reader, which still holds the bytes looked
// at ahead. An exception thrown by the stream is kept here while libpng unwinds by
// longjmp.
struct PngSource {
    ByteReader& in;
    std::exception_ptr error;
};

void png_read_fn(png_structp png, png_bytep data, size_t length) {
    auto* src = static_cast<PngSource*>(png_get_io_ptr(png));
    size_t got = 0;
    bool failed = false;
    try {
        got = static_cast<size_t>(src->in.Read(data, static_cast<int64_t>(length)));
    } catch (...) {
        src->error = std::current_exception();
        failed = true;
    }
    // Outside the handler: png_error leaves by longjmp.
    if (failed || got < length) png_error(png, "read past the end of the data");
}

// Expected failures say nothing: errors return to the recovery point silently and
// warnings are dropped.
[[noreturn]] void SilentError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void SilentWarning(png_structp, png_const_charp) {}

// Frees the libpng structures however the load ends.
struct PngStructs {
    png_structp png = nullptr;
    png_infop info = nullptr;
    ~PngStructs() {
        if (png) png_destroy_read_struct(&png, info ? &info : nullptr, nullptr);
    }
};

// ReadHeader and ReadRows are the recovery points. Nothing with a destructor lives in
// their frames, so returning there by longjmp skips no clean-up.

// Reads the chunks up to the image data and sets the transformations: 16-bit samples
// keep their high byte, palettes and grey of fewer than 8 bits are expanded to 8-bit
// samples, a transparency chunk becomes an alpha channel, and grey with alpha becomes
// RGBA. So each row comes out as grey, RGB or RGBA bytes.
bool ReadHeader(png_structp png, png_infop info) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_info(png, info);
    int colour_type = png_get_color_type(png, info);
    bool keyed = png_get_valid(png, info, PNG_INFO_tRNS) != 0;
    png_set_strip_16(png);
    png_set_expand(png);
    if (colour_type == PNG_COLOR_TYPE_GRAY_ALPHA || (colour_type == PNG_COLOR_TYPE_GRAY && keyed)) {
        png_set_gray_to_rgb(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    return true;
}

// Decodes every row (every pass of an interlaced picture) straight into rows, then
// reads the chunks after the image data so a damaged end is still caught.
bool ReadRows(png_structp png, png_bytepp rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    return true;
}

bool HeaderSizeAllowed(const uint8_t* ihdr) {
    return std::memcmp(ihdr + 4, "IHDR", 4) == 0 && Be32(ihdr + 8) <= INT32_MAX && Be32(ihdr + 12) <= INT32_MAX &&
           PixmapSizeAllowed(Be32(ihdr + 8), Be32(ihdr + 12));
}

// False when the stream knows its size and what follows the IHDR bytes looked at
// cannot hold the image even at one bit per pixel and deflate's greatest ratio, so a
// short file cannot make libpng allocate rows it has no data for.
bool DataMayFit(const ByteReader& in, const uint8_t* ihdr) {
    int64_t width = Be32(ihdr + 8), height = Be32(ihdr + 12);
    int64_t raw_bytes = height * ((width + 7) / 8 + 1);
    return in.MayHold(kLookahead + (raw_bytes + kMaxDeflateRatio - 1) / kMaxDeflateRatio);
}

int PixmapFormatOf(int colour_type) {
    switch (colour_type) {
        case PNG_COLOR_TYPE_GRAY: return PF_I8;
        case PNG_COLOR_TYPE_RGB: return PF_RGB888;
        case PNG_COLOR_TYPE_RGB_ALPHA: return PF_RGBA8888;
        default: return 0;
    }
}

// The pixmap the transformed rows fit, each row's bytes exactly; null when libpng
// would give anything else.
Ref<TPixmap> PixmapFor(png_structp png, png_infop info) {
    png_uint_32 width, height;
    int depth, colour_type;
    png_get_IHDR(png, info, &width, &height, &depth, &colour_type, nullptr, nullptr, nullptr);
    int format = PixmapFormatOf(colour_type);
    if (depth != 8 || format == 0 || png_get_rowbytes(png, info) != size_t{width} * BytesPerPixel[format]) {
        return nullptr;
    }
    return TPixmap::Create(static_cast<int>(width), static_cast<int>(height), format, 4);
}

Ref<TPixmap> DecodePng(TStream& stream) {
    ByteReader in(stream);
    uint8_t signature[kSignatureBytes];
    if (in.Read(signature, kSignatureBytes) != kSignatureBytes || png_sig_cmp(signature, 0, kSignatureBytes) != 0) {
        return nullptr;
    }
    const uint8_t* ihdr = in.Peek(kLookahead);
    if (!ihdr || !HeaderSizeAllowed(ihdr) || !DataMayFit(in, ihdr)) return nullptr;
    PngSource source{in, nullptr};
    PngStructs s;
    s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, SilentError, SilentWarning);
    if (!s.png) return nullptr;
    s.info = png_create_info_struct(s.png);
    if (!s.info) return nullptr;
    // Only the chunks that make the picture are read; every other one is skipped
    // unread, so no chunk header can make libpng allocate what it claims to hold.
    png_set_keep_unknown_chunks(s.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_sig_bytes(s.png, kSignatureBytes);
    png_set_read_fn(s.png, &source, png_read_fn);
    bool read = ReadHeader(s.png, s.info);
    Ref<TPixmap> pixmap = read ? PixmapFor(s.png, s.info) : nullptr;
    if (pixmap) {
        std::vector<png_bytep> rows(static_cast<size_t>(pixmap->height));
        for (int y = 0; y < pixmap->height; ++y) rows[y] = pixmap->PixelPtr(0, y);
        read = ReadRows(s.png, rows.data());
    }
    if (source.error) std::rethrow_exception(source.error);
    return read ? pixmap : nullptr;
}

}  // namespace

Ref<TPixmap> LoadPixmapPNG(const Ref<Object>& url) { return DecodeUrl(url, DecodePng); }

Ref<TPixmap> TPixmapLoaderPNG::LoadPixmap(const Ref<TStream>& stream) { return LoadPixmapPNG(stream); }

}  // namespace corvex
