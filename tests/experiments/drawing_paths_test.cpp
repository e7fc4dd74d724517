// The fast drawing path against the straightforward one: every experiment is played twice from the
// same start values, once through each path, and the pictures at its set-up, its busiest ticks and
// its last tick must agree pixel for pixel.

#include <QJsonObject>
#include <QPainter>
#include <QtTest>

#include <array>
#include <functional>
#include <vector>

#include "draw/canvas.h"
#include "draw/figures.h"
#include "draw/fonts.h"
#include "draw/shapes.h"
#include "draw/style.h"
#include "experiments/collision.h"
#include "experiments/electric_field.h"
#include "experiments/friction.h"
#include "experiments/induction.h"
#include "experiments/interference.h"
#include "experiments/pulley.h"
#include "experiments/spring_energy.h"
#include "experiments/wave_superposition.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "pictures.h"
#include "registry/registry.h"

using namespace vlab;
using namespace vlab::test;

namespace {

// The panel confirmed on four charges.
class FourCharges : public NullHost {
public:
    QString ChargeLayoutText() override { return QStringLiteral("四个点电荷"); }
};

// One experiment's run: its start values, the ticks it is played to, and the ticks whose
// pictures are compared. Mouse presses during the run go through `atTick`.
struct Run {
    const char* name;
    int code;
    std::function<void()> setUp;
    int lastTick;
    std::vector<int> compared;
    std::function<void(int)> atTick = [](int) {};
    // After the run: true when it reached the picture it is here for.
    std::function<bool()> reachedBusiest = [] { return true; };
};

// Plays the run on a new canvas on the drawing path and returns the pictures of the compared
// ticks, and in `states` the whole lab state at those ticks (the kit's results among it).
std::vector<QImage> Play(const Run& run, DrawingPath path, std::vector<QJsonObject>& states) {
    const ScopedSurface canvas(path);
    ResetProgramState();
    const Experiment* e = FindExperiment(run.code);
    ExperimentCode = run.code;
    if (e->reset) e->reset();
    run.setUp();
    std::vector<QImage> pictures;
    std::size_t next = 0;
    for (TickCount = 0; TickCount <= run.lastTick && next < run.compared.size(); ++TickCount) {
        run.atTick(TickCount);
        e->step();
        if (TickCount == run.compared[next]) {
            pictures.push_back(Surface().image().copy());
            states.emplace_back();
            DescribeLab(states.back());
            ++next;
        }
    }
    return pictures;
}

// The first pixel where two pictures differ, for the failure message.
QString FirstDifference(const QImage& a, const QImage& b) {
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return QStringLiteral("(%1, %2): %3 against %4")
                    .arg(x)
                    .arg(y)
                    .arg(a.pixel(x, y), 6, 16)
                    .arg(b.pixel(x, y), 6, 16);
    return {};
}

FourCharges fourCharges;

// The panel's layout box, set by the test.
class AnyLayout : public NullHost {
public:
    QString text;
    QString ChargeLayoutText() override { return text; }
};
AnyLayout anyLayout;

// A drawing's readings of the surface through the fast path, then through the reference path.
struct BothWays {
    std::vector<QImage> fast, reference;
};
BothWays DrawBothWays(const std::function<std::vector<QImage>()>& draw) {
    BothWays both;
    both.fast = draw();
    const ScopedSurface reference(DrawingPath::Reference);
    both.reference = draw();
    return both;
}

// Where the two ways' readings first differ; empty when they agree.
QString Disagreement(const BothWays& both) {
    if (both.fast.size() != both.reference.size()) return QStringLiteral("a different number of readings");
    for (std::size_t i = 0; i < both.fast.size(); ++i)
        if (both.fast[i] != both.reference[i])
            return QStringLiteral("reading %1: ").arg(i) + FirstDifference(both.fast[i], both.reference[i]);
    return {};
}

}  // namespace

class DrawingPathsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void cleanup() {
        SetHost(nullptr);
        ResetProgramState();
    }

    void experimentsDrawTheSamePixels_data();
    void experimentsDrawTheSamePixels();
    void primitivesDrawTheSamePixels();
    void wideLinesMovedByWholePixels();
    void boxesTextsAndLinesInAnyStyle();
    void pictureIsCompleteWheneverItIsRead();
    void fieldGridsAsTheChargesChange();
};

void DrawingPathsTest::experimentsDrawTheSamePixels_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("Friction") << 0;
    QTest::newRow("SpringEnergy") << 1;
    QTest::newRow("Collision") << 2;
    QTest::newRow("Interference") << 3;
    QTest::newRow("ElectricField") << 4;
    QTest::newRow("InductionConstantSpeed") << 5;
    QTest::newRow("InductionIncline") << 6;
    QTest::newRow("WaveSuperposition") << 7;
    QTest::newRow("Pulley") << 8;
}

void DrawingPathsTest::experimentsDrawTheSamePixels() {
    QFETCH(int, index);
    const std::vector<Run> runs = {
        // A 120 N pull at 30 degrees: the block slides, its force arrows and the graph grow.
        {"Friction",
         CodeOf("Friction"),
         [] {
             AppliedForce = 120;
             ForceAngle = 30;
             BlockHeight = 50;
             FrictionSetCount = 0;
         },
         120,
         {0, 1, 60, 120}},
        // k = 3 swinging 200 px: the spring, the energy bars and the trail of dots.
        {"SpringEnergy",
         CodeOf("SpringEnergy"),
         [] {
             SpringConstant = 3;
             SpringDisplacement = 200;
         },
         45,
         {0, 1, 45}},
        // The reset blocks meet in the middle: flight, contact and rebound.
        {"Collision", CodeOf("Collision"), [] {}, 140, {0, 1, 50, 90, 140}},
        // Red light until every ring is at its cap and the fringes and graph are drawn; the
        // probe off the centre line, then violet light and the widest slits late in the run.
        {"Interference",
         CodeOf("Interference"),
         [] {
             ProbeY = 96;
             MouseClickActive = 1;
         },
         115,
         {0, 1, 40, 104, 115},
         [](int tick) {
             if (tick == 105) InterferenceMouseDown(50, 265);   // violet light
             if (tick == 110) InterferenceMouseDown(290, 265);  // wider slits
         },
         // The fringes and graph were drawn, in violet with the wide slits.
         [] { return SlitWaveTicks >= 75 && LightChoice == 1 && SlitHalfGap == 50; }},
        // Four charges: the grid at set-up and tick 1, then the test charge's flight.
        {"ElectricField",
         CodeOf("ElectricField"),
         [] {
             SetHost(&fourCharges);
             ChargeQ[0] = 3, ChargeQ[1] = -2, ChargeQ[2] = 4, ChargeQ[3] = -1;
         },
         40,
         {0, 1, 2, 40},
         [](int tick) {
             if (tick == 1) {
                 MouseClickActive = 1;
                 ElectricFieldMouseDown(300, 280);
             }
         }},
        {"InductionConstantSpeed",
         CodeOf("Induction"),
         [] {
             InductionMode = 0;
             FieldDirection = 1;
         },
         180,
         {0, 1, 100, 180}},
        {"InductionIncline",
         CodeOf("Induction"),
         [] {
             InductionMode = 1;
             FieldDirection = 0;
         },
         120,
         {0, 1, 60, 120}},
        // Pair C: the pulses apart, then overlapping with all their columns.
        {"WaveSuperposition",
         CodeOf("WaveSuperposition"),
         [] { WaveVariant = 4; },
         200,
         {0, 1, 100, 200},
         [](int) {},
         [] { return OverlapColumns > 100; }},
        // Arrangement 3 with A of 2 kg: C rises until the run ends on tick 73.
        {"Pulley",
         CodeOf("Pulley"),
         [] {
             PulleyArrangement = 3;
             PulleyMassA = 2;
         },
         80,
         {0, 1, 40, 73, 80}},
    };
    const Run& run = runs.at(static_cast<std::size_t>(index));

    std::vector<QJsonObject> fastStates, referenceStates;
    const std::vector<QImage> fast = Play(run, DrawingPath::Fast, fastStates);
    const std::vector<QImage> reference = Play(run, DrawingPath::Reference, referenceStates);
    QCOMPARE(fast.size(), run.compared.size());
    QCOMPARE(reference.size(), run.compared.size());
    QVERIFY2(run.reachedBusiest(), run.name);
    for (std::size_t i = 0; i < fast.size(); ++i) {
        const QString where = QStringLiteral("%1 at tick %2").arg(run.name).arg(run.compared[i]);
        // A blank picture would agree with a blank one: each compared tick must show something.
        QVERIFY2(fast[i] != QImage(fast[i].size(), fast[i].format()), qPrintable(where));
        if (fast[i] != reference[i]) {
            // Both pictures are kept for a look at what differs.
            const QString stem = QStringLiteral("paths_%1_%2_").arg(run.name).arg(run.compared[i]);
            SavePicture(fast[i], stem + QStringLiteral("fast.png"));
            SavePicture(reference[i], stem + QStringLiteral("reference.png"));
        }
        QVERIFY2(fast[i] == reference[i], qPrintable(where + ": " + FirstDifference(fast[i], reference[i])));
        QVERIFY2(fastStates[i] == referenceStates[i], qPrintable(where + ": the lab state differs"));
    }
}

