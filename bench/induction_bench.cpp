// Medians of the induction experiment's busiest frames, against the 1 ms the fastest speed-bar
// setting allows: a running frame with the current arrows drawn, and the set-up frame that clears
// and hatches the graph area, in each mode.

#include <benchmark/benchmark.h>

#include "experiments/induction.h"
#include "frame.h"
#include "lab/lab_state.h"
#include "registry/registry.h"

using namespace vlab;

namespace {

void SetUp(int mode) {
    ResetProgramState();
    InductionReset();
    InductionMode = mode;
    FieldDirection = 1;
    TickCount = 0;
    InductionStep();
}

// The loop entering the field at tick 100: 45 field symbols, the loop, two current arrows, two
// graph dots and four axes.
void BM_InductionLoopTick(benchmark::State& state) {
    SetUp(0);
    for (auto _ : state) {
        TickCount = 100;
        InductionStep();
        ShowFrame();
    }
}

// The coil entering the band: 40 field symbols, the wedge, the coil, two current arrows.
void BM_InductionCoilTick(benchmark::State& state) {
    SetUp(1);
    for (auto _ : state) {
        TickCount = 110;
        CoilTravel = 160;
        CoilSpeed = 30;
        InductionStep();
        ShowFrame();
    }
}

// Tick 0 of either mode: the whole surface cleared and the graph area cross-hatched.
void BM_InductionSetUpFrame(benchmark::State& state) {
    SetUp(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        TickCount = 0;
        InductionStep();
        ShowFrame();
    }
}

BENCHMARK(BM_InductionLoopTick)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_InductionCoilTick)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_InductionSetUpFrame)->Arg(0)->Arg(1)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
