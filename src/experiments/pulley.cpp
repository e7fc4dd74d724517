// Pulley systems (code 202). Setting draws a choice of three arrangements; a click on one draws it
// at rest and opens the panel for the masses. While the timer runs the blocks accelerate from rest
// with the accelerations solved on the first tick, next to free-body diagrams of every body and the
// equations of motion for the present directions of motion.
//
// Arrangements: 1, A and B over one fixed pulley; 2, A on a movable pulley whose rope runs from the
// top edge under it and over a fixed pulley down to B; 3, C on one side of a fixed pulley and on the
// other a movable pulley over which A and B hang.
//
// Units: accelerations in m/s^2 are applied as pixels per s^2 and one tick lasts 0.1 s, so an
// offset after n ticks from rest is 0.005 * a * n^2 pixels. BodyY[0] is the rise of B
// (arrangements 1 and 2) or of C (arrangement 3), BodyY[1] the rise of B against the movable
// pulley of arrangement 3; the drawing routines take their negatives, as screen y runs downwards.

#include "experiments/pulley.h"

#include <QString>

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

double PulleyMassA = 1.0;
double PulleyMassB = 1.0;
double PulleyMassC = 1.0;
int PulleyArrangement = 0;
double PulleyTension = 0.0;
std::array<double, 4> PulleyMotion{};
int PulleyTicks = 0;

