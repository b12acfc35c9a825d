// Collisions agree with the pictures: two images drawn by the OpenGL renderer in red and
// green, turned and scaled, share a pixel exactly when ImagesCollide2 says they collide.
#include "gldraw2d/fixture.h"

using namespace corvex;
using namespace corvex::testing;

namespace {

// Opaque inside the circle that fills a 24 x 24 image, transparent outside.
uint32_t DiscPixel(int x, int y) {
    const float dx = x + 0.5f - 12, dy = y + 0.5f - 12;
    return dx * dx + dy * dy <= 144 ? 0xFFFFFFFFu : 0u;
}

}  // namespace

TEST_F(GLDraw2DTest, ImagesCollideWhereTheirDrawnPixelsOverlap) {
    // Unfiltered, so that every drawn pixel is fully opaque or fully transparent.
    const Ref<TImage> disc = LoadImage(MakePixmap(24, 24, PF_RGBA8888, DiscPixel), 0);
    const Ref<TImage> bar = LoadImage(MakePixmap(40, 6, PF_RGBA8888, [](int, int) { return 0xFFFFFFFFu; }), 0);
    MidHandleImage(disc);
    MidHandleImage(bar);
    struct Pose {
        Ref<TImage> image;
        float x, y, rot, scale_x, scale_y;
    };
    const struct {
        const char* what;
        Pose a, b;
        bool overlap;
    } cases[] = {
        {"discs, boxes overlapping", {disc, 60, 60, 0, 1, 1}, {disc, 80, 80, 0, 1, 1}, false},
        {"discs, touching", {disc, 60, 60, 0, 1, 1}, {disc, 74, 74, 0, 1, 1}, true},
        {"turned stretched bar, disc beside", {bar, 100, 60, 45, 1.5f, 1}, {disc, 94, 80, 30, 1, 1}, false},
        {"turned stretched bar, disc on it", {bar, 100, 60, 45, 1.5f, 1}, {disc, 99, 75, 30, 1, 1}, true},
        {"bars, short of each other", {bar, 60, 120, 10, 2, 1}, {bar, 110, 100, 90, 1, 1}, false},
        {"bars crossing", {bar, 60, 120, 10, 2, 1}, {bar, 95, 110, 90, 1, 1}, true},
        {"disc squeezed clear of a bar", {bar, 150, 40, 0, 1, 1}, {disc, 150, 56, 0, 2, 0.5f}, false},
        {"disc stretched onto a bar", {bar, 150, 40, 0, 1, 1}, {disc, 150, 56, 0, 0.5f, 2}, true},
    };
    SetBlend(LIGHTBLEND);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Cls();
        SetTransform(c.a.rot, c.a.scale_x, c.a.scale_y);
        SetColor(255, 0, 0);
        DrawImage(c.a.image, c.a.x, c.a.y);
        SetTransform(c.b.rot, c.b.scale_x, c.b.scale_y);
        SetColor(0, 255, 0);
        DrawImage(c.b.image, c.b.x, c.b.y);
        SetTransform();
        const Ref<TPixmap> screen = GrabPixmap(0, 0, kWidth, kHeight);
        int shared = 0;
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) shared += (screen->ReadPixel(x, y) & 0x808000) == 0x808000;
        }
        EXPECT_EQ(shared > 0, c.overlap) << shared << " pixels shared: the pose does not show what it says";
        EXPECT_EQ(ImagesCollide2(c.a.image, c.a.x, c.a.y, 0, c.a.rot, c.a.scale_x, c.a.scale_y, c.b.image, c.b.x, c.b.y,
                                 0, c.b.rot, c.b.scale_x, c.b.scale_y),
                  shared > 0 ? 1 : 0);
    }
}
