// Scenario tests: the built vlab-script plays the scenarios kept in tests/app/scenarios (or short
// ones given on standard input), each in a fresh folder, and the tests read its dumps, traces and
// pictures.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <numbers>

#include "pictures.h"
#include "registry/registry.h"
#include "scenario_support.h"

namespace {

using namespace vlab::test;

// The block's displacement after n ticks of a spring with constant k and mass m let go at amplitude
// a: the phase advances by sqrt(k/m) degrees a tick.
double SpringClosedForm(double a, double k, double m, int n) {
    return a * std::cos(n * std::sqrt(k / m) * std::numbers::pi / 180.0);
}

}  // namespace

class ScenarioTest : public QObject {
    Q_OBJECT

private slots:
    void startUpAndEnteringTheLab();
    void choosingEachExperiment();
    void springRunEnergiesTraceAndPictures();
    void runControlPauseSpeedStopReturn();
    void panelOkPathThroughTheConfirmation();
    void panelExitPathAnsweredNoThenYes();
    void exitAnsweredNoKeepsTheLab();
    void programEndingDuringTheScenario();
    void linesThatCannotBeCarriedOut_data();
    void linesThatCannotBeCarriedOut();
    void commandLine();
    void sameScenarioTwiceGivesTheSameFiles();
    void labWindowClosedByTheWindowManager();
    void panelAndDialogClosedByTheWindowManager();
    void titleScreenAndHelpViewerClosed();
    void helpViewerCentredOnTheScreen();
    void comboTextKeepsTheUsersTrailingSpace();
    void keepGoingSkipsWhatCannotBeCarriedOut();
    void realtimeLetsTheTimerRun();
};

void ScenarioTest::startUpAndEnteringTheLab() {
    QTemporaryDir dir;
    const Outcome run = PlayFile(dir.path(), QStringLiteral("enter_lab.vls"));
    QCOMPARE(run.status, 0);

    const QJsonObject start = Load(dir.path(), QStringLiteral("start.json"));
    QVERIFY(WindowShown(start, "Main"));
    QVERIFY(!WindowShown(start, "Form1"));
    QVERIFY(!WindowShown(start, "table3"));
    QVERIFY(!WindowShown(start, "check"));
    QCOMPARE(Number(start, "ExperimentCode"), double(vlab::CodeOf("Pulley")));  // its start value
    QCOMPARE(Number(start, "TickCount"), 0.0);
    QVERIFY(!TimerActive(start));
    QVERIFY(!Enabled(start, "Form1.Button4"));
    QVERIFY(!Enabled(start, "Form1.Button2"));
    QVERIFY(start.value(QStringLiteral("Memo1")).toArray().isEmpty());
    QVERIFY(!start.value(QStringLiteral("help")).toObject().value(QStringLiteral("visible")).toBool());
    // The speed bar is reported from its model, which keeps its position within its range.
    const QJsonObject bar = Control(start, "Form1.TrackBar1");
    QVERIFY(bar.value(QStringLiteral("min")).toInt() <= bar.value(QStringLiteral("position")).toInt());
    QVERIFY(bar.value(QStringLiteral("position")).toInt() <= bar.value(QStringLiteral("max")).toInt());
    QCOMPARE(TimerInterval(start), bar.value(QStringLiteral("position")).toInt());
    // Qt's own parts of a control are not listed as controls.
    for (const QString& key : start.value(QStringLiteral("controls")).toObject().keys()) {
        QVERIFY2(!key.contains(QLatin1String("qt_")) && !key.contains(QLatin1String("Scroll")),
                 qPrintable(key));
    }

    const QImage title(dir.filePath(QStringLiteral("title.png")));
    QCOMPARE(title.size(), QSize(807, 607));

    const QJsonObject lab = Load(dir.path(), QStringLiteral("lab.json"));
    QVERIFY(!WindowShown(lab, "Main"));
    QVERIFY(WindowShown(lab, "Form1"));
    QVERIFY(Visible(lab, "Form1.PageControl1"));
    for (const vlab::Experiment* e : vlab::AllExperiments()) {
        const QByteArray button = "Form1." + QByteArray(e->buttonName);
        QVERIFY2(Visible(lab, button.constData()) && Enabled(lab, button.constData()), button.constData());
    }
}

