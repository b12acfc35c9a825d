// The drawing state and the drawing functions, read from what reaches the driver.
#include <functional>

#include "draw2d/draw2d.h"
#include "draw2d/recorded.h"
#include "glgraphics/glgraphics.h"

namespace corvex {
namespace {

using RecordedStateTest = RecordedTest;

TEST_F(RecordedStateTest, HandleOriginRotationAndScaleReachTheDriver) {
    struct Case {
        const char* what;
        std::function<void()> draw;
        std::vector<std::string> expected;
    } cases[] =
        {
            {"handle", [] { DrawRect(100, 100, 10, 10); }, {"rect 0 0 10 10 100 100"}},
            {"handle 5, 7",
             [] {
        SetHandle(5, 7);
        DrawRect(100, 100, 10, 10);
             },
             {"rect -5 -7 5 3 100 100"}},
            {"rotation", [] { SetRotation(90); }, {"transform 0 -1 1 0"}},
            {"scale", [] { SetScale(2, 3); }, {"transform 2 0 0 3"}},
            {"line alone", [] { DrawLine(0, 0, 10, 0, 0); }, {"line 0 0 10 0 0 0"}},
            {"last pixel turned",
             [] {
        SetRotation(90);
        DrawLine(5, 5, 15, 5, 1);
             },
             {"transform 0 -1 1 0", "line 0 0 10 0 5 5", "plot 5 15"}},
      {"last pixel from the handle, scaled",
       [] {
        SetHandle(1, 0);
        SetScale(2, 2);
        DrawLine(0, 0, 10, 0);
       },
       {"transform 2 0 0 2", "line -1 0 9 0 0 0", "plot 18 0"}},
        {"origin, not scaled",
         [] {
        SetOrigin(10, 20);
        SetScale(2, 2);
        DrawRect(1, 2, 3, 4);
        Plot(1, 2);
        DrawOval(0, 0, 4, 4);
        DrawPoly(Array<float>{1, 2, 3, 4, 5, 6});
        DrawPixmap(CreatePixmap(4, 3, PF_RGBA8888), 1, 2);
         },
         {"transform 2 0 0 2", "rect 0 0 3 4 11 22", "plot 11 22", "oval 0 0 4 4 10 20", "poly 6 1 2 3 4 5 6 0 0 10 20",
          "pixmap 4 3 1 2"}},
        };
    Drawn();
    for (const Case& c : cases) {
        c.draw();
        EXPECT_EQ(Drawn(), TraceLines(c.expected)) << c.what;
        SetHandle(0, 0);
        SetOrigin(0, 0);
        SetTransform();
        Drawn();
    }
    SetHandle(5, 7);
    float x, y;
    GetHandle(x, y);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 7);
}

TEST_F(RecordedStateTest, NewContextsStartClearedAndLaterSelectionsOnlyReplay) {
    Ref<TGraphics> small = CreateGraphics(100, 50, 0, 0, 0);
    Drawn();
    SetGraphics(small);
    EXPECT_EQ(Drawn(), TraceLines({"blend 1", "color 255 255 255", "alpha 1", "clscolor 0 0 0", "linewidth 1",
                                   "transform 1 0 0 1", "transform 1 0 0 1", "viewport 0 0 100 50", "cls", "flip 0 0",
                                   "cls", "flip 0 0"}));
    int r, g, b, x, y, w, h;
    GetColor(r, g, b);
    GetViewport(x, y, w, h);
    EXPECT_EQ(std::vector<int>({GetBlend(), r, g, b, x, y, w, h}),
              std::vector<int>({MASKBLEND, 255, 255, 255, 0, 0, 100, 50}));
    GetClsColor(r, g, b);
    EXPECT_EQ(std::vector<int>({r, g, b}), std::vector<int>({0, 0, 0}));
    EXPECT_EQ(GetAlpha(), 1);
    EXPECT_EQ(GetLineWidth(), 1);

    SetColor(300, -5, 128);
    SetAlpha(1.5f);
    SetRotation(180);
    SetGraphics(g_);
    SetGraphics(small);
    Flip(1);
    const std::vector<TraceLine> replay = TraceLines({"blend 1", "color 300 -5 128", "alpha 1.5", "clscolor 0 0 0",
                                                      "linewidth 1", "transform -1 0 0 -1", "transform -1 0 0 -1",
                                                      "viewport 0 0 100 50", "flip 1 16"});
    std::vector<TraceLine> lines = Drawn();
    ASSERT_EQ(lines.size(), 11u + replay.size());
    EXPECT_EQ(lines[0], TraceLine("color 300 -5 128"));
    EXPECT_EQ(lines[10], TraceLine("viewport 0 0 320 240")) << "the first context replayed, not cleared";
    EXPECT_EQ(std::vector<TraceLine>(lines.begin() + 11, lines.end()), replay);
    CloseGraphics(small);
}

TEST_F(RecordedStateTest, WithoutACurrentContextNothingIsDrawn) {
    SetGraphics(nullptr);
    Drawn();
    Ref<TImage> image = CreateImage(4, 4);
    const std::function<void()> calls[] = {
        [] { Cls(); },
        [] { SetColor(1, 2, 3); },
        [] { SetRotation(10); },
        [] { DrawRect(0, 0, 1, 1); },
        [] { DrawLine(0, 0, 1, 1); },
        [] { DrawText("A", 0, 0); },
        [&] { DrawImage(image, 0, 0); },
        [] { GrabPixmap(0, 0, 1, 1); },
    };
    for (const auto& call : calls) EXPECT_THROW(call(), TNullObjectException);
    EXPECT_TRUE(Drawn().empty());
}

TEST_F(RecordedStateTest, DriverTracesFramesGrabsAndFlips) {
    EXPECT_TRUE(g_->Driver() == RecordingDraw2DDriver()) << "installed at start-up";
    Ref<TGraphics> gl = GLGraphicsDriver()->CreateGraphics(8, 8, 0, 0, 0);
    try {
        RecordingDraw2DDriver()->SetGraphics(gl);
        ADD_FAILURE() << "a context of another driver was accepted";
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.error, "Assert failed");
    }
    gl->Close();

