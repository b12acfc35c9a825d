#include "headless/draw2d/recording.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "glgraphics/glgraphics.h"
#include "graphics/graphics.h"
#include "pixmap/pixmap.h"
#include "platform/api/clock.h"
#include "runtime/exception.h"
#include "runtime/startup.h"

namespace corvex {

namespace {

Ref<TRecordingDraw2DDriver> _recordingDriver;
std::FILE* _trace = nullptr;
int _framesMade = 0;
int _flips = 0;
int _flipLimit = 0;

// One line of the trace; nothing when no trace is open.
[[gnu::format(printf, 1, 2)]] void Trace(const char* format, ...) {
    if (!_trace) return;
    std::va_list args;
    va_start(args, format);
    std::vfprintf(_trace, format, args);
    va_end(args);
    std::fputc('\n', _trace);
}

// The six coordinates of a shape or frame drawn at a translation.
void TraceShape(const char* what, float x0, float y0, float x1, float y1, float tx, float ty) {
    Trace("%s %.9g %.9g %.9g %.9g %.9g %.9g", what, x0, y0, x1, y1, tx, ty);
}

}  // namespace

void TRecordingImageFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty) {
    if (seq != GraphicsSeq) RaiseRuntimeError("Image does not exist");
    Trace("draw %d %.9g %.9g %.9g %.9g %.9g %.9g", id, x0, y0, x1, y1, tx, ty);
}

GraphicsModeList TRecordingDraw2DDriver::GraphicsModes() { return GLGraphicsDriver()->GraphicsModes(); }

Ref<TGraphics> TRecordingDraw2DDriver::AttachGraphics(GraphicsWidget widget, int flags) {
    return TDraw2DGraphics::Create(GLGraphicsDriver()->AttachGraphics(widget, flags), this);
}

Ref<TGraphics> TRecordingDraw2DDriver::CreateGraphics(int width, int height, int depth, int hertz, int flags) {
    return TDraw2DGraphics::Create(GLGraphicsDriver()->CreateGraphics(width, height, depth, hertz, flags), this);
}

void TRecordingDraw2DDriver::SetGraphics(Ref<TGraphics> g) {
    if (!g) {
        TDraw2DGraphics::ClearCurrent();
        GLGraphicsDriver()->SetGraphics(nullptr);
        return;
    }
    Ref<TDraw2DGraphics> context = Cast<TDraw2DGraphics>(g);
    if (!context || !Cast<TGLGraphics>(context->_graphics)) RaiseRuntimeError("Assert failed");
    GLGraphicsDriver()->SetGraphics(context->_graphics);
    context->MakeCurrent();
}

void TRecordingDraw2DDriver::Flip(int sync) {
    GLGraphicsDriver()->Flip(sync);
    Trace("flip %d %d", sync, PlatformMilliSecs());
    if (_trace) std::fflush(_trace);
    if (++_flips == _flipLimit) EndProgram();
}

Ref<TImageFrame> TRecordingDraw2DDriver::CreateFrameFromPixmap(const Ref<TPixmap>& pixmap, int flags) {
    Ref<TRecordingImageFrame> frame = New<TRecordingImageFrame>(++_framesMade, GraphicsSeq);
    Trace("frame %d %d %d %d", frame->id, pixmap->width, pixmap->height, flags);
    return frame;
}

void TRecordingDraw2DDriver::SetBlend(int blend) { Trace("blend %d", blend); }

void TRecordingDraw2DDriver::SetAlpha(float alpha) { Trace("alpha %.9g", alpha); }

void TRecordingDraw2DDriver::SetColor(int red, int green, int blue) { Trace("color %d %d %d", red, green, blue); }

void TRecordingDraw2DDriver::SetClsColor(int red, int green, int blue) { Trace("clscolor %d %d %d", red, green, blue); }

void TRecordingDraw2DDriver::SetViewport(int x, int y, int width, int height) {
    Trace("viewport %d %d %d %d", x, y, width, height);
}

void TRecordingDraw2DDriver::SetTransform(float ix, float iy, float jx, float jy) {
    Trace("transform %.9g %.9g %.9g %.9g", ix, iy, jx, jy);
}

void TRecordingDraw2DDriver::SetLineWidth(float width) { Trace("linewidth %.9g", width); }

void TRecordingDraw2DDriver::Cls() { Trace("cls"); }

void TRecordingDraw2DDriver::Plot(float x, float y) { Trace("plot %.9g %.9g", x, y); }

void TRecordingDraw2DDriver::DrawLine(float x0, float y0, float x1, float y1, float tx, float ty) {
    TraceShape("line", x0, y0, x1, y1, tx, ty);
}

void TRecordingDraw2DDriver::DrawRect(float x0, float y0, float x1, float y1, float tx, float ty) {
    TraceShape("rect", x0, y0, x1, y1, tx, ty);
}

void TRecordingDraw2DDriver::DrawOval(float x0, float y0, float x1, float y1, float tx, float ty) {
    TraceShape("oval", x0, y0, x1, y1, tx, ty);
}

void TRecordingDraw2DDriver::DrawPoly(const Array<float>& xy, float handle_x, float handle_y, float origin_x,
                                      float origin_y) {
    if (!_trace) return;
    std::fprintf(_trace, "poly %d", xy.Length());
    for (float v : xy) std::fprintf(_trace, " %.9g", v);
    Trace(" %.9g %.9g %.9g %.9g", handle_x, handle_y, origin_x, origin_y);
}

void TRecordingDraw2DDriver::DrawPixmap(const Ref<TPixmap>& pixmap, int x, int y) {
    Trace("pixmap %d %d %d %d", pixmap->width, pixmap->height, x, y);
}

Ref<TPixmap> TRecordingDraw2DDriver::GrabPixmap(int x, int y, int width, int height) {
    Trace("grab %d %d %d %d", x, y, width, height);
    if (width <= 0 || height <= 0) return nullptr;
    Ref<TPixmap> pixmap = CreatePixmap(width, height, PF_RGBA8888);
    pixmap->ClearPixels(0);
    return pixmap;
}

Ref<TRecordingDraw2DDriver> RecordingDraw2DDriver() {
    if (!_recordingDriver) _recordingDriver = New<TRecordingDraw2DDriver>();
    return _recordingDriver;
}

void SetDrawTraceFlips(int count) { _flipLimit = count; }

void SetDrawTrace(const String& path) {
    if (_trace) std::fclose(_trace);
    _trace = nullptr;
    if (path.IsEmpty()) return;
    _trace = std::fopen(path.ToUtf8().c_str(), "w");
    if (!_trace) RaiseRuntimeError("Unable to open draw trace " + path);
}

CORVEX_MODULE(platformdraw2d, &runtime_module, &graphics_module, &glgraphics_module, &draw2d_module) {
    if (const char* path = std::getenv("CORVEX_DRAW_TRACE"); path && *path) {
        const String name(path);
        SetDrawTrace(name.StartsWith("/") || LaunchDirectory.IsEmpty() ? name : LaunchDirectory + "/" + name);
    }
    if (const char* count = std::getenv("CORVEX_DRAW_TRACE_FLIPS")) SetDrawTraceFlips(std::atoi(count));
    SetGraphicsDriver(RecordingDraw2DDriver(), GRAPHICS_BACKBUFFER);
}

}  // namespace corvex
