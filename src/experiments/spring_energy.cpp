// Spring oscillator energy (code 203). A block on a horizontal floor hangs on a spring tied to the
// wall at the left. Between Setting and Start the user drags the block sideways to set the
// amplitude and clicks the k and m boxes; while the timer runs the block oscillates harmonically
// and the graph below plots the potential, kinetic and total energy against the displacement,
// turning each tick's points silver on the next tick so that the curves build up.
//
// Units: lengths in pixels of the surface, time in ticks, phase in degrees. One tick advances the
// phase by SpringOmega = sqrt(k/m) degrees, so a period lasts 360 / SpringOmega ticks.

#include "experiments/spring_energy.h"

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

double SpringConstant = 2.0;
double SpringMass = 2.0;
double SpringOmega = 1.0;
double SpringDisplacement = 0.0;
double SpringX = 0.0;
double SpringPotential = 0.0;
double SpringKinetic = 0.0;
double SpringEnergy0 = 0.0;
std::array<double, 8> SpringTrail{};
int SpringLastButton = 0;
int SpringDragging = 0;
int SpringFirstGrab = 1;

namespace {

// Where the spring is tied to the wall, and its build: 30 coils, 10 px pitch when relaxed, so the
// relaxed spring's free end (the block's rest position) lies at x 314.
constexpr double kSpringFixedX = 10.0;
constexpr double kSpringFixedY = 100.0;
constexpr double kSpringCoils = 30.0;

// The amplitude the drag can reach either side of the rest position, pixels.
constexpr double kMaxDisplacement = 270.0;

// Origin of the energy graph (the axes cross here), pixels.
constexpr double kGraphOriginX = 339.0;
constexpr double kGraphOriginY = 530.0;

// Us = x^2 * kEnergyScale * k turns a displacement in pixels into a height in graph pixels: at
// A = 270 and k = 4 the largest energy is 255 px, which fits under the energy axis.
constexpr double kEnergyScale = 0.000875;
// The force arrow is |x * k * kForceScale| pixels long (216 px at A = 270, k = 4).
constexpr double kForceScale = 0.2;

// The block is 40 px wide and 60 px high; it is grabbed within 50 px right of the spring's end and
// 40 px above or below the spring's line.
constexpr double kBlockWidth = 40.0;
constexpr double kBlockHalfHeight = 30.0;

// Colour codes and font colour indices used below.
constexpr int kRed = 0;
constexpr int kBlue = 2;
constexpr int kOlive = 3;
constexpr int kPurple = 4;
constexpr int kBlack = 5;
constexpr int kSilver = 6;
constexpr int kPaleBlue = 11;
constexpr int kPaleYellow = 14;
constexpr int kPaleGreen = 16;
constexpr int kLightBrown = 18;
constexpr int kApricot = 20;

bool OverBlock(int x, int y) {
    return SpringEndX < x && x < SpringEndX + 50 && SpringEndY - 40 < y && y < SpringEndY + 40;
}

// The two parameter boxes, as the press sees them (whole pixels strictly inside the outline).
bool InKBox(int x, int y) { return 151 <= y && y <= 179 && 11 <= x && x <= 89; }
bool InMBox(int x, int y) { return 151 <= y && y <= 179 && 181 <= x && x <= 259; }

void DrawSpringNow() {
    DrawSpring(kSpringFixedX, kSpringFixedY, kSpringCoils, SpringX / kSpringCoils, 0, 1, 0);
}

// A 4 x 4 dot of the energy graph in one colour, outline and fill alike.
void Dot(double x, double y, int colour, int penWidth) {
    DrawEllipse(x, y, 4, 4, colour, penWidth, 0, 0, 0, colour);
}

double Wrapped(double value) { return value + 1 > 4 ? 1 : value + 1; }

// The oscillator's phase at this tick, radians.
double Phase() { return TickCount * SpringOmega * kPi / 180.0; }

}  // namespace

