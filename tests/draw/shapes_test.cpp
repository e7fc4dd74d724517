// Primitive shapes, text, and the geometry and motion helpers.

#include "draw/shapes.h"

#include <QtTest>

#include <cmath>
#include <limits>
#include <vector>

#include "draw/figures.h"
#include "draw/numeric.h"
#include "draw/style.h"
#include "kit_test_support.h"
#include "pictures.h"

using namespace vlab;
using namespace vlab::test;

class ShapesTest : public QObject {
    Q_OBJECT
private slots:
    void init() { StartClean(); }

    void rayLengthThreshold() {
        RayEndX = 11;
        RayEndY = 22;
        DrawRay(0.001, 0, 100, 100, 0, 0, 5, 1, 0, 0, 5, 5);
        QCOMPARE(RayEndX, 11.0);
        QCOMPARE(RayEndY, 22.0);
        DrawRay(std::nan(""), 0, 100, 100, 0, 0, 5, 1, 0, 0, 5, 5);
        QCOMPARE(RayEndX, 11.0);
        DrawRay(0.0011, 0, 100, 100, 0, 0, 5, 1, 0, 0, 5, 5);
        QCOMPARE(RayEndX, 100.0011);
        QCOMPARE(RayEndY, 100.0);
    }

    void rayEndsExactlyWhereTheAngleSays() {
        DrawRay(620, 270, 0, 0, 0, 0, 5, 1, 0, 0, 5, 5);
        QCOMPARE(RayEndX, 0.0);
        QCOMPARE(RayEndY, 620.0);
        DrawRay(100, 90, 50, 200, 0, 0, 5, 1, 0, 0, 5, 5);
        QCOMPARE(RayEndX, 50.0);
        QCOMPARE(RayEndY, 100.0);
        // The line is drawn from the start, leaving out its last pixel.
        QCOMPARE(Pixel(50, 200), 0x000000u);
        QCOMPARE(Pixel(50, 101), 0x000000u);
        QCOMPARE(Pixel(50, 100), 0xFFFFFFu);
    }

    // Many rays at once must end where DrawRay ends each one, to the last bit, and leave the
    // shared end point alone.
    void rayEndsOfManyRaysAsDrawRayFindsThem() {
        QRandomGenerator random(71);
        constexpr std::size_t n = 1000;
        std::vector<double> angles(n), x(n), y(n), endX(n, -1), endY(n, -1);
        for (std::size_t i = 0; i < n; ++i) {
            angles[i] = i % 10 == 0 ? 90.0 * static_cast<double>(i % 4) : random.generateDouble() * 720 - 180;
            x[i] = std::floor(random.generateDouble() * 700);
            y[i] = random.generateDouble() * 548;
        }
        RayEndX = RayEndY = 7;
        for (const double length : {6.0, 12.5, 620.0}) {
            QVERIFY(RayEnds(length, n, angles.data(), x.data(), y.data(), endX.data(), endY.data()));
            QCOMPARE(RayEndX, 7.0);
            for (std::size_t i = 0; i < n; ++i) {
                DrawRay(length, angles[i], x[i], y[i], 0, 3, 5, 1, 1, 0, 5, 5);  // end kind 1: no pixel
                // Bit for bit: QCOMPARE would let doubles a few units of the last place apart pass.
                QVERIFY(endX[i] == RayEndX && endY[i] == RayEndY);
                RayEndX = RayEndY = 7;
            }
        }
        // No ray of that length: nothing written.
        const std::vector<double> before = endX;
        QVERIFY(!RayEnds(0.001, n, angles.data(), x.data(), y.data(), endX.data(), endY.data()));
        QCOMPARE(endX, before);
    }

    void rayEndKinds() {
        // 1: a ball only; the end point is still computed.
        DrawRay(100, 0, 100, 100, 0, 0, 5, 1, 1, 10, 5, 0);
        QCOMPARE(Pixel(150, 100), 0xFFFFFFu);
        QCOMPARE(Pixel(200, 100), 0xFF0000u);
        QCOMPARE(RayEndX, 200.0);
        // 1 with size 0 draws nothing at all.
        const QImage before = Surface().image().copy();
        DrawRay(100, 45, 300, 300, 0, 0, 5, 1, 1, 0, 5, 5);
        QCOMPARE(Surface().image(), before);
        // 2: line and ball.
        DrawRay(100, 0, 100, 300, 0, 0, 5, 1, 2, 10, 5, 2);
        QCOMPARE(Pixel(150, 300), 0x000000u);
        QCOMPARE(Pixel(200, 300), 0x0000FFu);
        // 3: line and a square box hanging below the end.
        DrawRay(100, 0, 100, 400, 0, 0, 5, 1, 3, 20, 5, 10);
        QCOMPARE(Pixel(200, 410), 0x008000u);
        QCOMPARE(Pixel(200, 395), 0xFFFFFFu);
    }

