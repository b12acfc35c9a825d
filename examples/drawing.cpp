// Drawing: a tour of the 2D drawing functions. Opens a 640 x 480 window and draws, every
// frame, some shapes, a square that turns and breathes, an animated ball whose frames
// are painted at run time, the five blend modes over a striped background, and text in
// the default font. Escape or the close box ends it; "--frames N" ends it after N frames.
#include <algorithm>
#include <cmath>

#include "draw2d/draw2d.h"
#include "frame_limit.h"
#include "polledinput/polledinput.h"
#include "runtime/startup.h"
#include "system/keycodes.h"
#include "umbrella/umbrella.h"

namespace {

using namespace corvex;

constexpr int kBallSize = 48;
constexpr int kBallFrames = 16;

// An animation made in memory: each frame is a shaded ball with stripes that have moved
// down one pixel since the frame before, so the frames loop seamlessly. The pixels are
// written straight into each frame's pixmap (0xAARRGGBB); outside the ball they are
// transparent, and the rim is soft.
Ref<TImage> MakeBall() {
    Ref<TImage> ball = CreateImage(kBallSize, kBallSize, kBallFrames, FILTEREDIMAGE);
    MidHandleImage(ball);  // draw, turn and scale it about its centre
    const float radius = kBallSize * 0.5f;
    for (int frame = 0; frame < kBallFrames; ++frame) {
        Ref<TPixmap> pixels = LockImage(ball, frame);
        for (int y = 0; y < kBallSize; ++y) {
            for (int x = 0; x < kBallSize; ++x) {
                const float dx = x + 0.5f - radius, dy = y + 0.5f - radius;
                const float distance = std::sqrt(dx * dx + dy * dy);
                const auto alpha = static_cast<uint32_t>(std::clamp(radius - distance, 0.0f, 1.0f) * 255);
                const float light = 1.0f - 0.6f * distance / radius;
                const bool stripe = (y + frame) / 8 % 2 == 0;
                const auto red = static_cast<uint32_t>(255 * light);
                const auto green = static_cast<uint32_t>((stripe ? 160 : 255) * light);
                const auto blue = static_cast<uint32_t>((stripe ? 0 : 255) * light);
                WritePixel(pixels, x, y, alpha << 24 | red << 16 | green << 8 | blue);
            }
        }
        UnlockImage(ball, frame);  // the next DrawImage of this frame picks the new pixels up
    }
    return ball;
}

// Rectangles, ovals, lines of two widths, a polygon and single pixels.
void DrawShapes() {
    SetColor(220, 60, 60);
    DrawRect(20, 40, 80, 50);
    SetColor(60, 200, 90);
    DrawOval(120, 40, 80, 50);
    SetColor(255, 255, 255);
    for (int i = 0; i <= 8; ++i) DrawLine(20, 110, 20 + i * 22.0f, 180);
    SetLineWidth(4);
    SetColor(250, 200, 60);
    DrawLine(20, 200, 200, 200);
    SetLineWidth(1);
    // A five-pointed star as five triangles, each from the centre to two tips: a polygon
    // (x0, y0, x1, y1, ...) is drawn filled, and only convex ones fill reliably.
    SetColor(120, 140, 255);
    for (int tip = 0; tip < 5; ++tip) {
        const float a = tip * 72.0f * 3.14159265f / 180, b = a + 144.0f * 3.14159265f / 180;
        DrawPoly(
            {240, 130, 240 + 30 * std::sin(a), 130 - 30 * std::cos(a), 240 + 30 * std::sin(b), 130 - 30 * std::cos(b)});
    }
    SetColor(255, 255, 0);
    for (int i = 0; i < 10; ++i) Plot(220 + i * 4.0f, 180);
}

// Rotation and scale turn a shape about its handle; here the handle is the square's
// centre. Both stay in force until they are set back.
void DrawTurningSquare(int frame) {
    const float breath = 1.0f + 0.3f * std::sin(frame * 0.05f);
    SetHandle(40, 40);
    SetRotation(frame * 1.5f);
    SetScale(breath, breath);
    SetColor(255, 120, 0);
    DrawRect(390, 110, 80, 80);
    SetHandle(0, 0);
    SetTransform(0, 1, 1);
}

// The ball's animation, once upright and once turning, twice as large.
void DrawBalls(const Ref<TImage>& ball, int frame) {
    SetColor(255, 255, 255);  // images are tinted by the colour; white leaves them alone
    SetBlend(ALPHABLEND);     // the ball's soft rim needs its alpha
    DrawImage(ball, 530, 80, frame % kBallFrames);
    SetTransform(-frame * 2.0f, 2, 2);
    DrawImage(ball, 530, 170, frame % kBallFrames);
    SetTransform(0, 1, 1);
}

// Each blend mode draws the same ball and a half-transparent rectangle over the same
// stripes, with its name underneath.
void DrawBlendModes(const Ref<TImage>& ball, int frame) {
    static const char* const kNames[] = {"MASK", "SOLID", "ALPHA", "LIGHT", "SHADE"};
    static const int kModes[] = {MASKBLEND, SOLIDBLEND, ALPHABLEND, LIGHTBLEND, SHADEBLEND};
    for (int i = 0; i < 5; ++i) {
        const float left = 20 + i * 122.0f;
        SetBlend(SOLIDBLEND);
        for (int band = 0; band < 4; ++band) {
            const int level = 60 + band * 60;
            SetColor(level, band % 2 ? level : 40, 255 - level);
            DrawRect(left, 270 + band * 30.0f, 110, 30);
        }
        SetBlend(kModes[i]);
        SetColor(255, 255, 255);
        DrawImageRect(ball, left + 55, 315, 96, 96, frame % kBallFrames);
        SetAlpha(0.5f);
        SetColor(80, 160, 255);
        DrawRect(left + 10, 370, 90, 16);
        SetAlpha(1);
        SetBlend(MASKBLEND);  // the default font's glyphs are either opaque or transparent
        SetColor(255, 255, 255);
        DrawText(kNames[i], left + 55 - TextWidth(kNames[i]) / 2.0f, 400);
    }
}

}  // namespace

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::umbrella_module,
                   &corvex::polledinput_module) {
    using namespace corvex;
    // Graphics opens the window through the current driver and returns its 2D context;
    // every drawing function below acts on that context.
    if (!Graphics(640, 480, 0, 60, 0)) RaiseRuntimeError("Unable to open a 640 x 480 window");
    SetClsColor(24, 28, 48);
    Ref<TImage> ball = MakeBall();
    const int limit = examples::FrameLimit();
    for (int frame = 0; frame != limit && !KeyHit(KEY_ESCAPE) && !AppTerminate(); ++frame) {
        Cls();
        DrawShapes();
        DrawTurningSquare(frame);
        DrawBalls(ball, frame);
        DrawBlendModes(ball, frame);
        SetColor(200, 220, 255);
        DrawText("Drawing with corvex - Escape ends", 20, 12);
        DrawText("frame " + String::FromInt(frame), 520, 12);
        Flip(-1);  // show the frame, paced at 60 frames a second
    }
}
