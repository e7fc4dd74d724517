// vlab: the virtual physics laboratory.

#include <QApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "draw/fonts.h"
#include "shell/lab_window.h"
#include "shell/title_screen.h"
#include "shell/windows.h"

namespace {

const char kUsage[] =
    "usage: vlab [--full-screen] [--scale F]\n"
    "       vlab --version | --help\n"
    "\n"
    "  --full-screen  show the lab window scaled to fit the screen (F11 switches back and forth)\n"
    "  --scale F      show the lab window F times its normal size (for example 1.5 or 2)\n"
    "  --version      print the version and end\n"
    "  --help         print these options and end\n";

}  // namespace

int main(int argc, char** argv) {
    // A file-size limit makes a write fail, which the save reports, instead of ending the lab.
    std::signal(SIGXFSZ, SIG_IGN);
    // Answered before any window or display is needed, so that they work on a machine without one.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::puts("vlab " VLAB_VERSION);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    bool fullScreen = false;
    double scale = 1.0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--full-screen") == 0) {
            fullScreen = true;
        } else if (std::strcmp(argv[i], "--scale") == 0 && i + 1 < argc) {
            char* end = nullptr;
            scale = std::strtod(argv[++i], &end);
            if (*end != '\0' || !(scale >= 0.25 && scale <= 8)) {
                std::fputs("vlab: --scale needs a factor from 0.25 to 8\n", stderr);
                return 2;
            }
        } else if (argv[i][0] == '-' && argv[i][1] == '-') {
            std::fprintf(stderr, "vlab: unknown option '%s'\n%s", argv[i], kUsage);
            return 2;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vlab"));
    // The program ends when the title screen closes, not when the last visible window does.
    QApplication::setQuitOnLastWindowClosed(false);
    vlab::InstallFontSubstitutes();
    vlab::CreateWindows();
    if (scale != 1.0) vlab::Form1->SetScale(scale);
    // Shown full screen when the title screen opens the lab.
    if (fullScreen) vlab::Form1->SetFullScreen(true);
    vlab::Main->show();
    const int status = QApplication::exec();
    vlab::DestroyWindows();
    return status;
}