// Each kind of primitive in a row that changes pen, brush, raster operation and font between
// neighbours, so that a style left over on the shared painter would show.
void DrawingPathsTest::primitivesDrawTheSamePixels() {
    bool keepCache = false;
    auto draw = [&keepCache] {
        if (keepCache)
            Surface().reset();  // the picture and style only: the cache stays filled
        else
            ResetDrawKit();
        DrawRect(20, 20, 200, 120, 0, 3, 0, 0, 1, 9);
        DrawRay(300, 10, 10, 300, 2, 1, 4, 1, 0, 0, 0, 0);  // dotted, XOR
        DrawRay(300, 10, 10, 310, 0, 1, 4, 5, 0, 0, 0, 0);  // wide, XOR
        DrawEllipse(300, 100, 120, 80, 5, 2, 0, 4, 6, 10);
        DrawLabel(40, 40, 14, 2, 7, QStringLiteral("标签 Label"));
        DrawArc(400, 300, 0, 359, 90, 10, 1, 0, 1);
        DrawArc(400, 300, 30, 200, 60, 0, 3, 0, 0);
        DrawArc(400, 300, -30, 30, 40, 2, 1, 0, 0);
        DrawTiltedPanel2(100, 400, 30, 200, 60, 14, 5, 4);
        DrawLabelledArrow(120, 135, 500, 400, 0, 1, 2, 2, 1, 1, 12, QStringLiteral("F"));
        DrawLabelledArrow(12, 300, 520, 420, 2, 0, 3, 1, 1, 3, 14, QString());
        DrawArrow(80, 45, 600, 500, 1, 4, 3, 2, 2);
        DrawLabel(450, 60, 9, 4, 0, QStringLiteral("第二行"));
        Surface().fillRect(600, 10, 690, 60);
        SetDrawStyle(17, 1, 0, 6, 7, 16);
        Surface().roundRect(560, 200, 680, 260, 20, 20);
        DrawZigzag(20, 200, 12, 15, 10, 1, 2, 3);
        DrawSpring(20, 460, 10, 4, 0, 1, 0);
        ClearArea(650, 400, 700, 548);
        return std::vector<QImage>{Surface().image().copy()};
    };
    const BothWays both = DrawBothWays(draw);
    QVERIFY2(Disagreement(both).isEmpty(), qPrintable(Disagreement(both)));
    // The same again on the fast path: a table or memo filled by the first round changes nothing.
    keepCache = true;
    QCOMPARE(draw(), both.fast);
}

