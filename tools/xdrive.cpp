// xdrive: starts a program on the X display, plays a few steps of input at its window
// through XTest, saves screenshots and checks pixels, and ends with the program's status.
//
// Usage: xdrive PROGRAM STEP...
//
// Steps, run in order once the program's first window is mapped:
//   sleep MS          wait
//   key NAME          press and release a key (an X keysym name: space, Escape, Left)
//   hold NAME MS      press a key, wait, release it
//   move X Y          put the pointer at (X, Y) of the window
//   click             press and release the left button
//   shot FILE         save the window's picture as a PNG
//   check X Y R G B   wait until the window's pixel (X, Y) is that colour, within 16 per
//                     channel; fail after 20 s
//   cpu               print "cpu MS wall MS": the processor time the program has used
//                     and the time since it started, in milliseconds
//   exit              wait for the program to end (at most 10 s)
// The status is the program's own after "exit", 1 when a step fails, and otherwise 0
// after the program has been killed.
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <png.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace {

Display* display = nullptr;
pid_t child = 0;

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "xdrive: %s\n", what.c_str());
    if (child > 0) kill(child, SIGKILL);
    std::exit(1);
}

// The process id that the window's _NET_WM_PID names, 0 when it names none.
long WindowPid(Window window) {
    Atom pid_atom = XInternAtom(display, "_NET_WM_PID", True);
    if (pid_atom == None) return 0;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    long pid = 0;
    if (XGetWindowProperty(display, window, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success &&
        data && count == 1) {
        pid = *reinterpret_cast<long*>(data);
    }
    if (data) XFree(data);
    return pid;
}

// A mapped top-level window of the child: by its process id when it tells one, else the
// first mapped one with the engine's window class.
Window FindWindow() {
    Window root = DefaultRootWindow(display), parent, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable) continue;
        XClassHint hint{};
        if (!XGetClassHint(display, children[i], &hint)) continue;
        const bool ours = hint.res_class && std::strcmp(hint.res_class, "Corvex GLGraphics") == 0;
        if (hint.res_name) XFree(hint.res_name);
        if (hint.res_class) XFree(hint.res_class);
        const long pid = WindowPid(children[i]);
        if (ours && (pid == 0 || pid == child)) found = children[i];
    }
    if (children) XFree(children);
    return found;
}

XImage* Grab(Window window) {
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
    if (!image) Fail("cannot read the window's pixels");
    return image;
}

void Rgb(XImage* image, int x, int y, int rgb[3]) {
    const unsigned long pixel = XGetPixel(image, x, y);
    const unsigned long masks[3] = {image->red_mask, image->green_mask, image->blue_mask};
    for (int c = 0; c < 3; ++c) {
        unsigned long mask = masks[c];
        int shift = 0;
        while (mask && !(mask & 1)) {
            mask >>= 1;
            ++shift;
        }
        rgb[c] = mask ? static_cast<int>(((pixel >> shift) & mask) * 255 / mask) : 0;
    }
}

