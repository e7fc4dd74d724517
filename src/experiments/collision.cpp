#include "experiments/collision.h"

#include "draw/shapes.h"
#include "experiments/wave_superposition.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "lab/lab_vars.h"

namespace vlab {

double CollisionMassA = 5.0;
double CollisionVelA = 10.0;
double CollisionMassB = 1.0;
double CollisionVelB = -10.0;
double CollisionEint0 = 0.0;

void CollisionStep() {}

void CollisionReset() {
    WavePlotCounts.fill(0);
    CollisionMassA = 5.0;
    CollisionVelA = 10.0;
    CollisionMassB = 1.0;
    CollisionVelB = -10.0;
    Host().SetStepInterval(30);
}

namespace {
// Every variable of the experiment, by its name, with its program-start value.
const LabVars kVars{
    {"CollisionMassA", CollisionMassA}, {"CollisionVelA", CollisionVelA},
    {"CollisionMassB", CollisionMassB}, {"CollisionVelB", CollisionVelB},
    {"CollisionEint0", CollisionEint0},
};
}  // namespace

void CollisionDescribe(QJsonObject& out) { kVars.Describe(out); }

void CollisionResetProgramState() { kVars.Restore(); }

}  // namespace vlab
