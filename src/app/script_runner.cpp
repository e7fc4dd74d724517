#include "app/script_runner.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QSlider>
#include <QStackedWidget>
#include <QTimer>
#include <QWindow>
#include <QtTest/qtestkeyboard.h>

#include <cstdio>
#include <utility>

#include "dialog/check_dialog.h"
#include "draw/canvas.h"
#include "lab/lab_state.h"
#include "panel/table3.h"
#include "registry/registry.h"
#include "shell/data_out.h"
#include "shell/help_viewer.h"
#include "shell/invariants.h"
#include "shell/lab_window.h"
#include "shell/title_screen.h"
#include "shell/windows.h"

namespace vlab {

namespace {

// ---------------------------------------------------------------------------------------------
// Reading a scenario

const QStringList kWindowNames = {QStringLiteral("Main"), QStringLiteral("Form1"), QStringLiteral("table3"),
                                  QStringLiteral("check"), QStringLiteral("Form2")};

// The first whitespace-separated word of rest (which starts at a word); rest keeps what follows,
// without the whitespace that separates it from the word.
QString TakeWord(QString& rest) {
    static const QRegularExpression space(QStringLiteral("\\s"));
    static const QRegularExpression leading(QStringLiteral("^\\s+"));
    const int at = rest.indexOf(space);
    QString word = at < 0 ? rest : rest.left(at);
    rest = at < 0 ? QString() : rest.mid(at).remove(leading);
    return word;
}

// What follows the word before TEXT, verbatim: one separating space or tab is dropped, every other
// character (further spaces, a user's trailing space) belongs to the text.
QString TakeWordBeforeText(QString& rest, QString& text) {
    const int at = rest.indexOf(QRegularExpression(QStringLiteral("\\s")));
    QString word = at < 0 ? rest : rest.left(at);
    text = at < 0 ? QString() : rest.mid(at + 1);
    rest.clear();
    return word;
}

// A whole number written in decimal digits with an optional sign; anything else is malformed.
bool ParseWhole(const QString& word, int& value, QString& reason) {
    static const QRegularExpression whole(QStringLiteral("^[+-]?[0-9]+$"));
    bool ok = whole.match(word).hasMatch();
    if (ok) value = word.toInt(&ok);
    if (!ok)
        reason = word.isEmpty() ? QStringLiteral("a number is missing")
                                : QStringLiteral("malformed number '%1'").arg(word);
    return ok;
}

QString ParseTarget(const QString& word, ScriptLine& line) {
    const int dot = word.indexOf(u'.');
    if (dot <= 0 || dot == word.size() - 1) {
        return word.isEmpty() ? QStringLiteral("WINDOW.CONTROL is missing")
                              : QStringLiteral("expected WINDOW.CONTROL, got '%1'").arg(word);
    }
    line.window = word.left(dot);
    line.control = word.mid(dot + 1);
    if (!kWindowNames.contains(line.window)) return QStringLiteral("unknown window '%1'").arg(line.window);
    return {};
}

// Key text: "\b" is the Backspace key and "\\" a backslash; every other character is itself.
QString ParseKeys(const QString& text, QString& keys) {
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\') {
            keys += text[i];
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == u'b') {
            keys += QChar(8);
        } else if (i + 1 < text.size() && text[i + 1] == u'\\') {
            keys += u'\\';
        } else {
            return QStringLiteral("unknown escape in key text (\\b is Backspace, \\\\ a backslash)");
        }
        ++i;
    }
    return {};
}

// `key Form1 KEY`: one key of the lab window, by its name as Qt spells it (Space, Right, F1, F11,
// Ctrl+Q), kept in x as Qt's combined key and modifiers.
QString ParseWindowKey(const QString& window, const QString& text, ScriptLine& line) {
    if (window != QLatin1String("Form1"))
        return QStringLiteral("key WINDOW KEY presses keys on the lab window Form1 only, not %1").arg(window);
    const QString name = text.trimmed();
    if (name.isEmpty()) return QStringLiteral("key Form1 needs the KEY to press");
    const QKeySequence sequence = QKeySequence::fromString(name, QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown)
        return QStringLiteral("unknown key '%1' (Space, Right, F1, F11, ...)").arg(name);
    line.window = window;
    line.control.clear();
    line.text = name;
    line.x = sequence[0].toCombined();
    return {};
}

const QRegularExpression& TraceNamePattern() {
    static const QRegularExpression pattern(QStringLiteral("^([A-Za-z_][A-Za-z0-9_]*)(?:\\[([0-9]+)\\])?$"));
    return pattern;
}