namespace {

constexpr double kG = 9.8;            // m/s^2
constexpr double kTickSeconds = 0.1;  // time one tick advances

// How far B may rise or sink in arrangements 1 and 2 before the run ends, pixels. At 190 in
// arrangement 1 the rising block meets the pulley's rim; at 218 in arrangement 2 B has sunk to the
// bottom edge of the surface or risen to just under its pulley.
constexpr double kReach1 = 190.0;
constexpr double kReach2 = 218.0;

// Arrangement 3. C's rise lowers the movable pulley as much, and B's rise against that pulley
// lowers A as much against it, so A sinks by BodyY[0] + BodyY[1] and B by BodyY[0] - BodyY[1]. C may
// rise 130 px or sink 380 px, B may move 90 px either way against its pulley, and the run also ends
// when A has risen 128 px or A or B has sunk 166 px (to the bottom edge of the surface).
constexpr double kRiseC = 130.0;
constexpr double kSinkC = -380.0;
constexpr double kReachAB = 90.0;
constexpr double kRiseA = -128.0;
constexpr double kSink = 166.0;

// Colour codes and font colour indices used below.
constexpr int kOlive = 3;
constexpr int kBlack = 5;
constexpr int kSilver = 6;
constexpr int kPaleYellow = 14;
constexpr int kRedText = 0;
constexpr int kBlackText = 5;

// Every picture starts from an erased surface with a pale-yellow panel edged in olive.
void Background() {
    ClearArea(0, 0, 700, 550);
    DrawTiltedPanel2(3, 3, 90, 544, 696, kPaleYellow, kOlive, 0);
}

// A silver block with a black edge.
void Block(double left, double top, double right, double bottom) {
    DrawRect(left, top, right, bottom, kBlack, 1, 0, 0, 0, kSilver);
}

// Text at its top-left point, on a box of the current brush colour.
void Text(double x, double y, const QString& text) { Surface().textOut(std::trunc(x), std::trunc(y), text); }

// A force label on a pale-yellow box, so that it does not stand out from the panel.
void ForceLabel(double x, double y, const QString& text) {
    SetDrawStyle(kPaleYellow, 0, 0, 0, 0, kPaleYellow);
    Text(x, y, text);
}

// A black force arrow with a slender open head.
void Force(double length, int angle, double x, double y) {
    DrawArrow(length, angle, x, y, 0, kBlack, 1, 1, 2);
}

// A read-out number: rounded to 3 places, up to 15 significant digits, never "-0".
QString Readout(double value) {
    const double r = RoundTo(value, 3);
    if (r == 0.0) return QStringLiteral("0");
    return QString::number(r, 'g', 15);
}

void DrawChoiceScreen() {
    Background();
    DrawPulleyWheel(150, 30, 20, 100, 30, 100, 1, 0, 1);
    Block(120, 130, 140, 150);
    Block(160, 130, 180, 150);

    DrawPulleyWheel(340, 30, 20, 60, 30, 100, 1, 0, 1);
    DrawPulleyWheel(300, 90, 20, 90, 40, 0, 0, 1, 0);
    Block(290, 130, 310, 150);
    Block(350, 130, 370, 150);

    DrawPulleyWheel(500, 90, 20, 60, 0, 60, 1, 0, 1);
    DrawPulleyWheel(520, 30, 20, 60, 30, 100, 1, 0, 1);
    Block(470, 130, 490, 150);
    Block(510, 130, 530, 150);
    Block(530, 110, 550, 130);
}

// One tick of constant acceleration for a slot of the body arrays, from rest on the run's first tick.
void AdvanceSlot(int slot, double acceleration) {
    if (PulleyTicks == 1)
        AdvanceBody(0, 0, 0, acceleration, 0, 0, kTickSeconds, slot);
    else
        AdvanceBody(0, BodyVY[slot], 0, acceleration, 0, BodyY[slot], kTickSeconds, slot);
}

void StepArrangement1Or2() {
    if (PulleyTicks == 1) {
        PulleySolve();
        const double t = PulleyTension, a = PulleyMotion[0];
        if (PulleyArrangement == 1) {
            Host().AppendMemo(QStringLiteral("Ma绳张力 = ") + Readout(t) + QStringLiteral(" ") +
                              QStringLiteral("      Mb绳张力 = ") + Readout(t) + QStringLiteral(" ") +
                              QStringLiteral("      Ma加速度 = ") + Readout(-a) + QStringLiteral(" ") +
                              QStringLiteral("      Mb加速度 = ") + Readout(a) + QStringLiteral(" "));
        } else {
            // A hangs on two rope ends (2T) and moves half as fast as B, the other way.
            Host().AppendMemo(QStringLiteral("Ma绳张力 = ") + Readout(2 * t) + QStringLiteral(" ") +
                              QStringLiteral("      Mb绳张力 = ") + Readout(t) + QStringLiteral(" ") +
                              QStringLiteral("      Ma加速度  = ") + Readout(-0.5 * a) + QStringLiteral(" ") +
                              QStringLiteral("      Mb加速度  = ") + Readout(a));
        }
    }
    AdvanceSlot(0, PulleyMotion[0]);
    if (PulleyMotion[0] == 0) Host().ShowStoppedControls();  // nothing moves

    if (PulleyArrangement == 1) {
        if (std::fabs(BodyY[0]) >= kReach1) {
            BodyY[0] = BodyY[0] > 0 ? kReach1 : -kReach1;
            Host().ShowStoppedControls();
        }
        DrawPulleyArrangement1(-BodyY[0], 1);
    } else {
        if (BodyY[0] >= kReach2) {
            BodyY[0] = kReach2;
            Host().ShowStoppedControls();
        }
        if (BodyY[0] <= -kReach2) {
            BodyY[0] = -kReach2;
            Host().ShowStoppedControls();
        }
        DrawPulleyArrangement2(-BodyY[0], 1);
    }
}

void StepArrangement3() {
    if (PulleyTicks == 1) {
        PulleySolve();
        const double t = PulleyTension, a = PulleyMotion[0], a1 = PulleyMotion[1];
        Host().AppendMemo(QStringLiteral("Ma绳张力 = ") + Readout(t) + QStringLiteral(" ") +
                          QStringLiteral("      Mb绳张力 = ") + Readout(t) + QStringLiteral(" ") +
                          QStringLiteral("      Mc绳张力 = ") + Readout(2 * t) + QStringLiteral(" "));
        // Absolute accelerations: the movable pulley's -a plus each block's own against it.
        Host().AppendMemo(QStringLiteral("Ma加速度 = ") + Readout(-a1 - a) + QStringLiteral(" ") +
                          QStringLiteral("      Mb加速度 = ") + Readout(a1 - a) + QStringLiteral(" ") +
                          QStringLiteral("      Mc加速度 = ") + Readout(a) + QStringLiteral(" "));
    }
    AdvanceSlot(0, PulleyMotion[0]);  // C
    AdvanceSlot(1, PulleyMotion[1]);  // B against the movable pulley
    if (PulleyMotion[0] == 0 && PulleyMotion[1] == 0) Host().ShowStoppedControls();

    // Every limit that is met ends the run; the first four also hold the offset at the limit.
    if (BodyY[0] >= kRiseC) {
        BodyY[0] = kRiseC;
        Host().ShowStoppedControls();
    }
    if (BodyY[0] <= kSinkC) {
        BodyY[0] = kSinkC;
        Host().ShowStoppedControls();
    }
    if (BodyY[1] >= kReachAB) {
        BodyY[1] = kReachAB;
        Host().ShowStoppedControls();
    }
    if (BodyY[1] <= -kReachAB) {
        BodyY[1] = -kReachAB;
        Host().ShowStoppedControls();
    }
    if (BodyY[1] + BodyY[0] <= kRiseA) Host().ShowStoppedControls();
    if (BodyY[1] + BodyY[0] >= kSink) Host().ShowStoppedControls();
    if (BodyY[0] - BodyY[1] >= kSink) Host().ShowStoppedControls();

    DrawPulleyArrangement3(-BodyY[0], -BodyY[1], 1);
}

}  // namespace

