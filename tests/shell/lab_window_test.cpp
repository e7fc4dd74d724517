// The lab window driven as a user drives it: run-control states per experiment, the speed bar,
// the help pages, the exit question, and bad mouse input, all through the real widgets offscreen.

#include "shell/lab_window.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>

#include "dialog/check_dialog.h"
#include "dialog/widget_scale.h"
#include "draw/fonts.h"
#include "experiments/collision.h"
#include "experiments/friction.h"
#include "experiments/pulley.h"
#include "experiments/spring_energy.h"
#include "experiments/wave_superposition.h"
#include "lab/lab_state.h"
#include "panel/table3.h"
#include "registry/registry.h"
#include "shell/help_viewer.h"
#include "shell/title_screen.h"
#include "shell/windows.h"

using namespace vlab;

namespace {

// Runs fn on the modal window that the next action opens (the parameter panel or the question).
void OnNextModal(std::function<void(QWidget*)> fn) {
    QTimer::singleShot(0, qApp, [fn] {
        if (QWidget* w = QApplication::activeModalWidget()) fn(w);
    });
}

// The panel confirms its values (as OK then Yes would) or is left without them.
void PanelAnswers(bool accept) {
    OnNextModal([accept](QWidget*) {
        PanelAccepted = accept ? 1 : 0;
        table3->done(accept ? QDialog::Accepted : QDialog::Rejected);
    });
}

// The facts of each experiment come from the registry, which the window reads too.
bool OpensPanel(int code) { return FindExperiment(code)->settingOpensPanel; }
bool PauseUsable(int code) { return FindExperiment(code)->pauseUsable; }

void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton); }

void Setting() {
    if (OpensPanel(ExperimentCode)) PanelAnswers(true);
    Click(Form1->Button4);
}

// The run-control controls as the user sees them.
struct Controls {
    bool row, returnShown, returnOn, setting, start, pause, stop, exit, teaching, help, splash, timer;
    QString pauseText;
    bool operator==(const Controls&) const = default;
};

Controls Read() {
    TForm1* f = Form1;
    const bool returnShown = !f->Panel2->isHidden() && !f->Button11->isHidden();
    return {!f->PageControl1->isHidden(),
            returnShown,
            returnShown && f->Button11->isEnabled(),
            f->Button4->isEnabled(),
            f->Button2->isEnabled(),
            f->Button7->isEnabled(),
            f->Button26->isEnabled(),
            !f->BitBtn1->isHidden(),
            !f->SpeedButton1->isHidden(),
            !f->BitBtn2->isHidden(),
            !f->Image3->isHidden(),
            f->Timer1->isActive(),
            f->Button7->text()};
}

QString Show(const Controls& c) {
    return QStringLiteral(
               "row %1 return %2/%3 setting %4 start %5 pause %6 '%7' stop %8 exit %9 teaching %10 help %11 "
               "splash %12 timer %13")
        .arg(c.row)
        .arg(c.returnShown)
        .arg(c.returnOn)
        .arg(c.setting)
        .arg(c.start)
        .arg(c.pause)
        .arg(c.pauseText)
        .arg(c.stop)
        .arg(c.exit)
        .arg(c.teaching)
        .arg(c.help)
        .arg(c.splash)
        .arg(c.timer);
}

#define EXPECT_CONTROLS(actual, expected) \
    QVERIFY2((actual) == (expected),      \
             qPrintable(Show(actual) + QStringLiteral("\n   expected ") + Show(expected)))

//                           row    ret    retOn  set    start  pause  stop   exit   teach  help  splash timer
//                           text
const Controls kStartUp{true, false, false, false, false, false,  false,
                        true, false, true,  true,  false, "Pause"};
const Controls kChosen{false, true,  false, true,  false, false,  true,
                       true,  false, true,  false, false, "Pause"};
const Controls kReady{false, true, false, false, true, false, true, false, true, true, false, false, "Pause"};
const Controls kStopped{false, true,  true, true,  false, false,  true,
                        true,  false, true, false, false, "Pause"};

Controls Running(int code) {
    Controls c = kReady;
    c.start = false;
    c.pause = PauseUsable(code);
    c.timer = true;
    return c;
}

}  // namespace

class LabWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void init() {
        CreateWindows();
        Form1->show();
    }
    void cleanup() { DestroyWindows(); }

    void startUpLayout();
    void runControlThroughEveryState_data();
    void runControlThroughEveryState();
    void endedRunAndWaysOnFromIt();
    void panelLeftWithoutValuesDrawsNothing();
    void speedBarAtStartUp();
    void speedBarIntervalsPerExperiment_data();
    void speedBarIntervalsPerExperiment();
    void speedBarPulleyRangeDependsOnHistory();
    void tickDispatch();
    void frictionButtonStartValues();
    void selectionResetValues();
    void helpPagesAtEachRequest();
    void exitAnsweredNoChangesNothing();
    void exitAnsweredYesClosesTheLab();
    void mouseAnywhereChangesNoRunControl();
    void pulleyArrangementChoice();
    void rapidClicksNeverLeaveTheTimerRunningWhenStopped();
    void messageStripKeepsTheNewestLinesOnly();
    void keysOnlyWhereTheirButtonIsUsable();
    void scaledLayoutAndItsWayBack();
    void companionWindowsAtTheLabsScale();
};