void ScenarioTest::choosingEachExperiment() {
    QTemporaryDir dir;
    const Outcome run = PlayFile(dir.path(), QStringLiteral("choose_each.vls"));
    QCOMPARE(run.status, 0);
    // The scenario clicks the buttons in the order of the codes and names each dump after its
    // button's number: choose_3.json after Button3.
    bool first = true;
    for (const vlab::Experiment* e : vlab::AllExperiments()) {
        const QString button = QLatin1String(e->buttonName).mid(6);
        const QJsonObject dump = Load(dir.path(), QStringLiteral("choose_%1.json").arg(button));
        QCOMPARE(Number(dump, "ExperimentCode"), double(e->code));
        QCOMPARE(Number(dump, "TickCount"), 0.0);
        QVERIFY(!TimerActive(dump));
        QVERIFY(Enabled(dump, "Form1.Button4"));
        QVERIFY(!Visible(dump, "Form1.PageControl1"));
        QVERIFY(Visible(dump, "Form1.Button11"));
        QVERIFY(!Enabled(dump, "Form1.Button11"));
        // The first choice shows the operating instructions once, every later one its own page.
        const QJsonObject help = dump.value(QStringLiteral("help")).toObject();
        QVERIFY(help.value(QStringLiteral("visible")).toBool());
        const QString page = first ? QStringLiteral("/help/op.htm") : e->helpPage;
        QCOMPARE(help.value(QStringLiteral("page")).toString(), page.mid(1));
        first = false;
    }
    const QJsonObject back = Load(dir.path(), QStringLiteral("returned.json"));
    QVERIFY(Visible(back, "Form1.PageControl1"));
    QVERIFY(Visible(back, "Form1.Image3"));
    QVERIFY(!Visible(back, "Form1.Button11"));
    QVERIFY(!Enabled(back, "Form1.Button4"));
}

void ScenarioTest::springRunEnergiesTraceAndPictures() {
    QTemporaryDir dir;
    const Outcome run = PlayFile(dir.path(), QStringLiteral("spring_energy.vls"));
    QCOMPARE(run.status, 0);

    const QJsonObject dump = Load(dir.path(), QStringLiteral("spring_energy.json"));
    QCOMPARE(Number(dump, "ExperimentCode"), double(vlab::CodeOf("SpringEnergy")));
    QCOMPARE(Number(dump, "SpringConstant"), 3.0);
    QCOMPARE(Number(dump, "SpringMass"), 2.0);
    QCOMPARE(Number(dump, "SpringDisplacement"), 200.0);
    QCOMPARE(Number(dump, "TickCount"), 400.0);
    QVERIFY(TimerActive(dump));
    const double x400 = SpringClosedForm(200, 3, 2, 400);
    QVERIFY(std::fabs(Number(dump, "SpringX") - x400) < 1e-9);
    // No friction: potential and kinetic energy add up to the energy of the first tick, and the
    // potential energy goes with the square of the displacement.
    const double e0 = Number(dump, "SpringEnergy0");
    QVERIFY(e0 > 0);
    QVERIFY(std::fabs(Number(dump, "SpringPotential") + Number(dump, "SpringKinetic") - e0) < 1e-9 * e0);
    const double x1 = SpringClosedForm(200, 3, 2, 1);
    QVERIFY(std::fabs(Number(dump, "SpringPotential") / e0 - (x400 * x400) / (x1 * x1)) < 1e-9);

    // The trace: a header and one row per tick, numbers in shortest form that read back exactly.
    const QStringList rows = CsvRows(dir.filePath(QStringLiteral("spring_trace.csv")));
    QCOMPARE(rows.size(), 401);
    QCOMPARE(rows[0], QStringLiteral("TickCount,SpringX,SpringPotential,SpringKinetic"));
    for (int n : {1, 90, 400}) {
        const QStringList cells = rows[n].split(u',');
        QCOMPARE(cells.size(), 4);
        QCOMPARE(cells[0], QString::number(n));
        QVERIFY(std::fabs(cells[1].toDouble() - SpringClosedForm(200, 3, 2, n)) < 1e-9);
        QVERIFY(std::fabs(cells[2].toDouble() + cells[3].toDouble() - e0) < 1e-9 * e0);
    }
    QCOMPARE(rows[400].split(u',')[1].toDouble(), Number(dump, "SpringX"));

    // The pictures: the pale green block stands at 314 + x on the surface at each snapshot.
    const std::pair<const char*, double> pictures[] = {{"spring_tick0.png", 200.0},
                                                       {"spring_tick90.png", SpringClosedForm(200, 3, 2, 90)},
                                                       {"spring_tick400.png", x400}};
    for (const auto& [name, x] : pictures) {
        const QImage image(dir.filePath(QLatin1String(name)));
        QCOMPARE(image.size(), QSize(700, 548));
        QCOMPARE(Pixel(image, static_cast<int>(314 + x) + 20, 80), QRgb(0xA6DDA5));
    }
    QCOMPARE(QImage(dir.filePath(QStringLiteral("spring_window.png"))).size(), QSize(788, 600));
}

