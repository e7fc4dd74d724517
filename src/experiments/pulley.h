#pragma once
// Pulley systems (code 202): two or three hanging masses on fixed and movable pulleys.

#include <QJsonObject>

#include <array>

namespace vlab {

extern double PulleyMassA;     // mass of A, set in the panel
extern double PulleyMassB;     // mass of B
extern double PulleyMassC;     // mass of C (arrangement 3)
extern int PulleyArrangement;  // arrangement picked on the surface, 1 to 3 (0: none yet); kept by the reset
extern double PulleyTension;   // tension of the rope that carries A and B, newtons
extern std::array<double, 4> PulleyMotion;  // accelerations a and a1, and a's numerator and denominator
extern int PulleyTicks;                     // timer steps of this run

void PulleyStep();
void PulleyReset();
// Draw an arrangement; the choice click calls them with every argument 0 (the apparatus at rest).
// Their pictures come with the pulley experiment itself; until then they draw nothing.
void DrawPulleyArrangement1(double offset, int mode);
void DrawPulleyArrangement2(double offset, int mode);
void DrawPulleyArrangement3(double offsetC, double offsetAB, int mode);
// The choice of arrangement on the surface between Setting and the panel.
void PulleyMouseDown(int x, int y);
void PulleyMouseMove(int x, int y);
void PulleyMouseUp(int x, int y);
void PulleyDescribe(QJsonObject& out);
void PulleyResetProgramState();

}  // namespace vlab
