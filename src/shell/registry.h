#pragma once
// The experiment registry: code, button, captions, help pages, title, and the routines of each of
// the eight experiments.

#include <QJsonObject>
#include <QString>

namespace vlab {

struct Experiment {
    int code;                     // 201..208
    const char* name;             // "Friction", "Pulley", ...
    const char* buttonName;       // objectName of its button on the lab page
    int buttonX;                  // x of the button on the lab page, pixels
    QString caption;              // button caption
    QString helpPage;             // "/help/M2.htm": appended to ProgramFolder
    QString teachingPage;         // "/help/t1.htm"
    QString title;                // drawn by DrawExperimentTitle
    int titleX;                   // x of the title text
    void (*step)();               // advances one tick and redraws
    void (*reset)();              // this experiment's part of the selection reset (step interval included)
    void (*mouseDown)(int x, int y);  // null: no reaction. Checks MouseClickActive itself.
    void (*mouseMove)(int x, int y);  // null: no reaction. Called only while MouseMoveActive is 1.
    void (*mouseUp)(int x, int y);    // null: no reaction.
    void (*describe)(QJsonObject& out);  // writes the experiment's variables into a state dump
    void (*resetProgramState)();  // puts its variables back to their program-start values
};

// The registry entry for a code, or null for a code outside 201..208.
const Experiment* FindExperiment(int code);
// All eight, in the order of the buttons' codes.
const Experiment* const* AllExperiments();
inline constexpr int kExperimentCount = 8;

// Puts the whole lab (run state, drawing kit, every experiment) back to program-start values.
void ResetProgramState();
// Writes every module-level variable of the lab into a state dump.
void DescribeLab(QJsonObject& out);

}  // namespace vlab
