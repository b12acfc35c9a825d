#include "pixmap/pixel.h"

#include <cstring>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace corvex {

CORVEX_MODULE(pixel, &runtime_module) {}

namespace {

using Byte = uint8_t;

// Writes each input pixel as the four standard bytes that make(p, o) produces.
template <int InBytes, class Make>
void ToStd(const Byte* in, Byte* out, int count, Make make) {
    for (int i = 0; i < count; ++i, in += InBytes, out += 4) make(in, out);
}

template <int OutBytes, class Make>
void FromStd(const Byte* in, Byte* out, int count, Make make) {
    for (int i = 0; i < count; ++i, in += 4, out += OutBytes) make(in, out);
}

void Set4(Byte* o, int r, int g, int b, int a) {
    o[0] = static_cast<Byte>(r);
    o[1] = static_cast<Byte>(g);
    o[2] = static_cast<Byte>(b);
    o[3] = static_cast<Byte>(a);
}

#ifdef __SSE2__
// Which bytes of a 16-byte vector are the byte at place (0, 1 or 2) of their pixel,
// for the vector that starts 16 * vector bytes into a run of whole pixels.
struct PlaceMasks {
    alignas(16) Byte bytes[3][3][16];
    constexpr PlaceMasks() : bytes{} {
        for (int vector = 0; vector < 3; ++vector)
            for (int place = 0; place < 3; ++place)
                for (int j = 0; j < 16; ++j) bytes[vector][place][j] = (16 * vector + j) % 3 == place ? 0xFF : 0;
    }
};
constexpr PlaceMasks kPlaceMasks;

// Sixteen pixels (three vectors) a step: each output byte is the input byte two after
// it (a pixel's first), at it (its middle) or two before it (its last). The loads
// reach two bytes either side of the pixels done: in[-2] must be readable, and the
// pixels done stop short of the last one. Returns how many were done.
int SwapRedBlueWide(const Byte* in, Byte* out, int count) {
    auto mask = [](int vector, int place) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(kPlaceMasks.bytes[vector][place]));
    };
    int done = 0;
    for (; (done + 16) * 3 + 2 <= count * 3; done += 16) {
        for (int v = 0; v < 3; ++v) {
            const Byte* p = in + done * 3 + v * 16;
            __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p - 2));
            __m128i at = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 2));
            __m128i swapped = _mm_or_si128(
                _mm_or_si128(_mm_and_si128(after, mask(v, 0)), _mm_and_si128(at, mask(v, 1))),
                _mm_and_si128(before, mask(v, 2)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done * 3 + v * 16), swapped);
        }
    }
    return done;
}
#endif

// RGB888 to BGR888 and back, common enough (file formats store BGR) for its own loop.
void SwapRedBlue(const Byte* in, Byte* out, int count) {
    if (in == out) {
        for (int i = 0; i < count; ++i, out += 3) std::swap(out[0], out[2]);
        return;
    }
#ifdef __SSE2__
    // The first pixel goes singly, so the wide loop may read the two bytes before its
    // first pixel.
    if (count > 1) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        int done = 1 + SwapRedBlueWide(in + 3, out + 3, count - 1);
        in += done * 3;
        out += done * 3;
        count -= done;
    }
#endif
    // Four bytes at a time: byte-reversed, bytes 2, 1, 0 of a pixel land in the first
    // three; the fourth is overwritten by the next pixel. The last pixel goes singly.
    for (int i = 0; i + 1 < count; ++i, in += 3, out += 3) {
        uint32_t v;
        std::memcpy(&v, in, 4);
        v = __builtin_bswap32(v) >> 8;
        std::memcpy(out, &v, 4);
    }
    if (count > 0) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
    }
}

// A temporary run of standard pixels, used in slices so no allocation is needed.
constexpr int kSlice = 256;

}  // namespace

void CopyPixels(const void* in, void* out, int format, int count) {
    size_t bytes = static_cast<size_t>(count) * BytesPerPixel[format];
    if (count > 0 && in != out) std::memmove(out, in, bytes);
}