void LabWindowTest::startUpLayout() {
    struct Row {
        const char* name;
        QRect place;
        const char* text;  // nullptr: not checked
        bool enabled;
        bool shown;
    };
    const Row rows[] = {
        {"Image1", {0, 0, 700, 548}, nullptr, true, true},
        {"Image3", {12, 67, 677, 472}, nullptr, true, true},
        {"Memo1", {0, 548, 701, 49}, nullptr, true, true},
        {"PageControl1", {1, 0, 785, 57}, nullptr, true, true},
        {"Button5", {0, 0, 80, 30}, "滑轮", true, true},
        {"Button3", {80, 0, 80, 30}, "摩擦力", true, true},
        {"Button1", {160, 0, 80, 30}, "弹力位能a", true, true},
        {"Button46", {240, 0, 80, 30}, "内动能转换", true, true},
        {"Button27", {320, 0, 80, 30}, "光的干涉", true, true},
        {"Button45", {400, 0, 80, 30}, "电场", true, true},
        {"Button6", {480, 0, 80, 30}, "法拉第b", true, true},
        {"Button47", {560, 0, 80, 30}, "波的重叠a", true, true},
        {"Panel2", {704, 2, 81, 56}, nullptr, true, false},
        {"Button11", {8, 7, 65, 40}, "Return", true, false},
        {"Panel1", {704, 61, 80, 307}, nullptr, true, true},
        {"Image2", {5, 3, 70, 300}, nullptr, true, true},
        {"GroupBox1", {704, 368, 81, 225}, nullptr, true, true},
        {"BitBtn2", {8, 32, 65, 25}, "操作说明", true, true},
        {"Button4", {8, 96, 65, 30}, "Setting", false, true},
        {"Button7", {8, 127, 65, 30}, "Pause", false, true},
        {"Button26", {8, 158, 65, 30}, "Stop", false, true},
        {"BitBtn1", {8, 188, 65, 30}, "Exit", true, true},
        {"SpeedButton1", {8, 188, 65, 30}, "物理教室", true, false},
        {"Button2", {712, 433, 65, 30}, "Start", false, true},
        {"TrackBar1", {712, 374, 65, 25}, nullptr, true, true},
    };
    QCOMPARE(Form1->size(), QSize(788, 600));
    QCOMPARE(Form1->palette().color(QPalette::Window), QColor(0xE7, 0xD1, 0xD1));
    for (const Row& r : rows) {
        auto* w = Form1->findChild<QWidget*>(QLatin1String(r.name));
        QVERIFY2(w, r.name);
        QCOMPARE(w->geometry(), r.place);
        QVERIFY2(w->isEnabled() == r.enabled, r.name);
        QVERIFY2(w->isHidden() == !r.shown, r.name);
        if (r.text) {
            auto* b = qobject_cast<QAbstractButton*>(w);
            QVERIFY2(b, r.name);
            QCOMPARE(b->text(), QString::fromUtf8(r.text));
        }
    }
    QCOMPARE(Form1->Button1->font().pixelSize(), 16);
    QCOMPARE(Form1->Button3->font().pixelSize(), 15);
    QCOMPARE(Form1->Button5->palette().color(QPalette::ButtonText), QColor(0x80, 0, 0));
    QCOMPARE(Form1->Button3->palette().color(QPalette::ButtonText), QColor(Qt::black));
    QCOMPARE(Form1->PageControl1->tabText(0), QStringLiteral("虚拟实验室"));
    QCOMPARE(Form1->Timer1->objectName(), QStringLiteral("Timer1"));
    QVERIFY(!Form1->Timer1->isActive());
    QCOMPARE(ExperimentCode, CodeOf("Pulley"));  // its start value
    EXPECT_CONTROLS(Read(), kStartUp);
    // Only the title screen would be shown at start; the others are created hidden.
    QVERIFY(!Form2->isVisible());
    QVERIFY(!check->isVisible());
    QVERIFY(!table3->isVisible());
}

void LabWindowTest::runControlThroughEveryState_data() {
    QTest::addColumn<int>("code");
    for (const Experiment* e : AllExperiments()) QTest::newRow(e->name) << e->code;
}

