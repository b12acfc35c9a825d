/// @file
/// Pixel-exact collisions between images and rectangles placed the way they would be
/// drawn: with the image's handle, the context's origin, rotation and scale.
///
/// Shapes are kept as transformed quadrilaterals (quads) on 32 collision layers. A new
/// shape is tested against a set of layers and written into a set of layers. Two quads
/// collide when their screen footprints share a pixel at which both are solid: an image
/// is solid where the top bit of its alpha is set (when its pixmap has alpha), a
/// rectangle or an image without alpha everywhere. Nothing is drawn: both quads are
/// scan-converted row by row in software (draw2d/polyscan.h).
///
/// Quads are pooled: released quads go to a free list and are reused, and the row
/// buffer only grows, so repeated tests allocate nothing but their result arrays.
/// Like the drawing functions, these raise the null-object error with no current context.
#pragma once

#include <cstdint>

#include "draw2d/image.h"
#include "runtime/array.h"

namespace corvex {

/** @{ */
/// Layer masks: layer n is bit n - 1. Given to ResetCollisions, 0 means every layer.
inline constexpr int COLLISION_LAYER_ALL = 0;
inline constexpr int COLLISION_LAYER_1 = 1;
inline constexpr int COLLISION_LAYER_2 = 2;
inline constexpr int COLLISION_LAYER_3 = 4;
inline constexpr int COLLISION_LAYER_4 = 8;
inline constexpr int COLLISION_LAYER_5 = 16;
inline constexpr int COLLISION_LAYER_6 = 32;
inline constexpr int COLLISION_LAYER_7 = 64;
inline constexpr int COLLISION_LAYER_8 = 128;
inline constexpr int COLLISION_LAYER_9 = 1 << 8;
inline constexpr int COLLISION_LAYER_10 = 1 << 9;
inline constexpr int COLLISION_LAYER_11 = 1 << 10;
inline constexpr int COLLISION_LAYER_12 = 1 << 11;
inline constexpr int COLLISION_LAYER_13 = 1 << 12;
inline constexpr int COLLISION_LAYER_14 = 1 << 13;
inline constexpr int COLLISION_LAYER_15 = 1 << 14;
inline constexpr int COLLISION_LAYER_16 = 1 << 15;
inline constexpr int COLLISION_LAYER_17 = 1 << 16;
inline constexpr int COLLISION_LAYER_18 = 1 << 17;
inline constexpr int COLLISION_LAYER_19 = 1 << 18;
inline constexpr int COLLISION_LAYER_20 = 1 << 19;
inline constexpr int COLLISION_LAYER_21 = 1 << 20;
inline constexpr int COLLISION_LAYER_22 = 1 << 21;
inline constexpr int COLLISION_LAYER_23 = 1 << 22;
inline constexpr int COLLISION_LAYER_24 = 1 << 23;
inline constexpr int COLLISION_LAYER_25 = 1 << 24;
inline constexpr int COLLISION_LAYER_26 = 1 << 25;
inline constexpr int COLLISION_LAYER_27 = 1 << 26;
inline constexpr int COLLISION_LAYER_28 = 1 << 27;
inline constexpr int COLLISION_LAYER_29 = 1 << 28;
inline constexpr int COLLISION_LAYER_30 = 1 << 29;
inline constexpr int COLLISION_LAYER_31 = 1 << 30;
inline constexpr int COLLISION_LAYER_32 = INT32_MIN;
/** @} */

/// A shape on a collision layer: four screen corners with texture coordinates. Aligned so
/// that the link and the bounding box, all a walk along a layer reads of most quads,
/// share a cache line.
struct alignas(64) TQuad {
    TQuad* link = nullptr;  ///< next quad of its layer or of the free list
    Ref<Object> id;         ///< the caller's identifier, returned by hits
    Ref<TPixmap> mask;      ///< decides solidity; Null: solid everywhere
    int frame = 0;          ///< the frame of the image the mask comes from
    /** @{ */
    /// The bounding box of the corners.
    float minx = 0, miny = 0, maxx = 0, maxy = 0;
    /** @} */
    float xyuv[16] = {};  ///< corners 0..3: x, y, u, v each

    /// Corners 0..3 with (u, v) (0, 0), (1, 0), (1, 1), (0, 1), and their bounding box.
    void SetCoords(float tx0, float ty0, float tx1, float ty1, float tx2, float ty2, float tx3, float ty3);
};

/// Empties every layer whose bit is set in mask (0: all 32 layers).
void ResetCollisions(int mask = COLLISION_LAYER_ALL);
/// Places a frame of the image as DrawImage would at (x, y), tests it against the layers
/// of collidemask and writes it into the layers of writemask. Gives the ids of the quads
/// hit, in layer order 1 to 32 and newest first within a layer; empty when none.
Array<Ref<Object>> CollideImage(const Ref<TImage>& image, float x, float y, int frame, int collidemask, int writemask,
                                const Ref<Object>& id = nullptr);
/// The same for a solid width x height rectangle at (x, y), with no handle.
Array<Ref<Object>> CollideRect(float x, float y, float width, float height, int collidemask, int writemask,
                               const Ref<Object>& id = nullptr);
/// 1 when the two frames, drawn at their positions under the current transform, overlap
/// at a pixel solid in both, else 0. Uses layer 32, which is left holding image1.
int ImagesCollide(const Ref<TImage>& image1, int x1, int y1, int frame1, const Ref<TImage>& image2, int x2, int y2,
                  int frame2);
/// The same with a rotation and scale of its own for each image; the context's rotation
/// and scale are restored afterwards.
int ImagesCollide2(const Ref<TImage>& image1, float x1, float y1, int frame1, float rot1, float scalex1, float scaley1,
                   const Ref<TImage>& image2, float x2, float y2, int frame2, float rot2, float scalex2, float scaley2);
/// The 2x2 transform new quads are placed with; the drawing transform keeps it in step.
void SetCollisions2DTransform(float ix, float iy, float jx, float jy);

}  // namespace corvex
