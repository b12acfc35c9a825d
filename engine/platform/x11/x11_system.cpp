// The system driver of Linux desktops: the pump reads the X connection, translates the
// events of the program's windows and hands them to their window procedures, and runs
// the operations posted to the main thread.
#include <poll.h>

#include "platform/api/systemdriver.h"
#include "x11/x11.h"
#include "x11/x11_input.h"
#include "x11/x11_requesters.h"

namespace corvex {

namespace {

void Dispatch(XEvent& event) {
    X11Window* registered = X11FindWindow(event.xany.window);
    if (!registered) return;
    if (event.type == ConfigureNotify) {
        registered->width = event.xconfigure.width;
        registered->height = event.xconfigure.height;
    }
    // A copy: hooks run by the translation may register or unregister windows.
    X11Window w = *registered;
    try {
        X11TranslateEvent(event, w);
    } catch (...) {
        // The window's own handling of the event happens whatever a hook did.
        if (w.proc) w.proc(event, w.user);
        throw;
    }
    if (w.proc) w.proc(event, w.user);
}

class TX11SystemDriver : public TSystemDriver {
public:
    void Poll() override {
        if (Display* display = X11Display()) {
            while (XPending(display)) {
                XEvent event;
                XNextEvent(display, &event);
                Dispatch(event);
            }
        }
        RunMainThreadOps();
    }

    void Wait() override {
        Display* display = X11Display();
        // Events already read into Xlib's queue leave the socket quiet, so ask it first.
        if (!display || !XPending(display)) {
            pollfd fds[2] = {{MainThreadWakeFd(), POLLIN, 0}, {display ? ConnectionNumber(display) : -1, POLLIN, 0}};
            poll(fds, display ? 2 : 1, -1);
        }
        Poll();
    }

    void MoveMouse(int x, int y) override {
        Display* display = X11Display();
        if (!display) return;
        Window focus;
        int revert;
        XGetInputFocus(display, &focus, &revert);
        Window relativeTo = X11FindWindow(focus) ? focus : DefaultRootWindow(display);
        XWarpPointer(display, None, relativeTo, 0, 0, 0, 0, x, y);
        XFlush(display);
    }

    void SetMouseVisible(int visible) override { X11SetPointerVisible(visible); }
    void Notify(const String& text, int serious) override { DesktopNotify(text, serious); }
    int Confirm(const String& text, int serious) override { return DesktopConfirm(text, serious); }
    int Proceed(const String& text, int serious) override { return DesktopProceed(text, serious); }
    String RequestFile(const String& text, const String& exts, int save, const String& path) override {
        return DesktopRequestFile(text, exts, save, path);
    }
    String RequestDir(const String& text, const String& path) override { return DesktopRequestDir(text, path); }
    int OpenURL(const String& url) override { return DesktopOpenURL(url); }
};

}  // namespace

Ref<TSystemDriver> CreatePlatformSystemDriver() { return New<TX11SystemDriver>(); }

}  // namespace corvex
