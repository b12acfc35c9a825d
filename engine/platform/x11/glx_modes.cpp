// Display modes through XRandR: the list the driver offers, the switch for a
// full-screen window and the return to the desktop mode.
#include <X11/extensions/Xrandr.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>

#include "x11/glx_internal.h"
#include "platform/api/glcontext.h"
#include "runtime/exception.h"
#include "runtime/startup.h"
#include "x11/x11.h"

namespace corvex {

namespace {

Window _fullScreenWindow = 0;  // the window that owns a changed display mode

// The desktop mode, saved when a full-screen window first changes it.
struct DesktopMode {
    SizeID size;
    Rotation rotation;
    short rate;
};
DesktopMode _desktop{};

// A fault ends the program in its signal handler, where the display cannot be touched
// safely. A keeper, a copy of the program started with the first mode switch, is told
// through a socket of each switch ('1') and each return to the desktop mode ('0'); when
// the socket closes, however the program ended, it restores the desktop mode if the last
// word was a switch. (A socket rather than a pipe: a keeper that is gone must not end
// the program with SIGPIPE.)
int _keeperPipe = -1;

void TellKeeper(char word) {
    if (_keeperPipe >= 0) [[maybe_unused]]
        ssize_t sent = send(_keeperPipe, &word, 1, MSG_NOSIGNAL);
}

void StartKeeper() {
    int fds[2];
    if (_keeperPipe >= 0 || socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds) != 0) return;
    const std::string mode[] = {std::to_string(_desktop.size), std::to_string(_desktop.rotation),
                                std::to_string(_desktop.rate)};
    const char* args[] = {mode[0].c_str(), mode[1].c_str(), mode[2].c_str()};
    const bool started = StartHelper("desktop-mode", args, 3, fds[0]);
    close(fds[0]);
    if (started) _keeperPipe = fds[1];
    else close(fds[1]);
}

// Bits per pixel of the screen's pixels in memory (32 for a depth of 24).
int ScreenBitsPerPixel(Display* display) {
    const int depth = DefaultDepth(display, DefaultScreen(display));
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    int bits = depth;
    for (int i = 0; i < count; ++i) {
        if (formats[i].depth == depth) bits = formats[i].bits_per_pixel;
    }
    if (formats) XFree(formats);
    return bits;
}

XRRScreenConfiguration* ScreenConfig(Display* display) {
    int event = 0, error = 0;
    if (!display || !XRRQueryExtension(display, &event, &error)) return nullptr;
    return XRRGetScreenInfo(display, DefaultRootWindow(display));
}

bool HasRate(XRRScreenConfiguration* config, int size, int hertz) {
    int count = 0;
    const short* rates = XRRConfigRates(config, size, &count);
    for (int i = 0; i < count; ++i) {
        if (rates[i] == hertz) return true;
    }
    return false;
}

// Switches to a size of the screen (any rate when hertz is 0); false when the display
// has no such mode.
bool SetDisplayMode(Display* display, int width, int height, int depth, int hertz) {
    if (depth != ScreenBitsPerPixel(display) && depth != DefaultDepth(display, DefaultScreen(display))) return false;
    XRRScreenConfiguration* config = ScreenConfig(display);
    if (!config) return false;
    int count = 0;
    XRRScreenSize* sizes = XRRConfigSizes(config, &count);
    int size = 0;
    while (size < count && (sizes[size].width != width || sizes[size].height != height)) ++size;
    bool done = false;
    if (size < count && (hertz == 0 || HasRate(config, size, hertz))) {
        Rotation rotation;
        const SizeID current = XRRConfigCurrentConfiguration(config, &rotation);
        if (!_fullScreenWindow) _desktop = {current, rotation, XRRConfigCurrentRate(config)};
        StartKeeper();
        TellKeeper('1');  // before the switch, so that no moment is left uncovered
        const Window root = DefaultRootWindow(display);
        done = (hertz ? XRRSetScreenConfigAndRate(display, config, root, size, rotation, static_cast<short>(hertz),
                                                  CurrentTime)
                      : XRRSetScreenConfig(display, config, root, size, rotation, CurrentTime)) == RRSetConfigSuccess;
        if (!done && !_fullScreenWindow) TellKeeper('0');
    }
    XRRFreeScreenConfigInfo(config);
    return done;
}

void SetMode(Display* display, const DesktopMode& mode) {
    XRRScreenConfiguration* config = ScreenConfig(display);
    if (!config) return;
    XRRSetScreenConfigAndRate(display, config, DefaultRootWindow(display), mode.size, mode.rotation, mode.rate,
                              CurrentTime);
    XRRFreeScreenConfigInfo(config);
}

void RestoreDesktopMode(Display* display) {
    SetMode(display, _desktop);
    TellKeeper('0');
}

// The keeper: its arguments are the desktop mode (size, rotation, rate).
int KeepDesktopMode(int argc, char** argv) {
    if (argc < 3) return 1;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1;
    char word = '0', last = '0';
    while (read(STDIN_FILENO, &word, 1) == 1) last = word;
    if (last == '1') {
        SetMode(display, {static_cast<SizeID>(std::stoi(argv[0])), static_cast<Rotation>(std::stoi(argv[1])),
                          static_cast<short>(std::stoi(argv[2]))});
    }
    XCloseDisplay(display);
    return 0;
}
const HelperRegistration _keeper("desktop-mode", &KeepDesktopMode);

// Gives the desktop mode back when the program ends with a full-screen context still
// open, whichever way it was made.
void RestoreAtEnd() {
    if (!_fullScreenWindow) return;
    Display* display = X11Display();
    RestoreDesktopMode(display);
    XSync(display, False);
    _fullScreenWindow = 0;
}

}  // namespace

void EnterFullScreen(GLContext* record) {
    if (record->window == _fullScreenWindow) return;
    Display* display = X11Display();
    int sync = record->hertz ? 1 : 0;
    bool done = SetDisplayMode(display, record->width, record->height, record->depth, record->hertz);
    if (!done && record->hertz) {
        done = SetDisplayMode(display, record->width, record->height, record->depth, 0);
        sync = 0;
    }
    if (!done) ThrowString("GLGraphicsDriver failed to set display mode");
    static const bool restoresAtEnd = (AddEndHandler(&RestoreAtEnd), true);
    (void)restoresAtEnd;
    _fullScreenWindow = record->window;
    SetSwapInterval(sync);
}

bool LeaveFullScreen(Window window) {
    if (!window || window != _fullScreenWindow) return false;
    Display* display = X11Display();
    RestoreDesktopMode(display);
    XIconifyWindow(display, window, DefaultScreen(display));
    SetSwapInterval(0);
    _fullScreenWindow = 0;
    return true;
}

int GLContextModes(int* buffer, int max) {
    Display* display = X11Display();
    XRRScreenConfiguration* config = ScreenConfig(display);
    if (!config) return 0;
    const int bits = ScreenBitsPerPixel(display);
    int count = 0, sizeCount = 0;
    XRRScreenSize* sizes = XRRConfigSizes(config, &sizeCount);
    for (int size = 0; size < sizeCount && bits >= 16; ++size) {
        int rateCount = 0;
        const short* rates = XRRConfigRates(config, size, &rateCount);
        for (int i = 0; i < rateCount && count < max; ++i, ++count) {
            int* mode = buffer + 4 * count;
            mode[0] = sizes[size].width;
            mode[1] = sizes[size].height;
            mode[2] = bits;
            mode[3] = rates[i];
        }
    }
    XRRFreeScreenConfigInfo(config);
    return count;
}

}  // namespace corvex