// A wide line's stamp is found once for its width and the step between its ends and then reused
// wherever a line of that shape is drawn: lines of every width the experiments use, short and
// long, steep and flat, each drawn at several places over the surface and over its edges.
void DrawingPathsTest::wideLinesMovedByWholePixels() {
    struct Shape {
        int width, dx, dy;
    };
    const Shape shapes[] = {{2, 1, 0},  {2, 1, -7},    {2, 5, 3},   {3, 1, 1},   {3, 0, -40},    {4, 80, 0},
                            {4, 3, -2}, {5, 17, 29},   {6, 500, 0}, {6, 0, 300}, {7, -9, 4},     {8, 33, -61},
                            {3, 2, 90}, {2, -120, 35}, {6, 720, 0}, {6, 0, 620}, {2, -700, -500}};
    const QPoint places[] = {{20, 20},   {151, 37},  {300, 211}, {43, 400},
                             {612, 480}, {180, 100}, {0, 0},     {697, 546}};
    auto draw = [&] {
        ResetDrawKit();
        int colour = 0;
        for (const QPoint p : places) {
            for (const Shape& s : shapes) {
                SetDrawStyle(colour++ % 21, s.width, 0, 0, 2, 12);
                Surface().moveTo(p.x(), p.y());
                Surface().lineTo(p.x() + s.dx, p.y() + s.dy);
            }
        }
        return std::vector<QImage>{Surface().image().copy()};
    };
    const BothWays both = DrawBothWays(draw);
    QVERIFY2(Disagreement(both).isEmpty(), qPrintable(Disagreement(both)));
}

// Boxes, panels, texts and lines at random places and sizes (over the edges too, and down to a
// pixel or two), in random pens, brushes, raster operations and fonts, with the picture read now
// and then in between: the fills kept per tile, the box and hatch fills, the text stamps and the
// painter must leave the same pixels as the straightforward path.
void DrawingPathsTest::boxesTextsAndLinesInAnyStyle() {
    const QString words[] = {QStringLiteral("F"),       QStringLiteral("光源"),
                             QStringLiteral("a = 4.9"), QStringLiteral("正电荷 Q=+3"),
                             QStringLiteral("√2 θ λ"),  QStringLiteral("2T"),
                             QStringLiteral("  ")};
    auto draw = [&] {
        std::vector<QImage> readings;
        ResetDrawKit();
        QRandomGenerator random(20261208);
        auto any = [&](int lo, int hi) { return random.bounded(lo, hi + 1); };
        auto coordinate = [&] { return any(0, 9) == 0 ? any(-300, 1000) : any(-20, 720); };
        for (int i = 0; i < 1500; ++i) {
            const int size = any(0, 3) == 0 ? any(0, 6) : any(0, 3) == 0 ? any(100, 800) : any(7, 90);
            const int x = coordinate(), y = coordinate(), w = size, h = any(0, 2) == 0 ? size : any(0, 60);
            // Copy mode and plain pens most of the time, as the experiments draw.
            const int mode = any(0, 3) == 0 ? any(0, 6) : 0;
            const int penStyle = any(0, 3) == 0 ? any(0, 5) : 0;
            const int brushStyle = any(0, 7);
            const int colour = any(0, 21), other = any(0, 2) == 0 ? colour : any(0, 21);
            switch (any(0, 7)) {
                case 0: DrawTiltedPanel(x, y, 90, h, w, colour, brushStyle); break;
                case 1: DrawTiltedPanel2(x, y, 90, h, w, colour, other, brushStyle); break;
                case 2:
                    SetDrawStyle(other, any(0, 2), penStyle, mode, brushStyle, colour);
                    Surface().rectangle(x, y, x + w, y + h);
                    break;
                case 3: ClearArea(x, y, x + w, y + h); break;
                case 4:
                    SetFont(any(0, 15), any(6, 22), any(0, 12));
                    SetDrawStyle(other, 1, 0, 0, any(0, 2) == 0 ? 0 : 2, colour);
                    Surface().textOut(x, y, words[any(0, 6)]);
                    break;
                case 5: DrawLabel(x, y, any(8, 16), any(0, 10), any(0, 15), words[any(0, 6)]); break;
                case 6:
                    DrawRay(size, any(0, 359), x, y, penStyle, mode, colour, any(1, 6), 0, 0, 0, 0);
                    break;
                default:
                    SetDrawStyle(colour, 1, penStyle, mode, 2, 12);
                    Surface().moveTo(x, y);
                    Surface().lineTo(coordinate(), coordinate());
                    break;
            }
            if (i % 250 == 249) readings.push_back(Surface().image().copy());
        }
        return readings;
    };
    const BothWays both = DrawBothWays(draw);
    QCOMPARE(both.fast.size(), std::size_t{6});
    QVERIFY2(Disagreement(both).isEmpty(), qPrintable(Disagreement(both)));
}