    void tiltedBlockAtNinetyHangsDown() {
        DrawTiltedBlock(100, 100, 90, 50, 30, 2);
        QCOMPARE(Pixel(110, 130), 0x0000FFu);  // below (x, y): length runs downwards
        QCOMPARE(Pixel(110, 90), 0xFFFFFFu);
        StartClean();
        DrawTiltedBlock(100, 100, 89.9, 50, 30, 2);
        QCOMPARE(Pixel(85, 75), 0x0000FFu);  // stands on the upper side of its base, which runs up
        QCOMPARE(Pixel(115, 75), 0xFFFFFFu);
        QCOMPARE(Pixel(110, 110), 0xFFFFFFu);
        StartClean();
        DrawTiltedBlock(100, 100, 90.1, 50, 30, 2);
        QCOMPARE(Pixel(115, 75), 0x0000FFu);
        QCOMPARE(Pixel(85, 75), 0xFFFFFFu);
        QCOMPARE(Pixel(110, 110), 0xFFFFFFu);
        StartClean();
        DrawTiltedBlock(100, 100, 30, 100, 20, 0);
        // Base from (100, 100) towards (186.6, 50); the block stands above it.
        QCOMPARE(Pixel(140, 70), 0xFF0000u);
        QCOMPARE(Pixel(140, 90), 0xFFFFFFu);
    }

    void tiltedBlockOutsideItsAnglesDrawsNothing() {
        const QImage blank = Surface().image().copy();
        for (double a : {0.0, 180.0, -30.0, 200.0, 360.0, std::nan("")}) {
            DrawTiltedBlock(100, 100, a, 50, 30, 2);
            DrawTiltedPanel(100, 100, a, 50, 30, 2, 1);
            DrawTiltedPanel2(100, 100, a, 50, 30, 2, 5, 0);
        }
        QCOMPARE(Surface().image(), blank);
    }

    void hatchesLeaveTheBackgroundBetweenTheirLines() {
        DrawRect(0, 0, 400, 300, 0, 1, 0, 0, 0, 0);  // red ground
        for (int style : {1, 3, 4, 5, 6, 7}) {
            DrawTiltedPanel(20 + (style - 1) * 45, 20, 90, 40, 40, 2, style);
            const QRect inside(25 + (style - 1) * 45, 25, 30, 30);
            QVERIFY2(CountColour(Surface().image(), 0xFF0000, inside) > 100,
                     qPrintable(QString("style %1").arg(style)));
            QVERIFY2(CountColour(Surface().image(), 0x0000FF, inside) > 20,
                     qPrintable(QString("style %1").arg(style)));
        }
    }

    void xorDrawnTwiceLeavesTheSurface() {
        DrawTiltedPanel(0, 0, 90, 548, 350, 16, 0);
        const QImage before = Surface().image().copy();
        for (int i = 0; i < 2; ++i) {
            DrawRay(200, 30, 10, 300, 0, 1, 2, 1, 0, 0, 5, 5);
            DrawArc(300, 300, 0, 359, 80, 0, 1, 0, 1);
            DrawArrow(120, 200, 600, 200, 1, 4, 2, 1, 1);
            DrawRay(150, 120, 500, 400, 0, 1, 10, 3, 0, 0, 5, 5);
        }
        QCOMPARE(Surface().image(), before);
    }

