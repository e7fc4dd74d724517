// The spring oscillator: the motion and energies against the closed forms of a harmonic
// oscillator, the force arrow and the graph dots on the surface, the drag and the k/m boxes, and
// input that must be ignored.

#include "experiments/spring_energy.h"

#include <QtTest>

#include <cmath>
#include <numbers>
#include <vector>

#include "draw/canvas.h"
#include "draw/figures.h"
#include "draw/fonts.h"
#include "draw/shapes.h"
#include "experiment_test_support.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "pictures.h"
#include "registry/registry.h"

using namespace vlab;
using namespace vlab::test;
using std::numbers::pi;

namespace {

using FakeHost = RecordingHost;

// The lab window's part of the sequences a user drives.
void CommonReset() {
    MouseMoveActive = MouseClickActive = 0;
    TickCount = 0;
}
void Choose() {
    ExperimentCode = CodeOf("SpringEnergy");
    CommonReset();
    SpringEnergyReset();
    ClearArea(0, 0, 700, 550);
}
void Setting() {
    CommonReset();
    SpringEnergyReset();
    MouseMoveActive = MouseClickActive = 1;
    SpringEnergyStep();
}
void Start() { MouseMoveActive = MouseClickActive = 0; }
void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
        ++TickCount;
        SpringEnergyStep();
    }
}
// The lab window passes moves on only while the move flag is set; presses and releases always.
void Move(int x, int y) {
    if (MouseMoveActive == 1) SpringEnergyMouseMove(x, y);
}

// Drags the block from its middle to the given amplitude in 5 px moves.
void DragTo(double amplitude) {
    const int grabX = static_cast<int>(SpringEndX) + 20;
    SpringEnergyMouseDown(grabX, 100);
    const int target = static_cast<int>(BodyX[0] + amplitude) + 20;
    const int step = target > grabX ? 5 : -5;
    for (int x = grabX; step > 0 ? x < target : x > target; x += step) Move(x, 100);
    Move(target, 100);
    SpringEnergyMouseUp(target, 100);
}

// Leftmost and rightmost pure-blue pixel of a row of the top band (the force arrow's colour).
std::pair<int, int> BlueSpan(int y) {
    int lo = -1, hi = -1;
    for (int x = 0; x < kSurfaceWidth; ++x)
        if (Pixel(x, y) == 0x0000FF) {
            if (lo < 0) lo = x;
            hi = x;
        }
    return {lo, hi};
}

bool AnyColourIn(QRgb colour, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (Pixel(x, y) == colour) return true;
    return false;
}

}  // namespace

class SpringEnergyTest : public QObject {
    Q_OBJECT
    FakeHost host;

private slots:
    void initTestCase() {
        InstallFontSubstitutes();
        SetHost(&host);
    }
    void init() {
        ResetLabState();
        ResetDrawKit();
        SpringEnergyResetProgramState();
        host.intervals.clear();
        host.cursor = SurfaceCursor::Default;
        host.repaints = 0;
    }

    void resetTakesTheRestPositionFromTheRelaxedSpring() {
        Choose();
        Setting();
        DragTo(120);
        Start();
        Tick(7);
        DrawArrow(50, 45, 0, 0, 0, 5, 1, 1, 1);  // leaves SpringEndX/Y pointing at an arrow head
        CommonReset();
        SpringEnergyReset();
        QCOMPARE(BodyX[0], 314.0);
        QCOMPARE(BodyY[0], 100.0);
        QCOMPARE(SpringDisplacement, 0.0);
        QCOMPARE(SpringFirstGrab, 1);
        QCOMPARE(SpringDragging, 0);
        QCOMPARE(SpringConstant, 2.0);
        QCOMPARE(SpringMass, 2.0);
        for (double v : SpringTrail) QCOMPARE(v, 0.0);
        QCOMPARE(host.intervals.back(), 10);
    }

    // x(t) = A cos(sqrt(k/m) t) with one tick lasting pi/180 s: the period is 2 pi sqrt(m/k)
    // seconds, that is 360 sqrt(m/k) ticks.
    void periodAndTurningPointEnergyForEveryKAndM() {
        const double a = 200;
        for (int k = 1; k <= 4; ++k)
            for (int m = 1; m <= 4; ++m) {
                Setting();
                SpringConstant = k;
                SpringMass = m;
                SpringDisplacement = a;
                SpringEnergyStep();
                Start();
                const double period = 2 * pi * std::sqrt(double(m) / k) / (pi / 180);
                std::vector<double> xs{SpringX};
                while (TickCount < 2 * period + 1) {
                    Tick();
                    xs.push_back(SpringX);
                }
                // Successive downward zero crossings, interpolated between ticks.
                std::vector<double> downs;
                for (size_t t = 1; t < xs.size(); ++t)
                    if (xs[t - 1] > 0 && xs[t] <= 0) downs.push_back(t - 1 + xs[t - 1] / (xs[t - 1] - xs[t]));
                QVERIFY(downs.size() >= 2);
                QVERIFY2(std::fabs(downs[1] - downs[0] - period) < 2e-3,
                         qPrintable(QString("k %1 m %2").arg(k).arg(m)));
                // After one and two periods the block is back at its amplitude (within half a tick).
                for (int n = 1; n <= 2; ++n) {
                    const double x = xs[std::lround(n * period)];
                    QVERIFY(x >= a * std::cos(0.5 * std::sqrt(double(k) / m) * pi / 180) - 1e-9);
                }
                if (k == m || k == 4 * m || m == 4 * k) {  // a turning point falls on a tick
                    TickCount = static_cast<int>(std::lround(period)) - 1;
                    Tick();
                    QCOMPARE(SpringX, a);
                    QVERIFY(std::fabs(SpringPotential - 0.000875 * k * a * a) < 1e-9);
                }
            }
    }