// The frame's painter stays open between primitives; reading the picture must close it, so that a
// copy taken between two primitives holds the first and not the second.
void DrawingPathsTest::pictureIsCompleteWheneverItIsRead() {
    ResetDrawKit();
    DrawEllipse(100, 100, 60, 60, 0, 2, 0, 0, 0, 2);
    const QImage first = Surface().image();
    DrawRect(80, 80, 120, 120, 5, 1, 0, 0, 0, 9);
    QCOMPARE(first.pixel(100, 100), QColor(Qt::blue).rgb());
    QCOMPARE(Surface().image().pixel(100, 100), QColor(Qt::yellow).rgb());
    // Another painter may work on the surface between frames.
    {
        QPainter p(&Surface().image());
        QVERIFY(p.isActive());
        p.fillRect(0, 0, 10, 10, Qt::red);
    }
    DrawRect(5, 5, 20, 20, 5, 1, 0, 0, 0, 2);
    QCOMPARE(Surface().image().pixel(2, 2), QColor(Qt::red).rgb());
    QCOMPARE(Surface().image().pixel(10, 10), QColor(Qt::blue).rgb());
}

QTEST_MAIN(DrawingPathsTest)
// The field's grid is worked out from what is kept per charge place and sign. Charges that change
// size, change sign, fall to nothing, and layouts that come and go must still draw what the
// straightforward path draws, grid point for grid point.
void DrawingPathsTest::fieldGridsAsTheChargesChange() {
    struct Setting {
        const char16_t* layout;
        std::array<int, 4> q;
    };
    const std::vector<Setting> settings = {
        {u"四个点电荷", {3, -2, 4, -1}}, {u"四个点电荷", {5, -1, 4, -3}},  // sizes only
        {u"四个点电荷", {-3, 2, 4, -1}}, {u"四个点电荷", {3, -2, 0, -1}},  // signs, a charge of 0
        {u"三个点电荷", {1, 2, -3, 0}},  {u"两个点电荷", {2, -9, 0, 0}},   // other places
        {u"四个点电荷", {9, -9, 9, -9}}, {u"三个点电荷", {-1, -2, 3, 0}},  // back again
    };
    const auto draw = [&] {
        SetHost(&anyLayout);
        ResetProgramState();
        ExperimentCode = CodeOf("ElectricField");
        ElectricFieldReset();
        ElectricFieldChosen();
        std::vector<QImage> pictures;
        for (const Setting& s : settings) {
            anyLayout.text = QString::fromUtf16(s.layout);
            for (int i = 0; i < 4; ++i) ChargeQ[i] = s.q[static_cast<std::size_t>(i)];
            TickCount = 0;
            ElectricFieldStep();
            pictures.push_back(Surface().image().copy());
        }
        return pictures;
    };
    const BothWays both = DrawBothWays(draw);
    QVERIFY2(Disagreement(both).isEmpty(), qPrintable(Disagreement(both)));
}

#include "drawing_paths_test.moc"