void ScenarioTest::runControlPauseSpeedStopReturn() {
    QTemporaryDir dir;
    const Outcome run = PlayFile(dir.path(), QStringLiteral("run_control.vls"));
    QCOMPARE(run.status, 0);

    const QJsonObject setting = Load(dir.path(), QStringLiteral("setting.json"));
    QVERIFY(!TimerActive(setting));
    QVERIFY(!Enabled(setting, "Form1.Button4"));
    QVERIFY(Enabled(setting, "Form1.Button2"));
    QVERIFY(!Enabled(setting, "Form1.Button7"));
    QVERIFY(Visible(setting, "Form1.SpeedButton1"));
    QVERIFY(!Visible(setting, "Form1.BitBtn1"));
    QCOMPARE(Number(setting, "MouseMoveActive"), 1.0);

    const QJsonObject started = Load(dir.path(), QStringLiteral("started.json"));
    QVERIFY(TimerActive(started));
    QVERIFY(!Enabled(started, "Form1.Button2"));
    QVERIFY(Enabled(started, "Form1.Button7"));
    QCOMPARE(Number(started, "MouseMoveActive"), 0.0);
    QCOMPARE(Number(started, "SpringDisplacement"), 20.0);

    const QJsonObject paused = Load(dir.path(), QStringLiteral("paused.json"));
    QCOMPARE(Number(paused, "TickCount"), 10.0);
    QVERIFY(!TimerActive(paused));
    QCOMPARE(Text(paused, "Form1.Button7"), QStringLiteral("Continue"));

    // Ticks while paused deliver nothing; after Continue they run again; the speed bar sets the
    // timer's interval.
    const QJsonObject continued = Load(dir.path(), QStringLiteral("continued.json"));
    QCOMPARE(Number(continued, "TickCount"), 17.0);
    QVERIFY(TimerActive(continued));
    QCOMPARE(Text(continued, "Form1.Button7"), QStringLiteral("Pause"));
    QCOMPARE(TimerInterval(continued), 70);
    QCOMPARE(Control(continued, "Form1.TrackBar1").value(QStringLiteral("position")).toInt(), 70);

    // The trace holds the ticks between trace and trace off, and nothing from the pause.
    const QStringList rows = CsvRows(dir.filePath(QStringLiteral("run.csv")));
    QCOMPARE(rows.size(), 16);
    QCOMPARE(rows[0], QStringLiteral("TickCount,SpringX,SpringTrail[0]"));
    QCOMPARE(rows[10].section(u',', 0, 0), QStringLiteral("10"));
    QCOMPARE(rows[11].section(u',', 0, 0), QStringLiteral("11"));
    QCOMPARE(rows[15].section(u',', 0, 0), QStringLiteral("15"));
    QVERIFY(std::fabs(rows[15].section(u',', 1, 1).toDouble() - SpringClosedForm(20, 2, 2, 15)) < 1e-9);

    const QJsonObject stopped = Load(dir.path(), QStringLiteral("stopped.json"));
    QVERIFY(!TimerActive(stopped));
    QVERIFY(Enabled(stopped, "Form1.Button4"));
    QVERIFY(Enabled(stopped, "Form1.Button11"));
    QVERIFY(!Enabled(stopped, "Form1.Button7"));
    QVERIFY(!Enabled(stopped, "Form1.Button2"));
    QVERIFY(Visible(stopped, "Form1.BitBtn1"));
    QVERIFY(!Visible(stopped, "Form1.SpeedButton1"));

    const QJsonObject back = Load(dir.path(), QStringLiteral("returned.json"));
    QCOMPARE(Number(back, "TickCount"), 17.0);
    QVERIFY(Visible(back, "Form1.PageControl1"));
    QVERIFY(!Visible(back, "Form1.Panel2"));
    QVERIFY(back.value(QStringLiteral("Memo1")).toArray().isEmpty());
}