// Writes the picture with libpng; every row is made before the file is opened, so the
// setjmp frame owns nothing with a destructor.
void SavePng(XImage* image, const char* path) {
    std::vector<unsigned char> pixels(static_cast<size_t>(image->width) * image->height * 3);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            int rgb[3];
            Rgb(image, x, y, rgb);
            for (int c = 0; c < 3; ++c) pixels[(static_cast<size_t>(y) * image->width + x) * 3 + c] = rgb[c];
        }
    }
    std::vector<png_bytep> rows(image->height);
    for (int y = 0; y < image->height; ++y) rows[y] = &pixels[static_cast<size_t>(y) * image->width * 3];
    FILE* file = std::fopen(path, "wb");
    if (!file) Fail(std::string("cannot write ") + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        Fail(std::string("cannot encode ") + path);
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, image->width, image->height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

void Key(const char* name, bool press) {
    const KeySym sym = XStringToKeysym(name);
    const KeyCode code = sym == NoSymbol ? 0 : XKeysymToKeycode(display, sym);
    if (!code) Fail(std::string("no key called ") + name);
    XTestFakeKeyEvent(display, code, press, CurrentTime);
    XFlush(display);
}

// Whether the pixel at (a[0], a[1]) has the colour a[2..4]; rgb receives the pixel.
bool Matches(Window window, char** a, int rgb[3]) {
    XImage* image = Grab(window);
    Rgb(image, std::atoi(a[0]), std::atoi(a[1]), rgb);
    XDestroyImage(image);
    for (int c = 0; c < 3; ++c) {
        if (std::abs(rgb[c] - std::atoi(a[2 + c])) > 16) return false;
    }
    return true;
}

// The processor time (user and system) the child has used, in milliseconds.
long ChildCpuMs() {
    const std::string path = "/proc/" + std::to_string(child) + "/stat";
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file) Fail("cannot read " + path);
    char text[1024] = {};
    const size_t n = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    text[n] = 0;
    // The fields after the parenthesised name: state is the third, utime the 14th.
    const char* p = std::strrchr(text, ')');
    unsigned long utime = 0, stime = 0;
    if (!p || std::sscanf(p + 2, "%*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &utime, &stime) != 2) {
        Fail("cannot parse " + path);
    }
    return static_cast<long>((utime + stime) * 1000 / sysconf(_SC_CLK_TCK));
}

int WaitExit() {
    for (int i = 0; i < 1000; ++i) {
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            child = 0;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        Sleep(10);
    }
    Fail("the program did not end");
}

// The number of arguments a step takes.
int Arity(const std::string& step) {
    if (step == "sleep" || step == "key" || step == "shot") return 1;
    if (step == "hold" || step == "move") return 2;
    if (step == "check") return 5;
    if (step == "click" || step == "cpu" || step == "exit") return 0;
    Fail("unknown step " + step);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) Fail("usage: xdrive PROGRAM STEP...");
    for (int i = 2; i < argc; i += 1 + Arity(argv[i])) {
        if (i + Arity(argv[i]) >= argc) Fail(std::string("too few arguments for ") + argv[i]);
    }
    display = XOpenDisplay(nullptr);
    if (!display) Fail("cannot open the X display");
    int event_base, error_base, major, minor;
    if (!XTestQueryExtension(display, &event_base, &error_base, &major, &minor)) Fail("the display has no XTest");

    const auto started = std::chrono::steady_clock::now();
    child = fork();
    if (child == 0) {
        execl(argv[1], argv[1], static_cast<char*>(nullptr));
        std::_Exit(127);
    }
    Window window = 0;
    for (int i = 0; i < 1000 && !window; ++i) {
        Sleep(10);
        window = FindWindow();
    }
    if (!window) Fail("no window appeared");

    for (int i = 2; i < argc; i += 1 + Arity(argv[i])) {
        const std::string step = argv[i];
        char** a = argv + i + 1;
        if (step == "sleep") {
            Sleep(std::atoi(a[0]));
        } else if (step == "key") {
            Key(a[0], true);
            Key(a[0], false);
        } else if (step == "hold") {
            Key(a[0], true);
            Sleep(std::atoi(a[1]));
            Key(a[0], false);
        } else if (step == "move") {
            int x, y;
            Window unused;
            XTranslateCoordinates(display, window, DefaultRootWindow(display), std::atoi(a[0]), std::atoi(a[1]), &x, &y,
                                  &unused);
            XTestFakeMotionEvent(display, -1, x, y, CurrentTime);
            XFlush(display);
        } else if (step == "click") {
            XTestFakeButtonEvent(display, 1, True, CurrentTime);
            XFlush(display);
            Sleep(50);
            XTestFakeButtonEvent(display, 1, False, CurrentTime);
            XFlush(display);
        } else if (step == "shot") {
            XImage* image = Grab(window);
            SavePng(image, a[0]);
            XDestroyImage(image);
        } else if (step == "check") {
            int rgb[3];
            for (int tries = 0; !Matches(window, a, rgb); ++tries) {
                if (tries == 400) {
                    Fail("pixel " + std::string(a[0]) + "," + a[1] + " is " + std::to_string(rgb[0]) + " " +
                         std::to_string(rgb[1]) + " " + std::to_string(rgb[2]));
                }
                Sleep(50);
            }
        } else if (step == "cpu") {
            const auto wall = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                                    started);
            std::printf("cpu %ld wall %lld\n", ChildCpuMs(), static_cast<long long>(wall.count()));
            std::fflush(stdout);
        } else if (step == "exit") {
            return WaitExit();
        }
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return 0;
}
