// Collisions on a headless context: rectangles and images placed as they would be
// drawn, layers and masks, the order of hits, and no allocation once warmed up.
//
// The program replaces operator new and delete with malloc and free to count; the
// compiler, seeing both inlined, takes them for a mismatched pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

#include "draw2d/draw2d.h"
#include "draw2d/recorded.h"

namespace {
std::atomic<long> _allocations{0};
}  // namespace

// Counts every allocation of the test program.
void* operator new(size_t size) {
    ++_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace corvex {
namespace {

class CollisionTest : public RecordedTest {
protected:
    void TearDown() override {
        ResetCollisions(COLLISION_LAYER_ALL);
        RecordedTest::TearDown();
    }
};

struct Rect {
    float x, y, w, h;
};

// A size x size image whose pixels inside the centred circle have alpha 255, the rest 0.
Ref<TImage> Disc(int size, int format = PF_RGBA8888) {
    Ref<TPixmap> pixels = CreatePixmap(size, size, format);
    const float r = size * 0.5f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float dx = x + 0.5f - r, dy = y + 0.5f - r;
            pixels->WritePixel(x, y, dx * dx + dy * dy <= r * r ? 0xFFFFFFFF : 0x00FFFFFF);
        }
    }
    return LoadImage(pixels, 0);
}

Ref<TImage> Filled(int width, int height, uint32_t pixel) {
    Ref<TPixmap> pixels = CreatePixmap(width, height, PF_RGBA8888);
    pixels->ClearPixels(pixel);
    return LoadImage(pixels, 0);
}

TEST_F(CollisionTest, RectanglesCollideWhereTheirPixelsMeet) {
    struct Case {
        const char* what;
        Rect written;
        float rot, scale_x, origin_x;  // of the written rectangle only
        Rect tested;
        bool hit;
    } cases[] = {
        {"overlapping", {0, 0, 10, 10}, 0, 1, 0, {5, 5, 10, 10}, true},
        {"far apart", {0, 0, 10, 10}, 0, 1, 0, {30, 30, 10, 10}, false},
        {"sharing an edge line", {0, 0, 10, 10}, 0, 1, 0, {10, 0, 10, 10}, false},
        {"last pixel", {0, 0, 10, 10}, 0, 1, 0, {9, 9, 1, 1}, true},
        {"no width", {0, 0, 0, 10}, 0, 1, 0, {0, 0, 10, 10}, false},
        {"mirrored, inside", {20, 0, 10, 10}, 0, -1, 0, {12, 2, 2, 2}, true},
        {"mirrored, where unmirrored", {20, 0, 10, 10}, 0, -1, 0, {22, 2, 2, 2}, false},
        {"turned, in its box only", {0, 0, 20, 20}, 45, 1, 0, {8, 2, 2, 2}, false},
        {"turned, inside", {0, 0, 20, 20}, 45, 1, 0, {2, 10, 2, 2}, true},
        {"moved by the origin", {0, 0, 10, 10}, 0, 1, 20, {22, 2, 2, 2}, true},
        {"moved away by the origin", {0, 0, 10, 10}, 0, 1, 20, {2, 2, 2, 2}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetCollisions();
        SetTransform(c.rot, c.scale_x, 1);
        SetOrigin(c.origin_x, 0);
        CollideRect(c.written.x, c.written.y, c.written.w, c.written.h, 0, COLLISION_LAYER_1);
        SetTransform();
        SetOrigin(0, 0);
        const int hits = CollideRect(c.tested.x, c.tested.y, c.tested.w, c.tested.h, COLLISION_LAYER_1, 0).Length();
        EXPECT_EQ(hits, c.hit ? 1 : 0);
    }
}

TEST_F(CollisionTest, ImagesAreSolidWhereTheirAlphaIsAtLeastHalf) {
    struct Case {
        const char* what;
        Ref<TImage> image;
        Rect tested;
        bool hit;
    } cases[] = {
        {"transparent corner", Disc(20), {0, 0, 3, 3}, false},
        {"opaque centre", Disc(20), {8, 8, 4, 4}, true},
        {"opaque left rim", Disc(20), {0, 9, 1, 2}, true},
        {"no alpha: corner", Disc(20, PF_RGB888), {0, 0, 3, 3}, true},
        {"alpha 127", Filled(8, 8, 0x7FFFFFFF), {2, 2, 4, 4}, false},
        {"alpha 128", Filled(8, 8, 0x80FFFFFF), {2, 2, 4, 4}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetCollisions();
        // Placed by its handle: the top-left corner lands on (0, 0).
        SetImageHandle(c.image, 5, 5);
        CollideImage(c.image, 5, 5, 0, 0, COLLISION_LAYER_1);
        EXPECT_EQ(CollideRect(c.tested.x, c.tested.y, c.tested.w, c.tested.h, COLLISION_LAYER_1, 0).Length(),
                  c.hit ? 1 : 0);
    }
    EXPECT_THROW(CollideImage(nullptr, 0, 0, 0, 1, 1), TNullObjectException);
    EXPECT_THROW(ImagesCollide(nullptr, 0, 0, 0, Disc(4), 0, 0, 0), TNullObjectException);
}

TEST_F(CollisionTest, LayersMasksAndHitOrder) {
    const Ref<Object> a = New<Object>(), b = New<Object>(), c = New<Object>();
    // All overlap the rectangle tested below.
    CollideRect(0, 0, 10, 10, 0, COLLISION_LAYER_3, a);
    CollideRect(0, 0, 10, 10, 0, COLLISION_LAYER_1 | COLLISION_LAYER_32, b);
    CollideRect(2, 2, 10, 10, 0, COLLISION_LAYER_1, nullptr);
    EXPECT_EQ(CollideRect(0, 0, 10, 10, 0, COLLISION_LAYER_3, c).Length(), 0) << "collidemask 0 only writes";
    CollideRect(50, 50, 10, 10, 0, COLLISION_LAYER_1, a);  // elsewhere: never hit

    const auto hits = [] {
        std::vector<Object*> ids;
        for (const Ref<Object>& id : CollideRect(5, 5, 1, 1, -1, 0)) ids.push_back(id.get());
        return ids;
    };
    // Layer 1 newest first, then 3, then 32; the id-less quad as Null.
    EXPECT_EQ(hits(), (std::vector<Object*>{nullptr, b.get(), c.get(), a.get(), b.get()}));
    EXPECT_EQ(hits().size(), 5u) << "a test that writes nowhere must leave the layers alone";
    EXPECT_EQ(CollideRect(5, 5, 1, 1, COLLISION_LAYER_2, 0).Length(), 0);
    ResetCollisions(COLLISION_LAYER_3);
    EXPECT_EQ(hits(), (std::vector<Object*>{nullptr, b.get(), b.get()}));
    ResetCollisions(COLLISION_LAYER_ALL);
    EXPECT_TRUE(hits().empty());
}

TEST_F(CollisionTest, ImagesCollideUnderTheirOwnTransformsAndRestoreTheContexts) {
    Ref<TImage> bar = Filled(40, 4, 0xFFFFFFFF);
    MidHandleImage(bar);
    struct Case {
        const char* what;
        float y2, rot2, scale_y2;
        int hit;
    } cases[] = {
        {"parallel, apart", 70, 0, 1, 0},
        {"turned across", 70, 90, 1, 1},
        {"stretched across", 70, 0, 12, 1},
        {"turned, short of it", 80, 90, 0.5f, 0},
    };
    SetTransform(30, 2, 3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ImagesCollide2(bar, 50, 50, 0, 0, 1, 1, bar, 50, c.y2, 0, c.rot2, 1, c.scale_y2), c.hit);
        float sx, sy;
        GetScale(sx, sy);
        EXPECT_EQ(GetRotation(), 30);
        EXPECT_EQ(sx, 2);
        EXPECT_EQ(sy, 3);
    }
    SetTransform();
    EXPECT_EQ(ImagesCollide(bar, 50, 50, 0, bar, 50, 53, 0), 1);
    EXPECT_EQ(ImagesCollide(bar, 50, 50, 0, bar, 50, 54, 0), 0);
    // Layer 32 keeps the first image.
    EXPECT_EQ(CollideRect(30, 49, 1, 1, COLLISION_LAYER_32, 0).Length(), 1);
}

TEST_F(CollisionTest, RepeatedTestsAllocateNothing) {
    Ref<TImage> disc = Disc(16);
    for (int i = 0; i < 50; ++i) CollideImage(disc, i * 32.0f, 0, 0, 0, COLLISION_LAYER_1);
    // Corners that reach into a disc's box but not its pixels, so each pair is scanned.
    const auto round = [&] {
        for (int i = 0; i < 50; ++i) {
            CollideRect(i * 32.0f, 0, 2, 2, COLLISION_LAYER_1, 0);
            CollideImage(disc, i * 32.0f + 14, 14, 0, COLLISION_LAYER_1, COLLISION_LAYER_2);
        }
        ResetCollisions(COLLISION_LAYER_2);
    };
    round();
    const long before = _allocations;
    round();
    round();
    EXPECT_EQ(_allocations - before, 0);
    EXPECT_EQ(CollideRect(8, 8, 1, 1, COLLISION_LAYER_1, 0).Length(), 1);
}

}  // namespace
}  // namespace corvex
