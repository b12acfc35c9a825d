// Images without a renderer: masking, locking, the serialised form, and the default font's
// glyph images made from the embedded bitmap.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "draw2d/draw2d.h"
#include "ramstream/ramstream.h"

namespace corvex {
namespace {

class ImageTest : public ::testing::Test {
protected:
    void SetUp() override { InitModule(draw2d_module); }
};

Ref<TPixmap> Filled(int width, int height, int format, uint32_t color) {
    Ref<TPixmap> pixmap = CreatePixmap(width, height, format);
    pixmap->ClearPixels(color);
    return pixmap;
}

TEST_F(ImageTest, MaskColourMakesTransparencyOnlyForPixmapsWithoutAlpha) {
    struct Case {
        int format, flags;
        uint32_t pixel, expected;
    } cases[] = {
        {PF_RGB888, MASKEDIMAGE, 0xFF102030, 0x00000000},    // the mask colour: transparent
        {PF_RGB888, MASKEDIMAGE, 0xFF102031, 0xFF102031},    // any other colour: opaque
        {PF_RGB888, 0, 0xFF102030, 0xFF102030},              // unmasked image: unchanged
        {PF_RGBA8888, MASKEDIMAGE, 0x80102030, 0x80102030},  // has alpha: used as it is
    };
    for (const Case& c : cases) {
        Ref<TImage> image = TImage::Load(Filled(3, 2, c.format, c.pixel), c.flags, 0x10, 0x20, 0x30);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->pixmaps[0]->ReadPixel(2, 1), c.expected) << std::hex << c.pixel << " flags " << c.flags;
    }
}

TEST_F(ImageTest, CreateLockAndAutomaticSettings) {
    AutoImageFlags(FILTEREDIMAGE);
    AutoImageFlags(-1);  // keeps the flags
    AutoMidHandle(1);
    Ref<TImage> image = CreateImage(10, 6, 2);
    AutoMidHandle(0);
    AutoImageFlags(MASKEDIMAGE | FILTEREDIMAGE);
    EXPECT_EQ(image->flags, FILTEREDIMAGE | DYNAMICIMAGE);
    EXPECT_EQ(image->handle_x, 5);
    EXPECT_EQ(image->handle_y, 3);

    Ref<TPixmap> pixmap = LockImage(image, 1);
    EXPECT_EQ(pixmap->width, 10);
    EXPECT_EQ(pixmap->format, PF_RGBA8888);
    EXPECT_EQ(LockImage(image, 1, 1, 0), pixmap);  // made once, then kept
    EXPECT_FALSE(image->pixmaps[0]);
    EXPECT_THROW(LockImage(image, 2), TArrayBoundsException);
    EXPECT_THROW(DrawImage(nullptr, 0, 0), TNullObjectException);
}

TEST_F(ImageTest, SerialisedFormRoundTrips) {
    Ref<TImage> image = TImage::Create(2, 3, 2, MASKEDIMAGE, 1, 2, 3);
    SetImageHandle(image, 0.5f, -1.25f);
    image->SetPixmap(1, Filled(2, 3, PF_RGBA8888, 0xFF0000FF));  // frame 0 has no pixmap

    std::vector<uint8_t> bytes(4096);
    Ref<TRamStream> stream = CreateRamStream(bytes.data(), bytes.size(), true, true);
    image->Write(stream);
    stream->Seek(0);
    Ref<TImage> back = TImage::Read(stream);
    ASSERT_TRUE(back);
    EXPECT_EQ(std::vector<int>({back->width, back->height, back->flags, back->mask_r, back->mask_g, back->mask_b}),
              std::vector<int>({2, 3, MASKEDIMAGE, 1, 2, 3}));
    EXPECT_EQ(back->handle_x, 0.5f);
    EXPECT_EQ(back->handle_y, -1.25f);
    ASSERT_EQ(back->pixmaps.Length(), 2);
    EXPECT_FALSE(back->pixmaps[0]);
    EXPECT_EQ(back->pixmaps[1]->ReadPixel(1, 2), 0xFF0000FFu);
    EXPECT_EQ(back->frames.Length(), 2);

    bytes[32] = 0xFF;  // a negative frame count
    bytes[35] = 0xFF;
    stream->Seek(0);
    EXPECT_FALSE(TImage::Read(stream));
}

// The letter L: a stroke in columns 1 and 2 from row 2 down to row 10, closed by a bar
// across columns 1 to 7 on row 10.
TEST_F(ImageTest, DefaultFontGlyphsComeFromTheEmbeddedBitmap) {
    Ref<TImageFont> font = TImageFont::CreateDefault();
    EXPECT_EQ(font->CountGlyphs(), 96);
    Ref<TImageGlyph> glyph = font->LoadGlyph(font->CharToGlyph('L'));
    EXPECT_EQ(glyph, font->LoadGlyph('L' - 32));
    Ref<TPixmap> pixels = glyph->_image->pixmaps[0];
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 8; ++x) {
            const bool ink = (y >= 2 && y <= 10 && (x == 1 || x == 2)) || (y == 10 && x >= 1);
            EXPECT_EQ(pixels->ReadPixel(x, y), ink ? 0xFFFFFFFFu : 0u) << x << "," << y;
        }
    }
    EXPECT_EQ(glyph->_image->flags, 0);
    EXPECT_THROW(font->LoadGlyph(96), TRuntimeException);
}

// A loader that makes no font, counting how often it is asked; asked twice by one
// LoadFont (a chain that runs in a circle), it throws so that the loop ends.
class CountingLoader : public TFontLoader {
public:
    Ref<TFont> LoadFont(const Ref<Object>&, int, int) override {
        if (++asked > 1) throw std::logic_error("asked twice");
        return nullptr;
    }
    int asked = 0;
};

TEST_F(ImageTest, AddingALoaderAgainKeepsTheChainAsItWas) {
    Ref<CountingLoader> first = New<CountingLoader>(), second = New<CountingLoader>();
    for (const Ref<CountingLoader>& loader : {first, second, first, second}) AddFontLoader(loader);
    EXPECT_FALSE(LoadFont(String("nothing.fnt").AsObject(), 12, 0));
    EXPECT_EQ(first->asked, 1);
    EXPECT_EQ(second->asked, 1);
}

}  // namespace
}  // namespace corvex
