// Arrows, springs, pulley wheels, wedges and wavefronts, and a sheet of every figure of the kit.

#include "draw/figures.h"

#include <QtTest>

#include <cmath>
#include <vector>

#include "draw/numeric.h"
#include "draw/shapes.h"
#include "draw/style.h"
#include "kit_test_support.h"
#include "pictures.h"

using namespace vlab;
using namespace vlab::test;

namespace {
std::array<double, 6> HeadPoints(double c1x, double tx, double c2x, double c1y, double ty, double c2y) {
    return {c1x, tx, c2x, c1y, ty, c2y};
}
}  // namespace

class FiguresTest : public QObject {
    Q_OBJECT
private slots:
    void init() { StartClean(); }

    // A batch of arrows must set what drawing them one by one sets, for every head kind, in
    // plain and raster pens, for arrows crossing the surface's edge or far outside it, and must
    // leave the last arrow's head points and colour.
    void arrowsInABatchAsOneByOne() {
        QRandomGenerator random(73);
        std::vector<ArrowAt> arrows;
        for (int i = 0; i < 400; ++i) {
            const double spread = i % 50 == 0 ? 1e6 : 760;  // now and then far outside the clip box
            arrows.push_back({random.generateDouble() * spread - 30, random.generateDouble() * spread - 30,
                              random.bounded(-90, 450), qRgb(random.bounded(256), random.bounded(256), 0)});
        }
        struct Case {
            double length;
            int headKind, penMode, penStyle;
        };
        for (const Case& c :
             {Case{12, 3, 0, 0}, Case{40, 2, 0, 0}, Case{7.5, 3, 0, 0}, Case{30, 1, 0, 0}, Case{25, 3, 1, 0},
              Case{25, 2, 0, 2}, Case{25, 3, 3, 0}, Case{25, 3, 0, 5}, Case{0.0005, 3, 0, 0}}) {
            ResetDrawKit();
            for (const ArrowAt& a : arrows) {
                Surface().setPenColour(QColor(a.colour));
                DrawLabelledArrow(c.length, a.angle, a.x, a.y, c.penMode, c.penStyle, 100, 1, 1, c.headKind,
                                  14, QString());
            }
            const QImage oneByOne = Surface().image().copy();
            const std::array<double, 6> head = ArrowHeadPts;
            ResetDrawKit();
            DrawArrows(c.length, c.headKind, c.penMode, c.penStyle, arrows);
            const QString which = QStringLiteral("length %1, head %2, mode %3, style %4")
                                      .arg(c.length)
                                      .arg(c.headKind)
                                      .arg(c.penMode)
                                      .arg(c.penStyle);
            QVERIFY2(Surface().image() == oneByOne, qPrintable(which));
            QVERIFY2(ArrowHeadPts == head, qPrintable(which));
            if (c.length > 1)
                QVERIFY2(Surface().penColour() == QColor(arrows.back().colour), qPrintable(which));
        }
    }

    void arrowHeadSizesBelowAndAboveTen() {
        DrawArrow(8, 0, 100, 100, 0, 5, 1, 1, 1);
        QCOMPARE(ArrowHeadPts, HeadPoints(0, 8, 0, 4, 0, -4));  // 8 long, trunc(4.8) wide, no shaft
        QCOMPARE(Pixel(100, 100), 0x000000u);                   // the head's back corner sits on the tail
        DrawArrow(50, 0, 100, 200, 0, 5, 1, 1, 1);
        QCOMPARE(ArrowHeadPts, HeadPoints(40, 50, 40, 6, 0, -6));
        DrawArrow(50, 0, 100, 300, 0, 5, 1, 1, 2);
        QCOMPARE(ArrowHeadPts, HeadPoints(40, 50, 40, 3, 0, -3));
        DrawArrow(50, 0, 100, 400, 0, 5, 1, 1, 3);
        QCOMPARE(ArrowHeadPts, HeadPoints(45, 50, 45, 3, 0, -3));
        DrawArrow(5, 0, 100, 450, 0, 5, 1, 1, 3);  // kind 3 keeps its size on short arrows
        QCOMPARE(ArrowHeadPts, HeadPoints(0, 5, 0, 3, 0, -3));
        DrawArrow(9.99, 0, 100, 500, 0, 5, 1, 1, 2);
        QCOMPARE(ArrowHeadPts[0], RoundTo(0.99, 12));
        QCOMPARE(ArrowHeadPts[3], 2.0);  // trunc(2.997)
        // Pointing up: the offsets are y-up, cosine residues cleaned.
        DrawArrow(50, 90, 300, 300, 0, 5, 1, 1, 1);
        QCOMPARE(ArrowHeadPts, HeadPoints(-6, 0, 6, 40, 50, 40));
        QCOMPARE(Pixel(300, 299), 0x000000u);  // shaft goes up from the tail
        QCOMPARE(Pixel(300, 255), 0xFFFFFFu);  // filled white inside the closed head
        QCOMPARE(Pixel(300, 251), 0x000000u);
    }

