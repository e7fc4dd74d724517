// The friction experiment: the ramp, the start of sliding and the end of the run against the
// friction law worked out here, the picture of the block, the arrows and the graph, several runs on
// one graph, and the ways a user can leave a run half done.

#include "experiments/friction.h"

#include <QtTest>

#include <cmath>
#include <numbers>
#include <vector>

#include "draw/canvas.h"
#include "draw/fonts.h"
#include "draw/shapes.h"
#include "draw/style.h"
#include "experiment_test_support.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "pictures.h"
#include "registry/registry.h"

using namespace vlab;
using namespace vlab::test;

namespace {

using FakeHost = RecordingHost;
FakeHost* host = nullptr;

const Experiment& Friction() { return *FindExperiment(CodeOf("Friction")); }

// The lab window's part of the sequences a user drives, taken from the registry entry.
void CommonReset() {
    MouseMoveActive = MouseClickActive = 0;
    TickCount = 0;
    Friction().reset();
}
void Choose() {
    ExperimentCode = Friction().code;
    CommonReset();
    ClearArea(0, 0, 700, 550);
    Friction().chosen();
}
// Setting, with the panel's values; `accepted` false is the panel left by its Exit.
void Setting(double force, double angle, double height = 100, bool accepted = true) {
    CommonReset();
    Friction().settingUp();
    AppliedForce = force;
    ForceAngle = angle;
    BlockHeight = height;
    BlockWidth = height == 50 ? 100 : 50;
    host->stops = 0;
    host->lastStopTick = -1;
    if (!accepted) return;
    Friction().step();
    Friction().setUpDone();
}
// Timer ticks until the run stops itself (the timer stops with it) or n ticks have passed.
void Run(int n = 100000) {
    for (int i = 0; i < n && host->stops == 0; ++i) {
        ++TickCount;
        Friction().step();
    }
}

// The middle pixel of a 3-pixel graph dot centred at (x, y).
QRgb DotAt(double x, double y) { return Pixel(int(x - 1.5) + 1, int(y - 1.5) + 1); }
QRgb Code(int code) { return ColourOfCode(code).rgb() & 0xFFFFFF; }

// The run as the friction law gives it: a block of 100 N on a table with static coefficient 0.8,
// pulled at `angle` degrees with a force that is floor(t / 10) N on tick t, at most `force`. The
// normal force is the weight less the upward part of the set force. The block slides once the
// horizontal pull reaches the largest static friction; the excess, taken as px/s^2, accelerates it
// for 0.1 s each tick, and kinetic friction is 0.9 of the largest static friction.
struct Expected {
    double staticMax = 0;
    int slideTick = -1;  // -1: never slides
    int endTick = 0;
    double endPull = 0;
    double endOffset = 0;
    bool borderline = false;  // the pull meets the static limit within rounding
};
Expected Law(double force, double angle) {
    const double th = angle * std::numbers::pi / 180;
    Expected e;
    e.staticMax = 0.8 * (100 - std::sin(th) * force);
    double v = 0, x = 0;
    if (force == 0) return e;  // the pull is at its set value before the first tick
    for (int t = 1;; ++t) {
        const double pull = std::min(std::floor(t / 10.0), force);
        const double excess = pull * std::cos(th) - e.staticMax;
        if (excess != 0 && std::fabs(excess) < 1e-9) e.borderline = true;
        if (excess >= 0) {
            if (e.slideTick < 0) e.slideTick = t;
            x += v * 0.1 + 0.5 * excess * 0.01;
            v += excess * 0.1;
        }
        if (x > 750 || pull == force) {
            e.endTick = t;
            e.endPull = pull;
            e.endOffset = x;
            return e;
        }
    }
}

// What a run of the experiment shows: the tick on which its graph point leaves the diagonal and
// the friction it plots from then on.
struct Observed {
    int slideTick = -1;
    double kinetic = 0;
    bool staticOnDiagonal = true;  // friction equals the horizontal pull while the block holds
    bool kineticLevel = true;      // the kinetic friction stays the same once it slides
    bool pointsOnGraph = true;
};
Observed Watch(double angle) {
    Observed o;
    const double c = std::cos(angle * std::numbers::pi / 180);
    // No run lasts more than 10 ticks per newton of the largest set force.
    while (host->stops == 0 && TickCount < 1300) {
        ++TickCount;
        Friction().step();
        const double pullPx = 3 * c * FrictionForces[0];
        if (std::fabs(FrictionForces[3] - pullPx) > 1e-9) o.staticOnDiagonal = false;
        const double gx = 100 + FrictionForces[3], gy = 525 - FrictionForces[2];
        if (!(gx > 100 - 1e-9 && gx < 600 && gy <= 525 + 1e-9)) o.pointsOnGraph = false;
        if (o.slideTick < 0 && FrictionForces[2] < FrictionForces[3] - 1e-9) {
            o.slideTick = TickCount;
            o.kinetic = FrictionForces[2];
        } else if (o.slideTick < 0) {
            if (std::fabs(FrictionForces[2] - pullPx) > 1e-9) o.staticOnDiagonal = false;
        } else if (FrictionForces[2] != o.kinetic) {
            o.kineticLevel = false;
        }
    }
    return o;
}

}  // namespace