void SpringEnergyStep() {
    // 1. Background. At tick 0 the whole surface is cleared and the graph area cross-hatched; while
    //    running only the border lines are redrawn, so the graph keeps every dot since tick 0.
    if (TickCount == 0) {
        ClearArea(0, 0, 700, 550);
        DrawTiltedPanel(3, 196, 90, 550, 700, kPaleYellow, 1);
    } else {
        ClearArea(0, 200, 700, 200);
    }

    // 2. Phase advance per tick, degrees.
    SpringOmega = std::sqrt(SpringConstant / SpringMass);

    // 3. The top band (wall, spring, block, arrow) and the formula band are repainted every tick,
    //    which erases the previous spring, block and arrow.
    DrawTiltedPanel2(3, 3, 90, 132, 696, kPaleBlue, kOlive, 0);
    DrawTiltedPanel2(3, 136, 90, 60, 696, kPaleGreen, kOlive, 0);

    // 4. Formulas. "___" is the bar of the root sign over m/k; the small "2"s are the exponents of
    //    x and V.
    DrawLabel(483, 140, 10, kPurple, 1, QStringLiteral("___"));
    DrawLabel(350, 155, 10, kPurple, 1, QStringLiteral("F = - k x  ;  T = 2兀 √ m/k  "));
    DrawLabel(630, 142, 8, kPurple, 1, QStringLiteral("2"));
    DrawLabel(637, 165, 8, kPurple, 1, QStringLiteral("2"));
    DrawLabel(550, 145, 10, kPurple, 1, QStringLiteral("Us = 1/2 k x  "));
    DrawLabel(550, 170, 10, kPurple, 1, QStringLiteral("Ek = 1/2 m V  "));

    // 5. Displacement of this tick.
    SpringX = SpringDisplacement * std::cos(Phase());

    // 6. Axes: displacement r from (20, 530) to (680, 530), energy E from (339, 530) up to (339, 230).
    DrawLabelledArrow(660, 0, 20, kGraphOriginY, 0, 0, kBlack, 2, 1, 1, 12, QStringLiteral("r"));
    DrawLabelledArrow(300, 90, kGraphOriginX, kGraphOriginY, 0, 0, kBlack, 2, 1, 1, 12, QStringLiteral("E"));

    // 7. The k and m boxes.
    DrawTiltedPanel2(10, 150, 90, 30, 80, kApricot, kLightBrown, 0);
    DrawTiltedPanel2(180, 150, 90, 30, 80, kApricot, kLightBrown, 0);

    // 8. Their texts.
    DrawLabel(15, 155, 12, kBlue, 1,
              QStringLiteral("力常数 k    : ") + ShortestText(SpringConstant) + QStringLiteral(" Nt / m"));
    DrawLabel(190, 155, 12, kBlue, 1,
              QStringLiteral(" 质量 m    : ") + ShortestText(SpringMass) + QStringLiteral(" Kg "));

    // 9. The parameter changed last is named again in red.
    if (SpringLastButton == 0) DrawLabel(15, 155, 12, kRed, 1, QStringLiteral("力常数 k "));
    if (SpringLastButton == 1) DrawLabel(190, 155, 12, kRed, 1, QStringLiteral(" 质量 m"));

    // 10. The spring, stretched evenly over its coils; its free end is (314 + x, 100).
    DrawSpringNow();

    // 11. Wall and floor: olive outline, silver fill.
    SetDrawStyle(kOlive, 1, 0, 0, 2, kSilver);
    Surface().roundRect(0, 0, 10, 135, 4, 4);
    Surface().roundRect(0, SpringEndY + kBlockHalfHeight, 700, SpringEndY + kBlockHalfHeight + 5, 4, 4);

    // 12. The block hangs on the spring's end and stands on the floor.
    SetDrawStyle(kOlive, 1, 0, 0, 2, kPaleGreen);
    Surface().roundRect(SpringEndX, SpringEndY - kBlockHalfHeight, SpringEndX + kBlockWidth,
                        SpringEndY + kBlockHalfHeight, 4, 4);
    const double endX = SpringEndX;  // the arrows below overwrite SpringEndX

    // 13. Energies in graph pixels. The total is taken as the potential energy at tick 1, and the
    //     kinetic energy as the difference from it.
    const double us = SpringX * SpringX * kEnergyScale * SpringConstant;
    SpringPotential = us;
    if (TickCount == 1) SpringEnergy0 = us;
    const double ek = std::fabs(us - SpringEnergy0);
    SpringKinetic = ek;
    const double total = us + ek;

    // 14. This tick's points in colour.
    const double plotX = kGraphOriginX + SpringX;
    if (TickCount > 0) {
        Dot(plotX, kGraphOriginY - us, kBlue, 1);
        Dot(plotX, kGraphOriginY - ek, kRed, 1);
        Dot(plotX, kGraphOriginY - total, kBlack, 1);
    }

    // 15. Keep them in the set of this tick's parity ...
    const int parity = TickCount & 1;  // 0 on even ticks, 1 on odd ones
    const int mine = parity * 4;
    SpringTrail[mine + 0] = plotX;
    SpringTrail[mine + 1] = kGraphOriginY - total;
    SpringTrail[mine + 2] = kGraphOriginY - ek;
    SpringTrail[mine + 3] = kGraphOriginY - us;

    // 16. ... and turn the previous tick's points silver: these dots build the curves.
    if (TickCount > 1) {
        const int other = (1 - parity) * 4;
        for (int i = 1; i <= 3; ++i) Dot(SpringTrail[other], SpringTrail[other + i], kSilver, 0);
    }

    // 17. Legend.
    DrawEllipse(70, 210, 5, 5, kBlack, 1, 0, 0, 0, kBlack);
    DrawEllipse(70, 225, 5, 5, kRed, 1, 0, 0, 0, kRed);
    DrawEllipse(70, 240, 5, 5, kBlue, 1, 0, 0, 0, kBlue);
    DrawLabel(10, 200, 10, kOlive, 0, QStringLiteral("总能量"));
    DrawLabel(10, 215, 10, kOlive, 0, QStringLiteral("动能"));
    DrawLabel(10, 230, 10, kOlive, 0, QStringLiteral("弹力位能"));

    // 18. The spring force on the block points back towards the rest position: right while the
    //     spring is compressed, left while it is stretched.
    const double force = std::fabs(SpringX * SpringConstant * kForceScale);
    if (SpringX < 0) {
        DrawLabelledArrow(force, 0, endX + 20, 60, 0, 0, kBlue, 1, 1, 2, 12, QStringLiteral("F"));
    } else if (SpringX > 0) {
        DrawLabelledArrow(force, 180, endX + 20, 60, 0, 0, kBlue, 1, 1, 2, 12, QStringLiteral("F"));
    }

    // 19. Draw the spring once more so that SpringEndX/SpringEndY hold its free end again after the
    //     arrows overwrote them: the mouse reactions test the block against them.
    DrawSpringNow();
}

