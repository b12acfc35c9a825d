#include "jpgloader/jpgloader.h"

#include <sys/resource.h>

#include <cstdlib>

#include "support/loadertest.h"

using namespace corvex;
using namespace loadertest;
using testimages::EncodeJpeg;

namespace {

using JpgLoader = LoaderTest<TPixmapLoaderJPG, jpgloader_module>;

// width x height samples of one colour.
Bytes Flat(int width, int height, Bytes colour) {
    Bytes out;
    for (int i = 0; i < width * height; ++i) out.insert(out.end(), colour.begin(), colour.end());
    return out;
}

// JPEG is lossy: channels must come back within a small tolerance.
void ExpectNear(uint32_t actual, uint32_t expected) {
    for (int shift = 0; shift < 32; shift += 8) {
        int a = actual >> shift & 0xFF, e = expected >> shift & 0xFF;
        EXPECT_LE(std::abs(a - e), 3) << std::hex << actual << " vs " << expected;
    }
}

// The top half red, the bottom half blue.
Bytes TwoBands(int width, int height) {
    Bytes top = Flat(width, height / 2, {220, 30, 30}), bottom = Flat(width, height / 2, {30, 30, 220});
    top.insert(top.end(), bottom.begin(), bottom.end());
    return top;
}

}  // namespace

TEST_F(JpgLoader, ColourPictureLoadsAsRgb) {
    const Bytes file = EncodeJpeg(16, 16, 3, TwoBands(16, 16));
    auto p = Load(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, PF_RGB888);
    EXPECT_EQ(p->width, 16);
    EXPECT_EQ(p->height, 16);
    EXPECT_EQ(p->pitch, 48);
    ExpectNear(ReadPixel(p, 3, 2), 0xFFDC1E1Eu);
    ExpectNear(ReadPixel(p, 12, 13), 0xFF1E1EDCu);
}

TEST_F(JpgLoader, ProgressivePictureLoads) {
    const Bytes file = EncodeJpeg(32, 32, 3, TwoBands(32, 32), false, 95, true);
    auto p = Load(file);
    ASSERT_TRUE(p);
    ExpectNear(ReadPixel(p, 5, 5), 0xFFDC1E1Eu);
    ExpectNear(ReadPixel(p, 30, 30), 0xFF1E1EDCu);
}

TEST_F(JpgLoader, GreyPictureLoadsAsI8) {
    const Bytes file = EncodeJpeg(5, 3, 1, Flat(5, 3, {90}));
    auto p = Load(file);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->format, PF_I8);
    EXPECT_EQ(p->pitch, 8);
    ExpectNear(ReadPixel(p, 4, 2), 0xFF5A5A5Au);
}

TEST_F(JpgLoader, CmykGivesNull) {
    const Bytes file = EncodeJpeg(8, 8, 4, Flat(8, 8, {10, 20, 30, 40}), true);
    EXPECT_FALSE(Load(file));
}

TEST_F(JpgLoader, ShortFilesDecodeAsFarAsTheirDataGoes) {
    const Bytes file = EncodeJpeg(64, 64, 3, TwoBands(64, 64));
    // Cut in the scan data, a little after its start-of-scan marker: the size is
    // known and the top rows are right.
    size_t scan = 0;
    while (scan + 1 < file.size() && !(file[scan] == 0xFF && file[scan + 1] == 0xDA)) ++scan;
    ASSERT_LT(scan + 40, file.size());
    const Bytes cut(file.begin(), file.begin() + static_cast<long>(scan + 40));
    auto p = Load(cut);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->width, 64);
    ExpectNear(ReadPixel(p, 1, 1), 0xFFDC1E1Eu);
    // Every shorter cut is either a pixmap of the full size or Null, never a crash.
    for (size_t n = 0; n < file.size(); n += 7) {
        const Bytes part(file.begin(), file.begin() + static_cast<long>(n));
        if (auto q = Load(part)) {
            EXPECT_EQ(q->height, 64) << n;
        }
    }
    const Bytes header_only(file.begin(), file.begin() + 2);
    EXPECT_FALSE(Load(header_only));
}

namespace {

// A frame header (SOF0) in file claiming width x height.
void ClaimSize(Bytes& file, int width, int height) {
    for (size_t i = 0; i + 8 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == 0xC0) {
            file[i + 5] = static_cast<uint8_t>(height >> 8), file[i + 6] = static_cast<uint8_t>(height);
            file[i + 7] = static_cast<uint8_t>(width >> 8), file[i + 8] = static_cast<uint8_t>(width);
            return;
        }
    }
    ADD_FAILURE() << "no frame header";
}

// Peak resident memory of the process so far, in kilobytes.
long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

}  // namespace

TEST_F(JpgLoader, StubsTooShortForTheirDeclaredSizeGiveNullBeforeAnyPixmap) {
    // A few hundred bytes cannot hold a bit for each of the 4 million blocks of a
    // 16384 x 16384 grey picture, nor the 16384 of a 1024 x 1024 one.
    const long before = PeakKilobytes();
    for (int side : {16384, 1024}) {
        Bytes file = EncodeJpeg(16, 16, 1, Flat(16, 16, {90}));
        ClaimSize(file, side, side);
        EXPECT_FALSE(Load(file)) << side;
    }
    EXPECT_LT(PeakKilobytes() - before, 32 * 1024) << "a pixmap was made for the stub";
}

TEST_F(JpgLoader, TruncatedPhotographDecodesItsFirstRows) {
    const int side = 256;
    const Bytes samples = testimages::Picture(side, side);
    const Bytes file = EncodeJpeg(side, side, 3, samples, false, 90);
    auto whole = Load(file);
    ASSERT_TRUE(whole);
    // A quarter of the file holds the first rows; the rest come out as the decoder
    // fills them, but the pixmap has the declared size.
    auto cut = Load(Bytes(file.begin(), file.begin() + static_cast<long>(file.size() / 4)));
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->height, side);
    for (int x = 0; x < side; x += 17) EXPECT_EQ(ReadPixel(cut, x, 3), ReadPixel(whole, x, 3)) << x;
}

TEST_F(JpgLoader, OtherDataGivesNull) {
    const Bytes text = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
    EXPECT_FALSE(Load(text));
    Bytes file = EncodeJpeg(8, 8, 3, Flat(8, 8, {1, 2, 3}));
    ClaimSize(file, 65535, 65535);  // over the pixel limit
    EXPECT_FALSE(Load(file));
}
