// Electromagnetic induction (code 207). Two modes, chosen with buttons drawn on the surface:
// - constant speed: a square wire loop with a resistor is pushed to the right at 1 px a tick
//   through a rectangular field region; while one side is inside the field and the other outside,
//   the flux through the loop changes, a current flows and a push is needed. Two graphs plot the
//   push and the current against time.
// - incline: a square coil slides down a 20 degree incline through a band of field; while it is
//   partly inside the band, magnetic braking proportional to its speed acts on it. A graph plots
//   the sliding speed against time.
// A third button reverses the field, which reverses the drawn current.
//
// Units: pixels and ticks. On the incline one tick lasts dt = 0.05 time units, the acceleration
// outside the braking zones is 10 and the braking is 0.6 times the speed.

#include "experiments/induction.h"

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

int InductionMode = 0;
double FieldDirection = 0.0;
double LoopOffset = 0.0;
double InducedCurrent = 0.0;
double PushForce = 0.0;
double CoilSpeed = 0.0;
double CoilTravel = 0.0;
std::array<double, 2> InclineNear{};
double CoilCornerX = 0.0;
double CoilCornerY = 0.0;

namespace {

// Colour codes and font colour indices used below.
constexpr int kRed = 0;
constexpr int kBlue = 2;
constexpr int kOlive = 3;
constexpr int kPurple = 4;
constexpr int kBlack = 5;
constexpr int kSilver = 6;
constexpr int kGrey = 8;
constexpr int kYellow = 9;
constexpr int kPaleBlue = 11;
constexpr int kWhite = 12;
constexpr int kPaleGreen = 16;
constexpr int kLightBrown = 18;
constexpr int kApricot = 20;

// The loop's left side is at LoopOffset + kLoopStart; LoopOffset runs from -120 at tick 0, so at tick
// t the left side is at t + 30. The loop is 100 px square, its top at y 150.
constexpr double kLoopStart = 150.0;
constexpr double kLoopSide = 100.0;
constexpr double kLoopTop = 150.0;
// The field region spans x 185 to 535. Entering: the right side has reached the field but the left
// one has not (85 <= L <= 185); leaving: the left side is still inside, the right one out
// (435 <= L <= 535). The run ends when the left side reaches 650.
constexpr double kEnterFrom = 85.0, kEnterTo = 185.0;
constexpr double kLeaveFrom = 435.0, kLeaveTo = 535.0;
constexpr double kLoopEnd = 650.0;
// The current and the push in graph pixels while the flux changes.
constexpr double kCurrent = 50.0;
constexpr double kPush = 50.0;

// The incline: its foot, its angle, and where along it (px from the foot) the coil starts.
constexpr double kFootX = 20.0, kFootY = 360.0;
constexpr double kInclineDeg = 20.0;
constexpr double kCoilStart = 630.0;
constexpr double kCoilSide = 80.0;
// The band of field covers 210 to 510 along the incline; the coil's lower edge u spans u to u + 80,
// so it straddles the band's upper edge for 430 < u < 510 and its lower edge for 130 < u < 210.
constexpr double kBandNear = 210.0, kBandFar = 510.0;
// The motion of the coil: one tick is dt, gravity along the incline gives 10, braking 0.6 v.
constexpr double kDt = 0.05;
constexpr double kGravity = 10.0;
constexpr double kBraking = 0.6;
// The run ends when the coil has slid this far, its lower edge 10 px above the foot.
constexpr double kTravelEnd = 620.0;

// The point d px up the incline from its foot, left in RayEndX/RayEndY: end kind 1 with end size 0
// draws nothing visible.
void PointUpIncline(double d) { DrawRay(d, kInclineDeg, kFootX, kFootY, 0, 0, 1, 1, 1, 0, 0, 0); }

// The point length px from (x, y) at the angle, drawing nothing; left in RayEndX/RayEndY.
void PointFrom(double length, double angle, double x, double y) {
    DrawRay(length, angle, x, y, 0, 0, 1, 1, 1, 0, 0, 0);
}

// One symbol of the field: a solid blue dot for direction 1, a blue ring round a small dot for 0.
void FieldSymbol(double x, double y) {
    if (FieldDirection == 1) {
        DrawEllipse(x, y, 5, 5, kBlue, 1, 0, 0, 0, kBlue);
    } else {
        DrawEllipse(x, y, 5, 5, kBlue, 1, 0, 0, 0, kWhite);
        DrawEllipse(x, y, 3, 3, kBlue, 1, 0, 0, 0, kBlue);
    }
}

// A red 4 x 4 graph dot.
void GraphDot(double x, double y) { DrawEllipse(x, y, 4, 4, kRed, 1, 0, 0, 0, kRed); }

void Background() {
    const bool incline = InductionMode == 1;
    if (TickCount == 0) {
        // Everything, graph areas included, starts afresh.
        ClearArea(0, 0, 700, 550);
        if (incline) {
            DrawTiltedPanel2(3, 3, 90, 359, 696, kPaleBlue, kOlive, 0);
            DrawTiltedPanel(3, 363, 90, 540, 700, kApricot, 1);
        } else {
            DrawTiltedPanel2(3, 3, 90, 289, 696, kPaleBlue, kOlive, 0);
            DrawTiltedPanel(3, 293, 90, 540, 700, kApricot, 1);
            DrawTiltedPanel(185, 105, 90, 185, 350, kPaleGreen, 0);
        }
        return;
    }
    // While running only the scene above the graphs is repainted, so the graph dots accumulate.
    if (incline) {
        ClearArea(0, 0, 700, 360);
        DrawTiltedPanel(3, 3, 90, 360, 700, kPaleBlue, 0);
        DrawTiltedPanel2(3, 3, 90, 359, 696, kPaleBlue, kOlive, 0);
    } else {
        ClearArea(0, 0, 700, 290);
        DrawTiltedPanel2(3, 3, 90, 289, 696, kPaleBlue, kOlive, 0);
        DrawTiltedPanel(185, 105, 90, 185, 350, kPaleGreen, 0);
    }
}

void Buttons() {
    DrawTiltedPanel2(10, 10, 90, 30, 70, kPaleGreen, kLightBrown, 0);
    DrawTiltedPanel2(10, 45, 90, 30, 70, kPaleGreen, kLightBrown, 0);
    DrawTiltedPanel2(10, 85, 90, 30, 70, kApricot, kLightBrown, 0);
    DrawLabel(15, 15, 12, kBlue, 1, QStringLiteral("   等速"));
    DrawLabel(15, 50, 12, kBlue, 1, QStringLiteral("   斜面 "));
    DrawLabel(11, 90, 12, kBlue, 1, QStringLiteral("磁场方向 "));
    // The chosen mode is named again in red.
    if (InductionMode == 0) DrawLabel(15, 15, 12, kRed, 1, QStringLiteral("   等速"));
    if (InductionMode == 1) DrawLabel(15, 50, 12, kRed, 1, QStringLiteral("   斜面 "));
}

void ConstantSpeedFrame() {
    LoopOffset = TickCount - 120;  // 1 px a tick
    const double left = LoopOffset + kLoopStart;

    for (int x = 200; x <= 520; x += 40)
        for (int y = 120; y <= 280; y += 40) FieldSymbol(x, y);

    // The red resistor zigzag down the left side between y 175 and 225, then the silver square
    // around it, its left side broken where the resistor sits.
    DrawZigzag(left, 175, 6, 10, 10, 2, 2, kRed);
    SetDrawStyle(kSilver, 4, 2, 0, 1, kSilver);
    Canvas& c = Surface();
    c.moveTo(left, kLoopTop);
    c.lineTo(left + kLoopSide, kLoopTop);
    c.lineTo(left + kLoopSide, kLoopTop + kLoopSide);
    c.lineTo(left, kLoopTop + kLoopSide);
    c.lineTo(left, 225);
    c.moveTo(left, 175);
    c.lineTo(left, kLoopTop);

    // A current flows while the flux through the loop changes: one side inside the field, the
    // other out. Entering and leaving give opposite signs, and so does the other field direction;
    // any other field value gives none.
    InducedCurrent = 0;
    PushForce = 0;
    const bool entering = kEnterFrom <= left && left <= kEnterTo;
    const bool leaving = kLeaveFrom <= left && left <= kLeaveTo;
    if (entering || leaving) {
        PushForce = kPush;
        const double sign = entering ? 1.0 : -1.0;
        if (FieldDirection == 1) InducedCurrent = sign * kCurrent;
        if (FieldDirection == 0) InducedCurrent = -sign * kCurrent;
    }
    // A positive current runs clockwise on the screen: right along the top, left along the bottom.
    if (InducedCurrent == kCurrent) {
        DrawLabelledArrow(20, 0, LoopOffset + 190, 150, 0, 0, kRed, 2, 1, 2, 14, QStringLiteral("i"));
        DrawLabelledArrow(20, 180, LoopOffset + 210, 250, 0, 0, kRed, 2, 1, 2, 14, QStringLiteral("i"));
    } else if (InducedCurrent == -kCurrent) {
        DrawLabelledArrow(20, 180, LoopOffset + 210, 150, 0, 0, kRed, 2, 1, 2, 14, QStringLiteral("i"));
        DrawLabelledArrow(20, 0, LoopOffset + 190, 250, 0, 0, kRed, 2, 1, 2, 14, QStringLiteral("i"));
    }

    // The graphs, half a pixel a tick: the push above its time axis at y 415, a positive current
    // below its own.
    if (TickCount > 0) {
        GraphDot(TickCount * 0.5 + 10, 415 - PushForce);
        GraphDot(TickCount * 0.5 + 370, 415 + InducedCurrent);
    }

    if (left >= kLoopEnd) Host().ShowStoppedControls();

    DrawLabelledArrow(320, 0, 10, 415, 0, 0, kBlack, 2, 1, 2, 14, QStringLiteral("t"));
    DrawLabelledArrow(320, 0, 370, 415, 0, 0, kBlack, 2, 1, 2, 14, QStringLiteral("t"));
    DrawLabelledArrow(220, 90, 10, 525, 0, 0, kBlack, 2, 1, 2, 14, QStringLiteral("向右推力 F"));
    DrawLabelledArrow(220, 90, 370, 525, 0, 0, kBlack, 2, 1, 2, 14, QStringLiteral("感应电流 I"));
}

// The coil's lower edge u (px up the incline) lies where it straddles an edge of the band.
bool InBrakingZone(double u) {
    return (kBandFar - kCoilSide < u && u < kBandFar) || (kBandNear - kCoilSide < u && u < kBandNear);
}
bool EnteringBand(double u) { return kBandFar - kCoilSide < u && u < kBandFar; }

void InclineFrame() {
    // The band of field, 300 px along the incline from 210 and 180 px high, perpendicular to it.
    DrawTiltedPanel(InclineNear[0], InclineNear[1], 110, 180, 300, kPaleGreen, 0);
    // The grey incline: 720 px at 20 degrees, its base 720 cos 20 = 676.58 px.
    DrawWedge(kFootX, kFootY, kInclineDeg, 0, 720, 676.58, kGrey, 0, 0, kGrey);

    // 5 rows of 8 symbols, 40 px apart along the incline, rows 40 px apart perpendicular to it
    // (sin 20 and cos 20 step the row start down and to the right).
    const double sin20 = std::sin(DegToRad(kInclineDeg)), cos20 = std::cos(DegToRad(kInclineDeg));
    for (int k = 0; k <= 4; ++k)
        for (int l = 1; l <= 8; ++l) {
            PointFrom(40 * l, kInclineDeg, 130 + 40 * k * sin20, 140 + 40 * k * cos20);
            FieldSymbol(RayEndX, RayEndY);
        }

    if (TickCount == 0) {
        CoilSpeed = 0;
        CoilTravel = 0;
    } else {
        // One constant-acceleration step from the old speed and travel; in the braking zones the
        // speed tends to kGravity / kBraking.
        const double v = CoilSpeed, s = CoilTravel;
        const double a = InBrakingZone(kCoilStart - s) ? kGravity - kBraking * v : kGravity;
        CoilTravel = s + v * kDt + a * kDt * kDt / 2;
        CoilSpeed = v + a * kDt;
    }

    // The coil: an 80 by 80 square standing on the incline with its lower corner K, a yellow line
    // under its lower side. The sides are drawn 4 px above the incline.
    PointUpIncline(kCoilStart - CoilTravel);
    CoilCornerX = RayEndX;
    CoilCornerY = RayEndY;
    const double kx = CoilCornerX, ky = CoilCornerY - 4;
    DrawRay(kCoilSide, kInclineDeg, kx, CoilCornerY - 3, 0, 0, kYellow, 4, 0, 0, 0, kYellow);
    DrawRay(kCoilSide, kInclineDeg, kx, ky, 0, 0, kSilver, 4, 0, 0, 0, kSilver);
    const double upperX = RayEndX, upperY = RayEndY;  // the upper-slope corner
    DrawRay(kCoilSide, 110, upperX, upperY, 0, 0, kSilver, 4, 0, 0, 0, kSilver);
    DrawRay(kCoilSide, 110, kx, ky, 0, 0, kSilver, 4, 0, 0, 0, kSilver);
    DrawRay(kCoilSide, kInclineDeg, RayEndX, RayEndY, 0, 0, kSilver, 4, 0, 0, 0, kSilver);

    // The current in the coil while it straddles an edge of the band, at the place it is drawn:
    // one purple arrow on each side perpendicular to the incline, both covering 30 to 50 px up the
    // side. Entering the band and leaving it give opposite senses, as do the two field directions.
    const double u = kCoilStart - CoilTravel;
    if (TickCount > 0 && InBrakingZone(u) && (FieldDirection == 0 || FieldDirection == 1)) {
        const bool lowerSideUp = EnteringBand(u) == (FieldDirection == 1);
        PointFrom(lowerSideUp ? 30 : 50, 110, kx, ky);
        DrawLabelledArrow(20, lowerSideUp ? 110 : 290, RayEndX, RayEndY, 0, 0, kPurple, 2, 1, 2, 14,
                          QStringLiteral("i"));
        PointFrom(kCoilSide, kInclineDeg, kx, ky);
        PointFrom(lowerSideUp ? 50 : 30, 110, RayEndX, RayEndY);
        DrawLabelledArrow(20, lowerSideUp ? 290 : 110, RayEndX, RayEndY, 0, 0, kPurple, 2, 1, 2, 14,
                          QStringLiteral("i"));
    }

    // The speed graph, 2 px a tick, 2 px per unit of speed above its time axis at y 530.
    if (TickCount > 0) GraphDot(2 * TickCount + 10, 530 - 2 * CoilSpeed);

    if (CoilTravel >= kTravelEnd) Host().ShowStoppedControls();

    DrawLabelledArrow(680, 0, 10, 530, 0, 0, kBlack, 2, 1, 2, 10, QStringLiteral("t"));
    DrawLabelledArrow(160, 90, 10, 530, 0, 0, kBlack, 2, 1, 2, 14, QStringLiteral("线圈下滑速度 V"));
}

// The three buttons as a press sees them: whole pixels strictly inside their outlines.
bool InButtonColumn(int x) { return 11 <= x && x <= 79; }
bool InConstantSpeedButton(int y) { return 11 <= y && y <= 39; }
bool InInclineButton(int y) { return 46 <= y && y <= 74; }
bool InFieldButton(int y) { return 86 <= y && y <= 114; }

}  // namespace

