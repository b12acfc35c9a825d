#include <gtest/gtest.h>

#include "system/system.h"  // before the X headers, whose CurrentTime is a macro
#include "event/event.h"
#include "hook/hook.h"
#include "glgraphics/x11_fixture.h"

#include <X11/Xatom.h>
#include <X11/extensions/Xrandr.h>

using namespace corvex;
using namespace corvex::testing;

namespace {

// The screen's current size index and rate.
struct ScreenMode {
    int size;
    int rate;
    bool operator==(const ScreenMode&) const = default;
};

// The first atom of a window property (None when it is missing).
Atom AtomProperty(Display* display, Window window, const char* name) {
    Atom type, value = None;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    XGetWindowProperty(display, window, XInternAtom(display, name, False), 0, 1, False, XA_ATOM, &type, &format, &count,
                       &after, &data);
    if (data && count) value = *reinterpret_cast<Atom*>(data);
    if (data) XFree(data);
    return value;
}

ScreenMode CurrentScreenMode(Display* display) {
    XRRScreenConfiguration* config = XRRGetScreenInfo(display, DefaultRootWindow(display));
    Rotation rotation;
    ScreenMode mode{XRRConfigCurrentConfiguration(config, &rotation), XRRConfigCurrentRate(config)};
    XRRFreeScreenConfigInfo(config);
    return mode;
}

// Counts the minimise requests for window that reach a second client watching the root.
class MinimiseWatch {
public:
    explicit MinimiseWatch(Window window) : display_(XOpenDisplay(nullptr)), window_(window) {
        XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
        XSync(display_, False);
    }
    ~MinimiseWatch() { XCloseDisplay(display_); }
    int Requests() {
        XSync(display_, False);
        const Atom changeState = XInternAtom(display_, "WM_CHANGE_STATE", False);
        XEvent event;
        while (XCheckTypedEvent(display_, ClientMessage, &event)) {
            if (event.xclient.window == window_ && event.xclient.message_type == changeState &&
                event.xclient.data.l[0] == IconicState)
                ++requests_;
        }
        return requests_;
    }

private:
    Display* display_;
    Window window_;
    int requests_ = 0;
};

}  // namespace

TEST_F(GLXTest, TheModeListHoldsTheScreenSizeAndNothingUnder16Bits) {
    const int width = DisplayWidth(display, DefaultScreen(display));
    const int height = DisplayHeight(display, DefaultScreen(display));
    EXPECT_EQ(1, GraphicsModeExists(0, 0, 0, 0));
    EXPECT_EQ(1, GraphicsModeExists(width, height, 0, 0));
    EXPECT_LE(CountGraphicsModes(), 1024);
    for (const Ref<TGraphicsMode>& mode : GraphicsModes()) EXPECT_GE(mode->depth, 16) << mode->ToString().ToUtf8();
}

TEST_F(GLXTest, AFullScreenContextOfTheScreensOwnSizeCoversItAndRestoresOnClose) {
    int width, height, depth, hertz;
    GetGraphicsMode(0, width, height, depth, hertz);
    const ScreenMode desktop = CurrentScreenMode(display);

    ASSERT_TRUE(Graphics(width, height, depth, 0, 0));
    EXPECT_EQ(depth, GraphicsDepth());
    const Window window = CurrentWindow();
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    EXPECT_EQ(width, attributes.width);
    EXPECT_EQ(height, attributes.height);
    EXPECT_EQ(XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False), AtomProperty(display, window, "_NET_WM_STATE"));
    int x = -1, y = -1;
    ScreenPosition(window, x, y);
    EXPECT_EQ(0, x);
    EXPECT_EQ(0, y);
    Window focus;
    int revert;
    XGetInputFocus(display, &focus, &revert);
    EXPECT_EQ(window, focus) << "showing gives the focus";

    EndGraphics();
    EXPECT_FALSE(WindowExists(window));
    EXPECT_TRUE(desktop == CurrentScreenMode(display));
}

TEST_F(GLXTest, ARefusedRateFallsBackToTheSizeAlone) {
    int width, height, depth, hertz;
    GetGraphicsMode(0, width, height, depth, hertz);
    const int refused = hertz == 59 ? 61 : 59;
    ASSERT_EQ(0, GraphicsModeExists(width, height, depth, refused));
    Ref<TGraphics> g = CreateGraphics(width, height, depth, refused, 0);
    ASSERT_TRUE(g) << "the size alone can be set";
    CloseGraphics(g);
}

TEST_F(GLXTest, AFullScreenSizeTheDisplayLacksYieldsNullAndLeavesNoWindow) {
    int width, height, depth, hertz;
    GetGraphicsMode(0, width, height, depth, hertz);
    ASSERT_EQ(0, GraphicsModeExists(width - 1, height, 0, 0));
    EXPECT_FALSE(Graphics(width - 1, height, depth, 0, 0));
    EXPECT_FALSE(Graphics(width, height, 8, 0, 0)) << "a depth the screen does not have";
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        XGetWindowAttributes(display, children[i], &attributes);
        EXPECT_FALSE(attributes.map_state == IsViewable && attributes.width == width - 1);
    }
    if (children) XFree(children);
}

TEST_F(GLXTest, AFullScreenWindowGivesTheModeBackAndMinimisesWhenItLosesTheFocus) {
    int width, height, depth, hertz;
    GetGraphicsMode(0, width, height, depth, hertz);
    ASSERT_TRUE(Graphics(width, height, depth, 0, 0));
    const Window fullScreen = CurrentWindow();
    MinimiseWatch watch(fullScreen);
    const Window other = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(display, other);
    XSync(display, False);
    auto moveFocus = [&](Window to) {
        XSetInputFocus(display, to, RevertToParent, CurrentTime);
        XSync(display, False);
        PollSystem();
        // The server has handled the minimise request before the watch looks for it.
        XSync(display, False);
    };

    moveFocus(other);
    EXPECT_EQ(1, watch.Requests());
    moveFocus(other);
    EXPECT_EQ(1, watch.Requests()) << "the mode was already given back";
    moveFocus(fullScreen);
    moveFocus(other);
    EXPECT_EQ(2, watch.Requests()) << "the focus coming back switched the mode again";
    XDestroyWindow(display, other);
}

TEST_F(GLXTest, AHookThatThrowsLeavesTheWindowsOwnHandlingOfTheEventDone) {
    int width, height, depth, hertz;
    GetGraphicsMode(0, width, height, depth, hertz);
    ASSERT_TRUE(Graphics(width, height, depth, 0, 0));
    MinimiseWatch watch(CurrentWindow());
    const Window other = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
    XMapWindow(display, other);
    auto throwOnSuspend = [](int, Ref<Object> data, Ref<Object>) -> Ref<Object> {
        if (Cast<TEvent>(data)->id == EVENT_APPSUSPEND) RaiseRuntimeError("hook broke");
        return data;
    };
    AddHook(EmitEventHook, throwOnSuspend, nullptr, 1);
    XSetInputFocus(display, other, RevertToParent, CurrentTime);
    XSync(display, False);
    EXPECT_THROW(PollSystem(), TRuntimeException) << "the exception still reaches the caller";
    RemoveHook(EmitEventHook, throwOnSuspend, nullptr);
    XSync(display, False);
    EXPECT_EQ(1, watch.Requests()) << "the mode was given back and the window minimised";
    XDestroyWindow(display, other);
}
