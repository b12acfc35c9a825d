// The connection to the X server and the registry of the program's windows.
#include <X11/XKBlib.h>

#include <vector>

#include "runtime/startup.h"
#include "x11/x11.h"
#include "x11/x11_input.h"

namespace corvex {

namespace {

// The events the translation needs on every program window, added to those the
// window's creator selected.
constexpr long kInputMask = KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                            EnterWindowMask | LeaveWindowMask | FocusChangeMask | StructureNotifyMask;

Display* _display = nullptr;
bool _displayTried = false;
std::vector<X11Window> _windows;
X11ErrorListener _errorListener = nullptr;
bool _connectionLost = false;

int OnError(Display*, XErrorEvent* event) {
    if (_errorListener) _errorListener(*event);
    return 0;
}

// The first loss ends the program; Xlib calls this again for every request the end
// handlers make on the dead connection, and those requests are then ignored.
int OnConnectionLost(Display*) {
    if (_connectionLost) return 0;
    _connectionLost = true;
    ReportUncaught(TRuntimeException("Lost the connection to the X display"));
}

// Without this, Xlib would end the process itself once the handler above returns.
void KeepRunning(Display*, void*) {}

}  // namespace

Display* X11Display() {
    if (!_displayTried) {
        _displayTried = true;
        XSetErrorHandler(OnError);
        XSetIOErrorHandler(OnConnectionLost);
        _display = XOpenDisplay(nullptr);
        if (_display) XSetIOErrorExitHandler(_display, KeepRunning, nullptr);
        // Held keys then repeat as presses only, without the release in between.
        if (_display) XkbSetDetectableAutoRepeat(_display, True, nullptr);
    }
    return _display;
}

void X11SetErrorListener(X11ErrorListener listener) { _errorListener = listener; }

void X11RegisterWindow(Window window, Ref<Object> source, X11WindowProc proc, void* user) {
    Display* display = X11Display();
    if (!display) return;
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    XSelectInput(display, window, attributes.your_event_mask | kInputMask);
    // The close box then asks us instead of destroying the window.
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    _windows.push_back({window, std::move(source), proc, user, attributes.width, attributes.height});
    X11ApplyPointer();
}

void X11UnregisterWindow(Window window) {
    std::erase_if(_windows, [window](const X11Window& w) { return w.window == window; });
    X11ForgetWindow(window);
}

X11Window* X11FindWindow(Window window) {
    for (auto& w : _windows) {
        if (w.window == window) return &w;
    }
    return nullptr;
}

const std::vector<X11Window>& X11Windows() { return _windows; }

}  // namespace corvex
