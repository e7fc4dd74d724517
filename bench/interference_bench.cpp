// The costliest picture of the lab: an interference frame with every source at its 31 rings, the
// fringe column and the graph of the two waves, against the 1 ms the fastest speed-bar setting
// allows.

#include <benchmark/benchmark.h>

#include "draw/figures.h"
#include "experiments/interference.h"
#include "frame.h"
#include "lab/lab_state.h"
#include "registry/registry.h"

using namespace vlab;

namespace {

// Runs red light long enough for all rings to reach their cap, with the probe off the centre so
// that the sum wave swings, then times one tick after another.
void BM_InterferenceFullFrame(benchmark::State& state) {
    ResetProgramState();
    InterferenceReset();
    ProbeY = 96;
    for (TickCount = 0; TickCount < 200; ++TickCount) InterferenceStep();
    for (auto _ : state) {
        ++TickCount;
        InterferenceStep();
        ShowFrame();
    }
}

// The first frame of Setting: the empty tank, the buttons and the formulas.
void BM_InterferenceSetUpFrame(benchmark::State& state) {
    ResetProgramState();
    InterferenceReset();
    for (auto _ : state) {
        TickCount = 0;
        KitSlots.fill(0);
        InterferenceStep();
        ShowFrame();
    }
}

BENCHMARK(BM_InterferenceFullFrame)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_InterferenceSetUpFrame)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
