#pragma once
// vlab-script's runner: plays a scenario against the real windows, line by line, as a user would.
//
// Every line runs from the event loop. Before a line runs, the next step is posted; when the line
// opens a modal window (QDialog::exec inside a click handler), the window's own event loop delivers
// that step and the following lines run while the window is open. A step delivered while the line
// that opened the window is still on the stack, and no new modal window is open, does nothing: the
// window has just closed and the handler that opened it must finish first. The line posts a fresh
// step when it returns, so the next line always sees the whole effect of the one before.

#include <QFile>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

namespace vlab {

enum class ScriptCommand {
    Click,
    Press,
    Move,
    Release,
    Combo,
    Slider,
    Key,
    Tick,
    Snapshot,
    Grab,
    Dump,
    Trace,
    TraceOff,
    Close,
    Realtime,
    Paste,
    Check,
    Print,
    Copy,
    Save,
    Export
};

// One command line of a scenario, checked for form (command, arguments, numbers) before the run.
struct ScriptLine {
    int number = 0;  // 1-based line number in the file
    ScriptCommand command = ScriptCommand::Click;
    QString window;   // "Form1" of "Form1.Button4"; the window of grab
    QString control;  // "Button4"
    QString text;  // combo and key text, a window key's name, or the file of snapshot, grab, dump and trace
    int x = 0;     // press/move/release position, slider position, tick count, realtime ms, a window key
    int y = 0;
    QStringList names;  // trace columns after TickCount: "NAME" or "NAME[i]"
};

// Reads a scenario. On a line that is not a well-formed command, returns false with
// "line N: reason" in error. With keepGoing, such lines are left out instead, each reported as
// "line N: reason" in skipped, and the result is true.
bool ParseScenario(const QString& text, QList<ScriptLine>& lines, QString& error, bool keepGoing = false,
                   QStringList* skipped = nullptr);

// The command list printed by --help.
QString ScenarioHelp();

// The state dump: every lab variable, the panel's state, the controls of the five windows, Timer1,
// the lab window's message box, the windows' visibility and the help viewer's page.
QJsonObject DescribeEverything();

class ScriptRunner : public QObject {
    Q_OBJECT
public:
    // With keepGoing, a line that cannot be carried out is reported and the run goes on; the exit
    // status is still 2 at the end. priorFailures counts lines already skipped before the run.
    explicit ScriptRunner(QList<ScriptLine> lines, bool keepGoing = false, int priorFailures = 0,
                          QObject* parent = nullptr);
    ~ScriptRunner() override;

    // Posts the first step; call before QApplication::exec.
    void Start();
    // After QApplication::exec has returned: the exit status (0 or 2). A program that ended by
    // itself (Exit answered Yes, the title screen's leave spot) is fine when no command line is
    // left, and an error on the first line left otherwise.
    int Finish();

protected:
    // Timer1's own timeouts are swallowed: ticks come only from the tick command, never from
    // the wall clock, so the same scenario always gives the same run.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Running {
        int index;                      // into lines_
        QPointer<QWidget> modalBefore;  // the modal window that was active when the line began
    };

    void Post();
    void Continue();
    void RunLine(int index);
    QString Execute(const ScriptLine& line);
    // Reports a line that could not be carried out. Ends the run unless keep-going is on and the
    // failure leaves the scenario able to go on.
    void Fail(int lineNumber, const QString& reason, bool fatal = false);

    QString Click(const ScriptLine& line);
    QString Mouse(const ScriptLine& line);
    QString Combo(const ScriptLine& line);
    QString Slider(const ScriptLine& line);
    QString Key(const ScriptLine& line);
    QString WindowKey(const ScriptLine& line);
    QString Tick(const ScriptLine& line);
    QString Close(const ScriptLine& line);
    QString Realtime(const ScriptLine& line);
    QString Paste(const ScriptLine& line);
    QString StartTrace(const ScriptLine& line);
    void StopTrace();
    void WriteTraceRow();

    QList<ScriptLine> lines_;
    QList<Running> running_;
    int next_ = 0;
    bool pending_ = false;
    bool finished_ = false;
    bool failed_ = false;
    bool buttonHeld_ = false;  // the left button is down on the drawing surface
    bool keepGoing_ = false;
    int failures_ = 0;       // lines reported as not carried out
    bool realtime_ = false;  // Timer1's own timeouts are let through

    QFile trace_;
    QStringList traceNames_;
    QList<int> traceIndex_;  // -1 for a plain variable
};

}  // namespace vlab
