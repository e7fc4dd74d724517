// vlab: the virtual physics laboratory.

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstring>

#include "draw/fonts.h"
#include "shell/title_screen.h"
#include "shell/windows.h"

int main(int argc, char** argv) {
    // A file-size limit makes a write fail, which the save reports, instead of ending the lab.
    std::signal(SIGXFSZ, SIG_IGN);
    // Answered before any window or display is needed, so that it works on a machine without one.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("vlab " VLAB_VERSION);
        return 0;
    }
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
