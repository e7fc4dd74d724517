// Wave superposition (code 208). Two triangular pulses, 80 px high and 120 px wide, run towards
// each other along a string at y 180, 2 px per step: the first one from the left edge, always a
// crest whose steep side leads, the second one from the right edge in one of four shapes chosen in
// the panel. Where they overlap, the string's displacement is the sum of the two displacements:
// there the two pulses are drawn thin, dotted and red, and their sum thick and purple.
//
// Units: x and y in pixels of the surface (y downwards), time in plotter steps. Every tick and
// every press in the small step area advances the pulses by one step.

#include "experiments/wave_superposition.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "draw/canvas.h"
#include "draw/figures.h"
#include "draw/shapes.h"
#include "draw/style.h"
#include "lab/lab_host.h"
#include "lab/lab_vars.h"

namespace vlab {

std::array<int, 4> WavePlotCounts{};
double PrevY1 = 0.0;
double PrevY2 = 0.0;
double PrevSum = 0.0;
double Y1 = 0.0;
double Y2 = 0.0;
double YSum = 0.0;
double In1 = 0.0;
double In2 = 0.0;
double Front1 = 0.0;
double Front2 = 0.0;

namespace {

// The string runs from column 9 to 690; the second pulse enters at 691. Baseline y 180, pulse
// height 80 px, slopes 2 (steep side, 40 px wide) and 1 (gentle side, 80 px wide), 2 px a step.
constexpr double kLeftEnd = 9;
constexpr double kRightEnd = 690;
constexpr double kRightStart = 691;
constexpr double kBaseline = 180;
constexpr double kSlope = 1;
constexpr double kHeight = 80;
constexpr double kSpeed = 2;
// The experiment counts its steps in plotter slot 1.
constexpr int kSlot = 1;

// Colour codes used below.
constexpr int kRed = 0;
constexpr int kOlive = 3;
constexpr int kPurple = 4;
constexpr int kSilver = 6;
constexpr int kPaleBlue = 11;
constexpr int kPaleRose = 13;
// Font colour indices of the two captions.
constexpr int kFontOlive = 3;
constexpr int kFontPurple = 4;

// The sum line is thick; the pulses are drawn with the same width where they run alone.
constexpr int kPenWidth = 4;

// The shape kind of the second pulse for each panel choice (WaveVariant 1 to 4): D, A, B, C.
int ShapeKindOf(int variant) {
    switch (variant) {
        case 1: return 0;  // trough, steep side leading
        case 2: return 1;  // crest, steep side leading
        case 3: return 3;  // trough, gentle side leading
        case 4: return 4;  // crest, gentle side leading
        default: return -1;
    }
}

bool AllFinite(std::initializer_list<double> values) {
    for (double v : values)
        if (!std::isfinite(v)) return false;
    return true;
}

void Segment(double x, double fromY, double toY) {
    Canvas& c = Surface();
    c.moveTo(x, fromY);
    c.lineTo(x + 1, toY);
}

}  // namespace

StringColumn PulseColumnAt(double x, double front1, double front2, double baseline, double e, double f,
                           int kind) {
    StringColumn c;
    const double steep = f / (2 * e);  // width of the steep side
    const double gentle = f / e;       // width of the gentle side
    const double whole = steep + gentle;

    // First pulse: rises gently from front1 - whole to its peak at front1 - steep, falls steeply
    // to front1.
    c.in1 = 1;
    if (front1 - steep <= x && x <= front1) {
        c.y1 = baseline - ((x - (front1 - steep)) * (-2 * e) + f);
    } else if (front1 - whole <= x && x < front1 - steep) {
        c.y1 = baseline - ((x - (front1 - steep)) * e + f);
    } else {
        c.y1 = baseline;
        c.in1 = 0;
    }

    // Second pulse, spanning front2 to front2 + whole, in the shape of its kind.
    c.in2 = 1;
    if (kind == 1 && front2 <= x && x <= front2 + steep) {
        c.y2 = baseline - ((x - (front2 + steep)) * (2 * e) + f);
    } else if (kind == 1 && front2 + steep < x && x <= front2 + whole) {
        c.y2 = baseline - ((x - (front2 + steep)) * (-e) + f);
    } else if (kind == 3 && front2 <= x && x <= front2 + gentle) {
        c.y2 = baseline - ((x - (front2 + gentle)) * (-e) - f);
    } else if (kind == 3 && front2 + gentle < x && x <= front2 + whole) {
        c.y2 = baseline - ((x - (front2 + gentle)) * (2 * e) - f);
    } else if (kind == 4 && front2 <= x && x <= front2 + gentle) {
        c.y2 = baseline + (x - (front2 + gentle)) * (-e) - f;
    } else if (kind == 4 && front2 + gentle < x && x <= front2 + whole) {
        c.y2 = baseline + (x - (front2 + gentle)) * (2 * e) - f;
    } else if (kind == 0 && front2 <= x && x <= front2 + steep) {
        c.y2 = baseline - ((x - (front2 + steep)) * (-2 * e) - f);
    } else if (kind == 0 && front2 + steep < x && x <= front2 + whole) {
        c.y2 = baseline - ((x - (front2 + steep)) * e - f);
    } else {
        c.y2 = baseline;
        c.in2 = 0;
    }

    // Where both pulses cover the column the displacements from the baseline add.
    c.sum = c.in1 * c.in2 == 1 ? c.y1 + c.y2 - baseline : baseline;
    return c;
}

void PulseColumn(double x, double baseline, double e, double f, int kind) {
    const StringColumn c = PulseColumnAt(x, Front1, Front2, baseline, e, f, kind);
    Y1 = c.y1;
    In1 = c.in1;
    Y2 = c.y2;
    In2 = c.in2;
    YSum = c.sum;
}

void PlotPulsePair(double xFrom, double xTo, double rightStart, double baseline, double e, double f,
                   double speed, int kind, int sumColour, int penWidth, int showParts, int slot) {
    // The counter slot indexes a four-entry array, and the slopes divide the height: anything else
    // would read out of bounds or fill the state with infinities.
    if (slot < 0 || slot >= static_cast<int>(WavePlotCounts.size())) return;
    if (!AllFinite({xFrom, xTo, rightStart, baseline, e, f, speed}) || !(e > 0)) return;

    WavePlotCounts[slot] += 1;
    const int n = WavePlotCounts[slot];
    if (n == 0) PrevY1 = PrevY2 = PrevSum = baseline;  // the first step after the reset

    OverlapColumns = 0;
    Front1 = n * speed + xFrom;
    Front2 = rightStart - n * speed;

    // Columns are whole pixels; the surface is 700 wide, so nothing beyond the clip box around it
    // can ever be seen.
    const double first = std::max(std::trunc(xFrom), -kClipMargin);
    const double last = std::min(xTo, kSurfaceWidth + kClipMargin);
    for (double x = first; x <= last; x += 1) {
        PulseColumn(x, baseline, e, f, kind);
        const bool both = In1 * In2 == 1;

        // The first column only primes the previous values.
        if (x >= xFrom + 1) {
            // Each pulse is silver where the other one does not cover the column, dotted red where
            // both do, and left out where only the other one does (its line runs there).
            if (In1 == 0) {
                SetDrawStyle(kSilver, penWidth, 1, 0, 0, 0);
                Segment(x, PrevY2, Y2);
            } else if (both && showParts == 1) {
                SetDrawStyle(kRed, 1, 2, 0, 0, 0);
                Segment(x, PrevY2, Y2);
            }
            // Where neither pulse covers the column both lines are the same piece of string,
            // already drawn just above in the same pen: drawing it again would change no pixel.
            const bool sameAsSecond = In1 == 0 && PrevY1 == PrevY2 && Y1 == Y2;
            if (In2 == 0 && !sameAsSecond) {
                SetDrawStyle(kSilver, penWidth, 1, 0, 0, 0);
                Segment(x, PrevY1, Y1);
            } else if (both && showParts == 1) {
                SetDrawStyle(kRed, 1, 2, 0, 0, 0);
                Segment(x, PrevY1, Y1);
            }
            // The sum starts at the second overlapping column: at the first one the previous
            // value is still the baseline.
            if (both) {
                OverlapColumns += 1;
                SetDrawStyle(sumColour, penWidth, 0, 0, 0, 0);
                if (OverlapColumns >= 2) Segment(x, PrevSum, YSum);
            }
        }

        PrevSum = YSum;
        PrevY2 = Y2;
        PrevY1 = Y1;
    }

    // The run ends when either pulse reaches the far end of the string. Later presses step on
    // past it, and the pulses leave the plot.
    if (Front1 == xTo || Front2 == xFrom) {
        Host().StopTimer();
        Host().ShowStoppedControls();
    }
}

void WaveSuperpositionStep() {
    ClearArea(0, 0, 700, 550);
    // The hatched string area with an olive outline, the solid text area under it, and two pale
    // rose rules across the surface.
    DrawTiltedPanel2(3, 3, 90, 355, 696, kPaleBlue, kOlive, 1);
    DrawTiltedPanel(3, 361, 90, 200, 700, kPaleBlue, 2);
    DrawRay(700, 0, 0, 360, 0, 0, kPaleRose, 3, 0, 0, 0, 0);
    DrawRay(700, 0, 0, 545, 0, 0, kPaleRose, 3, 0, 0, 0, 0);

    const int kind = ShapeKindOf(WaveVariant);
    if (kind >= 0) {
        PlotPulsePair(kLeftEnd, kRightEnd, kRightStart, kBaseline, kSlope, kHeight, kSpeed, kind, kPurple,
                      kPenWidth, 1, kSlot);
    }

    DrawLabel(300, 380, 16, kFontPurple, 1, QStringLiteral("波的重叠原理"));
    DrawLabel(80, 450, 14, kFontOlive, 1,
              QStringLiteral("y = y1 + y2   y1,y2分别为介质质点受二波作用产生之位移"));
}

double WaveHighestPoint() {
    const int kind = ShapeKindOf(WaveVariant);
    if (kind < 0) return 0;  // no string is drawn
    double top = kBaseline;
    for (double x = kLeftEnd; x <= kRightEnd; x += 1) {
        const StringColumn c = PulseColumnAt(x, Front1, Front2, kBaseline, kSlope, kHeight, kind);
        // The string as drawn: the sum where both pulses cover the column, else the one pulse that
        // does (the other one lies on the baseline there).
        const double y = c.in1 * c.in2 == 1 ? c.sum : c.in1 == 1 ? c.y1 : c.y2;
        top = std::min(top, y);
    }
    return kBaseline - top;
}

void WaveSuperpositionReset() {
    Host().SetStepInterval(50);
    WaveVariant = 2;
    // Slots 0 and 2 keep what the plotter left there.
    WavePlotCounts[1] = -1;
    WavePlotCounts[3] = -1;
}

void WaveSuperpositionMouseDown(int x, int y) {
    // The step area answers whether or not the timer runs, and even before Setting.
    if (200 < x && x < 270 && 150 < y && y < 180) {
        WaveSuperpositionStep();
        Host().SurfaceChanged();
    }
}

void WaveSuperpositionMouseUp(int /*x*/, int /*y*/) { Host().SetSurfaceCursor(SurfaceCursor::Default); }

namespace {
// Every variable of the experiment, by its name, with its program-start value.
const LabVars kVars{
    {"WavePlotCounts", WavePlotCounts},
    {"PrevY1", PrevY1},
    {"PrevY2", PrevY2},
    {"PrevSum", PrevSum},
    {"Y1", Y1},
    {"Y2", Y2},
    {"YSum", YSum},
    {"In1", In1},
    {"In2", In2},
    {"Front1", Front1},
    {"Front2", Front2},
};
}  // namespace

void WaveSuperpositionDescribe(QJsonObject& out) { kVars.Describe(out); }

void WaveSuperpositionResetProgramState() { kVars.Restore(); }

}  // namespace vlab
