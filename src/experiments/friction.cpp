#include "experiments/friction.h"

#include "draw/shapes.h"
#include "shell/lab_dump.h"
#include "shell/lab_host.h"
#include "shell/lab_state.h"

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

void FrictionDescribe(QJsonObject& out) {
    Put(out, "AppliedForce", AppliedForce);
    Put(out, "ForceAngle", ForceAngle);
    Put(out, "BlockHeight", BlockHeight);
    Put(out, "BlockWidth", BlockWidth);
    Put(out, "FrictionSetCount", FrictionSetCount);
    Put(out, "FrictionForces", FrictionForces);
    Put(out, "FrictionTicks", FrictionTicks);
}

void FrictionResetProgramState() {
    AppliedForce = 120.0;
    ForceAngle = 0.0;
    BlockHeight = 100.0;
    BlockWidth = 50.0;
    FrictionSetCount = -1;
    FrictionForces.fill(0);
    FrictionTicks = 0;
}

}  // namespace vlab
