#include <gtest/gtest.h>

#include "pixmap/pixmap.h"

using namespace corvex;

namespace {

// Expects fn to raise the runtime error with exactly this text.
template <class Fn>
void ExpectRuntimeError(Fn fn, const char* text) {
    try {
        fn();
        ADD_FAILURE() << "no error raised";
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.ToString().ToUtf8(), text);
    }
}

Ref<TPixmap> Filled(int w, int h, int format, uint32_t colour) {
    auto p = CreatePixmap(w, h, format);
    ClearPixels(p, colour);
    return p;
}

}  // namespace

TEST(Pixmap, PitchIsRoundedUpToTheAlignment) {
    EXPECT_EQ(CreatePixmap(3, 2, PF_RGB888, 4)->pitch, 12);
    EXPECT_EQ(CreatePixmap(3, 2, PF_RGB888, 1)->pitch, 9);
    auto p = CreatePixmap(5, 3, PF_I8, 16);
    EXPECT_EQ(p->pitch, 16);
    EXPECT_EQ(p->capacity, 48);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(p->pixels) % 16, 0u);
    EXPECT_EQ(PixmapPixelPtr(p, 2, 1), p->pixels + 18);
}

TEST(Pixmap, SizesBeyondTheLimitAreRefused) {
    EXPECT_TRUE(PixmapSizeAllowed(1 << 14, 1 << 14));
    EXPECT_FALSE(PixmapSizeAllowed((1 << 14) + 1, 1 << 14));
    EXPECT_FALSE(PixmapSizeAllowed(-1, 1));
    EXPECT_FALSE(PixmapSizeAllowed(65535LL * 65535, 65535));
    ExpectRuntimeError([] { CreatePixmap(1 << 20, 1 << 20, PF_I8); }, "Illegal pixmap size");
    ExpectRuntimeError([] { CreatePixmap(-1, 4, PF_I8); }, "Illegal pixmap size");
    // Zero rows of an enormous width would still overflow the pitch.
    ExpectRuntimeError([] { CreatePixmap(0x7fffffff, 0, PF_RGBA8888); }, "Illegal pixmap size");
}

TEST(Pixmap, ReadAndWriteOneByteFormats) {
    auto i8 = CreatePixmap(1, 1, PF_I8);
    i8->pixels[0] = 0x80;
    EXPECT_EQ(ReadPixel(i8, 0, 0), 0xFF808080u);
    WritePixel(i8, 0, 0, 0xFF0000FFu);
    EXPECT_EQ(i8->pixels[0], 85);

    auto a8 = CreatePixmap(1, 1, PF_A8);
    a8->pixels[0] = 0x80;
    EXPECT_EQ(ReadPixel(a8, 0, 0), 0x80FFFFFFu);
    WritePixel(a8, 0, 0, 0x12345678u);
    EXPECT_EQ(a8->pixels[0], 0x12);

    auto red = CreatePixmap(1, 1, PF_RED);
    red->pixels[0] = 7;
    WritePixel(red, 0, 0, 0xFFFFFFFFu);
    EXPECT_EQ(red->pixels[0], 7);
    EXPECT_EQ(ReadPixel(red, 0, 0), 0u);
}

TEST(Pixmap, ReadAndWriteMultiByteFormatsInTheirByteOrder) {
    struct Case {
        int format;
        std::vector<uint8_t> bytes;
        uint32_t read;
    };
    const Case cases[] = {
        {PF_RGB888, {0x11, 0x22, 0x33}, 0xFF112233u},
        {PF_BGR888, {0x33, 0x22, 0x11}, 0xFF112233u},
        {PF_RGBA8888, {0x11, 0x22, 0x33, 0x44}, 0x44112233u},
        {PF_BGRA8888, {0x33, 0x22, 0x11, 0x44}, 0x44112233u},
    };
    for (const Case& c : cases) {
        auto p = CreatePixmap(2, 1, c.format);
        WritePixel(p, 1, 0, 0x44112233u);
        EXPECT_EQ(std::vector<uint8_t>(p->PixelPtr(1, 0), p->PixelPtr(1, 0) + c.bytes.size()), c.bytes) << c.format;
        EXPECT_EQ(ReadPixel(p, 1, 0), c.read) << c.format;
    }
}

TEST(Pixmap, PixelAccessOutsideRaisesOutOfBounds) {
    auto p = CreatePixmap(2, 2, PF_RGBA8888);
    for (auto [x, y] : {std::pair{-1, 0}, {2, 0}, {0, -1}, {0, 2}}) {
        ExpectRuntimeError([&] { ReadPixel(p, x, y); }, "Pixmap coordinates out of bounds");
        ExpectRuntimeError([&] { WritePixel(p, x, y, 0); }, "Pixmap coordinates out of bounds");
    }
}