QString ParseLine(const QString& source, ScriptLine& line) {
    // Commands and their numbers and file names are read without the spaces around them; the text
    // of combo and key keeps its trailing spaces.
    QString rest = source.trimmed();
    const QString command = TakeWord(rest);
    auto noMore = [&](const QString& usage) -> QString {
        return rest.isEmpty() ? QString() : QStringLiteral("too many arguments; use: %1").arg(usage);
    };
    QString reason;

    if (command == QLatin1String("click")) {
        line.command = ScriptCommand::Click;
        if (!(reason = ParseTarget(TakeWord(rest), line)).isEmpty()) return reason;
        return noMore(QStringLiteral("click WINDOW.CONTROL"));
    }
    if (command == QLatin1String("press") || command == QLatin1String("move") ||
        command == QLatin1String("release")) {
        line.command = command == QLatin1String("press")  ? ScriptCommand::Press
                       : command == QLatin1String("move") ? ScriptCommand::Move
                                                          : ScriptCommand::Release;
        if (!ParseWhole(TakeWord(rest), line.x, reason)) return reason;
        if (!ParseWhole(TakeWord(rest), line.y, reason)) return reason;
        return noMore(command + QStringLiteral(" X Y"));
    }
    if (command == QLatin1String("check")) {
        line.command = ScriptCommand::Check;
        return noMore(QStringLiteral("check"));
    }
    if (command == QLatin1String("combo") || command == QLatin1String("key") ||
        command == QLatin1String("paste")) {
        line.command = command == QLatin1String("combo")   ? ScriptCommand::Combo
                       : command == QLatin1String("paste") ? ScriptCommand::Paste
                                                           : ScriptCommand::Key;
        rest = source;
        rest.remove(QRegularExpression(QStringLiteral("^\\s+")));
        TakeWord(rest);  // the command itself
        QString text;
        const QString target = TakeWordBeforeText(rest, text);
        if (line.command == ScriptCommand::Key && !target.contains(u'.') && kWindowNames.contains(target))
            return ParseWindowKey(target, text, line);
        if (!(reason = ParseTarget(target, line)).isEmpty()) return reason;
        rest = text;
        if (line.command == ScriptCommand::Combo || line.command == ScriptCommand::Paste) {
            line.text = rest;  // may be empty: the user clears the box, or pastes nothing
            return {};
        }
        if (rest.isEmpty()) return QStringLiteral("key needs the TEXT to type");
        return ParseKeys(rest, line.text);
    }
    if (command == QLatin1String("slider")) {
        line.command = ScriptCommand::Slider;
        if (!(reason = ParseTarget(TakeWord(rest), line)).isEmpty()) return reason;
        if (!ParseWhole(TakeWord(rest), line.x, reason)) return reason;
        return noMore(QStringLiteral("slider WINDOW.CONTROL N"));
    }
    if (command == QLatin1String("close")) {
        line.command = ScriptCommand::Close;
        line.window = TakeWord(rest);
        if (line.window.isEmpty()) return QStringLiteral("close needs a WINDOW");
        if (!kWindowNames.contains(line.window))
            return QStringLiteral("unknown window '%1'").arg(line.window);
        return noMore(QStringLiteral("close WINDOW"));
    }
    if (command == QLatin1String("realtime")) {
        line.command = ScriptCommand::Realtime;
        if (!ParseWhole(TakeWord(rest), line.x, reason)) return reason;
        if (line.x < 0) return QStringLiteral("realtime %1 is negative").arg(line.x);
        return noMore(QStringLiteral("realtime MS"));
    }
    if (command == QLatin1String("tick")) {
        line.command = ScriptCommand::Tick;
        if (!ParseWhole(TakeWord(rest), line.x, reason)) return reason;
        if (line.x < 0) return QStringLiteral("tick count %1 is negative").arg(line.x);
        return noMore(QStringLiteral("tick N"));
    }
    // The commands that write one file, and the file each names.
    struct FileCommand {
        const char* name;
        ScriptCommand command;
        const char* file;
    };
    static constexpr FileCommand kFileCommands[] = {{"snapshot", ScriptCommand::Snapshot, "FILE"},
                                                    {"dump", ScriptCommand::Dump, "FILE"},
                                                    {"save", ScriptCommand::Save, "FILE.png"},
                                                    {"export", ScriptCommand::Export, "FILE.csv"},
                                                    {"print", ScriptCommand::Print, "FILE.pdf"}};
    for (const FileCommand& f : kFileCommands) {
        if (command != QLatin1String(f.name)) continue;
        line.command = f.command;
        line.text = rest;
        return rest.isEmpty() ? QStringLiteral("%1 needs a %2").arg(command, QLatin1String(f.file))
                              : QString();
    }
    if (command == QLatin1String("copy")) {
        line.command = ScriptCommand::Copy;
        return noMore(QStringLiteral("copy"));
    }
    if (command == QLatin1String("grab")) {
        line.command = ScriptCommand::Grab;
        line.window = TakeWord(rest);
        if (line.window.isEmpty()) return QStringLiteral("grab needs WINDOW and FILE");
        if (!kWindowNames.contains(line.window))
            return QStringLiteral("unknown window '%1'").arg(line.window);
        line.text = rest;
        return rest.isEmpty() ? QStringLiteral("grab needs a FILE") : QString();
    }
    if (command == QLatin1String("trace")) {
        line.text = TakeWord(rest);
        if (line.text.isEmpty()) return QStringLiteral("trace needs a FILE and names, or off");
        if (line.text == QLatin1String("off")) {
            line.command = ScriptCommand::TraceOff;
            return noMore(QStringLiteral("trace off"));
        }
        line.command = ScriptCommand::Trace;
        while (!rest.isEmpty()) {
            const QString name = TakeWord(rest);
            if (!TraceNamePattern().match(name).hasMatch())
                return QStringLiteral("malformed variable name '%1' (NAME or NAME[i])").arg(name);
            line.names << name;
        }
        return {};
    }
    return QStringLiteral("unknown command '%1'").arg(command);
}

