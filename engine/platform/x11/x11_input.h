/// @file
/// Private to the X11 system driver: the registered windows and the event translation.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "runtime/object.h"
#include "x11/x11.h"

namespace corvex {

/// A window of the program, as registered with the system driver.
struct X11Window {
    Window window = 0;             ///< the X window
    Ref<Object> source;            ///< the source of its events
    X11WindowProc proc = nullptr;  ///< called for each of its X events
    void* user = nullptr;          ///< passed to proc
    /** @{ */
    /// Client size, kept from ConfigureNotify.
    int width = 0, height = 0;
    /** @} */
};

/// The registration of window, or nullptr when it is not one of the program's.
X11Window* X11FindWindow(Window window);
/// Every registered window, in registration order.
const std::vector<X11Window>& X11Windows();

/// Turns one X event of a registered window into engine events.
void X11TranslateEvent(XEvent& event, const X11Window& window);
/// The engine key code of a key event (1 to 255), or 0 for keys without one.
int X11KeyCode(XKeyEvent& event);
/// The character a key press types, or 0.
int X11KeyChar(XKeyEvent& event);

/// Records the program's wish to show (1) or hide (0) the pointer and applies it.
void X11SetPointerVisible(int visible);
/// Gives every registered window the pointer it should show: the arrow, or none while
/// the program hides the pointer over its windows.
void X11ApplyPointer();
/// Forgets pointer tracking for a window that is no longer registered.
void X11ForgetWindow(Window window);

}  // namespace corvex
