// OpenGL contexts on GLX: the hidden shared context, windowed, full-screen and attached
// contexts, making them current, presenting and closing.
#include <algorithm>
#include <cstring>

#include "x11/glx_internal.h"
#include "platform/api/glcontext.h"
#include "x11/x11.h"

namespace corvex {

namespace {

GLContext* _shared = nullptr;    // made on first create or attach, kept to the end
GLContext* _contexts = nullptr;  // open contexts, newest first
GLContext* _current = nullptr;
int _lastSwapInterval = -1;  // -1: the first Flip sets it
int _glxErrors = 0;          // the first error code of the GLX extension
// Errors of the GLX protocol, counted from its first error code.
constexpr int kGLXBadDrawable = 2, kGLXBadCurrentDrawable = 11, kGLXBadWindow = 12;

// X draws in signed 16-bit coordinates; a larger window cannot be made or drawn whole.
constexpr int kMaxWindowSide = 32767;
// The largest window the contexts can render and present, read once from the shared
// context.
int _maxWidth = 0, _maxHeight = 0;

// The OpenGL limits of the current context on the drawing size: the viewport, and the
// renderbuffer and texture sizes that the back buffer and its copies need. A limit the
// context does not know leaves the value as it was.
void ReadSizeLimits(Display* display) {
    GLint viewport[2] = {kMaxWindowSide, kMaxWindowSide};
    GLint renderbuffer = kMaxWindowSide, texture = kMaxWindowSide;
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, viewport);
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &renderbuffer);
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &texture);
    while (glGetError() != GL_NO_ERROR) {
    }
    const int square = std::min({kMaxWindowSide, static_cast<int>(renderbuffer), static_cast<int>(texture)});
    // Presenting without shared memory sends the picture in requests of rows; a row of
    // 32-bit pixels must fit in one.
    const long requestBytes = 4 * (XExtendedMaxRequestSize(display) ? XExtendedMaxRequestSize(display)
                                                                    : XMaxRequestSize(display));
    const long rowPixels = (requestBytes - 64) / 4;
    _maxWidth = static_cast<int>(std::min<long>({square, viewport[0], rowPixels}));
    _maxHeight = std::min(square, static_cast<int>(viewport[1]));
}

// Every context shares textures and display lists with the hidden shared one: an
// unmapped 1 x 1 window with a single-buffered context.
bool EnsureSharedContext(Display* display) {
    if (_shared) return true;
    int glxEvents = 0;
    glXQueryExtension(display, &_glxErrors, &glxEvents);
    X11SetErrorListener(RetireContextsOf);
    XVisualInfo* visual = ChooseGLVisual(display, 0);
    if (!visual) return false;
    Colormap colormap = 0;
    Window window = CreateGLWindow(display, visual, 0, 0, 1, 1, GLWindowStyle::HIDDEN, colormap);
    GLXContext context = glXCreateContext(display, visual, nullptr, True);
    XFree(visual);
    if (!context) {
        XDestroyWindow(display, window);
        XFreeColormap(display, colormap);
        return false;
    }
    _shared = new GLContext{
        .mode = GLContext::SHARED, .width = 1, .height = 1, .window = window, .colormap = colormap, .context = context};
    const GLXContext previous = glXGetCurrentContext();
    const GLXDrawable previousDrawable = glXGetCurrentDrawable();
    glXMakeCurrent(display, window, context);
    ReadSizeLimits(display);
    glXMakeCurrent(display, previousDrawable, previous);
    return true;
}

// The display, once the shared context exists on it; nullptr without a display.
Display* ReadyDisplay() {
    Display* display = X11Display();
    return display && EnsureSharedContext(display) ? display : nullptr;
}

void AddContext(GLContext* record) {
    record->next = _contexts;
    _contexts = record;
}

void ReadWindowSize(Display* display, GLContext* record) {
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, record->window, &attributes)) {
        record->gone = true;
        return;
    }
    record->width = attributes.width;
    record->height = attributes.height;
}

// The window's own visual, if it can carry OpenGL with the buffers flags ask for.
XVisualInfo* AttachVisual(Display* display, const XWindowAttributes& attributes, int flags) {
    XVisualInfo pattern{};
    pattern.visualid = XVisualIDFromVisual(attributes.visual);
    int count = 0;
    XVisualInfo* visual = XGetVisualInfo(display, VisualIDMask, &pattern, &count);
    if (!visual) return nullptr;
    if (!GLVisualHas(display, visual, flags)) {
        XFree(visual);
        return nullptr;
    }
    return visual;
}

bool HasGLXExtension(Display* display, const char* name) {
    const char* list = glXQueryExtensionsString(display, DefaultScreen(display));
    const size_t length = std::strlen(name);
    for (const char* p = list; p && (p = std::strstr(p, name)); p += length) {
        const bool starts = p == list || p[-1] == ' ';
        if (starts && (p[length] == ' ' || p[length] == '\0')) return true;
    }
    return false;
}

// The swap-control entry points, looked up at each use (nullptr when missing).
template <class Function>
Function SwapControl(Display* display, const char* extension, const char* name) {
    if (!HasGLXExtension(display, extension)) return nullptr;
    return reinterpret_cast<Function>(glXGetProcAddress(reinterpret_cast<const GLubyte*>(name)));
}

}  // namespace

void RetireContextsOf(const XErrorEvent& error) {
    const int code = error.error_code;
    const bool gone = code == BadWindow || code == BadDrawable || code == _glxErrors + kGLXBadDrawable ||
                      code == _glxErrors + kGLXBadWindow || code == _glxErrors + kGLXBadCurrentDrawable;
    for (GLContext* c = _contexts; gone && c; c = c->next) {
        if (c->window == error.resourceid) c->gone = true;
    }
}