void LabWindowTest::runControlThroughEveryState() {
    QFETCH(int, code);
    Click(Form1->ExperimentButton(code));
    QCOMPARE(ExperimentCode, code);
    EXPECT_CONTROLS(Read(), kChosen);
    const bool inductionFlags = code == CodeOf("Induction");
    QCOMPARE(MouseClickActive, std::uint8_t(inductionFlags ? 1 : 0));

    Setting();
    Controls ready = kReady;
    const Experiment& e = *FindExperiment(code);
    if (e.startWaitsForSurface) ready.start = false;  // an arrangement / a sign comes first
    EXPECT_CONTROLS(Read(), ready);
    // Induction's reset turns the flags on before Setting; the others get them from Setting.
    const bool settingFlags = e.settingMouse != SettingMouse::Off || inductionFlags;
    QCOMPARE(MouseMoveActive, std::uint8_t(settingFlags ? 1 : 0));
    QVERIFY(!table3->Button1->isEnabled() || OpensPanel(code));
    if (e.startWaitsForSurface) Form1->SetStartEnabled(true);  // what that pick does

    Click(Form1->Button2);
    EXPECT_CONTROLS(Read(), Running(code));
    QCOMPARE(MouseClickActive != 0, settingFlags && !e.startSilencesMouse);
    Click(Form1->Button2);  // Start again: disabled, nothing happens
    EXPECT_CONTROLS(Read(), Running(code));

    Click(Form1->Button7);
    if (PauseUsable(code)) {
        Controls paused = Running(code);
        paused.timer = false;
        paused.pauseText = QStringLiteral("Continue");
        EXPECT_CONTROLS(Read(), paused);
        Click(Form1->Button7);
        EXPECT_CONTROLS(Read(), Running(code));
        Click(Form1->Button7);  // stop from Paused
    } else {
        EXPECT_CONTROLS(Read(), Running(code));  // never enabled: the press does nothing
        Form1->Button7Click();                   // even called directly it does nothing
        EXPECT_CONTROLS(Read(), Running(code));
    }

    Click(Form1->Button26);
    EXPECT_CONTROLS(Read(), kStopped);
    QCOMPARE(MouseClickActive, std::uint8_t(0));
    QCOMPARE(MouseMoveActive, std::uint8_t(0));

    // Stop then Setting restarts from the reset values.
    TickCount = 17;
    Setting();
    EXPECT_CONTROLS(Read(), ready);
    QCOMPARE(TickCount, 0);

    // Stop from Ready, then Return.
    Click(Form1->Button26);
    EXPECT_CONTROLS(Read(), kStopped);
    Form1->AppendMemo(QStringLiteral("a line"));
    Click(Form1->Button11);
    Controls back = kStartUp;
    EXPECT_CONTROLS(Read(), back);
    QVERIFY(Form1->Memo1->toPlainText().isEmpty());
    QVERIFY(!Form1->Panel2->isVisible());

    // Stop straight from Chosen.
    Click(Form1->ExperimentButton(code));
    Click(Form1->Button26);
    EXPECT_CONTROLS(Read(), kStopped);
}

void LabWindowTest::endedRunAndWaysOnFromIt() {
    for (const char* name : {"Friction", "Collision", "Induction"}) {
        const int code = CodeOf(name);
        Click(Form1->ExperimentButton(code));
        Setting();
        Click(Form1->Button2);
        QVERIFY(Form1->Timer1->isActive());
        Host().ShowStoppedControls();  // the experiment's run ends by itself
        Controls ended = kStopped;
        ended.teaching = true;
        ended.exit = false;
        EXPECT_CONTROLS(Read(), ended);

        Setting();  // from Ended straight to Ready
        Controls ready = kReady;
        EXPECT_CONTROLS(Read(), ready);
        Click(Form1->Button2);
        Host().ShowStoppedControls();
        Click(Form1->Button26);  // Stop from Ended
        EXPECT_CONTROLS(Read(), kStopped);
        Click(Form1->Button2);
        Host().ShowStoppedControls();
        Click(Form1->Button11);  // Return from Ended
        EXPECT_CONTROLS(Read(), kStartUp);
    }
}

void LabWindowTest::panelLeftWithoutValuesDrawsNothing() {
    Click(Form1->Button3);
    PanelAccepted = 1;  // a stale answer from an earlier set-up must not count
    OnNextModal([](QWidget*) { table3->done(QDialog::Rejected); });
    Click(Form1->Button4);
    QCOMPARE(PanelAccepted, std::uint8_t(0));
    QCOMPARE(FrictionSetCount, -1);
    QVERIFY(!Form1->Button4->isEnabled());
    QVERIFY(Form1->Button26->isEnabled());
}

