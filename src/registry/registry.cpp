#include "registry/registry.h"

#include "draw/figures.h"
#include "draw/shapes.h"
#include "experiments/collision.h"
#include "experiments/electric_field.h"
#include "experiments/friction.h"
#include "experiments/induction.h"
#include "experiments/interference.h"
#include "experiments/pulley.h"
#include "experiments/spring_energy.h"
#include "experiments/wave_superposition.h"
#include "lab/lab_dump.h"
#include "lab/lab_state.h"

namespace vlab {

namespace {

// Button captions, help pages and titles as the lab shows them. Every title starts with a space
// and has a space between all its characters.
const Experiment kFriction{
    .code = 201,
    .name = "Friction",
    .buttonName = "Button3",
    .buttonX = 80,
    .caption = QStringLiteral("摩擦力"),
    .helpPage = QStringLiteral("/help/M2.htm"),
    .teachingPage = QStringLiteral("/help/t1.htm"),
    .title = QStringLiteral(" 《 摩 擦 力 》"),
    .titleX = 290,
    .step = FrictionStep,
    .reset = FrictionReset,
    .chosen = FrictionChosen,
    .settingUp = FrictionSettingUp,
    .setUpDone = FrictionSetUpDone,
    .settingOpensPanel = true,
    .describe = FrictionDescribe,
    .resetProgramState = FrictionResetProgramState,
};

const Experiment kPulley{
    .code = 202,
    .name = "Pulley",
    .buttonName = "Button5",
    .buttonX = 0,
    .caption = QStringLiteral("滑轮"),
    .captionMaroon = true,
    .helpPage = QStringLiteral("/help/M1.htm"),
    .teachingPage = QStringLiteral("/help/t2.htm"),
    .title = QStringLiteral(" 《 滑 轮 》"),
    .titleX = 300,
    .step = PulleyStep,
    .reset = PulleyReset,
    .settingMouse = SettingMouse::BeforeStep,
    .startWaitsForSurface = true,  // the arrangement is picked on the surface, which opens the panel
    .startSilencesMouse = true,
    .pauseUsable = true,
    .slowSpeedBar = true,
    .mouseDown = PulleyMouseDown,
    .mouseMove = PulleyMouseMove,
    .mouseUp = PulleyMouseUp,
    .describe = PulleyDescribe,
    .resetProgramState = PulleyResetProgramState,
};

const Experiment kSpringEnergy{
    .code = 203,
    .name = "SpringEnergy",
    .buttonName = "Button1",
    .buttonX = 160,
    .caption = QStringLiteral("弹力位能a"),
    .captionSize = 16,
    .helpPage = QStringLiteral("/help/M3.htm"),
    .teachingPage = QStringLiteral("/help/t3.htm"),
    .title = QStringLiteral(" 《 弹 力 位 能 a 》"),
    .titleX = 270,
    .step = SpringEnergyStep,
    .reset = SpringEnergyReset,
    .settingMouse = SettingMouse::BeforeStep,
    .startSilencesMouse = true,
    .pauseUsable = true,
    .mouseDown = SpringEnergyMouseDown,
    .mouseMove = SpringEnergyMouseMove,
    .mouseUp = SpringEnergyMouseUp,
    .describe = SpringEnergyDescribe,
    .resetProgramState = SpringEnergyResetProgramState,
};

const Experiment kCollision{
    .code = 204,
    .name = "Collision",
    .buttonName = "Button46",
    .buttonX = 240,
    .caption = QStringLiteral("内动能转换"),
    .helpPage = QStringLiteral("/help/M4.htm"),
    .teachingPage = QStringLiteral("/help/t4.htm"),
    .title = QStringLiteral(" 《 内 动 能 转 换 》"),
    .titleX = 270,
    .step = CollisionStep,
    .reset = CollisionReset,
    .settingOpensPanel = true,
    .startSilencesMouse = true,
    .pauseUsable = true,
    .mouseUp = CollisionMouseUp,
    .describe = CollisionDescribe,
    .resetProgramState = CollisionResetProgramState,
};

const Experiment kInterference{
    .code = 205,
    .name = "Interference",
    .buttonName = "Button27",
    .buttonX = 320,
    .caption = QStringLiteral("光的干涉"),
    .captionMaroon = true,
    .helpPage = QStringLiteral("/help/M5.htm"),
    .teachingPage = QStringLiteral("/help/t5.htm"),
    .title = QStringLiteral(" 《 光 的 干 涉 》"),
    .titleX = 280,
    .step = InterferenceStep,
    .reset = InterferenceReset,
    .settingMouse = SettingMouse::AfterStep,
    .pauseUsable = true,  // and its mouse stays on while it runs
    .countsRealTicks = true,
    .mouseDown = InterferenceMouseDown,
    .mouseMove = InterferenceMouseMove,
    .mouseUp = InterferenceMouseUp,
    .describe = InterferenceDescribe,
    .resetProgramState = InterferenceResetProgramState,
};

const Experiment kElectricField{
    .code = 206,
    .name = "ElectricField",
    .buttonName = "Button45",
    .buttonX = 400,
    .caption = QStringLiteral("电场"),
    .captionMaroon = true,
    .helpPage = QStringLiteral("/help/M6.htm"),
    .teachingPage = QStringLiteral("/help/t6.htm"),
    .title = QStringLiteral(" 《 电 场 》"),
    .titleX = 300,
    .step = ElectricFieldStep,
    .reset = ElectricFieldReset,
    .chosen = ElectricFieldChosen,
    .settingOpensPanel = true,
    .settingMouse = SettingMouse::AfterStep,
    .startWaitsForSurface = true,  // the sign of the test charge is picked on the surface
    .startSilencesMouse = true,
    .mouseDown = ElectricFieldMouseDown,
    .mouseMove = ElectricFieldMouseMove,
    .mouseUp = ElectricFieldMouseUp,
    .describe = ElectricFieldDescribe,
    .resetProgramState = ElectricFieldResetProgramState,
};

const Experiment kInduction{
    .code = 207,
    .name = "Induction",
    .buttonName = "Button6",
    .buttonX = 480,
    .caption = QStringLiteral("法拉第b"),
    .helpPage = QStringLiteral("/help/M7.htm"),
    .teachingPage = QStringLiteral("/help/t7.htm"),
    .title = QStringLiteral(" 《 法 拉 第 b 》"),
    .titleX = 290,
    .step = InductionStep,
    .reset = InductionReset,  // turns both mouse flags on itself
    .mouseOnWhenChosen = true,
    .startSilencesMouse = true,
    .pauseUsable = true,
    .mouseDown = InductionMouseDown,
    .mouseMove = InductionMouseMove,
    .mouseUp = InductionMouseUp,
    .describe = InductionDescribe,
    .resetProgramState = InductionResetProgramState,
};

const Experiment kWaveSuperposition{
    .code = 208,
    .name = "WaveSuperposition",
    .buttonName = "Button47",
    .buttonX = 560,
    .caption = QStringLiteral("波的重叠a"),
    .captionMaroon = true,
    .helpPage = QStringLiteral("/help/M8.htm"),
    .teachingPage = QStringLiteral("/help/t8.htm"),
    .title = QStringLiteral(" 《 波 的 重 叠 a 》"),
    .titleX = 270,
    .step = WaveSuperpositionStep,
    .reset = WaveSuperpositionReset,
    .settingOpensPanel = true,
    .mouseDown = WaveSuperpositionMouseDown,  // no flag test: the step area answers at any time
    .mouseUp = WaveSuperpositionMouseUp,
    .describe = WaveSuperpositionDescribe,
    .resetProgramState = WaveSuperpositionResetProgramState,
};

const Experiment* const kAll[] = {&kFriction,     &kPulley,        &kSpringEnergy, &kCollision,
                                  &kInterference, &kElectricField, &kInduction,    &kWaveSuperposition};

}  // namespace

const Experiment* FindExperiment(int code) {
    for (const Experiment* e : kAll)
        if (e->code == code) return e;
    return nullptr;
}

std::span<const Experiment* const> AllExperiments() { return kAll; }

int CodeOf(std::string_view name) {
    for (const Experiment* e : kAll)
        if (name == e->name) return e->code;
    return 0;
}

void ResetProgramState() {
    ResetLabState();
    ResetDrawKit();
    for (const Experiment* e : kAll) e->resetProgramState();
}

void DescribeLab(QJsonObject& out) {
    DescribeLabState(out);
    // The drawing kit's shared results, under their own names and the names the experiments give
    // their shared entries.
    Put(out, "BodyVX", BodyVX);
    Put(out, "BodyX", BodyX);
    Put(out, "BodyVY", BodyVY);
    Put(out, "BodyY", BodyY);
    Put(out, "RayEndX", RayEndX);
    Put(out, "RayEndY", RayEndY);
    Put(out, "VectorAngleDeg", VectorAngleDeg);
    Put(out, "SumX", SumX);
    Put(out, "SumY", SumY);
    Put(out, "SumMag", SumMag);
    Put(out, "ArrowHeadPts", ArrowHeadPts);
    Put(out, "SpringEndX", SpringEndX);
    Put(out, "SpringEndY", SpringEndY);
    Put(out, "KitSlots", KitSlots);
    Put(out, "WaveVariant", WaveVariant);
    Put(out, "SourceWaveTicks", SourceWaveTicks);
    Put(out, "SlitWaveTicks", SlitWaveTicks);
    PutArray(out, "ChargeQ", ChargeQ, 4);
    PutArray(out, "ChargeColour", ChargeColour, 4);
    Put(out, "OverlapColumns", OverlapColumns);
    Put(out, "TestSign", TestSign);
    for (const Experiment* e : kAll) e->describe(out);
}

}  // namespace vlab
