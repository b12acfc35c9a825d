#include "pngloader/pngloader.h"

#include <png.h>

#include <algorithm>
#include <cstring>

#include "support/loadertest.h"

using namespace corvex;
using namespace loadertest;
using testimages::EncodePng;

namespace {

using PngLoader = LoaderTest<TPixmapLoaderPNG, pngloader_module>;

// A stream over bytes whose reads fail with a stream exception after `limit` bytes,
// as a device error would.
class FailingStream : public TStream {
public:
    FailingStream(Bytes data, int64_t limit) : data_(std::move(data)), limit_(limit) {}
    int64_t Pos() override { return pos_; }
    int64_t Size() override { return static_cast<int64_t>(data_.size()); }
    int64_t Read(void* buf, int64_t count) override {
        if (pos_ >= limit_) throw TStreamReadException();
        count = std::min({count, limit_ - pos_, Size() - pos_});
        std::memcpy(buf, data_.data() + pos_, static_cast<size_t>(count));
        pos_ += count;
        return count;
    }

private:
    Bytes data_;
    int64_t pos_ = 0, limit_;
};

Bytes SmallRgb() { return EncodePng(2, 2, PNG_COLOR_TYPE_RGB, 8, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}); }

}  // namespace

TEST_F(PngLoader, RgbAndRgbaKeepTheirSamples) {
    auto rgb = Load(SmallRgb());
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgb->format, PF_RGB888);
    EXPECT_EQ(Pixels(rgb), (std::vector<uint32_t>{0xFF010203u, 0xFF040506u, 0xFF070809u, 0xFF0A0B0Cu}));
    auto rgba = Load(EncodePng(1, 1, PNG_COLOR_TYPE_RGB_ALPHA, 8, {10, 20, 30, 40}));
    ASSERT_TRUE(rgba);
    EXPECT_EQ(rgba->format, PF_RGBA8888);
    EXPECT_EQ(ReadPixel(rgba, 0, 0), 0x280A141Eu);
}

TEST_F(PngLoader, InterlacedPictureMatchesThePlainOne) {
    const Bytes rows = testimages::Picture(13, 11);
    auto plain = Load(EncodePng(13, 11, PNG_COLOR_TYPE_RGB, 8, rows));
    auto interlaced = Load(EncodePng(13, 11, PNG_COLOR_TYPE_RGB, 8, rows, {}, {}, true));
    ASSERT_TRUE(plain);
    ASSERT_TRUE(interlaced);
    EXPECT_EQ(Pixels(interlaced), Pixels(plain));
    EXPECT_EQ(ReadPixel(plain, 12, 10), 0xFF000000u | rows[(10 * 13 + 12) * 3] << 16 |
                                            rows[(10 * 13 + 12) * 3 + 1] << 8 | rows[(10 * 13 + 12) * 3 + 2]);
}

TEST_F(PngLoader, PaletteWithTransparencyBecomesRgba) {
    Bytes palette = {255, 0, 0, 0, 255, 0, 0, 0, 255};
    auto p = Load(EncodePng(3, 1, PNG_COLOR_TYPE_PALETTE, 8, {0, 1, 2}, palette, {0, 128}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, PF_RGBA8888);
    EXPECT_EQ(Pixels(p), (std::vector<uint32_t>{0x00FF0000u, 0x8000FF00u, 0xFF0000FFu}));
}

TEST_F(PngLoader, SixteenBitSamplesAreStrippedToTheirHighBytes) {
    auto p = Load(EncodePng(1, 1, PNG_COLOR_TYPE_RGB, 16, {0x12, 0xFF, 0x34, 0x00, 0x56, 0x80}));
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, PF_RGB888);
    EXPECT_EQ(ReadPixel(p, 0, 0), 0xFF123456u);
}