bool IsOpenContext(const GLContext* record) {
    for (GLContext* c = _contexts; c; c = c->next) {
        if (c == record) return true;
    }
    return false;
}

void SetSwapInterval(int interval) {
    Display* display = X11Display();
    const GLXDrawable drawable = glXGetCurrentDrawable();
    if (!display || !drawable) return;
    using DrawableInterval = void (*)(Display*, GLXDrawable, int);
    using ContextInterval = int (*)(int);
    if (auto ext = SwapControl<DrawableInterval>(display, "GLX_EXT_swap_control", "glXSwapIntervalEXT")) {
        ext(display, drawable, interval);
    } else if (auto mesa = SwapControl<ContextInterval>(display, "GLX_MESA_swap_control", "glXSwapIntervalMESA")) {
        mesa(interval);
    } else if (auto sgi = SwapControl<ContextInterval>(display, "GLX_SGI_swap_control", "glXSwapIntervalSGI")) {
        // This one cannot turn vertical sync off.
        if (interval > 0) sgi(interval);
    }
}

GLContext* GLContextCreate(int width, int height, int depth, int hertz, int flags) {
    Display* display = ReadyDisplay();
    if (!display || width <= 0 || height <= 0 || width > _maxWidth || height > _maxHeight) return nullptr;
    XVisualInfo* visual = ChooseGLVisual(display, flags);
    if (!visual) return nullptr;
    const bool fullScreen = depth != 0;
    const int at = fullScreen ? 0 : 32;
    Colormap colormap = 0;
    Window window = CreateGLWindow(display, visual, at, at, width, height,
                                   fullScreen ? GLWindowStyle::FULLSCREEN : GLWindowStyle::FRAMED, colormap);
    GLXContext context = glXCreateContext(display, visual, _shared->context, True);
    XFree(visual);
    if (!context) {
        XDestroyWindow(display, window);
        XFreeColormap(display, colormap);
        return nullptr;
    }
    auto* record = new GLContext{.mode = fullScreen ? GLContext::FULLSCREEN : GLContext::WINDOWED,
                                 .depth = depth,
                                 .hertz = hertz,
                                 .flags = flags,
                                 .window = window,
                                 .colormap = colormap,
                                 .context = context};
    ReadWindowSize(display, record);
    AddContext(record);
    X11RegisterWindow(window, nullptr, GLWindowProc, record);
    ShowGLWindow(display, window);
    if (fullScreen) {
        // The window has the focus now: switch the mode at once, so the caller measures
        // and draws in it. A mode that cannot be set leaves no context behind.
        try {
            EnterFullScreen(record);
        } catch (...) {
            GLContextClose(record);
            throw;
        }
    }
    return record;
}

GLContext* GLContextAttach(std::uintptr_t window, int flags) {
    Display* display = ReadyDisplay();
    if (!display) return nullptr;
    XWindowAttributes attributes;
    // An input-only window has no pixels to draw into.
    if (!XGetWindowAttributes(display, window, &attributes) || attributes.c_class != InputOutput) return nullptr;
    XVisualInfo* visual = AttachVisual(display, attributes, flags);
    if (!visual) return nullptr;
    GLXContext context = glXCreateContext(display, visual, _shared->context, True);
    XFree(visual);
    if (!context) return nullptr;
    auto* record = new GLContext{.mode = GLContext::ATTACHED,
                                 .width = attributes.width,
                                 .height = attributes.height,
                                 .flags = flags,
                                 .window = window,
                                 .context = context};
    AddContext(record);
    return record;
}

void GLContextGetSettings(GLContext* record, int& width, int& height, int& depth, int& hertz, int& flags) {
    if (record->mode == GLContext::ATTACHED && !record->gone) ReadWindowSize(X11Display(), record);
    if (record->gone) {
        width = height = depth = hertz = flags = 0;
        return;
    }
    width = record->width;
    height = record->height;
    depth = record->depth;
    hertz = record->hertz;
    flags = record->flags;
}

void GLContextMakeCurrent(GLContext* record) {
    if (record == _current) return;
    _current = record;
    Display* display = X11Display();
    if (!display) return;
    if (record) {
        glXMakeCurrent(display, record->window, record->context);
    } else {
        glXMakeCurrent(display, None, nullptr);
    }
}

void GLContextClose(GLContext* record) {
    GLContext** link = &_contexts;
    while (*link && *link != record) link = &(*link)->next;
    if (!*link) return;
    Display* display = X11Display();
    if (record == _current) GLContextMakeCurrent(nullptr);
    glXDestroyContext(display, record->context);
    if (record->mode == GLContext::WINDOWED || record->mode == GLContext::FULLSCREEN) {
        LeaveFullScreen(record->window);
        X11UnregisterWindow(record->window);
        XDestroyWindow(display, record->window);
        XFreeColormap(display, record->colormap);
        XFlush(display);
    }
    *link = record->next;
    delete record;
}

void GLContextFlip(int sync) {
    if (!_current || _current->gone) return;
    const int interval = sync ? 1 : 0;
    if (interval != _lastSwapInterval) {
        _lastSwapInterval = interval;
        SetSwapInterval(interval);
    }
    glXSwapBuffers(X11Display(), _current->window);
}

void GLContextSwapShared() {
    Display* display = X11Display();
    if (!_shared || !display) return;
    if (glXGetCurrentContext() != _shared->context) {
        glXMakeCurrent(display, _shared->window, _shared->context);
    } else if (_current) {
        glXMakeCurrent(display, _current->window, _current->context);
    } else {
        glXMakeCurrent(display, None, nullptr);
    }
}

}  // namespace corvex