    void zigzag() {
        DrawZigzag(100, 100, 1, 40, 20, 1, 1, 5);
        QCOMPARE(Pixel(100, 100), 0x000000u);
        QCOMPARE(Pixel(129, 100), 0x000000u);
        QCOMPARE(Pixel(130, 100), 0xFFFFFFu);  // ends 10 short of x + step, last pixel left out
        QCOMPARE(CountOther(Surface().image(), 0xFFFFFF, QRect(0, 0, 700, 548)), 30);
        StartClean();
        DrawZigzag(100, 100, 4, 20, 10, 1, 1, 5);
        QCOMPARE(Pixel(115, 90), 0x000000u);   // first vertex: odd, above
        QCOMPARE(Pixel(135, 110), 0x000000u);  // second: even, below
        StartClean();
        DrawZigzag(100, 100, 3, 20, 10, 2, 1, 5);  // along y
        QCOMPARE(Pixel(90, 115), 0x000000u);
        StartClean();
        DrawZigzag(100, 100, 3, 20, 10, 7, 1, 5);  // unknown direction: only the pen moves
        QCOMPARE(CountOther(Surface().image(), 0xFFFFFF, QRect(0, 0, 700, 548)), 0);
        QCOMPARE(Surface().penPosition(), QPointF(100, 100));
    }

    void arcs() {
        DrawArc(300, 300, 0, 90, 50, 5, 1, 0, 0);
        QCOMPARE(Pixel(350, 300), 0x000000u);
        QCOMPARE(Pixel(335, 265), 0x000000u);  // 45 degrees: (35.36, 35.36) rounded
        QCOMPARE(Pixel(250, 300), 0xFFFFFFu);  // counter-clockwise from 0 to 90 only
        StartClean();
        DrawArc(300, 300, 0, 90, 0, 5, 1, 0, 0);  // 91 lines of no length set no pixel
        QCOMPARE(CountOther(Surface().image(), 0xFFFFFF, QRect(0, 0, 700, 548)), 0);
        DrawArc(300, 300, 90, 0, 40, 5, 1, 0, 0);  // end before start
        QCOMPARE(CountOther(Surface().image(), 0xFFFFFF, QRect(0, 0, 700, 548)), 0);
        DrawArc(300, 300, 0, 1e300, 40, 5, 1, 0, 0);  // returns: the angle range is bounded
        DrawArc(300, 300, 0, std::numeric_limits<double>::infinity(), 40, 5, 1, 0, 0);
        QVERIFY(CountOther(Surface().image(), 0xFFFFFF, QRect(250, 250, 100, 100)) > 100);
    }

    void clearAreaRedrawsTheBorders() {
        DrawRect(0, 0, 700, 548, 5, 1, 0, 0, 0, 5);
        ClearArea(0, 0, 700, 550);
        QCOMPARE(Pixel(350, 1), 0xE7D1D1u);
        QCOMPARE(Pixel(1, 300), 0xE7D1D1u);
        QCOMPARE(Pixel(10, 10), 0xFFFFFFu);
        QCOMPARE(Pixel(699, 547), 0xFFFFFFu);
        DrawRect(0, 0, 700, 548, 5, 1, 0, 0, 0, 5);
        ClearArea(0, 200, 700, 200);  // erases nothing, only the borders come back
        QCOMPARE(Pixel(350, 300), 0x000000u);
        QCOMPARE(Pixel(350, 1), 0xE7D1D1u);
    }

    void vectorAngleInEveryCase() {
        const struct {
            double x, y, deg;
        } cases[] = {
            {1, 1, 45},   {-1, 1, 135}, {-1, -1, 225}, {1, -1, 315}, {0, 3, 90},
            {0, -2, 270}, {0, 0, 0},    {5, 0, 0},     {-1, 0, 180},
        };
        for (const auto& c : cases) {
            VectorAngleDeg = -1;
            VectorAngle(c.x, c.y);
            QVERIFY2(std::fabs(VectorAngleDeg - c.deg) < 1e-12,
                     qPrintable(QString("%1, %2").arg(c.x).arg(c.y)));
        }
        VectorAngle(std::nan(""), 1);
        QCOMPARE(VectorAngleDeg, 0.0);
    }

    void sumOfFourVectors() {
        SumVectors4(0, 10, 0, 20, 0, 30, 0, 40);
        QCOMPARE(SumMag, 0.0);
        QCOMPARE(VectorAngleDeg, 0.0);
        SumVectors4(1, 0, 1, 90, 0, 0, 0, 0);
        QVERIFY(std::fabs(SumMag - std::sqrt(2.0)) < 1e-12);
        QVERIFY(std::fabs(VectorAngleDeg - 45) < 1e-9);
        // Opposite forces cancel: the residue below 1e-8 counts as no resultant.
        VectorAngleDeg = 99;
        SumVectors4(5, 30, 5, 210, 0, 0, 0, 0);
        QCOMPARE(VectorAngleDeg, 0.0);
        SumVectors4(3, 180, 4, 270, 0, 0, 0, 0);
        QVERIFY(std::fabs(SumMag - 5) < 1e-12);
        QVERIFY(VectorAngleDeg > 180 && VectorAngleDeg < 270);
    }

