#include "tgaloader/tgaloader.h"

#include <cstring>
#include <vector>

namespace corvex {

CORVEX_MODULE(tgaloader, &runtime_module, &pixel_module, &pixmap_module, &stream_module) {
    New<TPixmapLoaderTGA>();
}

namespace {

constexpr int kMaxSide = 4096;

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
    h.x0 = static_cast<int16_t>(b[8] | b[9] << 8);
    h.y0 = static_cast<int16_t>(b[10] | b[11] << 8);
    h.width = static_cast<uint16_t>(b[12] | b[13] << 8);
    h.height = static_cast<uint16_t>(b[14] | b[15] << 8);
    h.psize = b[16];
    h.attbits = b[17];
    return h;
}

template <int Bits>
constexpr int kPixelBytes = (Bits + 7) / 8;

// Packed 0xAARRGGBB colour of one stored pixel. 5-bit channels are not widened.
template <int Bits>
uint32_t DecodePixel(const uint8_t* p) {
    if constexpr (Bits == 15 || Bits == 16) {
        uint32_t t = p[0] | p[1] << 8;
        uint32_t alpha = Bits == 16 && (t & 0x8000) ? 0 : 255;
        return makeargb(alpha, t >> 7 & 0xF8, t >> 2 & 0xF8, t << 3 & 0xF8);
    } else if constexpr (Bits == 24) {
        return makeargb(255, p[2], p[1], p[0]);
    } else {
        return makeargb(p[3], p[2], p[1], p[0]);
    }
}

// Bytes of the stream in blocks, so a pixel costs no stream call; past the end of the
// stream it yields zeros, as the stream's own short reads do.
class ByteSource {
public:
    explicit ByteSource(TStream& s) : s_(s) {}
    const uint8_t* Take(int n) {
        if (end_ - pos_ < n) Refill(n);
        const uint8_t* p = buf_ + pos_;
        pos_ += n;
        return p;
    }

private:
    void Refill(int n) {
        int kept = end_ - pos_;
        std::memmove(buf_, buf_ + pos_, kept);
        end_ = kept + static_cast<int>(s_.ReadBytes(buf_ + kept, sizeof buf_ - kept));
        pos_ = 0;
        if (end_ < n) {
            std::memset(buf_ + end_, 0, n - end_);
            end_ = n;
        }
    }

    TStream& s_;
    uint8_t buf_[8192];
    int pos_ = 0, end_ = 0;
};

// Run-length packets: a count byte n, then either one pixel repeated (n & 127) + 1
// times (bit 7 set) or n + 1 literal pixels. A packet may run on into the next row.
template <int Bits>
class RlePixels {
public:
    explicit RlePixels(ByteSource& src) : src_(src) {}
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
    ByteSource& src_;
    int left_ = 0;
    bool repeat_ = false;
    uint32_t value_ = 0;
};

template <int Bits>
class RawPixels {
public:
    explicit RawPixels(ByteSource& src) : src_(src) {}
    void Row(uint32_t* out, int width) {
        for (int x = 0; x < width; ++x) out[x] = DecodePixel<Bits>(src_.Take(kPixelBytes<Bits>));
    }

private:
    ByteSource& src_;
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

// Uncompressed 24- and 32-bit rows are BGR and BGRA as they stand: each is read
// straight into its pixmap row and converted there. Missing bytes at the end read as 0.
void ReadRows(TStream& stream, int row_format, TPixmap& pixmap) {
    size_t row_bytes = static_cast<size_t>(pixmap.width) * BytesPerPixel[row_format];
    for (int y = pixmap.height - 1; y >= 0; --y) {
        uint8_t* row = pixmap.PixelPtr(0, y);
        size_t got = static_cast<size_t>(stream.ReadBytes(row, static_cast<int64_t>(row_bytes)));
        std::memset(row + got, 0, row_bytes - got);
        ConvertPixels(row, row_format, row, pixmap.format, pixmap.width);
    }
}

template <int Bits>
void Decode(bool rle, TStream& stream, TPixmap& pixmap) {
    ByteSource src(stream);
    if (rle) {
        DecodeRows(RlePixels<Bits>(src), pixmap);
    } else if constexpr (Bits >= 24) {
        ReadRows(stream, Bits == 24 ? PF_BGR888 : PF_BGRA8888, pixmap);
    } else {
        DecodeRows(RawPixels<Bits>(src), pixmap);
    }
}

// False when the stream knows its size and what is left cannot hold the pixels: all
// of them uncompressed, or at least one packet per 128 pixels when run-length encoded.
// So a short file cannot make the loader allocate a picture it has no data for.
bool DataMayFit(TStream& stream, const tgahdr& h, bool rle) {
    int64_t pos = stream.Pos(), size = stream.Size();
    if (pos < 0 || size <= 0) return true;
    int64_t pixels = int64_t{h.width} * h.height, bytes = (h.psize + 7) / 8;
    int64_t needed = rle ? (pixels + 127) / 128 * (1 + bytes) : pixels * bytes;
    return size - pos >= needed;
}

}  // namespace

Ref<TPixmap> TPixmapLoaderTGA::LoadPixmap(const Ref<TStream>& stream) {
    uint8_t bytes[18];
    if (stream->ReadBytes(bytes, sizeof bytes) != sizeof bytes) return nullptr;
    const tgahdr h = ParseHeader(bytes);
    // Only true-colour images are decoded: a colour-mapped file has no decoding path.
    bool rle = h.imgtype == TGA_RLERGB;
    if (h.colourmaptype != 0 || (h.imgtype != TGA_RGB && !rle)) return nullptr;
    if (h.psize != 15 && h.psize != 16 && h.psize != 24 && h.psize != 32) return nullptr;
    if (h.width < 1 || h.width > kMaxSide || h.height < 1 || h.height > kMaxSide) return nullptr;

    stream->SkipBytes(h.idlen);
    if (!DataMayFit(*stream, h, rle)) return nullptr;

    bool alpha = h.psize == 16 || h.psize == 32;
    auto pixmap = TPixmap::Create(h.width, h.height, alpha ? PF_RGBA8888 : PF_RGB888, 4);
    switch (h.psize) {
    case 15: Decode<15>(rle, *stream, *pixmap); break;
    case 16: Decode<16>(rle, *stream, *pixmap); break;
    case 24: Decode<24>(rle, *stream, *pixmap); break;
    default: Decode<32>(rle, *stream, *pixmap); break;
    }
    return pixmap;
}

}  // namespace corvex