class FrictionTest : public QObject {
    Q_OBJECT
    FakeHost fake;

private slots:
    void initTestCase() {
        InstallFontSubstitutes();
        host = &fake;
        SetHost(&fake);
    }
    void init() {
        ResetProgramState();
        fake.stops = 0;
        fake.lastStopTick = -1;
    }

    void gridOfForcesAndAnglesFollowsTheFrictionLaw() {
        int cases = 0;
        for (double force : {0.0, 1.0, 7.0, 18.0, 36.0, 55.0, 79.0, 80.0, 81.0, 90.0, 104.0, 120.0}) {
            for (double angle : {-45.0, -30.0, -12.0, 0.0, 7.0, 13.0, 30.0, 38.0, 45.0}) {
                const Expected e = Law(force, angle);
                if (e.borderline) continue;
                ++cases;
                const QByteArray name = QByteArray::number(force) + " N at " + QByteArray::number(angle);
                Choose();
                Setting(force, angle);
                if (force == 0) {
                    QVERIFY2(fake.stops == 1 && fake.lastStopTick == 0, name);  // the set-up call ends it
                    continue;
                }
                QVERIFY2(fake.stops == 0, name);
                const Observed o = Watch(angle);
                QCOMPARE(fake.stops, 1);
                QVERIFY2(fake.lastStopTick == e.endTick, name);
                QVERIFY2(o.slideTick == e.slideTick, name);
                QVERIFY2(o.staticOnDiagonal && o.kineticLevel && o.pointsOnGraph, name);
                if (e.slideTick > 0) QVERIFY2(std::fabs(o.kinetic - 3 * 0.9 * e.staticMax) < 1e-9, name);
                QVERIFY2(FrictionForces[0] == e.endPull, name);
                QVERIFY2(std::fabs(BodyX[0] - e.endOffset) < 1e-6, name);
            }
        }
        QVERIFY(cases > 90);
    }

