#include "experiments/electric_field.h"

#include "draw/figures.h"
#include "draw/shapes.h"
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

void ElectricFieldStep() {}

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

namespace {
// Every variable of the experiment, by its name, with its program-start value.
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
