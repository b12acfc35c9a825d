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
    int color_red = 255, color_green = 255, color_blue = 255;
    float color_alpha = 1;
    int clscolor_red = 0, clscolor_green = 0, clscolor_blue = 0;
    float line_width = 1;
    float tform_rot = 0;
    float tform_scale_x = 1, tform_scale_y = 1;
    float tform_ix = 1, tform_iy = 0, tform_jx = 0, tform_jy = 1;
    int viewport_x = 0, viewport_y = 0, viewport_w = 0, viewport_h = 0;
    float origin_x = 0, origin_y = 0;
    float handle_x = 0, handle_y = 0;  ///< negated
    Ref<TImageFont> image_font;
    int blend_mode = MASKBLEND;
    Ref<TGraphics> _graphics;    ///< Null after Close
    Ref<TDraw2DDriver> _driver;  ///< Null after Close
    int _setup = 0;              ///< 1 once made current

    Ref<TGraphicsDriver> Driver() override;
    void GetSettings(int& width, int& height, int& depth, int& hertz, int& flags) override;
    /// Closes the wrapped context; the context stays current if it was.
    void Close() override;
    /// Replays the whole stored state into the driver.
    void Validate();
    /// Makes this the current context and replays its state; the first time it also
    /// clears and presents twice, so both buffers start cleared.
    void MakeCurrent();

    static void ClearCurrent();
    static Ref<TDraw2DGraphics> Current();
    /// A context over g for driver d, in the initial state and covering all of g; Null
    /// when g is Null (a context the driver could not make).
    static Ref<TDraw2DGraphics> Create(const Ref<TGraphics>& g, const Ref<TDraw2DDriver>& d);
};

/// The current 2D context, Null when none is current.
extern Ref<TDraw2DGraphics> gc;

void SetColor(int red, int green, int blue);
void GetColor(int& red, int& green, int& blue);
void SetAlpha(float alpha);
float GetAlpha();
void SetBlend(int blend);
int GetBlend();
void SetClsColor(int red, int green, int blue);
void GetClsColor(int& red, int& green, int& blue);
void SetLineWidth(float width);
float GetLineWidth();
void SetViewport(int x, int y, int width, int height);
void GetViewport(int& x, int& y, int& width, int& height);
void SetOrigin(float x, float y);
void GetOrigin(float& x, float& y);
void SetHandle(float x, float y);
void GetHandle(float& x, float& y);
///@{
/// Angles in degrees; a positive angle turns clockwise on the screen.
void SetRotation(float rotation);
float GetRotation();
///@}
///@{
/// Scale applies in the drawing's own axes, before rotation.
void SetScale(float scale_x, float scale_y);
void GetScale(float& scale_x, float& scale_y);
void SetTransform(float rotation = 0, float scale_x = 1, float scale_y = 1);
///@}
///@{
/// Null selects the default font.
void SetImageFont(const Ref<TImageFont>& font);
Ref<TImageFont> GetImageFont();
///@}

void Cls();
void Plot(float x, float y);
void DrawRect(float x, float y, float width, float height);
void DrawOval(float x, float y, float width, float height);
///@{
/// With draw_last_pixel the end point is plotted too, transformed like the line.
void DrawLine(float x, float y, float x2, float y2, int draw_last_pixel = 1);
void DrawPoly(const Array<float>& xy);
void DrawText(const String& text, float x, float y);
int TextWidth(const String& text);
int TextHeight(const String& text);
Ref<TImageFont> LoadImageFont(const Ref<Object>& url, int size, int style = SMOOTHFONT);
///@}
///@{
/// Origin and handle do not apply to pixmaps.
void DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y);
Ref<TPixmap> GrabPixmap(int x, int y, int width, int height);
///@}

/// The module record of draw2d (see InitModule).
extern Module draw2d_module;

}  // namespace corvex
