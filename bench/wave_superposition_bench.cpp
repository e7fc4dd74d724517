// Medians of whole wave superposition frames against the 1 ms the fastest speed-bar setting
// allows: the busiest frame is the best overlap, where every column of the meeting draws two
// dotted pulse lines and the thick sum line.

#include <benchmark/benchmark.h>

#include "draw/figures.h"
#include "experiments/wave_superposition.h"
#include "frame.h"
#include "lab/lab_state.h"
#include "registry/registry.h"

using namespace vlab;

namespace {

// Pair C at step 200: 119 overlapping columns.
void BM_WaveSuperpositionOverlapFrame(benchmark::State& state) {
    ResetProgramState();
    WaveSuperpositionReset();
    WaveVariant = 4;
    for (auto _ : state) {
        WavePlotCounts[1] = 199;
        WaveSuperpositionStep();
        ShowFrame();
    }
}

// Pair C at step 100: the pulses apart, silver only.
void BM_WaveSuperpositionApartFrame(benchmark::State& state) {
    ResetProgramState();
    WaveSuperpositionReset();
    WaveVariant = 4;
    for (auto _ : state) {
        WavePlotCounts[1] = 99;
        WaveSuperpositionStep();
        ShowFrame();
    }
}

BENCHMARK(BM_WaveSuperpositionOverlapFrame)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_WaveSuperpositionApartFrame)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
