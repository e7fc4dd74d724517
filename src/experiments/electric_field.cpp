// Electric field of point charges (code 206). Two, three or four fixed charges, set in the
// parameter panel, fill the field area with a grid of small arrows along the field, coloured by
// its strength. A click puts a test point, where each charge's field and their resultant are
// drawn as arrows; the sign buttons put a positive or negative test charge there, which the
// running timer moves under the field, leaving a trail.
//
// Units: pixels of the surface, time in ticks. The field of a charge Q at distance r is
// |Q| * 500000 / r^2 in pixels per unit time squared: the same number is the length of its arrow
// at the test point and the acceleration it gives a test charge. One tick advances the test
// charge by 0.01 time units.

#include "experiments/electric_field.h"

#include <cmath>
#include <memory>
#include <vector>

#include "draw/canvas.h"
#include "draw/figures.h"
#include "draw/numeric.h"
#include "draw/shapes.h"
#include "draw/style.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "lab/lab_vars.h"

namespace vlab {

std::array<double, 4> ChargeX{};
std::array<double, 4> ChargeY{};
double TestX = 0.0;
double TestY = 0.0;
double TestPrevX = 0.0;
double TestPrevY = 0.0;
bool TestPlaced = false;
bool SignButtonsLive = false;
std::array<double, 4> DistSq{};
std::array<double, 4> FieldMag{};
std::array<double, 4> FieldAngle{};

namespace {

// The inverse-square law's constant, and the time step of one tick.
constexpr double kFieldConstant = 500000.0;
constexpr double kTimeStep = 0.01;
// A flight ends after this many ticks, whatever the charge does.
constexpr int kLastTick = 6880;
// The test charge's run ends once it is this far outside the field area, from tick 6 on.
constexpr double kBoxLeft = -50, kBoxRight = 750, kBoxTop = -50, kBoxBottom = 530;

// Grid of field arrows: every 15 px from (1, 1) to (691, 466), 47 x 32 points.
constexpr int kGridStep = 15;
constexpr int kGridLastX = 691;
constexpr int kGridLastY = 466;
// Each grid arrow is 12 px long with a head of two lines, and starts this far behind its grid
// point.
constexpr double kArrowLength = 12;
constexpr int kArrowHead = 3;
constexpr double kArrowBack = 6;

// Colour codes used below.
constexpr int kRed = 0;
constexpr int kBlue = 2;
constexpr int kOlive = 3;
constexpr int kSilver = 6;
constexpr int kWhite = 12;
constexpr int kRose = 13;
constexpr int kPaleGreen = 16;
constexpr int kApricot = 20;
constexpr int kFontSilver = 6;
// A colour code of 100 leaves the pen colour as it was set directly on the canvas.
constexpr int kPenAsSet = 100;
// Pen and brush codes.
constexpr int kSolidPen = 0, kDotPen = 2;
constexpr int kCopy = 0, kMask = 2, kMerge = 5;
constexpr int kSolidBrush = 0, kClearBrush = 2;

// The two sign buttons, as the press sees them (whole pixels strictly inside 608..622).
bool OnPositiveButton(int x, int y) { return 608 < x && x < 622 && 33 < y && y < 47; }
bool OnNegativeButton(int x, int y) { return 608 < x && x < 622 && 73 < y && y < 87; }

struct Layout {
    const char16_t* text;
    int count;
    double x[4], y[4];
};
// The charge layouts by the text of the panel's layout box.
constexpr Layout kLayouts[] = {
    {u"两个点电荷", 2, {250, 450}, {250, 250}},
    {u"三个点电荷", 3, {350, 200, 500}, {120, 380, 380}},
    {u"四个点电荷", 4, {230, 230, 470, 470}, {130, 370, 370, 130}},
};
constexpr const char16_t* kLayoutPrompt = u"电荷分布";

// Places the charges of the layout the panel shows and returns how many there are. The box still
// showing its prompt counts as the two-charge layout with two unit charges.
int PlaceCharges() {
    QString text = Host().ChargeLayoutText();
    if (text == QStringView(kLayoutPrompt)) {
        text = QString::fromUtf16(kLayouts[0].text);
        Host().SetChargeLayoutText(text);
        ChargeQ[0] = 1, ChargeQ[1] = 1, ChargeQ[2] = 0, ChargeQ[3] = 0;
    }
    for (const Layout& layout : kLayouts) {
        if (text != QStringView(layout.text)) continue;
        for (int i = 0; i < layout.count; ++i) {
            ChargeX[i] = layout.x[i];
            ChargeY[i] = layout.y[i];
        }
        return layout.count;
    }
    return 0;  // an unknown layout places no charge
}

int ColourOfCharge(int q) { return q > 0 ? kRed : q < 0 ? kBlue : kSilver; }

void DrawCharge(int i) {
    const int k = ChargeColour[i];
    DrawEllipse(ChargeX[i], ChargeY[i], 5, 5, k, 1, kSolidPen, kCopy, kSolidBrush, k);
}

struct Field {
    double mag = 0, deg = 0;
};

// The strength of the field of a charge q at a rounded squared distance.
double FieldStrength(int q, double distSq) { return AbsReal(q * kFieldConstant / distSq); }

// The direction of the field of a charge at (cx, cy) at the point (px, py), in degrees, y up,
// pointing away from a positive charge and towards a negative one, and the rounded squared
// distance. False when the point is so close to the charge that that distance is 0: there the
// field has no finite value. The kit's shared angle is left alone, so that working out a table or
// a value for the export draws nothing and changes nothing.
bool FieldDirection(double cx, double cy, bool negative, double px, double py, double& distSq, double& deg) {
    const double dx = px - cx, dy = py - cy;
    distSq = RoundTo(dx * dx + dy * dy, 3);
    if (!(distSq > 0)) return false;
    deg = VectorAngleOf(dx, -dy) + (negative ? 180 : 0);
    return true;
}

// The field of charge i at (px, py): strength and direction.
bool FieldOfCharge(int i, double px, double py, double& distSq, Field& f) {
    if (!FieldDirection(ChargeX[i], ChargeY[i], ChargeQ[i] < 0, px, py, distSq, f.deg)) return false;
    f.mag = FieldStrength(ChargeQ[i], distSq);
    return true;
}

// One grid point's arrow (an ArrowAt of the kit): the point 6 px behind the grid point against
// the field where it starts, its direction in whole degrees and its colour.
using GridArrow = ArrowAt;

// The resultant field at grid point (x, y), left in the kit's SumMag and VectorAngleDeg. Four
// slots: a slot without a charge (or placed by no layout) adds nothing.
void GridField(double x, double y, int placed) {
    Field f[4];
    for (int i = 0; i < placed; ++i) {
        double distSq = 0;
        if (ChargeQ[i] != 0 && !FieldOfCharge(i, x, y, distSq, f[i])) f[i] = Field{};
    }
    SumVectors4(f[0].mag, f[0].deg, f[1].mag, f[1].deg, f[2].mag, f[2].deg, f[3].mag, f[3].deg);
}

// One grid point's arrow, point by point as the reference drawing works it out.
GridArrow WorkOutGridArrow(double x, double y, int placed) {
    GridField(x, y, placed);
    // End kind 1 with end size 0 draws nothing: it only finds the point 6 px behind the grid
    // point against the field, so that the 12 px arrow is centred on the grid point.
    DrawRay(kArrowBack, VectorAngleDeg + 180, x, y, kSolidPen, kMask, 1, 1, 1, 0, 0, 0);
    return {RayEndX, RayEndY, TruncToInt(VectorAngleDeg), FieldStrengthColour(SumMag)};
}

constexpr int kGridColumns = (kGridLastX - 1) / kGridStep + 1, kGridRows = (kGridLastY - 1) / kGridStep + 1;
constexpr int kGridPoints = kGridColumns * kGridRows;

// What the field of a charge at every grid point takes besides the charge's size: the rounded
// squared distance (0 where the field has no finite value), and the direction's cosine and sine
// as SumVectors4 works them out. They depend only on where the charge is and on its sign, so they
// are kept per place and sign in the canvas's cache, worked out when the experiment is chosen.
struct ChargeGeometry {
    double x = 0, y = 0;
    bool negative = false;
    std::array<double, kGridPoints> distSq{}, cos{}, sin{};
};

// The grid of one placing of the charges. It is the same at set-up, on the first tick and after
// every press before Start, so it is worked out once; after that the pixels of all its arrows but
// the last are set again from the canvas's recording of them, and the last arrow is drawn, which
// leaves the kit's arrow results and the canvas's style as drawing every arrow would. (The sums,
// angle and ray end the grid points leave in the kit are not kept: steps 6 and 10 of every frame
// set them afresh.)
struct GridMemo {
    int placed = -1;
    std::array<int, 4> q{};
    std::array<double, 4> x{}, y{};
    std::vector<GridArrow> arrows;
    Canvas::Recording pixels;  // of every arrow but the last; empty when it could not be recorded
    bool recorded = false;
};

// What the field keeps in the canvas's cache: the charges' geometry, one for each place a layout
// puts a charge and each sign (eighteen at most), and the last grid drawn.
struct FieldMemo : Canvas::Cache::Memo {
    std::vector<std::unique_ptr<ChargeGeometry>> geometry;
    GridMemo grid;
    std::size_t size() const override { return geometry.size() + (grid.placed >= 0 ? 1 : 0); }
};

FieldMemo& FieldMemoOf(Canvas& c) { return c.cache().memo<FieldMemo>(); }

const ChargeGeometry& GeometryAt(FieldMemo& memo, double x, double y, bool negative) {
    for (const auto& g : memo.geometry)
        if (g->x == x && g->y == y && g->negative == negative) return *g;
    auto g = std::make_unique<ChargeGeometry>();
    g->x = x, g->y = y, g->negative = negative;
    std::size_t p = 0;
    for (int gx = 1; gx <= kGridLastX; gx += kGridStep) {
        for (int gy = 1; gy <= kGridLastY; gy += kGridStep, ++p) {
            double deg = 0;
            if (!FieldDirection(x, y, negative, gx, gy, g->distSq[p], deg)) g->distSq[p] = 0;
            g->cos[p] = std::cos(DegToRad(deg));
            g->sin[p] = std::sin(DegToRad(deg));
        }
    }
    memo.geometry.push_back(std::move(g));
    return *memo.geometry.back();
}

const ChargeGeometry& GeometryOfCharge(FieldMemo& memo, int i) {
    return GeometryAt(memo, ChargeX[i], ChargeY[i], ChargeQ[i] < 0);
}

// The same arrows for the whole grid, column by column, in two passes: the fields point by point
// from the charges' kept geometry, then the start points of all arrows, whose roundings are long
// chains that RayEnds works side by side.
std::vector<GridArrow> WorkOutGrid(FieldMemo& memo, int placed) {
    std::array<const ChargeGeometry*, 4> geometry{};
    for (int i = 0; i < placed; ++i)
        if (ChargeQ[i] != 0) geometry[i] = &GeometryOfCharge(memo, i);
    std::array<double, kGridPoints> x{}, y{}, back{}, startX{}, startY{};
    std::vector<GridArrow> arrows(kGridPoints);
    std::size_t p = 0;
    for (int gx = 1; gx <= kGridLastX; gx += kGridStep) {
        for (int gy = 1; gy <= kGridLastY; gy += kGridStep, ++p) {
            // A slot without a field adds nothing: size 0 along 0 degrees.
            std::array<double, 4> mag{}, cos{1, 1, 1, 1}, sin{};
            for (int i = 0; i < placed; ++i) {
                const ChargeGeometry* g = geometry[i];
                if (!g || !(g->distSq[p] > 0)) continue;
                mag[i] = FieldStrength(ChargeQ[i], g->distSq[p]);
                cos[i] = g->cos[p], sin[i] = g->sin[p];
            }
            SumDirectedVectors4(mag, cos, sin);
            x[p] = gx, y[p] = gy, back[p] = VectorAngleDeg + 180;
            arrows[p].angle = TruncToInt(VectorAngleDeg);
            arrows[p].colour = FieldStrengthColour(SumMag);
        }
    }
    RayEnds(kArrowBack, p, back.data(), x.data(), y.data(), startX.data(), startY.data());
    for (std::size_t i = 0; i < p; ++i) arrows[i].x = startX[i], arrows[i].y = startY[i];
    return arrows;
}

void DrawGridArrow(const GridArrow& a) {
    Surface().setPenColour(QColor(a.colour));
    DrawLabelledArrow(kArrowLength, a.angle, a.x, a.y, kCopy, kSolidPen, kPenAsSet, 1, 1, kArrowHead, 14,
                      QString());
}

bool MemoHolds(const GridMemo& memo, int placed) {
    if (memo.placed != placed) return false;
    for (int i = 0; i < placed; ++i)
        if (memo.q[i] != ChargeQ[i] || memo.x[i] != ChargeX[i] || memo.y[i] != ChargeY[i]) return false;
    return true;
}

void DrawGrid(int placed) {
    Canvas& c = Surface();
    if (c.reference()) {
        for (int x = 1; x <= kGridLastX; x += kGridStep)
            for (int y = 1; y <= kGridLastY; y += kGridStep) DrawGridArrow(WorkOutGridArrow(x, y, placed));
        return;
    }
    FieldMemo& field = FieldMemoOf(c);
    if (MemoHolds(field.grid, placed)) {
        if (field.grid.recorded) {
            c.replay(field.grid.pixels);
            DrawGridArrow(field.grid.arrows.back());
        } else {
            for (const GridArrow& a : field.grid.arrows) DrawGridArrow(a);
        }
        return;
    }
    GridMemo memo;
    memo.placed = placed;
    for (int i = 0; i < placed; ++i) memo.q[i] = ChargeQ[i], memo.x[i] = ChargeX[i], memo.y[i] = ChargeY[i];
    memo.arrows = WorkOutGrid(field, placed);
    // The arrows cover the field area. The whole surface is written out, a few rows more than
    // they need, so that none of their 4,500 lines finds a kept fill to look into.
    c.writeOutFills(QRect(0, 0, kSurfaceWidth, kSurfaceHeight));
    memo.pixels.writes.reserve(kGridPoints * 32);  // an arrow sets some 20 to 30 pixels
    c.beginRecording(&memo.pixels);
    DrawArrows(kArrowLength, kArrowHead, kCopy, kSolidPen,
               std::span(memo.arrows).first(memo.arrows.size() - 1));
    memo.recorded = c.endRecording();
    DrawGridArrow(memo.arrows.back());
    if (!memo.recorded) memo.pixels = Canvas::Recording{};
    field.grid = std::move(memo);
}

bool OutsideBox(double x, double y) { return x > kBoxRight || x < kBoxLeft || y > kBoxBottom || y < kBoxTop; }

}  // namespace

QRgb FieldStrengthColour(double m) {
    // White through aqua (255) to green (2550), then darker green to black at 25500; each channel
    // keeps its low 8 bits.
    double r = 0, g = 0, b = 0;
    if (!(m > 255)) {
        r = 255 - m, g = 255, b = 255;
    } else if (m < 2550) {
        r = 0, g = 255, b = 255 - m * 0.1;
    } else {
        if (m >= 25500) m = 25500;
        r = 0, g = 255 - m * 0.01, b = 0;
    }
    return qRgb(TruncToInt(r) & 0xFF, TruncToInt(g) & 0xFF, TruncToInt(b) & 0xFF);
}

void ElectricFieldStep() {
    // 1. At tick 0 the surface is cleared and the field area painted white with an olive outline.
    if (TickCount == 0) {
        ClearArea(0, 0, 700, 550);
        DrawTiltedPanel2(3, 3, 90, 477, 696, kWhite, kOlive, kSolidBrush);
    }

    // 2. The charges of the layout, and the field of each at the test point. A test charge that
    //    has reached a charge (rounded squared distance 0) meets an infinite field: its run ends.
    const int placed = PlaceCharges();
    bool reachedCharge = false;
    for (int i = 0; i < placed; ++i) {
        ChargeColour[i] = ColourOfCharge(ChargeQ[i]);
        DrawCharge(i);
        if (!TestPlaced) continue;
        if (ChargeQ[i] != 0) {
            Field f;
            if (FieldOfCharge(i, TestX, TestY, DistSq[i], f)) {
                FieldAngle[i] = f.deg;
                FieldMag[i] = f.mag;
                if (TestSign == 0) {
                    const int colour = 2 * i + 2;  // blue, purple, silver, grey for charges 1 to 4
                    SetDrawStyle(colour, 1, kDotPen, kCopy, kClearBrush, kWhite);
                    Surface().moveTo(ChargeX[i], ChargeY[i]);
                    Surface().lineTo(TestX, TestY);
                    DrawLabelledArrow(FieldMag[i], TruncToInt(FieldAngle[i]), TestX, TestY, kCopy, kSolidPen,
                                      colour, 2, 1, 2, 14, QString());
                }
            } else {
                reachedCharge = true;
            }
        }
        if (TickCount > kLastTick) Host().ShowStoppedControls();
    }

    // 3. The field grid, drawn at set-up and on the first tick only.
    if (TickCount < 2) DrawGrid(placed);

    // 4. The charges again, over the grid.
    for (int i = 0; i < 4; ++i)
        if (ChargeX[i] > 0) DrawCharge(i);

    // 5. The sign buttons: a red dot for a positive test charge, a blue one for a negative.
    DrawTiltedPanel(600, 10, 90, 100, 90, kApricot, kSolidBrush);
    DrawEllipse(615, 40, 7, 7, kRed, 1, kSolidPen, kCopy, kSolidBrush, kRed);
    DrawEllipse(615, 80, 7, 7, kBlue, 1, kSolidPen, kCopy, kSolidBrush, kBlue);
    DrawLabel(630, 30, 12, kFontSilver, 0, QStringLiteral("正电荷"));
    DrawLabel(630, 70, 12, kFontSilver, 0, QStringLiteral("负电荷"));

    // 6. The resultant field at the test point.
    SumVectors4(FieldMag[0], FieldAngle[0], FieldMag[1], FieldAngle[1], FieldMag[2], FieldAngle[2],
                FieldMag[3], FieldAngle[3]);

    // 7. Without a test charge it is drawn as a red arrow, as many pixels long as the field is strong.
    if (TestSign == 0) {
        DrawLabelledArrow(SumMag, TruncToInt(VectorAngleDeg), TestX, TestY, kCopy, kSolidPen, kRed, 2, 1, 2,
                          14, QString());
    }

    // 8. With a test charge: one step of its flight under the resultant, y measured upwards. It
    //    starts from rest on the first tick; presses before Start move it with the stored velocity.
    //    A charge that has reached another stays where it is and its run ends.
    if (TestSign != 0) {
        if (reachedCharge) {
            Host().ShowStoppedControls();
        } else {
            const double a = DegToRad(VectorAngleDeg);
            const double ax = TestSign * SumMag * std::cos(a);
            const double ay = TestSign * SumMag * std::sin(a);
            const double vx = TickCount == 1 ? 0.0 : BodyVX[0];
            const double vy = TickCount == 1 ? 0.0 : BodyVY[0];
            AdvanceBody(vx, vy, ax, ay, TestX, -TestY, kTimeStep, 0);
            TestX = BodyX[0];
            TestY = -BodyY[0];
            // The previous position turns pale under a silver dot merged into it: that is the trail.
            if (TickCount > 1)
                DrawEllipse(TestPrevX, TestPrevY, 5, 5, kSilver, 1, kSolidPen, kMerge, kSolidBrush, kSilver);
            TestPrevX = TestX;
            TestPrevY = TestY;
        }
        const int colour = 1 - TestSign;  // red for +1, blue for -1
        DrawEllipse(TestX, TestY, 5, 5, colour, 1, kSolidPen, kCopy, kSolidBrush, colour);
    }

    // 9. Out of the box from tick 6 on: the run ends.
    if (TickCount > 5 && OutsideBox(TestX, TestY)) Host().ShowStoppedControls();

    // 10. The frame of the field area: top, bottom, left and right edges.
    DrawRay(700, 0, 1, 1, kSolidPen, kCopy, kRose, 3, 2, 0, kRose, kRose);
    DrawRay(700, 0, 1, 480, kSolidPen, kCopy, kRose, 3, 2, 0, kRose, kRose);
    DrawRay(700, 270, 1, 1, kSolidPen, kCopy, kRose, 3, 2, 0, kRose, kRose);
    DrawRay(700, 270, 700, 1, kSolidPen, kCopy, kRose, 3, 2, 0, kRose, kRose);

    // 11. The strip below the field, pale green (a clear brush turns solid when coloured).
    DrawTiltedPanel(3, 481, 90, 550, 700, kPaleGreen, kClearBrush);
}

namespace {
// Charge i's field at the test charge for the export. A slot is placed when its layout gave it a
// place: the reset puts every slot at x 0, and every layout's charges lie right of it.
Field FieldAtTest(int i) {
    Field f;
    if (!TestPlaced || i < 0 || i >= 4 || !(ChargeX[i] > 0) || ChargeQ[i] == 0) return f;
    double distSq = 0;
    if (!FieldOfCharge(i, TestX, TestY, distSq, f)) return Field{};
    return f;
}
}  // namespace

double FieldStrengthAtTest(int i) { return FieldAtTest(i).mag; }

double ResultantAtTest() {
    // The components in the order the kit's SumVectors4 adds them.
    double x = 0, y = 0;
    for (int i = 0; i < 4; ++i) {
        const Field f = FieldAtTest(i);
        x += f.mag * std::cos(DegToRad(f.deg));
        y += f.mag * std::sin(DegToRad(f.deg));
    }
    return std::sqrt(x * x + y * y);
}

double TestChargeSpeed() { return std::hypot(BodyVX[0], BodyVY[0]) * kTimeStep; }

void ElectricFieldReset() {
    Host().SetStepInterval(40);
    TestPlaced = false;
    SignButtonsLive = false;
    TestSign = 0;
    FieldMag.fill(0.0);
    ChargeX.fill(0.0);
    ChargeY.fill(0.0);
    TestX = TestY = TestPrevX = TestPrevY = 0.0;
    for (int i = 0; i < 4; ++i) ChargeQ[i] = 1;
    BodyX[0] = BodyY[0] = BodyVX[0] = BodyVY[0] = 0.0;
}

void ElectricFieldChosen() {
    FieldMemo& memo = FieldMemoOf(Surface());
    for (const Layout& layout : kLayouts)
        for (int i = 0; i < layout.count; ++i)
            for (const bool negative : {false, true}) GeometryAt(memo, layout.x[i], layout.y[i], negative);
}

void ElectricFieldMouseDown(int x, int y) {
    if (MouseClickActive != 1) return;
    if (x < 581 || y > 119) {
        // The test point. A point exactly on a charge moves one pixel up and left, so that it
        // never sits at distance 0.
        TestPlaced = true;
        SignButtonsLive = true;
        TestX = x;
        TestY = y;
        for (int i = 0; i < 4; ++i) {
            if (TestX == ChargeX[i] && TestY == ChargeY[i]) {
                TestX -= 1;
                TestY -= 1;
            }
        }
    } else if (SignButtonsLive && OnPositiveButton(x, y)) {
        TestSign = 1;
        Host().SetStartEnabled(true);
    } else if (SignButtonsLive && OnNegativeButton(x, y)) {
        TestSign = -1;
        Host().SetStartEnabled(true);
    } else {
        return;  // the rest of the button box takes no press
    }
    ElectricFieldStep();
    Host().SurfaceChanged();
}

void ElectricFieldMouseMove(int x, int y) {
    if (MouseMoveActive != 1) return;
    const bool overButton = OnPositiveButton(x, y) || OnNegativeButton(x, y);
    Host().SetSurfaceCursor(overButton ? SurfaceCursor::Hand : SurfaceCursor::Default);
}

void ElectricFieldMouseUp(int /*x*/, int /*y*/) { Host().SetSurfaceCursor(SurfaceCursor::Default); }

namespace {
// Every variable of the experiment, by its name, with its program-start value. ChargeQ,
// ChargeColour and TestSign live in the kit's shared slots and are listed with them.
const LabVars kVars{
    {"ChargeX", ChargeX},       {"ChargeY", ChargeY},
    {"TestX", TestX},           {"TestY", TestY},
    {"TestPrevX", TestPrevX},   {"TestPrevY", TestPrevY},
    {"TestPlaced", TestPlaced}, {"SignButtonsLive", SignButtonsLive},
    {"DistSq", DistSq},         {"FieldMag", FieldMag},
    {"FieldAngle", FieldAngle},
};
}  // namespace

void ElectricFieldDescribe(QJsonObject& out) { kVars.Describe(out); }

void ElectricFieldResetProgramState() { kVars.Restore(); }

}  // namespace vlab
