// Collision tests against a layer of 1,000 sprites: each frame places 10,000 discs, in
// ten poses turned and scaled, and tests them against the layer without writing them.
// Runs on the headless context (nothing is drawn); us_per_test is microseconds of
// processor time per test (the machine may be shared).
#include <benchmark/benchmark.h>

#include <ctime>
#include <random>
#include <vector>

#include "draw2d/draw2d.h"
#include "headless/draw2d/recording.h"

namespace {

using namespace corvex;

constexpr int kWidth = 1024, kHeight = 768;
constexpr int kSprites = 1000, kTestsPerFrame = 10000, kPoses = 10;

// A size x size sprite, opaque inside its circle, with its handle at the centre.
Ref<TImage> Disc(int size) {
    Ref<TPixmap> pixels = CreatePixmap(size, size, PF_RGBA8888);
    const float r = size * 0.5f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float dx = x + 0.5f - r, dy = y + 0.5f - r;
            pixels->WritePixel(x, y, dx * dx + dy * dy <= r * r ? 0xFFFFFFFF : 0);
        }
    }
    Ref<TImage> image = LoadImage(pixels, 0);
    MidHandleImage(image);
    return image;
}

void BM_CollideImageAgainstSprites(benchmark::State& state) {
    InitModule(platformdraw2d_module);
    if (!Graphics(kWidth, kHeight, 0, 0, 0)) {
        state.SkipWithError("no headless context");
        return;
    }
    const Ref<TImage> sprite = Disc(32);
    std::minstd_rand random(1);
    std::uniform_real_distribution<float> across(0, kWidth), down(0, kHeight), turn(0, 360), scale(0.5f, 1.5f);
    ResetCollisions();
    for (int i = 0; i < kSprites; ++i) {
        SetTransform(turn(random), scale(random), scale(random));
        CollideImage(sprite, across(random), down(random), 0, 0, COLLISION_LAYER_1);
    }
    struct Place {
        float x, y;
    };
    std::vector<Place> places(kTestsPerFrame);
    for (Place& p : places) p = {across(random), down(random)};
    long hits = 0;
    const std::clock_t start = std::clock();
    for (auto _ : state) {
        for (int pose = 0; pose < kPoses; ++pose) {
            SetTransform(pose * 36.0f, 0.75f + pose * 0.05f, 1.25f - pose * 0.05f);
            for (int i = pose; i < kTestsPerFrame; i += kPoses) {
                const Place& p = places[static_cast<size_t>(i)];
                hits += CollideImage(sprite, p.x, p.y, 0, COLLISION_LAYER_1, 0).Length();
            }
        }
    }
    const double cpu_us = static_cast<double>(std::clock() - start) * 1e6 / CLOCKS_PER_SEC;
    const double tests = static_cast<double>(state.iterations()) * kTestsPerFrame;
    state.counters["us_per_test"] = cpu_us / tests;
    state.counters["hits_per_test"] = static_cast<double>(hits) / tests;
    ResetCollisions();
    EndGraphics();
}
BENCHMARK(BM_CollideImageAgainstSprites)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