void ScenarioTest::panelOkPathThroughTheConfirmation() {
    QTemporaryDir dir;
    const Outcome run = PlayFile(dir.path(), QStringLiteral("panel_ok.vls"));
    QCOMPARE(run.status, 0);

    // The lines after Setting ran while the panel was open.
    const QJsonObject panel = Load(dir.path(), QStringLiteral("panel.json"));
    QVERIFY(WindowShown(panel, "table3"));
    QVERIFY(WindowModal(panel, "table3"));
    QCOMPARE(Text(panel, "table3.ComboBox1"), QStringLiteral("作用力"));
    QCOMPARE(Control(panel, "table3.TrackBar1").value(QStringLiteral("position")).toInt(), 4550);
    QVERIFY(Enabled(panel, "table3.Button1"));
    QCOMPARE(Number(panel, "PanelAccepted"), 0.0);
    const QString force = Text(panel, "table3.Edit1");
    QCOMPARE(force, QString::number(Number(panel, "AppliedForce")));

    // OK asks first: the confirmation is open over the panel, and the panel is behind it.
    const QJsonObject asking = Load(dir.path(), QStringLiteral("asking.json"));
    QVERIFY(WindowShown(asking, "check") && WindowModal(asking, "check"));
    QVERIFY(WindowShown(asking, "table3") && !WindowModal(asking, "table3"));
    QVERIFY(Text(asking, "check.Memo1").startsWith(QStringLiteral("作用力F = 0 ~ ") + force));
    QCOMPARE(QImage(dir.filePath(QStringLiteral("asking.png"))).size(), QSize(220, 111));

    const QJsonObject accepted = Load(dir.path(), QStringLiteral("accepted.json"));
    QVERIFY(!WindowShown(accepted, "check"));
    QVERIFY(!WindowShown(accepted, "table3"));
    QCOMPARE(Number(accepted, "PanelAccepted"), 1.0);
    QCOMPARE(Number(accepted, "ConfirmAnswer"), 1.0);
    const QJsonArray memo = accepted.value(QStringLiteral("Memo1")).toArray();
    QCOMPARE(memo.size(), 1);
    QVERIFY(memo[0].toString().startsWith(QStringLiteral("作用力F = 0 ~ ") + force));
    QVERIFY(Enabled(accepted, "Form1.Button2"));
}

void ScenarioTest::panelExitPathAnsweredNoThenYes() {
    QTemporaryDir dir;
    const Outcome run = PlayFile(dir.path(), QStringLiteral("panel_exit.vls"));
    QCOMPARE(run.status, 0);

    const QJsonObject stayed = Load(dir.path(), QStringLiteral("stayed.json"));
    QVERIFY(WindowShown(stayed, "table3") && WindowModal(stayed, "table3"));
    QVERIFY(!WindowShown(stayed, "check"));
    QCOMPARE(Number(stayed, "ConfirmAnswer"), 0.0);

    const QJsonObject left = Load(dir.path(), QStringLiteral("left.json"));
    QVERIFY(!WindowShown(left, "table3"));
    QVERIFY(!WindowShown(left, "check"));
    QCOMPARE(Number(left, "PanelAccepted"), 0.0);
    QVERIFY(!TimerActive(left));
    QVERIFY(!Enabled(left, "Form1.Button2"));
    QVERIFY(!Enabled(left, "Form1.Button7"));
    QVERIFY(Visible(left, "Form1.Button11"));
}

void ScenarioTest::exitAnsweredNoKeepsTheLab() {
    QTemporaryDir dir;
    const Outcome run = PlayFile(dir.path(), QStringLiteral("exit_no.vls"));
    QCOMPARE(run.status, 0);
    const QJsonObject asking = Load(dir.path(), QStringLiteral("asking.json"));
    QVERIFY(WindowModal(asking, "check"));
    QCOMPARE(Text(asking, "check.Memo1"), QStringLiteral("你确定要离开吗??"));
    const QJsonObject stayed = Load(dir.path(), QStringLiteral("stayed.json"));
    QVERIFY(WindowShown(stayed, "Form1"));
    QVERIFY(!WindowShown(stayed, "check"));
    QCOMPARE(Number(stayed, "ConfirmAnswer"), 0.0);
    QCOMPARE(Number(stayed, "TickCount"), 3.0);
    QCOMPARE(Number(stayed, "ExperimentCode"), double(vlab::CodeOf("SpringEnergy")));
}

void ScenarioTest::programEndingDuringTheScenario() {
    QTemporaryDir dir;
    QCOMPARE(PlayFile(dir.path(), QStringLiteral("exit_yes.vls")).status, 0);
    QCOMPARE(PlayFile(dir.path(), QStringLiteral("leave_title.vls")).status, 0);
    QVERIFY(QFile::exists(dir.filePath(QStringLiteral("before.json"))));

    // A line after the end is one that cannot be carried out; comments after it are fine.
    const Outcome late =
        PlayText(dir.path(), QStringLiteral("click Main.Image4\nclick Form1.BitBtn1\n"
                                            "click check.BitBtn1\n# done\n\ndump late.json\n"));
    QCOMPARE(late.status, 2);
    QVERIFY2(late.errors.contains(QStringLiteral("line 6: the program has already ended")),
             qPrintable(late.errors));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("late.json"))));
    const Outcome trailing = PlayText(dir.path(), QStringLiteral("click Main.Image5\n# the end\n\n"));
    QCOMPARE(trailing.status, 0);
}

