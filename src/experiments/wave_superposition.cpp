#include "experiments/wave_superposition.h"

#include "draw/figures.h"
#include "draw/shapes.h"
#include "shell/lab_dump.h"
#include "shell/lab_host.h"
#include "shell/lab_state.h"

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

void WaveSuperpositionDescribe(QJsonObject& out) {
    Put(out, "WavePlotCounts", WavePlotCounts);
    Put(out, "PrevY1", PrevY1);
    Put(out, "PrevY2", PrevY2);
    Put(out, "PrevSum", PrevSum);
    Put(out, "Y1", Y1);
    Put(out, "Y2", Y2);
    Put(out, "YSum", YSum);
    Put(out, "In1", In1);
    Put(out, "In2", In2);
    Put(out, "Front1", Front1);
    Put(out, "Front2", Front2);
}

void WaveSuperpositionResetProgramState() {
    WavePlotCounts.fill(0);
    PrevY1 = 0.0;
    PrevY2 = 0.0;
    PrevSum = 0.0;
    Y1 = 0.0;
    Y2 = 0.0;
    YSum = 0.0;
    In1 = 0.0;
    In2 = 0.0;
    Front1 = 0.0;
    Front2 = 0.0;
}

}  // namespace vlab
