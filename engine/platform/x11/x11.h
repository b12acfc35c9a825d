/// @file
/// The native layer shared by the X11 system driver and the GLX graphics driver.
///
/// The system driver owns the connection and the pump; the graphics driver creates the
/// windows and registers each one here, so that every X event of a program window is
/// first translated into engine events and then handed to the window's own procedure.
#pragma once

#include <X11/Xlib.h>

#include "runtime/object.h"

namespace corvex {

/// The program's connection to the X server, opened on first use; nullptr when there is
/// no display (everything but opening graphics still works then). An X error never ends
/// the program: it is passed to the error listener, if any. Losing the connection ends
/// the program as an uncaught error does (its text on standard error, then the end
/// handlers, during which the dead connection ignores every request).
Display* X11Display();

/** @{ */
/// Called with every X error, for example about a window that some client has destroyed;
/// the graphics layer retires the contexts drawing into it.
using X11ErrorListener = void (*)(const XErrorEvent& error);
void X11SetErrorListener(X11ErrorListener listener);
/** @} */

/// Called for every X event of a registered window, after the event translation.
using X11WindowProc = void (*)(const XEvent& event, void* user);

/// Makes window one of the program's windows: its events are translated with source as
/// the events' source, then passed to proc (which may be null). Focus, pointer tracking
/// and pointer hiding apply to registered windows only. Registering adds the key, button,
/// motion, crossing, focus and structure events to the window's event mask (keeping what
/// its creator selected) and sets WM_DELETE_WINDOW, so the close box becomes a terminate
/// request and leaves the window open.
void X11RegisterWindow(Window window, Ref<Object> source, X11WindowProc proc, void* user);
/// Ends the registration of window.
void X11UnregisterWindow(Window window);

}  // namespace corvex
