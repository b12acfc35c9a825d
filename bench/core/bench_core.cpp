// The per-frame depth sort of the world list, and the random draws.
//
// Each iteration nudges every depth a little (as a frame of movement does) and sorts the
// list again. BM_Nudge measures the nudging alone, as the baseline to subtract.
#include <benchmark/benchmark.h>

#include "linkedlist/linkedlist.h"
#include "random/random.h"

using namespace corvex;

namespace {

struct Depth : Object {
    explicit Depth(float d) : depth(d) {}
    float depth;
};

// Like the game's order: by depth, never equal.
int ByDepth(Object* a, Object* b) { return static_cast<Depth*>(a)->depth > static_cast<Depth*>(b)->depth ? 1 : -1; }

Ref<TList> SortedDepths(int n) {
    auto list = CreateList();
    for (int i = 0; i < n; ++i) list->AddLast(New<Depth>(static_cast<float>(i)));
    return list;
}

void Nudge(TList& list) {
    for (const Ref<Object>& o : list) static_cast<Depth*>(o.get())->depth += static_cast<float>(Rnd(-1.5, 1.5));
}

void BM_SortNearlySorted(benchmark::State& state) {
    auto list = SortedDepths(static_cast<int>(state.range(0)));
    SeedRnd(4660);
    for (auto _ : state) {
        Nudge(*list);
        list->Sort(true, ByDepth);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Nudge(benchmark::State& state) {
    auto list = SortedDepths(static_cast<int>(state.range(0)));
    SeedRnd(4660);
    for (auto _ : state) Nudge(*list);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_Rand(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Rand(1, 1000));
}

void BM_Rnd(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Rnd(-5000, 5000));
}

}  // namespace

BENCHMARK(BM_Nudge)->Arg(302)->Arg(100000);
BENCHMARK(BM_SortNearlySorted)->Arg(302)->Arg(100000);
BENCHMARK(BM_Rand);
BENCHMARK(BM_Rnd);