    // The runs that show the law best, each played through Setting and the timer.
    void namedRuns_data() {
        QTest::addColumn<double>("force");
        QTest::addColumn<double>("angle");
        QTest::addColumn<int>("slideTick");
        QTest::addColumn<double>("kineticN");
        QTest::addColumn<int>("endTick");
        QTest::addColumn<double>("endPull");
        QTest::newRow("120 N level") << 120.0 << 0.0 << 800 << 72.0 << 970 << 97.0;
        QTest::newRow("90 N level") << 90.0 << 0.0 << 800 << 72.0 << 900 << 90.0;
        QTest::newRow("120 N lifting at 45")
            << 120.0 << 45.0 << 180 << 0.72 * (100 - 60 * std::sqrt(2.0)) << 361 << 36.0;
        QTest::newRow("120 N lifting at 30") << 120.0 << 30.0 << 370 << 28.8 << 547 << 54.0;
        QTest::newRow("120 N pressing at -45") << 120.0 << -45.0 << -1 << 0.0 << 1200 << 120.0;
        QTest::newRow("79 N level") << 79.0 << 0.0 << -1 << 0.0 << 790 << 79.0;
    }
    void namedRuns() {
        QFETCH(double, force);
        QFETCH(double, angle);
        QFETCH(int, slideTick);
        QFETCH(double, kineticN);
        QFETCH(int, endTick);
        QFETCH(double, endPull);
        Choose();
        Setting(force, angle);
        const Observed o = Watch(angle);
        QCOMPARE(o.slideTick, slideTick);
        if (slideTick > 0) QVERIFY(std::fabs(o.kinetic - 3 * kineticN) < 1e-9);
        QCOMPARE(fake.lastStopTick, endTick);
        QCOMPARE(FrictionForces[0], endPull);
        QVERIFY(o.staticOnDiagonal);
        if (slideTick < 0) QCOMPARE(BodyX[0], 0.0);
        if (force == 90) QVERIFY(std::fabs(BodyX[0] - 147) < 0.5);
        if (endTick < int(10 * force)) QVERIFY(BodyX[0] > 750);
    }

    // At the start of sliding the excess is zero; the acceleration then grows by 1 px/s^2 per
    // 10 ticks, so the velocity is 0.1 times the sum of the excesses so far.
    void slidingStartsFromRestAndAccelerates() {
        Choose();
        Setting(120, 0);
        Run(800);
        QCOMPARE(FrictionForces[1], 0.0);
        QCOMPARE(BodyX[0], 0.0);
        QCOMPARE(BodyVX[0], 0.0);
        Run(30);  // pulls of 80 N for ticks 801..809, 81 N for 810..819, 82 N for 820..829, 83 N at 830
        QVERIFY(std::fabs(BodyVX[0] - 0.1 * (0 * 9 + 1 * 10 + 2 * 10 + 3)) < 1e-12);
        QCOMPARE(FrictionForces[1], 3.0);
    }

    void setUpPictureHasTheBlockAtRestAndNoArrowOrPoint() {
        Choose();
        // No axes before the panel is confirmed.
        QCOMPARE(CountColour(Surface().image(), 0x000000, Box(0, 204, 700, 548)), 0);
        Setting(120, 30);
        QCOMPARE(FrictionSetCount, 0);
        QCOMPARE(Pixel(98, 60), Code(16));  // upright block: x 73..123, y 39..139
        QCOMPARE(Pixel(60, 60), Code(11));  // strip on either side
        QCOMPARE(Pixel(130, 60), Code(11));
        QCOMPARE(Pixel(300, 525), QRgb(0));  // the horizontal axis
        QCOMPARE(Pixel(100, 400), QRgb(0));  // the vertical axis
        // Nothing in the run's colour yet.
        QCOMPARE(CountColour(Surface().image(), Code(0), Box(0, 0, 700, 548)), 0);
        // No friction arrow or label.
        QCOMPARE(CountColour(Surface().image(), 0x000000, Box(0, 0, 700, 139)), 0);
    }

    void arrowsStartAtTheBlockAndGrowWithTheForce() {
        for (double height : {100.0, 50.0}) {
            Choose();
            Setting(120, 0, height);
            Run(500);  // 50 N, still holding: friction 50 N as well
            const int y = int(139 - height * 0.4);
            // The pull, 0.85 px per N from the right face, in the first run's red.
            QCOMPARE(Pixel(124, y), Code(0));
            QCOMPARE(Pixel(160, y), Code(0));
            QVERIFY(Pixel(170, y) != Code(0));
            // The friction arrow, pointing left from the middle of the bottom face.
            const int tail = height == 50 ? 72 : 97;
            QCOMPARE(Pixel(tail - 2, 140), QRgb(0));
            QCOMPARE(Pixel(tail - 40, 140), QRgb(0));
            QVERIFY(Pixel(tail - 50, 140) != QRgb(0));
            // Block outline: lying 100 x 50 from x 23, upright 50 x 100 from x 73.
            QCOMPARE(Pixel(50, 110), height == 50 ? Code(16) : Code(11));
            QCOMPARE(Pixel(98, 60), height == 50 ? Code(11) : Code(16));
        }
        // A height the panel never offers: no block and no arrows, but the graph goes on.
        Choose();
        Setting(120, 0, 75);
        Run(500);
        QCOMPARE(CountColour(Surface().image(), Code(16), Box(0, 0, 700, 139)), 0);
        QCOMPARE(CountColour(Surface().image(), Code(0), Box(0, 0, 700, 204)), 0);
        QCOMPARE(DotAt(250, 375), Code(0));  // the point of 50 N against 50 N
    }