double SpringSpeed() {
    // x = A cos(w t) with w = SpringOmega radians a second and t = TickCount * pi/180 s.
    return -SpringDisplacement * SpringOmega * std::sin(Phase());
}

void SpringEnergyReset() {
    SpringFirstGrab = 1;
    SpringDragging = 0;
    Host().SetStepInterval(10);
    // The relaxed spring gives the block's rest position in SpringEndX/SpringEndY.
    DrawSpring(kSpringFixedX, kSpringFixedY, kSpringCoils, 0, 0, 1, 0);
    SpringLastButton = 0;
    SpringX = 0;
    SpringPotential = 0;
    SpringKinetic = 0;
    SpringEnergy0 = 0;
    SpringTrail.fill(0.0);
    SpringConstant = 2.0;
    SpringMass = 2.0;
    SpringOmega = 1.0;
    SpringDisplacement = 0;
    BodyX[0] = SpringEndX;
    BodyY[0] = SpringEndY;
}

void SpringEnergyMouseDown(int x, int y) {
    if (MouseClickActive != 1) return;
    if (OverBlock(x, y)) {
        // The block is taken up; the next moves drag it. Nothing is redrawn yet.
        SpringDragging = 1;
    } else if (InKBox(x, y)) {
        SpringLastButton = 0;
        SpringConstant = Wrapped(SpringConstant);
        SpringEnergyStep();
        Host().SurfaceChanged();
    } else if (InMBox(x, y)) {
        SpringLastButton = 1;
        SpringMass = Wrapped(SpringMass);
        SpringEnergyStep();
        Host().SurfaceChanged();
    }
}

void SpringEnergyMouseMove(int x, int y) {
    // The lab window only passes moves on while the flag is set; the test here keeps a stray call
    // from moving the block while the timer runs.
    if (MouseMoveActive != 1) return;
    if (OverBlock(x, y)) {
        Host().SetSurfaceCursor(SurfaceCursor::Hand);
        if (SpringDragging == 0) return;
        ClearArea(0, 0, 700, 550);
        if (SpringFirstGrab == 1) {
            // Where in the block the pointer holds it; kept for every later grab until the
            // experiment is set up again.
            BodyY[0] = x - SpringEndX;
            SpringFirstGrab = 0;
        }
        SpringDisplacement = std::clamp(x - BodyX[0] - BodyY[0], -kMaxDisplacement, kMaxDisplacement);
        SpringEnergyStep();
        Host().SurfaceChanged();
        return;
    }
    const bool overBox = 150 < y && y < 180 && ((10 < x && x < 90) || (180 < x && x < 260));
    Host().SetSurfaceCursor(overBox ? SurfaceCursor::Hand : SurfaceCursor::Default);
}

void SpringEnergyMouseUp(int /*x*/, int /*y*/) {
    SpringDragging = 0;
    Host().SetSurfaceCursor(SurfaceCursor::Default);
}

namespace {
// Every variable of the experiment, by its name, with its program-start value.
const LabVars kVars{
    {"SpringConstant", SpringConstant},
    {"SpringMass", SpringMass},
    {"SpringOmega", SpringOmega},
    {"SpringDisplacement", SpringDisplacement},
    {"SpringX", SpringX},
    {"SpringPotential", SpringPotential},
    {"SpringKinetic", SpringKinetic},
    {"SpringEnergy0", SpringEnergy0},
    {"SpringTrail", SpringTrail},
    {"SpringLastButton", SpringLastButton},
    {"SpringDragging", SpringDragging},
    {"SpringFirstGrab", SpringFirstGrab},
};
}  // namespace

void SpringEnergyDescribe(QJsonObject& out) { kVars.Describe(out); }

void SpringEnergyResetProgramState() { kVars.Restore(); }

}  // namespace vlab
