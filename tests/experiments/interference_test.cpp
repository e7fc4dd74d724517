// Double-slit interference: the wave fronts' speed and spacing, when each wave starts, where the
// fringe column puts its bright and dark bands against the path difference worked out from the
// geometry, the sum wave against the sum of two equal sine waves, and the clickable controls with
// their edges.

#include "experiments/interference.h"

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

constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kPurple = 0x800080;
constexpr QRgb kYellow = 0xFFFF00;
constexpr QRgb kPaleBlue = 0xD8E4F8;

// The lab window's part of the user's sequence: Setting resets, draws, then turns the mouse on;
// Start leaves the mouse on; every tick counts before the step.
void Setting() {
    MouseMoveActive = MouseClickActive = 0;
    TickCount = 0;
    InterferenceReset();
    InterferenceStep();
    MouseMoveActive = MouseClickActive = 1;
}
void Tick(int n = 1) {
    for (int i = 0; i < n; ++i) {
        ++TickCount;
        InterferenceStep();
    }
}
void Press(int x, int y) { InterferenceMouseDown(x, y); }
void Move(int x, int y) {
    if (MouseMoveActive == 1) InterferenceMouseMove(x, y);
}
void PressLight() { Press(50, 265); }
void PressSpacing() { Press(290, 265); }

// The tank's geometry: slits at x 200, y 110 -+ gap; the screen at x 500.
double PathDifference(double y, double gap) {
    return std::hypot(300.0, y - 110 + gap) - std::hypot(300.0, y - 110 - gap);
}

// Brightness of a fringe row read back from the picture, 0 dark to 2 bright: red light spans red
// 130..255, violet light blue 125..255.
double ColumnBrightness(int row, bool violet) {
    const QRgb c = Pixel(560, row);
    return violet ? (qBlue(c) - 125) / 65.0 : (qRed(c) - 130) / 62.5;
}

// Ticks until the fringe column shows, then one tick more.
void RunUntilFringes() {
    for (int guard = 0; Pixel(560, 110) == kPaleBlue && guard < 400; ++guard) Tick();
    Tick();
}

// Half the vertical extent of the pixels of one colour in the graph band.
double HalfSwing(QRgb colour) {
    int top = 10000, bottom = -1;
    for (int y = 290; y < 378; ++y)
        for (int x = 12; x < 686; ++x)
            if (Pixel(x, y) == colour) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    return bottom < 0 ? -1 : (bottom - top) / 2.0;
}

// Rightmost pixel of a colour on a row within [left, right].
int RightmostOnRow(QRgb colour, int row, int left, int right) {
    for (int x = right; x >= left; --x)
        if (Pixel(x, row) == colour) return x;
    return -1;
}

}  // namespace