    // The total is the energy of tick 1; where the potential energy exceeds it near the turning
    // points the total dot rises by twice the excess.
    void totalEnergyIsTheTickOneLevel() {
        Setting();
        SpringConstant = 4;
        SpringMass = 4;
        SpringDisplacement = 270;
        Start();
        Tick();
        const double e0 = 0.000875 * 4 * std::pow(270 * std::cos(pi / 180), 2);
        QVERIFY(std::fabs(SpringEnergy0 - e0) < 1e-9);
        double highest = 0;
        for (int t = 2; t <= 400; ++t) {
            Tick();
            const double total = SpringPotential + SpringKinetic;
            const double expected = SpringPotential <= e0 ? e0 : e0 + 2 * (SpringPotential - e0);
            QVERIFY(std::fabs(total - expected) < 1e-9);
            highest = std::max(highest, SpringPotential);
        }
        QVERIFY(std::fabs(highest - 255.15) < 1e-9);  // at tick 360, x = 270 with k = 4
    }

    // The arrow is |x k 0.2| px long from 20 px right of the spring's end, pointing back to rest.
    void forceArrowPointsBackToRest() {
        struct Case {
            int k;
            double a;
        };
        for (const Case c : {Case{3, 200}, Case{2, -150}, Case{4, -270}, Case{4, 270}}) {
            Setting();
            SpringConstant = c.k;
            SpringDisplacement = c.a;
            SpringEnergyStep();
            const double tail = 314 + c.a + 20, length = std::fabs(c.a * c.k * 0.2);
            const auto [lo, hi] = BlueSpan(60);
            if (c.a > 0) {
                QVERIFY(std::abs(hi - int(tail)) <= 1);
                QVERIFY(std::abs(lo - int(tail - length)) <= 1);
            } else {
                QVERIFY(std::abs(lo - int(tail)) <= 1);
                QVERIFY(std::abs(hi - int(tail + length)) <= 1);
            }
        }
    }

    void zeroAmplitudeRestsWithoutArrow() {
        Choose();
        Setting();
        Start();
        const QImage before = Surface().image().copy();
        Tick();
        QCOMPARE(BlueSpan(60).first, -1);
        QCOMPARE(Pixel(334, 80), QRgb(0xA6DDA5));  // the block, x 314 to 354
        QCOMPARE(Pixel(360, 80), QRgb(0xD8E4F8));
        QCOMPARE(SpringPotential + SpringKinetic, 0.0);
        // The three dots coincide on the origin, the black total drawn last over the other two.
        int changed = 0;
        for (int y = 500; y < 548; ++y)
            for (int x = 300; x < 380; ++x)
                if (Pixel(x, y) != Pixel(before, x, y)) {
                    ++changed;
                    QCOMPARE(Pixel(x, y), QRgb(0x000000));
                    QVERIFY(std::abs(x - 339) <= 3 && std::abs(y - 530) <= 3);
                }
        QVERIFY(changed > 0);
    }

    void previousPointsTurnSilverAndStay() {
        Setting();
        SpringDisplacement = 200;
        Start();
        Tick(60);
        // The dots of tick 10 lie away from the newest ones and the graph is never cleared.
        const double x = 339 + 200 * std::cos(10 * pi / 180);
        const double us = 0.000875 * 2 * std::pow(x - 339, 2);
        QCOMPARE(Pixel(int(x), int(530 - us)), QRgb(0xC0C0C0));
        QCOMPARE(Pixel(int(339 + SpringX), int(530 - SpringPotential)), QRgb(0x0000FF));
    }

