#pragma once
// Pulley systems (code 202): two or three hanging masses on fixed and movable pulleys.

#include <QJsonObject>
#include <array>

namespace vlab {

extern double PulleyMassA;                  // mass of A, set in the panel
extern double PulleyMassB;                  // mass of B
extern double PulleyMassC;                  // mass of C (arrangement 3)
extern int PulleyArrangement;               // arrangement picked on the surface, 1 to 3 (0: none yet); kept by the reset
extern double PulleyTension;                // tension of the rope that carries A and B, newtons
extern std::array<double, 4> PulleyMotion;  // accelerations a and a1, and a's numerator and denominator
extern int PulleyTicks;                     // timer steps of this run

void PulleyStep();
void PulleyReset();
void PulleyDescribe(QJsonObject& out);
void PulleyResetProgramState();

}  // namespace vlab
