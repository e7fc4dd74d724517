// Style codes and the font routine.

#include "draw/style.h"

#include <QtTest>

#include <cmath>

#include "draw/numeric.h"
#include "draw/shapes.h"
#include "kit_test_support.h"
#include "pictures.h"

using namespace vlab;
using namespace vlab::test;

class StyleTest : public QObject {
    Q_OBJECT
private slots:
    void init() { StartClean(); }

    void colourCodes() {
        QCOMPARE(ColourOfCode(0).rgb() & 0xFFFFFF, 0xFF0000u);
        QCOMPARE(ColourOfCode(11).rgb() & 0xFFFFFF, 0xD8E4F8u);
        QCOMPARE(ColourOfCode(13).rgb() & 0xFFFFFF, 0xE7D1D1u);
        QCOMPARE(ColourOfCode(21).rgb() & 0xFFFFFF, 0xFD9C03u);
        // Font index 11 is the system colour, not the pale blue of colour code 11.
        QVERIFY(FontColourOfIndex(11) != ColourOfCode(11));
        QCOMPARE(FontColourOfIndex(5), QColor(Qt::black));
        QVERIFY(!FontColourOfIndex(13).isValid());
        // Codes beyond the vocabulary: fixed, and different from their neighbours.
        for (int code = 21; code < 98; ++code) {
            QCOMPARE(ColourOfCode(code + 1), ColourOfCode(code + 1));
            QVERIFY2(ColourOfCode(code) != ColourOfCode(code + 1), qPrintable(QString::number(code)));
        }
        QVERIFY(ColourOfCode(-1) != ColourOfCode(-2));
        QVERIFY(ColourOfCode(-1).isValid());
    }

    void whiteStyleErases() {
        DrawRect(0, 0, 100, 100, 5, 1, 0, 0, 0, 5);
        QCOMPARE(Pixel(50, 50), 0x000000u);
        SetDrawStyle(12, 1, 0, 0, 0, 12);
        Surface().rectangle(0, 0, 100, 100);
        QCOMPARE(Pixel(50, 50), 0xFFFFFFu);
        QCOMPARE(Pixel(0, 0), 0xFFFFFFu);
    }

    void brushColour99KeepsColourButAppliesStyle() {
        SetDrawStyle(5, 1, 0, 0, 0, 2);  // solid blue
        SetDrawStyle(99, 1, 0, 0, 6, 99);
        QCOMPARE(Surface().brushColour(), ColourOfCode(2));
        QCOMPARE(Surface().brushStyle(), BrushStyle::Horizontal);
        QCOMPARE(Surface().penColour(), ColourOfCode(5));
        // Clear brush with colour 99 stays clear: the figure is not filled.
        DrawRect(0, 0, 100, 100, 5, 1, 0, 0, 0, 0);
        SetDrawStyle(2, 1, 0, 0, 2, 99);
        QCOMPARE(Surface().brushStyle(), BrushStyle::Clear);
        Surface().rectangle(20, 20, 60, 60);
        QCOMPARE(Pixel(40, 40), 0xFF0000u);
        QCOMPARE(Pixel(20, 40), 0x0000FFu);
    }

    void clearBrushWithColourTurnsSolid() {
        DrawRect(0, 0, 100, 100, 5, 1, 0, 0, 0, 5);
        SetDrawStyle(0, 1, 0, 0, 2, 12);
        QCOMPARE(Surface().brushStyle(), BrushStyle::Solid);
        Surface().polygon({{10, 10}, {90, 10}, {50, 90}});
        QCOMPARE(Pixel(50, 40), 0xFFFFFFu);  // filled white
        QCOMPARE(Pixel(50, 10), 0xFF0000u);  // red outline
        QCOMPARE(Pixel(5, 50), 0x000000u);
    }

    void penColourCode99AndUnknownIndicesLeaveThingsAsTheyAre() {
        SetDrawStyle(4, 3, 1, 1, 3, 7);
        SetDrawStyle(100, 2, 9, 9, 9, 150);
        QCOMPARE(Surface().penColour(), ColourOfCode(4));
        QCOMPARE(Surface().penWidth(), 2);
        QCOMPARE(Surface().penStyle(), PenStyle::Dash);
        QCOMPARE(Surface().penMode(), PenMode::Xor);
        QCOMPARE(Surface().brushStyle(), BrushStyle::BDiagonal);
        QCOMPARE(Surface().brushColour(), ColourOfCode(7));
    }

    void setFontAboveFifteenKeepsStyles() {
        SetFont(9, 12, 0);  // bold, italic, underline, red
        QVERIFY(Surface().font().bold());
        SetFont(16, 10, 5);
        QVERIFY(Surface().font().bold());
        QVERIFY(Surface().font().italic());
        QVERIFY(Surface().font().underline());
        QCOMPARE(Surface().font().pixelSize(), 13);  // 10 points at 96 dpi
        QCOMPARE(Surface().fontColour(), QColor(Qt::black));
        SetFont(0, 14, 2);
        QVERIFY(!Surface().font().bold());
        QCOMPARE(Surface().font().pixelSize(), 19);
        SetFont(5, 0, 99);  // no font is smaller than one pixel; an unknown colour keeps the last
        QVERIFY(Surface().font().strikeOut());
        QCOMPARE(Surface().font().pixelSize(), 1);
        QCOMPARE(Surface().fontColour(), ColourOfCode(2));
    }

    // Text sits on an opaque box in the brush colour under a solid brush and is transparent under
    // every other brush style.
    void textTransparencyUnderEachBrush() {
        for (int style = 0; style <= 7; ++style) {
            StartClean();
            DrawRect(0, 0, 200, 100, 5, 1, 0, 0, 0, 5);  // black background
            SetFont(0, 12, 0);
            SetDrawStyle(5, 1, 0, 0, style, 9);  // yellow brush in the given style
            const BrushStyle brush = Surface().brushStyle();
            Surface().textOut(20, 20, "    ");  // blanks: only the box, if any, shows
            const QRgb expect = brush == BrushStyle::Solid ? 0xFFFF00u : 0x000000u;
            QVERIFY2(Pixel(22, 25) == expect, qPrintable(QString("brush style %1").arg(style)));
        }
    }

    void labelIsTransparentAndLeavesAnXorPen() {
        DrawRect(0, 0, 200, 100, 5, 1, 0, 0, 0, 9);
        DrawLabel(20, 20, 12, 0, 1, "    ");
        QCOMPARE(Pixel(22, 25), 0xFFFF00u);
        QCOMPARE(Surface().penMode(), PenMode::Xor);
        QCOMPARE(Surface().brushStyle(), BrushStyle::Solid);
        DrawLabel(20, 20, 12, 2, 1, "F = - k x");
        QVERIFY(CountColour(Surface().image(), 0x0000FF, QRect(20, 20, 80, 20)) > 10);
    }
};

QTEST_MAIN(StyleTest)
#include "style_test.moc"
