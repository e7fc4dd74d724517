// Medians of collision ticks against the 1 ms the fastest speed-bar setting allows: the busiest
// tick is one in contact, which runs the 100 sub-steps of the spring before it redraws.

#include <benchmark/benchmark.h>

#include "draw/shapes.h"
#include "experiments/collision.h"
#include "frame.h"
#include "lab/lab_state.h"
#include "registry/registry.h"

using namespace vlab;

namespace {

// The reset values (5 kg at 10 against 1 kg at -10) run up to the middle of the contact; every
// iteration replays that tick from the same state, so it stays a contact tick.
void BM_CollisionContactTick(benchmark::State& state) {
    ResetProgramState();
    CollisionReset();
    CollisionStep();
    while (TickCount < 100 && BodyX[1] - BodyX[0] > 90) {
        ++TickCount;
        CollisionStep();
    }
    const auto x = BodyX;
    const auto v = BodyVX;
    const int tick = TickCount;
    for (auto _ : state) {
        BodyX = x;
        BodyVX = v;
        TickCount = tick + 1;
        CollisionStep();
        ShowFrame();
    }
}

// A free-flight tick, for comparison: the same picture without the sub-steps.
void BM_CollisionFlightTick(benchmark::State& state) {
    ResetProgramState();
    CollisionReset();
    CollisionStep();
    TickCount = 1;
    CollisionStep();
    const auto x = BodyX;
    for (auto _ : state) {
        BodyX = x;
        TickCount = 2;
        CollisionStep();
        ShowFrame();
    }
}

// The set-up picture drawn by Setting.
void BM_CollisionSetUpPicture(benchmark::State& state) {
    ResetProgramState();
    CollisionReset();
    for (auto _ : state) {
        TickCount = 0;
        CollisionStep();
        ShowFrame();
    }
}

BENCHMARK(BM_CollisionContactTick)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CollisionFlightTick)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_CollisionSetUpPicture)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
