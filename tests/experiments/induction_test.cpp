// Electromagnetic induction: the current against the change of flux through the loop (Faraday and
// Lenz), the coil's speed against the closed form of braking proportional to speed, the pictures of
// the loop, the coil and their graphs, the surface buttons and the presses that must be ignored.

#include "experiments/induction.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "draw/canvas.h"
#include "draw/fonts.h"
#include "draw/shapes.h"
#include "experiment_test_support.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "pictures.h"
#include "registry/registry.h"

using namespace vlab;
using namespace vlab::test;

namespace {

constexpr QRgb kRedPixel = 0xFF0000;
constexpr QRgb kPurplePixel = 0x800080;
constexpr QRgb kSilverPixel = 0xC0C0C0;

using FakeHost = RecordingHost;
FakeHost host;

const Experiment& Induction() { return *FindExperiment(CodeOf("Induction")); }

// The lab window's part of the sequences a user drives, with the reactions taken from the registry.
void CommonReset() {
    MouseMoveActive = MouseClickActive = 0;
    TickCount = 0;
}
void Choose() {
    ExperimentCode = Induction().code;
    CommonReset();
    Induction().reset();
    ClearArea(0, 0, 700, 550);
}
void Setting() {
    CommonReset();
    Induction().reset();
    Induction().step();
}
void Start() {
    if (Induction().startSilencesMouse) MouseMoveActive = MouseClickActive = 0;
}
// Ticks as the dispatcher delivers them, until the run stops itself.
void Tick(int n = 1) {
    const int stops = host.stops;
    for (int i = 0; i < n && host.stops == stops; ++i) {
        ++TickCount;
        Induction().step();
    }
}
void Press(int x, int y) { Induction().mouseDown(x, y); }
void Move(int x, int y) {
    if (MouseMoveActive == 1) Induction().mouseMove(x, y);
}

// Mean x of the pixels of a colour in a box, or -1 when there are none.
double MeanX(QRgb colour, int left, int top, int right, int bottom) {
    double sum = 0;
    int n = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (Pixel(x, y) == colour) {
                sum += x + 0.5;
                ++n;
            }
    return n ? sum / n : -1;
}

// Which end of the segment a to b an arrow drawn along it in the colour points to: its open head
// spreads sideways from the midpoint to the tip, so the pixels off the shaft lie towards the tip.
// Positive for b, negative for a, zero when nothing of the colour is off the shaft.
double HeadTowardsB(QRgb colour, QPointF a, QPointF b) {
    const QPointF d = (b - a) / std::hypot(b.x() - a.x(), b.y() - a.y());
    const QPointF n(-d.y(), d.x());
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    double score = 0;
    for (int y = int(std::min(a.y(), b.y())) - 8; y <= int(std::max(a.y(), b.y())) + 8; ++y)
        for (int x = int(std::min(a.x(), b.x())) - 8; x <= int(std::max(a.x(), b.x())) + 8; ++x) {
            if (x < 0 || y < 0 || x >= kSurfaceWidth || y >= kSurfaceHeight || Pixel(x, y) != colour)
                continue;
            const QPointF p = QPointF(x + 0.5, y + 0.5) - a;
            const double along = p.x() * d.x() + p.y() * d.y();
            const double across = std::fabs(p.x() * n.x() + p.y() * n.y());
            if (across >= 2 && across <= 5 && along > -2 && along < length + 2) score += along - length / 2;
        }
    return score;
}

// The point d px up the incline from its foot (20, 360), which rises at 20 degrees.
QPointF UpIncline(double d) {
    const double a = 20 * std::numbers::pi / 180;
    return {20 + d * std::cos(a), 360 - d * std::sin(a)};
}

// The flux through the loop whose left side is at x = left: the field fills x 185 to 535 over the
// loop's whole height, so the flux is the overlap of the 100 px loop with the field times its
// height, signed by the field (solid dots, direction 1, out of the surface; ringed dots into it).
double Flux(double left, double direction) {
    const double overlap = std::clamp(std::min(left + 100, 535.0) - std::max(left, 185.0), 0.0, 100.0);
    return overlap * 100 * (direction == 1 ? 1.0 : -1.0);
}

}  // namespace

class InductionTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        InstallFontSubstitutes();
        SetHost(&host);
    }
    void init() {
        ResetProgramState();
        host.Clear();
    }

    void resetStartValuesAndPointsOnTheIncline() {
        Setting();
        Press(40, 60);
        Press(40, 100);
        Start();
        Tick(200);
        CommonReset();
        Induction().reset();
        QCOMPARE(host.timerStops, 2);
        QCOMPARE(host.intervals.back(), 50);
        QCOMPARE(int(MouseMoveActive), 1);
        QCOMPARE(int(MouseClickActive), 1);
        QCOMPARE(InductionMode, 0);
        QCOMPARE(FieldDirection, 0.0);
        for (double v : {LoopOffset, CoilSpeed, CoilTravel, InducedCurrent, PushForce}) QCOMPARE(v, 0.0);
        const QPointF near = UpIncline(210), corner = UpIncline(630), far = UpIncline(510);
        QVERIFY(std::fabs(InclineNear[0] - near.x()) < 1e-9 && std::fabs(InclineNear[1] - near.y()) < 1e-9);
        QVERIFY(std::fabs(CoilCornerX - corner.x()) < 1e-9 && std::fabs(CoilCornerY - corner.y()) < 1e-9);
        // The end of the band is the last point computed.
        QVERIFY(std::fabs(RayEndX - far.x()) < 1e-9 && std::fabs(RayEndY - far.y()) < 1e-9);
        QJsonObject dump;
        Induction().describe(dump);
        for (const char* name :
             {"InductionMode", "FieldDirection", "LoopOffset", "InducedCurrent", "PushForce", "CoilSpeed",
              "CoilTravel", "InclineNear", "CoilCornerX", "CoilCornerY"})
            QVERIFY2(dump.contains(QLatin1String(name)), name);
    }

    // Faraday: a current flows exactly while the flux changes, that is over a tick before or after
    // which the flux differs; Lenz: it circulates so as to oppose the change (clockwise on the
    // screen, +50, when flux out of the surface grows). The push balances the magnetic drag, so it
    // is there exactly when the current is.
    void loopCurrentFollowsTheChangeOfFlux() {
        for (double direction : {0.0, 1.0}) {
            Setting();
            if (direction == 1) Press(40, 100);
            QCOMPARE(FieldDirection, direction);
            Start();
            int positive = 0, negative = 0;
            for (int t = 1; t <= 620; ++t) {
                Tick();
                QCOMPARE(TickCount, t);
                const double left = t + 30;  // 1 px a tick from x 30 at tick 0
                QCOMPARE(LoopOffset + 150, left);
                const double before = Flux(left, direction) - Flux(left - 1, direction);
                const double after = Flux(left + 1, direction) - Flux(left, direction);
                const double change = before != 0 ? before : after;
                const double expected = change > 0 ? 50.0 : change < 0 ? -50.0 : 0.0;
                QVERIFY2(InducedCurrent == expected,
                         qPrintable(QString("tick %1 dir %2").arg(t).arg(direction)));
                QCOMPARE(PushForce, std::fabs(InducedCurrent));
                if (InducedCurrent > 0) ++positive;
                if (InducedCurrent < 0) ++negative;
                if (t < 620) QCOMPARE(host.stops, 0);
            }
            QCOMPARE(positive, 101);
            QCOMPARE(negative, 101);
            QCOMPARE(host.stops, 1);
            QCOMPARE(host.firstStopTick, 620);
            host.stops = 0;
        }
    }

    void loopCurrentIntervalsAndTheirEdges() {
        struct Case {
            int tick;
            double current;  // with the field in direction 1
        };
        for (const Case c : {Case{54, 0},
                             {55, 50},
                             {155, 50},
                             {156, 0},
                             {300, 0},
                             {404, 0},
                             {405, -50},
                             {505, -50},
                             {506, 0},
                             {619, 0}}) {
            for (double direction : {1.0, 0.0}) {
                Setting();
                FieldDirection = direction;
                TickCount = c.tick;
                Induction().step();
                QCOMPARE(InducedCurrent, direction == 1 ? c.current : -c.current);
                QCOMPARE(PushForce, c.current != 0 ? 50.0 : 0.0);
            }
        }
        // Wholly inside the field (left side 186 to 434) the flux stays put: no current, no push.
        Setting();
        for (int left = 186; left <= 434; ++left) {
            TickCount = left - 30;
            Induction().step();
            QCOMPARE(InducedCurrent, 0.0);
            QCOMPARE(PushForce, 0.0);
        }
    }

    void loopPictureArrowsAndGraphDots() {
        Setting();
        Start();
        Tick();
        // The first tick: the loop's left side at x 31, its right side at 131, the first dots at
        // x 10.5 (push, 0) and 370.5 (current, 0) on their time axes.
        QVERIFY(std::fabs(MeanX(kSilverPixel, 20, 158, 42, 170) - 31) <= 1.5);
        QVERIFY(std::fabs(MeanX(kSilverPixel, 120, 158, 142, 170) - 131) <= 1.5);
        // The resistor zigzag.
        QVERIFY(CountColour(Surface().image(), kRedPixel, Box(20, 176, 45, 224)) > 20);
        QVERIFY(std::fabs(MeanX(kRedPixel, 0, 405, 40, 425) - 10.5) <= 1.0);
        QVERIFY(std::fabs(MeanX(kRedPixel, 360, 405, 400, 425) - 370.5) <= 1.0);
        QCOMPARE(CountColour(Surface().image(), kRedPixel, Box(0, 300, 700, 404)) +
                     CountColour(Surface().image(), kRedPixel, Box(0, 426, 700, 548)),
                 0);

        // Clockwise with a growing flux out of the surface (direction 1), anticlockwise with ringed
        // dots; the arrows sit 40 to 60 px right of the left side on the top and bottom.
        for (double direction : {1.0, 0.0}) {
            Setting();
            FieldDirection = direction;
            TickCount = 100;
            Induction().step();
            const double l = LoopOffset + 150;
            const double top = HeadTowardsB(kRedPixel, {l + 40, 150}, {l + 60, 150});
            const double bottom = HeadTowardsB(kRedPixel, {l + 40, 250}, {l + 60, 250});
            if (direction == 1) {
                QVERIFY2(top > 0 && bottom < 0, qPrintable(QString("%1 %2").arg(top).arg(bottom)));
            } else {
                QVERIFY2(top < 0 && bottom > 0, qPrintable(QString("%1 %2").arg(top).arg(bottom)));
            }
            // The current below its axis when positive, above when negative; the push above its own.
            QVERIFY(CountColour(Surface().image(), kRedPixel,
                                Box(360, direction == 1 ? 460 : 360, 430, direction == 1 ? 470 : 370)) > 0);
            QVERIFY(CountColour(Surface().image(), kRedPixel, Box(50, 360, 70, 370)) > 0);
        }
        // No arrows while the loop is wholly inside.
        TickCount = 300;
        Induction().step();
        QCOMPARE(CountColour(Surface().image(), kRedPixel,
                             Box(int(LoopOffset + 150) + 15, 140, int(LoopOffset + 150) + 90, 160)),
                 0);
    }

    // The graph areas are cleared only at tick 0: the dots of a run stay, and a mode press, which
    // sets the tick count to 0, starts from a cleared surface.
    void graphsAccumulateUntilTheTickCountIsZero() {
        Setting();
        Press(40, 100);
        Start();
        Tick(300);
        // The push and the current at tick 100.
        QVERIFY(CountColour(Surface().image(), kRedPixel, Box(55, 360, 62, 370)) > 0);
        QVERIFY(CountColour(Surface().image(), kRedPixel, Box(415, 460, 422, 470)) > 0);
        MouseClickActive = 1;  // as if the run had been set up again without a reset
        Press(40, 25);
        QCOMPARE(TickCount, 0);
        QCOMPARE(CountColour(Surface().image(), kRedPixel, Box(0, 300, 700, 548)), 0);
    }

    // Constant acceleration 10 from rest outside the braking zones: v = 10 t and s = 5 t^2 with
    // t = 0.05 a tick, exactly. Inside them dv/dt = 10 - 0.6 v, whose solution relaxes towards
    // 10 / 0.6 as v(t) = vT + (v0 - vT) exp(-0.6 t); one step of 0.05 multiplies the distance to vT
    // by 0.97 instead of exp(-0.03), so after k steps the two differ by at most about
    // |v0 - vT| exp(-0.03 k) k 0.03^2 / 2.
    void coilSlidesAndBrakesInTheZones() {
        Setting();
        Press(40, 60);
        QCOMPARE(InductionMode, 1);
        Start();
        const double dt = 0.05, terminal = 10 / 0.6, a = 0.6 * dt;
        double v0 = 0, zoneStart = -1;
        int zones = 0, brakingTicks = 0;
        double oldS = 0, oldV = 0, lastStart = 0;
        while (host.stops == 0 && TickCount < 1000) {
            Tick();
            const double u = 630 - oldS;  // the lower edge before this tick's step
            // The coil straddles an edge of the band (210 to 510) when its lower edge is below the
            // edge and its top (80 px further up) above it.
            const bool straddles = (u < 510 && u + 80 > 510) || (u < 210 && u + 80 > 210);
            if (!straddles) {
                QVERIFY(std::fabs(CoilSpeed - oldV - 0.5) < 1e-9);
                QVERIFY(std::fabs(CoilTravel - oldS - (oldV * dt + 10 * dt * dt / 2)) < 1e-9);
                zoneStart = -1;
            } else {
                ++brakingTicks;
                if (zoneStart < 0) {
                    zoneStart = TickCount - 1;
                    v0 = oldV;
                    ++zones;
                }
                const double k = TickCount - zoneStart;
                const double exact = terminal + (v0 - terminal) * std::exp(-a * k);
                const double bound =
                    std::fabs(v0 - terminal) * std::exp(-a * k) * k * (a * a / 2 + a * a * a);
                QVERIFY2(
                    std::fabs(CoilSpeed - exact) <= bound + 1e-9,
                    qPrintable(QString("tick %1 v %2 exact %3").arg(TickCount).arg(CoilSpeed).arg(exact)));
                // Braking: the speed draws nearer to the terminal speed every tick.
                QVERIFY(std::fabs(CoilSpeed - terminal) < std::fabs(oldV - terminal));
            }
            if (TickCount <= 98) {
                const double t = TickCount * dt;
                QVERIFY(std::fabs(CoilSpeed - 10 * t) < 1e-9);
                QVERIFY(std::fabs(CoilTravel - 5 * t * t) < 1e-9);
            }
            if (CoilTravel < 620) QCOMPARE(host.stops, 0);
            lastStart = oldS;
            oldS = CoilTravel;
            oldV = CoilSpeed;
        }
        QCOMPARE(zones, 2);
        QVERIFY(brakingTicks > 60);
        QCOMPARE(host.stops, 1);
        QVERIFY(CoilTravel >= 620 && lastStart < 620);
        QCOMPARE(host.firstStopTick, TickCount);
        QCOMPARE(int(MouseClickActive), 0);
        // The corner follows the coil down the incline.
        const QPointF k = UpIncline(630 - CoilTravel);
        QVERIFY(std::fabs(CoilCornerX - k.x()) < 1e-9 && std::fabs(CoilCornerY - k.y()) < 1e-9);
    }

    // The coil's current, drawn while the coil as drawn straddles an edge of the band, circulates
    // so as to oppose the change of flux: entering with flux out of the surface (solid dots) it runs
    // clockwise on the screen, up the lower-slope side and down the upper-slope side.
    void coilArrowsOpposeTheChangeOfFlux() {
        struct Case {
            double travel;  // the coil's lower edge then lies at 630 - travel
            bool entering;
        };
        for (const Case c : {Case{160, true}, Case{460, false}}) {
            for (double direction : {1.0, 0.0}) {
                Setting();
                Press(40, 60);
                FieldDirection = direction;
                TickCount = 1;
                CoilTravel = c.travel;
                CoilSpeed = 30;
                Induction().step();
                const QPointF k(CoilCornerX, CoilCornerY - 4);
                const double c110 = std::cos(110 * std::numbers::pi / 180),
                             s110 = std::sin(110 * std::numbers::pi / 180);
                const QPointF up(c110, -s110);  // along the sides, away from the incline
                const QPointF upperCorner = QPointF(UpIncline(630 - CoilTravel + 80)) - QPointF(0, 4);
                const double lower = HeadTowardsB(kPurplePixel, k + 30 * up, k + 50 * up);
                const double upper = HeadTowardsB(kPurplePixel, upperCorner + 30 * up, upperCorner + 50 * up);
                const bool clockwise = c.entering == (direction == 1);
                QVERIFY2(clockwise ? lower > 0 && upper < 0 : lower < 0 && upper > 0,
                         qPrintable(QString("travel %1 dir %2: %3 %4")
                                        .arg(c.travel)
                                        .arg(direction)
                                        .arg(lower)
                                        .arg(upper)));
            }
        }
        // Wholly inside the band, or wholly above it: no current.
        for (double travel : {10.0, 300.0}) {
            TickCount = 1;
            CoilTravel = travel;
            Induction().step();
            QCOMPARE(CountColour(Surface().image(), kPurplePixel, Box(0, 0, 700, 360)), 0);
        }
        // The speed graph: 2 px a tick from x 10, 2 px per unit of speed above y 530.
        Setting();
        Press(40, 60);
        Start();
        Tick(40);
        // At tick 40: v = 20, at (90, 490).
        QVERIFY(CountColour(Surface().image(), kRedPixel, Box(86, 486, 94, 494)) > 0);
        QCOMPARE(CountColour(Surface().image(), kRedPixel, Box(100, 365, 700, 548)), 0);
    }

    void buttonsAnswerWithinTheirBoundsOnly() {
        Setting();
        // Edges just outside every button, and the gaps between them.
        for (auto [x, y] : {std::pair{10, 20},
                            {80, 20},
                            {40, 10},
                            {40, 40},
                            {10, 60},
                            {80, 60},
                            {40, 45},
                            {40, 75},
                            {40, 42},
                            {40, 80},
                            {10, 100},
                            {80, 100},
                            {40, 85},
                            {40, 115},
                            {200, 60}}) {
            Press(x, y);
            QCOMPARE(InductionMode, 0);
            QCOMPARE(FieldDirection, 0.0);
        }
        Press(11, 46);
        QCOMPARE(InductionMode, 1);
        Press(79, 39);
        QCOMPARE(InductionMode, 0);
        Press(79, 74);
        QCOMPARE(InductionMode, 1);
        Press(11, 11);
        QCOMPARE(InductionMode, 0);
        Press(11, 86);
        QCOMPARE(FieldDirection, 1.0);
        Press(79, 114);
        QCOMPARE(FieldDirection, 0.0);
        // The chosen mode's caption is red, the other blue.
        QVERIFY(CountColour(Surface().image(), kRedPixel, Box(15, 15, 80, 38)) > 0 &&
                CountColour(Surface().image(), kRedPixel, Box(15, 50, 80, 73)) == 0);
        Press(40, 60);
        QVERIFY(CountColour(Surface().image(), kRedPixel, Box(15, 15, 80, 38)) == 0 &&
                CountColour(Surface().image(), kRedPixel, Box(15, 50, 80, 73)) > 0);

        Move(40, 25);
        QCOMPARE(host.cursor, SurfaceCursor::Hand);
        Move(40, 42);
        QCOMPARE(host.cursor, SurfaceCursor::Default);
        Move(79, 114);
        QCOMPARE(host.cursor, SurfaceCursor::Hand);
        Move(80, 100);
        QCOMPARE(host.cursor, SurfaceCursor::Default);
        Move(11, 74);
        QCOMPARE(host.cursor, SurfaceCursor::Hand);
        Induction().mouseUp(11, 74);
        QCOMPARE(host.cursor, SurfaceCursor::Default);
    }

    void pressesOutsideTheirTime() {
        // Chosen, not yet set up: the reset has turned the mouse on, so the buttons answer already.
        Choose();
        QCOMPARE(int(MouseClickActive), 1);
        Press(40, 60);
        QCOMPARE(InductionMode, 1);
        // The incline is drawn.
        QVERIFY(CountColour(Surface().image(), QRgb(0x808080), Box(300, 200, 600, 350)) > 1000);
        Press(40, 100);
        QCOMPARE(FieldDirection, 1.0);
        Setting();  // and Setting puts both back
        QCOMPARE(InductionMode, 0);
        QCOMPARE(FieldDirection, 0.0);

        // Running, paused and ended runs take no presses and change no cursor.
        Start();
        Tick(30);
        const QImage before = Surface().image().copy();
        Press(40, 60);
        Press(40, 100);
        Move(40, 25);
        QCOMPARE(InductionMode, 0);
        QCOMPARE(FieldDirection, 0.0);
        QCOMPARE(TickCount, 30);
        QCOMPARE(host.cursor, SurfaceCursor::Default);
        QCOMPARE(Surface().image(), before);
        Tick(1000);
        QCOMPARE(TickCount, 620);
        Press(40, 25);
        QCOMPARE(TickCount, 620);
        Induction().mouseMove(40, 25);  // a stray move the window would not pass on
        QCOMPARE(host.cursor, SurfaceCursor::Default);
    }

    // Both modes mid-run and at their ends, written into the build folder to look at.
    void picturesOfBothModes() {
        Choose();
        Setting();
        Press(40, 100);
        Start();
        Tick(120);
        QVERIFY(SavePicture(Surface().image(), QStringLiteral("induction_loop_tick120.png")));
        Tick(1000);
        QCOMPARE(host.firstStopTick, 620);
        QVERIFY(SavePicture(Surface().image(), QStringLiteral("induction_loop_end.png")));
        host.stops = 0;
        Setting();
        Press(40, 60);
        Start();
        Tick(110);
        QVERIFY(CountColour(Surface().image(), kPurplePixel, Box(0, 0, 700, 360)) > 0);
        QVERIFY(SavePicture(Surface().image(), QStringLiteral("induction_coil_tick110.png")));
        Tick(1000);
        QVERIFY(CoilTravel >= 620);
        QVERIFY(SavePicture(Surface().image(), QStringLiteral("induction_coil_end.png")));
    }
};

QTEST_MAIN(InductionTest)
#include "induction_test.moc"
