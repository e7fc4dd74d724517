// Medians of the friction experiment's frames against the 1 ms of the fastest speed-bar setting:
// a tick while the block slides (strip, table, pull and friction arrows with their labels, block
// and graph dot) and the first set-up after choosing Friction (the whole surface, the hatched graph
// area and both axes).

#include <benchmark/benchmark.h>

#include "draw/shapes.h"
#include "experiments/friction.h"
#include "frame.h"
#include "lab/lab_state.h"
#include "registry/registry.h"
#include "registry/run_record.h"

using namespace vlab;

namespace {

// 120 N at 30 degrees, lying block, on tick 450: the block slides with a 45 N pull.
// A 120 N pull at 30 degrees on the lying block, its run under way.
void SetUpSlidingFriction() {
    ResetProgramState();
    ExperimentCode = CodeOf("Friction");
    AppliedForce = 120;
    ForceAngle = 30;
    BlockHeight = 50;
    FrictionSetCount = 0;
}

// Held on the same tick, so that every frame draws the same picture.
void SlidingTick() {
    TickCount = 450;
    FrictionTicks = 449;
    FrictionForces[0] = 44;
    BodyX[0] = 300;
    BodyVX[0] = 20;
    FrictionStep();
}

void BM_FrictionSlidingTick(benchmark::State& state) {
    SetUpSlidingFriction();
    for (auto _ : state) {
        SlidingTick();
        ShowFrame();
    }
}

// The same tick with the run's numbers recorded after it, as the lab window's step does: the
// difference is what recording costs a tick. A full record starts again, so every frame records.
void BM_FrictionSlidingTickRecorded(benchmark::State& state) {
    SetUpSlidingFriction();
    StartRunRecord();
    for (auto _ : state) {
        SlidingTick();
        RecordTick();
        if (RecordedRows() == kRecordedRowLimit) StartRunRecord();
        ShowFrame();
    }
}

void BM_FrictionFirstSetUp(benchmark::State& state) {
    ResetProgramState();
    ExperimentCode = CodeOf("Friction");
    for (auto _ : state) {
        TickCount = 0;
        FrictionSetCount = -1;
        FrictionStep();
        ShowFrame();
    }
}

BENCHMARK(BM_FrictionSlidingTick)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FrictionSlidingTickRecorded)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_FrictionFirstSetUp)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