    Ref<TImage> image = LoadImage(CreatePixmap(3, 2, PF_RGBA8888), FILTEREDIMAGE);
    Drawn();
    DrawImage(image, 7, 8);
    DrawImage(image, 7, 8);
    std::vector<TraceLine> lines = Drawn();
    ASSERT_EQ(lines.size(), 3u);
    const double id = lines[0].args.at(0);
    EXPECT_EQ(lines[0], TraceLine("frame " + std::to_string(static_cast<int>(id)) + " 3 2 2"));
    EXPECT_EQ(lines[2], TraceLine("draw " + std::to_string(static_cast<int>(id)) + " 0 0 3 2 7 8"));

    Ref<TImageFrame> stale = image->frames[0];
    EndGraphics();
    ASSERT_TRUE(Graphics(320, 240, 0, 60, 0));
    Drawn();
    DrawImage(image, 0, 0);
    EXPECT_EQ(Drawn().at(0).args.at(0), id + 1) << "a new frame for the new graphics";
    try {
        stale->Draw(0, 0, 1, 1, 0, 0);
        ADD_FAILURE() << "a stale frame was drawn";
    } catch (const TRuntimeException& e) {
        EXPECT_EQ(e.error, "Image does not exist");
    }

    Ref<TPixmap> grabbed = GrabPixmap(1, 2, 3, 4);
    ASSERT_TRUE(grabbed);
    EXPECT_EQ(std::vector<int>({grabbed->width, grabbed->height, grabbed->format}),
              std::vector<int>({3, 4, PF_RGBA8888}));
    EXPECT_EQ(grabbed->ReadPixel(2, 3), 0u);
    EXPECT_FALSE(GrabPixmap(0, 0, 0, 5));
    Flip(1);
    // Read without closing the trace: a flip leaves nothing unwritten.
    EXPECT_EQ(ReadTrace(trace_), TraceLines({"grab 1 2 3 4", "grab 0 0 0 5", "flip 1 16"}));
}

}  // namespace
}  // namespace corvex
