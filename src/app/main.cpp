// vlab: the virtual physics laboratory.

#include <QApplication>

#include "draw/fonts.h"
#include "shell/title_screen.h"
#include "shell/windows.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vlab"));
    // The program ends when the title screen closes, not when the last visible window does.
    QApplication::setQuitOnLastWindowClosed(false);
    vlab::InstallFontSubstitutes();
    vlab::CreateWindows();
    vlab::Main->show();
    const int status = QApplication::exec();
    vlab::DestroyWindows();
    return status;
}
