// The checks the random user makes after every event: quiet through an ordinary run of every
// experiment, and loud for each kind of fault they stand guard against.

#include "shell/invariants.h"

#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <limits>

#include "draw/canvas.h"
#include "draw/fonts.h"
#include "draw/shapes.h"
#include "lab/lab_state.h"
#include "registry/registry.h"
#include "shell/lab_window.h"
#include "shell/title_screen.h"
#include "shell/windows.h"

using namespace vlab;

class InvariantsTest : public QObject {
    Q_OBJECT

    // Title screen left for the lab window, as the entry spot does.
    static void EnterLab() {
        Main->hide();
        Form1->show();
    }

private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void init() {
        CreateWindows();
        Main->show();
    }
    void cleanup() { DestroyWindows(); }

    // Chosen, Ready (no panel needed), Running, Paused, Stopped and back to the start-up state.
    void ordinaryRunsPass() {
        QCOMPARE(CheckInvariants(), QString());
        EnterLab();
        QCOMPARE(CheckInvariants(), QString());
        for (const Experiment* e : AllExperiments()) {
            if (e->settingOpensPanel) continue;
            Form1->ChooseExperiment(e->code);
            QCOMPARE(CheckInvariants(), QString());
            Form1->Button4Click();
            QCOMPARE(CheckInvariants(), QString());
            Form1->Button2Click();
            QCOMPARE(CheckInvariants(), QString());
            for (int i = 0; i < 20; ++i) Form1->Timer1Timer();
            QCOMPARE(CheckInvariants(), QString());
            Form1->Button7Click();
            QVERIFY(!Form1->Timer1->isActive());
            QCOMPARE(CheckInvariants(), QString());
            Form1->Button26Click();
            QCOMPARE(CheckInvariants(), QString());
            Form1->Button11Click();
            QCOMPARE(CheckInvariants(), QString());
        }
    }

    void runControlFaultsAreNamed() {
        EnterLab();
        Form1->Timer1->start();  // a timer running on the start-up page
        QVERIFY(CheckInvariants().contains(QStringLiteral("Timer1 running")));
        Form1->Timer1->stop();

        Form1->ChooseExperiment(CodeOf("SpringEnergy"));
        Form1->Button4Click();
        Form1->Button2Click();
        Form1->Button4->setEnabled(true);  // Setting usable in the middle of a run
        QVERIFY(CheckInvariants().startsWith(QStringLiteral("Running")));
        Form1->Button4->setEnabled(false);
        Form1->BitBtn1->show();  // Exit and the teaching button side by side
        QVERIFY(CheckInvariants().contains(QStringLiteral("not exactly one")));
        Form1->BitBtn1->hide();
        QCOMPARE(CheckInvariants(), QString());
        Form1->Button26Click();
        MouseClickActive = 1;  // a stopped run that still takes clicks
        QVERIFY(CheckInvariants().startsWith(QStringLiteral("Stopped")));
        MouseClickActive = 0;

        Form1->hide();  // no window left on screen
        Main->hide();
        QVERIFY(CheckInvariants().contains(QStringLiteral("neither")));
    }

    void lostNumbersAndPointsAreNamed() {
        BodyX[2] = std::numeric_limits<double>::quiet_NaN();
        QCOMPARE(CheckInvariants(), QStringLiteral("BodyX[2] is not a finite number"));
        BodyX[2] = 0;
        TickCount = 1;
        InterferenceTicks = std::numeric_limits<double>::infinity();
        QVERIFY(CheckInvariants().startsWith(QStringLiteral("InterferenceTicks")));
        InterferenceTicks = 0;
        QCOMPARE(CheckInvariants(), QString());

        // A line to a point far off the surface, and a text at NaN, each count once; a line that
        // merely runs past the edge is an ordinary drawing.
        Surface().moveTo(10, 10);
        Surface().lineTo(900, -40);
        QCOMPARE(CheckInvariants(), QString());
        Surface().lineTo(1e9, 10);
        Surface().textOut(std::numeric_limits<double>::quiet_NaN(), 5, QStringLiteral("x"));
        QVERIFY(CheckInvariants().startsWith(QStringLiteral("2 drawing call")));
    }
};

QTEST_MAIN(InvariantsTest)
#include "invariants_test.moc"