// ---------------------------------------------------------------------------------------------
// The windows and their controls

QWidget* WindowNamed(const QString& name) {
    if (name == QLatin1String("Main")) return Main;
    if (name == QLatin1String("Form1")) return Form1;
    if (name == QLatin1String("table3")) return table3;
    if (name == QLatin1String("check")) return check;
    if (name == QLatin1String("Form2")) return Form2;
    return nullptr;
}

QString Named(const ScriptLine& line) { return line.window + u'.' + line.control; }

// Finds WINDOW.CONTROL and checks that a user could reach it: its window is on screen and not
// behind a modal window, the control is shown within its window, and it is enabled.
QString FindUsable(const ScriptLine& line, QWidget*& control) {
    QWidget* window = WindowNamed(line.window);
    if (!window) return QStringLiteral("window %1 does not exist").arg(line.window);
    control = window->findChild<QWidget*>(line.control);
    if (!control) return QStringLiteral("unknown control '%1'").arg(Named(line));
    if (!window->isVisible())
        return QStringLiteral("%1 is not shown, so %2 cannot be reached").arg(line.window, Named(line));
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != window)
        return QStringLiteral("%1 is behind the modal window %2").arg(Named(line), modal->objectName());
    if (!control->isVisibleTo(window)) return QStringLiteral("%1 is hidden").arg(Named(line));
    if (!control->isEnabled()) return QStringLiteral("%1 is disabled").arg(Named(line));
    return {};
}

// Output files go where the path says, relative to the current directory; a missing folder is made.
bool PrepareFolder(const QString& path) { return QFileInfo(path).absoluteDir().mkpath(QStringLiteral(".")); }

QString WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!PrepareFolder(path) || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush())
        return QStringLiteral("cannot write '%1'").arg(path);
    return {};
}

QString WritePicture(const QString& path, const QImage& image) {
    if (!PrepareFolder(path) || !image.save(path, "PNG"))
        return QStringLiteral("cannot write '%1'").arg(path);
    return {};
}

QString Shortest(double v) { return QString::number(v, 'g', QLocale::FloatingPointShortest); }

// The lab's variables and the panel's state, as the dump and the trace name them.
QJsonObject LabVariables() {
    QJsonObject out;
    DescribeLab(out);
    if (table3) table3->Describe(out);
    return out;
}

QJsonObject DescribeControl(QWidget* window, QWidget* control) {
    QJsonObject c;
    // Visible means shown whenever its window is on screen: what the user sees of the window.
    c.insert(QStringLiteral("visible"), control->isVisibleTo(window));
    c.insert(QStringLiteral("enabled"), control->isEnabled());
    QString text;
    if (auto* b = qobject_cast<QAbstractButton*>(control)) {
        text = b->text();
        if (b->isCheckable()) c.insert(QStringLiteral("checked"), b->isChecked());
    } else if (auto* l = qobject_cast<QLabel*>(control)) {
        text = l->text();
    } else if (auto* e = qobject_cast<QLineEdit*>(control)) {
        text = e->text();
    } else if (auto* box = qobject_cast<QComboBox*>(control)) {
        text = box->currentText();
        QJsonArray items;
        for (int i = 0; i < box->count(); ++i) items.append(box->itemText(i));
        c.insert(QStringLiteral("items"), items);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
        text = memo->toPlainText();
    } else if (auto* slider = qobject_cast<QAbstractSlider*>(control)) {
        // The bars' models are the truth; the sliders only mirror them.
        const TrackBar* model = nullptr;
        if (Form1 && control == Form1->TrackBar1) model = &Form1->SpeedBar;
        if (table3 && control == table3->TrackBar1) model = &table3->Bar;
        c.insert(QStringLiteral("min"), model ? model->Min() : slider->minimum());
        c.insert(QStringLiteral("max"), model ? model->Max() : slider->maximum());
        c.insert(QStringLiteral("position"), model ? model->Position() : slider->value());
    }
    c.insert(QStringLiteral("text"), text);
    return c;
}

