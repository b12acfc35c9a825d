// OpenGL contexts of the headless platform: records of the requested size without a
// window or an OpenGL implementation behind them. Presenting counts a presentation for
// the input script; presenting at the vertical blank advances the virtual clock by one
// refresh period of the context's rate (of the virtual display's 60 Hz when the
// context names none).
#include "headless/headless.h"
#include "platform/api/clock.h"
#include "platform/api/glcontext.h"

namespace corvex {

struct GLContext {
    GLContext* next;
    int width, height, depth, hertz, flags;
};

namespace {

constexpr int kDisplayHertz = 60;
constexpr int kDisplayBits = 32;
// The virtual display's modes, width and height.
constexpr int kDisplaySizes[][2] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}, {1440, 900}};

GLContext* _contexts = nullptr;
GLContext* _current = nullptr;

bool DisplayHasMode(int width, int height, int depth) {
    if (depth != kDisplayBits) return false;
    for (const auto& size : kDisplaySizes) {
        if (size[0] == width && size[1] == height) return true;
    }
    return false;
}

}  // namespace

GLContext* GLContextCreate(int width, int height, int depth, int hertz, int flags) {
    if (width <= 0 || height <= 0) return nullptr;
    if (depth != 0 && !DisplayHasMode(width, height, depth)) return nullptr;
    _contexts = new GLContext{_contexts, width, height, depth, hertz, flags};
    return _contexts;
}

// There are no windows to attach to.
GLContext* GLContextAttach(std::uintptr_t, int) { return nullptr; }

void GLContextGetSettings(GLContext* context, int& width, int& height, int& depth, int& hertz, int& flags) {
    width = context->width;
    height = context->height;
    depth = context->depth;
    hertz = context->hertz;
    flags = context->flags;
}

void GLContextMakeCurrent(GLContext* context) { _current = context; }

void GLContextClose(GLContext* context) {
    GLContext** link = &_contexts;
    while (*link && *link != context) link = &(*link)->next;
    if (!*link) return;
    if (_current == context) _current = nullptr;
    *link = context->next;
    delete context;
}

void GLContextFlip(int sync) {
    if (!_current) return;
    if (sync) PlatformDelay(1000 / (_current->hertz ? _current->hertz : kDisplayHertz));
    HeadlessPresented();
}

// Without OpenGL there is no context to switch to.
void GLContextSwapShared() {}

int GLContextModes(int* buffer, int max) {
    int count = 0;
    for (const auto& size : kDisplaySizes) {
        if (count == max) break;
        int* mode = buffer + 4 * count++;
        mode[0] = size[0];
        mode[1] = size[1];
        mode[2] = kDisplayBits;
        mode[3] = kDisplayHertz;
    }
    return count;
}

}  // namespace corvex
