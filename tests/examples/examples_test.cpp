// Runs each example as a process of its own on the X server. An animated one is watched
// from outside until the pictures in its window change from one look to the next and
// ended each way a user can; every one must then end on its own, with status 0 and the
// output it promises.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/temp_dir.h"
#include "support/x11_close_box.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace {

constexpr int kWidth = 640, kHeight = 480;  // every example's window

// Calls step every 50 ms until it returns true, for a minute at most (only a failing run
// waits that long; software OpenGL in a sanitizer build starts slowly); whether it did.
template <class Step>
bool Within(Step step) {
    for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
         std::chrono::steady_clock::now() < deadline;) {
        if (step()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// An example running with its standard output kept in a file.
class ExampleProcess {
public:
    ExampleProcess(const char* program, std::vector<std::string> args) {
        args.insert(args.begin(), program);
        std::vector<char*> argv;
        for (std::string& arg : args) argv.push_back(arg.data());
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, StdoutPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (posix_spawn(&pid_, program, &actions, nullptr, argv.data(), environ) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~ExampleProcess() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    bool Started() const { return pid_ > 0; }

    // The exit status once the process has ended (-1000 - the signal when one ended it),
    // nothing while it runs.
    std::optional<int> Ended() {
        int status = 0;
        if (pid_ <= 0 || waitpid(pid_, &status, WNOHANG) != pid_) return std::nullopt;
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1000 - WTERMSIG(status);
    }

    // What it has written on its standard output.
    std::string Stdout() const { return TempDir::Read(StdoutPath()); }

private:
    std::string StdoutPath() const { return dir_ / "stdout"; }

    TempDir dir_;
    pid_t pid_ = 0;
};

// The example's window: a viewable top-level window of the engine's window class and
// the example's size (the test runs alone, so no other program has one).
Window FindExampleWindow(Display* display) {
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        XClassHint hint{};
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(display, children[i], &attributes) || !XGetClassHint(display, children[i], &hint)) {
            continue;
        }
        if (attributes.map_state == IsViewable && attributes.width == kWidth && attributes.height == kHeight &&
            std::strcmp(hint.res_class, "Corvex GLGraphics") == 0) {
            found = children[i];
        }
        XFree(hint.res_name);
        XFree(hint.res_class);
    }
    XFree(children);
    return found;
}

// What the window shows, empty when it cannot be read.
std::vector<char> Picture(Display* display, Window window) {
    XImage* image = XGetImage(display, window, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
    if (!image) return {};
    std::vector<char> bytes(image->data, image->data + image->bytes_per_line * image->height);
    XDestroyImage(image);
    return bytes;
}

enum class Ending { kByItself, kEscape, kCloseBox };

struct ExampleRun {
    const char* what;
    std::vector<std::string> args;
    Ending ending;
};

struct Example {
    const char* program;  // built beside this test
    std::vector<ExampleRun> runs;
    std::string output;  // its whole standard output
};

// Each example, run every way it can be ended.
std::vector<Example> Examples() {
    const std::vector<ExampleRun> animated = {
        {"--frames 20", {"--frames", "20"}, Ending::kByItself},
        {"Escape", {}, Ending::kEscape},
        {"close box", {}, Ending::kCloseBox},
    };
    const std::string modules_demo_dir = std::filesystem::canonical(MODULES_DEMO_EXAMPLE).parent_path();
    return {
        {FIRST_WINDOW_EXAMPLE, animated, ""},
        {DRAWING_EXAMPLE, animated, ""},
        {COLLISIONS_EXAMPLE, animated, ""},
        {MODULES_DEMO_EXAMPLE,
         {{"no window", {}, Ending::kByItself}},
         "Started every module from " + modules_demo_dir + "\n"},
    };
}

}  // namespace

TEST(Examples, RunUntilToldToEndThenEndWell) {
    Display* display = XOpenDisplay(nullptr);
    ASSERT_TRUE(display) << "needs an X display (run under scripts/with-xvfb.sh)";
    // A window that goes while it is looked at is a failure to see it, not a fatal error.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    for (const Example& example_program : Examples()) {
        for (const ExampleRun& run : example_program.runs) {
            SCOPED_TRACE(std::string(example_program.program) + ", " + run.what);
            ExampleProcess example(example_program.program, run.args);
            ASSERT_TRUE(example.Started());
            std::optional<int> status;
            if (run.ending != Ending::kByItself) {
                // Frames are being drawn once two looks at the window differ.
                Window window = 0;
                std::vector<char> before;
                const bool animated = Within([&] {
                    if ((status = example.Ended())) return true;
                    if (!window) window = FindExampleWindow(display);
                    std::vector<char> now = window ? Picture(display, window) : std::vector<char>();
                    const bool changed = !before.empty() && !now.empty() && now != before;
                    before = std::move(now);
                    return changed;
                });
                ASSERT_FALSE(status) << "ended before it was told to, status " << *status;
                ASSERT_TRUE(animated) << "no window with changing pictures appeared";
                if (run.ending == Ending::kEscape) {
                    XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
                    const KeyCode escape = XKeysymToKeycode(display, XK_Escape);
                    XTestFakeKeyEvent(display, escape, True, 0);
                    XTestFakeKeyEvent(display, escape, False, 0);
                } else {
                    corvex::testing::PressCloseBox(display, window);
                }
                XSync(display, False);
            }
            ASSERT_TRUE(Within([&] { return (status = example.Ended()).has_value(); })) << "still running";
            EXPECT_EQ(0, *status);
            EXPECT_EQ(example_program.output, example.Stdout());
        }
    }
    XCloseDisplay(display);
}