void PulleySolve() {
    const double ma = PulleyMassA, mb = PulleyMassB, mc = PulleyMassC;
    switch (PulleyArrangement) {
        case 1:
            PulleyMotion[0] = (ma - mb) / (ma + mb) * kG;
            PulleyTension = 2 * ma * mb / (ma + mb) * kG;
            break;
        case 2:
            PulleyMotion[0] = (2 * mb - ma) / (4 * mb + ma) * (-2) * kG;
            PulleyTension = 3 * ma * mb / (4 * mb + ma) * kG;
            break;
        case 3: {
            const double n = (4 * ma * mb - (ma + mb) * mc) * kG;
            const double d = 4 * ma * mb + (ma + mb) * mc;
            const double a = n / d;
            const double a1 = -(kG - a) * (mb - ma) / (ma + mb);
            PulleyMotion[0] = a;
            PulleyMotion[1] = a1;
            PulleyMotion[2] = n;
            PulleyMotion[3] = d;
            PulleyTension = mb * (kG - a + a1);
            break;
        }
        default: break;
    }
}

void PulleyStep() {
    if (TickCount < 1) {  // Setting: the three arrangements to choose from
        DrawChoiceScreen();
        return;
    }
    ++PulleyTicks;
    Background();
    if (PulleyArrangement == 1 || PulleyArrangement == 2) StepArrangement1Or2();
    if (PulleyArrangement == 3) StepArrangement3();
}

void DrawPulleyArrangement1(double offset, int mode) {
    const double x = offset;
    Background();
    if (mode == 1) {
        SetFont(1, 14, kRedText);
        const double a = PulleyMotion[0];  // B's acceleration, upward positive
        if (a > 0) {
            Text(265, 520, QStringLiteral("Ma × g - T = Ma × a"));
            Text(485, 520, QStringLiteral("T - Mb × g = Mb × a"));
        } else if (a < 0) {
            Text(265, 520, QStringLiteral("T - Ma × g = Ma × a"));
            Text(485, 520, QStringLiteral("Mb × g - T = Mb × a"));
        }
    }
    SetFont(1, 14, kBlackText);

    DrawPulleyWheel(150, 40, 30, 220 - x, 40, 220 + x, 1, 0, 1);
    Block(105, 260 - x, 135, 290 - x);
    Text(114, 263 - x, QStringLiteral("A"));
    Block(165, 260 + x, 195, 290 + x);
    Text(174, 263 + x, QStringLiteral("B"));

    // A alone: T up, its weight down.
    Block(355, 260 - x, 385, 290 - x);
    Text(364, 263 - x, QStringLiteral("A"));
    Force(40, 90, 370, 260 - x);
    Force(40, 270, 370, 290 - x);
    ForceLabel(375, 220 - x, QStringLiteral("T"));
    ForceLabel(375, 310 - x, QStringLiteral("Ma"));

    // B alone.
    Block(565, 260 + x, 595, 290 + x);
    Text(574, 263 + x, QStringLiteral("B"));
    Force(40, 90, 580, 260 + x);
    Force(40, 270, 580, 290 + x);
    ForceLabel(585, 220 + x, QStringLiteral("T"));
    ForceLabel(585, 310 + x, QStringLiteral("Mb"));
}

