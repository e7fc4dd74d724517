// Double-slit interference (code 205), drawn as a ripple tank. A plane wave comes in from the
// left, passes the single slit S0 at (100, 110), spreads in half-circles to the barrier at x 200
// with the two slits S1 and S2, and the two circular waves from those slits travel on to the
// screen at x 500. Once they have crossed the 300 px to the screen, the fringe column beside the
// screen shows the brightness of every screen row, and the graph under the tank plots the two
// waves arriving at the observation point and their sum. The light, the slit spacing and the
// observation point are chosen by clicking, also while the animation runs.
//
// Units: lengths in pixels of the surface, time in ticks. The wavelength is 3 * WaveFactor px
// (15 red, 12 violet) and every front moves WaveFactor px per step, so a new front leaves a source
// every 3 steps.

#include "experiments/interference.h"

#include <QColor>
#include <QString>

#include <algorithm>
#include <cmath>

#include "draw/canvas.h"
#include "draw/figures.h"
#include "draw/numeric.h"
#include "draw/shapes.h"
#include "draw/style.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "lab/lab_vars.h"

namespace vlab {

int LightChoice = 0;
double WaveFactor = 4.0;
double SlitHalfGap = 40.0;
double SlitCentreY = 110.0;
double SourceSlitX = 100.0;
double ScreenX = 500.0;
double ProbeY = 110.0;
double PathToUpperSlit = 0.0;
double PathDiff = 0.0;
double PhaseHalfWaves = 1.0;

namespace {

// Colour codes and font colour indices used below.
constexpr int kBlue = 2;
constexpr int kOlive = 3;
constexpr int kPurple = 4;
constexpr int kYellow = 9;
constexpr int kPaleBlue = 11;
constexpr int kLightBrown = 18;
constexpr int kApricot = 20;
// DrawRay with this colour code keeps the pen colour that was set directly before it.
constexpr int kKeepPen = 100;

// The wavefront routines keep their front counts in these KitSlots entries. Entries 0 and 1 hold
// the two travelled counts themselves, and a call naming entry 0 or 1 would draw nothing.
constexpr int kPlaneSlot = 17;
constexpr int kSourceSlot = 7;
constexpr int kUpperSlitSlot = 10;
constexpr int kLowerSlitSlot = 14;

// The spacing of the fronts in steps: one front every 3 steps, so the wavelength is 3 * WaveFactor.
constexpr double kFrontSteps = 3.0;

// How far each wave runs before the next one starts, pixels: the plane wave to the single slit,
// the source wave to the double slit, the slit waves to the screen. Divided by WaveFactor they
// give the steps each one needs.
constexpr double kToSingleSlit = 100.0;
constexpr double kToDoubleSlit = 100.0;
constexpr double kToScreen = 300.0;

// The tank: walls at y 10 and 210; the observation point may lie on the screen between them.
constexpr double kTankTop = 10.0;
constexpr double kTankBottom = 210.0;
constexpr double kProbeMin = 11.0;
constexpr double kProbeMax = 209.0;

// The fringe column beside the screen: one bar of width 4 per screen row.
constexpr double kFringeLeft = 520.0;
constexpr double kFringeLength = 80.0;

// The graph of the two waves at the observation point: centre line y 340, amplitude 14 px, 3
// degrees of phase per pixel (a wavelength of 120 px), moving 5 degrees a tick (5/3 px).
constexpr double kGraphMidY = 340.0;
constexpr double kGraphAmplitude = 14.0;
constexpr double kGraphFirstX = 10.0;
constexpr double kGraphLastX = 690.0;
constexpr double kGraphStepX = 5.0;
constexpr double kGraphPhaseX = 348.0;  // phase 0 at tick 0

// Colour code of the wavefronts and the two single graph waves: 0 (red) for WaveFactor 5, 4
// (purple) for WaveFactor 4.
int WaveColour() { return TruncToInt(-(WaveFactor - 5) * 4); }

// Path difference r1 - r2 from the two slits to the screen point (ScreenX, y), each distance
// rounded to 3 decimals; r1 goes to the upper slit S1.
struct Paths {
    double toUpper;
    double diff;
};
Paths PathsTo(double y) {
    const double dx = ScreenX - 2 * SourceSlitX;
    const double dyUpper = y - SlitCentreY + SlitHalfGap;
    const double dyLower = y - SlitCentreY - SlitHalfGap;
    const double r1 = RoundTo(std::sqrt(dx * dx + dyUpper * dyUpper), 3);
    const double r2 = RoundTo(std::sqrt(dx * dx + dyLower * dyLower), 3);
    return {r1, r1 - r2};
}

// The path difference in half wavelengths (always >= 0).
double HalfWaves(double pathDiff) { return AbsReal(pathDiff / (WaveFactor * kFrontSteps)) * 2; }

// One colour channel of a fringe bar, kept within 0..255.
int Channel(double value) {
    const int v = TruncToInt(value) % 256;
    return v < 0 ? v + 256 : v;
}

// The colour of the fringe bar of a row whose path difference is h half wavelengths: brightest
// (I = 2) at a whole number of wavelengths, darkest (I = 0) at an odd number of half wavelengths.
QColor FringeColour(double h) {
    const double brightness = std::sin((h + 0.5) * kPi) + 1;
    if (WaveFactor == 5) return QColor(Channel(130 + RoundTo(brightness * 50 * 1.25, 0)), 0, 0);
    return QColor(Channel(80 + RoundTo(brightness * 50, 0)), 0,
                  Channel(125 + RoundTo(brightness * 50 * 1.3, 0)));
}

// Heights of the two graph waves at graph x: wave A carries the phase shift of the path
// difference, wave B none.
struct GraphPoint {
    double a;
    double b;
};
GraphPoint GraphAt(double x) {
    // Degrees; in double so that a long run's tick count cannot overflow the product.
    const double phase = 3.0 * (x - kGraphPhaseX) - 5.0 * static_cast<double>(TickCount);
    const double f = phase * kPi / 180;
    return {kGraphMidY - kGraphAmplitude * std::sin(f + PhaseHalfWaves * kPi),
            kGraphMidY - kGraphAmplitude * std::sin(f)};
}

// The y of the superposition where the two waves are at p.
double SumAt(const GraphPoint& p) { return RoundTo(p.a + p.b - kGraphMidY, 4); }

void Line(double x0, double y0, double x1, double y1) {
    Canvas& c = Surface();
    c.moveTo(x0, y0);
    c.lineTo(x1, y1);
}

// The part of the surface left of the barrier or screen at x `right` and between the walls (rows
// 10 to 209): all that the frame does not erase after drawing there and before it ends.
QRect TankLeftOf(double right) {
    return QRect(QPoint(0, static_cast<int>(kTankTop)),
                 QPoint(TruncToInt(right) - 1, static_cast<int>(kTankBottom) - 1));
}

// A barrier across the tank: everything right of x is erased, the tank is refilled from there
// (from `top` down), and the barrier itself is an olive line of width 2.
void Barrier(double x, double top) {
    ClearArea(TruncToInt(x), 0, 700, 550);
    DrawTiltedPanel(x, top, 90, 550, 700, kPaleBlue, 0);
    DrawRay(700, 90, x, 550, 0, 0, kOlive, 2, 0, 0, 5, 5);
}

// A 4 x 4 gap in a barrier, centred on (x, y).
void Slit(double x, double y) {
    ClearArea(TruncToInt(x - 2), TruncToInt(y - 2), TruncToInt(x + 2), TruncToInt(y + 2));
    DrawTiltedPanel(x - 2, y - 2, 90, 4, 4, kPaleBlue, 0);
}

// The fringe column and the graph of the waves at the observation point.
void DrawFringesAndGraph(int colour) {
    const Paths probe = PathsTo(ProbeY);
    PathToUpperSlit = probe.toUpper;
    PathDiff = probe.diff;
    PhaseHalfWaves = HalfWaves(PathDiff);

    for (int y = static_cast<int>(kTankTop); y <= static_cast<int>(kTankBottom); ++y) {
        Surface().setPenColour(FringeColour(HalfWaves(PathsTo(y).diff)));
        DrawRay(kFringeLength, 0, kFringeLeft, y, 0, 0, kKeepPen, 4, 0, 0, 5, 5);
    }

    double prevX = kGraphFirstX;
    GraphPoint prev = GraphAt(prevX);
    for (double x = kGraphFirstX + 1; x <= kGraphLastX; x += kGraphStepX) {
        const GraphPoint cur = GraphAt(x);
        SetDrawStyle(colour, 1, 0, 0, 2, 0);
        Line(prevX, prev.a, x, cur.a);
        SetDrawStyle(colour, 1, 0, 0, 2, 0);
        Line(prevX, prev.b, x, cur.b);
        // The superposition: both displacements from the centre line added.
        SetDrawStyle(kYellow, 2, 0, 0, 2, 0);
        Line(prevX, SumAt(prev), x, SumAt(cur));
        prevX = x;
        prev = cur;
    }

    DrawLabel(180, 380, 13, kBlue, 1, QStringLiteral("黄色曲线是两狭缝光波在屏上观察点叠加的结果"));
}

// The fringes and the graph show once the slit waves have crossed the 300 px to the screen (red
// after 60 slit-wave steps, violet after 75).
bool GraphShown() { return kToScreen / WaveFactor <= SlitWaveTicks; }

bool OnLightButton(int x, int y) { return 10 < x && x < 90 && 250 < y && y < 280; }
bool OnSpacingButton(int x, int y) { return 250 < x && x < 330 && 250 < y && y < 280; }
bool InTank(int y) { return kTankTop < y && y < kTankBottom; }

}  // namespace

void InterferenceStep() {
    // 1. The tank background.
    ClearArea(0, 0, 700, 550);
    DrawTiltedPanel(3, 3, 90, 450, 700, kPaleBlue, 0);

    // 2. The incoming plane wave, still in the WaveFactor and colour of the previous frame (the
    //    kit draws nothing up to tick 1).
    DrawPlaneWavefronts(3, SlitCentreY, kFrontSteps, 0, 0, WaveFactor, WaveColour(), 1, TickCount,
                        kPlaneSlot);

    // 3, 4. The single-slit barrier cuts the plane wave off; S0 is a gap in it.
    Barrier(SourceSlitX, 3);
    Slit(SourceSlitX, SlitCentreY);

    // 5. The light chosen now sets the wavelength and colour of everything below.
    WaveFactor = 5 - LightChoice;
    const int colour = WaveColour();

    // 6. Circular waves from S0 once the plane wave has reached it (red from tick 18, violet
    //    from tick 23). They run on while the counter keeps counting; the kit caps the rings at 31.
    //    The double-slit barrier below erases everything right of it, and step 11 erases the
    //    bands above and below the tank, so only the part of these rings left of that barrier
    //    and between the walls is ever seen; the canvas may leave the rest out.
    const double slitX = 2 * SourceSlitX;
    if (kToSingleSlit / WaveFactor <= TickCount + 2) {
        SourceWaveTicks += 1;
        Surface().setVisibleArea(TankLeftOf(slitX));
        DrawCircularWavefronts(SourceSlitX, SlitCentreY, kFrontSteps, 0, 0, WaveFactor, colour, 1,
                               SourceWaveTicks, kSourceSlot);
        Surface().setVisibleArea(QRect());
    }

    // 7, 8. The double-slit barrier cuts the source rings off; S1 and S2 are gaps in it.
    const double upperY = SlitCentreY - SlitHalfGap;
    const double lowerY = SlitCentreY + SlitHalfGap;
    Barrier(slitX, 3);
    Slit(slitX, upperY);
    Slit(slitX, lowerY);

    // 9. Circular waves from S1 and S2 once the source wave has crossed the 100 px to them.
    //    Only their part left of the screen (erased right of it at step 10) and between the walls
    //    is ever seen.
    if (kToDoubleSlit / WaveFactor <= SourceWaveTicks - 2) {
        SlitWaveTicks += 1;
        Surface().setVisibleArea(TankLeftOf(ScreenX));
        DrawCircularWavefronts(slitX, upperY, kFrontSteps, 0, 0, WaveFactor, colour, 1, SlitWaveTicks,
                               kUpperSlitSlot);
        DrawCircularWavefronts(slitX, lowerY, kFrontSteps, 0, 0, WaveFactor, colour, 1, SlitWaveTicks,
                               kLowerSlitSlot);
        Surface().setVisibleArea(QRect());
    }

    // 10. The screen cuts the slit rings off at x 500.
    Barrier(ScreenX, 0);

    // 11. Everything above and below the tank is erased, which clips the rings at the walls.
    ClearArea(0, 210, 700, 550);
    DrawTiltedPanel(3, 210, 90, 550, 700, kPaleBlue, 0);
    ClearArea(0, 0, 700, 10);
    DrawTiltedPanel(3, 3, 90, 7, 700, kPaleBlue, 0);

    // 12. The tank walls.
    DrawRay(500, 0, 0, kTankTop, 0, 0, kOlive, 2, 0, 0, 5, 5);
    DrawRay(500, 0, 0, kTankBottom, 0, 0, kOlive, 2, 0, 0, 5, 5);

    // 13. The two rays from the slits to the observation point.
    SetDrawStyle(kYellow, 1, 0, 0, 0, kOlive);
    Line(slitX, upperY, ScreenX, ProbeY);
    Line(slitX, lowerY, ScreenX, ProbeY);

    // 14. The light and spacing buttons.
    SetDrawStyle(kLightBrown, 2, 0, 0, 0, kApricot);
    Surface().roundRect(10, 250, 90, 280, 0, 0);
    DrawLabel(32, 253, 12, kPurple, 1, QStringLiteral("光源"));
    SetDrawStyle(kLightBrown, 2, 0, 0, 0, kApricot);
    Surface().roundRect(250, 250, 330, 280, 0, 0);
    DrawLabel(256, 253, 12, kPurple, 1, QStringLiteral("狭缝间距"));

    // 15. The light on show.
    DrawLabel(100, 253, 12, kBlue, 1, LightChoice == 0 ? QStringLiteral(": 红光") : QStringLiteral(": 紫光"));

    // 16. The spacing on show; a gap other than the three of the button names none.
    QString spacing;
    if (SlitHalfGap == 30) spacing = QStringLiteral(": 小");
    if (SlitHalfGap == 40) spacing = QStringLiteral(": 中");
    if (SlitHalfGap == 50) spacing = QStringLiteral(": 大");
    if (!spacing.isEmpty()) DrawLabel(340, 253, 12, kBlue, 1, spacing);

    // 17. Fringes and graph once the slit waves have reached the screen.
    if (GraphShown()) DrawFringesAndGraph(colour);

    // 18. The formula box.
    DrawTiltedPanel(3, 420, 90, 550, 700, kApricot, 0);
    DrawLabel(100, 470, 13, kPurple, 0, QStringLiteral("d sinθ = mλ  (m =0, ±1, ±2,.......) => 亮纹"));
    DrawLabel(100, 500, 13, kPurple, 0, QStringLiteral("d sinθ = (m+1/2)λ  (m =0, ±1, ±2,.......) => 暗纹"));
    DrawLabel(100, 440, 13, kOlive, 0, QStringLiteral("光程差 = d sinθ "));
}

ProbeWaves ProbeWavesNow() {
    if (!GraphShown()) return {};
    const GraphPoint p = GraphAt(kGraphFirstX);
    return {kGraphMidY - p.a, kGraphMidY - p.b, kGraphMidY - SumAt(p)};
}

void InterferenceReset() {
    WaveFactor = 4.0;
    SlitHalfGap = 40.0;
    SlitCentreY = 110.0;
    SourceSlitX = 100.0;
    ScreenX = 500.0;
    ProbeY = 110.0;
    LightChoice = 0;
    PhaseHalfWaves = 1.0;
    KitSlots.fill(0);
    // Asks for 400 ms on a 100..700 bar; the speed-bar rule pulls the bar and the interval back
    // to the ordinary range, so the run steps every 100 ms.
    Host().SetTimerInterval(400);
    Host().SetSpeedBar(100, 700, 400, 10);
}

void InterferenceMouseDown(int x, int y) {
    if (MouseClickActive != 1) return;
    if (10 < x && x < 90) {
        if (250 < y && y < 280) LightChoice = LightChoice + 1 > 1 ? 0 : LightChoice + 1;
    } else if (496 < x && x < 505) {
        if (InTank(y)) ProbeY = std::clamp(static_cast<double>(y), kProbeMin, kProbeMax);
    } else if (OnSpacingButton(x, y)) {
        SlitHalfGap += 10;
        if (SlitHalfGap > 50) SlitHalfGap = 30;
    }
    // Every press redraws, wherever it lands: the tick stays, the ring counters step on.
    InterferenceStep();
    Host().SurfaceChanged();
}

void InterferenceMouseMove(int x, int y) {
    // The lab window only passes moves on while the flag is set; a stray call changes nothing.
    if (MouseMoveActive != 1) return;
    const bool onScreenLine = 496 < x && x < 504 && InTank(y);
    const bool hand = OnLightButton(x, y) || onScreenLine || OnSpacingButton(x, y);
    Host().SetSurfaceCursor(hand ? SurfaceCursor::Hand : SurfaceCursor::Default);
}

void InterferenceMouseUp(int /*x*/, int /*y*/) { Host().SetSurfaceCursor(SurfaceCursor::Default); }

namespace {
// Every variable of the experiment, by its name, with its program-start value.
const LabVars kVars{
    {"LightChoice", LightChoice}, {"WaveFactor", WaveFactor},
    {"SlitHalfGap", SlitHalfGap}, {"SlitCentreY", SlitCentreY},
    {"SourceSlitX", SourceSlitX}, {"ScreenX", ScreenX},
    {"ProbeY", ProbeY},           {"PathToUpperSlit", PathToUpperSlit},
    {"PathDiff", PathDiff},       {"PhaseHalfWaves", PhaseHalfWaves},
};
}  // namespace

void InterferenceDescribe(QJsonObject& out) { kVars.Describe(out); }

void InterferenceResetProgramState() { kVars.Restore(); }

}  // namespace vlab
