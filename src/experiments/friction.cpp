#include "experiments/friction.h"

#include "draw/shapes.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "lab/lab_vars.h"

namespace vlab {

double AppliedForce = 120.0;
double ForceAngle = 0.0;
double BlockHeight = 100.0;
double BlockWidth = 50.0;
int FrictionSetCount = -1;
std::array<double, 4> FrictionForces{};
int FrictionTicks = 0;

void FrictionStep() {}

void FrictionReset() {
    // Step interval first: the speed bar follows it.
    Host().SetStepInterval(50);
    FrictionForces.fill(0.0);
    BlockHeight = 100.0;
    BlockWidth = 50.0;
    BodyVX[0] = 0.0;
    BodyX[0] = 0.0;
}

void FrictionChosen() {
    FrictionSetCount = -1;
    ForceAngle = 0.0;
    AppliedForce = 120.0;
}

void FrictionSettingUp() {
    FrictionTicks = 0;
    FrictionForces.fill(0.0);
    BodyVX[0] = 0.0;
    BodyX[0] = 0.0;
}

void FrictionSetUpDone() { FrictionSetCount += 1; }

namespace {
// Every variable of the experiment, by its name, with its program-start value.
const LabVars kVars{
    {"AppliedForce", AppliedForce},         {"ForceAngle", ForceAngle},
    {"BlockHeight", BlockHeight},           {"BlockWidth", BlockWidth},
    {"FrictionSetCount", FrictionSetCount}, {"FrictionForces", FrictionForces},
    {"FrictionTicks", FrictionTicks},
};
}  // namespace

void FrictionDescribe(QJsonObject& out) { kVars.Describe(out); }

void FrictionResetProgramState() { kVars.Restore(); }

}  // namespace vlab
