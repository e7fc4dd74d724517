// Wave superposition: the string against two triangular pulses worked out here from their corner
// points (the superposition principle, shape and speed kept through the meeting), the lines on
// the surface at the best overlap of each pair, the end of the run, the step area and input the
// plotter must refuse.

#include "experiments/wave_superposition.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <optional>

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

// Notes the plotter's step count when the run is first stopped.
class FakeHost : public RecordingHost {
public:
    int stopsAtStep = -2;
    void ShowStoppedControls() override {
        if (stops == 0) stopsAtStep = WavePlotCounts[1];
        RecordingHost::ShowStoppedControls();
    }
};

constexpr QRgb kSilver = 0xC0C0C0;
constexpr QRgb kRedLine = 0xFF0000;
constexpr QRgb kPurpleLine = 0x800080;
constexpr QRgb kPaleBlue = 0xD8E4F8;
constexpr double kBaseline = 180;

// A triangular pulse by its corners: it leaves the baseline at a, reaches displacement h (upwards
// positive) at the peak p and is back on the baseline at b.
struct Pulse {
    double a, p, b, h;
    bool Covers(double x) const { return a <= x && x <= b; }
    double Displacement(double x) const {
        if (!Covers(x)) return 0;
        return x <= p ? h * (x - a) / (p - a) : h * (b - x) / (b - p);
    }
};

// The pulses after n steps at 2 px a step: the first one's front starts at 9, the second one's at
// 691. Both are 120 px wide and 80 px high; the steep side is 40 px wide.
Pulse FirstPulse(int n) {
    const double front = 9 + 2.0 * n;
    return {front - 120, front - 40, front, 80};
}
// The second pulse by its shape: its peak lies 40 px behind its front when the steep side leads,
// 80 px when the gentle side does; crest or trough.
Pulse SecondPulse(int n, bool steepLeads, bool crest) {
    const double front = 691 - 2.0 * n;
    return {front, front + (steepLeads ? 40 : 80), front + 120, crest ? 80.0 : -80.0};
}

// The four pairs of the panel, by WaveVariant.
struct Pair {
    int variant;
    bool steepLeads, crest;
};
constexpr Pair kPairA{2, true, true};
constexpr Pair kPairB{3, false, false};
constexpr Pair kPairC{4, false, true};
constexpr Pair kPairD{1, true, false};

bool ColourNear(QRgb colour, int x, int y, int reach) {
    for (int dy = -reach; dy <= reach; ++dy)
        if (Pixel(x, y + dy) == colour) return true;
    return false;
}

// The lab window's part: the common reset, the experiment's reset, and for Setting the value the
// panel wrote and the first picture.
void Choose() {
    ExperimentCode = CodeOf("WaveSuperposition");
    MouseMoveActive = MouseClickActive = 0;
    TickCount = 0;
    WaveSuperpositionReset();
    ClearArea(0, 0, 700, 550);
}
void Setting(int variant) {
    Choose();
    WaveVariant = variant;
    WaveSuperpositionStep();
}
void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
        ++TickCount;
        WaveSuperpositionStep();
    }
}
void RunTo(int variant, int step) {
    Setting(variant);
    Tick(step);
}

// Which pixels of a block of the string area are silver, as rows of 0 and 1.
QList<QByteArray> SilverMask(int left, int top, int width, int height) {
    QList<QByteArray> rows;
    for (int y = top; y < top + height; ++y) {
        QByteArray row(width, '0');
        for (int x = 0; x < width; ++x)
            if (Pixel(left + x, y) == kSilver) row[x] = '1';
        rows.append(row);
    }
    return rows;
}

}  // namespace

