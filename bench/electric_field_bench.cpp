// Medians of the electric field's frames against the 1 ms the fastest speed-bar setting allows:
// the set-up picture with its grid of 1504 arrows around four charges is the heaviest.

#include <benchmark/benchmark.h>

#include "draw/canvas.h"
#include "draw/figures.h"
#include "experiments/electric_field.h"
#include "frame.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "registry/registry.h"

using namespace vlab;

namespace {

// The panel confirmed on four charges.
class FourCharges : public NullHost {
public:
    QString ChargeLayoutText() override { return QStringLiteral("四个点电荷"); }
};
FourCharges host;

void SetUp() {
    SetHost(&host);
    ResetProgramState();
    ElectricFieldReset();
    ElectricFieldChosen();  // as the lab does when the experiment is chosen
    ChargeQ[0] = 3, ChargeQ[1] = -2, ChargeQ[2] = 4, ChargeQ[3] = -1;
    ElectricFieldStep();
    MouseClickActive = 1;
    ElectricFieldMouseDown(300, 280);
}

// The picture drawn on the first tick and on every press before Start, as at set-up: cleared
// surface, grid, test point with the four field arrows and their resultant.
void BM_ElectricFieldGridFrame(benchmark::State& state) {
    SetUp();
    for (auto _ : state) {
        TickCount = 0;
        ElectricFieldStep();
        ShowFrame();
    }
}

// The same picture the first time for its charges: the grid is worked out as well as drawn (the
// fourth charge alternates between two sizes, so that no frame finds the grid of the frame
// before; the charges keep their places and signs).
void BM_ElectricFieldFirstGridFrame(benchmark::State& state) {
    SetUp();
    for (auto _ : state) {
        ChargeQ[3] = ChargeQ[3] == -1 ? -2 : -1;
        TickCount = 0;
        ElectricFieldStep();
        ShowFrame();
    }
}

// What choosing the experiment adds: the grid's geometry for every charge place of the three
// layouts, with either sign (not a frame: the lab draws its title and opens the help page then).
void BM_ElectricFieldChosen(benchmark::State& state) {
    SetUp();
    for (auto _ : state) {
        state.PauseTiming();
        Surface().cache().reset();
        state.ResumeTiming();
        ElectricFieldChosen();
    }
}

// A tick of the flight, from tick 2 on: charges, buttons, trail and the moving charge only.
void BM_ElectricFieldFlightTick(benchmark::State& state) {
    SetUp();
    ElectricFieldMouseDown(615, 80);
    TickCount = 2;
    for (auto _ : state) {
        // The flight loops round the +3 charge for some 660 ticks; start it again before it leaves.
        if (TickCount > 600) {
            TestX = 300, TestY = 280;
            TickCount = 0;
        }
        ++TickCount;
        ElectricFieldStep();
        ShowFrame();
    }
}

BENCHMARK(BM_ElectricFieldGridFrame)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ElectricFieldFirstGridFrame)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ElectricFieldChosen)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_ElectricFieldFlightTick)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
