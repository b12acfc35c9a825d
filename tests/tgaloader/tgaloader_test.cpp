#include "tgaloader/tgaloader.h"

#include <algorithm>
#include <string>

#include "support/loadertest.h"

using namespace corvex;
using namespace loadertest;
using testimages::EncodeTga;

namespace {

using TgaLoader = LoaderTest<TPixmapLoaderTGA, tgaloader_module>;

// Three BGR pixels A, B, C.
const Bytes A = {1, 2, 3}, B = {4, 5, 6}, C = {7, 8, 9};
constexpr uint32_t kA = 0xFF030201u, kB = 0xFF060504u, kC = 0xFF090807u;

Bytes Cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// A stream that does not know its position or size and hands out at most 7 bytes a
// read, as a pipe might.
class TrickleStream : public TStream {
public:
    explicit TrickleStream(Bytes data) : data_(std::move(data)) {}
    bool Eof() override { return pos_ == data_.size(); }
    int64_t Read(void* buf, int64_t count) override {
        size_t n = std::min({static_cast<size_t>(count), size_t{7}, data_.size() - pos_});
        std::copy_n(data_.begin() + static_cast<ptrdiff_t>(pos_), n, static_cast<uint8_t*>(buf));
        pos_ += n;
        return static_cast<int64_t>(n);
    }

private:
    Bytes data_;
    size_t pos_ = 0;
};

// Uncompressed pixels, bottom row first, each channel a function of where it is, and
// the colours the pixmap should hold, top row first. The file may be cut short by
// missing bytes, which read as 0.
struct Uncompressed {
    Bytes data;
    std::vector<uint32_t> colours;
    Uncompressed(int bits, int width, int height, size_t missing = 0) {
        int bytes = bits / 8;
        for (int y = height - 1; y >= 0; --y) {
            for (int x = 0; x < width; ++x) {
                for (int c = 0; c < bytes; ++c) data.push_back(static_cast<uint8_t>(x * 7 + y * 13 + c * 101));
            }
        }
        data.resize(data.size() - missing);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                size_t at = (static_cast<size_t>(height - 1 - y) * width + x) * bytes;
                auto byte = [&](int c) -> uint32_t { return at + c < data.size() ? data[at + c] : 0; };
                uint32_t alpha = bytes == 4 ? byte(3) : 255;
                colours.push_back(alpha << 24 | byte(2) << 16 | byte(1) << 8 | byte(0));
            }
        }
    }
};

}  // namespace

TEST_F(TgaLoader, UncompressedPicturesOfEverySizeKeepEveryPixel) {
    // Sizes from one pixel to more rows than one read takes, and rows too wide for
    // more than one at a time.
    const std::pair<int, int> sizes[] = {{1, 1}, {3, 2}, {33, 17}, {100, 100}, {1500, 7}, {4096, 3}};
    for (int bits : {24, 32}) {
        for (auto [width, height] : sizes) {
            std::string what = std::to_string(bits) + " bits, " + std::to_string(width) + " x " +
                               std::to_string(height);
            const Uncompressed pixels(bits, width, height);
            const Bytes file = EncodeTga(TGA_RGB, bits, width, height, pixels.data);
            auto p = Load(file);
            ASSERT_TRUE(p) << what;
            EXPECT_EQ(p->format, bits == 32 ? PF_RGBA8888 : PF_RGB888) << what;
            EXPECT_EQ(Pixels(p), pixels.colours) << what;
            auto trickled = Load(New<TrickleStream>(file));
            ASSERT_TRUE(trickled) << what;
            EXPECT_EQ(Pixels(trickled), pixels.colours) << what;
        }
    }
}

TEST_F(TgaLoader, UncompressedDataCutShortOnAStreamOfUnknownSizeEndsInZeros) {
    for (int bits : {24, 32}) {
        for (size_t missing : {size_t{1}, size_t{5}, size_t{100 * 4 + 2}}) {
            const Uncompressed pixels(bits, 100, 60, missing);
            auto p = Load(New<TrickleStream>(EncodeTga(TGA_RGB, bits, 100, 60, pixels.data)));
            ASSERT_TRUE(p) << bits << " bits, " << missing << " missing";
            EXPECT_EQ(Pixels(p), pixels.colours) << bits << " bits, " << missing << " missing";
        }
    }
}

TEST_F(TgaLoader, UncompressedRowsAreReadBottomUp) {
    auto p = Load(EncodeTga(TGA_RGB, 24, 2, 2, Cat({A, B, C, A})));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, PF_RGB888);
    EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{kC, kA, kA, kB}));
}

TEST_F(TgaLoader, ThirtyTwoBitsKeepAlphaAndTheIdFieldIsSkipped) {
    auto p = Load(EncodeTga(TGA_RGB, 32, 2, 1, {1, 2, 3, 0x40, 4, 5, 6, 0x80}, {'i', 'd', '!'}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, PF_RGBA8888);
    EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{0x40030201u, 0x80060504u}));
}

