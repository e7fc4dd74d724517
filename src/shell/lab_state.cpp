#include "shell/lab_state.h"

#include "shell/lab_dump.h"

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

void ResetLabState() {
    ExperimentCode = 0;  // the lab window sets 202 when it is created
    LabPageMarker = 20;  // the tab control has one page, so the lab page is always on show
    TickCount = 0;
    InterferenceTicks = 0.0;
    MouseMoveActive = 0;
    MouseClickActive = 0;
    PanelAccepted = 0;
    ConfirmAnswer = 0;
    IntroShown = 0;
    HelpPagePath.clear();
    ProgramFolder.clear();
}

void DescribeLabState(QJsonObject& out) {
    Put(out, "ExperimentCode", ExperimentCode);
    Put(out, "LabPageMarker", LabPageMarker);
    Put(out, "TickCount", TickCount);
    Put(out, "InterferenceTicks", InterferenceTicks);
    Put(out, "MouseMoveActive", static_cast<int>(MouseMoveActive));
    Put(out, "MouseClickActive", static_cast<int>(MouseClickActive));
    Put(out, "PanelAccepted", static_cast<int>(PanelAccepted));
    Put(out, "ConfirmAnswer", static_cast<int>(ConfirmAnswer));
    Put(out, "IntroShown", IntroShown);
    Put(out, "HelpPagePath", HelpPagePath);
    Put(out, "ProgramFolder", ProgramFolder);
}

}  // namespace vlab
