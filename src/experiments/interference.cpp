#include "experiments/interference.h"

#include "draw/figures.h"
#include "draw/shapes.h"
#include "shell/lab_dump.h"
#include "shell/lab_host.h"
#include "shell/lab_state.h"

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

void InterferenceDescribe(QJsonObject& out) {
    Put(out, "LightChoice", LightChoice);
    Put(out, "WaveFactor", WaveFactor);
    Put(out, "SlitHalfGap", SlitHalfGap);
    Put(out, "SlitCentreY", SlitCentreY);
    Put(out, "SourceSlitX", SourceSlitX);
    Put(out, "ScreenX", ScreenX);
    Put(out, "ProbeY", ProbeY);
    Put(out, "PathToUpperSlit", PathToUpperSlit);
    Put(out, "PathDiff", PathDiff);
    Put(out, "PhaseHalfWaves", PhaseHalfWaves);
}

void InterferenceResetProgramState() {
    LightChoice = 0;
    WaveFactor = 4.0;
    SlitHalfGap = 40.0;
    SlitCentreY = 110.0;
    SourceSlitX = 100.0;
    ScreenX = 500.0;
    ProbeY = 110.0;
    PathToUpperSlit = 0.0;
    PathDiff = 0.0;
    PhaseHalfWaves = 1.0;
}

}  // namespace vlab
