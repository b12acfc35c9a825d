/// @file
/// The OpenGL 2D renderer: a 2D driver on fixed-function OpenGL in immediate mode, over
/// the OpenGL graphics driver, and image frames kept as textures.
///
/// Textures are made and deleted in the shared context, so an image frame can be drawn in
/// every context of the program for as long as its GraphicsSeq is current. Vertices are
/// transformed on the CPU; the modelview matrix is never changed.
///
/// The module's start-up makes GLDraw2DDriver() the current graphics driver with
/// GRAPHICS_BACKBUFFER as default flags.
#pragma once

#include "draw2d/draw2d.h"
#include "glgraphics/glgraphics.h"

namespace corvex {

/// One image frame as one 2D texture of power-of-two size.
class TGLImageFrame : public TImageFrame {
public:
    /// Deletes the texture in the shared context, and in the current one too while the
    /// graphics it was made for are still open.
    ~TGLImageFrame() override;
    /// Raises "Image does not exist" when the graphics the frame was made for are gone.
    void Draw(float x0, float y0, float x1, float y1, float tx, float ty) override;

    /** @{ */
    /// Texture coordinates of the top-left corner.
    float u0 = 0, v0 = 0;
    /** @} */
    /** @{ */
    /// Texture coordinates of the bottom-right corner: image size / texture size.
    float u1 = 0, v1 = 0;
    /** @} */
    int name = 0;  ///< OpenGL texture name
    int seq = 0;   ///< GraphicsSeq when made; 0 once deleted

    /// A texture of the pixmap, padded to the size the implementation accepts (the image
    /// resampled down when it is larger), with its last column and row repeated into the
    /// padding so that filtering never reads undefined texels. Call it with the context
    /// the texture is to be made in current.
    static Ref<TGLImageFrame> CreateFromPixmap(const Ref<TPixmap>& src, int flags);
};

/// The 2D driver over the OpenGL graphics driver: contexts are 2D contexts over OpenGL
/// ones, drawn with the fixed-function pipeline.
class TGLDraw2DDriver : public TDraw2DDriver {
public:
    /// The driver's name.
    String ToString() const override;

    /** @{ */
    /// As the OpenGL graphics driver's, each context wrapped in a 2D context.
    GraphicsModeList GraphicsModes() override;
    Ref<TGraphics> AttachGraphics(GraphicsWidget widget, int flags) override;
    Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) override;
    /** @} */
    /// Null clears the current 2D context; anything but a 2D context over an OpenGL
    /// context raises "Assert failed". Otherwise the context is made current, its OpenGL
    /// state is reset and its whole 2D state replayed.
    void SetGraphics(Ref<TGraphics> g) override;
    void Flip(int sync) override;

    Ref<TImageFrame> CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) override;
    void SetBlend(int blend) override;
    /** @{ */
    /// Colours are clamped to 0..255 and alpha to 0..1.
    void SetAlpha(float alpha) override;
    void SetColor(int red, int green, int blue) override;
    void SetClsColor(int red, int green, int blue) override;
    /** @} */
    /// A viewport covering the whole context turns clipping off.
    void SetViewport(int x, int y, int width, int height) override;
    void SetTransform(float ix, float iy, float jx, float jy) override;
    void SetLineWidth(float width) override;
    void Cls() override;
    void Plot(float x, float y) override;
    void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override;
    /// Fewer than three points, or an odd count of values, draws nothing.
    void DrawPoly(const Array<float>& xy, float handle_x, float handle_y, float origin_x, float origin_y) override;
    /** @{ */
    /// Neither transform, colour nor blend mode apply.
    void DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) override;
    Ref<TPixmap> GrabPixmap(int x, int y, int width, int height) override;
    /** @} */

    /// A pixel projection of g (origin top-left, y down) over its whole area, texturing
    /// off, and the state cache emptied so that the next state changes reach OpenGL.
    void ResetGLContext(const Ref<TGraphics>& g);
};

/// The one OpenGL 2D driver of the program.
Ref<TGLDraw2DDriver> GLDraw2DDriver();

/// The module record of gldraw2d (see InitModule).
extern Module gldraw2d_module;

}  // namespace corvex
