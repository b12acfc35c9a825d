#include <string>

#include "system/system.h"  // before the X headers, whose CurrentTime is a macro
#include "glgraphics/x11_fixture.h"
#include "support/x11_close_box.h"
#include "polledinput/polledinput.h"
#include "runtime/startup.h"

#include <X11/Xutil.h>

using namespace corvex;
using namespace corvex::testing;

namespace {

std::string Property(Display* display, Window window, const char* name) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1024, False, AnyPropertyType, &type,
                       &format, &count, &after, &data);
    std::string text(reinterpret_cast<char*>(data), data ? count : 0);
    if (data) XFree(data);
    return text;
}

// A context of a driver that is not the OpenGL one.
class ForeignGraphics : public TGraphics {
public:
    Ref<TGraphicsDriver> Driver() override { return nullptr; }
    void GetSettings(int&, int&, int&, int&, int&) override {}
    void Close() override {}
};

// A window of the caller's own, with a visual that can carry OpenGL.
Window CallersWindow(Display* display, Colormap& colormap) {
    int request[] = {GLX_RGBA, GLX_DOUBLEBUFFER, None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), request);
    XSetWindowAttributes attributes{};
    attributes.colormap = colormap = XCreateColormap(display, DefaultRootWindow(display), visual->visual, AllocNone);
    const Window window = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 150, 90, 0, visual->depth,
                                        InputOutput, visual->visual, CWColormap, &attributes);
    XFree(visual);
    return window;
}

}  // namespace

TEST_F(GLXTest, AWindowedContextHasTheRequestedClientAreaAt32_32) {
    ApplicationTitle = String(u"Meadow \u00e9t\u00e9");
    Ref<TGraphics> g = Graphics(1024, 768, 0, 60, 0);
    ASSERT_TRUE(g);
    EXPECT_EQ(1024, GraphicsWidth());
    EXPECT_EQ(768, GraphicsHeight());
    EXPECT_EQ(0, GraphicsDepth());
    EXPECT_EQ(60, GraphicsHertz());
    EXPECT_EQ(GRAPHICS_BACKBUFFER, GraphicsFlags());

    const Window window = CurrentWindow();
    ASSERT_NE(0u, window);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    EXPECT_EQ(1024, attributes.width);
    EXPECT_EQ(768, attributes.height);
    EXPECT_EQ(IsViewable, attributes.map_state);
    int x = 0, y = 0;
    ScreenPosition(window, x, y);
    EXPECT_EQ(32, x);
    EXPECT_EQ(32, y);

    EXPECT_EQ("Meadow \xc3\xa9t\xc3\xa9", Property(display, window, "_NET_WM_NAME"));
    EXPECT_EQ("Meadow \xe9t\xe9", Property(display, window, "WM_NAME"));
    XClassHint hint;
    ASSERT_TRUE(XGetClassHint(display, window, &hint));
    EXPECT_STREQ("Corvex GLGraphics", hint.res_class);
    XFree(hint.res_name);
    XFree(hint.res_class);
    XSizeHints hints;
    long supplied;
    XGetWMNormalHints(display, window, &hints, &supplied);
    EXPECT_EQ(1024, hints.min_width) << "no resizing";
    EXPECT_EQ(1024, hints.max_width);
    EXPECT_EQ(768, hints.max_height);
}

TEST_F(GLXTest, SizesThatCannotBeRenderedOrPresentedYieldNull) {
    ASSERT_TRUE(Graphics(64, 64, 0, 0, 0));
    GLint viewport[2];
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    EndGraphics();
    struct Size {
        int width, height, depth;
    };
    const Size refused[] = {{0, 100, 0},       {100, -1, 0},      {65536, 100, 0},         {100, 32768, 0},
                            {32767, 32767, 0}, {23170, 23170, 0}, {viewport[0] + 1, 1, 0}, {1, viewport[1] + 1, 0},
                            {65536, 100, 32}};
    for (const Size& size : refused) {
        EXPECT_FALSE(CreateGraphics(size.width, size.height, size.depth, 0, 0)) << size.width << " x " << size.height;
    }
    Ref<TGraphics> widest = CreateGraphics(viewport[0], 1, 0, 0, 0);
    ASSERT_TRUE(widest);
    int w, h, d, hz, f;
    widest->GetSettings(w, h, d, hz, f);
    EXPECT_EQ(viewport[0], w);
    widest->Close();
}

