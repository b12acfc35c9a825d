#include "tgaloader/tgaloader.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "stream/bytereader.h"

namespace corvex {

CORVEX_MODULE(tgaloader, &runtime_module, &pixel_module, &pixmap_module, &stream_module) { New<TPixmapLoaderTGA>(); }

namespace {

constexpr int kHeaderBytes = 18;
constexpr int kMaxSide = 4096;
// Uncompressed rows are read in batches of at most this many bytes (or one row), small
// enough to stay in the first-level cache.
constexpr size_t kBatchBytes = 16384;

uint32_t makeargb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return a << 24 | r << 16 | g << 8 | b; }

tgahdr ParseHeader(const uint8_t* b) {
    tgahdr h;
    h.idlen = b[0];
    h.colourmaptype = b[1];
    h.imgtype = b[2];
    h.indexlo = b[3];
    h.indexhi = b[4];
    h.lenlo = b[5];
    h.lenhi = b[6];
    h.cosize = b[7];
    h.x0 = static_cast<int16_t>(Le16(b + 8));
    h.y0 = static_cast<int16_t>(Le16(b + 10));
    h.width = Le16(b + 12);
    h.height = Le16(b + 14);
    h.psize = b[16];
    h.attbits = b[17];
    return h;
}

template <int Bits>
constexpr int kPixelBytes = (Bits + 7) / 8;

// Packed 0xAARRGGBB colour of one stored 15- or 16-bit pixel. 5-bit channels are not
// widened. (24- and 32-bit pixels go straight into the pixmap's rows.)
template <int Bits>
uint32_t DecodePixel(const uint8_t* p) {
    uint32_t t = Le16(p);
    uint32_t alpha = Bits == 16 && (t & 0x8000) ? 0 : 255;
    return makeargb(alpha, t >> 7 & 0xF8, t >> 2 & 0xF8, t << 3 & 0xF8);
}

// Run-length packets: a count byte n, then either one pixel repeated (n & 127) + 1
// times (bit 7 set) or n + 1 literal pixels. A packet may run on into the next row.
template <int Bits>
class RlePixels {
public:
    explicit RlePixels(ByteReader& src) : src_(src) {}
    void Row(uint32_t* out, int width) {
        for (int x = 0; x < width; ++x) {
            if (left_ == 0) {
                int n = *src_.Take(1);
                repeat_ = n & 0x80;
                left_ = (n & 0x7F) + 1;
                if (repeat_) value_ = DecodePixel<Bits>(src_.Take(kPixelBytes<Bits>));
            }
            out[x] = repeat_ ? value_ : DecodePixel<Bits>(src_.Take(kPixelBytes<Bits>));
            --left_;
        }
    }

private:
    ByteReader& src_;
    int left_ = 0;
    bool repeat_ = false;
    uint32_t value_ = 0;
};

template <int Bits>
class RawPixels {
public:
    explicit RawPixels(ByteReader& src) : src_(src) {}
    void Row(uint32_t* out, int width) {
        for (int x = 0; x < width; ++x) out[x] = DecodePixel<Bits>(src_.Take(kPixelBytes<Bits>));
    }

private:
    ByteReader& src_;
};

// Rows are stored bottom-up: the first row in the file is the pixmap's last.
template <class Pixels>
void DecodeRows(Pixels pixels, TPixmap& pixmap) {
    std::vector<uint32_t> row(pixmap.width);
    for (int y = pixmap.height - 1; y >= 0; --y) {
        pixels.Row(row.data(), pixmap.width);
        ConvertPixels(row.data(), PF_BGRA8888, pixmap.PixelPtr(0, y), pixmap.format, pixmap.width);
    }
}

// Uncompressed 24- and 32-bit rows are BGR and BGRA as they stand. Rows are read a
// batch at a time, one stream call for a batch (a small picture is one batch), and each
// is converted into its pixmap row while it is still in the cache. Missing bytes at the
// end read as 0.
void ReadRows(ByteReader& in, int row_format, TPixmap& pixmap) {
    size_t row_bytes = static_cast<size_t>(pixmap.width) * BytesPerPixel[row_format];
    int batch = static_cast<int>(std::clamp<size_t>(kBatchBytes / row_bytes, 1, static_cast<size_t>(pixmap.height)));
    std::unique_ptr<uint8_t[]> rows(new uint8_t[batch * row_bytes]);
    for (int y = pixmap.height - 1; y >= 0; y -= batch) {
        int count = std::min(batch, y + 1);
        size_t want = count * row_bytes;
        size_t got = static_cast<size_t>(in.Read(rows.get(), static_cast<int64_t>(want)));
        std::memset(rows.get() + got, 0, want - got);
        for (int i = 0; i < count; ++i) {
            ConvertPixels(rows.get() + i * row_bytes, row_format, pixmap.PixelPtr(0, y - i), pixmap.format,
                          pixmap.width);
        }
    }
}

// One BGR or BGRA pixel as RGB or RGBA.
template <int Bits>
void PutPixel(const uint8_t* in, uint8_t* out) {
    out[0] = in[2];
    out[1] = in[1];
    out[2] = in[0];
    if constexpr (Bits == 32) out[3] = in[3];
}

// Run-length 24- and 32-bit packets decoded straight into the pixmap's rows, pixel by
// pixel as the packets come (a repeated pixel is kept as stored). A packet may run on
// into the next row.
template <int Bits>
void DecodeRleRows(ByteReader& in, TPixmap& pixmap) {
    constexpr int kBytes = kPixelBytes<Bits>;
    const int width = pixmap.width;
    int left = 0;
    bool repeat = false;
    uint8_t value[kBytes] = {};
    for (int y = pixmap.height - 1; y >= 0; --y) {
        uint8_t* out = pixmap.PixelPtr(0, y);
        for (int x = 0; x < width; ++x, out += kBytes) {
            if (left == 0) {
                int n = *in.Take(1);
                repeat = n & 0x80;
                left = (n & 0x7F) + 1;
                if (repeat) std::memcpy(value, in.Take(kBytes), kBytes);
            }
            PutPixel<Bits>(repeat ? value : in.Take(kBytes), out);
            --left;
        }
    }
}

template <int Bits>
void Decode(bool rle, ByteReader& in, TPixmap& pixmap) {
    if (rle) {
        if constexpr (Bits >= 24) {
            DecodeRleRows<Bits>(in, pixmap);
        } else {
            DecodeRows(RlePixels<Bits>(in), pixmap);
        }
    } else if constexpr (Bits >= 24) {
        ReadRows(in, Bits == 24 ? PF_BGR888 : PF_BGRA8888, pixmap);
    } else {
        DecodeRows(RawPixels<Bits>(in), pixmap);
    }
}

// False when the stream knows its size and what is left cannot hold the pixels: all
// of them uncompressed, or at least one packet per 128 pixels when run-length encoded.
// So a short file cannot make the loader allocate a picture it has no data for.
bool DataMayFit(const ByteReader& in, const tgahdr& h, bool rle) {
    int64_t pixels = int64_t{h.width} * h.height, bytes = (h.psize + 7) / 8;
    int64_t needed = rle ? (pixels + 127) / 128 * (1 + bytes) : pixels * bytes;
    return in.MayHold(needed);
}

}  // namespace