// A part Qt builds inside a control (a tab bar's scroll buttons, a view's viewport), not a control
// of the form: it, or a widget it lies in, carries one of Qt's own "qt_" names. The stack that
// holds a tab control's pages is the exception: the pages and their controls are the form's.
bool IsQtPart(QWidget* widget, QWidget* window) {
    for (QWidget* w = widget; w && w != window; w = w->parentWidget()) {
        if (!w->objectName().startsWith(QLatin1String("qt_"))) continue;
        if (w == widget || !qobject_cast<QStackedWidget*>(w)) return true;
    }
    return false;
}

QJsonValue TraceValue(const QJsonObject& vars, const QString& name, int index) {
    const QJsonValue v = vars.value(name);
    if (index < 0) return v;
    return v.isArray() ? v.toArray().at(index) : QJsonValue(QJsonValue::Undefined);
}

}  // namespace

bool ParseScenario(const QString& text, QList<ScriptLine>& lines, QString& error, bool keepGoing,
                   QStringList* skipped) {
    QStringList raw = text.split(u'\n');
    if (!raw.isEmpty() && raw.first().startsWith(QChar(0xFEFF))) raw.first().remove(0, 1);
    for (int i = 0; i < raw.size(); ++i) {
        QString source = raw[i];
        if (source.endsWith(u'\r')) source.chop(1);  // a file written with CR LF line ends
        const QString bare = source.trimmed();
        if (bare.isEmpty() || bare.startsWith(u'#')) continue;
        ScriptLine line;
        line.number = i + 1;
        const QString reason = ParseLine(source, line);
        if (!reason.isEmpty()) {
            const QString message = QStringLiteral("line %1: %2").arg(i + 1).arg(reason);
            if (!keepGoing) {
                error = message;
                return false;
            }
            if (skipped) skipped->append(message);
            continue;
        }
        lines.append(line);
    }
    return true;
}

QString ScenarioHelp() {
    return QStringLiteral(
        "usage: vlab-script FILE      play the scenario in FILE\n"
        "       vlab-script -         play the scenario read from standard input\n"
        "       vlab-script --keep-going FILE   report a line that cannot be carried out and go on\n"
        "       vlab-script --scale F FILE   the lab window at F times its normal size; press, move\n"
        "                                    and release still name surface pixels\n"
        "       vlab-script --version   print the version\n"
        "       vlab-script --experiments   list the experiments: code, name, button, file stem\n"
        "\n"
        "The lab starts offscreen (unless QT_QPA_PLATFORM names another platform) with the title\n"
        "screen shown; each line acts as the user would.\n"
        "# comment; blank lines are ignored; TEXT runs to the end of the line\n"
        "click WINDOW.CONTROL        click a button, radio button or hot spot (Form1.Button3,\n"
        "                            check.BitBtn1, Main.Image4)\n"
        "press X Y                   left button down on Form1.Image1 at surface pixel (X, Y)\n"
        "move X Y                    pointer moves to (X, Y) on Form1.Image1\n"
        "release X Y                 left button up at (X, Y)\n"
        "combo WINDOW.CONTROL TEXT   the user types or picks TEXT in an editable combo box\n"
        "slider WINDOW.CONTROL N     the user moves a track bar to position N\n"
        "key WINDOW.CONTROL TEXT     the user types TEXT into an edit box, key by key\n"
        "                            (\\b is Backspace, \\\\ a backslash)\n"
        "key Form1 KEY               the user presses KEY on the lab window, as Qt names it: Space\n"
        "                            (Start, Pause or Continue), Right (one tick of a paused run),\n"
        "                            F1 (操作说明), F11 (full screen and back)\n"
        "paste WINDOW.CONTROL TEXT   the user pastes TEXT (Ctrl+V) into an edit box or a combo box\n"
        "tick N                      deliver up to N ticks of Timer1; stop early once the timer stops\n"
        "snapshot FILE.png           write the 700 x 548 drawing surface\n"
        "copy                        copy the drawing surface to the clipboard, as Ctrl+C does\n"
        "save FILE.png               save the drawing surface as Ctrl+S does, without its dialog\n"
        "export FILE.csv             export the run's numbers since Setting as Ctrl+E does\n"
        "print FILE.pdf              write the help viewer's page as a PDF file, as its 导出 PDF does\n"
        "grab WINDOW FILE.png        write a picture of a whole window (Main, Form1, table3, check, Form2)\n"
        "dump FILE.json              write the lab's state\n"
        "trace FILE.csv NAME ...     from now on write one row per delivered tick: TickCount, then\n"
        "                            the named variables (an array entry as NAME[i])\n"
        "trace off                   stop writing the trace\n"
        "close WINDOW                the window manager's close (title bar cross, Alt+F4) on a window\n"
        "realtime MS                 let Timer1 deliver its ticks in real time for MS milliseconds\n"
        "check                       the lab is in one of its run-control states, Timer1 runs only\n"
        "                            in a run, no variable is NaN or infinite and no drawing call\n"
        "                            lost its place; otherwise the run stops there, --keep-going or not\n"
        "\n"
        "When a command opens a modal window, the next lines run while it is open. Windows are\n"
        "Main, Form1, table3, check and Form2; controls are named as on their windows.\n"
        "Paths are relative to the current directory.\n"
        "Exit status: 0 when every line was carried out; 2 for a line that could not be (reported\n"
        "as 'line N: reason' on standard error; the run stops there unless --keep-going), a modal\n"
        "window left open at the end, lines left after the program has ended, or a missing or\n"
        "unreadable FILE.\n");
}

