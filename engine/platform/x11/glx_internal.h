/// @file
/// Shared pieces of the GLX context layer (glx_*.cpp): the context record, the window
/// procedure and the display-mode switch.
#pragma once

#include <GL/glx.h>
#include <X11/Xlib.h>

#include "platform/api/glcontext.h"

namespace corvex {

/// One OpenGL context of the program.
struct GLContext {
    /// What the context draws into: nothing (the shared context, which owns the
    /// textures), a window of another program, a window of our own, or the full screen.
    enum Kind : int { SHARED = 0, ATTACHED = 1, WINDOWED = 2, FULLSCREEN = 3 };

    GLContext* next = nullptr;  ///< list of open contexts, newest first
    int mode = SHARED;          ///< a Kind
    /** @{ */
    /// The settings the context was made with.
    int width = 0;
    int height = 0;
    int depth = 0;
    int hertz = 0;
    int flags = 0;
    /** @} */
    Window window = 0;             ///< the window drawn into
    bool gone = false;             ///< the window was destroyed behind our back: nothing to draw into
    Colormap colormap = 0;         ///< of our own windows
    GLXContext context = nullptr;  ///< the GLX context
};

/// The visual closest to what the graphics flags ask for: at least one bit of every
/// buffer asked for, none of the others; nullptr when there is none (free with XFree).
XVisualInfo* ChooseGLVisual(Display* display, int flags);
/// True when an existing visual carries OpenGL with every buffer the flags ask for.
bool GLVisualHas(Display* display, XVisualInfo* visual, int flags);
/// HIDDEN: the shared context's, never shown; FRAMED: a title bar and a close box, no
/// resizing; FULLSCREEN: no frame, covering the screen.
enum class GLWindowStyle { HIDDEN, FRAMED, FULLSCREEN };

/// Creates a window of our own for a context.
Window CreateGLWindow(Display* display, XVisualInfo* visual, int x, int y, int width, int height, GLWindowStyle style,
                      Colormap& colormap);
/// Maps the window and gives it the input focus.
void ShowGLWindow(Display* display, Window window);
/// Called by the pump for every event of our windows, after the event translation.
void GLWindowProc(const XEvent& event, void* record);

/// Sets the swap interval of the current context when the driver has the extension.
void SetSwapInterval(int interval);

/// Switches the display to the full-screen context's mode and makes its window the
/// full-screen window; throws "GLGraphicsDriver failed to set display mode".
void EnterFullScreen(GLContext* record);
/// Restores the desktop mode if window owns a changed mode; true when it did.
bool LeaveFullScreen(Window window);

/// True when record is one of the open contexts (the shared one is not).
bool IsOpenContext(const GLContext* record);
/// Marks the contexts drawing into a window as gone when error says the window is.
void RetireContextsOf(const XErrorEvent& error);

}  // namespace corvex
