#pragma once
// Double-slit interference (code 205): plane and circular wavefronts, the probe on the screen and its graphs.

#include <QJsonObject>

namespace vlab {

extern int LightChoice;         // 0 red light, 1 violet light
extern double WaveFactor;       // 5 - LightChoice: a third of the wavelength, pixels advanced per step
extern double SlitHalfGap;      // distance of each slit from the centre line, pixels: 30, 40 or 50
extern double SlitCentreY;      // y of the slit centre line
extern double SourceSlitX;      // x of the single-slit barrier; the double slit stands at twice this
extern double ScreenX;          // x of the observation point
extern double ProbeY;           // y of the observation point, 11 to 209
extern double PathToUpperSlit;  // distance from the probe to the upper slit
extern double PathDiff;         // path difference r1 - r2 at the probe
extern double PhaseHalfWaves;   // path difference in half wavelengths

void InterferenceStep();

// The two waves the graph plots for the observation point and their sum, as heights above the
// graph's centre line in pixels, where the curves start at its left end (x 10). The curves move
// right, so what the left end shows is the newest. All 0 while the slit waves have not reached
// the screen and no graph is drawn.
struct ProbeWaves {
    double a = 0;    // the wave shifted by the path difference
    double b = 0;    // the wave without it
    double sum = 0;  // the yellow superposition
};
ProbeWaves ProbeWavesNow();
void InterferenceReset();
void InterferenceMouseDown(int x, int y);
void InterferenceMouseMove(int x, int y);
void InterferenceMouseUp(int x, int y);
void InterferenceDescribe(QJsonObject& out);
void InterferenceResetProgramState();

}  // namespace vlab
