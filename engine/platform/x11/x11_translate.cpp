// X events of the program's windows to engine events: keys with the left/right split
// and repeats, typed characters, buttons, moves with enter/leave tracking, the wheel,
// the close box, and focus entering or leaving the program (the screen saver waits while
// the program has the focus); the pointer over our windows.
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/scrnsaver.h>

#include <algorithm>
#include <iterator>

#include "event/event.h"
#include "system/keycodes.h"
#include "x11/x11_input.h"

namespace corvex {

namespace {

int _modifiers = 0;
int _pointerVisible = 1;
Window _tracked = 0;
Ref<Object> _trackedSource;
bool _programFocused = false;
// The engine code each X key was pressed as (0: up). A press of a key already down is
// an auto-repeat; a release reports the code of its press whatever Num Lock did since.
int _keysDown[256] = {};
Cursor _invisibleCursor = 0;
Cursor _arrowCursor = 0;
bool _screenSaverSuspended = false;

void Emit(int id, const Ref<Object>& source, int data, int mods, int x, int y) {
    CreateEvent(id, source, data, mods, x, y)->Emit();
}

Cursor InvisibleCursor(Display* display) {
    if (!_invisibleCursor) {
        static const char empty[1] = {0};
        Pixmap bitmap = XCreateBitmapFromData(display, DefaultRootWindow(display), empty, 1, 1);
        XColor black{};
        _invisibleCursor = XCreatePixmapCursor(display, bitmap, bitmap, &black, &black, 0, 0);
        XFreePixmap(display, bitmap);
    }
    return _invisibleCursor;
}

// The screen saver and the monitor's power saving stay off while one of our windows has
// the focus. The server lifts the suspension itself when the connection closes.
void SuspendScreenSaver(Display* display, bool suspend) {
    if (suspend == _screenSaverSuspended) return;
    _screenSaverSuspended = suspend;
    int event, error;
    if (XScreenSaverQueryExtension(display, &event, &error)) XScreenSaverSuspend(display, suspend);
}

// Moves the tracked window to window (0: none), with a leave event for the old one at
// the pointer's position and an enter event for the new one at (x, y).
void Track(Window window, int x, int y, const Ref<Object>& source) {
    if (window == _tracked) return;
    if (_tracked) {
        Window root, child;
        int rootX, rootY, winX = 0, winY = 0;
        unsigned mask;
        XQueryPointer(X11Display(), _tracked, &root, &child, &rootX, &rootY, &winX, &winY, &mask);
        Ref<Object> left = std::move(_trackedSource);
        Emit(EVENT_MOUSELEAVE, left, 0, 0, winX, winY);
    }
    _tracked = window;
    X11ApplyPointer();
    if (_tracked) {
        _trackedSource = source;
        Emit(EVENT_MOUSEENTER, source, 0, 0, x, y);
    }
}

int ModifierBit(int code) {
    switch (code) {
        case KEY_LSHIFT:
        case KEY_RSHIFT: return MODIFIER_SHIFT;
        case KEY_LCONTROL:
        case KEY_RCONTROL: return MODIFIER_CONTROL;
        case KEY_LALT:
        case KEY_RALT: return MODIFIER_ALT;
        case KEY_LSYS:
        case KEY_RSYS: return MODIFIER_SYSTEM;
        default: return 0;
    }
}

bool AnyKeyDownWithBit(int bit) {
    return std::any_of(std::begin(_keysDown), std::end(_keysDown), [bit](int c) { return ModifierBit(c) == bit; });
}

// The modifiers after a modifier key changed: X reports the state before the event, so
// the key's own bit is applied on top (kept on release while the other side is down).
void UpdateModifiers(const XKeyEvent& event, int code) {
    int bit = ModifierBit(code);
    if (!bit) return;
    int mods = 0;
    if (event.state & ShiftMask) mods |= MODIFIER_SHIFT;
    if (event.state & ControlMask) mods |= MODIFIER_CONTROL;
    if (event.state & Mod1Mask) mods |= MODIFIER_ALT;
    if (event.state & Mod4Mask) mods |= MODIFIER_SYSTEM;
    if (event.type == KeyPress || AnyKeyDownWithBit(bit)) mods |= bit;
    else mods &= ~bit;
    _modifiers = mods;
}

void KeyPressed(XKeyEvent& event, const X11Window& w) {
    int code = X11KeyCode(event);
    if (code >= 1 && code <= 255) {
        int& down = _keysDown[event.keycode & 255];
        bool repeat = down != 0;
        if (!repeat) down = code;
        UpdateModifiers(event, down);
        Emit(repeat ? EVENT_KEYREPEAT : EVENT_KEYDOWN, w.source, down, _modifiers, 0, 0);
    }
    if (int c = X11KeyChar(event)) Emit(EVENT_KEYCHAR, w.source, c, _modifiers, 0, 0);
}

void KeyReleased(XKeyEvent& event, const X11Window& w) {
    int& down = _keysDown[event.keycode & 255];
    int code = down ? down : X11KeyCode(event);
    down = 0;
    if (code < 1 || code > 255) return;
    UpdateModifiers(event, code);
    Emit(EVENT_KEYUP, w.source, code, _modifiers, 0, 0);
}

// X numbers the middle button 2 and the right one 3; 4 and 5 are wheel notches.
void ButtonChanged(const XButtonEvent& event, const X11Window& w) {
    static const int kButtons[] = {0, MOUSE_LEFT, MOUSE_MIDDLE, MOUSE_RIGHT};
    bool press = event.type == ButtonPress;
    if (event.button >= 1 && event.button <= 3) {
        Emit(press ? EVENT_MOUSEDOWN : EVENT_MOUSEUP, w.source, kButtons[event.button], _modifiers, event.x, event.y);
    } else if (press && (event.button == 4 || event.button == 5)) {
        Emit(EVENT_MOUSEWHEEL, w.source, event.button == 4 ? 1 : -1, _modifiers, event.x, event.y);
    }
}

void PointerMoved(const XMotionEvent& event, const X11Window& w) {
    bool inside = event.x >= 0 && event.x < w.width && event.y >= 0 && event.y < w.height;
    Track(inside ? w.window : 0, event.x, event.y, w.source);
    int data = (event.state & Button3Mask) ? 2 : (event.state & Button2Mask) ? 4 : (event.state & Button1Mask) ? 1 : 0;
    Emit(EVENT_MOUSEMOVE, w.source, data, _modifiers, event.x, event.y);
}

// Crossings caused by grabs or by child windows are not the pointer entering or leaving.
bool RealCrossing(const XCrossingEvent& event) { return event.mode == NotifyNormal && event.detail != NotifyInferior; }

bool ProgramHasFocus(Display* display) {
    Window focus;
    int revert;
    XGetInputFocus(display, &focus, &revert);
    return X11FindWindow(focus) != nullptr;
}

void FocusChanged(const XFocusChangeEvent& event, const X11Window& w) {
    if (event.mode == NotifyGrab || event.mode == NotifyUngrab || event.detail == NotifyPointer) return;
    bool focused = event.type == FocusIn || ProgramHasFocus(event.display);
    SuspendScreenSaver(event.display, focused);
    if (focused == _programFocused) return;
    _programFocused = focused;
    int mods = _modifiers;  // the event carries the modifiers held as the focus changed
    if (!focused) {
        // Keys released elsewhere never reach us: start again with every key up.
        std::fill(std::begin(_keysDown), std::end(_keysDown), 0);
        _modifiers = 0;
    }
    Emit(focused ? EVENT_APPRESUME : EVENT_APPSUSPEND, w.source, 0, mods, 0, 0);
}

bool IsCloseRequest(const XClientMessageEvent& event) {
    return event.format == 32 && event.message_type == XInternAtom(event.display, "WM_PROTOCOLS", True) &&
           static_cast<Atom>(event.data.l[0]) == XInternAtom(event.display, "WM_DELETE_WINDOW", True);
}

}  // namespace

void X11TranslateEvent(XEvent& event, const X11Window& w) {
    switch (event.type) {
        case KeyPress: KeyPressed(event.xkey, w); break;
        case KeyRelease: KeyReleased(event.xkey, w); break;
        case ButtonPress:
        case ButtonRelease: ButtonChanged(event.xbutton, w); break;
        case MotionNotify: PointerMoved(event.xmotion, w); break;
        case EnterNotify:
            if (RealCrossing(event.xcrossing)) Track(w.window, event.xcrossing.x, event.xcrossing.y, w.source);
            break;
        case LeaveNotify:
            if (RealCrossing(event.xcrossing) && _tracked == w.window) Track(0, 0, 0, nullptr);
            break;
        case FocusIn:
        case FocusOut: FocusChanged(event.xfocus, w); break;
        case ClientMessage:
            if (IsCloseRequest(event.xclient)) Emit(EVENT_APPTERMINATE, w.source, 0, _modifiers, 0, 0);
            break;
        default: break;
    }
}

void X11SetPointerVisible(int visible) {
    _pointerVisible = visible;
    X11ApplyPointer();
}

// The pointer is hidden only while the program wants it hidden and it is over one of
// the program's windows.
void X11ApplyPointer() {
    Display* display = X11Display();
    if (!display) return;
    if (!_arrowCursor) _arrowCursor = XCreateFontCursor(display, XC_left_ptr);
    const Cursor cursor = _pointerVisible || !_tracked ? _arrowCursor : InvisibleCursor(display);
    for (const X11Window& w : X11Windows()) XDefineCursor(display, w.window, cursor);
    XFlush(display);
}

void X11ForgetWindow(Window window) {
    if (X11Windows().empty()) SuspendScreenSaver(X11Display(), false);
    if (_tracked != window) return;
    _tracked = 0;
    _trackedSource = nullptr;
}

}  // namespace corvex