void LabWindowTest::speedBarAtStartUp() {
    QCOMPARE(Form1->SpeedBar.Position(), 100);
    QCOMPARE(Form1->Timer1->interval(), 100);
    QCOMPARE(Form1->SpeedBar.Min(), 1);
    QCOMPARE(Form1->SpeedBar.Max(), 100);
    QCOMPARE(Form1->TrackBar1->toolTip(), QStringLiteral("改变速度大小"));
    // Moving the bar before any choice: the start-up code is Pulley's, so the Pulley range appears.
    Form1->TrackBar1->setValue(60);
    QCOMPARE(Form1->SpeedBar.Min(), 10);
    QCOMPARE(Form1->SpeedBar.Max(), 500);
    QCOMPARE(Form1->SpeedBar.Frequency(), 100);
    QCOMPARE(Form1->Timer1->interval(), 60);
    QCOMPARE(Form1->TrackBar1->maximum(), 500);  // the slider mirrors the model
    QCOMPARE(Form1->TrackBar1->value(), 60);
}

void LabWindowTest::speedBarIntervalsPerExperiment_data() {
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("interval");
    QTest::addColumn<int>("maximum");
    const auto row = [](const char* name, int interval, int maximum) {
        QTest::newRow(name) << CodeOf(name) << interval << maximum;
    };
    row("Friction", 50, 100);
    row("Pulley", 100, 100);
    row("SpringEnergy", 10, 100);
    row("Collision", 30, 100);
    row("Interference", 100, 100);
    row("ElectricField", 40, 100);
    row("Induction", 50, 100);
    row("WaveSuperposition", 50, 100);
}

void LabWindowTest::speedBarIntervalsPerExperiment() {
    QFETCH(int, code);
    QFETCH(int, interval);
    QFETCH(int, maximum);
    Click(Form1->ExperimentButton(code));
    QCOMPARE(Form1->Timer1->interval(), interval);
    QCOMPARE(Form1->SpeedBar.Position(), interval);
    QCOMPARE(Form1->SpeedBar.Max(), maximum);
    QCOMPARE(Form1->SpeedBar.Min(), 1);
    Setting();  // the same after Setting
    QCOMPARE(Form1->Timer1->interval(), interval);
    // The user's move sets the interval; a running timer keeps running at the new pace.
    Form1->SetStartEnabled(true);
    Click(Form1->Button2);
    Form1->TrackBar1->setValue(7);
    QCOMPARE(Form1->Timer1->interval(), code == CodeOf("Pulley") ? 10 : 7);
    QVERIFY(Form1->Timer1->isActive());
    Click(Form1->Button26);
}

void LabWindowTest::speedBarPulleyRangeDependsOnHistory() {
    Click(Form1->Button5);  // Pulley first: the bar already stands at 100, so the rule does not run
    QCOMPARE(Form1->SpeedBar.Max(), 100);
    QCOMPARE(Form1->Timer1->interval(), 100);
    Form1->TrackBar1->setValue(250);  // clamped to 100: no move, nothing changes
    QCOMPARE(Form1->SpeedBar.Max(), 100);
    Form1->TrackBar1->setValue(99);  // the first real move brings the Pulley range
    QCOMPARE(Form1->SpeedBar.Max(), 500);
    QCOMPARE(Form1->SpeedBar.Min(), 10);
    QCOMPARE(Form1->Timer1->interval(), 99);

    Click(Form1->Button26);
    Click(Form1->Button11);
    Click(Form1->Button3);  // Friction: back to 1..100 at 50
    QCOMPARE(Form1->SpeedBar.Max(), 100);
    QCOMPARE(Form1->Timer1->interval(), 50);
    Click(Form1->Button26);
    Click(Form1->Button11);
    Click(Form1->Button5);  // Pulley after Friction: the range is 10..500 at once
    QCOMPARE(Form1->SpeedBar.Min(), 10);
    QCOMPARE(Form1->SpeedBar.Max(), 500);
    QCOMPARE(Form1->SpeedBar.Position(), 100);
    QCOMPARE(Form1->Timer1->interval(), 100);

    Click(Form1->Button26);
    Click(Form1->Button11);
    Click(Form1->Button27);  // Interference asked for 400 on 100..700; the rule makes it 100 on 1..100
    QCOMPARE(Form1->SpeedBar.Min(), 1);
    QCOMPARE(Form1->SpeedBar.Max(), 100);
    QCOMPARE(Form1->Timer1->interval(), 100);
}

void LabWindowTest::tickDispatch() {
    Click(Form1->Button27);
    Setting();
    Click(Form1->Button2);
    for (int i = 0; i < 3; ++i) Form1->Timer1Timer();
    QCOMPARE(TickCount, 3);
    QCOMPARE(InterferenceTicks, 3.0);
    Click(Form1->Button26);
    Click(Form1->Button11);
    Click(Form1->Button46);
    Form1->Timer1Timer();
    QCOMPARE(TickCount, 1);
    QCOMPARE(InterferenceTicks, 3.0);                    // only Interference's ticks count there
    ExperimentCode = AllExperiments().back()->code + 1;  // a code outside the registry selects nothing
    Form1->Timer1Timer();
    QCOMPARE(TickCount, 1);
    ExperimentCode = CodeOf("Collision");
    LabPageMarker = 0;  // off the lab page the tick does nothing
    Form1->Timer1Timer();
    QCOMPARE(TickCount, 1);
}

