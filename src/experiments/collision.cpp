// Two-block collision (code 204). A red block A and a blue block B slide towards each other on a
// track; B carries a short spring on its left face. While A presses on the spring the two blocks
// push each other apart, and below the track the momenta and the energies are plotted point by
// point against time: one column every 3 pixels per tick.
//
// Units: lengths in pixels, velocities in pixels per time unit, one tick is 0.1 time units, so a
// block moving at 10 covers one pixel a tick. Energies are mass x velocity^2 in those units; the
// spring pushes with 0.5 per pixel of compression.

#include "experiments/collision.h"

#include "draw/canvas.h"
#include "draw/figures.h"
#include "draw/numeric.h"
#include "draw/shapes.h"
#include "draw/style.h"
#include "experiments/wave_superposition.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "lab/lab_vars.h"

namespace vlab {

double CollisionMassA = 5.0;
double CollisionVelA = 10.0;
double CollisionMassB = 1.0;
double CollisionVelB = -10.0;
double CollisionEint0 = 0.0;
double CollisionVcm = 0.0;
double CollisionEcm = 0.0;
double CollisionEint = 0.0;
double CollisionEs = 0.0;
double CollisionEtotal = 0.0;

namespace {

constexpr double kTickTime = 0.1;        // time units per tick
constexpr double kSpringConstant = 0.5;  // force per pixel of compression
constexpr int kContactSubSteps = 100;    // sub-steps of a tick while the spring is pressed

// Both blocks are 44 px wide and stand between y 56 and y 100 on the track. The relaxed spring is
// 54 px long, so A touches it when the centres are 22 + 54 + 22 = 98 px apart.
constexpr double kHalfBlock = 22.0;
constexpr double kBlockTop = 56.0;
constexpr double kBlockBottom = 100.0;
constexpr double kContactDistance = 98.0;
constexpr double kSpringY = 78.0;
constexpr double kSpringCoils = 5.0;
// The spring's fixed end is 76 px left of B's centre: its free end (4 + 5 coils of 10 px later)
// then lies on B's left face.
constexpr double kSpringBack = 76.0;
// Where the set-up picture puts the blocks: A's centre, and the relaxed spring's fixed end, whose
// free end is B's left face (426).
constexpr double kStartCentreA = 272.0;
constexpr double kSetUpSpringX = 372.0;

// A block whose centre leaves this range has left the track, which ends the run.
constexpr double kTrackLeft = -20.0;
constexpr double kTrackRight = 720.0;

// The graphs: time runs from x 20 one column of 3 px per tick; momenta rise from y 250 one pixel
// per unit, energies from y 530 a quarter pixel per unit.
constexpr double kPlotLeft = 20.0;
constexpr double kColumnWidth = 3.0;
constexpr double kMomentumZeroY = 250.0;
constexpr double kEnergyZeroY = 530.0;
constexpr double kEnergyScale = 0.25;

// Colour codes and font colour indices used below.
constexpr int kRed = 0;
constexpr int kGrey = 1;
constexpr int kBlue = 2;
constexpr int kOlive = 3;
constexpr int kBlack = 5;
constexpr int kGreen = 10;
constexpr int kWhite = 12;
constexpr int kPaleYellow = 14;
constexpr int kPaleGreen = 16;

void DrawTopBand() { DrawTiltedPanel2(3, 3, 90, 103, 696, kPaleYellow, kOlive, 0); }

// Pale-green cross-hatch from y 104 to the bottom: the two graphs.
void DrawGraphArea() { DrawTiltedPanel(3, 104, 90, 450, 696, kPaleGreen, 1); }

// The momentum axes from (20, 360) and the energy axes from (20, 530); the lower vertical axis is
// "Ek" on the set-up picture and "E" while running.
void DrawAxes(const QString& energyLabel) {
    DrawLabelledArrow(220, 90, 20, 360, 0, 0, kBlack, 2, 1, 1, 12, QStringLiteral("Px"));
    DrawLabelledArrow(680, 0, 20, kMomentumZeroY, 0, 0, kBlack, 2, 1, 1, 12, QStringLiteral("t"));
    DrawLabelledArrow(165, 90, 20, kEnergyZeroY, 0, 0, kBlack, 2, 1, 1, 12, energyLabel);
    DrawLabelledArrow(680, 0, 20, kEnergyZeroY, 0, 0, kBlack, 2, 1, 1, 12, QStringLiteral("t"));
}

// The grey band the blocks slide on, y 100 to 110.
void DrawTrack() { DrawTiltedPanel2(3, 100, 90, 10, 696, kGrey, kOlive, 0); }

void DrawBlock(double left, int colour) {
    SetDrawStyle(kBlack, 1, 0, 0, 0, colour);
    Surface().roundRect(left, kBlockTop, left + 2 * kHalfBlock, kBlockBottom, 4, 4);
}

void DrawLetter(double x, const QString& letter) {
    SetDrawStyle(kWhite, 2, 0, 0, 0, kWhite);
    DrawLabel(x, 68, 12, kBlack, 1, letter);
}

// One point of a graph: a filled dot, outline and fill as given.
void Dot(double x, double y, double size, int penColour, int penWidth, int fillColour) {
    DrawEllipse(x, y, size, size, penColour, penWidth, 0, 0, 0, fillColour);
}

void LegendEntry(double dotY, int colour, const QString& text) {
    Dot(80, dotY, 4, colour, 1, colour);
    DrawLabel(90, dotY - 10, 10, kBlack, 0, text);
}

void DrawLegends() {
    LegendEntry(320, kBlack, QStringLiteral("总能量"));
    LegendEntry(340, kBlue, QStringLiteral("内动能"));
    LegendEntry(360, kRed, QStringLiteral("质心动能"));
    LegendEntry(380, kGreen, QStringLiteral("弹力位能"));
    LegendEntry(120, kBlack, QStringLiteral("总动量"));
    LegendEntry(140, kBlue, QStringLiteral("蓝方块动量"));
    LegendEntry(160, kRed, QStringLiteral("红方块动量"));
}

double CentreOfMassVelocity(double vA, double vB) {
    return (CollisionMassA * vA + CollisionMassB * vB) / (CollisionMassA + CollisionMassB);
}

// Kinetic energy of the motion relative to the centre of mass.
double InternalEnergy(double vcm, double vA, double vB) {
    return 0.5 * (CollisionMassA * (vcm - vA) * (vcm - vA) + CollisionMassB * (vcm - vB) * (vcm - vB));
}

void SetUpPicture() {
    DrawAxes(QStringLiteral("Ek"));
    DrawTrack();
    DrawSpring(kSetUpSpringX, kSpringY, kSpringCoils, 0, 0, 1, 0);
    const double faceB = SpringEndX;  // B's left face, 426
    SetDrawStyle(kBlack, 1, 0, 0, 0, kBlue);
    Surface().roundRect(faceB, SpringEndY - kHalfBlock, faceB + 2 * kHalfBlock, SpringEndY + kHalfBlock, 4,
                        4);
    DrawBlock(kStartCentreA - kHalfBlock, kRed);
    DrawLetter(faceB + 15, QStringLiteral("B"));
    DrawLetter(265, QStringLiteral("A"));
    // The end check reads the blocks where this picture shows them, not where an earlier run or
    // another experiment left the shared body slots.
    BodyX[0] = kStartCentreA;
    BodyX[1] = faceB + kHalfBlock;
    BodyX[2] = 0;
}

void AdvanceMotion() {
    if (TickCount == 1) {
        BodyVX[0] = CollisionVelA;
        BodyVX[1] = CollisionVelB;
        BodyX[0] = kStartCentreA;
        BodyX[1] = SpringEndX + kHalfBlock;  // B's centre in the set-up picture, 448
        CollisionEint0 = InternalEnergy(CentreOfMassVelocity(BodyVX[0], BodyVX[1]), BodyVX[0], BodyVX[1]);
    }
    // Free flight while A has not reached the spring; a tick whose flight brings A onto the spring
    // runs the contact as well.
    if (BodyX[1] - BodyX[0] > kContactDistance) {
        AdvanceBody(BodyVX[0], 0, 0, 0, BodyX[0], 0, kTickTime, 0);
        AdvanceBody(BodyVX[1], 0, 0, 0, BodyX[1], 0, kTickTime, 1);
    }
    if (BodyX[1] - BodyX[0] <= kContactDistance) StepBodies(kContactSubSteps);
}

void RunningPicture() {
    DrawAxes(QStringLiteral("E"));
    DrawTrack();

    // The spring's free end stays on B's left face and the spring shortens by the overlap.
    BodyX[2] = BodyX[1] - BodyX[0] - kContactDistance;
    if (BodyX[2] > 0) BodyX[2] = 0;
    DrawSpring(BodyX[1] - kSpringBack - BodyX[2], kSpringY, kSpringCoils, 0.2 * BodyX[2], 0, 1, 0);

    DrawBlock(BodyX[1] - kHalfBlock, kBlue);
    DrawBlock(BodyX[0] - kHalfBlock, kRed);
    DrawLetter(BodyX[0] - 6, QStringLiteral("A"));
    DrawLetter(BodyX[1] - 5, QStringLiteral("B"));
}

void ComputeEnergies() {
    const double vA = BodyVX[0], vB = BodyVX[1];
    CollisionVcm = CentreOfMassVelocity(vA, vB);
    CollisionEcm = CollisionVcm * CollisionVcm * (CollisionMassA + CollisionMassB) * 0.5;
    CollisionEint = InternalEnergy(CollisionVcm, vA, vB);
    CollisionEs = CollisionEint0 - CollisionEint;
    CollisionEtotal = RoundTo(CollisionEs + CollisionEcm + CollisionEint, 8);
}

void PlotPoints() {
    const double x = kPlotLeft + kColumnWidth * TickCount;  // in doubles: a long run never overflows
    const double totalMomentum = CollisionMassA * CollisionVelA + CollisionMassB * CollisionVelB;
    Dot(x, kMomentumZeroY - totalMomentum, 4, kBlack, 1, kWhite);
    Dot(x, kMomentumZeroY - CollisionMassB * BodyVX[1], 2, kBlue, 2, kBlue);
    Dot(x, kMomentumZeroY - CollisionMassA * BodyVX[0], 2, kRed, 2, kRed);
    Dot(x, kEnergyZeroY - kEnergyScale * CollisionEtotal, 4, kBlack, 1, kWhite);
    Dot(x, kEnergyZeroY - kEnergyScale * CollisionEint, 2, kBlue, 2, kBlue);
    Dot(x, kEnergyZeroY - kEnergyScale * CollisionEcm, 2, kRed, 2, kRed);
    Dot(x, kEnergyZeroY - kEnergyScale * CollisionEs, 2, kGreen, 2, kGreen);
}

}  // namespace

void CollisionStep() {
    // Background: the whole surface at set-up, the graphs of an earlier run at tick 1, and from
    // then on only the top band, so that every earlier point stays on the graphs.
    if (TickCount == 0) {
        ClearArea(0, 0, 700, 550);
        DrawTopBand();
        DrawGraphArea();
    } else if (TickCount == 1) {
        DrawGraphArea();
    } else {
        DrawTopBand();
    }

    if (TickCount == 0) {
        SetUpPicture();
    } else {
        AdvanceMotion();
        RunningPicture();
        ComputeEnergies();
        PlotPoints();
        DrawLegends();
    }

    // The run ends when a block has left the track.
    for (int slot = 0; slot < 2; ++slot) {
        if (BodyX[slot] < kTrackLeft || BodyX[slot] > kTrackRight) {
            Host().ShowStoppedControls();
            break;
        }
    }
}

void StepBodies(int subSteps) {
    if (subSteps <= 0) return;
    const double dt = kTickTime / subSteps;
    const double mA = CollisionMassA, mB = CollisionMassB;
    double xA = BodyX[0], xB = BodyX[1], vA = BodyVX[0], vB = BodyVX[1];
    for (int i = 0; i < subSteps; ++i) {
        // The compression is not limited to positive values: when the blocks part within a tick,
        // the remaining sub-steps pull them together a little, and the next tick decides again
        // between flight and contact.
        const double c = kContactDistance - (xB - xA);
        const double aA = -kSpringConstant * c / mA;
        const double aB = kSpringConstant * c / mB;
        // The velocity is updated first; the position uses the new one.
        vA += aA * dt;
        xA += vA * dt + 0.5 * aA * dt * dt;
        vB += aB * dt;
        xB += vB * dt + 0.5 * aB * dt * dt;
        BodyX[0] = xA;
        BodyX[1] = xB;
        BodyVX[0] = vA;
        BodyVX[1] = vB;
    }
}

void CollisionReset() {
    WavePlotCounts.fill(0);
    CollisionMassA = 5.0;
    CollisionVelA = 10.0;
    CollisionMassB = 1.0;
    CollisionVelB = -10.0;
    Host().SetStepInterval(30);
}

void CollisionMouseUp(int /*x*/, int /*y*/) { Host().SetSurfaceCursor(SurfaceCursor::Default); }

namespace {
// Every variable of the experiment, by its name, with its program-start value.
const LabVars kVars{
    {"CollisionMassA", CollisionMassA}, {"CollisionVelA", CollisionVelA},
    {"CollisionMassB", CollisionMassB}, {"CollisionVelB", CollisionVelB},
    {"CollisionEint0", CollisionEint0}, {"CollisionVcm", CollisionVcm},
    {"CollisionEcm", CollisionEcm},     {"CollisionEint", CollisionEint},
    {"CollisionEs", CollisionEs},       {"CollisionEtotal", CollisionEtotal},
};
}  // namespace

void CollisionDescribe(QJsonObject& out) { kVars.Describe(out); }

void CollisionResetProgramState() { kVars.Restore(); }

}  // namespace vlab
