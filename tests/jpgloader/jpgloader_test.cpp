#include "jpgloader/jpgloader.h"

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

TEST_F(JpgLoader, OtherDataGivesNull) {
    const Bytes text = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
    EXPECT_FALSE(Load(text));
    Bytes file = EncodeJpeg(8, 8, 3, Flat(8, 8, {1, 2, 3}));
    // A frame header claiming 65535 x 65535 (over the pixel limit).
    for (size_t i = 0; i + 8 < file.size(); ++i) {
        if (file[i] == 0xFF && file[i + 1] == 0xC0) {
            file[i + 5] = file[i + 6] = file[i + 7] = file[i + 8] = 0xFF;
            break;
        }
    }
    EXPECT_FALSE(Load(file));
}
