/// @file
/// The 2D drawing layer: the drawing state of the current 2D context and the free
/// functions that draw through the current 2D driver.
///
/// Every state change is stored in the current TDraw2DGraphics and then forwarded to the
/// driver, so the stored copy is complete: getters never ask the driver, and making a
/// context current again replays its whole state. Nothing is validated or clamped here;
/// renderers clamp what they must. Called with no current context, every function raises
/// the null-object error.
///
/// The drawing handle is stored negated, so that it is the local top-left of a shape:
/// rotation and scale turn a shape about its handle point. The origin is added after the
/// transform and is never scaled or rotated.
#pragma once

#include "draw2d/collision.h"
#include "draw2d/driver.h"
#include "draw2d/font.h"
#include "draw2d/image.h"
#include "runtime/module.h"

namespace corvex {

/// A 2D context over another graphics context (the window or canvas).
class TDraw2DGraphics : public TGraphics {
public:
    /** @{ */
    /// Drawing colour (SetColor).
    int color_red = 255, color_green = 255, color_blue = 255;
    /** @} */
    float color_alpha = 1;  ///< alpha (SetAlpha)
    /** @{ */
    /// Clear colour (SetClsColor).
    int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
    /** @} */
    float line_width = 1;  ///< line width (SetLineWidth)
    float tform_rot = 0;   ///< rotation in degrees (SetRotation)
    /** @{ */
    /// Scale (SetScale).
    float tform_scale_x = 1, tform_scale_y = 1;
    /** @} */
    /** @{ */
    /// The 2x2 transform matrix that rotation and scale make.
    float tform_ix = 1, tform_iy = 0, tform_jx = 0, tform_jy = 1;
    /** @} */
    /** @{ */
    /// Viewport (SetViewport).
    int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;
    /** @} */
    /** @{ */
    /// Origin (SetOrigin).
    float origin_x = 0, origin_y = 0;
    /** @} */
    /** @{ */
    /// Handle, negated (SetHandle).
    float handle_x = 0, handle_y = 0;
    /** @} */
    Ref<TImageFont> image_font;  ///< font (SetImageFont)
    int blend_mode = MASKBLEND;  ///< blend mode (SetBlend)
    Ref<TGraphics> _graphics;    ///< Null after Close
    Ref<TDraw2DDriver> _driver;  ///< Null after Close
    int _setup = 0;              ///< 1 once made current

    /// The driver of the wrapped context.
    Ref<TGraphicsDriver> Driver() override;
    /// The settings of the wrapped context.
    void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
    /// Closes the wrapped context; the context stays current if it was.
    void Close() override;
    /// Replays the whole stored state into the driver.
    void Validate();
    /// Makes this the current context and replays its state; the first time it also
    /// clears and presents twice, so both buffers start cleared.
    void MakeCurrent();

    /// Leaves no context current.
    static void ClearCurrent();
    /// The current context (gc), Null when none is.
    static Ref<TDraw2DGraphics> Current();
    /// A context over g for driver d, in the initial state and covering all of g; Null
    /// when g is Null (a context the driver could not make).
    static Ref<TDraw2DGraphics> Create(const Ref<TGraphics>& g, const Ref<TDraw2DDriver>& d);
};

/// The current 2D context, Null when none is current.
extern Ref<TDraw2DGraphics> gc;

/** @{ */
/// Drawing colour (0 to 255 a channel), kept as given.
void SetColor(int red, int green, int blue);
void GetColor(int& red, int& green, int& blue);
/** @} */
/** @{ */
/// Alpha from 0 (transparent) to 1 (opaque), used by the blend modes that blend.
void SetAlpha(float alpha);
float GetAlpha();
/** @} */
/** @{ */
/// Blend mode: MASKBLEND, SOLIDBLEND, ALPHABLEND, LIGHTBLEND or SHADEBLEND.
void SetBlend(int blend);
int GetBlend();
/** @} */
/** @{ */
/// The colour Cls clears to.
void SetClsColor(int red, int green, int blue);
void GetClsColor(int& red, int& green, int& blue);
/** @} */
/** @{ */
/// Width of lines in pixels.
void SetLineWidth(float width);
float GetLineWidth();
/** @} */
/** @{ */
/// The rectangle of the context that drawing reaches, in pixels.
void SetViewport(int x, int y, int width, int height);
void GetViewport(int& x, int& y, int& width, int& height);
/** @} */
/** @{ */
/// Offset added to every position after the transform; never scaled or rotated.
void SetOrigin(float x, float y);
void GetOrigin(float& x, float& y);
/** @} */
/** @{ */
/// The point of a shape or image that its position names and that it turns about.
void SetHandle(float x, float y);
void GetHandle(float& x, float& y);
/** @} */
/** @{ */
/// Angles in degrees; a positive angle turns clockwise on the screen.
void SetRotation(float rotation);
float GetRotation();
/** @} */
/** @{ */
/// Scale applies in the drawing's own axes, before rotation; SetTransform sets rotation
/// and scale at once.
void SetScale(float scale_x, float scale_y);
void GetScale(float& scale_x, float& scale_y);
void SetTransform(float rotation = 0, float scale_x = 1, float scale_y = 1);
/** @} */
/** @{ */
/// Null selects the default font.
void SetImageFont(const Ref<TImageFont>& font);
Ref<TImageFont> GetImageFont();
/** @} */

/// Clears the viewport to the clear colour.
void Cls();
/// One pixel at (x, y) plus the origin; handle and transform do not apply.
void Plot(float x, float y);
/// A filled rectangle of the given size, its handle point at (x, y), turned and scaled
/// by the transform.
void DrawRect(float x, float y, float width, float height);
/// A filled ellipse inside the rectangle DrawRect would fill.
void DrawOval(float x, float y, float width, float height);
/// With draw_last_pixel the end point is plotted too, transformed like the line.
void DrawLine(float x, float y, float x2, float y2, int draw_last_pixel = 1);
/// A filled polygon; xy holds the corners as x, y pairs, placed like a rectangle.
void DrawPoly(const Array<float>& xy);
/// Text in the current font, its handle point at (x, y), turned and scaled by the
/// transform.
void DrawText(const String& text, float x, float y);
/** @{ */
/// Size of text in the current font in pixels, before the transform: the sum of the
/// glyphs' advances, and the font's height.
int TextWidth(const String& text);
int TextHeight(const String& text);
/** @} */
/// A font of size pixels loaded from url (style: BOLDFONT, ITALICFONT, SMOOTHFONT).
Ref<TImageFont> LoadImageFont(const Ref<Object>& url, int size, int style = SMOOTHFONT);
/** @{ */
/// Origin and handle do not apply to pixmaps.
void DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y);
Ref<TPixmap> GrabPixmap(int x, int y, int width, int height);
/** @} */

/// The module record of draw2d (see InitModule).
extern Module draw2d_module;

}  // namespace corvex
