#pragma once
// The experiment registry: code, button, captions, help pages, title, and the routines of each of
// the eight experiments.

#include <QJsonObject>
#include <QString>

#include <span>
#include <string_view>

namespace vlab {

// When Setting turns the surface's mouse handling on.
enum class SettingMouse {
    Off,         // never
    BeforeStep,  // before the first picture is drawn
    AfterStep,   // after the first picture (for a panel experiment: only once the panel is confirmed)
};

// Everything the lab window branches on per experiment. Entries are written with designated
// initializers: a reaction an experiment does not have is simply left out (null or false).
struct Experiment {
    int code = 0;                 // 201..208
    const char* name = "";        // "Friction", "Pulley", ...
    const char* buttonName = "";  // objectName of its button on the lab page
    int buttonX = 0;              // x of the button on the lab page, pixels
    QString caption;              // button caption
    bool captionMaroon = false;   // maroon caption instead of black
    int captionSize = 15;         // caption font size, pixels
    QString helpPage;             // "/help/M2.htm": appended to ProgramFolder
    QString teachingPage;         // "/help/t1.htm"
    QString title;                // drawn by DrawExperimentTitle
    int titleX = 0;               // x of the title text

    void (*step)() = nullptr;       // advances one tick and redraws
    void (*reset)() = nullptr;      // this experiment's part of the selection reset (step interval included)
    void (*chosen)() = nullptr;     // extra start values set when its button is clicked, after the reset
    void (*settingUp)() = nullptr;  // Setting's own steps before the panel or the first picture
    void (*setUpDone)() = nullptr;  // after the first picture that Setting draws

    bool settingOpensPanel = false;  // Setting shows the parameter panel; the picture needs its Yes
    SettingMouse settingMouse = SettingMouse::Off;
    bool mouseOnWhenChosen =
        false;  // its reset turns both mouse flags on: the surface answers before Setting
    bool startWaitsForSurface = false;  // Setting leaves Start disabled: a choice on the surface enables it
    bool startSilencesMouse = false;    // Start turns both mouse flags off
    bool pauseUsable = false;           // Pause/Continue works while it runs
    bool countsRealTicks = false;       // the tick dispatcher also advances InterferenceTicks
    bool slowSpeedBar = false;          // the speed-bar rule gives the bar 10..500 ms instead of 1..100

    void (*mouseDown)(int x, int y) = nullptr;  // checks MouseClickActive itself where it needs it
    void (*mouseMove)(int x, int y) = nullptr;  // called only while MouseMoveActive is 1
    void (*mouseUp)(int x, int y) = nullptr;
    void (*describe)(QJsonObject& out) = nullptr;  // writes the experiment's variables into a state dump
    void (*resetProgramState)() = nullptr;         // puts its variables back to their program-start values
};

// The registry entry for a code, or null for a code no experiment has.
const Experiment* FindExperiment(int code);
// Every experiment, in the order of their codes (and of their buttons' creation).
std::span<const Experiment* const> AllExperiments();
// The code of the experiment of that name ("Friction", "Pulley", ...), or 0.
int CodeOf(std::string_view name);

// Puts the whole lab (run state, drawing kit, every experiment) back to program-start values.
void ResetProgramState();
// Writes every module-level variable of the lab into a state dump.
void DescribeLab(QJsonObject& out);

}  // namespace vlab