TEST_F(GLXTest, TheCloseBoxAsksToEndAndLeavesTheWindowOpen) {
    ASSERT_TRUE(Graphics(320, 240, 0, 60, 0));
    const Window window = CurrentWindow();
    corvex::testing::PressCloseBox(display, window);
    XSync(display, False);
    EXPECT_EQ(1, AppTerminate());
    EXPECT_TRUE(WindowExists(window));
}

TEST_F(GLXTest, ClosingTwiceClosesOnceAndLeavesOtherContextsAlone) {
    Ref<TGraphics> first = CreateGraphics(200, 100, 0, 0, 0);
    Ref<TGraphics> second = CreateGraphics(300, 100, 0, 0, 0);
    ASSERT_TRUE(first && second);
    SetGraphics(first);
    const Window firstWindow = CurrentWindow();
    SetGraphics(second);
    const Window secondWindow = CurrentWindow();

    first->Close();
    EXPECT_FALSE(WindowExists(firstWindow));
    first->Close();
    EXPECT_TRUE(WindowExists(secondWindow));
    EXPECT_EQ(secondWindow, CurrentWindow());
    EXPECT_THROW(first->Driver(), TRuntimeException) << "a closed context asserts";

    CloseGraphics(second);
    EXPECT_EQ(nullptr, glXGetCurrentContext());
    EXPECT_FALSE(WindowExists(secondWindow));
}

TEST_F(GLXTest, AContextOfAnotherDriverMakesNoOpenGLContextCurrent) {
    Ref<TGraphics> g = CreateGraphics(64, 64, 0, 0, 0);
    SetGraphics(g);
    ASSERT_NE(nullptr, glXGetCurrentContext());
    GLGraphicsDriver()->SetGraphics(New<ForeignGraphics>());
    EXPECT_EQ(nullptr, glXGetCurrentContext());
    CloseGraphics(g);
}

TEST_F(GLXTest, AnAttachedContextFollowsTheSizeOfTheCallersWindow) {
    Colormap colormap;
    const Window window = CallersWindow(display, colormap);
    Ref<TGraphics> g = AttachGraphics(window, 0);
    ASSERT_TRUE(g);
    int w, h, d, hz, f;
    g->GetSettings(w, h, d, hz, f);
    EXPECT_EQ(150, w);
    EXPECT_EQ(90, h);
    EXPECT_EQ(0, d);
    EXPECT_EQ(0, hz);
    EXPECT_EQ(GRAPHICS_BACKBUFFER, f);
    XResizeWindow(display, window, 170, 95);
    XSync(display, False);
    g->GetSettings(w, h, d, hz, f);
    EXPECT_EQ(170, w);
    EXPECT_EQ(95, h);

    g->Close();
    EXPECT_TRUE(WindowExists(window)) << "the caller's window stays";
    XDestroyWindow(display, window);
    XFreeColormap(display, colormap);
    EXPECT_FALSE(AttachGraphics(0x7ffffff, 0)) << "no such window";
}

TEST_F(GLXTest, AContextWhoseWindowIsGoneReadsZeroAndPresentsNothing) {
    Colormap colormap;
    const Window callers = CallersWindow(display, colormap);
    Display* other = XOpenDisplay(nullptr);
    struct Case {
        const char* what;
        Ref<TGraphics> g;
        Display* destroyer;
    };
    for (const Case& c : {Case{"the caller destroys the window it attached to", AttachGraphics(callers, 0), display},
                          Case{"another client destroys our window", CreateGraphics(200, 100, 0, 0, 0), other}}) {
        ASSERT_TRUE(c.g) << c.what;
        SetGraphics(c.g);
        XDestroyWindow(c.destroyer, CurrentWindow());
        XSync(c.destroyer, False);
        for (int i = 0; i < 2; ++i) {
            Flip(0);
            PollSystem();
        }
        int settings[5] = {-1, -1, -1, -1, -1};
        c.g->GetSettings(settings[0], settings[1], settings[2], settings[3], settings[4]);
        for (int value : settings) EXPECT_EQ(0, value) << c.what;
        CloseGraphics(c.g);
    }
    XCloseDisplay(other);
    XFreeColormap(display, colormap);
}

TEST_F(GLXTest, AnInputOnlyWindowHasNothingToAttachTo) {
    const Window window = XCreateWindow(display, DefaultRootWindow(display), 0, 0, 150, 90, 0, 0, InputOnly,
                                        CopyFromParent, 0, nullptr);
    EXPECT_FALSE(AttachGraphics(window, 0)) << "drawing into it would end the program with an X error";
    XDestroyWindow(display, window);
}