void InductionStep() {
    Background();
    Buttons();
    if (InductionMode == 1) {
        InclineFrame();
    } else {
        ConstantSpeedFrame();
    }
}

double LoopSpeed() { return InductionMode != 1 && TickCount > 0 ? 1.0 : 0.0; }

void InductionReset() {
    Host().StopTimer();
    MouseMoveActive = 1;
    MouseClickActive = 1;
    Host().SetStepInterval(50);
    InductionMode = 0;
    FieldDirection = 0.0;
    LoopOffset = CoilSpeed = CoilTravel = InducedCurrent = PushForce = 0.0;
    TickCount = 0;
    // Points on the incline: the start of the band and the coil's starting corner. The end of the
    // band is computed last and left in RayEndX/RayEndY; nothing reads it.
    PointUpIncline(kBandNear);
    InclineNear = {RayEndX, RayEndY};
    PointUpIncline(kCoilStart);
    CoilCornerX = RayEndX;
    CoilCornerY = RayEndY;
    PointUpIncline(kBandFar);
}

void InductionMouseDown(int x, int y) {
    if (MouseClickActive == 0 || !InButtonColumn(x)) return;
    if (InConstantSpeedButton(y)) {
        InductionMode = 0;
        TickCount = 0;
    } else if (InInclineButton(y)) {
        InductionMode = 1;
        TickCount = 0;
    } else if (InFieldButton(y)) {
        if (FieldDirection == 0) {
            FieldDirection = 1;
        } else if (FieldDirection == 1) {
            FieldDirection = 0;
        }
    } else {
        return;
    }
    InductionStep();
    Host().SurfaceChanged();
}