void DrawPulleyArrangement2(double offset, int mode) {
    const double x = offset;
    const double h = x / 2;  // A moves half as far as B, the other way
    Background();
    if (mode == 1) {
        SetFont(1, 14, kRedText);
        const double a = PulleyMotion[0];
        if (a > 0) {
            Text(245, 520, QStringLiteral("Ma × g - 2T = Ma × a"));
            Text(465, 520, QStringLiteral("T - Mb × g = Mb × a1"));
        } else if (a < 0) {
            Text(245, 520, QStringLiteral("2T - Ma × g = Ma × a"));
            Text(465, 520, QStringLiteral("Mb × g - T = Mb × a1"));
        }
    }
    SetFont(1, 14, kBlackText);

    // The fixed pulley's left rope runs down to the movable pulley's right rim, its right rope to B;
    // the movable pulley's left rope is tied to the top edge, its hanger carries A.
    DrawPulleyWheel(180, 40, 30, 200 - h, 40, 260 + x, 1, 0, 1);
    DrawPulleyWheel(120, 240 - h, 30, 240 - h, 60, 0, 0, 1, 0);
    Block(195, 300 + x, 225, 330 + x);
    Text(204, 303 + x, QStringLiteral("B"));
    Block(105, 300 - h, 135, 330 - h);
    Text(114, 303 - h, QStringLiteral("A"));

    // A with its pulley: T up at both rims, its weight down.
    DrawPulleyWheel(350, 240 - h, 30, 50, 60, 50, 2, 1, 2);
    Block(335, 300 - h, 365, 330 - h);
    Text(344, 303 - h, QStringLiteral("A"));
    Force(35, 270, 350, 330 - h);
    ForceLabel(305, 175 - h, QStringLiteral("T"));
    ForceLabel(385, 175 - h, QStringLiteral("T"));
    ForceLabel(355, 355 - h, QStringLiteral("Ma"));

    // B alone.
    Block(530, 300 + x, 560, 330 + x);
    Text(539, 303 + x, QStringLiteral("B"));
    Force(35, 90, 545, 300 + x);
    Force(35, 270, 545, 330 + x);
    ForceLabel(555, 250 + x, QStringLiteral("T"));
    ForceLabel(550, 360 + x, QStringLiteral("Mb"));
}

void DrawPulleyArrangement3(double offsetC, double offsetAB, int mode) {
    const double h = offsetC;
    const double m = offsetAB;
    Background();
    if (mode == 1) {
        SetFont(1, 10, kRedText);
        const double a = PulleyMotion[0];   // C's acceleration, upward positive
        const double a1 = PulleyMotion[1];  // B's against the movable pulley
        if (a > 0) {
            Text(555, 520, QStringLiteral("2T - Mc × g=Mc × a"));
            if (a1 > 0) {
                Text(380, 480, QStringLiteral("Ma × (g-a) - T=Ma × a1"));
                Text(480, 500, QStringLiteral("T - Mb × (g-a)=Mb × a1"));
            } else if (a1 == 0) {
                Text(380, 480, QStringLiteral("Ma × g - T=Ma × a"));
                Text(480, 500, QStringLiteral("Mb × g - T=Mb × a"));
            } else {
                Text(380, 480, QStringLiteral("T - Ma × (g-a)=Ma × a1"));
                Text(480, 500, QStringLiteral("Mb × (g-a) - T=Mb × a1"));
            }
        } else if (a < 0) {
            Text(555, 520, QStringLiteral("Mc × g -2T=Mc × a"));
            if (a1 > 0) {
                Text(380, 480, QStringLiteral("Ma × (g+a) - T=Ma × a1"));
                Text(480, 500, QStringLiteral("T - Mb × (g+a)=Mb × a1"));
            } else if (a1 == 0) {
                Text(380, 480, QStringLiteral("T - Ma × g=Ma × a"));
                Text(480, 500, QStringLiteral("T - Mb × g=Mb × a"));
            } else {
                Text(380, 480, QStringLiteral("T - Ma × (g+a)=Ma × a1"));
                Text(480, 500, QStringLiteral("Mb × (g+a) - T=Mb × a1"));
            }
        }
    }
    SetFont(1, 14, kBlackText);

    // The movable pulley hangs on the fixed pulley's left rope; A and B hang from its rims.
    DrawPulleyWheel(100, 230 - h, 30, 120 - m, 0, 120 + m, 1, 0, 1);
    DrawPulleyWheel(130, 40, 30, 190 - h, 40, 270 + h, 1, 0, 1);
    Block(145, 310 + h, 175, 340 + h);
    Text(154, 313 + h, QStringLiteral("C"));
    Block(55, 350 - m - h, 85, 380 - m - h);
    Text(64, 353 - m - h, QStringLiteral("A"));
    Block(115, 350 + m - h, 145, 380 + m - h);
    Text(124, 353 + m - h, QStringLiteral("B"));

    // A and B with their pulley, held up by 2T.
    DrawPulleyWheel(300, 230 - h, 30, 120 - m, 60, 120 + m, 1, 2, 1);
    Block(255, 350 - m - h, 285, 380 - m - h);
    Text(264, 353 - m - h, QStringLiteral("A"));
    Block(315, 350 + m - h, 345, 380 + m - h);
    Text(324, 353 + m - h, QStringLiteral("B"));
    ForceLabel(305, 160 - h, QStringLiteral("2T"));

    // C alone.
    Block(620, 310 + h, 650, 340 + h);
    Text(629, 313 + h, QStringLiteral("C"));
    Force(35, 90, 635, 310 + h);
    Force(35, 270, 635, 340 + h);
    ForceLabel(640, 270 + h, QStringLiteral("2T"));
    ForceLabel(640, 370 + h, QStringLiteral("Mc"));

    // A alone.
    Block(430, 350 - m - h, 460, 380 - m - h);
    Text(439, 353 - m - h, QStringLiteral("A"));
    Force(35, 90, 445, 350 - m - h);
    Force(35, 270, 445, 380 - m - h);
    ForceLabel(450, 310 - m - h, QStringLiteral("T"));
    ForceLabel(450, 410 - m - h, QStringLiteral("Ma"));

    // B alone.
    Block(530, 350 + m - h, 560, 380 + m - h);
    Text(539, 353 + m - h, QStringLiteral("B"));
    Force(35, 90, 545, 350 + m - h);
    Force(35, 270, 545, 380 + m - h);
    ForceLabel(550, 310 + m - h, QStringLiteral("T"));
    ForceLabel(550, 410 + m - h, QStringLiteral("Mb"));
}

