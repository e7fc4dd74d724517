#include "experiments/pulley.h"

#include "draw/shapes.h"
#include "shell/lab_dump.h"
#include "shell/lab_host.h"
#include "shell/lab_state.h"

namespace vlab {

double PulleyMassA = 1.0;
double PulleyMassB = 1.0;
double PulleyMassC = 1.0;
int PulleyArrangement = 0;
double PulleyTension = 0.0;
std::array<double, 4> PulleyMotion{};
int PulleyTicks = 0;

void PulleyStep() {}

void PulleyReset() {
    Host().StopTimer();
    Host().SetStepInterval(100);
    PulleyTension = 0.0;
    PulleyMassA = PulleyMassB = PulleyMassC = 1.0;
    PulleyMotion.fill(0.0);
    BodyY[0] = BodyX[0] = BodyVY[0] = BodyVY[1] = BodyVX[0] = BodyY[1] = 0.0;
    PulleyTicks = 0;
}

void PulleyDescribe(QJsonObject& out) {
    Put(out, "PulleyMassA", PulleyMassA);
    Put(out, "PulleyMassB", PulleyMassB);
    Put(out, "PulleyMassC", PulleyMassC);
    Put(out, "PulleyArrangement", PulleyArrangement);
    Put(out, "PulleyTension", PulleyTension);
    Put(out, "PulleyMotion", PulleyMotion);
    Put(out, "PulleyTicks", PulleyTicks);
}

void PulleyResetProgramState() {
    PulleyMassA = 1.0;
    PulleyMassB = 1.0;
    PulleyMassC = 1.0;
    PulleyArrangement = 0;
    PulleyTension = 0.0;
    PulleyMotion.fill(0);
    PulleyTicks = 0;
}

}  // namespace vlab
