#include "experiments/wave_superposition.h"

#include "draw/figures.h"
#include "draw/shapes.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "lab/lab_vars.h"

namespace vlab {

std::array<int, 4> WavePlotCounts{};
double PrevY1 = 0.0;
double PrevY2 = 0.0;
double PrevSum = 0.0;
double Y1 = 0.0;
double Y2 = 0.0;
double YSum = 0.0;
double In1 = 0.0;
double In2 = 0.0;
double Front1 = 0.0;
double Front2 = 0.0;

void WaveSuperpositionStep() {}

void WaveSuperpositionReset() {
    Host().SetStepInterval(50);
    WaveVariant = 2;
    // Slots 0 and 2 keep what the plotter left there.
    WavePlotCounts[1] = -1;
    WavePlotCounts[3] = -1;
}

namespace {
// Every variable of the experiment, by its name, with its program-start value.
const LabVars kVars{
    {"WavePlotCounts", WavePlotCounts},
    {"PrevY1", PrevY1},
    {"PrevY2", PrevY2},
    {"PrevSum", PrevSum},
    {"Y1", Y1},
    {"Y2", Y2},
    {"YSum", YSum},
    {"In1", In1},
    {"In2", In2},
    {"Front1", Front1},
    {"Front2", Front2},
};
}  // namespace

void WaveSuperpositionDescribe(QJsonObject& out) { kVars.Describe(out); }

void WaveSuperpositionResetProgramState() { kVars.Restore(); }

}  // namespace vlab