void ScenarioTest::linesThatCannotBeCarriedOut_data() {
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("stopsThere");  // false: the run goes on to the end of the scenario
    const QString lab = QStringLiteral("click Main.Image4\n");
    const QString panel = lab + QStringLiteral("click Form1.Button3\nclick Form1.Button4\n");
    QTest::newRow("unknown command") << lab + "frobnicate 3\n"
                                     << "line 2: unknown command 'frobnicate'" << true;
    QTest::newRow("unknown window") << lab + "click Form9.Button1\n"
                                    << "line 2: unknown window 'Form9'" << true;
    QTest::newRow("unknown control") << lab + "click Form1.Button99\n"
                                     << "line 2: unknown control 'Form1.Button99'" << true;
    QTest::newRow("disabled control") << lab + "click Form1.Button4\n"
                                      << "line 2: Form1.Button4 is disabled" << true;
    QTest::newRow("hidden control") << lab + "click Form1.Button11\n"
                                    << "line 2: Form1.Button11 is hidden" << true;
    QTest::newRow("window not shown")
        << QString("click check.BitBtn1\n") << "line 1: check is not shown" << true;
    QTest::newRow("not clickable") << lab + "click Form1.Memo1\n"
                                   << "line 2: Form1.Memo1 cannot be clicked" << true;
    QTest::newRow("malformed number") << lab + "tick 1x\n"
                                      << "line 2: malformed number '1x'" << true;
    QTest::newRow("fraction") << lab + "press 10.5 3\n"
                              << "line 2: malformed number '10.5'" << true;
    QTest::newRow("missing number") << lab + "press 10\n"
                                    << "line 2: a number is missing" << true;
    QTest::newRow("negative ticks") << lab + "tick -4\n"
                                    << "line 2: tick count -4 is negative" << true;
    QTest::newRow("slider beyond its range") << lab + "click Form1.Button1\nslider Form1.TrackBar1 500\n"
                                             << "line 3: position 500 is outside" << true;
    QTest::newRow("behind the panel") << panel + "click Form1.Button26\n"
                                      << "line 4: Form1.Button26 is behind the modal window table3" << true;
    QTest::newRow("panel left open") << panel << "line 3: table3 is still open at the end of the scenario"
                                     << false;
    QTest::newRow("question left open") << panel + "click table3.Button2\n"
                                        << "line 4: check is still open at the end of the scenario" << false;
    QTest::newRow("unknown trace variable")
        << QString("trace t.csv TickCount NoSuchValue\n") << "line 1: unknown variable 'NoSuchValue'" << true;
    QTest::newRow("array without index")
        << QString("trace t.csv KitSlots\n") << "line 1: KitSlots is an array" << true;
    QTest::newRow("index beyond the array")
        << QString("trace t.csv ChargeQ[4]\n") << "line 1: ChargeQ has 4 entries" << true;
    QTest::newRow("text variable") << QString("trace t.csv HelpPagePath\n")
                                   << "line 1: HelpPagePath is not a number" << true;
    QTest::newRow("bad escape") << panel + "key table3.Edit1 1\\x\n"
                                << "line 4: unknown escape" << true;
}

void ScenarioTest::linesThatCannotBeCarriedOut() {
    QFETCH(QString, script);
    QFETCH(QString, message);
    QFETCH(bool, stopsThere);
    QTemporaryDir dir;
    // A dump after a failing line must never be written: the run stops there. A window left open
    // is found only at the end, after every line has run.
    const Outcome run = PlayText(
        dir.path(), QStringLiteral("dump first.json\n") + script + QStringLiteral("dump after.json\n"));
    QCOMPARE(run.status, 2);
    // The dump line comes first, so every line number is one more than in the table.
    const int at = message.indexOf(u':');
    const QString shifted =
        QStringLiteral("line %1").arg(message.mid(5, at - 5).toInt() + 1) + message.mid(at);
    QVERIFY2(run.errors.contains(shifted), qPrintable(run.errors));
    QCOMPARE(QFile::exists(dir.filePath(QStringLiteral("after.json"))), !stopsThere);
}

