// What the renderer puts on the screen, read back with GrabPixmap.
#include <algorithm>
#include <cstring>

#include "gldraw2d/fixture.h"

using namespace corvex;
using namespace corvex::testing;

namespace {

constexpr uint32_t kRed = 0xff0000, kBlack = 0;

struct RectCase {
    const char* what;
    float handle_x, handle_y, rotation, scale_x, scale_y;
    float x, y, w, h;
    int left, top, right, bottom;  // the covered pixels: [left, right) x [top, bottom)
};

int Channel(uint32_t pixel, int shift) { return static_cast<int>(pixel >> shift & 0xff); }

}  // namespace

TEST_F(GLDraw2DTest, RectanglesCoverThePixelsTheirHandleAndTransformGive) {
    const RectCase cases[] = {
        {"handle", 5, 7, 0, 1, 1, 100, 100, 10, 10, 95, 93, 105, 103},
        {"scaled", 0, 0, 0, 2, 3, 10, 60, 10, 10, 10, 60, 30, 90},
        {"turned about its handle", 10, 5, 90, 1, 1, 150, 50, 20, 10, 145, 40, 155, 60},
    };
    for (const RectCase& c : cases) {
        SCOPED_TRACE(c.what);
        SetTransform(0, 1, 1);
        SetColor(255, 0, 0);
        Cls();
        SetHandle(c.handle_x, c.handle_y);
        SetTransform(c.rotation, c.scale_x, c.scale_y);
        DrawRect(c.x, c.y, c.w, c.h);
        EXPECT_EQ(kRed, ScreenPixel(c.left, c.top));
        EXPECT_EQ(kRed, ScreenPixel(c.right - 1, c.bottom - 1));
        EXPECT_EQ(kBlack, ScreenPixel(c.left - 1, c.top));
        EXPECT_EQ(kBlack, ScreenPixel(c.right, c.bottom - 1));
        EXPECT_EQ(kBlack, ScreenPixel(c.left, c.top - 1));
        EXPECT_EQ(kBlack, ScreenPixel(c.right - 1, c.bottom));
    }
}

TEST_F(GLDraw2DTest, BlendModesCombineTexelsWithTheScreen) {
    const int dst[3] = {40, 80, 120}, src[3] = {100, 60, 200};
    struct BlendCase {
        int mode;
        int (*expect)(int s, float a, int d);
    };
    const BlendCase cases[] = {
        {MASKBLEND, [](int s, float a, int d) { return a < 0.5f ? d : s; }},
        {SOLIDBLEND, [](int s, float, int) { return s; }},
        {ALPHABLEND, [](int s, float a, int d) { return static_cast<int>(s * a + d * (1 - a)); }},
        {LIGHTBLEND, [](int s, float a, int d) { return std::min(255, static_cast<int>(d + s * a)); }},
        {SHADEBLEND, [](int s, float, int d) { return d * s / 255; }},
    };
    const int alphas[2] = {102, 204};  // one texel under half alpha, one over
    Ref<TImage> image = LoadImage(
        MakePixmap(
            2, 1, PF_RGBA8888,
            [&](int x, int) { return static_cast<uint32_t>(alphas[x]) << 24 | src[0] << 16 | src[1] << 8 | src[2]; }),
        0);
    ASSERT_TRUE(image);
    SetBlend(SOLIDBLEND);
    SetColor(dst[0], dst[1], dst[2]);
    DrawRect(0, 0, kWidth, kHeight);
    SetColor(255, 255, 255);
    for (int i = 0; i < 5; ++i) {
        SetBlend(cases[i].mode);
        DrawImageRect(image, 10, 10 + 15.0f * i, 20, 10);
    }
    for (int i = 0; i < 5; ++i) {
        for (int texel = 0; texel < 2; ++texel) {
            SCOPED_TRACE(::testing::Message() << "blend " << cases[i].mode << ", alpha " << alphas[texel]);
            const uint32_t pixel = ScreenPixel(14 + 10 * texel, 15 + 15 * i);
            for (int k = 0; k < 3; ++k) {
                EXPECT_NEAR(cases[i].expect(src[k], alphas[texel] / 255.0f, dst[k]), Channel(pixel, 16 - 8 * k), 2);
            }
        }
    }
}

TEST_F(GLDraw2DTest, AViewportBelowTheWholeWindowClipsDrawing) {
    SetViewport(10, 20, 30, 40);
    SetColor(255, 0, 0);
    DrawRect(0, 0, kWidth, kHeight);
    EXPECT_EQ(kRed, ScreenPixel(10, 20));
    EXPECT_EQ(kRed, ScreenPixel(39, 59));
    EXPECT_EQ(kBlack, ScreenPixel(9, 20));
    EXPECT_EQ(kBlack, ScreenPixel(40, 59));
    EXPECT_EQ(kBlack, ScreenPixel(39, 60));

    SetViewport(0, 0, kWidth, kHeight);
    DrawRect(0, 0, kWidth, kHeight);
    EXPECT_EQ(kRed, ScreenPixel(0, 0));
    EXPECT_EQ(kRed, ScreenPixel(kWidth - 1, kHeight - 1));
}

TEST_F(GLDraw2DTest, AGrabbedAreaDrawnBackReproducesTheScreen) {
    const struct {
        int r, g, b;
        float x, y, w, h;
    } rects[] = {{255, 0, 0, 20, 30, 50, 10}, {0, 255, 0, 20, 40, 25, 30}, {0, 0, 255, 45, 50, 25, 20}};
    for (const auto& r : rects) {
        SetColor(r.r, r.g, r.b);
        DrawRect(r.x, r.y, r.w, r.h);
    }
    Ref<TPixmap> grabbed = corvex::GrabPixmap(20, 30, 50, 40);
    SetColor(255, 255, 255);  // DrawPixmap takes neither colour nor blend
    SetBlend(SHADEBLEND);
    Cls();
    corvex::DrawPixmap(grabbed, 20, 30);
    Ref<TPixmap> redrawn = corvex::GrabPixmap(20, 30, 50, 40);
    EXPECT_EQ(0, std::memcmp(grabbed->pixels, redrawn->pixels, static_cast<size_t>(grabbed->pitch) * 40));

    // Partly off the screen: the visible part still lands in place.
    Cls();
    corvex::DrawPixmap(grabbed, -10, -5);
    Ref<TPixmap> visible = corvex::GrabPixmap(0, 0, 40, 35);
    for (int y = 0; y < 35; ++y) {
        for (int x = 0; x < 40; ++x) {
            ASSERT_EQ(grabbed->ReadPixel(x + 10, y + 5), visible->ReadPixel(x, y)) << x << "," << y;
        }
    }
}

TEST_F(GLDraw2DTest, TextGlyphsFollowEachOtherFromThePosition) {
    DrawText("AB", 10, 20);
    Ref<TPixmap> area = corvex::GrabPixmap(0, 20, 40, 16);
    int lit[2] = {0, 0};
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 40; ++x) {
            if (!(area->ReadPixel(x, y) & 0xffffff)) continue;
            ASSERT_TRUE(x >= 10 && x < 26) << x << "," << y;
            ++lit[(x - 10) / 8];
        }
    }
    EXPECT_GT(lit[0], 0);
    EXPECT_GT(lit[1], 0);
}
