#pragma once
// Two-block collision (code 204): two blocks meet through a spring; kinetic and internal energy.

#include <QJsonObject>

namespace vlab {

extern double CollisionMassA;  // mass of the red block A, 1 to 5
extern double CollisionVelA;   // initial velocity of A, -10 to 10 (positive: to the right)
extern double CollisionMassB;  // mass of the blue block B, 1 to 5
extern double CollisionVelB;   // initial velocity of B, -10 to 10
extern double CollisionEint0;  // internal kinetic energy at tick 1, the reference for the spring's energy

// The quantities of the last running tick, as plotted (energies in mass x (pixels per time unit)^2).
extern double CollisionVcm;     // velocity of the centre of mass
extern double CollisionEcm;     // kinetic energy of the centre of mass
extern double CollisionEint;    // internal kinetic energy (motion relative to the centre of mass)
extern double CollisionEs;      // elastic energy of the spring: CollisionEint0 - CollisionEint
extern double CollisionEtotal;  // Es + Ecm + Eint, rounded to 8 decimals

void CollisionStep();
// Advances the spring contact of blocks A and B (BodyX/BodyVX slots 0 and 1) by one tick, split
// into subSteps equal sub-steps.
void StepBodies(int subSteps);
void CollisionReset();
void CollisionMouseUp(int x, int y);
void CollisionDescribe(QJsonObject& out);
void CollisionResetProgramState();

}  // namespace vlab