QJsonObject DescribeEverything() {
    QJsonObject out = LabVariables();

    QJsonObject controls;
    QJsonObject windows;
    QWidget* modal = QApplication::activeModalWidget();
    for (const QString& name : kWindowNames) {
        QWidget* window = WindowNamed(name);
        if (!window) continue;
        const QRect frame = window->frameGeometry();
        windows.insert(name, QJsonObject{{QStringLiteral("visible"), window->isVisible()},
                                         {QStringLiteral("modal"), window == modal},
                                         {QStringLiteral("x"), frame.x()},
                                         {QStringLiteral("y"), frame.y()},
                                         {QStringLiteral("width"), frame.width()},
                                         {QStringLiteral("height"), frame.height()}});
        const QList<QWidget*> children = window->findChildren<QWidget*>();
        for (QWidget* child : children) {
            const QString control = child->objectName();
            // Unnamed widgets and Qt's own parts of a control are not controls of the form.
            if (control.isEmpty() || IsQtPart(child, window)) continue;
            const QString key = name + u'.' + control;
            if (!controls.contains(key)) controls.insert(key, DescribeControl(window, child));
        }
    }
    out.insert(QStringLiteral("controls"), controls);
    out.insert(QStringLiteral("windows"), windows);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->geometry();
        out.insert(QStringLiteral("screen"),
                   QJsonObject{{QStringLiteral("width"), s.width()}, {QStringLiteral("height"), s.height()}});
    }

    if (Form1) {
        out.insert(QStringLiteral("Timer1"),
                   QJsonObject{{QStringLiteral("active"), Form1->Timer1->isActive()},
                               {QStringLiteral("interval"), Form1->Timer1->interval()}});
        QJsonArray memo;
        const QString text = Form1->Memo1->toPlainText();
        if (!text.isEmpty()) {
            for (const QString& line : text.split(u'\n')) memo.append(line);
        }
        out.insert(QStringLiteral("Memo1"), memo);
    }
    if (Form2) {
        // The page the viewer was asked for, relative to the current directory when it lies there.
        QString page = HelpPagePath;
        const QString relative = QDir::current().relativeFilePath(page);
        if (!page.isEmpty() && !relative.startsWith(QLatin1String(".."))) page = relative;
        out.insert(QStringLiteral("help"),
                   QJsonObject{{QStringLiteral("visible"), Form2->isVisible()},
                               {QStringLiteral("page"), page},
                               {QStringLiteral("found"), !Form2->ShownFile().isEmpty()}});
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// The runner

ScriptRunner::ScriptRunner(QList<ScriptLine> lines, bool keepGoing, int priorFailures, QObject* parent)
    : QObject(parent), lines_(std::move(lines)), keepGoing_(keepGoing), failures_(priorFailures) {}

ScriptRunner::~ScriptRunner() { StopTrace(); }

void ScriptRunner::Start() {
    if (Form1) {
        Form1->Timer1->installEventFilter(this);
        // Ticks that arrive in real time are traced as the tick command's own are.
        connect(Form1->Timer1, &QTimer::timeout, this, [this] {
            if (realtime_ && trace_.isOpen()) WriteTraceRow();
        });
    }
    Post();
}

bool ScriptRunner::eventFilter(QObject* watched, QEvent* event) {
    if (!realtime_ && Form1 && watched == Form1->Timer1 && event->type() == QEvent::Timer) return true;
    return QObject::eventFilter(watched, event);
}

void ScriptRunner::Post() {
    if (pending_ || failed_ || finished_) return;
    pending_ = true;
    QMetaObject::invokeMethod(this, &ScriptRunner::Continue, Qt::QueuedConnection);
}

void ScriptRunner::Continue() {
    pending_ = false;
    if (failed_ || finished_) return;
    QWidget* modal = QApplication::activeModalWidget();
    if (!running_.isEmpty() && (!modal || modal == running_.last().modalBefore)) {
        // Inside a line that has not returned, and it has opened no window that is still open:
        // the line posts the next step itself when it returns.
        return;
    }
    if (next_ < lines_.size()) {
        RunLine(next_++);
        return;
    }
    if (modal) {
        const int number = !running_.isEmpty() ? lines_[running_.last().index].number
                           : lines_.isEmpty()  ? 0
                                               : lines_.last().number;
        Fail(number, QStringLiteral("%1 is still open at the end of the scenario").arg(modal->objectName()),
             true);
        return;
    }
    finished_ = true;
    StopTrace();
    QCoreApplication::exit(failures_ > 0 ? 2 : 0);
}

void ScriptRunner::RunLine(int index) {
    running_.append({index, QApplication::activeModalWidget()});
    // Posted first: should the line open a modal window, its event loop runs the next lines.
    Post();
    const QString reason = Execute(lines_[index]);
    running_.removeLast();
    if (!reason.isEmpty()) {
        // A broken invariant is a fault of the lab, not a line a user could not carry out.
        Fail(lines_[index].number, reason, lines_[index].command == ScriptCommand::Check);
        return;
    }
    Post();
}

void ScriptRunner::Fail(int lineNumber, const QString& reason, bool fatal) {
    if (failed_) return;
    ++failures_;
    const QByteArray message = QStringLiteral("line %1: %2\n").arg(lineNumber).arg(reason).toUtf8();
    std::fputs(message.constData(), stderr);
    std::fflush(stderr);
    if (keepGoing_ && !fatal) return;
    failed_ = true;
    StopTrace();
    // Leaves every event loop, the modal windows' ones included.
    QCoreApplication::exit(2);
}

int ScriptRunner::Finish() {
    StopTrace();
    if (failed_) return 2;
    if (finished_) return failures_ > 0 ? 2 : 0;
    // The program ended by itself during the run.
    if (next_ < lines_.size()) {
        const QByteArray message =
            QStringLiteral("line %1: the program has already ended\n").arg(lines_[next_].number).toUtf8();
        std::fputs(message.constData(), stderr);
        return 2;
    }
    return failures_ > 0 ? 2 : 0;
}

QString ScriptRunner::Execute(const ScriptLine& line) {
    switch (line.command) {
        case ScriptCommand::Click: return Click(line);
        case ScriptCommand::Press:
        case ScriptCommand::Move:
        case ScriptCommand::Release: return Mouse(line);
        case ScriptCommand::Combo: return Combo(line);
        case ScriptCommand::Slider: return Slider(line);
        case ScriptCommand::Key: return Key(line);
        case ScriptCommand::Tick: return Tick(line);
        case ScriptCommand::Snapshot: return WritePicture(line.text, Surface().image());
        case ScriptCommand::Grab: {
            QWidget* window = WindowNamed(line.window);
            if (!window) return QStringLiteral("window %1 does not exist").arg(line.window);
            return WritePicture(line.text, window->grab().toImage());
        }
        case ScriptCommand::Copy: CopySurface(); return {};
        case ScriptCommand::Save: {
            const QString problem = SaveSurfacePicture(line.text);
            return problem.isEmpty() ? QString()
                                     : QStringLiteral("cannot write '%1': %2").arg(line.text, problem);
        }
        case ScriptCommand::Export: {
            const QString problem = ExportRunNumbers(line.text);
            return problem.isEmpty() ? QString()
                                     : QStringLiteral("cannot write '%1': %2").arg(line.text, problem);
        }
        case ScriptCommand::Print: {
            const QString problem = Form2 ? Form2->ExportPdf(line.text) : QStringLiteral("no help viewer");
            return problem.isEmpty() ? QString()
                                     : QStringLiteral("cannot write '%1': %2").arg(line.text, problem);
        }
            return Form2 ? Form2->ExportPdf(line.text) : QStringLiteral("no help viewer");
        case ScriptCommand::Dump:
            return WriteBytes(line.text, QJsonDocument(DescribeEverything()).toJson(QJsonDocument::Indented));
        case ScriptCommand::Trace: return StartTrace(line);
        case ScriptCommand::TraceOff: StopTrace(); return {};
        case ScriptCommand::Close: return Close(line);
        case ScriptCommand::Realtime: return Realtime(line);
        case ScriptCommand::Paste: return Paste(line);
        case ScriptCommand::Check: {
            const QString broken = CheckInvariants();
            return broken.isEmpty() ? QString() : QStringLiteral("invariant broken: ") + broken;
        }
    }
    return QStringLiteral("unknown command");
}

QString ScriptRunner::Click(const ScriptLine& line) {
    QWidget* control = nullptr;
    const QString reason = FindUsable(line, control);
    if (!reason.isEmpty()) return reason;
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        button->click();  // returns only when a modal window it opens has closed
        return {};
    }
    if (auto* picture = qobject_cast<PictureBox*>(control)) {
        if (picture->OnClick) picture->OnClick();
        return {};
    }
    return QStringLiteral("%1 cannot be clicked").arg(Named(line));
}

