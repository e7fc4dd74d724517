// vlab-script: plays a scenario against the real lab, offscreen, and writes pictures, state dumps
// and data traces.

#include <QApplication>
#include <QByteArray>
#include <QFile>

#include <csignal>
#include <cstdio>

#include "app/script_runner.h"
#include "draw/fonts.h"
#include "registry/registry.h"
#include "shell/lab_window.h"
#include "shell/title_screen.h"
#include "shell/windows.h"

namespace {

void Print(FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

// The offscreen platform says so each time a window asks for something only a real screen does
// (raising, size hints), and Qt notes a missing runtime folder: neither concerns a scenario, and
// standard error is kept for the scenario's own messages.
QtMessageHandler defaultHandler = nullptr;
void QuietOffscreenNotices(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && (message.startsWith(QLatin1String("This plugin does not support")) ||
                                 message.contains(QLatin1String("XDG_RUNTIME_DIR"))))
        return;
    defaultHandler(type, context, message);
}

int Usage(const QString& problem) {
    Print(stderr,
          QStringLiteral(
              "vlab-script: %1\nusage: vlab-script [--keep-going] [--scale F] FILE | -   (vlab-script "
              "--help lists the commands)\n")
              .arg(problem));
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // A file-size limit makes a write fail, which the save reports, instead of ending the lab.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    if (args.size() == 1 && (args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h"))) {
        Print(stdout, vlab::ScenarioHelp());
        return 0;
    }
    if (args.size() == 1 && args[0] == QLatin1String("--version")) {
        Print(stdout, QStringLiteral("vlab-script " VLAB_VERSION "\n"));
        return 0;
    }
    if (args.size() == 1 && args[0] == QLatin1String("--experiments")) {
        // For the scripts that walk every experiment: one line each, code, name, button and the stem
        // of its files (friction.cpp, tests/app/scenarios/friction.vls).
        for (const vlab::Experiment* e : vlab::AllExperiments()) {
            QString stem;
            for (const QChar c : QString::fromLatin1(e->name)) {
                if (c.isUpper() && !stem.isEmpty()) stem += u'_';
                stem += c.toLower();
            }
            Print(stdout, QStringLiteral("%1 %2 %3 %4\n")
                              .arg(e->code)
                              .arg(QLatin1String(e->name), QLatin1String(e->buttonName), stem));
        }
        return 0;
    }
    bool keepGoing = false;
    double scale = 1.0;
    while (!args.isEmpty() && args[0].startsWith(QLatin1String("--"))) {
        if (args[0] == QLatin1String("--keep-going")) {
            keepGoing = true;
            args.removeFirst();
        } else if (args[0] == QLatin1String("--scale")) {
            bool ok = false;
            scale = args.size() > 1 ? args[1].toDouble(&ok) : 0.0;
            if (!ok || !(scale >= 0.25 && scale <= 8))
                return Usage(QStringLiteral("--scale needs a factor from 0.25 to 8"));
            args.remove(0, 2);
        } else {
            return Usage(QStringLiteral("unknown option '%1'").arg(args[0]));
        }
    }
    if (args.isEmpty()) return Usage(QStringLiteral("no scenario file given"));
    if (args.size() > 1) return Usage(QStringLiteral("one scenario file at a time"));

    // The whole scenario is read (standard input to its end) and checked before the lab starts,
    // so a run never waits for input and a mistyped line costs no half-made pictures.
    QByteArray source;
    QFile file;
    const bool opened = args[0] == QLatin1String("-")
                            ? file.open(stdin, QIODevice::ReadOnly)
                            : (file.setFileName(args[0]), file.open(QIODevice::ReadOnly));
    if (!opened) return Usage(QStringLiteral("cannot read '%1'").arg(args[0]));
    source = file.readAll();
    file.close();

    QList<vlab::ScriptLine> lines;
    QString error;
    QStringList skipped;
    if (!vlab::ParseScenario(QString::fromUtf8(source), lines, error, keepGoing, &skipped)) {
        Print(stderr, error + u'\n');
        return 2;
    }
    for (const QString& message : skipped) Print(stderr, message + u'\n');

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(QuietOffscreenNotices);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vlab"));
    // As in the lab itself: the program ends when the title screen closes.
    QApplication::setQuitOnLastWindowClosed(false);
    // A steady text cursor: pictures of a window never depend on when they were taken.
    QApplication::setCursorFlashTime(0);
    vlab::InstallFontSubstitutes();
    vlab::CreateWindows();
    if (scale != 1.0) vlab::Form1->SetScale(scale);
    vlab::Main->show();

    vlab::ScriptRunner runner(lines, keepGoing, static_cast<int>(skipped.size()));
    runner.Start();
    QApplication::exec();
    const int status = runner.Finish();
    vlab::DestroyWindows();
    return status;
}
