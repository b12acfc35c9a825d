// Every input query pumps the system first and a frame asks about ten of them, so an
// empty pump must stay cheap. The baseline is one zero-timeout poll() of a pipe, the
// cheapest look at a file descriptor, measured in the same run.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <unistd.h>

#include "polledinput/polledinput.h"
#include "system/system.h"

#include <X11/Xlib.h>

#include "x11/x11.h"

using namespace corvex;

namespace {

// A mapped window of ours, as during a game, so that the pump has a connection to read.
void OpenWindow() {
    static bool opened = false;
    Display* display = X11Display();
    if (opened || !display) return;
    opened = true;
    Window w = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 64, 64, 0, 0, 0);
    X11RegisterWindow(w, nullptr, nullptr, nullptr);
    XMapWindow(display, w);
    XSync(display, False);
    PollSystem();
}

void BM_BaselinePollOfAPipe(benchmark::State& state) {
    int fds[2];
    if (pipe(fds) != 0) state.SkipWithError("no pipe");
    pollfd p{fds[0], POLLIN, 0};
    for (auto _ : state) benchmark::DoNotOptimize(poll(&p, 1, 0));
    close(fds[0]);
    close(fds[1]);
}
BENCHMARK(BM_BaselinePollOfAPipe);

void BM_PollSystemEmptyQueue(benchmark::State& state) {
    InitModule(polledinput_module);
    OpenWindow();
    if (!X11Display()) state.SetLabel("no display: main-thread operations only");
    for (auto _ : state) PollSystem();
}
BENCHMARK(BM_PollSystemEmptyQueue);

// The ten questions of one frame, each pumping first.
void BM_TenInputQueries(benchmark::State& state) {
    InitModule(polledinput_module);
    OpenWindow();
    EnablePolledInput();
    for (auto _ : state) {
        int n = KeyDown(KEY_LEFT) + KeyDown(KEY_RIGHT) + KeyDown(KEY_UP) + KeyDown(KEY_DOWN) + KeyHit(KEY_ESCAPE);
        n += MouseX() + MouseY() + MouseHit(MOUSE_LEFT) + MouseDown(MOUSE_LEFT) + AppTerminate();
        benchmark::DoNotOptimize(n);
    }
    DisablePolledInput();
}
BENCHMARK(BM_TenInputQueries);

}  // namespace

BENCHMARK_MAIN();