    void uprightAndLyingBlocksGiveTheSamePoints() {
        std::vector<QImage> graphs;
        for (double height : {100.0, 50.0}) {
            Choose();
            Setting(120, 30, height);
            Run();
            QCOMPARE(fake.lastStopTick, 547);
            graphs.push_back(Surface().image().copy(0, 204, 700, 344));
        }
        QCOMPARE(graphs[0], graphs[1]);
    }

    void runsShareOneGraphInTheirOwnColours() {
        Choose();
        Setting(120, 0);
        Run();
        Setting(120, 30);
        QCOMPARE(DotAt(280, 345), Code(0));  // the first run's 60 N point survives the set-up
        Run();
        QCOMPARE(fake.lastStopTick, 547);
        QCOMPARE(DotAt(280, 345), Code(0));
        QCOMPARE(DotAt(364, 309), Code(0));  // first run sliding: 72 N friction at 88 N pull
        const double x2 = 100 + 3 * 45 * std::cos(std::numbers::pi / 6);
        QCOMPARE(DotAt(x2, 525 - 86.4), Code(1));  // second run sliding, grey
        QVERIFY(CountColour(Surface().image(), Code(1), Box(0, 204, 700, 548)) > 20);
        QVERIFY(CountColour(Surface().image(), Code(0), Box(0, 204, 700, 548)) > 100);
        QVERIFY(SavePicture(Surface().image(), QStringLiteral("friction_two_runs.png")));

        // Choosing Friction again starts a clean graph.
        Choose();
        Setting(120, 0);
        QCOMPARE(CountColour(Surface().image(), Code(0), Box(0, 0, 700, 548)), 0);
        QCOMPARE(CountColour(Surface().image(), Code(1), Box(0, 0, 700, 548)), 0);
        QCOMPARE(FrictionSetCount, 0);
    }

    // The run number goes past the codes the lab names; every later run keeps one fixed colour,
    // never the colour drawn just before its dot.
    void runsBeyondTheNamedColoursKeepAFixedColour() {
        Choose();
        QRgb previous = 0;
        for (int run = 1; run <= 101; ++run) {
            Setting(1, 0);
            Run();
            QCOMPARE(fake.lastStopTick, 10);
            const QRgb dot = DotAt(103, 522);  // the 1 N point of this run
            if (run == 23) QCOMPARE(dot, Code(22));
            if (run >= 23) {
                QVERIFY2(dot != previous && dot != Code(16) && dot != 0xFFFFFF && dot != 0,
                         qPrintable(QString("run %1").arg(run)));
                bool fixed = false;
                for (int code = 22; code < 99; ++code) fixed = fixed || dot == Code(code);
                QVERIFY2(fixed, qPrintable(QString("run %1").arg(run)));
            }
            previous = dot;
        }
    }

