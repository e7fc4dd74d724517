#include "shell/registry.h"

#include "draw/figures.h"
#include "draw/shapes.h"
#include "shell/lab_dump.h"
#include "experiments/collision.h"
#include "experiments/electric_field.h"
#include "experiments/friction.h"
#include "experiments/induction.h"
#include "experiments/interference.h"
#include "experiments/pulley.h"
#include "experiments/spring_energy.h"
#include "experiments/wave_superposition.h"
#include "shell/lab_state.h"

namespace vlab {

namespace {

// Button captions, help pages and titles as the lab shows them. Every title starts with a space
// and has a space between all its characters.
const Experiment kFriction{201, "Friction", "Button3", 80, QStringLiteral("摩擦力"),
                           QStringLiteral("/help/M2.htm"), QStringLiteral("/help/t1.htm"),
                           QStringLiteral(" 《 摩 擦 力 》"), 290,
                           FrictionStep, FrictionReset, nullptr, nullptr, nullptr,
                           FrictionDescribe, FrictionResetProgramState};
const Experiment kPulley{202, "Pulley", "Button5", 0, QStringLiteral("滑轮"),
                         QStringLiteral("/help/M1.htm"), QStringLiteral("/help/t2.htm"),
                         QStringLiteral(" 《 滑 轮 》"), 300,
                         PulleyStep, PulleyReset, PulleyMouseDown, PulleyMouseMove, PulleyMouseUp,
                         PulleyDescribe, PulleyResetProgramState};
const Experiment kSpringEnergy{203, "SpringEnergy", "Button1", 160, QStringLiteral("弹力位能a"),
                               QStringLiteral("/help/M3.htm"), QStringLiteral("/help/t3.htm"),
                               QStringLiteral(" 《 弹 力 位 能 a 》"), 270,
                               SpringEnergyStep, SpringEnergyReset, SpringEnergyMouseDown,
                               SpringEnergyMouseMove, SpringEnergyMouseUp,
                               SpringEnergyDescribe, SpringEnergyResetProgramState};
const Experiment kCollision{204, "Collision", "Button46", 240, QStringLiteral("内动能转换"),
                            QStringLiteral("/help/M4.htm"), QStringLiteral("/help/t4.htm"),
                            QStringLiteral(" 《 内 动 能 转 换 》"), 270,
                            CollisionStep, CollisionReset, nullptr, nullptr, nullptr,
                            CollisionDescribe, CollisionResetProgramState};
const Experiment kInterference{205, "Interference", "Button27", 320, QStringLiteral("光的干涉"),
                               QStringLiteral("/help/M5.htm"), QStringLiteral("/help/t5.htm"),
                               QStringLiteral(" 《 光 的 干 涉 》"), 280,
                               InterferenceStep, InterferenceReset, nullptr, nullptr, nullptr,
                               InterferenceDescribe, InterferenceResetProgramState};
const Experiment kElectricField{206, "ElectricField", "Button45", 400, QStringLiteral("电场"),
                                QStringLiteral("/help/M6.htm"), QStringLiteral("/help/t6.htm"),
                                QStringLiteral(" 《 电 场 》"), 300,
                                ElectricFieldStep, ElectricFieldReset, nullptr, nullptr, nullptr,
                                ElectricFieldDescribe, ElectricFieldResetProgramState};
const Experiment kInduction{207, "Induction", "Button6", 480, QStringLiteral("法拉第b"),
                            QStringLiteral("/help/M7.htm"), QStringLiteral("/help/t7.htm"),
                            QStringLiteral(" 《 法 拉 第 b 》"), 290,
                            InductionStep, InductionReset, nullptr, nullptr, nullptr,
                            InductionDescribe, InductionResetProgramState};
const Experiment kWaveSuperposition{208, "WaveSuperposition", "Button47", 560, QStringLiteral("波的重叠a"),
                                    QStringLiteral("/help/M8.htm"), QStringLiteral("/help/t8.htm"),
                                    QStringLiteral(" 《 波 的 重 叠 a 》"), 270,
                                    WaveSuperpositionStep, WaveSuperpositionReset, nullptr, nullptr, nullptr,
                                    WaveSuperpositionDescribe, WaveSuperpositionResetProgramState};

const Experiment* const kAll[kExperimentCount] = {&kFriction,     &kPulley,        &kSpringEnergy,
                                                  &kCollision,    &kInterference,  &kElectricField,
                                                  &kInduction,    &kWaveSuperposition};

}  // namespace

const Experiment* FindExperiment(int code) {
    if (code < 201 || code > 208) return nullptr;
    return kAll[code - 201];
}

const Experiment* const* AllExperiments() { return kAll; }

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
