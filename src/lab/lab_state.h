#pragma once
// The shared run state of the lab: module-level, alive for the whole run, touched only on the
// window thread.

#include <QJsonObject>
#include <QString>

#include <cstdint>

namespace vlab {

extern int ExperimentCode;             // 201..208: the experiment on show (202 once the lab window exists)
extern int LabPageMarker;              // 20 while the lab page of the tab control is active
extern int TickCount;                  // steps since the last reset
extern double InterferenceTicks;       // real tick count of the interference experiment
extern std::uint8_t MouseMoveActive;   // mouse-move handling of the surface is on
extern std::uint8_t MouseClickActive;  // mouse-press handling of the surface is on
extern std::uint8_t PanelAccepted;     // the parameter panel's values were confirmed
extern std::uint8_t ConfirmAnswer;     // last answer of the yes/no dialog: 1 yes, 0 no
extern int IntroShown;                 // the operating instructions have been shown once
extern QString HelpPagePath;           // full path of the help page to show
extern QString ProgramFolder;          // the current directory when the lab window was created

// Puts the shared run state back to its program-start values.
void ResetLabState();
// Writes the shared run state into a state dump under the given names.
void DescribeLabState(QJsonObject& out);

}  // namespace vlab
