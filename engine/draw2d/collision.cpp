// The collision layers, the pool of quads and the tests of a new quad against layers.
#include "draw2d/collision.h"

#include <algorithm>
#include <deque>
#include <vector>

#include "draw2d/draw2d.h"
#include "draw2d/polyscan.h"

namespace corvex {

namespace {

constexpr int kLayers = 32;

std::deque<TQuad> _quadPool;  // every quad ever made, at a fixed address; never shrinks
TQuad* _quadLayer[kLayers] = {};
TQuad* _freeQuads = nullptr;
float _cix = 1, _ciy = 0, _cjx = 0, _cjy = 1;
std::vector<Object*> _hits;  // ids hit by the test under way

bool InMask(int mask, int layer) { return (static_cast<uint32_t>(mask) >> layer) & 1; }

TQuad* TakeQuad() {
    TQuad* q = _freeQuads;
    if (!q) return &_quadPool.emplace_back();
    _freeQuads = q->link;
    q->link = nullptr;
    return q;
}

// Drops the quad's hold on its id and mask, which belong to the caller, and pools it.
void ReleaseQuad(TQuad* q) {
    q->id = nullptr;
    q->mask = nullptr;
    q->link = _freeQuads;
    _freeQuads = q;
}

// A quad for a width x height rectangle placed at (x, y) as the frame of image, if one
// is given, would be drawn.
TQuad* MakeQuad(TImage* image, int frame, float x, float y, float width, float height, const Ref<Object>& id) {
    const float x0 = image ? -image->handle_x : 0;
    const float y0 = image ? -image->handle_y : 0;
    const float x1 = x0 + width, y1 = y0 + height;
    const float tx = x + gc->origin_x, ty = y + gc->origin_y;
    Ref<TPixmap> mask = image ? image->Lock(frame, 1, 0) : nullptr;
    if (mask && AlphaBitsPerPixel[mask->format] == 0) mask = nullptr;
    TQuad* q = TakeQuad();
    q->id = id;
    q->mask = std::move(mask);
    q->frame = frame;
    const auto sx = [&](float lx, float ly) { return lx * _cix + ly * _ciy + tx; };
    const auto sy = [&](float lx, float ly) { return lx * _cjx + ly * _cjy + ty; };
    q->SetCoords(sx(x0, y0), sy(x0, y0), sx(x1, y0), sy(x1, y0), sx(x1, y1), sy(x1, y1), sx(x0, y1), sy(x0, y1));
    return q;
}

// The quads' bounding boxes overlap: most pairs are turned away here, before any scan.
bool BoxesMeet(const TQuad& p, const TQuad& q) {
    return !(p.maxx < q.minx || p.maxy < q.miny || p.minx > q.maxx || p.miny > q.maxy);
}

// Scan-converts both quads, p first, row by row until a row collides.
bool PixelsMeet(const TQuad& p, const TQuad& q) {
    float data[2][16];
    RPoly polys[2];
    const TQuad* quads[2] = {&p, &q};
    for (int i = 0; i < 2; ++i) {
        std::copy(quads[i]->xyuv, quads[i]->xyuv + 16, data[i]);
        polys[i].texture = quads[i]->mask.get();
        polys[i].data = data[i];
        polys[i].channels = 4;
        polys[i].size = 16;
    }
    return RenderPolys(polys, 2, CollideSpans) < 0;
}

// Tests quad against the layers of collidemask, writes copies of it into the layers of
// writemask and pools it.
Array<Ref<Object>> CollideQuad(TQuad* quad, int collidemask, int writemask) {
    _hits.clear();
    for (int i = 0; i < kLayers; ++i) {
        if (!InMask(collidemask, i)) continue;
        for (const TQuad* q = _quadLayer[i]; q; q = q->link) {
            if (BoxesMeet(*quad, *q) && PixelsMeet(*quad, *q)) _hits.push_back(q->id.get());
        }
    }
    for (int i = 0; i < kLayers; ++i) {
        if (!InMask(writemask, i)) continue;
        TQuad* copy = TakeQuad();
        *copy = *quad;
        copy->link = _quadLayer[i];
        _quadLayer[i] = copy;
    }
    ReleaseQuad(quad);
    if (_hits.empty()) return {};
    return Array<Ref<Object>>(std::vector<Ref<Object>>(_hits.begin(), _hits.end()));
}

// Puts the context's rotation and scale back when it goes.
class TransformKeeper {
public:
    TransformKeeper() : rot_(gc->tform_rot), scale_x_(gc->tform_scale_x), scale_y_(gc->tform_scale_y) {}
    ~TransformKeeper() { SetTransform(rot_, scale_x_, scale_y_); }
    TransformKeeper(const TransformKeeper&) = delete;
    TransformKeeper& operator=(const TransformKeeper&) = delete;

private:
    float rot_, scale_x_, scale_y_;
};

}  // namespace

void TQuad::SetCoords(float tx0, float ty0, float tx1, float ty1, float tx2, float ty2, float tx3, float ty3) {
    const float corners[16] = {tx0, ty0, 0, 0, tx1, ty1, 1, 0, tx2, ty2, 1, 1, tx3, ty3, 0, 1};
    std::copy(corners, corners + 16, xyuv);
    minx = std::min({tx0, tx1, tx2, tx3});
    maxx = std::max({tx0, tx1, tx2, tx3});
    miny = std::min({ty0, ty1, ty2, ty3});
    maxy = std::max({ty0, ty1, ty2, ty3});
}

void ResetCollisions(int mask) {
    for (int i = 0; i < kLayers; ++i) {
        if (mask != COLLISION_LAYER_ALL && !InMask(mask, i)) continue;
        while (TQuad* q = _quadLayer[i]) {
            _quadLayer[i] = q->link;
            ReleaseQuad(q);
        }
    }
}

Array<Ref<Object>> CollideImage(const Ref<TImage>& image, float x, float y, int frame, int collidemask, int writemask,
                                const Ref<Object>& id) {
    TImage& i = *image;
    TQuad* quad = MakeQuad(&i, frame, x, y, static_cast<float>(i.width), static_cast<float>(i.height), id);
    return CollideQuad(quad, collidemask, writemask);
}

Array<Ref<Object>> CollideRect(float x, float y, float width, float height, int collidemask, int writemask,
                               const Ref<Object>& id) {
    return CollideQuad(MakeQuad(nullptr, 0, x, y, width, height, id), collidemask, writemask);
}

int ImagesCollide(const Ref<TImage>& image1, int x1, int y1, int frame1, const Ref<TImage>& image2, int x2, int y2,
                  int frame2) {
    ResetCollisions(COLLISION_LAYER_32);
    CollideImage(image1, static_cast<float>(x1), static_cast<float>(y1), frame1, 0, COLLISION_LAYER_32);
    return CollideImage(image2, static_cast<float>(x2), static_cast<float>(y2), frame2, COLLISION_LAYER_32, 0)
                       .Length() > 0
               ? 1
               : 0;
}

int ImagesCollide2(const Ref<TImage>& image1, float x1, float y1, int frame1, float rot1, float scalex1, float scaley1,
                   const Ref<TImage>& image2, float x2, float y2, int frame2, float rot2, float scalex2,
                   float scaley2) {
    const TransformKeeper keeper;
    ResetCollisions(COLLISION_LAYER_32);
    SetTransform(rot1, scalex1, scaley1);
    CollideImage(image1, x1, y1, frame1, 0, COLLISION_LAYER_32);
    SetTransform(rot2, scalex2, scaley2);
    return CollideImage(image2, x2, y2, frame2, COLLISION_LAYER_32, 0).Length() > 0 ? 1 : 0;
}

void SetCollisions2DTransform(float ix, float iy, float jx, float jy) {
    _cix = ix;
    _ciy = iy;
    _cjx = jx;
    _cjy = jy;
}

}  // namespace corvex
