// Frame pacing on the real clock: 600 frames of Flip(-1) at 60 Hz in a window, against
// a plain loop that presents and then sleeps 1000 / 60 ms, in the same run.
// Prints the total time of each (the goal for Flip(-1) is 10,000 ms within 2 ms) and
// the spread of the frame intervals. "--intervals FILE" also writes every interval to
// FILE, for scripts/plot-frame-times.py: per run a line "run NAME", then one interval in
// milliseconds per line.
#include <GL/gl.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <thread>
#include <vector>

#include "glgraphics/glgraphics.h"

using namespace corvex;
using Clock = std::chrono::steady_clock;

namespace {

constexpr int kFrames = 600;
constexpr int kWarmUpFrames = 10;

struct Run {
    const char* name;
    double total_ms;
    std::vector<double> intervals;
};

void DrawFrame(int frame) {
    glClearColor(static_cast<float>(frame % 60) / 60.0f, 0.3f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
}

// Times kFrames frames, each drawn and then shown by present, after a few frames that
// start the rhythm. The total is the time between the ends of two presents, so a slower
// present at the start (the first ones after a window opens are) would read as drift.
template <class Present>
Run TimeFrames(const char* name, Present present) {
    for (int frame = 0; frame < kWarmUpFrames; ++frame) {
        DrawFrame(frame);
        present();
    }
    Run run{name, 0, {}};
    auto last = Clock::now();
    const auto start = last;
    for (int frame = 1; frame <= kFrames; ++frame) {
        DrawFrame(frame);
        present();
        const auto now = Clock::now();
        run.intervals.push_back(std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    }
    run.total_ms = std::chrono::duration<double, std::milli>(last - start).count();
    return run;
}

void Report(const Run& run) {
    double sum = 0, squares = 0;
    for (double t : run.intervals) sum += t;
    const double mean = sum / static_cast<double>(run.intervals.size());
    for (double t : run.intervals) squares += (t - mean) * (t - mean);
    const auto [low, high] = std::minmax_element(run.intervals.begin(), run.intervals.end());
    std::printf("%-22s total %9.2f ms (%+7.2f ms from 10000)  interval min %6.2f max %6.2f sd %5.2f ms\n", run.name,
                run.total_ms, run.total_ms - 10000.0, *low, *high,
                std::sqrt(squares / static_cast<double>(run.intervals.size())));
}

// Writes the intervals of every run to path; whether it could.
bool WriteIntervals(const char* path, std::initializer_list<Run> runs) {
    FILE* file = std::fopen(path, "w");
    if (!file) return false;
    for (const Run& run : runs) {
        std::fprintf(file, "run %s\n", run.name);
        for (double t : run.intervals) std::fprintf(file, "%.4f\n", t);
    }
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    const bool dump = argc == 3 && std::strcmp(argv[1], "--intervals") == 0;
    if (argc != 1 && !dump) {
        std::fprintf(stderr, "usage: bench_flip_pacing [--intervals FILE]\n");
        return 2;
    }
    InitModule(glgraphics_module);
    if (!Graphics(320, 240, 0, 60, 0)) {
        std::fprintf(stderr, "bench_flip_pacing: no display to open a window on\n");
        return 1;
    }
    const Run paced = TimeFrames("Flip(-1)", [] { Flip(-1); });
    const Run slept = TimeFrames("present + sleep 1/60 s", [] {
        Flip(0);
        std::this_thread::sleep_for(std::chrono::microseconds(1000000 / 60));
    });
    EndGraphics();
    std::printf("%d frames at 60 Hz\n", kFrames);
    Report(paced);
    Report(slept);
    std::printf("deviation ratio (sleep loop / Flip(-1)): %.1f\n",
                std::abs(slept.total_ms - 10000.0) / std::max(0.01, std::abs(paced.total_ms - 10000.0)));
    if (dump && !WriteIntervals(argv[2], {paced, slept})) {
        std::fprintf(stderr, "bench_flip_pacing: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
