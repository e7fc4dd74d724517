#include "experiments/pulley.h"

#include "draw/shapes.h"
#include "shell/lab_host.h"
#include "shell/lab_state.h"
#include "shell/lab_vars.h"

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

namespace {
// Every variable of the experiment, by its name, with its program-start value.
const LabVars kVars{
    {"PulleyMassA", PulleyMassA},
    {"PulleyMassB", PulleyMassB},
    {"PulleyMassC", PulleyMassC},
    {"PulleyArrangement", PulleyArrangement},
    {"PulleyTension", PulleyTension},
    {"PulleyMotion", PulleyMotion},
    {"PulleyTicks", PulleyTicks},
};
}  // namespace

void PulleyDescribe(QJsonObject& out) { kVars.Describe(out); }

void PulleyResetProgramState() { kVars.Restore(); }

}  // namespace vlab