void ScenarioTest::commandLine() {
    QTemporaryDir dir;
    const Outcome none = Play(dir.path(), {});
    QCOMPARE(none.status, 2);
    QVERIFY(none.errors.contains(QStringLiteral("usage")));
    const Outcome missing = Play(dir.path(), {QStringLiteral("no_such_scenario.vls")});
    QCOMPARE(missing.status, 2);
    QVERIFY(missing.errors.contains(QStringLiteral("cannot read 'no_such_scenario.vls'")));

    QProcess help;
    help.start(QStringLiteral(VLAB_SCRIPT), {QStringLiteral("--help")});
    QVERIFY(help.waitForFinished(30000));
    QCOMPARE(help.exitCode(), 0);
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    for (const char* command : {"click", "press", "move", "release", "combo", "slider", "key", "tick",
                                "snapshot", "grab", "dump", "trace"}) {
        QVERIFY2(text.contains(QLatin1String("\n") + QLatin1String(command) + QLatin1String(" ")), command);
    }

    // A mistyped line is found before the lab starts: nothing of the scenario runs.
    const Outcome early = PlayText(dir.path(), QStringLiteral("dump early.json\ntick\n"));
    QCOMPARE(early.status, 2);
    QVERIFY(early.errors.contains(QStringLiteral("line 2: a number is missing")));
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("early.json"))));
}

void ScenarioTest::sameScenarioTwiceGivesTheSameFiles() {
    for (const QString& scenario : {QStringLiteral("spring_energy.vls"), QStringLiteral("panel_ok.vls")}) {
        // Both runs start in the same folder, so even the folder named in the dump is the same.
        QTemporaryDir dir;
        QCOMPARE(PlayFile(dir.path(), scenario).status, 0);
        QDir folder(dir.path());
        const QStringList files = folder.entryList(QDir::Files, QDir::Name);
        QVERIFY(files.size() >= 3);
        QVERIFY(folder.mkdir(QStringLiteral("first")));
        for (const QString& name : files) QVERIFY(folder.rename(name, QStringLiteral("first/") + name));
        QCOMPARE(PlayFile(dir.path(), scenario).status, 0);
        QCOMPARE(folder.entryList(QDir::Files, QDir::Name), files);
        for (const QString& name : files) {
            QFile a(folder.filePath(QStringLiteral("first/") + name));
            QFile b(folder.filePath(name));
            QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
            QVERIFY2(a.readAll() == b.readAll(), qPrintable(scenario + u' ' + name));
        }
    }
}

// Everything the dump holds but the confirmation dialog's own memo, which shows the last question.
QJsonObject WithoutQuestion(QJsonObject dump) {
    QJsonObject controls = dump.value(QStringLiteral("controls")).toObject();
    controls.remove(QStringLiteral("check.Memo1"));
    dump.insert(QStringLiteral("controls"), controls);
    return dump;
}

void ScenarioTest::labWindowClosedByTheWindowManager() {
    // Chosen and Stopped: the close asks Exit's question; No leaves everything as it was.
    const QString chosen = QStringLiteral("click Main.Image4\nclick Form1.Button3\n");
    const QString stopped = QStringLiteral(
        "click Main.Image4\nclick Form1.Button1\nclick Form1.Button4\n"
        "click Form1.Button2\ntick 5\nclick Form1.Button26\n");
    for (const QString& state : {chosen, stopped}) {
        QTemporaryDir dir;
        const Outcome no =
            PlayText(dir.path(), state + QStringLiteral("click Form1.BitBtn1\nclick check.BitBtn2\n"
                                                        "dump before.json\nclose Form1\n"
                                                        "dump asking.json\nclick check.BitBtn2\n"
                                                        "dump after.json\n"));
        QCOMPARE(no.status, 0);
        const QJsonObject asking = Load(dir.path(), QStringLiteral("asking.json"));
        QVERIFY(WindowModal(asking, "check"));
        QCOMPARE(Text(asking, "check.Memo1"), QStringLiteral("你确定要离开吗??"));
        QCOMPARE(Load(dir.path(), QStringLiteral("after.json")),
                 Load(dir.path(), QStringLiteral("before.json")));

        // Yes ends the program as Exit does: nothing may follow.
        const Outcome yes =
            PlayText(dir.path(), state + QStringLiteral("close Form1\nclick check.BitBtn1\n"));
        QCOMPARE(yes.status, 0);
        const Outcome late = PlayText(
            dir.path(), state + QStringLiteral("close Form1\nclick check.BitBtn1\ndump late.json\n"));
        QCOMPARE(late.status, 2);
        QVERIFY2(late.errors.contains(QStringLiteral("the program has already ended")),
                 qPrintable(late.errors));
    }

    // Where Exit is hidden (Ready, Running, Paused, Ended) the close changes nothing and asks nothing.
    const QString ready = QStringLiteral("click Main.Image4\nclick Form1.Button1\nclick Form1.Button4\n");
    const QString running = ready + QStringLiteral("click Form1.Button2\ntick 3\n");
    const QString paused = running + QStringLiteral("click Form1.Button7\n");
    // An induction run ends by itself at tick 620 and leaves Exit hidden: the Ended state.
    const QString ended = QStringLiteral(
        "click Main.Image4\nclick Form1.Button6\nclick Form1.Button4\n"
        "click Form1.Button2\ntick 700\n");
    for (const QString& state : {ready, running, paused, ended}) {
        QTemporaryDir dir;
        const Outcome run = PlayText(dir.path(), state + QStringLiteral("dump before.json\nclose Form1\n"
                                                                        "dump after.json\n"));
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        const QJsonObject after = Load(dir.path(), QStringLiteral("after.json"));
        QVERIFY(!WindowShown(after, "check"));
        QVERIFY(WindowShown(after, "Form1"));
        QCOMPARE(after, Load(dir.path(), QStringLiteral("before.json")));
    }
}

