// Medians of whole experiment ticks: what one step of the timer costs, against the 1 ms the
// fastest speed-bar setting allows.

#include <benchmark/benchmark.h>

#include "experiments/spring_energy.h"
#include "frame.h"
#include "lab/lab_state.h"
#include "registry/registry.h"

using namespace vlab;

namespace {

// A running oscillation with k = 3 and an amplitude of 200 pixels.
void BM_SpringEnergyTick(benchmark::State& state) {
    ResetProgramState();
    SpringEnergyReset();
    SpringConstant = 3;
    SpringDisplacement = 200;
    SpringEnergyStep();
    for (auto _ : state) {
        ++TickCount;
        SpringEnergyStep();
        ShowFrame();
    }
}

// The full picture drawn at set-up and on every drag move.
void BM_SpringEnergySetUpPicture(benchmark::State& state) {
    ResetProgramState();
    SpringEnergyReset();
    SpringDisplacement = 200;
    for (auto _ : state) {
        TickCount = 0;
        SpringEnergyStep();
        ShowFrame();
    }
}

BENCHMARK(BM_SpringEnergyTick)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_SpringEnergySetUpPicture)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