void LabWindowTest::frictionButtonStartValues() {
    Click(Form1->Button3);
    QCOMPARE(AppliedForce, 120.0);
    QCOMPARE(ForceAngle, 0.0);
    QCOMPARE(FrictionSetCount, -1);
    AppliedForce = 300.0;
    ForceAngle = 30.0;
    BlockHeight = 50.0;
    BlockWidth = 100.0;
    Setting();  // Setting alone keeps the confirmed pull but resets the block
    QCOMPARE(AppliedForce, 300.0);
    QCOMPARE(ForceAngle, 30.0);
    QCOMPARE(BlockHeight, 100.0);
    QCOMPARE(BlockWidth, 50.0);
    QCOMPARE(FrictionSetCount, 0);
    Click(Form1->Button26);
    Setting();
    QCOMPARE(FrictionSetCount, 1);
}

void LabWindowTest::selectionResetValues() {
    Click(Form1->Button46);  // Collision clears all four plot counters
    QCOMPARE(WavePlotCounts, (std::array<int, 4>{0, 0, 0, 0}));
    QCOMPARE(CollisionVelB, -10.0);
    Click(Form1->Button26);
    Click(Form1->Button11);
    WavePlotCounts = {5, 6, 7, 8};
    Click(Form1->Button47);  // WaveSuperposition sets only entries 1 and 3
    QCOMPARE(WavePlotCounts, (std::array<int, 4>{5, -1, 7, -1}));
}

void LabWindowTest::helpPagesAtEachRequest() {
    const QString base = ProgramFolder;
    QCOMPARE(base, QDir::currentPath());
    Click(Form1->BitBtn2);  // before any choice: the instructions instead of Pulley's page
    QCOMPARE(HelpPagePath, base + "/help/op.htm");
    QVERIFY(Form2->isVisible());
    QCOMPARE(Form2->ShownFile(), base + "/help/op.htm");
    QVERIFY(Form1->Image3->isHidden());
    Click(Form1->BitBtn2);
    QCOMPARE(HelpPagePath, base + "/help/M1.htm");
    Form2->close();
    Click(Form1->Button3);  // instructions already shown: Friction's own page, M2
    QCOMPARE(HelpPagePath, base + "/help/M2.htm");
    QVERIFY(Form2->isVisible());
    Setting();
    Click(Form1->SpeedButton1);  // Friction's teaching page is t1
    QCOMPARE(HelpPagePath, base + "/help/t1.htm");
    QVERIFY(Form2->CppWebBrowser1->toPlainText().contains(QStringLiteral("摩擦力")));
    Click(Form1->Button26);
    Click(Form1->Button11);
    Click(Form1->Button5);
    QCOMPARE(HelpPagePath, base + "/help/M1.htm");
    Setting();
    Click(Form1->SpeedButton1);
    QCOMPARE(HelpPagePath, base + "/help/t2.htm");
    QCOMPARE(IntroShown, 1);
}

void LabWindowTest::exitAnsweredNoChangesNothing() {
    auto snapshot = [] {
        QJsonObject state;
        DescribeLab(state);
        return std::make_pair(state, Show(Read()) + QString::number(Form1->Timer1->interval()));
    };
    // In the start-up state and in Stopped (Exit is offered in both).
    for (int round = 0; round < 2; ++round) {
        if (round == 1) {
            Click(Form1->Button1);
            Setting();
            Click(Form1->Button2);
            Click(Form1->Button26);
        }
        const auto before = snapshot();
        OnNextModal([](QWidget* w) {
            QCOMPARE(w, static_cast<QWidget*>(check));
            QCOMPARE(check->Memo1->toPlainText(), QStringLiteral("你确定要离开吗??"));
            Click(check->BitBtn2);
        });
        Click(Form1->BitBtn1);
        QCOMPARE(ConfirmAnswer, std::uint8_t(0));
        QVERIFY(Form1->isVisible());
        QVERIFY(before == snapshot());
    }
}

void LabWindowTest::exitAnsweredYesClosesTheLab() {
    Main->hide();  // the title screen is hidden once the lab is entered
    OnNextModal([](QWidget*) { Click(check->BitBtn1); });
    Click(Form1->BitBtn1);
    QCOMPARE(ConfirmAnswer, std::uint8_t(1));
    QVERIFY(!Form1->isVisible());
    QVERIFY(!Main->isVisible());
}