void ScenarioTest::panelAndDialogClosedByTheWindowManager() {
    // The panel's close asks Exit's question and, on Yes, takes the Exit steps: the same state as
    // its own Exit answered Yes. On No the panel stays open.
    const QString open = QStringLiteral(
        "click Main.Image4\nclick Form1.Button3\nclick Form1.Button4\n"
        "combo table3.ComboBox1 作用力\nslider table3.TrackBar1 4550\n");
    QTemporaryDir dir;
    QCOMPARE(
        PlayText(dir.path(), open + QStringLiteral("close table3\ndump asking.json\nclick check.BitBtn2\n"
                                                   "dump stays.json\nclose table3\nclick check.BitBtn1\n"
                                                   "dump closed.json\n"))
            .status,
        0);
    QCOMPARE(PlayText(dir.path(), open + QStringLiteral("click table3.Button2\nclick check.BitBtn1\n"
                                                        "dump exited.json\n"))
                 .status,
             0);
    const QJsonObject asking = Load(dir.path(), QStringLiteral("asking.json"));
    QVERIFY(WindowModal(asking, "check"));
    QCOMPARE(Text(asking, "check.Memo1"), QStringLiteral("你确定要离开吗??"));
    QVERIFY(WindowModal(Load(dir.path(), QStringLiteral("stays.json")), "table3"));
    const QJsonObject closed = Load(dir.path(), QStringLiteral("closed.json"));
    QVERIFY(!WindowShown(closed, "table3"));
    QVERIFY(!Enabled(closed, "Form1.Button2"));  // nothing set up: Start stays off, Stop is the way on
    QCOMPARE(closed, Load(dir.path(), QStringLiteral("exited.json")));

    // The dialog's close is No: the lab stays.
    QCOMPARE(PlayText(dir.path(), QStringLiteral("click Main.Image4\nclick Form1.BitBtn1\nclose check\n"
                                                 "dump no.json\n"))
                 .status,
             0);
    const QJsonObject no = Load(dir.path(), QStringLiteral("no.json"));
    QVERIFY(WindowShown(no, "Form1"));
    QVERIFY(!WindowShown(no, "check"));
    QCOMPARE(Number(no, "ConfirmAnswer"), 0.0);
}

void ScenarioTest::titleScreenAndHelpViewerClosed() {
    QTemporaryDir dir;
    // The title screen's close ends the program, as its exit spot does.
    QCOMPARE(PlayText(dir.path(), QStringLiteral("close Main\n")).status, 0);
    const Outcome late = PlayText(dir.path(), QStringLiteral("close Main\ndump late.json\n"));
    QCOMPARE(late.status, 2);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("late.json"))));
    // The help viewer just hides; a hidden window has no title bar to close.
    QCOMPARE(PlayText(dir.path(), QStringLiteral("click Main.Image4\nclick Form1.Button3\nclose Form2\n"
                                                 "dump hidden.json\n"))
                 .status,
             0);
    const QJsonObject hidden = Load(dir.path(), QStringLiteral("hidden.json"));
    QVERIFY(!WindowShown(hidden, "Form2"));
    QVERIFY(WindowShown(hidden, "Form1"));
    const Outcome again = PlayText(dir.path(), QStringLiteral("click Main.Image4\nclose Form2\n"));
    QCOMPARE(again.status, 2);
    QVERIFY2(again.errors.contains(QStringLiteral("line 2: Form2 is not shown")), qPrintable(again.errors));
}

