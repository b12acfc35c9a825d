#include "bmploader/bmploader.h"

#include "support/loadertest.h"

using namespace corvex;
using namespace loadertest;
using testimages::EncodeBmp;

namespace {

using BmpLoader = LoaderTest<TPixmapLoaderBMP, bmploader_module>;

const std::vector<uint32_t> kPalette4 = {0x00000000, 0x00FF0000, 0x0000FF00, 0x000000FF};

}  // namespace

TEST_F(BmpLoader, OneBitTakesTheSecondPaletteWordForSetBits) {
    // 10 pixels: two bytes of bits per row, padded to 4 in the file.
    auto p = Load(EncodeBmp(10, 2, 1, {0b10000000, 0b01000000, 0b00000001, 0b00000000}, {0x00102030, 0x00A0B0C0}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, PF_BGR888);
    EXPECT_EQ(ReadPixel(p, 0, 0), 0xFFA0B0C0u);
    EXPECT_EQ(ReadPixel(p, 1, 0), 0xFF102030u);
    EXPECT_EQ(ReadPixel(p, 9, 0), 0xFFA0B0C0u);
    EXPECT_EQ(ReadPixel(p, 7, 1), 0xFFA0B0C0u);
    EXPECT_EQ(ReadPixel(p, 9, 1), 0xFF102030u);
}

TEST_F(BmpLoader, FourBitUsesHighNibbleFirst) {
    // 3 pixels: indices 1, 2, 3 (the low nibble of the second byte is padding).
    auto p = Load(EncodeBmp(3, 1, 4, {0x12, 0x30}, kPalette4));
    ASSERT_TRUE(p);
    EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu}));
}

TEST_F(BmpLoader, EightBitRowsArePaddedAndStoredBottomUp) {
    auto p = Load(EncodeBmp(5, 2, 8, {0, 1, 2, 3, 0, 3, 3, 2, 1, 1}, kPalette4));
    ASSERT_TRUE(p);
    EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{0xFF000000u, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFF000000u,
                                                0xFF0000FFu, 0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u, 0xFFFF0000u}));
}

TEST_F(BmpLoader, TwentyFourBitLastFileRowIsTheTopRow) {
    Bytes rows = {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13, 14, 15, 16, 17, 18, 19};
    Bytes file = EncodeBmp(3, 2, 24, rows);
    ASSERT_EQ(file.size(), 54u + 2 * 12);  // 9 bytes of pixels padded to 12
    EXPECT_EQ(Bytes(file.end() - 12, file.end()), (Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9, 0xEE, 0xEE, 0xEE}));
    auto p = Load(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, PF_BGR888);
    EXPECT_EQ(ReadPixel(p, 0, 0), 0xFF030201u);
    EXPECT_EQ(ReadPixel(p, 2, 0), 0xFF090807u);
    EXPECT_EQ(ReadPixel(p, 2, 1), 0xFF131211u);
}

TEST_F(BmpLoader, ThirtyTwoBitKeepsAlphaUnlessEveryFourthByteIsZero) {
    struct Case {
        const char* what;
        Bytes rows;  // top row first, BGRA
        std::vector<uint32_t> pixels;
    };
    const Case cases[] = {
        {"alpha in both pixels", {1, 2, 3, 4, 5, 6, 7, 8}, {0x04030201u, 0x08070605u}},
        {"one pixel with alpha: the zero stays", {1, 2, 3, 0, 5, 6, 7, 9}, {0x00030201u, 0x09070605u}},
        {"no alpha anywhere: opaque", {1, 2, 3, 0, 5, 6, 7, 0}, {0xFF030201u, 0xFF070605u}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto p = Load(EncodeBmp(1, 2, 32, c.rows));
        ASSERT_TRUE(p);
        EXPECT_EQ(p->format, PF_BGRA8888);
        EXPECT_EQ(Pixels(p), c.pixels);
    }
}

TEST_F(BmpLoader, NegativeHeightIsTopDown) {
    auto p = Load(EncodeBmp(1, -2, 24, {1, 2, 3, 4, 5, 6}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->height, 2);
    EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{0xFF030201u, 0xFF060504u}));
}

TEST_F(BmpLoader, LargerInfoHeadersAndGapsFollowTheOffsets) {
    auto p = Load(EncodeBmp(2, 1, 8, {2, 3}, kPalette4, 124, 10));
    ASSERT_TRUE(p);
    EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{0xFF00FF00u, 0xFF0000FFu}));
}

TEST_F(BmpLoader, OversizedColourCountIsCutToTheTable) {
    Bytes file = EncodeBmp(2, 1, 4, {0x31}, kPalette4);
    file[46] = 0xFF;  // colours used: 0xFFFF, more than 16
    file[47] = 0xFF;
    auto p = Load(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{0xFF0000FFu, 0xFFFF0000u}));
}

TEST_F(BmpLoader, RejectsWhatItCannotDecode) {
    Bytes good = EncodeBmp(2, 2, 24, Bytes(12, 7));
    ASSERT_TRUE(Load(good));
    auto with = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        Bytes b = good;
        std::copy(bytes.begin(), bytes.end(), b.begin() + at);
        return b;
    };
    EXPECT_FALSE(Load(with(0, {'B', 'A'})));
    EXPECT_FALSE(Load(with(28, {16})));                      // 16 bits per pixel
    EXPECT_FALSE(Load(with(30, {1})));                       // RLE compressed
    EXPECT_FALSE(Load(with(14, {12})));                      // old 12-byte core header
    EXPECT_FALSE(Load(with(18, {0, 0, 0, 0})));              // width 0
    EXPECT_FALSE(Load(with(18, {0xFF, 0xFF, 0xFF, 0xFF})));  // negative width
    EXPECT_FALSE(Load(with(22, {0, 0, 0, 0x80})));           // height INT_MIN
    EXPECT_FALSE(Load(with(18, {0, 0, 1, 0})));              // 65536 x 65536: too many pixels
    EXPECT_FALSE(Load(with(22, {0, 1, 0, 0})));              // 256 rows, but only 2 in the file
    EXPECT_FALSE(Load(Bytes(good.begin(), good.end() - 7)));
    EXPECT_FALSE(Load(Bytes(good.begin(), good.begin() + 30)));
}