QString ScriptRunner::Mouse(const ScriptLine& line) {
    ScriptLine surface = line;
    surface.window = QStringLiteral("Form1");
    surface.control = QStringLiteral("Image1");
    QWidget* image = nullptr;
    const QString reason = FindUsable(surface, image);
    if (!reason.isEmpty()) return reason;

    // Qt keeps delivering to the surface while the button is held, also beyond its edges.
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButton button = Qt::NoButton;
    if (line.command == ScriptCommand::Press) {
        type = QEvent::MouseButtonPress;
        button = Qt::LeftButton;
        buttonHeld_ = true;
    } else if (line.command == ScriptCommand::Release) {
        type = QEvent::MouseButtonRelease;
        button = Qt::LeftButton;
        buttonHeld_ = false;
    }
    const Qt::MouseButtons held = buttonHeld_ ? Qt::LeftButton : Qt::NoButton;
    // The middle of the surface pixel's square on screen (at the normal size, its corner, as ever).
    const double scale = Form1->Image1->Scale();
    const QPointF local =
        scale == 1.0 ? QPointF(line.x, line.y) : QPointF((line.x + 0.5) * scale, (line.y + 0.5) * scale);
    QMouseEvent event(type, local, image->mapToGlobal(local), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(image, &event);
    return {};
}

QString ScriptRunner::Combo(const ScriptLine& line) {
    QWidget* control = nullptr;
    const QString reason = FindUsable(line, control);
    if (!reason.isEmpty()) return reason;
    auto* box = qobject_cast<QComboBox*>(control);
    if (!box) return QStringLiteral("%1 is not a combo box").arg(Named(line));
    if (table3 && box->window() == table3) {
        table3->UserComboText(box, line.text);
        return {};
    }
    if (box->isEditable()) {
        box->setEditText(line.text);
        return {};
    }
    const int index = box->findText(line.text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) return QStringLiteral("'%1' is not an item of %2").arg(line.text, Named(line));
    box->setCurrentIndex(index);
    return {};
}

QString ScriptRunner::Slider(const ScriptLine& line) {
    QWidget* control = nullptr;
    const QString reason = FindUsable(line, control);
    if (!reason.isEmpty()) return reason;
    auto* slider = qobject_cast<QAbstractSlider*>(control);
    if (!slider) return QStringLiteral("%1 is not a track bar").arg(Named(line));
    // The slider mirrors its model's range: a position beyond it is one the user cannot reach.
    if (line.x < slider->minimum() || line.x > slider->maximum()) {
        return QStringLiteral("position %1 is outside %2's range %3..%4")
            .arg(line.x)
            .arg(Named(line))
            .arg(slider->minimum())
            .arg(slider->maximum());
    }
    slider->setValue(line.x);  // the slider hands the move to its model
    return {};
}

// A key pressed on a whole window: the user brings the window to the front (it cannot while a
// modal window is open) and the key goes through the window system's path, shortcuts included, to
// whatever the window does with it.
QString ScriptRunner::WindowKey(const ScriptLine& line) {
    QWidget* window = WindowNamed(line.window);
    if (!window) return QStringLiteral("window %1 does not exist").arg(line.window);
    if (!window->isVisible() || !window->windowHandle())
        return QStringLiteral("%1 is not shown, so it takes no keys").arg(line.window);
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal == window) {
        QT_WARNING_PUSH
        QT_WARNING_DISABLE_DEPRECATED
        QApplication::setActiveWindow(window);
        QT_WARNING_POP
    }
    const QKeyCombination combined = QKeyCombination::fromCombined(line.x);
    const int key = combined.key();
    const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
    const int ticksBefore = TickCount;
    QPointer<QWindow> handle = window->windowHandle();
    qt_handleKeyEvent(handle, QEvent::KeyPress, key, combined.keyboardModifiers(), text);
    if (handle) qt_handleKeyEvent(handle, QEvent::KeyRelease, key, combined.keyboardModifiers(), text);
    // A step taken by a key is a tick like the tick command's.
    if (trace_.isOpen() && TickCount != ticksBefore) WriteTraceRow();
    return {};
}