TEST_F(TgaLoader, FifteenAndSixteenBitChannelsAreNotWidened) {
    const Bytes raw = {0xFF, 0x7F, 0xFF, 0xFF, 0x1F, 0x00, 0x00, 0x7C};
    // The same four pixels run-length encoded: a literal, a run of one, two literals.
    const Bytes rle = {0x00, 0xFF, 0x7F, 0x80, 0xFF, 0xFF, 0x01, 0x1F, 0x00, 0x00, 0x7C};
    for (const auto& [type, data] : {std::pair<int, Bytes>{TGA_RGB, raw}, {TGA_RLERGB, rle}}) {
        auto p15 = Load(EncodeTga(type, 15, 4, 1, data));
        ASSERT_TRUE(p15) << type;
        EXPECT_EQ(p15->format, PF_RGB888);
        EXPECT_EQ(Pixels(p15), (std::vector<uint32_t>{0xFFF8F8F8u, 0xFFF8F8F8u, 0xFF0000F8u, 0xFFF80000u})) << type;
        auto p16 = Load(EncodeTga(type, 16, 4, 1, data));
        ASSERT_TRUE(p16) << type;
        EXPECT_EQ(p16->format, PF_RGBA8888);
        EXPECT_EQ(Pixels(p16), (std::vector<uint32_t>{0xFFF8F8F8u, 0x00F8F8F8u, 0xFF0000F8u, 0xFFF80000u})) << type;
    }
}

TEST_F(TgaLoader, RunLengthPacketsRepeatOrListPixels) {
    // Bottom row: 0x83 repeats A four times. Top row: 0x03 lists four pixels.
    auto p = Load(EncodeTga(TGA_RLERGB, 24, 4, 2, Cat({{0x83}, A, {0x03}, B, C, A, B})));
    ASSERT_TRUE(p);
    EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{kB, kC, kA, kB, kA, kA, kA, kA}));
}

TEST_F(TgaLoader, PacketsRunningPastARowCarryIntoTheNext) {
    // 3 x 2: a run of 4 (fills the bottom row and one pixel more), then a literal packet
    // of 2; then a 32-bit check that a literal packet crosses rows the same way.
    auto p = Load(EncodeTga(TGA_RLERGB, 24, 3, 2, Cat({{0x83}, A, {0x01}, B, C})));
    ASSERT_TRUE(p);
    EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{kA, kB, kC, kA, kA, kA}));
    auto q = Load(EncodeTga(TGA_RLERGB, 32, 1, 3, {0x02, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3}));
    ASSERT_TRUE(q);
    EXPECT_EQ(Pixels(q), (std::vector<uint32_t>{0x03030303u, 0x02020202u, 0x01010101u}));
}

TEST_F(TgaLoader, ShortDataDecodesAsZerosUnlessItCannotHoldThePicture) {
    // Two packets would do for 2 x 2 run-length pixels: one is there, the rest reads as 0.
    auto p = Load(EncodeTga(TGA_RLERGB, 24, 2, 2, Cat({{0x81}, A})));
    ASSERT_TRUE(p);
    EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{0xFF000000u, 0xFF000000u, kA, kA}));
    // 4096 x 4096 run-length pixels need at least 131072 packets.
    EXPECT_FALSE(Load(EncodeTga(TGA_RLERGB, 24, 4096, 4096, Cat({{0xFF}, A}))));
    // Uncompressed pixels must all be there.
    EXPECT_FALSE(Load(EncodeTga(TGA_RGB, 24, 2, 2, Cat({A, B, C}))));
}

TEST_F(TgaLoader, RejectsWhatItCannotDecode) {
    Bytes good = EncodeTga(TGA_RGB, 24, 1, 1, A);
    ASSERT_TRUE(Load(good));
    auto with = [&](size_t at, std::initializer_list<uint8_t> bytes) {
        Bytes b = good;
        std::copy(bytes.begin(), bytes.end(), b.begin() + at);
        return b;
    };
    EXPECT_FALSE(Load(with(1, {1})));        // a colour map
    EXPECT_FALSE(Load(with(2, {TGA_MAP})));  // colour-mapped without a map
    EXPECT_FALSE(Load(with(2, {TGA_MONO})));
    EXPECT_FALSE(Load(with(2, {TGA_RLEMAP})));
    EXPECT_FALSE(Load(with(16, {8})));
    EXPECT_FALSE(Load(with(16, {31})));
    EXPECT_FALSE(Load(with(12, {0, 0})));  // width 0
    EXPECT_FALSE(Load(with(14, {0, 0})));  // height 0
    const Bytes row(4097 * 3, 9);
    EXPECT_TRUE(Load(EncodeTga(TGA_RGB, 24, 4096, 1, row)));
    EXPECT_FALSE(Load(EncodeTga(TGA_RGB, 24, 4097, 1, row)));
    EXPECT_FALSE(Load(Bytes(good.begin(), good.begin() + 17)));
}

TEST_F(TgaLoader, RunLengthPicturesMatchTheUncompressedOnes) {
    // Pictures with runs and noise, so both kinds of packet come in every length.
    const std::pair<int, int> sizes[] = {{1, 1}, {5, 3}, {130, 9}, {300, 200}};
    for (int bits : {24, 32}) {
        for (auto [width, height] : sizes) {
            std::string what = std::to_string(bits) + " bits, " + std::to_string(width) + " x " +
                               std::to_string(height);
            const Bytes rgb = testimages::Picture(width, height);
            auto plain = Load(
                EncodeTga(TGA_RGB, bits, width, height, testimages::TgaPixels(rgb, width, height, bits, false)));
            auto rle = Load(
                EncodeTga(TGA_RLERGB, bits, width, height, testimages::TgaPixels(rgb, width, height, bits, true)));
            ASSERT_TRUE(plain) << what;
            ASSERT_TRUE(rle) << what;
            EXPECT_EQ(rle->format, plain->format) << what;
            EXPECT_EQ(Pixels(rle), Pixels(plain)) << what;
        }
    }
}
