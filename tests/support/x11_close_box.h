// Sends a window the message a window manager sends when its close box is pressed.
#pragma once

#include <X11/Xlib.h>

namespace corvex::testing {

// A client message naming WM_DELETE_WINDOW, of the given message type.
inline void SendDeleteWindowMessage(Display* display, Window window, const char* message_type) {
    XEvent close{};
    close.xclient.type = ClientMessage;
    close.xclient.window = window;
    close.xclient.message_type = XInternAtom(display, message_type, False);
    close.xclient.format = 32;
    close.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    close.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &close);
}

inline void PressCloseBox(Display* display, Window window) { SendDeleteWindowMessage(display, window, "WM_PROTOCOLS"); }

}  // namespace corvex::testing
