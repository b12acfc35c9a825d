// The OpenGL driver on a real X server (Xvfb): helpers to look at our windows from the
// outside.
#pragma once

#include <gtest/gtest.h>

#include <GL/glx.h>
#include <X11/Xlib.h>

#include "glgraphics/glgraphics.h"
#include "x11/x11.h"

namespace corvex::testing {

class GLXTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitModule(glgraphics_module);
        EndGraphics();
        SetGraphicsDriver(GLGraphicsDriver(), GRAPHICS_BACKBUFFER);
        display = X11Display();
        ASSERT_TRUE(display) << "needs an X display (run under scripts/with-xvfb.sh)";
    }
    void TearDown() override {
        EndGraphics();
        SetGraphics(nullptr);
    }

    // The window the current context draws in.
    static Window CurrentWindow() { return glXGetCurrentDrawable(); }

    bool WindowExists(Window window) {
        XSync(display, False);
        auto previous = XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        XWindowAttributes attributes;
        const Status ok = XGetWindowAttributes(display, window, &attributes);
        XSync(display, False);
        XSetErrorHandler(previous);
        return ok != 0;
    }

    // The top-left corner of the window's client area on the screen.
    void ScreenPosition(Window window, int& x, int& y) {
        Window child;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &x, &y, &child);
    }

    Display* display = nullptr;
};

}  // namespace corvex::testing
