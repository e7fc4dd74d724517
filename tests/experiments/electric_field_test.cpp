// The electric field: the field against Coulomb's law worked out here, the grid's colours on the
// surface, the test point and the sign buttons, the flight against energy conservation, and the
// ends of a run, bad input included.

#include "experiments/electric_field.h"

#include <QtTest>

#include <cmath>
#include <initializer_list>
#include <numbers>
#include <tuple>

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

namespace {

const QString kTwo = QStringLiteral("两个点电荷"), kThree = QStringLiteral("三个点电荷"),
              kFour = QStringLiteral("四个点电荷");

using FakeHost = RecordingHost;
FakeHost host;

// Setting with the panel confirmed on a layout and charges, then the first picture.
void Setting(const QString& layout, std::initializer_list<int> q = {}) {
    MouseMoveActive = MouseClickActive = 0;
    TickCount = 0;
    ElectricFieldReset();
    host.layout = layout;
    int i = 0;
    for (int v : q) ChargeQ[i++] = v;
    ElectricFieldStep();
    MouseMoveActive = MouseClickActive = 1;
}
void Start() { MouseMoveActive = MouseClickActive = 0; }
// Ticks until n have run or the run has ended.
void Tick(int n) {
    for (int i = 0; i < n && host.stops == 0; ++i) {
        ++TickCount;
        ElectricFieldStep();
    }
}
// Coulomb's law for the layout on show: the field vector at (px, py), y up.
QPointF Coulomb(double px, double py) {
    QPointF e;
    for (int i = 0; i < 4; ++i) {
        if (ChargeX[i] <= 0) continue;
        const double dx = px - ChargeX[i], dy = ChargeY[i] - py, r2 = dx * dx + dy * dy;
        e += QPointF(dx, dy) * (ChargeQ[i] * 500000.0 / (r2 * std::sqrt(r2)));
    }
    return e;
}

// Every number in the state dump is finite.
bool DumpIsFinite() {
    QJsonObject dump;
    DescribeLab(dump);
    for (const QJsonValue& v : dump) {
        const QJsonArray a = v.isArray() ? v.toArray() : QJsonArray{v};
        for (const QJsonValue& x : a)
            if (x.isDouble() && !std::isfinite(x.toDouble())) return false;
        if (v.isNull()) return false;
    }
    return true;
}

}  // namespace

class ElectricFieldTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        InstallFontSubstitutes();
        SetHost(&host);
    }
    void init() {
        ResetProgramState();
        host = FakeHost{};
    }

    // Choosing the experiment works out tables for the grid and changes nothing a user or the
    // state dump can see: the kit's last results stay as they were. The tables and the grid go
    // into the canvas's cache; once it is forgotten, the grid is worked out again as it was.
    void choosingChangesNoState() {
        VectorAngleDeg = 123.5;
        QJsonObject before, after;
        DescribeLab(before);
        ElectricFieldChosen();
        DescribeLab(after);
        QCOMPARE(after, before);
        QVERIFY(Surface().cache().size() > 0);

        Setting(kFour, {3, -2, 4, -1});
        const QImage drawn = Surface().image().copy();
        Surface().cache().reset();
        QCOMPARE(Surface().cache().size(), std::size_t{0});
        Setting(kFour, {3, -2, 4, -1});
        QVERIFY(Surface().image() == drawn);
    }

    void layoutsAndThePrompt() {
        // The prompt becomes the two-charge layout with two unit charges, whatever the panel set.
        Setting(QStringLiteral("电荷分布"), {5, 5, 5, 5});
        QCOMPARE(host.layout, kTwo);
        QCOMPARE((std::array{ChargeQ[0], ChargeQ[1], ChargeQ[2], ChargeQ[3]}), (std::array{1, 1, 0, 0}));
        QCOMPARE(Pixel(250, 250), QRgb(0xFF0000));
        QCOMPARE(Pixel(450, 250), QRgb(0xFF0000));

        Setting(kThree, {2, -3, 0, 0});
        QCOMPARE(Pixel(350, 120), QRgb(0xFF0000));
        QCOMPARE(Pixel(200, 380), QRgb(0x0000FF));
        QCOMPARE(Pixel(500, 380), QRgb(0xC0C0C0));  // a charge of 0 is a silver dot
        QCOMPARE(ChargeX[3], 0.0);

        Setting(kFour, {1, 1, 1, 1});
        for (auto [x, y] : {std::pair{230, 130}, {230, 370}, {470, 370}, {470, 130}})
            QCOMPARE(Pixel(x, y), QRgb(0xFF0000));

        // An unknown layout places no charge, and charges it did not place add nothing to the grid.
        Setting(QStringLiteral("五个点电荷"), {1, 1, 1, 1});
        QCOMPARE(ChargeX, (std::array<double, 4>{}));
        QCOMPARE(CountColour(Surface().image(), 0xFFFFFF, Box(5, 5, 595, 478)), 590 * 473);
    }

    void fieldIsInverseSquareAndSuperposes() {
        // One charge of 2: doubling the distance quarters the strength; the field points away.
        Setting(kTwo, {2, 0});
        for (auto [x, y] : {std::pair{270, 250}, {290, 250}, {250, 230}, {250, 210}}) {
            ElectricFieldMouseDown(x, y);
            const double r = std::hypot(x - 250, y - 250);
            QCOMPARE(FieldMag[0], 2 * 500000 / (r * r));
            QCOMPARE(SumMag, FieldMag[0]);
        }
        QVERIFY(std::fabs(VectorAngleDeg - 90) < 1e-9);  // straight up from the charge

        // Equal charges cancel at their midpoint: no red arrow there. Make one stronger and the
        // resultant points away from it.
        Setting(kTwo);
        ElectricFieldMouseDown(350, 250);
        QVERIFY(SumMag < 0.001);
        QCOMPARE(CountColour(Surface().image(), 0xFF0000, Box(300, 230, 400, 270)), 0);
        Setting(kTwo, {1, 2});
        ElectricFieldMouseDown(350, 250);
        QVERIFY(CountColour(Surface().image(), 0xFF0000, Box(300, 240, 349, 260)) > 10);
        QCOMPARE(CountColour(Surface().image(), 0xFF0000, Box(352, 240, 400, 260)), 0);

        // A charge and its opposite: the field runs along the line joining them, from + to -.
        Setting(kTwo, {1, -1});
        for (auto [x, y] : {std::pair{300, 250}, {350, 150}, {350, 400}}) {
            ElectricFieldMouseDown(x, y);
            const QPointF e = Coulomb(x, y);
            QVERIFY(std::fabs(SumMag - std::hypot(e.x(), e.y())) < 1e-9 * SumMag);
            QVERIFY(std::fabs(std::remainder(VectorAngleDeg, 360.0)) < 1e-9);
        }

        // Any mixture: the resultant is Coulomb's vector sum.
        Setting(kFour, {3, -2, 4, -1});
        for (auto [x, y] : {std::pair{300, 280}, {20, 460}, {575, 15}, {471, 131}}) {
            ElectricFieldMouseDown(x, y);
            const QPointF e = Coulomb(x, y);
            QVERIFY(std::fabs(SumMag - std::hypot(e.x(), e.y())) < 1e-9 * SumMag);
            const double deg = std::atan2(e.y(), e.x()) * 180 / std::numbers::pi;
            QVERIFY(std::fabs(std::remainder(VectorAngleDeg - deg, 360.0)) < 1e-9);
        }
    }

    void gridColoursByStrength() {
        QCOMPARE(FieldStrengthColour(0), QRgb(qRgb(255, 255, 255)));  // white
        QCOMPARE(FieldStrengthColour(100), QRgb(qRgb(155, 255, 255)));
        QCOMPARE(FieldStrengthColour(255), QRgb(qRgb(0, 255, 255)));    // aqua
        QCOMPARE(FieldStrengthColour(2549.99), QRgb(qRgb(0, 255, 0)));  // green
        QCOMPARE(FieldStrengthColour(2550), QRgb(qRgb(0, 229, 0)));
        QCOMPARE(FieldStrengthColour(25500), QRgb(qRgb(0, 0, 0)));  // black
        QCOMPARE(FieldStrengthColour(1e300), QRgb(qRgb(0, 0, 0)));

        // On the surface: the grid point (256, 256) lies sqrt(72) px from a charge at (250, 250),
        // where a unit charge gives 500000 / 72 = 6944.4, green (0, 185, 0), and a charge of 10
        // black. The arrow is centred on the grid point.
        for (auto [q, colour] : {std::pair{1, qRgb(0, 185, 0)}, {10, qRgb(0, 0, 0)}}) {
            Setting(kTwo, {q, 0});
            int n = 0, sx = 0, sy = 0;
            for (int y = 249; y < 264; ++y)
                for (int x = 253; x < 264; ++x)
                    if (Pixel(x, y) == (colour & 0xFFFFFF)) ++n, sx += x, sy += y;
            QVERIFY(n >= 10);
            QVERIFY(std::abs(sx / n - 256) <= 2 && std::abs(sy / n - 256) <= 2);
        }
        // All charges 0: a white grid.
        Setting(kFour, {0, 0, 0, 0});
        QCOMPARE(CountColour(Surface().image(), 0xFFFFFF, Box(5, 5, 225, 125)), 220 * 120);

        // The grid is painted at set-up and on tick 1 only.
        Setting(kTwo);
        ElectricFieldMouseDown(300, 300);
        ElectricFieldMouseDown(615, 40);
        Start();
        Tick(1);
        ClearArea(0, 420, 700, 470);
        Tick(1);
        QCOMPARE(CountColour(Surface().image(), 0xFFFFFF, Box(5, 421, 695, 468)), 690 * 47);
    }

    void testPointAndSignButtons() {
        // A point on a charge moves one pixel up and left: squared distance 2, strength |Q| 500000 / 2.
        Setting(kFour, {3, -2, 4, -1});
        for (int i = 0; i < 4; ++i) {
            ElectricFieldMouseDown(int(ChargeX[i]), int(ChargeY[i]));
            QCOMPARE(TestX, ChargeX[i] - 1);
            QCOMPARE(TestY, ChargeY[i] - 1);
            QCOMPARE(DistSq[i], 2.0);
            QCOMPARE(FieldMag[i], std::abs(ChargeQ[i]) * 250000.0);
            QVERIFY(DumpIsFinite());
        }

        // Sign buttons take no press before a test point exists.
        Setting(kTwo);
        const QImage before = Surface().image();
        ElectricFieldMouseDown(615, 40);
        ElectricFieldMouseDown(615, 80);
        QCOMPARE(TestSign, 0);
        QVERIFY(!host.startEnabled);
        QVERIFY(Surface().image() == before);

        // Corners and edges: the button box (x > 580, y < 120) takes only its buttons.
        struct Case {
            int x, y;
            bool testPoint;
        };
        for (const Case c : {Case{0, 0, true},
                             {699, 547, true},
                             {0, 547, true},
                             {699, 0, false},
                             {580, 0, true},
                             {581, 119, false},
                             {581, 120, true}}) {
            Setting(kTwo);
            ElectricFieldMouseDown(c.x, c.y);
            QCOMPARE(TestPlaced, c.testPoint);
            QVERIFY(DumpIsFinite());
        }

        // Button bounds, and the press that chooses a sign also moves the charge one step from the
        // stored velocity; a second press moves it on. The first tick starts again from rest.
        Setting(kTwo, {1, -1});
        ElectricFieldMouseDown(300, 250);  // the field here points right, 500000/2500 + 500000/22500
        const double e0 = 200 + 500000.0 / 22500;
        for (auto [x, y, sign] : {std::tuple{608, 40, 0}, {615, 47, 0}, {621, 74, -1}, {609, 34, 1}}) {
            TestX = 300;
            BodyVX[0] = 0;
            ElectricFieldMouseDown(x, y);
            QCOMPARE(TestSign, sign);
        }
        QVERIFY(host.startEnabled);
        QVERIFY(std::fabs(TestX - (300 + 0.5 * e0 * 1e-4)) < 1e-9);
        const double v = BodyVX[0];
        ElectricFieldMouseDown(615, 40);
        QVERIFY(TestX > 300 + v * 0.01);
        Start();
        const double x0 = TestX;
        Tick(1);
        QVERIFY(std::fabs(TestX - x0 - 0.5 * Coulomb(x0, 250).x() * 1e-4) < 1e-6);

        // Hand cursor over the buttons; default elsewhere and on release.
        MouseMoveActive = 1;
        for (auto [x, y, hand] :
             {std::tuple{609, 34, true}, {621, 86, true}, {608, 40, false}, {615, 60, false}}) {
            ElectricFieldMouseMove(x, y);
            QCOMPARE(host.cursor == SurfaceCursor::Hand, hand);
        }
        ElectricFieldMouseMove(615, 80);
        ElectricFieldMouseUp(615, 80);
        QCOMPARE(host.cursor, SurfaceCursor::Default);
        // While it runs the surface takes no press.
        MouseClickActive = 0;
        ElectricFieldMouseDown(100, 100);
        QVERIFY(TestX != 100);
    }

    void flightFollowsTheField() {
        // Released 100 px above a unit charge, a positive test charge flies straight up, a negative
        // one falls towards it. Energy 1/2 v^2 + sign Q 500000 / r is kept within the integrator's
        // 0.5 %.
        for (int sign : {1, -1}) {
            Setting(kTwo, {1, 0});
            ElectricFieldMouseDown(250, 150);
            ElectricFieldMouseDown(615, sign > 0 ? 40 : 80);
            Start();
            const double e0 = sign * 500000.0 / 100;
            Tick(sign > 0 ? 200 : 60);
            QVERIFY(sign > 0 ? TestY < 80 : TestY > 155);
            QVERIFY(std::fabs(TestX - 250) < 1e-6);
            const double r = std::hypot(TestX - 250, TestY - 250);
            const double e = 0.5 * (BodyVX[0] * BodyVX[0] + BodyVY[0] * BodyVY[0]) + sign * 500000.0 / r;
            QVERIFY2(std::fabs(e - e0) < 0.005 * std::fabs(e0), qPrintable(QString::number(e)));
            // The trail: an earlier place of the red or blue charge turned pale under silver.
            const QRgb pale = sign > 0 ? 0xFFC0C0 : 0xC0C0FF;
            QVERIFY(CountColour(Surface().image(), pale,
                                Box(240, sign > 0 ? 80 : 145, 261, sign > 0 ? 150 : 165)) > 20);
        }
    }

    void runsEnd() {
        // Thrown out by a charge of 10 a pixel away with two presses on the sign before Start: far
        // outside the box from the first tick, stopped at tick 6.
        Setting(kTwo, {10, 0});
        ElectricFieldMouseDown(251, 250);
        ElectricFieldMouseDown(615, 40);
        ElectricFieldMouseDown(615, 40);
        Start();
        Tick(5);
        QCOMPARE(host.stops, 0);
        QVERIFY(TestX > 750);
        Tick(100);
        QCOMPARE(TickCount, 6);
        QVERIFY(host.stops > 0);

        // All charges 0: nothing moves and the run ends after tick 6880.
        host.stops = 0;
        Setting(kThree, {0, 0, 0, 0});
        ElectricFieldMouseDown(100, 100);
        ElectricFieldMouseDown(615, 80);
        Start();
        Tick(7000);
        QCOMPARE(TickCount, 6881);
        QCOMPARE(TestX, 100.0);

        // Started a hair from a charge of the opposite sign: attracted, slung out, ended.
        host.stops = 0;
        Setting(kTwo, {10, -10});
        ElectricFieldMouseDown(251, 251);
        ElectricFieldMouseDown(615, 80);
        Start();
        for (int t = 0; t < 6881 && host.stops == 0; ++t) {
            Tick(1);
            QVERIFY(DumpIsFinite());
        }
        QVERIFY(host.stops > 0);

        // Reaching a charge (rounded squared distance 0) ends the run there, with finite values.
        host.stops = 0;
        Setting(kTwo, {1, -1});
        ElectricFieldMouseDown(300, 300);
        ElectricFieldMouseDown(615, 40);
        TestX = 450.01, TestY = 250.01;
        Start();
        Tick(1);
        QCOMPARE(host.stops, 1);
        QCOMPARE(TickCount, 1);
        QCOMPARE(TestX, 450.01);
        QCOMPARE(Pixel(450, 250), QRgb(0xFF0000));  // the test charge stays drawn where it stopped
        QVERIFY(DumpIsFinite());
    }
};

QTEST_MAIN(ElectricFieldTest)
#include "electric_field_test.moc"