    // Stop in the middle of a run, then Setting again: a fresh run from the start, with the old
    // points kept and nothing of the old run's arrows left over.
    void settingAgainMidRunStartsAFreshRun() {
        Choose();
        Setting(120, -45, 50);
        Run(900);
        QCOMPARE(fake.stops, 0);
        Setting(120, 45);
        QCOMPARE(FrictionTicks, 0);
        QCOMPARE(FrictionForces[0], 0.0);
        QCOMPARE(BodyX[0], 0.0);
        QCOMPARE(CountColour(Surface().image(), Code(0), Box(0, 0, 700, 204)), 0);  // the pull arrow is gone
        QCOMPARE(CountColour(Surface().image(), 0x000000, Box(0, 0, 700, 139)), 0);
        QCOMPARE(DotAt(100 + 3 * 60 * std::sqrt(0.5), 525 - 3 * 60 * std::sqrt(0.5)),
                 Code(0));  // the stopped run's 60 N point stays on the graph
        Run();
        QCOMPARE(fake.lastStopTick, 361);
    }

    // The steepest pulls reach down into the table; neither the arrow nor its label may leave
    // marks on the graph, which is never erased.
    void steepPullsLeaveNothingOnTheGraph() {
        for (double angle : {-45.0, 45.0}) {
            for (double height : {50.0, 100.0}) {
                Choose();
                Setting(120, angle, height);
                const QImage before = Surface().image().copy();
                Run();
                int stray = 0;
                for (int y = 204; y < 220; ++y)
                    for (int x = 0; x < 700; ++x)
                        if (Pixel(x, y) != Pixel(before, x, y)) ++stray;
                QVERIFY2(stray == 0,
                         qPrintable(QString("%1 degrees, height %2: %3").arg(angle).arg(height).arg(stray)));
            }
        }
    }

    // Pressing down at about 20 degrees, static friction passes 107 N, above the top of the graph
    // area: those points never land on the table band, during the run or after it.
    void frictionAboveTheGraphIsNotPlottedOnTheTable() {
        for (double angle : {-17.0, -20.0, -25.0}) {
            Choose();
            Setting(120, angle);
            const double c = std::cos(angle * std::numbers::pi / 180);
            int highest = 0;
            while (fake.stops == 0 && TickCount < 1300) {
                Run(1);
                // Right of the pull arrow.
                QCOMPARE(CountColour(Surface().image(), Code(0), Box(300, 140, 700, 204)), 0);
                const bool holding = std::fabs(FrictionForces[2] - 3 * c * FrictionForces[0]) < 1e-9;
                if (holding && 525 - FrictionForces[2] >= 205.5)
                    highest = std::max(highest, int(FrictionForces[0]));
            }
            // The graph still shows the static line up to the last point that fits.
            QCOMPARE(DotAt(100 + 3 * c * highest, 525 - 3 * c * highest), Code(0));
            QVERIFY(highest > 100 && 3 * c * (highest + 1) > 525 - 205.5);
        }
    }

    void panelLeftByItsExitDrawsNothing() {
        Choose();
        const QImage chosen = Surface().image().copy();
        Setting(120, 0, 100, false);
        QCOMPARE(FrictionSetCount, -1);
        QCOMPARE(Surface().image(), chosen);
        Setting(120, 0);  // the first accepted set-up still draws the axes
        QCOMPARE(Pixel(300, 525), QRgb(0));
        QCOMPARE(FrictionSetCount, 0);
        Setting(60, 0, 100, false);  // a later Exit leaves the count and the graph alone
        QCOMPARE(FrictionSetCount, 0);
    }

    // A set force of 0 ends the run in the set-up call; a Start pressed after it gives one tick
    // with the point at the origin and ends again.
    void zeroForceEndsAtOnce() {
        Choose();
        Setting(0, 30);
        QCOMPARE(fake.stops, 1);
        QCOMPARE(fake.lastStopTick, 0);
        QCOMPARE(CountColour(Surface().image(), Code(0), Box(0, 0, 700, 548)), 0);
        fake.stops = 0;
        Run();
        QCOMPARE(fake.lastStopTick, 1);
        QCOMPARE(FrictionForces[0], 0.0);
        QCOMPARE(DotAt(100, 525), Code(0));
        QCOMPARE(BodyX[0], 0.0);
    }
};

QTEST_MAIN(FrictionTest)
#include "friction_test.moc"