    void dragFollowsThePointerWithinItsLimits() {
        Setting();
        SpringEnergyMouseDown(324, 100);
        QCOMPARE(host.repaints, 0);  // taking the block up draws nothing
        for (int x = 324; x < 2000; x += 5) {
            Move(x, 100);
            QVERIFY(SpringDisplacement <= 270);
            if (x <= 594) QCOMPARE(x - SpringEndX, 10.0);  // held where it was first grabbed
        }
        QCOMPARE(SpringDisplacement, 270.0);
        QCOMPARE(host.cursor, SurfaceCursor::Default);  // the pointer left the held block
        for (int x = 630; x > -500; x -= 5) Move(x, 100);
        QCOMPARE(SpringDisplacement, -270.0);
        SpringEnergyMouseUp(-500, 100);
        QCOMPARE(SpringDragging, 0);

        // A later grab keeps the first offset; setting up again records a new one.
        SpringEnergyMouseDown(int(SpringEndX) + 45, 100);
        Move(int(SpringEndX) + 45, 100);
        QCOMPARE(BodyY[0], 10.0);
        QCOMPARE(SpringEndX - BodyX[0], -270.0 + 35.0);
        SpringEnergyMouseUp(0, 0);
        Setting();
        SpringEnergyMouseDown(350, 100);
        Move(350, 100);
        QCOMPARE(BodyY[0], 36.0);
    }

    void boxesWrapAndHighlightTheLastChange() {
        Setting();
        QVector<double> ks;
        for (int i = 0; i < 4; ++i) {
            SpringEnergyMouseDown(11, 151);
            ks << SpringConstant;
        }
        QCOMPARE(ks, (QVector<double>{3, 4, 1, 2}));
        QVERIFY(AnyColourIn(0xFF0000, 15, 155, 90, 175) && !AnyColourIn(0xFF0000, 190, 155, 260, 175));
        SpringEnergyMouseDown(259, 179);
        QCOMPARE(SpringMass, 3.0);
        QCOMPARE(SpringLastButton, 1);
        QVERIFY(!AnyColourIn(0xFF0000, 15, 155, 90, 175) && AnyColourIn(0xFF0000, 190, 155, 260, 175));
        QCOMPARE(SpringOmega, std::sqrt(2.0 / 3.0));
        for (auto [x, y] : {std::pair{10, 165}, {90, 165}, {50, 150}, {50, 180}, {180, 165}, {260, 165}})
            SpringEnergyMouseDown(x, y);
        QCOMPARE(SpringConstant, 2.0);
        QCOMPARE(SpringMass, 3.0);
        Move(50, 165);
        QCOMPARE(host.cursor, SurfaceCursor::Hand);
        Move(334, 100);
        QCOMPARE(host.cursor, SurfaceCursor::Hand);
        Move(120, 165);
        QCOMPARE(host.cursor, SurfaceCursor::Default);
    }

    void inputOutsideItsTimeChangesNothing() {
        Choose();  // flags off until Setting
        SpringEnergyMouseDown(11, 151);
        SpringEnergyMouseDown(330, 100);
        SpringEnergyMouseMove(400, 100);
        QCOMPARE(SpringConstant, 2.0);
        QCOMPARE(SpringDragging, 0);

        Setting();
        SpringEnergyMouseUp(330, 100);  // release without press
        for (auto [x, y] : {std::pair{-5, -5}, {800, 600}, {330, 200}, {330, -1}}) {
            SpringEnergyMouseDown(x, y);
            Move(x, y);
        }
        QCOMPARE(SpringDragging, 0);
        QCOMPARE(SpringDisplacement, 0.0);
        SpringEnergyMouseDown(330, 100);
        Move(50, 165);
        Move(400, 165);  // onto the k box and off the block while holding it
        QCOMPARE(SpringDisplacement, 0.0);
        QCOMPARE(SpringConstant, 2.0);

        Start();  // still holding the block when the run starts
        Tick(5);
        SpringEnergyMouseMove(360, 100);
        SpringEnergyMouseDown(11, 151);
        SpringEnergyMouseDown(181, 151);
        QCOMPARE(SpringDisplacement, 0.0);
        QCOMPARE(SpringConstant, 2.0);
        QCOMPARE(SpringMass, 2.0);
        QCOMPARE(TickCount, 5);
    }

    // The user's own sequence, with the pictures written into the build folder to look at.
    void scenarioDragSetKAndRun() {
        Choose();
        Setting();
        DragTo(200);
        SpringEnergyMouseDown(50, 165);
        Start();
        QCOMPARE(SpringDisplacement, 200.0);
        QCOMPARE(SpringConstant, 3.0);
        QVERIFY(SavePicture(Surface().image(), QStringLiteral("spring_tick000.png")));
        Tick(90);
        QVERIFY(SavePicture(Surface().image(), QStringLiteral("spring_tick090.png")));
        Tick(310);
        QVERIFY(SavePicture(Surface().image(), QStringLiteral("spring_tick400.png")));
        QCOMPARE(TickCount, 400);
        QVERIFY(std::fabs(SpringX - 200 * std::cos(400 * std::sqrt(1.5) * pi / 180)) < 1e-9);
        QVERIFY(std::fabs(SpringEndX - (314 + SpringX)) < 1e-9);
        QJsonObject dump;
        SpringEnergyDescribe(dump);
        QCOMPARE(dump["SpringConstant"].toDouble(), 3.0);
        QCOMPARE(dump["SpringTrail"].toArray().size(), 8);
    }
};

QTEST_MAIN(SpringEnergyTest)
#include "spring_energy_test.moc"
