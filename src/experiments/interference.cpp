#include "experiments/interference.h"

#include "draw/figures.h"
#include "draw/shapes.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "lab/lab_vars.h"

namespace vlab {

int LightChoice = 0;
double WaveFactor = 4.0;
double SlitHalfGap = 40.0;
double SlitCentreY = 110.0;
double SourceSlitX = 100.0;
double ScreenX = 500.0;
double ProbeY = 110.0;
double PathToUpperSlit = 0.0;
double PathDiff = 0.0;
double PhaseHalfWaves = 1.0;

void InterferenceStep() {}

void InterferenceReset() {
    WaveFactor = 4.0;
    SlitHalfGap = 40.0;
    SlitCentreY = 110.0;
    SourceSlitX = 100.0;
    ScreenX = 500.0;
    ProbeY = 110.0;
    LightChoice = 0;
    PhaseHalfWaves = 1.0;
    KitSlots.fill(0);
    // Asks for 400 ms on a 100..700 bar; the speed-bar rule pulls the bar and the interval back
    // to the ordinary range, so the run steps every 100 ms.
    Host().SetTimerInterval(400);
    Host().SetSpeedBar(100, 700, 400, 10);
}

namespace {
// Every variable of the experiment, by its name, with its program-start value.
const LabVars kVars{
    {"LightChoice", LightChoice}, {"WaveFactor", WaveFactor},
    {"SlitHalfGap", SlitHalfGap}, {"SlitCentreY", SlitCentreY},
    {"SourceSlitX", SourceSlitX}, {"ScreenX", ScreenX},
    {"ProbeY", ProbeY},           {"PathToUpperSlit", PathToUpperSlit},
    {"PathDiff", PathDiff},       {"PhaseHalfWaves", PhaseHalfWaves},
};
}  // namespace

void InterferenceDescribe(QJsonObject& out) { kVars.Describe(out); }

void InterferenceResetProgramState() { kVars.Restore(); }

}  // namespace vlab
