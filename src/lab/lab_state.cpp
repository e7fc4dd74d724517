#include "lab/lab_state.h"

#include "lab/lab_vars.h"

namespace vlab {

int ExperimentCode = 0;
int LabPageMarker = 20;
int TickCount = 0;
double InterferenceTicks = 0.0;
std::uint8_t MouseMoveActive = 0;
std::uint8_t MouseClickActive = 0;
std::uint8_t PanelAccepted = 0;
std::uint8_t ConfirmAnswer = 0;
int IntroShown = 0;
QString HelpPagePath;
QString ProgramFolder;

namespace {
// The shared run state by its names. ExperimentCode starts at 0: the lab window sets 202 when it
// is created. LabPageMarker is 20 while the lab page is on show, and the tab control has one page.
const LabVars kVars{
    {"ExperimentCode", ExperimentCode},
    {"LabPageMarker", LabPageMarker},
    {"TickCount", TickCount},
    {"InterferenceTicks", InterferenceTicks},
    {"MouseMoveActive", MouseMoveActive},
    {"MouseClickActive", MouseClickActive},
    {"PanelAccepted", PanelAccepted},
    {"ConfirmAnswer", ConfirmAnswer},
    {"IntroShown", IntroShown},
    {"HelpPagePath", HelpPagePath},
    {"ProgramFolder", ProgramFolder},
};
}  // namespace

void ResetLabState() { kVars.Restore(); }

void DescribeLabState(QJsonObject& out) { kVars.Describe(out); }

}  // namespace vlab