class WaveSuperpositionTest : public QObject {
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
        WaveSuperpositionResetProgramState();
        host = FakeHost();
    }

    // At every column of every step the string lies where the two pulses put it: each pulse
    // alone where only it covers the column, the sum of both displacements where they overlap.
    // The fronts move 2 px a step throughout, and the pulses keep their corners, so their shape
    // survives the meeting.
    void superpositionAtEveryColumnOfEveryStep_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("steepLeads");
        QTest::addColumn<bool>("crest");
        QTest::newRow("kind 1: crest, steep side leading") << 1 << true << true;
        QTest::newRow("kind 3: trough, gentle side leading") << 3 << false << false;
        QTest::newRow("kind 4: crest, gentle side leading") << 4 << false << true;
        QTest::newRow("kind 0: trough, steep side leading") << 0 << true << false;
    }
    void superpositionAtEveryColumnOfEveryStep() {
        QFETCH(int, kind);
        QFETCH(bool, steepLeads);
        QFETCH(bool, crest);
        Choose();
        int firstOverlap = -1, lastOverlap = -1;
        for (int n = 0; n <= 345; ++n) {
            PlotPulsePair(9, 690, 691, kBaseline, 1, 80, 2, kind, 4, 4, 1, 1);
            QCOMPARE(WavePlotCounts[1], n);
            QCOMPARE(Front1, 9 + 2.0 * n);
            QCOMPARE(Front2, 691 - 2.0 * n);
            const Pulse one = FirstPulse(n), two = SecondPulse(n, steepLeads, crest);
            int overlap = 0;
            for (int x = 9; x <= 690; ++x) {
                PulseColumn(x, kBaseline, 1, 80, kind);
                const double d1 = one.Displacement(x), d2 = two.Displacement(x);
                QCOMPARE(In1, one.Covers(x) ? 1.0 : 0.0);
                QCOMPARE(In2, two.Covers(x) ? 1.0 : 0.0);
                QCOMPARE(Y1, kBaseline - d1);
                QCOMPARE(Y2, kBaseline - d2);
                if (one.Covers(x) && two.Covers(x)) {
                    QCOMPARE(YSum, kBaseline - (d1 + d2));
                    if (x >= 10) ++overlap;  // the first column is never drawn
                } else {
                    QCOMPARE(YSum, kBaseline);
                }
            }
            QCOMPARE(OverlapColumns, overlap);
            if (overlap > 0 && firstOverlap < 0) firstOverlap = n;
            if (overlap > 0) lastOverlap = n;
        }
        // The fronts cross between steps 170 and 171 (9 + 2n = 691 - 2n at n = 170.5); the tails
        // part between 230 and 231 (2n - 111 = 811 - 2n at n = 230.5).
        QCOMPARE(firstOverlap, 171);
        QCOMPARE(lastOverlap, 230);
    }

    // The moment of best overlap of each pair, on the surface: the purple line follows the sum of
    // the two pulses at every overlapping column, and nowhere else is anything purple.
    void sumLineAtTheBestOverlap_data() {
        QTest::addColumn<int>("variant");
        QTest::addColumn<bool>("steepLeads");
        QTest::addColumn<bool>("crest");
        QTest::addColumn<int>("step");
        QTest::addColumn<double>("highest");  // smallest y of the sum
        QTest::addColumn<double>("lowest");   // largest y of the sum
        const struct {
            const char* name;
            Pair pair;
        } pairs[] = {{"A", kPairA}, {"B", kPairB}, {"C", kPairC}, {"D", kPairD}};
        // Extremes the two pulses give at these steps: B nearly cancels (within 4 px of the
        // baseline), C nearly doubles (up to y 22), A reaches y 58 at step 200 and D swings
        // between y 138 and 222 at step 201.
        const double extremes[4][2][2] = {{{58, 178}, {62, 176}},
                                          {{178, 184}, {176, 182}},
                                          {{22, 178}, {22, 178}},
                                          {{142, 218}, {138, 222}}};
        for (int i = 0; i < 4; ++i)
            for (int s = 0; s < 2; ++s) {
                const int step = 200 + s;
                QTest::addRow("%s at step %d", pairs[i].name, step)
                    << pairs[i].pair.variant << pairs[i].pair.steepLeads << pairs[i].pair.crest << step
                    << extremes[i][s][0] << extremes[i][s][1];
            }
    }
    void sumLineAtTheBestOverlap() {
        QFETCH(int, variant);
        QFETCH(bool, steepLeads);
        QFETCH(bool, crest);
        QFETCH(int, step);
        QFETCH(double, highest);
        QFETCH(double, lowest);
        RunTo(variant, step);
        SavePicture(Surface().image(),
                    QStringLiteral("wave_superposition_variant%1_step%2.png").arg(variant).arg(step));

        const Pulse one = FirstPulse(step), two = SecondPulse(step, steepLeads, crest);
        const double c0 = std::max(one.a, two.a), cL = std::min(one.b, two.b);
        QVERIFY(cL - c0 > 100);
        double top = 1e9, bottom = -1e9;
        for (double x = c0; x <= cL; ++x) {
            const double y = kBaseline - one.Displacement(x) - two.Displacement(x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            // The sum of column x is drawn at pixel column x + 1. Just past the overlap the string
            // is drawn silver again, 4 px wide, over the last vertices.
            if (x < cL - 2)
                QVERIFY2(ColourNear(kPurpleLine, int(x) + 1, int(y), 1), qPrintable(QString::number(x)));
        }
        QCOMPARE(top, highest);
        QCOMPARE(bottom, lowest);

        // Every purple pixel of the string area lies on the 4 px line through those points.
        for (int py = 3; py < 358; ++py)
            for (int px = 0; px < 700; ++px) {
                if (Pixel(px, py) != kPurpleLine) continue;
                QVERIFY2(px >= c0 - 2 && px <= cL + 3, qPrintable(QStringLiteral("%1,%2").arg(px).arg(py)));
                double nearest = 1e9;
                for (int x = px - 4; x <= px + 1; ++x) {
                    if (x < c0 || x > cL) continue;
                    const double y = kBaseline - one.Displacement(x) - two.Displacement(x);
                    nearest = std::min(nearest, std::fabs(y - py));
                }
                QVERIFY2(nearest <= 3, qPrintable(QStringLiteral("%1,%2").arg(px).arg(py)));
            }
        // Both pulses are shown dotted red over the overlap.
        QVERIFY(ColourNear(kRedLine, int(one.p) + 1, int(kBaseline - one.h), 1));
        QVERIFY(ColourNear(kRedLine, int(two.p) + 1, int(kBaseline - two.h), 1));
    }

    // Apart, the string is silver only, and each pulse is the same picture moved 2 px a step:
    // before the meeting, after it, and across it.
    void apartOnlySilverPulsesThatKeepTheirShape_data() {
        QTest::addColumn<int>("variant");
        QTest::newRow("A") << kPairA.variant;
        QTest::newRow("B") << kPairB.variant;
        QTest::newRow("C") << kPairC.variant;
        QTest::newRow("D") << kPairD.variant;
    }
    void apartOnlySilverPulsesThatKeepTheirShape() {
        QFETCH(int, variant);
        Setting(variant);
        QList<QList<QByteArray>> first, second;
        for (int n : {0, 80, 150, 170, 231, 240, 300, 341}) {
            Tick(n - WavePlotCounts[1]);
            QCOMPARE(WavePlotCounts[1], n);
            QCOMPARE(CountColour(Surface().image(), kRedLine, Box(3, 3, 699, 358)), 0);
            QCOMPARE(CountColour(Surface().image(), kPurpleLine, Box(3, 3, 699, 358)), 0);
            // Pictures of each pulse where the other one is well away.
            if (n == 80 || n == 150 || n == 240 || n == 300) {
                first.append(SilverMask(9 + 2 * n - 125, 90, 131, 180));
                second.append(SilverMask(691 - 2 * n - 5, 90, 131, 180));
            }
        }
        for (qsizetype i = 1; i < first.size(); ++i) {
            QVERIFY2(first[i] == first[0], qPrintable(QString::number(i)));
            QVERIFY2(second[i] == second[0], qPrintable(QString::number(i)));
        }
        // The pictures hold the peaks: y 100 for the first pulse, y 100 or 260 for the second.
        QVERIFY(first[0][10].contains('1'));
        QVERIFY(second[0][10].contains('1') || second[0][170].contains('1'));
    }

    // The highest point of the string at every step of a run is the largest y1 + y2 of the two
    // pulses over the string's columns 9 to 690.
    void highestPointIsTheTallestColumn_data() { apartOnlySilverPulsesThatKeepTheirShape_data(); }
    void highestPointIsTheTallestColumn() {
        QFETCH(int, variant);
        const Pair pair = variant == kPairA.variant   ? kPairA
                          : variant == kPairB.variant ? kPairB
                          : variant == kPairC.variant ? kPairC
                                                      : kPairD;
        Setting(variant);
        for (int n = 0; n <= 341; Tick(), ++n) {
            const Pulse one = FirstPulse(n), two = SecondPulse(n, pair.steepLeads, pair.crest);
            double top = -1e9;
            for (int x = 9; x <= 690; ++x) top = std::max(top, one.Displacement(x) + two.Displacement(x));
            QVERIFY2(std::fabs(WaveHighestPoint() - top) < 1e-9, qPrintable(QString::number(n)));
        }
        WaveVariant = 5;  // no string is drawn
        QCOMPARE(WaveHighestPoint(), 0.0);
    }

    // The sum line starts at the second overlapping column: a meeting of one column draws no
    // purple, one of two columns draws its first segment.
    void sumLineNeedsTwoOverlappingColumns() {
        Choose();
        // Fronts at 9 + 2n and 689 - 2n meet on column 349 at n = 170.
        WavePlotCounts[1] = 169;
        ClearArea(0, 0, 700, 550);
        PlotPulsePair(9, 690, 689, kBaseline, 1, 80, 2, 1, 4, 4, 1, 1);
        QCOMPARE(Front1, Front2);
        QCOMPARE(OverlapColumns, 1);
        QCOMPARE(CountColour(Surface().image(), kPurpleLine, Box(0, 0, 700, 548)), 0);

        // Fronts at 9 + n and 690 - n at n = 341: columns 350 and 351 overlap.
        WavePlotCounts[1] = 340;
        ClearArea(0, 0, 700, 550);
        PlotPulsePair(9, 690, 690, kBaseline, 1, 80, 1, 1, 4, 4, 1, 1);
        QCOMPARE(OverlapColumns, 2);
        QVERIFY(CountColour(Surface().image(), kPurpleLine, Box(345, 170, 357, 190)) > 0);
        QCOMPARE(CountColour(Surface().image(), kPurpleLine, Box(0, 0, 345, 548)) +
                     CountColour(Surface().image(), kPurpleLine, Box(357, 0, 700, 548)),
                 0);
    }

    // The run stops itself when the second front reaches column 9, at step 341, and not before;
    // presses after that still step on without stopping again.
    void runEndsAtStep341AndPressesStepOnPastIt() {
        Setting(kPairC.variant);
        for (int i = 0; i < 400 && host.stops == 0; ++i) Tick();
        QCOMPARE(host.stopsAtStep, 341);
        QCOMPARE(TickCount, 341);
        QCOMPARE(Front2, 9.0);
        for (int i = 0; i < 3; ++i) WaveSuperpositionMouseDown(235, 165);
        QCOMPARE(WavePlotCounts[1], 344);
        QCOMPARE(host.stops, 1);
        QCOMPARE(TickCount, 341);  // a press steps the plotter, not the tick count
        // The first pulse is leaving at the right edge, its front beyond the string.
        QCOMPARE(Front1, 9 + 2.0 * 344);
        // Column 609 lies on its gentle side, 32 px above the string; it is drawn at pixel column 610.
        QVERIFY(ColourNear(kSilver, 610, 148, 2));
    }

    // The press answers only inside its small area, before Setting as well; the release puts the
    // default cursor back.
    void stepAreaPress_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<bool>("steps");
        QTest::newRow("top left corner") << 201 << 151 << true;
        QTest::newRow("bottom right corner") << 269 << 179 << true;
        QTest::newRow("left edge") << 200 << 165 << false;
        QTest::newRow("right edge") << 270 << 165 << false;
        QTest::newRow("top edge") << 235 << 150 << false;
        QTest::newRow("bottom edge") << 235 << 180 << false;
        QTest::newRow("on the string") << 400 << 180 << false;
    }
    void stepAreaPress() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(bool, steps);
        Choose();  // the experiment is chosen, Setting not yet pressed: both mouse flags are off
        WaveSuperpositionMouseDown(x, y);
        QCOMPARE(WavePlotCounts[1], steps ? 0 : -1);
        QCOMPARE(host.repaints, steps ? 1 : 0);
        if (steps) {
            // The first step after the reset: the pulses just entering, the string flat between.
            QCOMPARE(Front1, 9.0);
            QCOMPARE(Front2, 691.0);
            QVERIFY(ColourNear(kSilver, 350, 180, 1));
        }
        WaveSuperpositionMouseUp(x, y);
        QCOMPARE(host.cursor, SurfaceCursor::Default);
    }

    // Choosing the experiment or pressing Setting resets its own counters only, and the next step
    // starts again at the edges.
    void resetRestartsThePlotterAndKeepsOtherSlots() {
        RunTo(kPairD.variant, 120);
        WavePlotCounts[0] = 7;
        WavePlotCounts[2] = 9;
        Setting(kPairB.variant);
        QCOMPARE(host.intervals.back(), 50);
        QCOMPARE(WavePlotCounts[0], 7);
        QCOMPARE(WavePlotCounts[2], 9);
        QCOMPARE(WavePlotCounts[3], -1);
        QCOMPARE(WavePlotCounts[1], 0);
        QCOMPARE(Front1, 9.0);
        QCOMPARE(Front2, 691.0);
        Choose();
        QCOMPARE(WaveVariant, 2);
    }

    // A WaveVariant the panel never writes draws the areas and the captions, but no string.
    void variantOutsideOneToFourDrawsOnlyTheLabels() {
        for (int variant : {0, 5, -1}) {
            Setting(variant);
            Tick(200);
            QCOMPARE(CountColour(Surface().image(), kSilver, Box(3, 3, 699, 358)), 0);
            QCOMPARE(CountColour(Surface().image(), kPurpleLine, Box(3, 3, 699, 358)), 0);
            // The two captions on the pale blue text area.
            QVERIFY(CountOther(Surface().image(), kPaleBlue, Box(290, 370, 450, 410)) > 50);
            QVERIFY(CountOther(Surface().image(), kPaleBlue, Box(80, 440, 650, 480)) > 200);
            QCOMPARE(WavePlotCounts[1], -1);
        }
    }

    // The plotter refuses a counter slot outside its four entries and slopes that would fill the
    // string with infinities; it changes nothing then.
    void plotterRefusesBadArguments() {
        Choose();
        WavePlotCounts = {3, 4, 5, 6};
        ClearArea(0, 0, 700, 550);
        const QImage before = Surface().image().copy();
        PlotPulsePair(9, 690, 691, kBaseline, 1, 80, 2, 1, 4, 4, 1, 4);
        PlotPulsePair(9, 690, 691, kBaseline, 1, 80, 2, 1, 4, 4, 1, -1);
        PlotPulsePair(9, 690, 691, kBaseline, 0, 80, 2, 1, 4, 4, 1, 1);
        PlotPulsePair(9, 690, 691, kBaseline, -1, 80, 2, 1, 4, 4, 1, 1);
        PlotPulsePair(9, qInf(), 691, kBaseline, 1, 80, 2, 1, 4, 4, 1, 1);
        PlotPulsePair(9, 690, 691, kBaseline, 1, qQNaN(), 2, 1, 4, 4, 1, 1);
        QCOMPARE(WavePlotCounts, (std::array<int, 4>{3, 4, 5, 6}));
        QVERIFY(Surface().image() == before);
        for (double v : {Y1, Y2, YSum, PrevY1, PrevY2, PrevSum, Front1, Front2}) QVERIFY(std::isfinite(v));
    }
};

QTEST_MAIN(WaveSuperpositionTest)
#include "wave_superposition_test.moc"
