// Collisions: a turning, breathing gear wheel sweeps over five rectangles and a ball
// that rolls to and fro. Whatever it touches lights up, and only where their pixels
// meet: the gaps between the gear's teeth and the ball's transparent corners do not
// count. Escape or the close box ends it; "--frames N" ends it after N frames.
#include <cmath>
#include <iterator>

#include "draw2d/draw2d.h"
#include "frame_limit.h"
#include "polledinput/polledinput.h"
#include "runtime/startup.h"
#include "system/keycodes.h"
#include "umbrella/umbrella.h"

namespace {

using namespace corvex;

constexpr int kWidth = 640, kHeight = 480;
constexpr int kGearSize = 96, kBallSize = 64;

struct Box {
    float x, y, width, height;
};
constexpr Box kBoxes[] = {
    {80, 90, 120, 40}, {420, 70, 60, 110}, {260, 200, 40, 40}, {90, 330, 160, 24}, {440, 330, 110, 70},
};

// An image whose pixel (x, y) is white where inside(x, y) holds and transparent
// elsewhere, with its handle at its centre so that it turns about it.
template <class Inside>
Ref<TImage> MakeSprite(int size, Inside inside) {
    Ref<TImage> image = CreateImage(size, size, 1, 0);
    MidHandleImage(image);
    Ref<TPixmap> pixels = LockImage(image);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) WritePixel(pixels, x, y, inside(x, y) ? 0xFFFFFFFF : 0x00FFFFFF);
    }
    UnlockImage(image);
    return image;
}

// Distance and angle of a pixel's centre from the middle of a size x size image.
float Radius(int x, int y, int size) { return std::hypot(x + 0.5f - size / 2.0f, y + 0.5f - size / 2.0f); }
float Angle(int x, int y, int size) { return std::atan2(y + 0.5f - size / 2.0f, x + 0.5f - size / 2.0f); }

// A ring with eight teeth; its hub and the gaps between the teeth are transparent.
Ref<TImage> MakeGear() {
    return MakeSprite(kGearSize, [](int x, int y) {
        const float r = Radius(x, y, kGearSize);
        const bool tooth = std::cos(Angle(x, y, kGearSize) * 8) > 0;
        return r >= 16 && (r < 34 || (tooth && r < 48));
    });
}

Ref<TImage> MakeBall() {
    return MakeSprite(kBallSize, [](int x, int y) { return Radius(x, y, kBallSize) < kBallSize / 2.0f; });
}

bool Contains(const Array<Ref<Object>>& hits, const Ref<Object>& id) {
    for (const Ref<Object>& hit : hits) {
        if (hit == id) return true;
    }
    return false;
}

}  // namespace

CORVEX_APPLICATION(&corvex::runtime_module, &corvex::appstub_module, &corvex::umbrella_module,
                   &corvex::polledinput_module) {
    using namespace corvex;
    if (!Graphics(kWidth, kHeight, 0, 60, 0)) RaiseRuntimeError("Unable to open a 640 x 480 window");
    SetClsColor(20, 24, 40);
    const Ref<TImage> gear = MakeGear();
    const Ref<TImage> ball = MakeBall();
    // Collisions report the ids the shapes were written with.
    Ref<Object> box_ids[std::size(kBoxes)];
    for (Ref<Object>& id : box_ids) id = New<Object>();
    const Ref<Object> ball_id = New<Object>();

    const int limit = examples::FrameLimit();
    for (int frame = 0; frame != limit && !KeyHit(KEY_ESCAPE) && !AppTerminate(); ++frame) {
        const float t = frame / 60.0f;
        const float gear_x = kWidth / 2.0f + 230 * std::sin(t * 0.7f);
        const float gear_y = kHeight / 2.0f + 150 * std::sin(t * 1.1f);
        const float gear_scale = 1.0f + 0.3f * std::sin(t * 2);
        const float ball_x = kWidth / 2.0f + 200 * std::sin(t * 0.45f);

        // The scene is written afresh each frame: boxes on layer 1, the ball on layer 2.
        ResetCollisions(COLLISION_LAYER_ALL);
        for (size_t i = 0; i < std::size(kBoxes); ++i) {
            const Box& b = kBoxes[i];
            CollideRect(b.x, b.y, b.width, b.height, 0, COLLISION_LAYER_1, box_ids[i]);
        }
        CollideImage(ball, ball_x, 280, 0, 0, COLLISION_LAYER_2, ball_id);
        // The gear is tested against both layers as it will be drawn: turned and scaled.
        SetTransform(frame * 1.5f, gear_scale, gear_scale);
        const Array<Ref<Object>> hits = CollideImage(gear, gear_x, gear_y, 0, COLLISION_LAYER_1 | COLLISION_LAYER_2, 0);
        SetTransform();

        Cls();
        for (size_t i = 0; i < std::size(kBoxes); ++i) {
            const Box& b = kBoxes[i];
            if (Contains(hits, box_ids[i])) {
                SetColor(255, 80, 60);
            } else {
                SetColor(90, 100, 130);
            }
            DrawRect(b.x, b.y, b.width, b.height);
        }
        if (Contains(hits, ball_id)) {
            SetColor(255, 220, 60);
        } else {
            SetColor(80, 160, 255);
        }
        DrawImage(ball, ball_x, 280);
        SetColor(230, 230, 230);
        SetTransform(frame * 1.5f, gear_scale, gear_scale);
        DrawImage(gear, gear_x, gear_y);
        SetTransform();
        SetColor(200, 220, 255);
        DrawText("Collisions with corvex - Escape ends", 20, 12);
        DrawText(String::FromInt(hits.Length()) + " hit", 20, 450);
        Flip(-1);
    }
}