TEST_F(PngLoader, GreyFormats) {
    // 1-bit grey: 10 pixels, 1 0 1 1 0 0 0 0 | 0 1
    auto bits = Load(EncodePng(10, 1, PNG_COLOR_TYPE_GRAY, 1, {0b10110000, 0b01000000}));
    ASSERT_TRUE(bits);
    EXPECT_EQ(bits->format, PF_I8);
    const uint8_t expected[] = {255, 0, 255, 255, 0, 0, 0, 0, 0, 255};
    for (int x = 0; x < 10; ++x) EXPECT_EQ(bits->pixels[x], expected[x]) << x;

    auto grey = Load(EncodePng(2, 1, PNG_COLOR_TYPE_GRAY, 8, {7, 200}));
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->format, PF_I8);
    EXPECT_EQ(ReadPixel(grey, 1, 0), 0xFFC8C8C8u);

    auto alpha = Load(EncodePng(1, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {200, 50}));
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->format, PF_RGBA8888);
    EXPECT_EQ(ReadPixel(alpha, 0, 0), 0x32C8C8C8u);

    // A transparency chunk on grey adds an alpha channel.
    auto keyed = Load(EncodePng(2, 1, PNG_COLOR_TYPE_GRAY, 8, {7, 200}, {}, {0, 7}));
    ASSERT_TRUE(keyed);
    EXPECT_EQ(Pixels(keyed), (std::vector<uint32_t>{0x00070707u, 0xFFC8C8C8u}));
}

TEST_F(PngLoader, CorruptOrTruncatedDataGivesNull) {
    Bytes good = SmallRgb();
    ASSERT_TRUE(Load(good));
    for (size_t cut = 0; cut < good.size(); ++cut) {
        EXPECT_FALSE(Load(Bytes(good.begin(), good.begin() + cut))) << cut;
    }
    for (size_t i = 8; i < good.size(); ++i) {
        Bytes bad = good;
        bad[i] ^= 0x40;  // every chunk carries a CRC, so any flipped bit is caught
        EXPECT_FALSE(Load(bad)) << i;
    }
}

TEST_F(PngLoader, HeaderSizeIsCheckedBeforeDecoding) {
    // 16385 x 16384 is just over the pixel limit; the data itself is tiny.
    Bytes big = EncodePng(1, 1, PNG_COLOR_TYPE_GRAY, 8, {0});
    big[16] = 0, big[17] = 0, big[18] = 0x40, big[19] = 0x01;
    big[20] = 0, big[21] = 0, big[22] = 0x40, big[23] = 0x00;
    EXPECT_FALSE(Load(big));
}

TEST_F(PngLoader, ChunksBeyondThePictureAreSkippedUnread) {
    Bytes good = SmallRgb();
    auto plain = Load(good);
    ASSERT_TRUE(plain);
    const Bytes text{'k', 'e', 'y', 0, 'v', 'a', 'l', 'u', 'e'};
    for (const char* type : {"tEXt", "zTXt", "sPLT", "prVt"}) {
        auto with = Load(testimages::InsertPngChunk(good, type, text));
        ASSERT_TRUE(with) << type;
        EXPECT_EQ(Pixels(with), Pixels(plain)) << type;
        // A chunk that claims nearly 2 GB ends the load at the end of the data.
        EXPECT_FALSE(Load(testimages::InsertPngChunk(good, type, text, 0x73737373))) << type;
    }
}

TEST_F(PngLoader, HeaderTooBigForItsDataGivesNull) {
    // 16384 x 16384 is within the pixel limit, but a few hundred bytes cannot hold it
    // even at one bit per pixel.
    Bytes good = SmallRgb();
    const Bytes huge = testimages::ResizePngHeader(good, 16384, 16384);
    auto stream = Over(huge);
    EXPECT_FALSE(Load(stream));
    // Refused on the header alone: libpng never started, so nothing was read past the
    // signature and IHDR's width and height.
    EXPECT_EQ(stream->Pos(), 24);
    // The same header passes the size check when the data could hold it: a real
    // 4096 x 64 one-bit picture of all zeros compresses to a fraction of a byte a row.
    Bytes zeros(64 * 512, 0);
    auto flat = Load(EncodePng(4096, 64, PNG_COLOR_TYPE_GRAY, 1, zeros));
    ASSERT_TRUE(flat);
    EXPECT_EQ(flat->width, 4096);
}

TEST_F(PngLoader, StreamErrorsPassOnAfterCleanUp) {
    Bytes good = SmallRgb();
    EXPECT_THROW(Load(New<FailingStream>(good, 40)), TStreamReadException);
    EXPECT_TRUE(Load(New<FailingStream>(good, static_cast<int64_t>(good.size()))));
}

TEST_F(PngLoader, OtherDataIsDeclinedAndTheCallersStreamStaysOpen) {
    const Bytes gif{'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0};
    auto stream = Over(gif);
    EXPECT_FALSE(Load(stream));
    EXPECT_EQ(stream->Pos(), 8);
    stream->Seek(0);
    EXPECT_EQ(stream->ReadByte(), 'G');
    EXPECT_FALSE(LoadPixmapPNG(String("no-such-file.png").AsObject()));
}