void LabWindowTest::mouseAnywhereChangesNoRunControl() {
    // Points inside, on the edges of, and well outside the surface, negative ones included.
    const int xs[] = {-100000, -1, 0, 1, 50, 150, 220, 235, 300, 500, 540, 610, 615, 699, 700, 701, 5000};
    const int ys[] = {-100000, -1, 0, 1, 25, 60, 80, 100, 165, 265, 547, 548, 9000};
    // Whatever a press opens modally is left at once.
    QTimer closer;
    closer.setInterval(0);
    connect(&closer, &QTimer::timeout, [] {
        // The panel is left without values (its close would ask first), the question answered No.
        if (QWidget* w = QApplication::activeModalWidget()) static_cast<QDialog*>(w)->done(QDialog::Rejected);
    });
    closer.start();
    auto send = [](QEvent::Type type, int x, int y) {
        QMouseEvent e(type, QPointF(x, y), Form1->Image1->mapToGlobal(QPointF(x, y)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form1->Image1, &e);
    };
    auto storm = [&] {
        for (int x : xs)
            for (int y : ys) {
                send(QEvent::MouseButtonPress, x, y);
                send(QEvent::MouseMove, x + 3, y - 2);
                send(QEvent::MouseButtonRelease, x, y);
                send(QEvent::MouseMove, x, y);
            }
    };
    // Run control must come out of a storm as it went in (Start may be switched on by an
    // arrangement or sign pick, so it is left out).
    auto runControl = [] {
        Controls c = Read();
        c.start = false;
        return c;
    };
    storm();  // start-up state
    EXPECT_CONTROLS(runControl(), [] {
        Controls c = kStartUp;
        c.start = false;
        return c;
    }());
    for (const Experiment* e : AllExperiments()) {
        Click(Form1->ExperimentButton(e->code));
        for (int stage = 0; stage < 4; ++stage) {
            if (stage == 1) Setting();
            if (stage == 2) {
                Form1->SetStartEnabled(true);
                Click(Form1->Button2);
            }
            if (stage == 3) Click(Form1->Button26);
            const Controls before = runControl();
            storm();
            EXPECT_CONTROLS(runControl(), before);
        }
        Click(Form1->Button11);
    }
    closer.stop();
}

// Between Setting and Start the pulley's diagrams take one click, with strict bounds; the click
// opens the panel for the masses and lets the run start.
void LabWindowTest::pulleyArrangementChoice() {
    Click(Form1->Button5);
    PulleyArrangement = 0;
    Form1->Image1MouseDown(150, 80);  // before Setting the diagrams take no click
    QCOMPARE(PulleyArrangement, 0);
    Click(Form1->Button4);
    QVERIFY(!Form1->Button2->isEnabled());
    Form1->Image1MouseMove(150, 80);
    QCOMPARE(Form1->Image1->cursor().shape(), Qt::PointingHandCursor);
    Form1->Image1MouseMove(190, 80);
    QCOMPARE(Form1->Image1->cursor().shape(), Qt::ArrowCursor);
    for (const QPoint p : {QPoint(190, 80), QPoint(110, 80), QPoint(360, 10), QPoint(500, 160),
                           QPoint(500, 0), QPoint(250, 80), QPoint(-5, -5)}) {
        Form1->Image1MouseDown(p.x(), p.y());
        QVERIFY2(PulleyArrangement == 0, qPrintable(QString("%1, %2").arg(p.x()).arg(p.y())));
    }
    QVERIFY(QApplication::activeModalWidget() == nullptr);
    int seenArrangement = -1;
    OnNextModal([&seenArrangement](QWidget* w) {
        seenArrangement = w == table3 ? PulleyArrangement : -2;
        PanelAccepted = 1;
        table3->done(QDialog::Accepted);
    });
    Form1->Image1MouseDown(300, 100);
    QCOMPARE(seenArrangement, 2);  // stored before the panel opens
    QCOMPARE(MouseClickActive, std::uint8_t(0));
    QVERIFY(Form1->Button2->isEnabled());
    // One choice per set-up: a second click opens nothing.
    Form1->Image1MouseDown(500, 100);
    QCOMPARE(PulleyArrangement, 2);
    Form1->Image1MouseUp(500, 100);
    QCOMPARE(Form1->Image1->cursor().shape(), Qt::ArrowCursor);
}

// A lesson of restarted runs appends a few lines each: the strip keeps a bounded number of the
// newest ones instead of growing for as long as the program runs.
void LabWindowTest::messageStripKeepsTheNewestLinesOnly() {
    for (int i = 0; i < 5000; ++i) Form1->AppendMemo(QStringLiteral("line %1").arg(i));
    const QStringList lines = Form1->Memo1->toPlainText().split(u'\n');
    QVERIFY(lines.size() >= 100 && lines.size() <= 1000);
    QCOMPARE(lines.last(), QStringLiteral("line 4999"));
    QCOMPARE(lines.first(), QStringLiteral("line %1").arg(5000 - lines.size()));
}

void LabWindowTest::rapidClicksNeverLeaveTheTimerRunningWhenStopped() {
    QTimer closer;  // every question and panel is answered at once (No / left)
    closer.setInterval(0);
    connect(&closer, &QTimer::timeout, [] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            if (w == check)
                Click(check->BitBtn2);
            else
                static_cast<QDialog*>(w)->done(QDialog::Rejected);  // left without values
        }
    });
    closer.start();
    QList<QAbstractButton*> buttons = {Form1->Button4,  Form1->Button2, Form1->Button7, Form1->Button26,
                                       Form1->Button11, Form1->BitBtn1, Form1->BitBtn2, Form1->SpeedButton1};
    for (const Experiment* e : AllExperiments()) buttons << Form1->ExperimentButton(e->code);
    quint32 seed = 12345;
    for (int i = 0; i < 1500; ++i) {
        seed = seed * 1664525u + 1013904223u;
        QAbstractButton* b = buttons[(seed >> 16) % buttons.size()];
        const int repeats = 1 + ((seed >> 8) % 3);  // double and triple clicks too
        if (!b->isVisible()) continue;              // a hidden button cannot be reached
        for (int r = 0; r < repeats; ++r) Click(b);
        if ((seed >> 4) % 7 == 0) Form1->Timer1Timer();
        const Controls c = Read();
        if (c.timer) {
            // Only Running has a live timer: row hidden, Stop on, Setting and Return off.
            QVERIFY2(!c.row && c.stop && !c.setting && !c.returnOn && !c.exit, qPrintable(Show(c)));
        }
        if (c.row) QVERIFY2(!c.timer && !c.setting && !c.start && !c.stop, qPrintable(Show(c)));
    }
    closer.stop();
}

