// Pulley systems: tensions and accelerations against Newton's second law solved here for every
// body, the motion, end ticks and clamps of each run, the read-out lines, the equations chosen by
// the directions of motion, the pictures, and presses that must be ignored.

#include "experiments/pulley.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <tuple>
#include <utility>
#include <vector>

#include "draw/canvas.h"
#include "draw/figures.h"
#include "draw/fonts.h"
#include "draw/shapes.h"
#include "draw/style.h"
#include "experiment_test_support.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "linear_solve.h"
#include "pictures.h"
#include "registry/registry.h"

using namespace vlab;
using namespace vlab::test;

namespace {

constexpr double g = 9.8;
constexpr QRgb kRed = 0xFF0000, kBlackPx = 0x000000, kSilverPx = 0xC0C0C0, kPanel = 0xF9EBBE;

using FakeHost = RecordingHost;
FakeHost host;

struct Newton {
    double t, a, a1;  // tension of the rope on A and B, the acceleration a, a1 (arrangement 3)
};

// Accelerations upward positive, massless ropes and pulleys.
Newton SolveNewton(int arrangement, double ma, double mb, double mc) {
    if (arrangement == 1) {  // unknowns T, aA, aB; one rope over a fixed pulley: aA = -aB
        const auto x = Solve({{1, -ma, 0}, {1, 0, -mb}, {0, 1, 1}}, {ma * g, mb * g, 0});
        return {x[0], x[2], 0};
    }
    if (arrangement == 2) {  // A hangs on two rope ends: 2T on A, and B moves twice as far
        const auto x = Solve({{2, -ma, 0}, {1, 0, -mb}, {0, 2, 1}}, {ma * g, mb * g, 0});
        return {x[0], x[2], 0};
    }
    // Unknowns T, T2 (the rope on C), aC, aP (movable pulley), aA, aB.
    const auto x = Solve({{0, 1, -mc, 0, 0, 0},
                          {-2, 1, 0, 0, 0, 0},
                          {0, 0, 1, 1, 0, 0},
                          {1, 0, 0, 0, -ma, 0},
                          {1, 0, 0, 0, 0, -mb},
                          {0, 0, 0, -2, 1, 1}},
                         {mc * g, 0, 0, ma * g, mb * g, 0});
    return {x[0], x[2], x[5] - x[3]};
}

// The lab window's part of what the user does.
void Reset() {
    MouseMoveActive = MouseClickActive = 0;
    TickCount = 0;
    PulleyReset();
}
void Setting() {
    Reset();
    MouseMoveActive = MouseClickActive = 1;
    PulleyStep();
}
const int kDiagramX[] = {0, 150, 320, 510};
// Setting, the click on a diagram, the masses set in the panel it opens, Start.
void Pick(int arrangement, double ma, double mb, double mc = 1) {
    Setting();
    host.panel = [=] {
        PulleyMassA = ma;
        PulleyMassB = mb;
        PulleyMassC = mc;
    };
    PulleyMouseDown(kDiagramX[arrangement], 80);
    host.panel = nullptr;
    MouseMoveActive = MouseClickActive = 0;
    host.stops = 0;
    host.memo.clear();
}
void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
        ++TickCount;
        PulleyStep();
    }
}
int RunToEnd() {
    while (host.stops == 0 && PulleyTicks < 2000) Tick();
    return PulleyTicks;
}

std::vector<QPoint> RedPixels(const QImage& image) {
    std::vector<QPoint> out;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Pixel(image, x, y) == kRed) out.emplace_back(x, y);
    return out;
}

// The red pixels of the given texts written alone in bold red of the given size on the panel.
std::vector<QPoint> RedOf(int size, const std::vector<std::pair<QPoint, QString>>& texts) {
    const QImage kept = Surface().image().copy();
    ClearArea(0, 0, 700, 550);
    DrawTiltedPanel2(3, 3, 90, 544, 696, 14, 3, 0);
    SetFont(1, size, 0);
    for (const auto& [at, text] : texts) Surface().textOut(at.x(), at.y(), text);
    const auto red = RedPixels(Surface().image());
    Surface().image() = kept;
    return red;
}

// The first row from `from` down where the column turns black: the top edge of a block.
int TopEdge(int column, int from) {
    for (int y = from; y < kSurfaceHeight; ++y)
        if (Pixel(column, y) == kBlackPx) return y;
    return -1;
}