QString ScriptRunner::Key(const ScriptLine& line) {
    if (line.control.isEmpty()) return WindowKey(line);
    QWidget* control = nullptr;
    const QString reason = FindUsable(line, control);
    if (!reason.isEmpty()) return reason;
    auto* edit = qobject_cast<QLineEdit*>(control);
    if (!edit) return QStringLiteral("%1 is not an edit box").arg(Named(line));
    if (table3 && edit == table3->Edit1) {
        table3->UserTypeEdit(line.text);  // through the panel's key filter, key by key
        return {};
    }
    for (QChar c : line.text) {
        const bool backspace = c == QChar(8);
        const int key = backspace ? int(Qt::Key_Backspace) : int(c.toUpper().unicode());
        const QString keyText = backspace ? QString() : QString(c);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, keyText);
        QCoreApplication::sendEvent(edit, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, keyText);
        QCoreApplication::sendEvent(edit, &release);
    }
    return {};
}

// Ctrl+V with TEXT on the clipboard, into the edit box or the edit field of a combo box.
QString ScriptRunner::Paste(const ScriptLine& line) {
    QWidget* control = nullptr;
    const QString reason = FindUsable(line, control);
    if (!reason.isEmpty()) return reason;
    QWidget* target = qobject_cast<QLineEdit*>(control);
    if (auto* box = qobject_cast<QComboBox*>(control); box && box->isEditable()) target = box->lineEdit();
    if (!target) return QStringLiteral("%1 takes no pasted text").arg(Named(line));
    QGuiApplication::clipboard()->setText(line.text);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_V, Qt::ControlModifier);
    QCoreApplication::sendEvent(target, &release);
    return {};
}