void ConvertPixelsToStdFormat(const void* src, void* dst, int format, int count) {
    auto in = static_cast<const Byte*>(src);
    auto out = static_cast<Byte*>(dst);
    // clang-format off
    switch (format) {
    case PF_I8: ToStd<1>(in, out, count, [](const Byte* p, Byte* o) { Set4(o, p[0], p[0], p[0], 255); }); break;
    case PF_A8: ToStd<1>(in, out, count, [](const Byte* p, Byte* o) { Set4(o, 255, 255, 255, p[0]); }); break;
    case PF_RGB888: ToStd<3>(in, out, count, [](const Byte* p, Byte* o) { Set4(o, p[0], p[1], p[2], 255); }); break;
    case PF_BGR888: ToStd<3>(in, out, count, [](const Byte* p, Byte* o) { Set4(o, p[2], p[1], p[0], 255); }); break;
    case PF_BGRA8888: ToStd<4>(in, out, count, [](const Byte* p, Byte* o) { Set4(o, p[2], p[1], p[0], p[3]); }); break;
    case PF_RGBA8888: CopyPixels(in, out, format, count); break;
    case PF_RED: ToStd<1>(in, out, count, [](const Byte* p, Byte* o) { Set4(o, p[0], 0, 0, 1); }); break;
    case PF_GREEN: ToStd<1>(in, out, count, [](const Byte* p, Byte* o) { Set4(o, 0, p[0], 0, 1); }); break;
    case PF_BLUE: ToStd<1>(in, out, count, [](const Byte* p, Byte* o) { Set4(o, 0, 0, p[0], 1); }); break;
    case PF_ALPHA: ToStd<1>(in, out, count, [](const Byte* p, Byte* o) { Set4(o, 0, 0, 0, p[0]); }); break;
    case PF_INTENSITY: ToStd<1>(in, out, count, [](const Byte* p, Byte* o) { Set4(o, p[0], p[0], p[0], p[0]); }); break;
    case PF_LUMINANCE: ToStd<1>(in, out, count, [](const Byte* p, Byte* o) { Set4(o, p[0], p[0], p[0], 1); }); break;
    default: break;
    }
    // clang-format on
}

void ConvertPixelsFromStdFormat(const void* src, void* dst, int format, int count) {
    auto in = static_cast<const Byte*>(src);
    auto out = static_cast<Byte*>(dst);
    // clang-format off
    switch (format) {
    case PF_I8:
    case PF_LUMINANCE:
        FromStd<1>(in, out, count, [](const Byte* p, Byte* o) { o[0] = static_cast<Byte>((p[0] + p[1] + p[2]) / 3); });
        break;
    case PF_A8:
    case PF_ALPHA: FromStd<1>(in, out, count, [](const Byte* p, Byte* o) { o[0] = p[3]; }); break;
    case PF_RED: FromStd<1>(in, out, count, [](const Byte* p, Byte* o) { o[0] = p[0]; }); break;
    case PF_GREEN: FromStd<1>(in, out, count, [](const Byte* p, Byte* o) { o[0] = p[1]; }); break;
    case PF_BLUE: FromStd<1>(in, out, count, [](const Byte* p, Byte* o) { o[0] = p[2]; }); break;
    case PF_INTENSITY:
        FromStd<1>(in, out, count, [](const Byte* p, Byte* o) { o[0] = static_cast<Byte>((p[0] + p[1] + p[2] + p[3]) / 4); });
        break;
    case PF_RGB888: FromStd<3>(in, out, count, [](const Byte* p, Byte* o) { o[0] = p[0], o[1] = p[1], o[2] = p[2]; }); break;
    case PF_BGR888: FromStd<3>(in, out, count, [](const Byte* p, Byte* o) { o[0] = p[2], o[1] = p[1], o[2] = p[0]; }); break;
    case PF_BGRA8888: FromStd<4>(in, out, count, [](const Byte* p, Byte* o) { Set4(o, p[2], p[1], p[0], p[3]); }); break;
    case PF_RGBA8888: CopyPixels(in, out, format, count); break;
    default: break;
    }
    // clang-format on
}

void ConvertPixels(const void* in, int in_format, void* out, int out_format, int count) {
    if (in_format == out_format) return CopyPixels(in, out, in_format, count);
    if (in_format == PF_STDFORMAT) return ConvertPixelsFromStdFormat(in, out, out_format, count);
    if (out_format == PF_STDFORMAT) return ConvertPixelsToStdFormat(in, out, in_format, count);
    if ((in_format == PF_BGR888 && out_format == PF_RGB888) || (in_format == PF_RGB888 && out_format == PF_BGR888)) {
        return SwapRedBlue(static_cast<const Byte*>(in), static_cast<Byte*>(out), count);
    }
    Byte std[kSlice * 4];
    auto src = static_cast<const Byte*>(in);
    auto dst = static_cast<Byte*>(out);
    int in_bpp = BytesPerPixel[in_format], out_bpp = BytesPerPixel[out_format];
    for (int done = 0; done < count; done += kSlice) {
        int n = count - done < kSlice ? count - done : kSlice;
        ConvertPixelsToStdFormat(src + static_cast<size_t>(done) * in_bpp, std, in_format, n);
        ConvertPixelsFromStdFormat(std, dst + static_cast<size_t>(done) * out_bpp, out_format, n);
    }
}

}  // namespace corvex