TEST(PixmapWindow, BoundsAreCheckedWithTheExactMessage) {
    auto p = CreatePixmap(4, 3, PF_RGBA8888);
    const char* text = "Pixmap coordinates out of bounds";
    ExpectRuntimeError([&] { PixmapWindow(p, 1, 0, 4, 1); }, text);  // one past the right edge
    ExpectRuntimeError([&] { PixmapWindow(p, 0, 1, 1, 3); }, text);
    ExpectRuntimeError([&] { PixmapWindow(p, -1, 0, 1, 1); }, text);
    ExpectRuntimeError([&] { PixmapWindow(p, 0, 0, -1, 1); }, text);
    ExpectRuntimeError([&] { PixmapWindow(p, 0x7fffffff, 0, 2, 1); }, text);
    auto edge = PixmapWindow(p, 4, 3, 0, 0);
    EXPECT_EQ(edge->width, 0);
    EXPECT_EQ(edge->pixels, p->pixels + 3 * p->pitch + 16);
}

TEST(PixmapWindow, SharesPixelsAndKeepsTheParentAlive) {
    auto parent = Filled(4, 4, PF_RGB888, 0);
    auto window = PixmapWindow(parent, 1, 2, 2, 2);
    EXPECT_EQ(window->capacity, -1);
    EXPECT_EQ(window->pitch, parent->pitch);
    WritePixel(window, 1, 1, 0xFFABCDEFu);
    EXPECT_EQ(ReadPixel(parent, 2, 3), 0xFFABCDEFu);
    parent = nullptr;  // the window's _source still holds it
    EXPECT_EQ(ReadPixel(window, 1, 1), 0xFFABCDEFu);
}

TEST(PixmapCopy, CopiesAndConversionsAreIndependent) {
    auto src = CreatePixmap(3, 2, PF_RGB888, 1);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) WritePixel(src, x, y, 0xFF000000u | (x * 0x10 + y));
    auto copy = CopyPixmap(src);
    EXPECT_EQ(copy->pitch, 12);
    WritePixel(src, 0, 0, 0xFFFFFFFFu);
    EXPECT_EQ(ReadPixel(copy, 0, 0), 0xFF000000u);
    EXPECT_EQ(ReadPixel(copy, 2, 1), 0xFF000021u);

    auto bgra = ConvertPixmap(copy, PF_BGRA8888);
    EXPECT_EQ(bgra->format, PF_BGRA8888);
    EXPECT_EQ(ReadPixel(bgra, 2, 1), 0xFF000021u);

    auto a8 = Filled(2, 1, PF_A8, 0x80000000u);
    auto rgba = ConvertPixmap(a8, PF_RGBA8888);
    EXPECT_EQ(ReadPixel(rgba, 1, 0), 0x80FFFFFFu);
    auto intensity = ConvertPixmap(Filled(1, 1, PF_RGBA8888, 0x04010203u), PF_INTENSITY);
    EXPECT_EQ(intensity->pixels[0], (1 + 2 + 3 + 4) / 4);
}

TEST(PixmapCopy, EmptyPixmapsCopyAndWindow) {
    auto empty = CreatePixmap(0, 0, PF_RGBA8888);
    auto copy = CopyPixmap(empty);
    EXPECT_EQ(copy->width, 0);
    EXPECT_EQ(PixmapWindow(copy, 0, 0, 0, 0)->height, 0);
    EXPECT_EQ(CopyPixmap(PixmapWindow(CreatePixmap(3, 3, PF_I8), 3, 0, 0, 3))->height, 3);
}

TEST(PixmapPaste, ConvertsIntoTheTargetAtTheOffset) {
    auto target = Filled(4, 3, PF_BGRA8888, 0);
    target->Paste(Filled(2, 2, PF_I8, 0xFF606060u), 1, 1);
    EXPECT_EQ(ReadPixel(target, 0, 1), 0u);
    EXPECT_EQ(ReadPixel(target, 1, 1), 0xFF606060u);
    EXPECT_EQ(ReadPixel(target, 2, 2), 0xFF606060u);
    EXPECT_EQ(ReadPixel(target, 3, 2), 0u);
}

TEST(PixmapClear, ZeroAndColourLeaveRowPaddingAlone) {
    auto p = CreatePixmap(3, 2, PF_RGB888, 4);
    std::fill(p->pixels, p->pixels + p->capacity, 0x5A);
    ClearPixels(p, 0);
    EXPECT_EQ(ReadPixel(p, 2, 1), 0xFF000000u);
    EXPECT_EQ(p->pixels[9], 0x5A);
    ClearPixels(p, 0xFF102030u);
    EXPECT_EQ(ReadPixel(p, 1, 1), 0xFF102030u);
    EXPECT_EQ(p->pixels[p->pitch + 9], 0x5A);

    auto packed = CreatePixmap(2, 2, PF_A8, 1);
    std::fill(packed->pixels, packed->pixels + 4, 0x5A);
    ClearPixels(packed, 0);
    EXPECT_EQ(packed->pixels[3], 0);
    auto luminance = Filled(1, 1, PF_LUMINANCE, 0);
    ClearPixels(luminance, 0xFFFFFFFFu);
    EXPECT_EQ(luminance->pixels[0], 0);
}
