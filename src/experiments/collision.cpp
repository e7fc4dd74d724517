#include "experiments/collision.h"

#include "draw/shapes.h"
#include "experiments/wave_superposition.h"
#include "shell/lab_dump.h"
#include "shell/lab_host.h"
#include "shell/lab_state.h"

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

void CollisionDescribe(QJsonObject& out) {
    Put(out, "CollisionMassA", CollisionMassA);
    Put(out, "CollisionVelA", CollisionVelA);
    Put(out, "CollisionMassB", CollisionMassB);
    Put(out, "CollisionVelB", CollisionVelB);
    Put(out, "CollisionEint0", CollisionEint0);
}

void CollisionResetProgramState() {
    CollisionMassA = 5.0;
    CollisionVelA = 10.0;
    CollisionMassB = 1.0;
    CollisionVelB = -10.0;
    CollisionEint0 = 0.0;
}

}  // namespace vlab
