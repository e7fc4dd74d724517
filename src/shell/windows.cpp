#include "shell/windows.h"

#include "dialog/check_dialog.h"
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