    void constantAccelerationStep() {
        // Ten steps of dt from rest under constant acceleration reach x = a t^2 / 2 and v = a t.
        const double a = 9.8, dt = 0.1;
        double vx = 0, x = 0;
        for (int i = 0; i < 10; ++i) {
            AdvanceBody(vx, 2, a, 0, x, 5, dt, 2);
            vx = BodyVX[2];
            x = BodyX[2];
        }
        QVERIFY(std::fabs(x - 0.5 * a * 1.0 * 1.0) < 1e-12);
        QVERIFY(std::fabs(vx - a * 1.0) < 1e-12);
        QCOMPARE(BodyVY[2], 2.0);
        QVERIFY(std::fabs(BodyY[2] - (5 + 2 * dt)) < 1e-12);
        QCOMPARE(BodyX[0], 0.0);              // other slots untouched
        AdvanceBody(1, 1, 1, 1, 1, 1, 1, 4);  // no fifth body: nothing happens
        AdvanceBody(1, 1, 1, 1, 1, 1, 1, -1);
        QCOMPARE(BodyX[3], 0.0);
    }

    // Coordinates of NaN or 1e300 never reach an int conversion; nothing wrong is drawn.
    void hugeAndNanCoordinates() {
        const QImage blank = Surface().image().copy();
        const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
        DrawRect(nan, 0, 100, 100, 5, 1, 0, 0, 0, 5);
        DrawEllipse(100, nan, 20, 20, 5, 1, 0, 0, 0, 5);
        DrawTiltedBlock(nan, 100, 45, 50, 50, 5);
        DrawTiltedBlock(100, 100, 45, inf, 50, 5);
        DrawLabel(nan, 10, 12, 5, 0, "x");
        DrawLabel(1e300, 10, 12, 5, 0, "x");
        DrawRay(1e300, 0, 1e300, 0, 0, 0, 5, 1, 0, 0, 5, 5);  // entirely far off to the right
        DrawZigzag(nan, 100, 5, 10, 10, 1, 1, 5);
        DrawArc(nan, 100, 0, 90, 50, 5, 1, 0, 0);
        QCOMPARE(Surface().image(), blank);

        // A ray of huge length still shows its visible part, along the right direction.
        DrawRay(1e300, 0, 10, 100, 0, 0, 5, 1, 0, 0, 5, 5);
        QCOMPARE(Pixel(10, 100), 0x000000u);
        QCOMPARE(Pixel(699, 100), 0x000000u);
        QCOMPARE(CountOther(Surface().image(), 0xFFFFFF, QRect(0, 0, 700, 548)), 690);
        // Coming in from far away keeps the direction too.
        StartClean();
        SetDrawStyle(5, 1, 0, 0, 2, 12);
        Surface().moveTo(10 - 1e300, 100 - 1e300);
        Surface().lineTo(110, 200);
        QCOMPARE(Pixel(60, 150), 0x000000u);
        QCOMPARE(Pixel(0, 90), 0x000000u);
        QCOMPARE(Pixel(109, 199), 0x000000u);
        QCOMPARE(Pixel(110, 200), 0xFFFFFFu);
        QCOMPARE(CountOther(Surface().image(), 0xFFFFFF, QRect(0, 0, 700, 548)), 110);
        // A rectangle reaching far beyond the surface fills what is visible of it.
        DrawRect(-1e300, 200, 1e300, 1e300, 2, 1, 0, 0, 0, 2);
        QCOMPARE(Pixel(0, 300), 0x0000FFu);
        QCOMPARE(Pixel(699, 547), 0x0000FFu);
        QCOMPARE(Pixel(350, 150), 0xFFFFFFu);
        // A polygon with one corner far away is clipped, not distorted.
        StartClean();
        DrawTiltedBlock(100, 100, 45, 1e300, 20, 0);
        QCOMPARE(Pixel(150, 40), 0xFF0000u);
        QCOMPARE(Pixel(100, 10), 0xFFFFFFu);
        QCOMPARE(Pixel(150, 60), 0xFFFFFFu);
    }
};

QTEST_MAIN(ShapesTest)
#include "shapes_test.moc"
