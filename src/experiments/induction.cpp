#include "experiments/induction.h"

#include "draw/shapes.h"
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

void InductionStep() {}

void InductionReset() {
    Host().StopTimer();
    MouseMoveActive = 1;
    MouseClickActive = 1;
    Host().SetStepInterval(50);
    InductionMode = 0;
    FieldDirection = 0.0;
    LoopOffset = CoilSpeed = CoilTravel = InducedCurrent = PushForce = 0.0;
    // Points on the incline, the line at 20 degrees up to the right from its foot (20, 360):
    // end kind 1 with end size 0 draws nothing visible and leaves the point in RayEndX/RayEndY.
    DrawRay(210, 20, 20, 360, 0, 0, 1, 1, 1, 0, 0, 0);
    InclineNear = {RayEndX, RayEndY};
    DrawRay(630, 20, 20, 360, 0, 0, 1, 1, 1, 0, 0, 0);
    CoilCornerX = RayEndX;
    CoilCornerY = RayEndY;
}

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