Ref<TPixmap> TPixmapLoaderTGA::LoadPixmap(const Ref<TStream>& stream) {
    ByteReader in(*stream);
    uint8_t bytes[kHeaderBytes];
    if (in.Read(bytes, kHeaderBytes) != kHeaderBytes) return nullptr;
    const tgahdr h = ParseHeader(bytes);
    // Only true-colour images are decoded: a colour-mapped file has no decoding path.
    bool rle = h.imgtype == TGA_RLERGB;
    if (h.colourmaptype != 0 || (h.imgtype != TGA_RGB && !rle)) return nullptr;
    if (h.psize != 15 && h.psize != 16 && h.psize != 24 && h.psize != 32) return nullptr;
    if (h.width < 1 || h.width > kMaxSide || h.height < 1 || h.height > kMaxSide) return nullptr;

    in.MoveTo(kHeaderBytes + h.idlen);
    if (!DataMayFit(in, h, rle)) return nullptr;

    bool alpha = h.psize == 16 || h.psize == 32;
    auto pixmap = TPixmap::Create(h.width, h.height, alpha ? PF_RGBA8888 : PF_RGB888, 4);
    switch (h.psize) {
        case 15: Decode<15>(rle, in, *pixmap); break;
        case 16: Decode<16>(rle, in, *pixmap); break;
        case 24: Decode<24>(rle, in, *pixmap); break;
        default: Decode<32>(rle, in, *pixmap); break;
    }
    return pixmap;
}

}  // namespace corvex
