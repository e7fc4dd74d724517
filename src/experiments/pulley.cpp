#include "experiments/pulley.h"

#include "draw/shapes.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "lab/lab_vars.h"

namespace vlab {

double PulleyMassA = 1.0;
double PulleyMassB = 1.0;
double PulleyMassC = 1.0;
int PulleyArrangement = 0;
double PulleyTension = 0.0;
std::array<double, 4> PulleyMotion{};
int PulleyTicks = 0;

void PulleyStep() {}

void DrawPulleyArrangement1(double, int) {}
void DrawPulleyArrangement2(double, int) {}
void DrawPulleyArrangement3(double, double, int) {}

namespace {
// The arrangement whose diagram on the choice screen lies under (x, y), or 0: the band
// 0 < y < 160 over diagram 1 (110 < x < 190), 2 (280 < x < 360) or 3 (480 < x < 540).
int ArrangementAt(int x, int y) {
    if (!(0 < y && y < 160)) return 0;
    if (110 < x && x < 190) return 1;
    if (280 < x && x < 360) return 2;
    if (480 < x && x < 540) return 3;
    return 0;
}
}  // namespace

void PulleyMouseDown(int x, int y) {
    if (MouseClickActive != 1) return;
    const int n = ArrangementAt(x, y);
    if (n == 0) return;
    if (n == 1) DrawPulleyArrangement1(0, 0);
    if (n == 2) DrawPulleyArrangement2(0, 0);
    if (n == 3) DrawPulleyArrangement3(0, 0, 0);
    MouseClickActive = 0;  // one choice per set-up
    PulleyArrangement = n;
    Host().SetSurfaceCursor(SurfaceCursor::Default);
    Host().ShowPanelModal();  // the masses of the chosen arrangement
    Host().SetStartEnabled(true);
}

void PulleyMouseMove(int x, int y) {
    if (MouseClickActive != 1) return;
    Host().SetSurfaceCursor(ArrangementAt(x, y) ? SurfaceCursor::Hand : SurfaceCursor::Default);
}

void PulleyMouseUp(int, int) { Host().SetSurfaceCursor(SurfaceCursor::Default); }

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
    {"PulleyMassA", PulleyMassA},     {"PulleyMassB", PulleyMassB},
    {"PulleyMassC", PulleyMassC},     {"PulleyArrangement", PulleyArrangement},
    {"PulleyTension", PulleyTension}, {"PulleyMotion", PulleyMotion},
    {"PulleyTicks", PulleyTicks},
};
}  // namespace

void PulleyDescribe(QJsonObject& out) { kVars.Describe(out); }

void PulleyResetProgramState() { kVars.Restore(); }

}  // namespace vlab
