#pragma once
// Two-block collision (code 204): two blocks meet through a spring; kinetic and internal energy.

#include <QJsonObject>

#include <array>

namespace vlab {

extern double CollisionMassA;  // mass of the red block A, 1 to 5
extern double CollisionVelA;   // initial velocity of A, -10 to 10 (positive: to the right)
extern double CollisionMassB;  // mass of the blue block B, 1 to 5
extern double CollisionVelB;   // initial velocity of B, -10 to 10
extern double CollisionEint0;  // internal kinetic energy at tick 1, the reference for the spring's energy

void CollisionStep();
void CollisionReset();
void CollisionDescribe(QJsonObject& out);
void CollisionResetProgramState();

}  // namespace vlab
