// What users see: scenes drawn with the 2D drawing functions through the OpenGL renderer
// in a real window, read back with GrabPixmap and compared with the pictures kept in
// golden/. Run with CORVEX_UPDATE_GOLDEN=1 to write the pictures instead, and look at
// each one before committing it. A picture that does not match is written to
// golden-failures/ in the test's build folder, with a map of where it differs.
//
// Tolerance: a channel may be off by up to 16 steps, and up to 1% of the pixels (384)
// may be off by more. The pictures come from Mesa's llvmpipe under Xvfb; other
// renderers round blending and bilinear filtering a few steps differently and put some
// edge pixels of turned shapes, ovals and wide lines on the other side of the edge
// (drawn by softpipe instead, up to 93 pixels of a scene differ by more than 2 steps).
// A wrong colour, blend mode, handle, transform or glyph moves far more than that.
#include <gtest/gtest.h>

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "gldraw2d/gldraw2d.h"
#include "pixmap/loader.h"
#include "pngloader/pngloader.h"
#include "support/testimages.h"

using namespace corvex;

namespace {

constexpr int kWidth = 240, kHeight = 160;
constexpr int kChannelTolerance = 16;
constexpr double kMaxOffShare = 0.01;

int Channel(uint32_t argb, int shift) { return static_cast<int>(argb >> shift & 0xFF); }

// The colours of the pixmap as the rows of an RGB PNG.
testimages::Bytes RgbRows(const Ref<TPixmap>& pixmap) {
    testimages::Bytes rows;
    for (int y = 0; y < pixmap->height; ++y) {
        for (int x = 0; x < pixmap->width; ++x) {
            const uint32_t argb = pixmap->ReadPixel(x, y);
            for (int shift : {16, 8, 0}) rows.push_back(static_cast<uint8_t>(Channel(argb, shift)));
        }
    }
    return rows;
}

void WritePng(const std::filesystem::path& path, const Ref<TPixmap>& pixmap) {
    const testimages::Bytes png = testimages::EncodePng(pixmap->width, pixmap->height, PNG_COLOR_TYPE_RGB, 8,
                                                        RgbRows(pixmap));
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(png.data()), png.size());
}

// A w x h pixmap in format, each pixel given by colour(x, y) as 0xAARRGGBB.
template <class Colour>
Ref<TPixmap> MakePixmap(int w, int h, int format, Colour colour) {
    Ref<TPixmap> pixmap = CreatePixmap(w, h, format);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) pixmap->WritePixel(x, y, colour(x, y));
    }
    return pixmap;
}

class Golden : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InitModule(gldraw2d_module);  // makes the OpenGL 2D driver the current driver
        InitModule(pngloader_module);
    }
    void SetUp() override {
        ASSERT_TRUE(Graphics(kWidth, kHeight, 0, 60, 0)) << "needs an X display (run under scripts/with-xvfb.sh)";
        SetClsColor(32, 32, 48);
        Cls();
    }
    void TearDown() override { EndGraphics(); }

    // Compares what is drawn so far with golden/name.png (or writes it there).
    void ExpectLooksLike(const std::string& name) {
        const Ref<TPixmap> actual = GrabPixmap(0, 0, kWidth, kHeight);
        const std::filesystem::path golden = std::filesystem::path(CORVEX_GOLDEN_DIR) / (name + ".png");
        if (std::getenv("CORVEX_UPDATE_GOLDEN")) {
            WritePng(golden, actual);
            GTEST_SKIP() << "wrote " << golden;
        }
        const Ref<TPixmap> expected = LoadPixmap(String(golden.string()));
        ASSERT_TRUE(expected) << golden << " is missing; CORVEX_UPDATE_GOLDEN=1 makes it";
        ASSERT_EQ(kWidth, expected->width);
        ASSERT_EQ(kHeight, expected->height);
        // The map shows the expected picture dimmed, and the pixels that are off in red.
        Ref<TPixmap> map = CreatePixmap(kWidth, kHeight, PF_RGBA8888);
        int off = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const uint32_t a = actual->ReadPixel(x, y), e = expected->ReadPixel(x, y);
                int worst = 0;
                for (int shift : {16, 8, 0}) worst = std::max(worst, std::abs(Channel(a, shift) - Channel(e, shift)));
                off += worst > kChannelTolerance;
                map->WritePixel(x, y, worst > kChannelTolerance ? 0xFFFF0000 : 0xFF000000 | (e >> 2 & 0x3F3F3F));
            }
        }
        if (off <= kMaxOffShare * kWidth * kHeight) return;
        const std::filesystem::path out = CORVEX_GOLDEN_FAILURES;
        std::filesystem::create_directories(out);
        WritePng(out / (name + "-actual.png"), actual);
        WritePng(out / (name + "-diff.png"), map);
        ADD_FAILURE() << off << " pixels differ from " << golden << "; see " << out / (name + "-actual.png") << " and "
                      << out / (name + "-diff.png");
    }
};