namespace {
// A key pressed while the lab window is the active one, through Qt's shortcut path.
void Press(Qt::Key key, QWidget* focus = nullptr) {
    Form1->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Form1));
    QTest::keyClick(focus ? focus : Form1, key);
}
}  // namespace

void LabWindowTest::keysOnlyWhereTheirButtonIsUsable() {
    // F1 with 操作说明 hidden or disabled does nothing; shown again it opens the help.
    Form1->BitBtn2->hide();
    Press(Qt::Key_F1);
    QVERIFY(!Form2->isVisible());
    Form1->BitBtn2->show();
    Form1->BitBtn2->setEnabled(false);
    Press(Qt::Key_F1);
    QVERIFY(!Form2->isVisible());
    Form1->BitBtn2->setEnabled(true);
    Press(Qt::Key_F1);
    QVERIFY(Form2->isVisible());

    // The spring, set up and started by Space; the speed bar has the focus.
    Click(Form1->Button1);
    Setting();
    Form1->TrackBar1->setFocus();
    Press(Qt::Key_Space, Form1->TrackBar1);
    QVERIFY(Form1->Timer1->isActive());
    // While the run goes, the Right arrow is the speed bar's, as it always was.
    const int position = Form1->SpeedBar.Position();
    Press(Qt::Key_Right, Form1->TrackBar1);
    QCOMPARE(Form1->SpeedBar.Position(), position + 1);
    QCOMPARE(TickCount, 0);
    // Paused, it steps the run by one tick, and the bar stays.
    Press(Qt::Key_Space, Form1->TrackBar1);
    QVERIFY(!Form1->Timer1->isActive());
    Press(Qt::Key_Right, Form1->TrackBar1);
    QCOMPARE(TickCount, 1);
    QCOMPARE(Form1->SpeedBar.Position(), position + 1);
    // Stopped: the arrow is the bar's again, and Space finds neither Start nor Pause usable.
    Click(Form1->Button26);
    Press(Qt::Key_Right, Form1->TrackBar1);
    QCOMPARE(TickCount, 1);
    QCOMPARE(Form1->SpeedBar.Position(), position + 2);
    Press(Qt::Key_Space);
    QVERIFY(!Form1->Timer1->isActive());
    QCOMPARE(Form1->Button7->text(), QStringLiteral("Pause"));
}

