#include "shell/windows.h"

#include <QGuiApplication>
#include <QScreen>

#include <algorithm>

#include "dialog/check_dialog.h"
#include "dialog/widget_scale.h"
#include "panel/table3.h"
#include "registry/registry.h"
#include "shell/help_viewer.h"
#include "shell/lab_window.h"
#include "shell/title_screen.h"

namespace vlab {

TMain* Main = nullptr;
TForm1* Form1 = nullptr;
Ttable3* table3 = nullptr;
TForm2* Form2 = nullptr;

void CreateWindows() {
    Main = new TMain;
    Form1 = new TForm1;
    table3 = new Ttable3;
    check = new Tcheck;
    Form2 = new TForm2;
}

void ScaleCompanionWindows(double scale) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QSize area = screen ? screen->availableGeometry().size() : QSize();
    for (QWidget* w : std::initializer_list<QWidget*>{Main, table3, check, Form2}) {
        if (!w) continue;
        // Never larger than the screen can show whole (the title screen is a little larger than the
        // lab window, so at the lab's full-screen scale it would not fit).
        // A screen smaller than the window leaves it at its normal size, as it always was.
        const double fit =
            area.isEmpty() ? scale
                           : std::max(std::min(scale, 1.0), std::min(scale, FitScale(NormalSize(w), area)));
        ScaleWidgets(w, fit);
    }
    // The panel and the dialog centre themselves as they are shown; these two are shown already or
    // were placed at their normal size.
    if (Main && screen) Main->move(screen->availableGeometry().center() - Main->rect().center());
    if (Form2) Form2->Rescaled();
}

void DestroyWindows() {
    // Last created first; the lab window unregisters itself as the host when it goes.
    delete Form2;
    Form2 = nullptr;
    delete check;
    check = nullptr;
    delete table3;
    table3 = nullptr;
    delete Form1;
    Form1 = nullptr;
    delete Main;
    Main = nullptr;
    ResetProgramState();
}

}  // namespace vlab