// Rectangles, ovals, lines and a polygon placed by handle and origin, turned and scaled.
TEST_F(Golden, Shapes) {
    SetColor(230, 60, 60);
    DrawRect(10, 10, 50, 30);
    SetColor(60, 220, 90);
    SetHandle(25, 15);  // turns about its centre, which lands on (110, 35)
    SetRotation(30);
    DrawRect(110, 35, 50, 30);
    SetRotation(0);
    SetHandle(0, 0);
    SetScale(2, 1);  // a 30 x 20 oval drawn 60 wide
    SetColor(70, 110, 255);
    DrawOval(150, 10, 30, 20);
    SetScale(1, 1);
    SetOrigin(10, 50);  // everything below moves by (10, 50)
    SetColor(255, 220, 40);
    DrawOval(0, 0, 40, 40);
    SetColor(255, 255, 255);
    DrawLine(50, 0, 120, 40);
    SetLineWidth(4);
    DrawLine(50, 40, 120, 0);
    SetLineWidth(1);
    SetColor(230, 90, 230);
    DrawPoly({140, 0, 210, 20, 170, 50});
    SetOrigin(0, 0);
    SetTransform(-45, 1.5f, 0.5f);
    SetColor(90, 230, 230);
    DrawRect(60, 130, 40, 40);
    SetTransform(0, 1, 1);
    SetColor(255, 255, 255);
    for (int i = 0; i < 10; ++i) Plot(150 + i * 8.0f, 140);
    ExpectLooksLike("shapes");
}

// A masked image, filtered and unfiltered enlargements, a turned image, the frames of
// an animation cut from a sheet, and a tiled image clipped by the viewport.
TEST_F(Golden, Images) {
    // Black is the mask colour: the ring's corners and centre become transparent.
    SetMaskColor(0, 0, 0);
    Ref<TImage> ring = LoadImage(MakePixmap(
                                     16, 16, PF_RGB888,
                                     [](int x, int y) {
        const int d = (2 * x - 15) * (2 * x - 15) + (2 * y - 15) * (2 * y - 15);
        return d > 100 && d < 225 ? 0xFFFFA020u : 0xFF000000u;
                                     }),
                                 MASKEDIMAGE);
    DrawImage(ring, 8, 8);
    DrawImageRect(ring, 30, 8, 48, 48);
    // Four colours in a 2 x 2 pixmap, enlarged 24 times: blended smoothly when filtered,
    // four squares when not.
    auto corners = [] {
        return MakePixmap(2, 2, PF_RGBA8888, [](int x, int y) {
            return x == 0 ? (y == 0 ? 0xFFFF0000u : 0xFF00FF00u) : (y == 0 ? 0xFF0000FFu : 0xFFFFFFFFu);
        });
    };
    DrawImageRect(LoadImage(corners(), FILTEREDIMAGE), 90, 8, 48, 48);
    DrawImageRect(LoadImage(corners(), 0), 150, 8, 48, 48);
    // Turned and scaled about its centre.
    MidHandleImage(ring);
    SetTransform(30, 2, 1);
    DrawImage(ring, 220, 32);
    SetTransform(0, 1, 1);
    // A sheet of four 12 x 12 cells, two by two, each a colour with a white top row.
    Ref<TImage> anim = LoadAnimImage(MakePixmap(
                                         24, 24, PF_RGBA8888,
                                         [](int x, int y) {
        static const uint32_t kCells[] = {0xFFE04040, 0xFF40E040, 0xFF4040E0, 0xFFE0E040};
        return y % 12 == 0 ? 0xFFFFFFFFu : kCells[y / 12 * 2 + x / 12];
                                         }),
                                     12, 12, 0, 4, 0);
    for (int frame = 0; frame < 4; ++frame) DrawImage(anim, 10 + frame * 16.0f, 70, frame);
    // Tiles of frame 3 fill the clipped viewport only.
    SetViewport(90, 70, 140, 80);
    TileImage(anim, 95, 75, 3);
    SetViewport(0, 0, kWidth, kHeight);
    ExpectLooksLike("images");
}

// Every blend mode draws the same half-transparent image over the same bands: an image
// whose alpha rises from left to right, and below it a rectangle at alpha 0.75.
TEST_F(Golden, BlendModes) {
    SetBlend(SOLIDBLEND);
    static const int kBands[][3] = {{0, 0, 0}, {255, 255, 255}, {255, 128, 0}, {0, 128, 255}};
    for (int band = 0; band < 4; ++band) {
        SetColor(kBands[band][0], kBands[band][1], kBands[band][2]);
        DrawRect(band * 60.0f, 0, 60, kHeight);
    }
    Ref<TImage> ramp = LoadImage(
        MakePixmap(32, 4, PF_RGBA8888, [](int x, int) { return static_cast<uint32_t>(x * 8 + 7) << 24 | 0x40C080; }),
        0);
    const int modes[] = {MASKBLEND, SOLIDBLEND, ALPHABLEND, LIGHTBLEND, SHADEBLEND};
    for (int i = 0; i < 5; ++i) {
        const float top = 6 + i * 31.0f;
        SetBlend(modes[i]);
        SetColor(255, 255, 255);
        DrawImageRect(ramp, 10, top, 220, 14);
        SetAlpha(0.75f);
        SetColor(255, 64, 160);
        DrawRect(10, top + 16, 220, 8);
        SetAlpha(1);
    }
    ExpectLooksLike("blend");
}

// The default font: every character it has, tinted, enlarged, turned and half
// transparent.
TEST_F(Golden, Text) {
    std::string all;
    for (char c = 32; c < 127; ++c) all += c;
    SetColor(255, 255, 255);
    for (int row = 0; row < 4; ++row) DrawText(all.substr(row * 24, 24), 4, 2 + row * 16.0f);
    SetColor(255, 200, 40);
    SetScale(2, 2);
    DrawText("Big", 4, 70);
    SetTransform(90, 1, 1);  // reads downwards
    SetColor(120, 255, 120);
    DrawText("Down", 230, 70);
    SetTransform(-15, 1, 1);
    SetBlend(ALPHABLEND);
    SetAlpha(0.5f);
    SetColor(255, 255, 255);
    DrawText("Half seen, tilted", 60, 140);
    ExpectLooksLike("text");
}

}  // namespace
