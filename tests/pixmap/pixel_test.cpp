#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <vector>

#include "pixmap/pixel.h"

using namespace corvex;

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ToStd(int format, Bytes in) {
    Bytes out(4, 0xEE);
    ConvertPixelsToStdFormat(in.data(), out.data(), format, 1);
    return out;
}

Bytes FromStd(int format, Bytes in) {
    Bytes out(BytesPerPixel[format], 0xEE);
    ConvertPixelsFromStdFormat(in.data(), out.data(), format, 1);
    return out;
}

}  // namespace

TEST(PixelFormats, TablesDescribeEachFormat) {
    for (int f = 0; f <= 12; ++f) {
        int colour = RedBitsPerPixel[f] + GreenBitsPerPixel[f] + BlueBitsPerPixel[f];
        EXPECT_EQ(ColorBitsPerPixel[f], colour) << f;
        int bits = colour + AlphaBitsPerPixel[f] + IntensityBitsPerPixel[f] + LuminanceBitsPerPixel[f];
        // I8 is the one format whose channel no table names.
        EXPECT_EQ(BytesPerPixel[f] * 8, f == PF_I8 ? bits + 8 : bits) << f;
    }
    EXPECT_EQ(AlphaBitsPerPixel[PF_A8], 8);
    EXPECT_EQ(AlphaBitsPerPixel[PF_ALPHA], 8);
    EXPECT_EQ(AlphaBitsPerPixel[PF_INTENSITY], 0);
    EXPECT_EQ(PF_STDFORMAT, PF_RGBA8888);
    EXPECT_EQ(PF_COLOR, PF_BGR888);
    EXPECT_EQ(PF_COLORALPHA, PF_BGRA8888);
}

TEST(PixelFormats, TableIndexOutsideRangeRaisesBoundsError) {
    EXPECT_THROW(BytesPerPixel[13], TArrayBoundsException);
    EXPECT_THROW(AlphaBitsPerPixel[-1], TArrayBoundsException);
    uint8_t px[4] = {};
    EXPECT_THROW(CopyPixels(px, px + 1, 99, 1), TArrayBoundsException);
}

TEST(PixelConversion, ToStandardFormatRows) {
    EXPECT_EQ(ToStd(PF_I8, {0x80}), (Bytes{0x80, 0x80, 0x80, 255}));
    EXPECT_EQ(ToStd(PF_A8, {0x80}), (Bytes{255, 255, 255, 0x80}));
    EXPECT_EQ(ToStd(PF_RGB888, {1, 2, 3}), (Bytes{1, 2, 3, 255}));
    EXPECT_EQ(ToStd(PF_BGR888, {1, 2, 3}), (Bytes{3, 2, 1, 255}));
    EXPECT_EQ(ToStd(PF_BGRA8888, {1, 2, 3, 4}), (Bytes{3, 2, 1, 4}));
    EXPECT_EQ(ToStd(PF_RGBA8888, {1, 2, 3, 4}), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(ToStd(PF_RED, {9}), (Bytes{9, 0, 0, 1}));
    EXPECT_EQ(ToStd(PF_GREEN, {9}), (Bytes{0, 9, 0, 1}));
    EXPECT_EQ(ToStd(PF_BLUE, {9}), (Bytes{0, 0, 9, 1}));
    EXPECT_EQ(ToStd(PF_ALPHA, {9}), (Bytes{0, 0, 0, 9}));
    EXPECT_EQ(ToStd(PF_INTENSITY, {9}), (Bytes{9, 9, 9, 9}));
    EXPECT_EQ(ToStd(PF_LUMINANCE, {9}), (Bytes{9, 9, 9, 1}));
}

TEST(PixelConversion, FromStandardFormatRows) {
    const Bytes px{10, 20, 33, 41};
    EXPECT_EQ(FromStd(PF_I8, px), (Bytes{21}));
    EXPECT_EQ(FromStd(PF_A8, px), (Bytes{41}));
    EXPECT_EQ(FromStd(PF_RGB888, px), (Bytes{10, 20, 33}));
    EXPECT_EQ(FromStd(PF_BGR888, px), (Bytes{33, 20, 10}));
    EXPECT_EQ(FromStd(PF_BGRA8888, px), (Bytes{33, 20, 10, 41}));
    EXPECT_EQ(FromStd(PF_RGBA8888, px), px);
    EXPECT_EQ(FromStd(PF_RED, px), (Bytes{10}));
    EXPECT_EQ(FromStd(PF_GREEN, px), (Bytes{20}));
    EXPECT_EQ(FromStd(PF_BLUE, px), (Bytes{33}));
    EXPECT_EQ(FromStd(PF_ALPHA, px), (Bytes{41}));
    EXPECT_EQ(FromStd(PF_INTENSITY, px), (Bytes{26}));
    EXPECT_EQ(FromStd(PF_LUMINANCE, px), (Bytes{21}));
}

TEST(PixelConversion, BetweenTwoNonStandardFormats) {
    // Longer than the internal slice, so every slice boundary is crossed.
    const int n = 1000;
    Bytes bgr(n * 3), rgb(n * 3), back(n * 3);
    for (int i = 0; i < n * 3; ++i) bgr[i] = static_cast<uint8_t>(i * 7);
    ConvertPixels(bgr.data(), PF_BGR888, rgb.data(), PF_RGB888, n);
    for (int i = 0; i < n; ++i) {
        ASSERT_EQ(rgb[i * 3], bgr[i * 3 + 2]) << i;
        ASSERT_EQ(rgb[i * 3 + 2], bgr[i * 3]) << i;
    }
    ConvertPixels(rgb.data(), PF_RGB888, back.data(), PF_BGR888, n);
    EXPECT_EQ(back, bgr);
    ConvertPixels(back.data(), PF_BGR888, back.data(), PF_RGB888, n);  // in place
    EXPECT_EQ(back, rgb);

    // Runs of every length around the sizes converted many pixels at a time, at odd
    // offsets too, leave the bytes around them alone.
    for (int count = 0; count <= 70; ++count) {
        for (int offset : {0, 1, 5}) {
            Bytes src(offset + count * 3 + 8), dst(src.size(), 0xAB);
            for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<uint8_t>(i * 13 + 1);
            ConvertPixels(src.data() + offset, PF_BGR888, dst.data() + offset, PF_RGB888, count);
            Bytes expected(src.size(), 0xAB);
            for (int i = 0; i < count; ++i) {
                for (int c = 0; c < 3; ++c) expected[offset + i * 3 + c] = src[offset + i * 3 + 2 - c];
            }
            ASSERT_EQ(dst, expected) << count << " pixels at " << offset;
        }
    }

    Bytes a8{0x80}, bgra(4);
    ConvertPixels(a8.data(), PF_A8, bgra.data(), PF_BGRA8888, 1);
    EXPECT_EQ(bgra, (Bytes{255, 255, 255, 0x80}));
}
