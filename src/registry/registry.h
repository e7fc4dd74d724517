#pragma once
// The experiment registry: code, button, captions, help pages, title, and the routines of each of
// the eight experiments.

#include <QJsonObject>
#include <QString>
#include <QStringList>

#include <span>
#include <string_view>
#include <vector>

namespace vlab {

// When Setting turns the surface's mouse handling on.
enum class SettingMouse {
    Off,         // never
    BeforeStep,  // before the first picture is drawn
    AfterStep,   // after the first picture (for a panel experiment: only once the panel is confirmed)
};

// The slider's range while an item is picked, in slider steps (hundredths of a unit), and the labels
// around it: the unit or caption (Label1), the two ends (Label2, Label3) and where the right end sits.
struct PanelRange {
    int minimum = 0;
    int maximum = 0;
    QString unit{};
    QString left{};
    QString right{};
    int rightX = 112;  // pixels from the panel's left edge
};

// One item of the panel's drop-down list (ComboBox1) and what picking it does.
struct PanelItem {
    QString text{};
    double* value = nullptr;  // the variable the slider writes, in whole units
    int* count = nullptr;     // the same for a whole-number variable
    int choice = 0;           // picking it writes this code into the panel's choice variable
    bool radios = false;      // shows the two radio buttons in place of the slider and the edit box
    PanelRange range{};       // with a value, a count or the radios: the range and labels it shows
};

// A choice of the second drop-down list (ComboBox2): it offers the first `size` layout variables as
// items and sets them to 1, the rest to 0.
struct PanelLayout {
    QString text{};
    int size = 0;
};

struct PanelRadioSize {
    double height = 0.0;
    double width = 0.0;
};

// How the panel looks and what it writes for one experiment; `Ttable3` reads it.
struct PanelDescription {
    enum class Shape {
        Slider,   // drop-down list, slider and edit box
        Layouts,  // taller: a layout list under the slider, the item list beside it
        Choice,   // the drop-down list alone, wider, in a low panel
    };
    Shape shape = Shape::Slider;
    QString prompt{};                    // ComboBox1's text when the panel opens
    std::vector<PanelItem> items{};      // everything an item text can stand for
    QStringList (*offered)() = nullptr;  // the items listed when it opens; null: every item
    bool sliderFromStart = false;        // the slider, not the edit box, sets values from the start
    bool pickTurnsOffEdit = false;       // picking an item hands the value to the slider alone
    bool unitArrowSteps = false;         // picking an item makes an arrow key move one unit
    const PanelRange* everyPick =
        nullptr;                    // shown at every pick, recognised or not, and makes the slider live
    int* choiceTarget = nullptr;    // where a choice item writes its code
    double* radioHeight = nullptr;  // the radio buttons write the block's height and width
    double* radioWidth = nullptr;
    PanelRadioSize radioSizes[2]{};            // what RadioButton1 and RadioButton2 write, pixels
    bool (*firstRadioWhenOpened)() = nullptr;  // true: the first radio button is checked as it opens
    QString layoutPrompt{};                    // ComboBox2's text when the panel opens
    std::vector<PanelLayout> layouts{};        // ComboBox2's choices
    int* layoutSlots = nullptr;                // the variables a layout sets, its items' counts in order
    int layoutSlotCount = 0;
    // The confirmation's lines from the values set; `layoutSize` is the size of the layout shown in
    // ComboBox2 (0 when its text is none of them).
    void (*summary)(QString (&lines)[4], int layoutSize) = nullptr;
};

// One column of a run's exported numbers: its header with the unit, and how to read this tick's value.
struct ExportColumn {
    const char* header = "";
    double (*value)() = nullptr;
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

    const PanelDescription* panel = nullptr;  // the parameter panel's items and texts, if Setting opens it

    void (*mouseDown)(int x, int y) = nullptr;  // checks MouseClickActive itself where it needs it
    void (*mouseMove)(int x, int y) = nullptr;  // called only while MouseMoveActive is 1
    void (*mouseUp)(int x, int y) = nullptr;
    void (*describe)(QJsonObject& out) = nullptr;  // writes the experiment's variables into a state dump
    void (*resetProgramState)() = nullptr;         // puts its variables back to their program-start values

    std::vector<ExportColumn> columns{};  // what Ctrl+E exports per tick, after TickCount
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
