/// @file
/// The 2D driver of the headless platform: it draws nothing and writes one line of text
/// per call it receives to a trace file, so a run without a display can be checked
/// against what it asked to draw.
///
/// Contexts, modes and presentation go to the OpenGL graphics driver, whose headless
/// contexts have no window; presenting advances the virtual clock as there. The module's
/// start-up makes this the current graphics driver, in place of the OpenGL 2D driver.
///
/// The trace has one line per call, numbers in decimal (floats as "%.9g") exactly as
/// the driver receives them:
///
/// @code{.unparsed}
///   frame ID W H FLAGS            CreateFrameFromPixmap made frame ID (1, 2, ... per process)
///   blend B | alpha A | color R G B | clscolor R G B | linewidth W
///   viewport X Y W H | transform IX IY JX JY | cls | plot X Y
///   rect|line|oval X0 Y0 X1 Y1 TX TY
///   poly N X0 Y0 ... HX HY OX OY  N: how many values the xy array holds
///   pixmap W H X Y                DrawPixmap: the pixmap's size and position
///   grab X Y W H                  GrabPixmap: a new W x H PF_RGBA8888 pixmap of zeros
///   draw ID X0 Y0 X1 Y1 TX TY     frame ID drawn
///   flip SYNC MS                  presented; MS is the virtual clock afterwards
/// @endcode
///
/// Context creation and selection write nothing. The file is flushed at each flip.
#pragma once

#include "draw2d/draw2d.h"
#include "runtime/module.h"

namespace corvex {

/// A frame of the recording driver: its number in the trace and the GraphicsSeq it
/// belongs to. Drawing it under another GraphicsSeq raises "Image does not exist".
class TRecordingImageFrame : public TImageFrame {
public:
    /// Frame frame_id made under GraphicsSeq frame_seq.
    TRecordingImageFrame(int frame_id, int frame_seq) : id(frame_id), seq(frame_seq) {}
    /// Writes a draw line.
    void Draw(float x0, float y0, float x1, float y1, float tx, float ty) override;

    int id;   ///< the frame's number in the trace
    int seq;  ///< the GraphicsSeq it was made under
};

/// The recording 2D driver: every call below writes its trace line and draws nothing.
class TRecordingDraw2DDriver : public TDraw2DDriver {
public:
    String ToString() const override { return "Recording"; }

    GraphicsModeList GraphicsModes() override;
    Ref<TGraphics> AttachGraphics(GraphicsWidget widget, int flags) override;
    Ref<TGraphics> CreateGraphics(int width, int height, int depth, int hertz, int flags) override;
    /// g must be a 2D context of this driver over an OpenGL context ("Assert failed"
    /// otherwise); Null clears the current 2D context.
    void SetGraphics(Ref<TGraphics> g) override;
    void Flip(int sync) override;

    Ref<TImageFrame> CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) override;
    void SetBlend(int blend) override;
    void SetAlpha(float alpha) override;
    void SetColor(int red, int green, int blue) override;
    void SetClsColor(int red, int green, int blue) override;
    void SetViewport(int x, int y, int width, int height) override;
    void SetTransform(float ix, float iy, float jx, float jy) override;
    void SetLineWidth(float width) override;
    void Cls() override;
    void Plot(float x, float y) override;
    void DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawPoly(const Array<float>& xy, float handle_x, float handle_y, float origin_x, float origin_y) override;
    void DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) override;
    /// Null for a width or height below 1.
    Ref<TPixmap> GrabPixmap(int x, int y, int width, int height) override;
};

/// The one recording driver of the process.
Ref<TRecordingDraw2DDriver> RecordingDraw2DDriver();

/// Writes the trace to the file at path from now on (truncating it), closing the
/// previous one; an empty path writes none. Until it is called, the trace goes to the
/// file named by the environment variable CORVEX_DRAW_TRACE, read when the module starts
/// (a relative path is taken from the launch directory), or nowhere. Raises a runtime
/// error when the file cannot be opened.
void SetDrawTrace(const String& path);

/// Ends the program with status 0 (EndProgram) right after the count-th presentation,
/// counted from the program's start, once its flip line is written; 0 never ends it.
/// Until it is called, the count is the environment variable CORVEX_DRAW_TRACE_FLIPS,
/// read when the module starts, or 0.
void SetDrawTraceFlips(int count);

/// The module record of platformdraw2d (see InitModule).
extern Module platformdraw2d_module;

}  // namespace corvex