void InductionMouseMove(int x, int y) {
    // The lab window only passes moves on while the flag is set; the test here keeps a stray call
    // from changing the cursor while the timer runs.
    if (MouseMoveActive != 1) return;
    const bool overButton =
        10 < x && x < 80 && ((10 < y && y < 40) || (45 < y && y < 75) || (85 < y && y < 115));
    Host().SetSurfaceCursor(overButton ? SurfaceCursor::Hand : SurfaceCursor::Default);
}

void InductionMouseUp(int /*x*/, int /*y*/) { Host().SetSurfaceCursor(SurfaceCursor::Default); }

namespace {
// Every variable of the experiment, by its name, with its program-start value.
const LabVars kVars{
    {"InductionMode", InductionMode},   {"FieldDirection", FieldDirection}, {"LoopOffset", LoopOffset},
    {"InducedCurrent", InducedCurrent}, {"PushForce", PushForce},           {"CoilSpeed", CoilSpeed},
    {"CoilTravel", CoilTravel},         {"InclineNear", InclineNear},       {"CoilCornerX", CoilCornerX},
    {"CoilCornerY", CoilCornerY},
};
}  // namespace

void InductionDescribe(QJsonObject& out) { kVars.Describe(out); }

void InductionResetProgramState() { kVars.Restore(); }

}  // namespace vlab