    void tooShortArrowsDrawNothingAndKeepTheirPoints() {
        DrawSpring(10, 100, 30, 0, 0, 1, 0);
        const QImage before = Surface().image().copy();
        const auto head = ArrowHeadPts;
        DrawArrow(0, 0, 300, 300, 0, 5, 1, 1, 1);
        DrawArrow(0.001, 45, 300, 300, 0, 5, 1, 1, 2);
        DrawArrow(std::nan(""), 45, 300, 300, 0, 5, 1, 1, 2);
        DrawArrow(50, 45, 300, 300, 0, 5, 1, 1, 7);  // no such head
        QCOMPARE(ArrowHeadPts, head);
        QCOMPARE(SpringEndX, 314.0);
        QCOMPARE(SpringEndY, 100.0);
        QCOMPARE(Surface().image(), before);
    }

    void springEnds() {
        DrawSpring(10, 100, 30, 0, 0, 1, 0);
        QCOMPARE(SpringEndX, 314.0);
        QCOMPARE(SpringEndY, 100.0);
        QCOMPARE(Pixel(22, 120), 0xFF0000u);  // first zigzag point, 20 below the axis
        QCOMPARE(Pixel(12, 90), 0xFF0000u);   // the fixed end goes up first
        DrawSpring(10, 100, 30, 3, 0, 1, 0);
        QCOMPARE(SpringEndX, 404.0);
        DrawSpring(0, 50, 5, 0, 0, 1, 0);
        QCOMPARE(SpringEndX, 54.0);
        DrawSpring(0, 50, 1e300, 0, 0, 1, 0);  // absurd coil counts are bounded and still end
        QVERIFY(std::isfinite(SpringEndX));
        // An arrow drawn afterwards overwrites the spring's end: they share storage.
        DrawArrow(50, 0, 0, 0, 0, 5, 1, 1, 1);
        QCOMPARE(SpringEndX, 40.0);
        QCOMPARE(SpringEndY, 6.0);
        QCOMPARE(&SpringEndX, &ArrowHeadPts[0]);
        QCOMPARE(&SpringEndY, &ArrowHeadPts[3]);
    }

    void labelPlacement() {
        // No arrow: the caption sits as if the shaft ended at the tail, 5 below it when pointing right.
        DrawLabelledArrow(0, 0, 100, 100, 0, 0, 5, 1, 1, 1, 12, "F");
        QVERIFY(CountOther(Surface().image(), 0xFFFFFF, QRect(100, 105, 16, 16)) > 5);
        QCOMPARE(CountOther(Surface().image(), 0xFFFFFF, QRect(90, 80, 40, 24)), 0);
        // Pointing up, the caption is 25 right of and 10 above the shaft end (1 short of the tip).
        DrawLabelledArrow(100, 90, 300, 300, 0, 0, 5, 1, 1, 2, 12, "E");
        QVERIFY(CountOther(Surface().image(), 0xFFFFFF, QRect(325, 191, 16, 16)) > 5);
        QCOMPARE(CountOther(Surface().image(), 0xFFFFFF, QRect(305, 180, 19, 40)), 0);
        QCOMPARE(Surface().penMode(), PenMode::Xor);
        // Pointing left, 15 above the shaft end.
        DrawLabelledArrow(100, 180, 600, 450, 0, 0, 5, 1, 1, 2, 12, "F");
        QVERIFY(CountOther(Surface().image(), 0xFFFFFF, QRect(501, 435, 16, 14)) > 5);
    }

