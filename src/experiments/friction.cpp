// Friction (code 201). A block lies on a table and is pulled at an angle by a force that rises by
// one newton every ten ticks, from 0 to the force set in the panel. While the block holds, static
// friction matches the horizontal part of the pull; once that part reaches the largest static
// friction the block slides and the friction drops to the kinetic value. The graph below the table
// plots friction against the horizontal pull, one colour per run, and is never erased between runs.
//
// Units: forces in newtons, lengths in pixels, one tick is 0.1 s. The block's offset and velocity
// are body 0 of the shared body arrays, advanced with the excess pull taken as px/s^2.

#include "experiments/friction.h"

#include <cmath>

#include "draw/figures.h"
#include "draw/numeric.h"
#include "draw/shapes.h"
#include "draw/style.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "lab/lab_vars.h"

namespace vlab {

double AppliedForce = 120.0;
double ForceAngle = 0.0;
double BlockHeight = 100.0;
double BlockWidth = 50.0;
int FrictionSetCount = -1;
std::array<double, 4> FrictionForces{};
int FrictionTicks = 0;

namespace {

constexpr double kWeight = 100.0;        // N
constexpr double kStaticCoeff = 0.8;     // largest static friction per newton of normal force
constexpr double kKineticShare = 0.9;    // kinetic friction as a share of the largest static one
constexpr double kTickSeconds = 0.1;     // one tick of the run
constexpr double kArrowPxPerN = 0.85;    // length of the pull and friction arrows
constexpr double kGraphPxPerN = 3.0;     // both axes of the graph
constexpr double kEndOffset = 750.0;     // the run ends once the block is farther than this, px
constexpr double kGraphOriginX = 100.0;  // where the axes cross
constexpr double kGraphOriginY = 525.0;
constexpr double kGraphTop = 204.0;  // top edge of the graph area, below the table
constexpr double kDotSize = 3.0;     // graph dots, pixels across
constexpr double kTableTop = 140.0;
constexpr double kBlockBottom = 139.0;  // the block stands one pixel above the table top
constexpr double kUpright = 100.0;      // block heights the panel offers
constexpr double kLying = 50.0;

// Colour codes.
constexpr int kOlive = 3;
constexpr int kBlack = 5;
constexpr int kPaleBlue = 11;
constexpr int kWhite = 12;
constexpr int kPaleGreen = 16;
constexpr int kApricot = 20;

// The run's colour code for its pull arrow and graph dots. The drawing kit gives every code up to
// 98 a fixed colour, but 99 and above mean "keep the pen as it is", which would give the dots of a
// 100th run whatever colour was drawn last; from there on the runs go round 22..98 again.
int RunColour() {
    constexpr int kFirstSpare = 22, kSpareCount = kKeepColour - kFirstSpare;
    if (FrictionSetCount < kKeepColour) return FrictionSetCount;
    return kFirstSpare + (FrictionSetCount - kFirstSpare) % kSpareCount;
}

bool KnownBlock() { return BlockHeight == kUpright || BlockHeight == kLying; }

// The surface as the first set-up after choosing Friction leaves it: apparatus strip, the
// cross-hatched graph area (it runs past the bottom of the surface) and both labelled axes.
void DrawGraphFrame() {
    ClearArea(0, 0, 700, 550);
    DrawTiltedPanel2(3, 3, 90, 136, 696, kPaleBlue, kOlive, 0);
    DrawTiltedPanel(3, kGraphTop, 90, 500, 700, kPaleGreen, 1);
    DrawLabelledArrow(500, 0, kGraphOriginX, kGraphOriginY, 0, 0, kBlack, 1, 1, 2, 12,
                      QStringLiteral("水平作用力 Fx"));
    DrawLabelledArrow(300, 90, kGraphOriginX, kGraphOriginY, 0, 0, kBlack, 1, 1, 2, 12,
                      QStringLiteral("摩擦力 f"));
}

// Strip and table, redrawn on every call; this erases the last tick's block and arrows. Nothing
// below y = 203 is touched, so the graph keeps its points.
void DrawApparatus() {
    ClearArea(0, 0, 700, 140);
    DrawTiltedPanel(3, 3, 90, 136, 700, kPaleBlue, 0);
    DrawTiltedPanel(3, kTableTop, 90, 63, 696, kWhite, 0);
    DrawTiltedPanel(3, kTableTop, 90, 63, 696, kApricot, 3);
}

void DrawBlock() {
    const double x = BodyX[0];
    if (BlockHeight == kLying) {
        DrawTiltedPanel2(x + 23, kBlockBottom - kLying, 90, kLying, 100, kPaleGreen, kPaleGreen, 0);
    } else if (BlockHeight == kUpright) {
        DrawTiltedPanel2(x + 73, kBlockBottom - kUpright, 90, kUpright, 50, kPaleGreen, kPaleGreen, 0);
    }
}

}  // namespace

void FrictionStep() {
    const double theta = DegToRad(ForceAngle);
    double& pull = FrictionForces[0];

    // 1. The first set-up after choosing Friction starts a clean graph.
    if (TickCount == 0 && FrictionSetCount == -1) DrawGraphFrame();

    // 2. Apparatus.
    DrawApparatus();

    // 3. The pull rises by 1 N every 10 ticks, up to the set force. It is drawn from the block's
    //    right face, 40 % of the block's height above the table.
    if (TickCount > 0) {
        FrictionTicks += 1;
        pull += std::trunc(FrictionTicks * kTickSeconds - pull);
        if (pull > AppliedForce) pull = AppliedForce;
        if (KnownBlock()) {
            DrawLabelledArrow(pull * kArrowPxPerN, TruncToInt(ForceAngle), BodyX[0] + 123,
                              kBlockBottom - BlockHeight * 0.4, 0, 0, RunColour(), 2, 1, 2, 11,
                              QStringLiteral("F = ") + ShortestText(pull));
        }
    }

    // 4. The normal force is taken from the set force, not the current pull: a pull at an angle
    //    lifts (or presses) the block by its full set value from the first tick on.
    const double staticMax = (kWeight - std::sin(theta) * AppliedForce) * kStaticCoeff;
    FrictionForces[1] = std::cos(theta) * pull - staticMax;
    if (FrictionForces[1] >= 0) {
        AdvanceBody(BodyVX[0], 0, FrictionForces[1], 0, BodyX[0], 0, kTickSeconds, 0);
        FrictionForces[2] = staticMax * kKineticShare * kGraphPxPerN;
        FrictionForces[3] = std::cos(theta) * pull * kGraphPxPerN;
    } else {
        FrictionForces[2] = std::cos(theta) * pull * kGraphPxPerN;
        FrictionForces[3] = FrictionForces[2];
    }

    // 5. The block (none for a height the panel does not offer).
    DrawBlock();

    // 6. This tick's point on the graph, and the friction arrow pointing back from the middle of
    //    the block's bottom face.
    if (TickCount > 0) {
        const int colour = RunColour();
        const double dotY = kGraphOriginY - FrictionForces[2];
        // Static friction above about 107 N (pulls near 120 N pressing down at 17 to 27 degrees)
        // would put the dot on the table band, which the next call repaints: such a point is left
        // out rather than flicker on the table, or stay there after the last tick.
        if (dotY - kDotSize / 2 >= kGraphTop) {
            DrawEllipse(kGraphOriginX + FrictionForces[3], dotY, kDotSize, kDotSize, colour, 1, 0, 0, 0,
                        colour);
        }
        const double length = FrictionForces[2] * kArrowPxPerN * (1.0 / kGraphPxPerN);
        if (BlockHeight == kLying) {
            DrawLabelledArrow(length, 180, BodyX[0] + 72.5, kTableTop, 0, 0, kBlack, 2, 1, 2, 11,
                              QStringLiteral("f "));
        } else if (BlockHeight == kUpright) {
            DrawLabelledArrow(length, 180, BodyX[0] + 97.5, kTableTop, 0, 0, kBlack, 2, 1, 2, 11,
                              QStringLiteral("f "));
        }
    }

    // 7. The run ends once the pull has reached the set force (at once for a set force of 0) or
    //    the block has slid off to the right.
    if (BodyX[0] > kEndOffset || pull == AppliedForce) Host().ShowStoppedControls();
}

void FrictionReset() {
    // Step interval first: the speed bar follows it.
    Host().SetStepInterval(50);
    FrictionForces.fill(0.0);
    BlockHeight = 100.0;
    BlockWidth = 50.0;
    BodyVX[0] = 0.0;
    BodyX[0] = 0.0;
}

void FrictionChosen() {
    FrictionSetCount = -1;
    ForceAngle = 0.0;
    AppliedForce = 120.0;
}

void FrictionSettingUp() {
    FrictionTicks = 0;
    FrictionForces.fill(0.0);
    BodyVX[0] = 0.0;
    BodyX[0] = 0.0;
}

void FrictionSetUpDone() { FrictionSetCount += 1; }

namespace {
// Every variable of the experiment, by its name, with its program-start value.
const LabVars kVars{
    {"AppliedForce", AppliedForce},         {"ForceAngle", ForceAngle},
    {"BlockHeight", BlockHeight},           {"BlockWidth", BlockWidth},
    {"FrictionSetCount", FrictionSetCount}, {"FrictionForces", FrictionForces},
    {"FrictionTicks", FrictionTicks},
};
}  // namespace

void FrictionDescribe(QJsonObject& out) { kVars.Describe(out); }

void FrictionResetProgramState() { kVars.Restore(); }

}  // namespace vlab
