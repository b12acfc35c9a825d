#include <gtest/gtest.h>

#include "pixmap/pixmap.h"

using namespace corvex;

TEST(ResamplePixmap, TwoToFourGivesTheEndsAndTheQuarterMixes) {
    auto src = CreatePixmap(2, 1, PF_RGBA8888);
    WritePixel(src, 0, 0, 0x00000000u);
    WritePixel(src, 1, 0, 0xC8C8C8C8u);
    auto out = ResamplePixmap(src, 4, 1);
    EXPECT_EQ(ReadPixel(out, 0, 0), 0x00000000u);
    EXPECT_EQ(ReadPixel(out, 1, 0), 0x32323232u);
    EXPECT_EQ(ReadPixel(out, 2, 0), 0x96969696u);
    EXPECT_EQ(ReadPixel(out, 3, 0), 0xC8C8C8C8u);
}

TEST(ResamplePixmap, KeepsTheSourceFormatAndRepeatsASinglePixel) {
    auto src = CreatePixmap(1, 1, PF_BGR888);
    WritePixel(src, 0, 0, 0xFF123456u);
    auto out = ResamplePixmap(src, 4, 4);
    EXPECT_EQ(out->format, PF_BGR888);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(ReadPixel(out, x, y), 0xFF123456u);
    auto from_empty = ResamplePixmap(CreatePixmap(0, 0, PF_I8), 2, 2);
    EXPECT_EQ(ReadPixel(from_empty, 1, 1), 0xFF000000u);
}

TEST(ResamplePixmap, VerticalMixUsesTheLowerRow) {
    auto src = CreatePixmap(1, 2, PF_I8);
    src->pixels[0] = 0;
    src->pixels[src->pitch] = 100;
    auto out = ResamplePixmap(src, 1, 4);
    const int expected[] = {0, 25, 75, 100};
    for (int y = 0; y < 4; ++y) EXPECT_EQ(out->PixelPtr(0, y)[0], expected[y]) << y;
}

TEST(ColorKeyPixmap, KeyPixelsTakeTheNeighbourAverageAndBecomeTransparent) {
    // 3 x 2, key colour magenta:   red    key   key
    //                              blue   key   green
    auto src = CreatePixmap(3, 2, PF_RGB888);
    WritePixel(src, 0, 0, 0xFFFF0000u);
    WritePixel(src, 1, 0, 0xFFFF00FFu);
    WritePixel(src, 2, 0, 0xFFFF00FFu);
    WritePixel(src, 0, 1, 0xFF0000FFu);
    WritePixel(src, 1, 1, 0xFFFF00FFu);
    WritePixel(src, 2, 1, 0xFF00FF00u);
    auto out = ColorKeyPixmap(src, 255, 0, 255);
    EXPECT_EQ(out->format, PF_RGBA8888);
    EXPECT_EQ(ReadPixel(out, 0, 0), 0xFFFF0000u);
    // (1,0) sees red, blue and green: each channel 255 / 3.
    EXPECT_EQ(ReadPixel(out, 1, 0), 0x00555555u);
    // (2,0) sees only green.
    EXPECT_EQ(ReadPixel(out, 2, 0), 0x0000FF00u);
    EXPECT_EQ(ReadPixel(out, 2, 1), 0xFF00FF00u);

    auto lone = CreatePixmap(1, 1, PF_RGBA8888);
    WritePixel(lone, 0, 0, 0x7F0A0B0Cu);
    EXPECT_EQ(ReadPixel(ColorKeyPixmap(lone, 10, 11, 12), 0, 0), 0x00000000u);
}

TEST(MirrorPixmap, ReversesColumnsOrRows) {
    auto src = CreatePixmap(3, 2, PF_RGB888);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) WritePixel(src, x, y, 0xFF000000u | (y << 8) | x);
    auto mx = MirrorPixmapX(src);
    auto my = MirrorPixmapY(src);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(ReadPixel(mx, x, y), ReadPixel(src, 2 - x, y));
            EXPECT_EQ(ReadPixel(my, x, y), ReadPixel(src, x, 1 - y));
        }
    }
    EXPECT_EQ(mx->format, PF_RGB888);
}