    void labelledArrowUnderXorErasesItsShape() {
        DrawTiltedPanel(0, 0, 90, 548, 700, 16, 0);
        const QImage before = Surface().image().copy();
        DrawLabelledArrow(120, 30, 200, 300, 1, 0, 2, 2, 1, 1, 12, "");
        DrawLabelledArrow(120, 30, 200, 300, 1, 0, 2, 2, 1, 1, 12, "");
        QCOMPARE(Surface().image(), before);
    }

    void pulleyWheel() {
        DrawPulleyWheel(200, 200, 20, 50, 60, 70, 0, 3, 1);
        QCOMPARE(Pixel(193, 193), 0xD8E4F8u);  // pale blue disc
        QCOMPARE(Pixel(180, 200), 0x000000u);  // rim
        QCOMPARE(Pixel(180, 160), 0x000000u);  // left rope up
        QCOMPARE(Pixel(219, 250), 0x000000u);  // right rope down
        QCOMPARE(Pixel(200, 240), 0x000000u);  // hanger arrow down
        QCOMPARE(Pixel(219, 150), 0xFFFFFFu);
    }

    void wedge() {
        DrawWedge(300, 300, 90, 0, 50, 80, 5, 0, 0, 2);
        QCOMPARE(Pixel(310, 290), 0x0000FFu);
        QCOMPARE(Pixel(310, 310), 0xFFFFFFu);
        QCOMPARE(RayEndX, 300.0);  // the second ray computed is the one at angle2
        QCOMPARE(RayEndY, 250.0);
    }

    void wavefrontCountsAndCaps() {
        DrawCircularWavefronts(100, 200, 3, 0, 0, 1, 5, 1, 0, 2);
        QCOMPARE(KitSlots[2], 0);
        // One half-circle of radius 1.
        QVERIFY(CountOther(Surface().image(), 0xFFFFFF, QRect(99, 197, 4, 6)) > 0);
        QCOMPARE(CountOther(Surface().image(), 0xFFFFFF, QRect(103, 190, 20, 20)), 0);

        DrawCircularWavefronts(100, 200, 3, 0, 0, 1, 5, 1, 1e6, 3);
        QCOMPARE(KitSlots[3], 30);
        DrawCircularWavefronts(100, 200, 3, 0, 0, 1, 5, 1, -1e6, 4);
        QCOMPARE(KitSlots[4], 30);
        DrawCircularWavefronts(100, 200, 3, 0, 0, 1, 5, 1, std::nan(""), 5);
        QCOMPARE(KitSlots[5], 0);
        DrawPlaneWavefronts(100, 200, 3, 0, 0, 1, 5, 0, 1e6, 6);
        QCOMPARE(KitSlots[6], 20);
        DrawPlaneWavefronts(100, 200, 3, 0, 0, 1, 5, 0, 1e300, 7);
        QCOMPARE(KitSlots[7], 20);

        // Slots 0 and 1 store the count but draw nothing; slots beyond the array do nothing.
        StartClean();
        DrawCircularWavefronts(100, 200, 3, 0, 0, 1, 5, 1, 30, 1);
        DrawPlaneWavefronts(100, 200, 3, 0, 0, 1, 5, 0, 30, 0);
        QCOMPARE(KitSlots[1], 10);
        QCOMPARE(KitSlots[0], 10);
        DrawCircularWavefronts(100, 200, 3, 0, 0, 1, 5, 1, 30, 18);
        DrawPlaneWavefronts(100, 200, 3, 0, 0, 1, 5, 0, 30, -1);
        QCOMPARE(CountOther(Surface().image(), 0xFFFFFF, QRect(0, 0, 700, 548)), 0);

        // A plane wave that has travelled 1 pixel or less draws nothing and keeps the slot.
        KitSlots[8] = 77;
        DrawPlaneWavefronts(100, 200, 3, 0, 0, 1, 5, 0, 1, 8);
        QCOMPARE(KitSlots[8], 77);
        QCOMPARE(CountOther(Surface().image(), 0xFFFFFF, QRect(0, 0, 700, 548)), 0);
    }