void LabWindowTest::scaledLayoutAndItsWayBack() {
    // Scaled and back: the normal window again, pixel for pixel (both pictures of the active window).
    Form1->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Form1));
    const QImage normal = Form1->grab().toImage();
    const QRect start = Form1->Button2->geometry();
    Form1->SetScale(2);
    QCOMPARE(Form1->size(), QSize(1576, 1200));
    QCOMPARE(Form1->Button2->geometry(), QRect(1424, 866, 130, 60));
    QCOMPARE(Form1->Image1->size(), QSize(1400, 1096));
    QCOMPARE(Form1->Button2->font().pixelSize(), 24);
    Form1->SetScale(1);
    QCOMPARE(Form1->Button2->geometry(), start);
    QCOMPARE(Form1->size(), QSize(788, 600));
    QVERIFY(QTest::qWaitForWindowActive(Form1));
    QCOMPARE(Form1->grab().toImage(), normal);

    // A press reaches the surface pixel under it, floor(position / scale): at 2x view x 21 is
    // pixel 10, just outside the k box (10 < x < 90), and 22 is pixel 11, inside.
    Form1->SetScale(2);
    Click(Form1->Button1);
    Setting();
    const int k = SpringConstant;
    auto tap = [](int x, int y) {
        QTest::mousePress(Form1->Image1, Qt::LeftButton, {}, QPoint(x, y));
        QTest::mouseRelease(Form1->Image1, Qt::LeftButton, {}, QPoint(x, y));
    };
    tap(21, 330);
    QCOMPARE(SpringConstant, k);
    tap(22, 330);
    QCOMPARE(SpringConstant, k % 4 + 1);

    // Full screen: the screen covered, the lab at the scale that fits, centred; and back to 2x.
    Form1->SetFullScreen(true);
    const QSize screen = Form1->screen()->geometry().size();
    QCOMPARE(Form1->size(), screen);
    const double fit = std::min(screen.width() / 788.0, screen.height() / 600.0);
    QCOMPARE(Form1->Scale(), fit);
    const int left = Form1->Image1->geometry().left();
    const int top = Form1->Image1->geometry().top();
    QVERIFY(std::abs(2 * left + static_cast<int>(std::lround(788 * fit)) - screen.width()) <= 1);
    QVERIFY(std::abs(2 * top + static_cast<int>(std::lround(600 * fit)) - screen.height()) <= 1);
    Form1->SetFullScreen(false);
    QCOMPARE(Form1->Scale(), 2.0);
    QCOMPARE(Form1->size(), QSize(1576, 1200));
}

void LabWindowTest::companionWindowsAtTheLabsScale() {
    // The friction panel with its pull chosen (which moves the range's right label), as opened at
    // each scale: its size and the places of its widgets.
    auto panelAt = [](double scale) {
        Form1->SetScale(scale);
        QList<QRect> places;
        OnNextModal([&places](QWidget*) {
            table3->UserComboText(table3->ComboBox1, QStringLiteral("作用力"));
            places << table3->rect();
            for (QWidget* w : std::initializer_list<QWidget*>{table3->Button1, table3->Button2,
                                                              table3->Label1, table3->Label3, table3->Edit1,
                                                              table3->TrackBar1, table3->ComboBox1})
                places << w->geometry();
            table3->done(QDialog::Rejected);
        });
        Click(Form1->Button3);
        Click(Form1->Button4);
        Click(Form1->Button11);  // Return, for the next choice
        return places;
    };
    const QList<QRect> normal = panelAt(1);
    QCOMPARE(normal.size(), 8);
    const QList<QRect> larger = panelAt(1.5);
    QCOMPARE(larger.size(), normal.size());
    for (qsizetype i = 0; i < normal.size(); ++i) {
        // A label sizes itself to its text in its larger font, so only its place is the scaled one.
        const QRect want = ScaledRect(normal[i], 1.5);
        QVERIFY2(i == 3 || i == 4 ? larger[i].topLeft() == want.topLeft() : larger[i] == want,
                 qPrintable(QStringLiteral("widget %1").arg(i)));
    }
    // Back at the normal size, exactly as it was.
    QCOMPARE(panelAt(1), normal);

    // The question's buttons have a bold font of their own that takes its size from the dialog:
    // it grows once, with the dialog, not twice.
    const double buttonPoints = check->BitBtn1->font().pointSizeF();
    Form1->SetScale(1.5);
    QCOMPARE(check->BitBtn1->font().pointSizeF(), buttonPoints * 1.5);
    QCOMPARE(check->size(), QSize(330, 167));
    // The title screen and the help viewer are never larger than the screen shows whole, nor smaller
    // than their normal size.
    const QSize area = QGuiApplication::primaryScreen()->availableGeometry().size();
    for (const auto& [w, size] :
         {std::pair<QWidget*, QSize>{Main, QSize(807, 607)}, {Form2, QSize(510, 518)}}) {
        const double want = std::max(1.0, std::min(1.5, FitScale(size, area)));
        QCOMPARE(w->size(), ScaledRect(QRect(QPoint(), size), want).size());
    }
    Form1->SetScale(1);
    QCOMPARE(check->BitBtn1->font().pointSizeF(), buttonPoints);
    QCOMPARE(Form2->size(), QSize(510, 518));
}

QTEST_MAIN(LabWindowTest)
#include "lab_window_test.moc"
