// Whole-pixmap operations that make a new pixmap: colour keying, resampling, mirroring.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "pixmap/pixmap.h"

namespace corvex {

namespace {

Ref<TPixmap> InStdFormat(const Ref<TPixmap>& pixmap) {
    return pixmap->format == PF_STDFORMAT ? pixmap : pixmap->Convert(PF_STDFORMAT);
}

bool IsKey(const uint8_t* p, int red, int green, int blue) { return p[0] == red && p[1] == green && p[2] == blue; }

// Average colour of the non-key pixels around (x, y), black when there are none.
void NeighbourAverage(const TPixmap& src, int x, int y, int red, int green, int blue, uint8_t* out) {
    int sum[3] = {0, 0, 0}, n = 0;
    for (int ny = std::max(y - 1, 0); ny <= std::min(y + 1, src.height - 1); ++ny) {
        for (int nx = std::max(x - 1, 0); nx <= std::min(x + 1, src.width - 1); ++nx) {
            const uint8_t* p = src.PixelPtr(nx, ny);
            if (IsKey(p, red, green, blue)) continue;
            for (int c = 0; c < 3; ++c) sum[c] += p[c];
            ++n;
        }
    }
    for (int c = 0; c < 3; ++c) out[c] = static_cast<uint8_t>(n ? sum[c] / n : 0);
}

// The two source samples and the weight of the second for one destination index,
// with sample centres at half-integers and the edges clamped.
struct Tap {
    int first, second;
    float weight;
};

Tap AxisTap(int i, int source_length, int length) {
    float s = (static_cast<float>(i) + 0.5f) * (static_cast<float>(source_length) / static_cast<float>(length)) - 0.5f;
    int first = static_cast<int>(std::floor(s));
    if (first < 0) return {0, 0, 0.0f};
    if (first >= source_length - 1) return {source_length - 1, source_length - 1, 0.0f};
    return {first, first + 1, s - static_cast<float>(first)};
}

void ResampleRow(const TPixmap& src, const Tap& ty, const std::vector<Tap>& tx, uint8_t* out) {
    for (const Tap& t : tx) {
        const uint8_t* p00 = src.PixelPtr(t.first, ty.first);
        const uint8_t* p10 = src.PixelPtr(t.second, ty.first);
        const uint8_t* p01 = src.PixelPtr(t.first, ty.second);
        const uint8_t* p11 = src.PixelPtr(t.second, ty.second);
        for (int c = 0; c < 4; ++c) {
            float top = p00[c] + (p10[c] - p00[c]) * t.weight;
            float bottom = p01[c] + (p11[c] - p01[c]) * t.weight;
            *out++ = static_cast<uint8_t>(top + (bottom - top) * ty.weight);
        }
    }
}

}  // namespace

Ref<TPixmap> ColorKeyPixmap(const Ref<TPixmap>& pixmap, int red, int green, int blue) {
    auto src = InStdFormat(pixmap);
    auto out = TPixmap::Create(src->width, src->height, PF_STDFORMAT, 4);
    for (int y = 0; y < src->height; ++y) {
        for (int x = 0; x < src->width; ++x) {
            const uint8_t* p = src->PixelPtr(x, y);
            uint8_t* o = out->PixelPtr(x, y);
            bool key = IsKey(p, red, green, blue);
            if (key) {
                NeighbourAverage(*src, x, y, red, green, blue, o);
            } else {
                std::memcpy(o, p, 3);
            }
            o[3] = key ? 0 : 255;
        }
    }
    return out;
}

Ref<TPixmap> ResamplePixmap(const Ref<TPixmap>& pixmap, int width, int height) {
    auto src = InStdFormat(pixmap);
    auto out = TPixmap::Create(width, height, pixmap->format, 4);
    if (src->width == 0 || src->height == 0) {
        out->ClearPixels(0);  // nothing to sample from
        return out;
    }
    std::vector<Tap> tx(width);
    for (int j = 0; j < width; ++j) tx[j] = AxisTap(j, src->width, width);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 4);
    for (int i = 0; i < height; ++i) {
        ResampleRow(*src, AxisTap(i, src->height, height), tx, row.data());
        ConvertPixels(row.data(), PF_STDFORMAT, out->PixelPtr(0, i), out->format, width);
    }
    return out;
}

Ref<TPixmap> MirrorPixmapX(const Ref<TPixmap>& pixmap) {
    const TPixmap& src = *pixmap;
    auto out = TPixmap::Create(src.width, src.height, src.format, 4);
    int bpp = BytesPerPixel[src.format];
    for (int y = 0; y < src.height; ++y) {
        for (int x = 0; x < src.width; ++x) std::memcpy(out->PixelPtr(src.width - 1 - x, y), src.PixelPtr(x, y), bpp);
    }
    return out;
}

Ref<TPixmap> MirrorPixmapY(const Ref<TPixmap>& pixmap) {
    const TPixmap& src = *pixmap;
    auto out = TPixmap::Create(src.width, src.height, src.format, 4);
    for (int y = 0; y < src.height; ++y) {
        CopyPixels(src.PixelPtr(0, y), out->PixelPtr(0, src.height - 1 - y), src.format, src.width);
    }
    return out;
}

}  // namespace corvex