    void wavefrontPlaces() {
        // travelled 9, spacing 3: fronts of radius 1, 4, 7 and 10 around the source.
        DrawCircularWavefronts(100, 200, 3, 0, 0, 1, 5, 1, 9, 2);
        QCOMPARE(KitSlots[2], 3);
        QCOMPARE(Pixel(110, 200), 0x000000u);
        QCOMPARE(Pixel(100, 210), 0x000000u);
        QCOMPARE(Pixel(90, 200), 0xFFFFFFu);  // right half-circles only
        // Plane fronts at x + (i * spacing + u) with u = (travelled + 1) mod spacing.
        DrawPlaneWavefronts(300, 200, 10, 0, 0, 1, 5, 0, 25, 3);
        QCOMPARE(KitSlots[3], 2);
        QCOMPARE(Pixel(306, 200), 0x000000u);
        QCOMPARE(Pixel(316, 249), 0x000000u);
        QCOMPARE(Pixel(326, 151), 0x000000u);
        QCOMPARE(Pixel(336, 200), 0xFFFFFFu);
    }

    // Every primitive and figure on one sheet, written to the build folder to be looked at.
    void sheetOfEveryFigure() {
        ClearArea(0, 0, 700, 550);
        DrawTiltedPanel(4, 8, 90, 30, 690, 14, 0);
        DrawLabel(10, 12, 12, 0, 1, "绘图工具 —— 兀 √ θ λ ° × 《 》");
        int x = 20;
        for (int code = 0; code <= 21; ++code, x += 30) DrawRect(x, 50, x + 25, 75, 5, 1, 0, 0, 0, code);
        for (int style = 0; style <= 7; ++style)
            DrawTiltedPanel2(20 + style * 80, 90, 90, 50, 70, 2, 5, style);
        for (int style = 0; style <= 4; ++style) {
            SetDrawStyle(5, 1, style, 0, 2, 12);
            Surface().moveTo(20, 160 + style * 8);
            Surface().lineTo(300, 160 + style * 8);
        }
        DrawEllipse(360, 180, 80, 40, 4, 2, 0, 0, 0, 17);
        DrawArc(480, 200, 0, 180, 40, 2, 2, 0, 0);
        DrawRay(80, 30, 540, 200, 0, 0, 10, 2, 2, 10, 5, 9);
        DrawRay(60, 300, 620, 160, 0, 0, 5, 1, 3, 16, 5, 18);
        DrawTiltedBlock(40, 300, 30, 120, 40, 18);
        DrawTiltedPanel(200, 300, 150, 100, 40, 3, 5);
        DrawZigzag(260, 260, 12, 20, 12, 1, 2, 4);
        DrawSpring(10, 360, 20, 2, 0, 1, 0);
        DrawArrow(90, 0, 300, 340, 0, 0, 2, 1, 1);
        DrawArrow(90, 90, 420, 400, 0, 2, 1, 1, 2);
        DrawArrow(60, 225, 520, 340, 0, 10, 1, 1, 3);
        DrawLabelledArrow(100, 0, 560, 360, 0, 0, 2, 2, 1, 1, 12, "F");
        DrawPulleyWheel(80, 460, 25, 50, 60, 40, 0, 3, 1);
        DrawWedge(200, 520, 30, 0, 120, 120, 5, 0, 4, 21);
        DrawCircularWavefronts(350, 470, 8, 0, 0, 1, 2, 1, 60, 2);
        DrawPlaneWavefronts(500, 470, 8, 0, 0, 1, 0, 0, 60, 3);
        QVERIFY(SavePicture(Surface().image(), QStringLiteral("kit_sheet.png")));
        QCOMPARE(Pixel(350, 1), 0xE7D1D1u);
        QCOMPARE(Pixel(32, 62), ColourOfCode(0).rgb() & 0xFFFFFF);
        QCOMPARE(Pixel(20 + 20 * 30 + 12, 62), ColourOfCode(20).rgb() & 0xFFFFFF);
    }
};

QTEST_MAIN(FiguresTest)
#include "figures_test.moc"
