// The windows of the GLX contexts: visuals, creation with the program's caption and a
// fixed size, showing, and the window procedure that switches full-screen modes.
#include <X11/Xatom.h>
#include <X11/Xutil.h>

#include <string>
#include <vector>

#include "x11/glx_internal.h"
#include "runtime/startup.h"
#include "x11/x11.h"

namespace corvex {

namespace {

constexpr const char* kWindowClass = "Corvex GLGraphics";
// Motif window-manager functions and decorations.
constexpr long kMoveFunction = 4, kCloseFunction = 32;
constexpr long kBorder = 2, kTitle = 8, kWindowMenu = 16;

// Attributes and the size each buffer asks for: 1 means at least one bit.
struct BufferRequest {
    int flag;
    int attributes[4];
};
constexpr BufferRequest kBuffers[] = {
    {GLCONTEXT_ALPHABUFFER, {GLX_ALPHA_SIZE, 0, 0, 0}},
    {GLCONTEXT_DEPTHBUFFER, {GLX_DEPTH_SIZE, 0, 0, 0}},
    {GLCONTEXT_STENCILBUFFER, {GLX_STENCIL_SIZE, 0, 0, 0}},
    {GLCONTEXT_ACCUMBUFFER, {GLX_ACCUM_RED_SIZE, GLX_ACCUM_GREEN_SIZE, GLX_ACCUM_BLUE_SIZE, 0}},
};

void SetCaption(Display* display, Window window) {
    const std::string bytes = ApplicationTitle.ToBytes();
    XStoreName(display, window, bytes.c_str());
    const std::string utf8 = ApplicationTitle.ToUtf8();
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                    XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(utf8.data()), static_cast<int>(utf8.size()));
}

void SetClass(Display* display, Window window) {
    XClassHint hint;
    std::string name = "corvex", cls = kWindowClass;
    hint.res_name = name.data();
    hint.res_class = cls.data();
    XSetClassHint(display, window, &hint);
}

// A window of a fixed size whose client area stays where it was put whatever frame the
// window manager adds.
void SetFixedSize(Display* display, Window window, int x, int y, int width, int height) {
    XSizeHints* hints = XAllocSizeHints();
    hints->flags = PPosition | USPosition | PMinSize | PMaxSize | PWinGravity;
    hints->x = x;
    hints->y = y;
    hints->min_width = hints->max_width = width;
    hints->min_height = hints->max_height = height;
    hints->win_gravity = StaticGravity;
    XSetWMNormalHints(display, window, hints);
    XFree(hints);
}

// The functions and decorations the window manager offers (Motif hints).
void SetFrame(Display* display, Window window, long functions, long decorations) {
    const long motif[5] = {1 | 2, functions, decorations, 0, 0};
    const Atom atom = XInternAtom(display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(display, window, atom, atom, 32, PropModeReplace, reinterpret_cast<const unsigned char*>(motif), 5);
}

void AskForFullScreen(Display* display, Window window) {
    const Atom state = XInternAtom(display, "_NET_WM_STATE_FULLSCREEN", False);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_STATE", False), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&state), 1);
}

}  // namespace

XVisualInfo* ChooseGLVisual(Display* display, int flags) {
    std::vector<int> request = {GLX_RGBA, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1};
    if (flags & GLCONTEXT_BACKBUFFER) request.push_back(GLX_DOUBLEBUFFER);
    for (const BufferRequest& buffer : kBuffers) {
        if (!(flags & buffer.flag)) continue;
        for (int attribute : buffer.attributes) {
            if (attribute) request.insert(request.end(), {attribute, 1});
        }
    }
    request.push_back(None);
    return glXChooseVisual(display, DefaultScreen(display), request.data());
}

bool GLVisualHas(Display* display, XVisualInfo* visual, int flags) {
    int value = 0;
    if (glXGetConfig(display, visual, GLX_USE_GL, &value) || !value) return false;
    if (glXGetConfig(display, visual, GLX_RGBA, &value) || !value) return false;
    if (flags & GLCONTEXT_BACKBUFFER) {
        if (glXGetConfig(display, visual, GLX_DOUBLEBUFFER, &value) || !value) return false;
    }
    for (const BufferRequest& buffer : kBuffers) {
        if (!(flags & buffer.flag)) continue;
        if (glXGetConfig(display, visual, buffer.attributes[0], &value) || value < 1) return false;
    }
    return true;
}

Window CreateGLWindow(Display* display, XVisualInfo* visual, int x, int y, int width, int height, GLWindowStyle style,
                      Colormap& colormap) {
    const Window root = RootWindow(display, visual->screen);
    colormap = XCreateColormap(display, root, visual->visual, AllocNone);
    XSetWindowAttributes attributes{};
    attributes.colormap = colormap;
    attributes.border_pixel = 0;
    attributes.event_mask = StructureNotifyMask | FocusChangeMask | ExposureMask;
    attributes.cursor = None;
    const Window window = XCreateWindow(display, root, x, y, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 0, visual->depth, InputOutput, visual->visual,
                                        CWColormap | CWBorderPixel | CWEventMask, &attributes);
    SetClass(display, window);
    SetCaption(display, window);
    if (style == GLWindowStyle::HIDDEN) return window;
    SetFixedSize(display, window, x, y, width, height);
    if (style == GLWindowStyle::FRAMED) {
        SetFrame(display, window, kMoveFunction | kCloseFunction, kBorder | kTitle | kWindowMenu);
    } else {
        SetFrame(display, window, 0, 0);
        AskForFullScreen(display, window);
    }
    return window;
}

void ShowGLWindow(Display* display, Window window) {
    XMapRaised(display, window);
    XSync(display, False);
    // A window manager may not have mapped a framed window yet; it focuses it itself.
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable) {
        XSetInputFocus(display, window, RevertToParent, CurrentTime);
    }
    XFlush(display);
}

void GLWindowProc(const XEvent& event, void* user) {
    auto* record = static_cast<GLContext*>(user);
    if (!IsOpenContext(record)) return;
    switch (event.type) {
        case FocusIn:
            if (event.xfocus.detail == NotifyPointer || event.xfocus.detail == NotifyInferior) break;
            if (record->mode == GLContext::FULLSCREEN) EnterFullScreen(record);
            break;
        case FocusOut:
            if (event.xfocus.mode == NotifyGrab || event.xfocus.detail == NotifyInferior ||
                event.xfocus.detail == NotifyPointer)
                break;
            LeaveFullScreen(record->window);
            break;
        case DestroyNotify:
            record->gone = true;
            LeaveFullScreen(record->window);
            break;
        default: break;
    }
}

}  // namespace corvex
