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

namespace {

// A picture in one colour type and bit depth, with or without a transparency chunk,
// and the colour the loader should give each of its pixels, worked out from the
// samples alone.
struct Variant {
    int colour_type, depth;
    bool keyed;
};

int Channels(int colour_type) {
    switch (colour_type) {
        case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
        case PNG_COLOR_TYPE_RGB: return 3;
        case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
        default: return 1;
    }
}

class Samples {
public:
    Samples(Variant v, int width, int height) : v_(v), width_(width), height_(height) {
        int channels = Channels(v.colour_type), pixels = width * height;
        int limit = v.colour_type == PNG_COLOR_TYPE_PALETTE ? Entries() : 1 << v.depth;
        uint32_t noise = 2024u + static_cast<uint32_t>(v.colour_type * 17 + v.depth);
        for (int i = 0; i < pixels * channels; ++i) {
            noise = noise * 1103515245u + 12345u;
            // Every fifth pixel repeats the first, so a colour key matches more than one.
            int pixel = i / channels;
            samples_.push_back(pixel % 5 == 0 && pixel > 0
                                   ? samples_[i % channels]
                                   : static_cast<int>((noise >> 8) % static_cast<uint32_t>(limit)));
        }
        if (v.colour_type == PNG_COLOR_TYPE_PALETTE) {
            for (int i = 0; i < Entries() * 3; ++i) palette_.push_back(static_cast<uint8_t>(i * 37 + 11));
            // Fewer alpha entries than colours: the rest are opaque.
            if (v.keyed)
                for (int i = 0; i < (Entries() + 1) / 2; ++i) trans_.push_back(static_cast<uint8_t>(i * 53));
        } else if (v.keyed) {
            // The first pixel's colour is the transparent one.
            for (int c = 0; c < channels; ++c) {
                trans_.push_back(static_cast<uint8_t>(samples_[c] >> 8));
                trans_.push_back(static_cast<uint8_t>(samples_[c]));
            }
        }
    }

    Bytes Encode(bool interlaced) const {
        Bytes rows;
        int channels = Channels(v_.colour_type);
        for (int y = 0; y < height_; ++y) {
            // Samples packed most significant bit first; a row starts on a byte.
            uint32_t bits = 0;
            int count = 0;
            for (int i = 0; i < width_ * channels; ++i) {
                bits = bits << v_.depth | static_cast<uint32_t>(samples_[y * width_ * channels + i]);
                for (count += v_.depth; count >= 8; count -= 8)
                    rows.push_back(static_cast<uint8_t>(bits >> (count - 8)));
            }
            if (count > 0) rows.push_back(static_cast<uint8_t>(bits << (8 - count)));
        }
        return EncodePng(width_, height_, v_.colour_type, v_.depth, rows, palette_, trans_, interlaced);
    }

    int Format() const {
        bool alpha = v_.keyed || (v_.colour_type & PNG_COLOR_MASK_ALPHA);
        if (alpha) return PF_RGBA8888;
        return v_.colour_type == PNG_COLOR_TYPE_GRAY ? PF_I8 : PF_RGB888;
    }

    std::vector<uint32_t> Colours() const {
        std::vector<uint32_t> out;
        int channels = Channels(v_.colour_type);
        for (int p = 0; p < width_ * height_; ++p) {
            const int* s = &samples_[p * channels];
            uint32_t a = 255, r, g, b;
            bool key = v_.keyed && v_.colour_type != PNG_COLOR_TYPE_PALETTE &&
                       std::equal(s, s + channels, samples_.begin());
            switch (v_.colour_type) {
                case PNG_COLOR_TYPE_PALETTE:
                    r = palette_[s[0] * 3], g = palette_[s[0] * 3 + 1], b = palette_[s[0] * 3 + 2];
                    if (static_cast<size_t>(s[0]) < trans_.size()) a = trans_[s[0]];
                    break;
                case PNG_COLOR_TYPE_GRAY:
                case PNG_COLOR_TYPE_GRAY_ALPHA:
                    r = g = b = To8(s[0]);
                    if (channels == 2) a = To8(s[1]);
                    break;
                default:
                    r = To8(s[0]), g = To8(s[1]), b = To8(s[2]);
                    if (channels == 4) a = To8(s[3]);
                    break;
            }
            if (key) a = 0;
            out.push_back(a << 24 | r << 16 | g << 8 | b);
        }
        return out;
    }

private:
    int Entries() const { return v_.depth == 8 ? 200 : 1 << v_.depth; }
    // A sample of any depth as 8 bits: 16-bit samples keep their high byte, fewer bits
    // are scaled so that the largest value becomes 255.
    uint32_t To8(int sample) const {
        if (v_.depth == 16) return static_cast<uint32_t>(sample >> 8);
        return static_cast<uint32_t>(sample * 255 / ((1 << v_.depth) - 1));
    }

    Variant v_;
    int width_, height_;
    std::vector<int> samples_;
    Bytes palette_, trans_;
};

}  // namespace

TEST_F(PngLoader, EveryColourTypeAndDepthPlainOrInterlacedGivesItsColours) {
    // clang-format off
    const Variant variants[] = {
        {PNG_COLOR_TYPE_GRAY, 1, false},  {PNG_COLOR_TYPE_GRAY, 2, false},  {PNG_COLOR_TYPE_GRAY, 4, false},
        {PNG_COLOR_TYPE_GRAY, 8, false},  {PNG_COLOR_TYPE_GRAY, 16, false},
        {PNG_COLOR_TYPE_GRAY, 1, true},   {PNG_COLOR_TYPE_GRAY, 4, true},   {PNG_COLOR_TYPE_GRAY, 8, true},
        {PNG_COLOR_TYPE_GRAY, 16, true},
        {PNG_COLOR_TYPE_GRAY_ALPHA, 8, false}, {PNG_COLOR_TYPE_GRAY_ALPHA, 16, false},
        {PNG_COLOR_TYPE_RGB, 8, false},   {PNG_COLOR_TYPE_RGB, 16, false},
        {PNG_COLOR_TYPE_RGB, 8, true},    {PNG_COLOR_TYPE_RGB, 16, true},
        {PNG_COLOR_TYPE_RGB_ALPHA, 8, false}, {PNG_COLOR_TYPE_RGB_ALPHA, 16, false},
        {PNG_COLOR_TYPE_PALETTE, 1, false}, {PNG_COLOR_TYPE_PALETTE, 2, false},
        {PNG_COLOR_TYPE_PALETTE, 4, false}, {PNG_COLOR_TYPE_PALETTE, 8, false},
        {PNG_COLOR_TYPE_PALETTE, 2, true},  {PNG_COLOR_TYPE_PALETTE, 8, true},
    };
    // clang-format on
    // 13 x 11 leaves some of the seven interlace passes short of a full block.
    for (const Variant& v : variants) {
        const Samples samples(v, 13, 11);
        for (bool interlaced : {false, true}) {
            auto p = Load(samples.Encode(interlaced));
            std::string what = "colour type " + std::to_string(v.colour_type) + ", " + std::to_string(v.depth) +
                               " bits" + (v.keyed ? ", keyed" : "") + (interlaced ? ", interlaced" : "");
            ASSERT_TRUE(p) << what;
            EXPECT_EQ(p->format, samples.Format()) << what;
            EXPECT_EQ(Pixels(p), samples.Colours()) << what;
        }
    }
}
