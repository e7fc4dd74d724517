// Medians of the pulley's frames against the 1 ms the fastest speed-bar setting allows: a tick of
// arrangement 3 in motion (three blocks, four wheels, three free-body diagrams and three
// equations), and the choice screen that Setting draws.

#include <benchmark/benchmark.h>

#include "draw/shapes.h"
#include "experiments/pulley.h"
#include "frame.h"
#include "lab/lab_state.h"
#include "registry/registry.h"

using namespace vlab;

namespace {

// Arrangement 3 with 2/1/1 kg, 40 ticks into its 73-tick run; every iteration repeats tick 41 from
// the same state, so the picture stays the one of a run in motion.
void BM_PulleyArrangement3Tick(benchmark::State& state) {
    ResetProgramState();
    PulleyReset();
    PulleyArrangement = 3;
    PulleyMassA = 2;
    for (TickCount = 1; TickCount <= 40; ++TickCount) PulleyStep();
    const auto vy = BodyVY, y = BodyY;
    for (auto _ : state) {
        BodyVY = vy;
        BodyY = y;
        PulleyTicks = 40;
        PulleyStep();
        ShowFrame();
    }
}

void BM_PulleyChoiceScreen(benchmark::State& state) {
    ResetProgramState();
    PulleyReset();
    TickCount = 0;
    for (auto _ : state) {
        PulleyStep();
        ShowFrame();
    }
}

BENCHMARK(BM_PulleyArrangement3Tick)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_PulleyChoiceScreen)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
