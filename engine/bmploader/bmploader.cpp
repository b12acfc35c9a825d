#include "bmploader/bmploader.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <vector>

#include "stream/bytereader.h"

namespace corvex {

CORVEX_MODULE(bmploader, &runtime_module, &pixel_module, &pixmap_module, &stream_module) { New<TPixmapLoaderBMP>(); }

namespace {

// The file header after "BM" and the 40-byte info header; larger info headers only
// add fields after these.
constexpr int kHeaderBytes = 52;

struct BmpHeader {
    uint32_t data_offset, info_size;
    int32_t width, height;
    int bits;
    uint32_t compression, colours_used;

    explicit BmpHeader(const uint8_t* h)
        : data_offset(Le32(h + 8)), info_size(Le32(h + 12)), width(static_cast<int32_t>(Le32(h + 16))),
          height(static_cast<int32_t>(Le32(h + 20))), bits(Le16(h + 26)), compression(Le32(h + 28)),
          colours_used(Le32(h + 44)) {}

    bool Supported() const {
        bool known_bits = bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
        return info_size >= 40 && compression == 0 && known_bits && width > 0 && height != 0 && height != INT32_MIN &&
               PixmapSizeAllowed(width, std::abs(height));
    }
    // The palette follows the info header, whatever its size. Its count is cut to the
    // table (2, 16 or 256 entries) and to the room before the pixel data.
    uint32_t PaletteEntries(int64_t palette_start) const {
        uint32_t entries = 1u << bits;
        if (colours_used != 0 && colours_used < entries) entries = colours_used;
        if (data_offset > palette_start && (data_offset - palette_start) / 4 < entries) {
            entries = static_cast<uint32_t>((data_offset - palette_start) / 4);
        }
        return entries;
    }
    int64_t RowBytes() const { return (int64_t{width} * bits + 31) / 32 * 4; }
    // Bytes from the start of the pixel data to the end of the last row's pixels.
    int64_t DataBytes() const { return RowBytes() * (std::abs(height) - 1) + (int64_t{width} * bits + 7) / 8; }
};

void ExpandIndices(const uint8_t* row, int bits, int width, const uint32_t* palette, uint32_t* out) {
    for (int x = 0; x < width; ++x) {
        int index;
        if (bits == 8) {
            index = row[x];
        } else if (bits == 4) {
            index = x & 1 ? row[x >> 1] & 15 : row[x >> 1] >> 4;
        } else {
            index = row[x >> 3] >> (7 - (x & 7)) & 1;
        }
        out[x] = palette[index];
    }
}

// Whether any of the width BGRA pixels at bgra has a nonzero fourth byte.
bool AnyAlpha(const uint8_t* bgra, int width) {
    for (int x = 0; x < width; ++x) {
        if (bgra[4 * x + 3]) return true;
    }
    return false;
}

void MakeOpaque(TPixmap& pixmap) {
    for (int y = 0; y < pixmap.height; ++y) {
        uint8_t* row = pixmap.PixelPtr(0, y);
        for (int x = 0; x < pixmap.width; ++x) row[4 * x + 3] = 255;
    }
}

}  // namespace

Ref<TPixmap> TPixmapLoaderBMP::LoadPixmap(const Ref<TStream>& stream) {
    // Offsets in the file count from where the stream stands now.
    ByteReader in(*stream);
    uint8_t head[2 + kHeaderBytes];
    if (in.Read(head, 2 + kHeaderBytes) != 2 + kHeaderBytes || head[0] != 'B' || head[1] != 'M') return nullptr;
    const BmpHeader h(head + 2);
    if (!h.Supported()) return nullptr;

    std::array<uint32_t, 256> palette{};
    int64_t palette_start = 14 + int64_t{h.info_size};
    int64_t palette_bytes = h.bits <= 8 ? h.PaletteEntries(palette_start) * 4 : 0;
    if (!in.MoveTo(palette_start) || in.Read(palette.data(), palette_bytes) != palette_bytes) return nullptr;
    // Without an offset the pixels follow the palette directly.
    int64_t data_start = h.data_offset ? h.data_offset : palette_start + palette_bytes;
    if (!in.MoveTo(data_start) || !in.MayHold(h.DataBytes())) return nullptr;

    int rows = std::abs(h.height);
    auto pixmap = TPixmap::Create(h.width, rows, h.bits == 32 ? PF_BGRA8888 : PF_BGR888, 4);
    std::vector<uint8_t> row(static_cast<size_t>(h.RowBytes()));
    std::vector<uint32_t> words(h.bits <= 8 ? h.width : 0);
    bool has_alpha = false;
    for (int i = 0; i < rows; ++i) {
        int y = h.height < 0 ? i : rows - 1 - i;
        // Bytes missing at the end of the file read as 0.
        int64_t got = in.Read(row.data(), h.RowBytes());
        std::fill(row.begin() + got, row.end(), uint8_t{0});
        if (h.bits <= 8) {
            ExpandIndices(row.data(), h.bits, h.width, palette.data(), words.data());
            ConvertPixels(words.data(), PF_BGRA8888, pixmap->PixelPtr(0, y), pixmap->format, h.width);
        } else {
            ConvertPixels(row.data(), h.bits == 32 ? PF_BGRA8888 : PF_BGR888, pixmap->PixelPtr(0, y), pixmap->format,
                          h.width);
            if (h.bits == 32 && !has_alpha) has_alpha = AnyAlpha(row.data(), h.width);
        }
    }
    // Most writers of 32-bit pictures leave the fourth byte 0: with no alpha anywhere the
    // picture is opaque, not invisible.
    if (h.bits == 32 && !has_alpha) MakeOpaque(*pixmap);
    return pixmap;
}

}  // namespace corvex
