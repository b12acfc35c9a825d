/// @file
/// The 2D driver interface: what a renderer implements so that the drawing functions
/// reach its pixels, and the drawable form of one image frame it makes.
///
/// Every renderer follows one transform convention: a local point (x, y) drawn with the
/// translation (tx, ty) lands on the screen at
/// @code{.unparsed}
///     X = x * ix + y * iy + tx,    Y = x * jx + y * jy + ty
/// @endcode
/// in window pixels, origin top-left, Y growing downwards.
#pragma once

#include "graphics/graphics.h"
#include "pixmap/pixmap.h"
#include "runtime/array.h"

namespace corvex {

/** @{ */
/// Blend modes.
inline constexpr int MASKBLEND = 1;   ///< opaque; pixels under half alpha are discarded
inline constexpr int SOLIDBLEND = 2;  ///< opaque, no alpha test
inline constexpr int ALPHABLEND = 3;  ///< source over destination by source alpha
inline constexpr int LIGHTBLEND = 4;  ///< added, weighted by source alpha
inline constexpr int SHADEBLEND = 5;  ///< destination times source colour
/** @} */

/** @{ */
/// Image flags.
inline constexpr int MASKEDIMAGE = 1;     ///< the mask colour becomes transparent
inline constexpr int FILTEREDIMAGE = 2;   ///< bilinear filtering when scaled
inline constexpr int MIPMAPPEDIMAGE = 4;  ///< a mipmap chain is built and used
inline constexpr int DYNAMICIMAGE = 8;    ///< content written at run time
/** @} */

/// A frame in the renderer's own form (a texture, a surface).
class TImageFrame : public Object {
public:
    /// Draws the whole frame stretched over the local rectangle (x0, y0)-(x1, y1),
    /// through the driver's current transform, translated by (tx, ty).
    virtual void Draw(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
};

/// A 2D renderer. It is also the graphics driver that makes and presents its contexts:
/// CreateGraphics and AttachGraphics return TDraw2DGraphics.
class TDraw2DDriver : public TGraphicsDriver {
public:
    /// A drawable frame made from the pixmap with the image flags; Null if it cannot be.
    virtual Ref<TImageFrame> CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) = 0;
    /** @{ */
    /// The state the drawing below uses: blend mode, alpha, drawing colour and the colour
    /// Cls clears to, as the 2D context stores them.
    virtual void SetBlend(int blend) = 0;
    virtual void SetAlpha(float alpha) = 0;
    virtual void SetColor(int red, int green, int blue) = 0;
    virtual void SetClsColor(int red, int green, int blue) = 0;
    /** @} */
    /// Clips all drawing to the rectangle (window pixels, origin top-left).
    virtual void SetViewport(int x, int y, int width, int height) = 0;
    /// The 2x2 matrix of the transform convention; translations come with each call.
    virtual void SetTransform(float ix, float iy, float jx, float jy) = 0;
    /// Width of lines in pixels.
    virtual void SetLineWidth(float width) = 0;
    /// Clears the viewport to the clear colour.
    virtual void Cls() = 0;
    /// One pixel at a screen position, not transformed.
    virtual void Plot(float x, float y) = 0;
    /// The line between two local points, through the transform, translated by (tx, ty).
    virtual void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    /// The filled local rectangle, through the transform, translated by (tx, ty).
    virtual void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    /// The ellipse inscribed in the local rectangle.
    virtual void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) = 0;
    /// xy holds x0, y0, x1, y1, ...; each point is moved by the handle, transformed and
    /// translated by the origin.
    virtual void DrawPoly(const Array<float>& xy, float handle_x, float handle_y, float origin_x, float origin_y) = 0;
    /// Copies the pixmap unscaled with its top-left corner at (x, y).
    virtual void DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) = 0;
    /// A new pixmap holding the screen rectangle.
    virtual Ref<TPixmap> GrabPixmap(int x, int y, int width, int height) = 0;
};

/// The current 2D driver: the driver of the current 2D context, Null when none is current.
extern Ref<TDraw2DDriver> _draw2dDriver;

}  // namespace corvex