// A block hangs on a rope: rope above its top edge, silver inside.
bool Hangs(int ropeX, int left, int top) {
    return Pixel(ropeX, top - 3) == kBlackPx && Pixel(ropeX, top) == kBlackPx &&
           Pixel(left + 3, top + 15) == kSilverPx;
}

}  // namespace

class PulleyTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        InstallFontSubstitutes();
        SetHost(&host);
    }
    void init() {
        ResetLabState();
        ResetDrawKit();
        PulleyResetProgramState();
        ExperimentCode = CodeOf("Pulley");
        host = FakeHost();
    }

    void tensionAndAccelerationsObeyNewtonForEveryMass() {
        for (int arrangement = 1; arrangement <= 3; ++arrangement)
            for (int ma = 1; ma <= 20; ++ma)
                for (int mb = 1; mb <= 20; ++mb)
                    for (int mc = 1; mc <= (arrangement == 3 ? 20 : 1); ++mc) {
                        PulleyArrangement = arrangement;
                        PulleyMassA = ma, PulleyMassB = mb, PulleyMassC = mc;
                        PulleyMotion.fill(0);
                        PulleySolve();
                        const Newton n = SolveNewton(arrangement, ma, mb, mc);
                        const QByteArray at =
                            QString("%1: %2 %3 %4").arg(arrangement).arg(ma).arg(mb).arg(mc).toUtf8();
                        QVERIFY2(std::fabs(PulleyTension - n.t) < 1e-9, at);
                        QVERIFY2(std::fabs(PulleyMotion[0] - n.a) < 1e-9, at);
                        QVERIFY2(std::fabs(PulleyMotion[1] - n.a1) < 1e-9, at);
                        if (arrangement == 3)
                            QVERIFY2(std::fabs(PulleyMotion[2] / PulleyMotion[3] - n.a) < 1e-12, at);
                    }
        PulleyArrangement = 4;  // no such arrangement: nothing is solved
        PulleyTension = -1;
        PulleySolve();
        QCOMPARE(PulleyTension, -1.0);
    }

    // From rest the offset after n ticks of 0.1 s is a t^2 / 2 = 0.005 a n^2, and the blocks are
    // drawn there, hanging on their ropes.
    void blocksFollowTheMotionOnTheirRopes() {
        Pick(1, 3, 1);
        const double a1 = SolveNewton(1, 3, 1, 1).a;
        for (int n : {1, 10, 37, 60}) {
            Tick(n - PulleyTicks);
            const double rise = 0.005 * a1 * n * n;
            QVERIFY(std::fabs(BodyY[0] - rise) < 1e-9);
            QCOMPARE(TopEdge(168, 72), int(260 - rise));  // B, right of the pulley's rim
            QVERIFY(Hangs(179, 165, int(260 - rise)) && Hangs(120, 105, int(260 + rise)));
            QVERIFY(Hangs(580, 565, int(260 - rise)) &&
                    Pixel(580, int(240 - rise)) == kBlackPx);  // T's arrow
        }
        Pick(2, 3, 1);
        const double a2 = SolveNewton(2, 3, 1, 1).a;
        Tick(50);
        const double rise = 0.005 * a2 * 2500;
        QVERIFY(std::fabs(BodyY[0] - rise) < 1e-9);
        QVERIFY(Hangs(209, 195, int(300 - rise)) && Hangs(120, 105, int(300 + rise / 2)));
        QCOMPARE(Pixel(100, int(240 + rise / 2) + 10), QRgb(0xD8E4F8));  // A's pulley moved with it

        Pick(3, 3, 1, 2);
        const Newton n3 = SolveNewton(3, 3, 1, 2);
        Tick(40);
        const double riseC = 0.005 * n3.a * 1600, riseB = 0.005 * n3.a1 * 1600;
        QVERIFY(std::fabs(BodyY[0] - riseC) < 1e-9 && std::fabs(BodyY[1] - riseB) < 1e-9);
        const double h = -riseC, m = -riseB;
        QVERIFY(Hangs(159, 145, int(310 + h)));                 // C on the fixed pulley
        QVERIFY(Hangs(70, 55, int(350 - m - h)));               // A on the movable pulley
        QVERIFY(Hangs(129, 115, int(350 + m - h)));             // B on the movable pulley
        QCOMPARE(Pixel(100, int(230 - h) - 3), kBlackPx);       // which hangs on the fixed one
        QVERIFY(Hangs(635, 620, int(310 + h)));                 // C's diagram: 2T's arrow above
        QCOMPARE(Pixel(445, int(380 - m - h) + 20), kBlackPx);  // A's weight below A
    }

    void runsEndAtTheirLimitsOnTheRightTick_data() {
        QTest::addColumn<int>("arrangement");
        QTest::addColumn<double>("ma");
        QTest::addColumn<double>("mb");
        QTest::addColumn<double>("mc");
        QTest::addColumn<int>("endTick");
        QTest::addRow("1: 3/1, B rises to the rim") << 1 << 3.0 << 1.0 << 1.0 << 89;
        QTest::addRow("1: 1/3, A rises to the rim") << 1 << 1.0 << 3.0 << 1.0 << 89;
        QTest::addRow("1: equal masses") << 1 << 2.0 << 2.0 << 1.0 << 1;
        QTest::addRow("2: 3/1, B rises") << 2 << 3.0 << 1.0 << 1.0 << 125;
        QTest::addRow("2: 1/1, B sinks") << 2 << 1.0 << 1.0 << 1.0 << 106;
        QTest::addRow("2: A twice B") << 2 << 2.0 << 1.0 << 1.0 << 1;
        QTest::addRow("3: all 1, C rises") << 3 << 1.0 << 1.0 << 1.0 << 90;
        QTest::addRow("3: 2/1/1, A sinks") << 3 << 2.0 << 1.0 << 1.0 << 73;
        QTest::addRow("3: 1/2/1, B sinks") << 3 << 1.0 << 2.0 << 1.0 << 73;
        QTest::addRow("3: 1/1/5, A rises") << 3 << 1.0 << 1.0 << 5.0 << 79;
        QTest::addRow("3: 3/1/2, B at its reach") << 3 << 3.0 << 1.0 << 2.0 << 68;
        QTest::addRow("3: balanced") << 3 << 2.0 << 2.0 << 4.0 << 1;
    }
    void runsEndAtTheirLimitsOnTheRightTick() {
        QFETCH(int, arrangement);
        QFETCH(double, ma);
        QFETCH(double, mb);
        QFETCH(double, mc);
        QFETCH(int, endTick);
        Pick(arrangement, ma, mb, mc);
        QCOMPARE(RunToEnd(), endTick);
        const Newton n = SolveNewton(arrangement, ma, mb, mc);
        const double free0 = 0.005 * n.a * endTick * endTick, free1 = 0.005 * n.a1 * endTick * endTick;
        const double reach = arrangement == 1 ? 190 : arrangement == 2 ? 218 : 1e9;
        const double c0 =
            arrangement == 3 ? std::clamp(free0, -380.0, 130.0) : std::clamp(free0, -reach, reach);
        const double c1 = std::clamp(free1, -90.0, 90.0);
        QVERIFY(std::fabs(BodyY[0] - c0) < 1e-9 && std::fabs(BodyY[1] - c1) < 1e-9);
        if (arrangement == 3 && endTick > 1) {  // one of the limits is met, and none a tick before
            const auto met = [](double y0, double y1) {
                return y0 >= 130 || y0 <= -380 || std::fabs(y1) >= 90 || y1 + y0 <= -128 || y1 + y0 >= 166 ||
                       y0 - y1 >= 166;
            };
            const double k = 0.005 * (endTick - 1) * (endTick - 1);
            QVERIFY(met(c0, c1) && !met(n.a * k, n.a1 * k));
        }
        QCOMPARE(host.memo.size(), arrangement == 3 ? 2 : 1);
        QCOMPARE(RedPixels(Surface().image()).empty(), std::fabs(n.a) < 1e-9);
        if (endTick == 1) QCOMPARE(BodyY[0], 0.0);
    }

    // The tick that reaches a limit draws the clamped picture.
    void lastTickDrawsTheClampedPicture() {
        Pick(1, 3, 1);
        RunToEnd();
        QCOMPARE(TopEdge(168, 66), 70);  // B's block spans 70..100 under the rim
        QCOMPARE(Pixel(168, 85), kSilverPx);
        QCOMPARE(Pixel(168, 100), kPanel);
        QVERIFY(Hangs(120, 105, 450));
        Pick(3, 3, 1, 2);
        RunToEnd();
        QCOMPARE(BodyY[1], 90.0);
        QVERIFY(Hangs(129, 115, int(350 - 90 + BodyY[0])));  // B 90 px above its rest against the pulley
    }

    void readOutLinesAreWrittenOncePerRun() {
        Pick(1, 3, 1);
        Tick(30);  // a pause only holds the ticks back; the count goes on after Continue
        Tick(30);
        QCOMPARE(
            host.memo,
            QStringList{"Ma绳张力 = 14.7       Mb绳张力 = 14.7       Ma加速度 = -4.9       Mb加速度 = 4.9 "});
        QCOMPARE(PulleyTicks, 60);
        Pick(2, 3, 1);
        Tick(2);
        QCOMPARE(host.memo,
                 QStringList{
                     "Ma绳张力 = 25.2       Mb绳张力 = 12.6       Ma加速度  = -1.4       Mb加速度  = 2.8"});
        Pick(2, 2, 1);  // a zero acceleration reads 0, never -0
        Tick();
        QCOMPARE(host.memo,
                 QStringList{"Ma绳张力 = 19.6       Mb绳张力 = 9.8       Ma加速度  = 0       Mb加速度  = 0"});
        Pick(3, 1, 1, 1);
        Tick(3);
        QCOMPARE(host.memo,
                 (QStringList{"Ma绳张力 = 6.533       Mb绳张力 = 6.533       Mc绳张力 = 13.067 ",
                              "Ma加速度 = -3.267       Mb加速度 = -3.267       Mc加速度 = 3.267 "}));
    }

    // Only the equations of the present directions of motion are written, in red; none while a is
    // 0, whatever a1 does.
    void equationsFollowTheDirectionsOfMotion() {
        struct Case {
            int arrangement;
            double ma, mb, mc;
            QStringList texts;  // arrangements 1 and 2: A's, B's; 3: C's, A's, B's
        };
        const std::vector<QPoint> where[] = {
            {}, {{265, 520}, {485, 520}}, {{245, 520}, {465, 520}}, {{555, 520}, {380, 480}, {480, 500}}};
        const QString c1 = "2T - Mc × g=Mc × a", c2 = "Mc × g -2T=Mc × a";
        const std::vector<Case> cases{
            {1, 3, 1, 1, {"Ma × g - T = Ma × a", "T - Mb × g = Mb × a"}},
            {1, 1, 3, 1, {"T - Ma × g = Ma × a", "Mb × g - T = Mb × a"}},
            {2, 3, 1, 1, {"Ma × g - 2T = Ma × a", "T - Mb × g = Mb × a1"}},
            {2, 1, 1, 1, {"2T - Ma × g = Ma × a", "Mb × g - T = Mb × a1"}},
            {3, 2, 1, 1, {c1, "Ma × (g-a) - T=Ma × a1", "T - Mb × (g-a)=Mb × a1"}},
            {3, 1, 1, 1, {c1, "Ma × g - T=Ma × a", "Mb × g - T=Mb × a"}},
            {3, 1, 2, 1, {c1, "T - Ma × (g-a)=Ma × a1", "Mb × (g-a) - T=Mb × a1"}},
            {3, 2, 1, 5, {c2, "Ma × (g+a) - T=Ma × a1", "T - Mb × (g+a)=Mb × a1"}},
            {3, 1, 1, 5, {c2, "T - Ma × g=Ma × a", "T - Mb × g=Mb × a"}},
            {3, 1, 2, 5, {c2, "T - Ma × (g+a)=Ma × a1", "Mb × (g+a) - T=Mb × a1"}},
            {3, 3, 6, 8, {}},  // a = 0 while A and B still move against their pulley
        };
        for (const Case& c : cases) {
            Pick(c.arrangement, c.ma, c.mb, c.mc);
            Tick(3);
            const QByteArray at =
                QString("%1: %2 %3 %4").arg(c.arrangement).arg(c.ma).arg(c.mb).arg(c.mc).toUtf8();
            std::vector<std::pair<QPoint, QString>> texts;
            for (int i = 0; i < c.texts.size(); ++i) texts.emplace_back(where[c.arrangement][i], c.texts[i]);
            const auto expected = RedOf(c.arrangement == 3 ? 10 : 14, texts);
            QVERIFY2(RedPixels(Surface().image()) == expected, at);
            QVERIFY2(c.texts.empty() || !expected.empty(), at);
        }
        QCOMPARE(host.stops, 0);  // the last case moves on with a = 0
        QVERIFY(BodyY[1] < 0 && BodyY[0] == 0);
    }

    void choiceScreenAndRestPictures() {
        Setting();
        QVERIFY(SavePicture(Surface().image(), QStringLiteral("pulley_choice.png")));
        for (auto [x, y] :
             {std::pair{130, 140}, {170, 140}, {300, 140}, {360, 140}, {480, 140}, {520, 140}, {540, 120}})
            QCOMPARE(Pixel(x, y), kSilverPx);
        for (auto [x, y] : {std::pair{140, 35}, {330, 35}, {290, 95}, {490, 95}, {510, 35}})
            QCOMPARE(Pixel(x, y), QRgb(0xD8E4F8));
        QCOMPARE(Pixel(280, 10), kBlackPx);  // diagram 2's rope tied to the top edge
        for (int n = 1; n <= 3; ++n) {
            Setting();
            PulleyMouseDown(kDiagramX[n], 80);
            QVERIFY(RedPixels(Surface().image()).empty());  // at rest, without equations
            QVERIFY(SavePicture(Surface().image(), QStringLiteral("pulley%1_rest.png").arg(n)));
        }
        QVERIFY(Hangs(129, 115, 350) && Hangs(159, 145, 310) && Hangs(70, 55, 350));
    }

    void pressesOutsideTheDiagramsOrOutOfTurnChangeNothing() {
        PulleyArrangement = 2;
        PulleyMouseDown(150, 80);  // chosen, before Setting
        QCOMPARE(host.panels, 0);
        Setting();
        const QImage choice = Surface().image().copy();
        for (auto [x, y] : {std::pair{110, 80},
                            {190, 80},
                            {280, 80},
                            {360, 80},
                            {480, 80},
                            {540, 80},
                            {150, 0},
                            {150, 160},
                            {250, 80},
                            {420, 80},
                            {600, 80},
                            {545, 120},
                            {-5, -5},
                            {320, 300}}) {
            PulleyMouseDown(x, y);
            PulleyMouseUp(x, y);
        }
        QCOMPARE(host.panels, 0);
        QCOMPARE(PulleyArrangement, 2);
        QVERIFY(!host.startEnabled);
        QVERIFY(Surface().image() == choice);
        // Just inside the edges each diagram takes the click.
        host.panel = [] { PanelAccepted = 1; };
        for (auto [x, y, n] :
             {std::tuple{111, 1, 1}, {189, 159, 1}, {281, 1, 2}, {359, 159, 2}, {481, 80, 3}, {539, 80, 3}}) {
            Setting();
            host.startEnabled = false;
            PulleyMouseDown(x, y);
            QCOMPARE(PulleyArrangement, n);
            QVERIFY(host.startEnabled);
        }
        QCOMPARE(host.panels, 6);
        // A panel left by its Exit leaves Start off: the set-up was abandoned.
        host.panel = [] { PanelAccepted = 0; };
        Setting();
        host.startEnabled = false;
        PulleyMouseDown(150, 80);
        QVERIFY(!host.startEnabled);
        host.panel = nullptr;
        QCOMPARE(host.panels, 7);

        // One choice per set-up, and none while running; the panel left without values keeps the
        // masses and draws the arrangement at rest.
        Pick(1, 3, 1);
        const QImage rest = Surface().image().copy();
        PulleyMouseDown(320, 80);
        QVERIFY(Surface().image() == rest && PulleyArrangement == 1);
        Tick(5);
        const QImage running = Surface().image().copy();
        const double y = BodyY[0];
        PulleyMouseDown(510, 80);
        QVERIFY(Surface().image() == running && BodyY[0] == y && PulleyArrangement == 1 && host.panels == 8);
    }

    void newChoiceResetsEverythingButTheArrangement() {
        Pick(3, 4, 2, 7);
        Tick(20);
        Reset();  // the experiment chosen again
        QCOMPARE(PulleyArrangement, 3);
        QVERIFY(PulleyMassA == 1 && PulleyMassB == 1 && PulleyMassC == 1 && PulleyTension == 0);
        QVERIFY(PulleyTicks == 0 && PulleyMotion == (std::array<double, 4>{}));
        QVERIFY(BodyY[0] == 0 && BodyY[1] == 0 && BodyVY[0] == 0 && BodyVY[1] == 0);
        PulleyArrangement = 0;  // a tick with nothing chosen only counts and clears
        host.memo.clear();
        Tick();
        QVERIFY(PulleyTicks == 1 && host.memo.isEmpty() && BodyY[0] == 0);
    }
};

QTEST_MAIN(PulleyTest)
#include "pulley_test.moc"