void ScenarioTest::helpViewerCentredOnTheScreen() {
    QTemporaryDir dir;
    // Shown by the first choice, then again (closed and shown) by the help button.
    QCOMPARE(PlayText(dir.path(), QStringLiteral("click Main.Image4\nclick Form1.Button3\ndump first.json\n"
                                                 "click Form1.BitBtn2\ndump again.json\n"))
                 .status,
             0);
    for (const char* name : {"first.json", "again.json"}) {
        const QJsonObject dump = Load(dir.path(), QLatin1String(name));
        const QJsonObject viewer =
            dump.value(QStringLiteral("windows")).toObject().value(QStringLiteral("Form2")).toObject();
        const QJsonObject screen = dump.value(QStringLiteral("screen")).toObject();
        QVERIFY(viewer.value(QStringLiteral("visible")).toBool());
        const double cx =
            viewer.value(QStringLiteral("x")).toInt() + viewer.value(QStringLiteral("width")).toInt() / 2.0;
        const double cy =
            viewer.value(QStringLiteral("y")).toInt() + viewer.value(QStringLiteral("height")).toInt() / 2.0;
        QVERIFY2(std::fabs(cx - screen.value(QStringLiteral("width")).toInt() / 2.0) <= 1.0, name);
        QVERIFY2(std::fabs(cy - screen.value(QStringLiteral("height")).toInt() / 2.0) <= 1.0, name);
    }
}

void ScenarioTest::comboTextKeepsTheUsersTrailingSpace() {
    QTemporaryDir dir;
    const QString open = QStringLiteral("click Main.Image4\nclick Form1.Button3\nclick Form1.Button4\n");
    const QString leave = QStringLiteral("click table3.Button2\nclick check.BitBtn1\n");
    QCOMPARE(PlayText(dir.path(), open +
                                      QStringLiteral("combo table3.ComboBox1 作用力 \ndump spaced.json\n"
                                                     "combo table3.ComboBox1 作用力\ndump exact.json\n") +
                                      leave)
                 .status,
             0);
    const QJsonObject spaced = Load(dir.path(), QStringLiteral("spaced.json"));
    QCOMPARE(Text(spaced, "table3.ComboBox1"), QStringLiteral("作用力 "));
    QVERIFY(!Enabled(spaced, "table3.Button1"));  // an item the box does not offer
    QVERIFY(Enabled(Load(dir.path(), QStringLiteral("exact.json")), "table3.Button1"));
}

void ScenarioTest::keepGoingSkipsWhatCannotBeCarriedOut() {
    QTemporaryDir dir;
    // Start is disabled in the Chosen state, and line 4 is not a command.
    const QString scenario = QStringLiteral(
        "click Main.Image4\nclick Form1.Button1\nclick Form1.Button2\n"
        "jump 3\nclick Form1.Button4\nclick Form1.Button2\ntick 7\n"
        "dump went_on.json\n");
    const Outcome stopped = PlayText(dir.path(), scenario);
    QCOMPARE(stopped.status, 2);
    QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("went_on.json"))));

    const Outcome going =
        Play(dir.path(), {QStringLiteral("--keep-going"), QStringLiteral("-")}, scenario.toUtf8());
    QCOMPARE(going.status, 2);
    QVERIFY2(going.errors.contains(QStringLiteral("line 3: Form1.Button2 is disabled")),
             qPrintable(going.errors));
    QVERIFY2(going.errors.contains(QStringLiteral("line 4: unknown command 'jump'")),
             qPrintable(going.errors));
    const QJsonObject dump = Load(dir.path(), QStringLiteral("went_on.json"));
    QCOMPARE(Number(dump, "TickCount"), 7.0);
    QVERIFY(TimerActive(dump));

    // Nothing to skip: a clean run.
    QCOMPARE(Play(dir.path(), {QStringLiteral("--keep-going"), QStringLiteral("-")},
                  QByteArray("click Main.Image4\n"))
                 .status,
             0);
}

void ScenarioTest::realtimeLetsTheTimerRun() {
    QTemporaryDir dir;
    // The spring at the fastest setting, 1 ms a step, for 300 ms of wall clock. How many ticks
    // arrive depends on the machine; they can only come from the timer, at most one a millisecond.
    QCOMPARE(
        PlayText(dir.path(), QStringLiteral("click Main.Image4\nclick Form1.Button1\nclick Form1.Button4\n"
                                            "click Form1.Button2\nslider Form1.TrackBar1 1\n"
                                            "trace real.csv SpringX\nrealtime 300\ndump real.json\n"))
            .status,
        0);
    const QJsonObject dump = Load(dir.path(), QStringLiteral("real.json"));
    QCOMPARE(TimerInterval(dump), 1);
    const int ticks = static_cast<int>(Number(dump, "TickCount"));
    QVERIFY2(ticks > 0 && ticks <= 310, qPrintable(QString::number(ticks)));
    QCOMPARE(CsvRows(dir.filePath(QStringLiteral("real.csv"))).size(), ticks + 1);  // and its header
}

QTEST_MAIN(ScenarioTest)
#include "scenario_test.moc"