class InterferenceTest : public QObject {
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
        InterferenceResetProgramState();
        host = FakeHost();
        ExperimentCode = CodeOf("Interference");
    }

    void resetPutsEverythingBackAndAsksForTheSlowBar() {
        Setting();
        PressLight();
        PressSpacing();
        Press(500, 30);
        Tick(150);
        KitSlots[5] = 9;
        InterferenceReset();
        QCOMPARE(LightChoice, 0);
        QCOMPARE(WaveFactor, 4.0);
        QCOMPARE(SlitHalfGap, 40.0);
        QCOMPARE(ProbeY, 110.0);
        QCOMPARE(PhaseHalfWaves, 1.0);
        for (int v : KitSlots) QCOMPARE(v, 0);
        QCOMPARE(host.timerIntervals.back(), 400);
        QCOMPARE(host.speedBars.back(), (std::array<int, 4>{100, 700, 400, 10}));
    }

    // Tick 0: the empty tank, barriers, rays, buttons and formulas; no wave and no fringes.
    void setUpPictureHasNoWaveYet() {
        Setting();
        QCOMPARE(CountColour(Surface().image(), kRed, Box(3, 11, 500, 210)) +
                     CountColour(Surface().image(), kPurple, Box(3, 11, 500, 210)),
                 0);
        QCOMPARE(Pixel(560, 110), kPaleBlue);
        // The rays from both slits meet at the observation point (500, 110).
        QCOMPARE(Pixel(350, 90), kYellow);
        QCOMPARE(Pixel(350, 130), kYellow);
        QCOMPARE(Pixel(100, 50), QRgb(0x808000));  // the single-slit barrier
        QCOMPARE(Pixel(100, 110), kPaleBlue);      // ... with its slit
        QCOMPARE(Pixel(200, 70), kYellow);         // a slit, where its ray starts
        QCOMPARE(Pixel(50, 275), QRgb(0xFCCEA7));  // the light button
        QCOMPARE(Pixel(20, 540), QRgb(0xFCCEA7));  // the formula box
        QVERIFY(CountColour(Surface().image(), 0x0000FF, Box(100, 253, 161, 276)) > 0);  // ": 红光"
        QVERIFY(CountColour(Surface().image(), 0x0000FF, Box(340, 253, 371, 276)) > 0);  // ": 中"
        QCOMPARE(SourceWaveTicks + SlitWaveTicks, 0);
    }

    // The plane wave shows from tick 2; its front moves WaveFactor px a tick and the fronts are a
    // wavelength (3 WaveFactor) apart. The source wave starts as the plane wave arrives, the slit
    // waves as the source wave has covered the 100 px to the slits, the fringes as the slit waves
    // have covered the 300 px to the screen.
    void startUpThresholdsForBothLights() {
        struct Case {
            int light;
            double factor;
            int sourceTick, sourceStepsForSlits, slitStepsForFringes;
        };
        for (const Case c : {Case{0, 5, 18, 22, 60}, Case{1, 4, 23, 27, 75}}) {
            Setting();
            if (c.light == 1) PressLight();
            const QRgb colour = c.light ? kPurple : kRed;
            int planeTick = -1, sourceTick = -1, sourceAtSlits = -1, slitsAtFringes = -1;
            for (int t = 1; t <= 200; ++t) {
                Tick();
                if (planeTick < 0 && CountColour(Surface().image(), colour, Box(4, 60, 99, 160)) > 0)
                    planeTick = t;
                if (t >= 3 && t <= 16) {
                    // The rightmost plane front is at 3 + WaveFactor (t + 1) once the frame's own
                    // WaveFactor is in use.
                    const int front = RightmostOnRow(colour, 100, 4, 98);
                    QCOMPARE(front, static_cast<int>(3 + c.factor * (t + 1)));
                    QCOMPARE(Pixel(front - static_cast<int>(3 * c.factor), 100), colour);
                }
                if (sourceTick < 0 && SourceWaveTicks > 0) sourceTick = t;
                if (SourceWaveTicks > 0 && SourceWaveTicks <= 15) {
                    // The outermost source ring has run WaveFactor px a step from S0.
                    QCOMPARE(RightmostOnRow(colour, 110, 101, 198),
                             static_cast<int>(100 + c.factor * (SourceWaveTicks + 1)));
                }
                if (sourceAtSlits < 0 && SlitWaveTicks > 0) sourceAtSlits = SourceWaveTicks;
                if (slitsAtFringes < 0 && Pixel(560, 110) != kPaleBlue) slitsAtFringes = SlitWaveTicks;
            }
            QCOMPARE(planeTick, 2);
            QCOMPARE(sourceTick, c.sourceTick);
            QCOMPARE(sourceAtSlits, c.sourceStepsForSlits);
            QCOMPARE(slitsAtFringes, c.slitStepsForFringes);
        }
    }

    // After 90 steps each source keeps 31 rings (the fronts' count is capped at 30 past the
    // first) and the tank only cycles, with the period of one wavelength: 3 steps.
    void ringsStopAtTheirCapAndCycle() {
        Setting();
        Tick(300);
        QCOMPARE(KitSlots[7], 30);
        QCOMPARE(KitSlots[10], 30);
        QCOMPARE(KitSlots[14], 30);
        QCOMPARE(KitSlots[17], 20);
        const QImage before = Surface().image().copy(0, 0, 505, 212);
        Tick(3);
        QCOMPARE(Surface().image().copy(0, 0, 505, 212), before);
        Tick(1);
        QVERIFY(Surface().image().copy(0, 0, 505, 212) != before);
        QVERIFY(SourceWaveTicks > 280);  // the counters keep counting
    }

    // The rings are centred on their slits and a wavelength apart, and nothing of them is drawn
    // beyond the barriers, the screen or the walls.
    void ringsCentredOnTheSlitsAndClipped() {
        for (int light : {0, 1}) {
            Setting();
            if (light) PressLight();
            RunUntilFringes();
            Tick(7);
            const QRgb colour = light ? kPurple : kRed;
            const double f = WaveFactor, lambda = 3 * f;
            // After `travelled` steps the fronts lie at WaveFactor (travelled + 1) and every
            // wavelength inside that (the outermost ones stop at the cap, far off the screen).
            const auto radii = [&](int travelled) {
                std::vector<double> r;
                for (double x = f * (travelled + 1); x > 0; x -= lambda) r.push_back(x);
                return r;
            };
            for (double r : radii(SourceWaveTicks))
                if (r < 98) QCOMPARE(Pixel(static_cast<int>(100 + r), 110), colour);
            for (double y : {70.0, 150.0})
                for (double r : radii(SlitWaveTicks))
                    if (r > 8 && r < 298)
                        QCOMPARE(Pixel(static_cast<int>(200 + r), static_cast<int>(y)), colour);
            // Nothing beyond the screen (but the fringe column), above or below the walls.
            QCOMPARE(CountColour(Surface().image(), colour, Box(503, 0, 518, 246)), 0);
            QCOMPARE(CountColour(Surface().image(), colour, Box(604, 0, 700, 246)), 0);
            QCOMPARE(CountColour(Surface().image(), colour, Box(3, 212, 501, 246)), 0);
            QCOMPARE(CountColour(Surface().image(), colour, Box(3, 0, 501, 9)), 0);
            // The plane wave is 100 px high.
            QCOMPARE(CountColour(Surface().image(), colour, Box(3, 11, 98, 60)), 0);
        }
    }

    // Bright bands where the path difference is a whole number of wavelengths, dark ones at odd
    // half wavelengths, for both lights and all three spacings: every screen row within a tenth
    // of a half wave of either shows within 0.1 of full or no brightness. Each 4 px bar is drawn
    // over by the next ones, so the column shows a row up to 2 px higher.
    void fringesLieWhereThePathDifferenceSaysSo() {
        for (int light : {0, 1})
            for (double gap : {30.0, 40.0, 50.0}) {
                Setting();
                if (light) PressLight();
                while (SlitHalfGap != gap) PressSpacing();
                RunUntilFringes();
                const bool violet = light == 1;
                const double lambda = violet ? 12 : 15;
                int bright = 0, dark = 0;
                for (int y = 14; y <= 206; ++y) {
                    const double h = std::fabs(PathDifference(y, gap)) / lambda * 2;
                    if (std::fabs(h - std::round(h)) > 0.1) continue;
                    const bool isBright = std::lround(h) % 2 == 0;
                    double best = isBright ? -1 : 3;
                    for (int r = y - 3; r <= y + 1; ++r)
                        best = isBright ? std::max(best, ColumnBrightness(r, violet))
                                        : std::min(best, ColumnBrightness(r, violet));
                    QVERIFY2(isBright ? best > 1.9 : best < 0.1,
                             qPrintable(QStringLiteral("light %1 gap %2 row %3").arg(light).arg(gap).arg(y)));
                    ++(isBright ? bright : dark);
                }
                QVERIFY(bright >= 3 && dark >= 2);
                // The central band (path difference 0) is the brightest: violet light there has
                // red 180, red light no blue at all.
                int centre = 105;
                for (int y = 105; y <= 112; ++y)
                    if (ColumnBrightness(y, violet) > ColumnBrightness(centre, violet)) centre = y;
                QCOMPARE(ColumnBrightness(centre, violet), 2.0);
                QCOMPARE(violet ? qRed(Pixel(560, centre)) : qBlue(Pixel(560, centre)), violet ? 180 : 0);
            }
    }

    // Two equal waves 14 px high with a phase shift of h half waves add up to a wave of
    // 28 |cos(h pi / 2)|: twice the amplitude at a bright point, flat at a dark one.
    void sumWaveFollowsThePhaseAtTheProbe() {
        Setting();
        RunUntilFringes();
        const double lambda = 15;
        int dark = 110;  // the row above the centre nearest to half a wavelength
        for (int y = 60; y < 110; ++y)
            if (std::fabs(std::fabs(PathDifference(y, 40)) - lambda / 2) <
                std::fabs(std::fabs(PathDifference(dark, 40)) - lambda / 2))
                dark = y;
        for (int probe : {110, 52, dark, 96, 30}) {
            Press(500, probe);
            QCOMPARE(ProbeY, double(probe));
            const double h = std::fabs(PathDifference(probe, 40)) / lambda * 2;
            QVERIFY(std::fabs(PhaseHalfWaves - h) < 1e-3);
            QVERIFY(std::fabs(PathDiff - PathDifference(probe, 40)) < 1e-3);
            QVERIFY(std::fabs(PathToUpperSlit - std::hypot(300.0, probe - 70.0)) < 1e-3);
            const double expected = 28 * std::fabs(std::cos(h * pi / 2));
            QVERIFY2(
                std::fabs(HalfSwing(kYellow) - expected) <= 1.5,
                qPrintable(
                    QString("probe %1: %2 against %3").arg(probe).arg(HalfSwing(kYellow)).arg(expected)));
            QVERIFY(std::fabs(HalfSwing(kRed) - 14) <= 1.5);
        }
        // The graph runs right by 5/3 px a tick: after 3 ticks it is the same picture 5 px on.
        Press(500, 96);
        const QImage before = Surface().image().copy(20, 300, 650, 80);
        Tick(3);
        QCOMPARE(Surface().image().copy(25, 300, 650, 80), before);
    }

    void pressesOnTheControlsAndTheirEdges() {
        Setting();
        // The light button: strictly inside 10 < x < 90, 250 < y < 280.
        for (auto [x, y] : {std::pair{10, 265}, {90, 265}, {50, 250}, {50, 280}}) Press(x, y);
        QCOMPARE(LightChoice, 0);
        for (auto [x, y] : {std::pair{11, 265}, {89, 265}, {50, 251}, {50, 279}, {11, 251}}) Press(x, y);
        QCOMPARE(LightChoice, 1);
        QCOMPARE(WaveFactor, 4.0);

        // The spacing button: 30 -> 40 -> 50 -> 30; three clicks come back to medium.
        for (auto [x, y] : {std::pair{250, 265}, {330, 265}, {290, 250}, {290, 280}}) Press(x, y);
        QCOMPARE(SlitHalfGap, 40.0);
        std::vector<double> gaps;
        for (auto [x, y] : {std::pair{251, 265}, {329, 251}, {290, 279}}) {
            Press(x, y);
            gaps.push_back(SlitHalfGap);
        }
        QCOMPARE(gaps, (std::vector<double>{50, 30, 40}));

        // The screen line: 496 < x < 505, within the walls only.
        for (auto [x, y] : {std::pair{496, 100}, {505, 100}, {500, 10}, {500, 210}, {500, 0}, {500, 548}})
            Press(x, y);
        QCOMPARE(ProbeY, 110.0);
        Press(497, 11);
        QCOMPARE(ProbeY, 11.0);
        Press(504, 209);
        QCOMPARE(ProbeY, 209.0);
        Press(-3, -3);
        Press(5000, 270);
        QCOMPARE(ProbeY, 209.0);
        QCOMPARE(TickCount, 0);
    }

    // Every press redraws; once the waves run it steps the ring counters but not the tick.
    void pressRedrawsAndStepsTheRingsOnly() {
        Setting();
        Tick(50);
        const int source = SourceWaveTicks, slits = SlitWaveTicks, repaints = host.repaints;
        Press(600, 500);  // on no control
        QCOMPARE(TickCount, 50);
        QCOMPARE(SourceWaveTicks, source + 1);
        QCOMPARE(SlitWaveTicks, slits + 1);
        QCOMPARE(host.repaints, repaints + 1);

        // With the press handling off nothing changes and nothing is drawn.
        MouseClickActive = 0;
        PressLight();
        PressSpacing();
        Press(500, 40);
        QCOMPARE(LightChoice, 0);
        QCOMPARE(SlitHalfGap, 40.0);
        QCOMPARE(ProbeY, 110.0);
        QCOMPARE(SourceWaveTicks, source + 1);
        QCOMPARE(host.repaints, repaints + 1);
    }

    void handCursorOverTheControls() {
        Setting();
        const std::pair<int, int> hand[] = {{11, 251},  {89, 279},  {497, 11},
                                            {503, 209}, {251, 251}, {329, 279}};
        const std::pair<int, int> plain[] = {{10, 265},  {90, 265},  {496, 100}, {504, 100}, {500, 10},
                                             {500, 210}, {250, 265}, {330, 265}, {290, 280}, {170, 265}};
        for (auto [x, y] : hand) {
            Move(x, y);
            QVERIFY2(host.cursor == SurfaceCursor::Hand, qPrintable(QString("%1 %2").arg(x).arg(y)));
            InterferenceMouseUp(x, y);
            QCOMPARE(host.cursor, SurfaceCursor::Default);
            Move(x, y);
        }
        for (auto [x, y] : plain) {
            Move(11, 251);
            Move(x, y);
            QVERIFY2(host.cursor == SurfaceCursor::Default, qPrintable(QString("%1 %2").arg(x).arg(y)));
        }
        MouseMoveActive = 0;
        InterferenceMouseMove(50, 265);
        QCOMPARE(host.cursor, SurfaceCursor::Default);
    }

    // A light change while running recolours and respaces every ring at once; the plane wave is
    // drawn before the frame takes the new light, so it changes one frame later.
    void lightToggledWhileRunning() {
        Setting();
        Tick(130);
        QVERIFY(Pixel(560, 110) != kPaleBlue);
        PressLight();
        QCOMPARE(CountColour(Surface().image(), kRed, Box(101, 11, 500, 210)), 0);
        QVERIFY(CountColour(Surface().image(), kPurple, Box(101, 11, 500, 210)) > 1000);
        QVERIFY(CountColour(Surface().image(), kRed, Box(4, 60, 99, 160)) > 0);
        QCOMPARE(CountColour(Surface().image(), kPurple, Box(4, 60, 99, 160)), 0);
        QVERIFY(qBlue(Pixel(560, 110)) >= 125);  // the fringes are violet at once
        QVERIFY(CountColour(Surface().image(), kRed, Box(12, 300, 687, 379)) == 0 &&
                CountColour(Surface().image(), kPurple, Box(12, 300, 687, 379)) > 0);
        Tick();
        QCOMPARE(CountColour(Surface().image(), kRed, Box(4, 60, 99, 160)), 0);
        QVERIFY(CountColour(Surface().image(), kPurple, Box(4, 60, 99, 160)) > 0);
        // And back: the fronts are 15 px apart again.
        PressLight();
        Tick();
        const int front = RightmostOnRow(kRed, 100, 4, 98);
        QCOMPARE(Pixel(front - 15, 100), kRed);
        QVERIFY(Pixel(front - 12, 100) != kRed);
    }

    // The user's own sequence, with the pictures written into the build folder to look at.
    void picturesOfEachLightAndSpacing() {
        Setting();
        QVERIFY(SavePicture(Surface().image(), QStringLiteral("interference_setup.png")));
        RunUntilFringes();
        QVERIFY(SavePicture(Surface().image(), QStringLiteral("interference_red_medium.png")));
        PressLight();
        RunUntilFringes();
        for (const char* name : {"violet_large", "violet_small", "violet_medium"}) {
            PressSpacing();
            QVERIFY(SavePicture(Surface().image(),
                                QStringLiteral("interference_%1.png").arg(QLatin1String(name))));
        }
        QJsonObject dump;
        InterferenceDescribe(dump);
        QCOMPARE(dump["LightChoice"].toInt(), 1);
        QCOMPARE(dump["SlitHalfGap"].toDouble(), 40.0);
        QCOMPARE(dump["PhaseHalfWaves"].toDouble(), 0.0);
    }
};

QTEST_MAIN(InterferenceTest)
#include "interference_test.moc"