QString ScriptRunner::Tick(const ScriptLine& line) {
    if (!Form1) return QStringLiteral("the lab window does not exist");
    for (int i = 0; i < line.x; ++i) {
        if (!Form1->Timer1->isActive()) break;
        Form1->Timer1Timer();
        if (trace_.isOpen()) WriteTraceRow();
    }
    return {};
}

// The window manager's close: only a window on screen has a title bar to close it by, and a window
// behind a modal one takes no input. What the close does is the window's own affair.
QString ScriptRunner::Close(const ScriptLine& line) {
    QWidget* window = WindowNamed(line.window);
    if (!window) return QStringLiteral("window %1 does not exist").arg(line.window);
    if (!window->isVisible())
        return QStringLiteral("%1 is not shown, so it cannot be closed").arg(line.window);
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != window)
        return QStringLiteral("%1 is behind the modal window %2").arg(line.window, modal->objectName());
    window->close();  // returns only when a question it asks has been answered
    return {};
}

// The one command that lets wall-clock time pass: Timer1 runs on its own for the given time, at
// its interval, with the screen refreshing as it would for a user.
QString ScriptRunner::Realtime(const ScriptLine& line) {
    if (!Form1) return QStringLiteral("the lab window does not exist");
    QEventLoop loop;
    QTimer::singleShot(line.x, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    realtime_ = true;
    loop.exec();
    realtime_ = false;
    return {};
}

QString ScriptRunner::StartTrace(const ScriptLine& line) {
    StopTrace();
    const QJsonObject vars = LabVariables();
    QStringList names;
    QList<int> indices;
    for (const QString& column : line.names) {
        const QRegularExpressionMatch m = TraceNamePattern().match(column);
        const QString name = m.captured(1);
        const int index = m.captured(2).isEmpty() ? -1 : m.captured(2).toInt();
        if (!vars.contains(name)) return QStringLiteral("unknown variable '%1'").arg(name);
        const QJsonValue whole = vars.value(name);
        if (index < 0 && whole.isArray())
            return QStringLiteral("%1 is an array; name its entries as %1[i]").arg(name);
        if (index >= 0 && !whole.isArray()) return QStringLiteral("%1 is not an array").arg(name);
        if (index >= 0 && index >= whole.toArray().size())
            return QStringLiteral("%1 has %2 entries, no %3")
                .arg(name)
                .arg(whole.toArray().size())
                .arg(column);
        const QJsonValue v = TraceValue(vars, name, index);
        if (!v.isDouble() && !v.isBool()) return QStringLiteral("%1 is not a number").arg(column);
        names << name;
        indices << index;
    }
    trace_.setFileName(line.text);
    if (!PrepareFolder(line.text) ||
        !trace_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return QStringLiteral("cannot write '%1'").arg(line.text);
    traceNames_ = names;
    traceIndex_ = indices;
    const QByteArray header =
        (QStringList{QStringLiteral("TickCount")} + line.names).join(u',').toUtf8() + '\n';
    trace_.write(header);
    trace_.flush();
    return {};
}

void ScriptRunner::WriteTraceRow() {
    const QJsonObject vars = LabVariables();
    QStringList cells{QString::number(TickCount)};
    for (int i = 0; i < traceNames_.size(); ++i) {
        const QJsonValue v = TraceValue(vars, traceNames_[i], traceIndex_[i]);
        if (v.isBool())
            cells << QString::number(v.toBool() ? 1 : 0);
        else if (v.isDouble())
            cells << Shortest(v.toDouble());
        else
            cells << QString();
    }
    trace_.write(cells.join(u',').toUtf8() + '\n');
    trace_.flush();  // a run that ends early still leaves every row written so far
}

void ScriptRunner::StopTrace() {
    if (trace_.isOpen()) trace_.close();
    traceNames_.clear();
    traceIndex_.clear();
}

}  // namespace vlab
