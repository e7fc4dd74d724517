#pragma once
// Friction (code 201): a block pulled across a table by a force at an angle, with the friction graph.

#include <QJsonObject>

#include <array>

namespace vlab {

extern double AppliedForce;   // pull set in the panel, newtons
extern double ForceAngle;     // angle of the pull above the horizontal, degrees
extern double BlockHeight;    // height of the block, pixels
extern double BlockWidth;     // width of the block, pixels
extern int FrictionSetCount;  // confirmed set-ups since the Friction button: -1 before the first
extern std::array<double, 4>
    FrictionForces;        // pull, pull minus largest static friction, plotted friction, plotted pull
extern int FrictionTicks;  // timer steps of this run

void FrictionStep();
void FrictionReset();
// The Friction button's own start values, after the selection reset.
void FrictionChosen();
// Setting's steps before the panel opens: a fresh run.
void FrictionSettingUp();
// After the confirmed set-up's first picture: the next run's colour.
void FrictionSetUpDone();
void FrictionDescribe(QJsonObject& out);
void FrictionResetProgramState();

}  // namespace vlab
