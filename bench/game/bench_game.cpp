// The meadow game's world pass: TDO::render over 302 (the game's start), 10,000 and
// 100,000 objects, one frame per iteration. It draws through the headless platform's
// recording driver with no trace open, so nothing is drawn: what is measured is the
// sort, the rules of the three kinds, the projection and the drawing layer's own work.
// The world starts in depth order, as it stands after its first frame (whose sort of a
// random world costs n² / 2 comparisons); from then on a pass sorts a world that was in
// order the frame before, which costs one comparison per object plus one per place that
// a moving bee overtakes. With the debugger built in, this program runs the instrumented
// game with the debugger started and bench_game_plain the game without either.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "draw2d/draw2d.h"
#include "game/tarvolin.h"
#include "graphics/graphics.h"
#include "umbrella/umbrella.h"
#ifdef BENCH_WITH_DEBUGGER
#include "debugger/debugger.h"
#endif

namespace {

using namespace corvex;
using tarvolin::TDO;

void OpenGraphics() {
    static const bool opened = [] {
        InitModule(umbrella_module);
#ifdef BENCH_WITH_DEBUGGER
        InitModule(debugger_module);
#endif
        Graphics(1024, 768, 0, 60, 0);
        SetOrigin(512, 384);
        tarvolin::bee = CreateImage(10, 7);
        tarvolin::bee2 = CreateImage(10, 7);
        tarvolin::cloudimage = CreateImage(18, 24, 4);
        for (Ref<TImage>* image : {&tarvolin::flower, &tarvolin::flower2, &tarvolin::flower3, &tarvolin::flower4}) {
            *image = CreateImage(9, 18, 8);
        }
        return true;
    }();
    (void)opened;
}

// A world of the given size in depth order, as it stands after its first frame.
void MakeWorld(int objects) {
    OpenGraphics();
    TDO::TDO_list = nullptr;
    TDO::followTarget = nullptr;
    for (int i = 1; i < objects; ++i) New<TDO>();
    tarvolin::cloud = New<TDO>();
    tarvolin::cloud->cloudMe();
    Array<Ref<Object>> world = TDO::TDO_list->ToArray();
    std::stable_sort(world.begin(), world.end(),
                     [](const Ref<Object>& a, const Ref<Object>& b) { return Cast<TDO>(a)->z < Cast<TDO>(b)->z; });
    TDO::TDO_list = ListFromArray(world);
}

void EndWorld(benchmark::State& state, int objects) {
    state.counters["per_object"] = benchmark::Counter(static_cast<double>(state.iterations()) * objects,
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    TDO::TDO_list = nullptr;
    tarvolin::cloud = nullptr;
}

void BM_WorldPass(benchmark::State& state) {
    const int objects = static_cast<int>(state.range(0));
    MakeWorld(objects);
    for (auto _ : state) TDO::render();
    EndWorld(state, objects);
}
BENCHMARK(BM_WorldPass)->Arg(302)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The sort at the start of a pass alone, after the bees have moved in the pass before:
// the part of the pass whose cost grows with how many places they overtake.
void BM_WorldSort(benchmark::State& state) {
    const int objects = static_cast<int>(state.range(0));
    MakeWorld(objects);
    for (auto _ : state) {
        state.PauseTiming();
        TDO::render();
        state.ResumeTiming();
        SortList(TDO::TDO_list, true, CompareObjects);
    }
    EndWorld(state, objects);
}
BENCHMARK(BM_WorldSort)->Arg(302)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
