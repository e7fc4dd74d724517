#include "experiments/electric_field.h"

#include "draw/figures.h"
#include "draw/shapes.h"
#include "shell/lab_dump.h"
#include "shell/lab_host.h"
#include "shell/lab_state.h"

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

void ElectricFieldDescribe(QJsonObject& out) {
    Put(out, "ChargeX", ChargeX);
    Put(out, "ChargeY", ChargeY);
    Put(out, "TestX", TestX);
    Put(out, "TestY", TestY);
    Put(out, "TestPrevX", TestPrevX);
    Put(out, "TestPrevY", TestPrevY);
    Put(out, "TestPlaced", TestPlaced);
    Put(out, "SignButtonsLive", SignButtonsLive);
    Put(out, "DistSq", DistSq);
    Put(out, "FieldMag", FieldMag);
    Put(out, "FieldAngle", FieldAngle);
}

void ElectricFieldResetProgramState() {
    ChargeX.fill(0);
    ChargeY.fill(0);
    TestX = 0.0;
    TestY = 0.0;
    TestPrevX = 0.0;
    TestPrevY = 0.0;
    TestPlaced = false;
    SignButtonsLive = false;
    DistSq.fill(0);
    FieldMag.fill(0);
    FieldAngle.fill(0);
}

}  // namespace vlab