namespace {
// The arrangement whose diagram on the choice screen lies under (x, y), or 0: the band
// 0 < y < 160 over diagram 1 (110 < x < 190), 2 (280 < x < 360) or 3 (480 < x < 540).
int ArrangementAt(int x, int y) {
    if (!(0 < y && y < 160)) return 0;
    if (110 < x && x < 190) return 1;
    if (280 < x && x < 360) return 2;
    if (480 < x && x < 540) return 3;
    return 0;
}
}  // namespace

void PulleyMouseDown(int x, int y) {
    if (MouseClickActive != 1) return;
    const int n = ArrangementAt(x, y);
    if (n == 0) return;
    if (n == 1) DrawPulleyArrangement1(0, 0);
    if (n == 2) DrawPulleyArrangement2(0, 0);
    if (n == 3) DrawPulleyArrangement3(0, 0, 0);
    MouseClickActive = 0;  // one choice per set-up
    PulleyArrangement = n;
    Host().SetSurfaceCursor(SurfaceCursor::Default);
    Host().ShowPanelModal();  // the masses of the chosen arrangement
    // A panel left by its Exit has just turned Start off and Setting on: the set-up was abandoned,
    // and Setting is the way on, so Start waits for masses the user confirmed.
    if (PanelAccepted == 1) Host().SetStartEnabled(true);
}

void PulleyMouseMove(int x, int y) {
    if (MouseClickActive != 1) return;
    Host().SetSurfaceCursor(ArrangementAt(x, y) ? SurfaceCursor::Hand : SurfaceCursor::Default);
}

void PulleyMouseUp(int, int) { Host().SetSurfaceCursor(SurfaceCursor::Default); }

void PulleyReset() {
    Host().StopTimer();
    Host().SetStepInterval(100);
    PulleyTension = 0.0;
    PulleyMassA = PulleyMassB = PulleyMassC = 1.0;
    PulleyMotion.fill(0.0);
    BodyY[0] = BodyX[0] = BodyVY[0] = BodyVY[1] = BodyVX[0] = BodyY[1] = 0.0;
    PulleyTicks = 0;
}

namespace {
// Every variable of the experiment, by its name, with its program-start value.
const LabVars kVars{
    {"PulleyMassA", PulleyMassA},     {"PulleyMassB", PulleyMassB},
    {"PulleyMassC", PulleyMassC},     {"PulleyArrangement", PulleyArrangement},
    {"PulleyTension", PulleyTension}, {"PulleyMotion", PulleyMotion},
    {"PulleyTicks", PulleyTicks},
};
}  // namespace

void PulleyDescribe(QJsonObject& out) { kVars.Describe(out); }

void PulleyResetProgramState() { kVars.Restore(); }

}  // namespace vlab
