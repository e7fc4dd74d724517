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

// With TickCount 0 (Setting) draws the choice screen; on every timer tick advances the motion of
// the arrangement picked and redraws it, ending the run when nothing moves or a limit is reached.
void PulleyStep();
// The tension and accelerations of the arrangement picked, from the masses (g = 9.8 m/s^2).
void PulleySolve();
void PulleyReset();
// Draw an arrangement: mode 0 the apparatus at rest (the choice click passes every argument 0),
// mode 1 with the equations of motion. A positive offset raises A and lowers B (arrangements 1, 2);
// in arrangement 3 a positive offsetC lowers C, a positive offsetAB raises A against its pulley.
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
