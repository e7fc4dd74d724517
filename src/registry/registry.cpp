#include "registry/registry.h"

#include "draw/figures.h"
#include "draw/numeric.h"
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
#include "registry/run_record.h"

namespace vlab {

namespace {

// The parameter panels: their items with the variables they write, ranges, labels and summaries.

const QString kInitial = QStringLiteral("初始值");
const QString kMassA = QStringLiteral("方块A质量");
const QString kMassB = QStringLiteral("方块B质量");
const QString kMassC = QStringLiteral("方块C质量");

QString Shortest(double v) { return ShortestText(v); }

const PanelDescription kFrictionPanel{
    .prompt = kInitial,
    .items =
        {
            {.text = QStringLiteral("作用力"),
             .value = &AppliedForce,
             .range = {0, 12000, QStringLiteral("牛顿 (Nt)"), QStringLiteral("0"), QStringLiteral("120")}},
            {.text = QStringLiteral("作用角度"),
             .value = &ForceAngle,
             .range = {-4500, 4500, QStringLiteral("角度 "), QStringLiteral("-45"), QStringLiteral("45")}},
            {.text = QStringLiteral("接触面积"),
             .radios = true,
             .range = {0, 0, QStringLiteral("     接触面积大小"), QString(), QString()}},
        },
    .pickTurnsOffEdit = true,
    .unitArrowSteps = true,
    .radioHeight = &BlockHeight,
    .radioWidth = &BlockWidth,
    .radioSizes = {{100.0, 50.0}, {50.0, 100.0}},  // upright (small face down), lying (large face down)
    .firstRadioWhenOpened = [] { return FrictionSetCount == -1; },
    .summary =
        [](QString (&line)[4], int) {
            line[0] = QStringLiteral("作用力F = 0 ~ ") + Shortest(AppliedForce);
            line[1] = QStringLiteral("作用方向 = ") + Shortest(ForceAngle) + QStringLiteral("° ");
            if (BlockHeight == 100.0)
                line[2] = QStringLiteral("接触面积 = 直立(较小)");
            else if (BlockHeight == 50.0)
                line[2] = QStringLiteral("接触面积 = 横卧(较大)");
        },
};

const PanelRange kPulleyMassRange{100, 2000, QStringLiteral("质量 (Kg)"), QStringLiteral("1"),
                                  QStringLiteral("20")};

const PanelDescription kPulleyPanel{
    .prompt = kInitial,
    .items = {{.text = kMassA, .value = &PulleyMassA},
              {.text = kMassB, .value = &PulleyMassB},
              {.text = kMassC, .value = &PulleyMassC}},
    // The arrangement picked on the surface decides how many blocks there are.
    .offered = []() -> QStringList {
        if (PulleyArrangement == 1 || PulleyArrangement == 2) return {kMassA, kMassB};
        if (PulleyArrangement == 3) return {kMassA, kMassB, kMassC};
        return {};
    },
    .pickTurnsOffEdit = true,
    .unitArrowSteps = true,
    .everyPick = &kPulleyMassRange,
    .summary =
        [](QString (&line)[4], int) {
            if (PulleyArrangement < 1 || PulleyArrangement > 3) return;
            line[0] = QStringLiteral("方块A质量= ") + Shortest(PulleyMassA);
            line[1] = QStringLiteral("方块B质量= ") + Shortest(PulleyMassB);
            if (PulleyArrangement == 3) line[2] = QStringLiteral("方块C质量= ") + Shortest(PulleyMassC);
        },
};

const PanelRange kCollisionMassRange{
    100, 500, QStringLiteral("质量 (Kg)"), QStringLiteral("1"), QStringLiteral("5"), 118};
const PanelRange kCollisionSpeedRange{-1000, 1000, QStringLiteral("速度 (m/s)"), QStringLiteral("-10"),
                                      QStringLiteral("10")};

const PanelDescription kCollisionPanel{
    .prompt = kInitial,
    .items = {{.text = kMassA, .value = &CollisionMassA, .range = kCollisionMassRange},
              {.text = QStringLiteral("方块A速度"), .value = &CollisionVelA, .range = kCollisionSpeedRange},
              {.text = kMassB, .value = &CollisionMassB, .range = kCollisionMassRange},
              {.text = QStringLiteral("方块B速度"), .value = &CollisionVelB, .range = kCollisionSpeedRange}},
    .sliderFromStart = true,
    .summary =
        [](QString (&line)[4], int) {
            line[0] = QStringLiteral("方块A质量= ") + Shortest(CollisionMassA);
            line[1] = QStringLiteral("方块A速度= ") + Shortest(CollisionVelA);
            line[2] = QStringLiteral("方块B质量= ") + Shortest(CollisionMassB);
            line[3] = QStringLiteral("方块B速度= ") + Shortest(CollisionVelB);
        },
};

QString ChargeItem(int n) { return QStringLiteral("点电荷%1").arg(n); }

const PanelRange kChargeRange{-1000, 1000, QStringLiteral("带电量 Q"), QStringLiteral("-10"),
                              QStringLiteral("10")};

const PanelDescription kElectricFieldPanel{
    .shape = PanelDescription::Shape::Layouts,
    .prompt = kInitial,
    .items = {{.text = ChargeItem(1), .count = &ChargeQ[0]},
              {.text = ChargeItem(2), .count = &ChargeQ[1]},
              {.text = ChargeItem(3), .count = &ChargeQ[2]},
              {.text = ChargeItem(4), .count = &ChargeQ[3]}},
    .offered = []() -> QStringList { return {}; },  // filled when a layout is chosen
    .pickTurnsOffEdit = true,
    .everyPick = &kChargeRange,
    .layoutPrompt = QStringLiteral("电荷分布"),
    .layouts = {{QStringLiteral("两个点电荷"), 2},
                {QStringLiteral("三个点电荷"), 3},
                {QStringLiteral("四个点电荷"), 4}},
    .layoutSlots = ChargeQ,
    .layoutSlotCount = 4,
    .summary =
        [](QString (&line)[4], int charges) {
            for (int i = 0; i < charges; ++i)
                line[i] = QStringLiteral("点电荷%1带电量 = %2 Q").arg(i + 1).arg(ChargeQ[i]);
        },
};

const PanelDescription kWaveSuperpositionPanel{
    .shape = PanelDescription::Shape::Choice,
    .prompt = QStringLiteral("波的重叠"),
    // The variant codes: 1 upside down and reversed, 2 reversed, 3 upside down, 4 the same.
    .items = {{.text = QStringLiteral("波的重叠A"), .choice = 2},
              {.text = QStringLiteral("波的重叠B"), .choice = 3},
              {.text = QStringLiteral("波的重叠C"), .choice = 4},
              {.text = QStringLiteral("波的重叠D"), .choice = 1}},
    .choiceTarget = &WaveVariant,
    .summary =
        [](QString (&line)[4], int) {
            switch (WaveVariant) {
                case 1: line[0] = QStringLiteral("执行:波的重叠D (波型上下颠倒左右相反)"); break;
                case 2: line[0] = QStringLiteral("执行:波的重叠A (波型左右相反)"); break;
                case 3: line[0] = QStringLiteral("执行:波的重叠B (波型上下颠倒)"); break;
                case 4: line[0] = QStringLiteral("执行:波的重叠C (波型相同)"); break;
                default: break;
            }
        },
};

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
    .panel = &kFrictionPanel,
    .describe = FrictionDescribe,
    .resetProgramState = FrictionResetProgramState,
    // The friction is kept in graph pixels (3 per newton), as the graph plots it.
    .columns = {{"作用力 F (牛顿)", [] { return FrictionForces[0]; }},
                {"摩擦力 f (牛顿)", [] { return FrictionForces[2] / 3.0; }},
                {"木块位置 x (像素)", [] { return BodyX[0]; }},
                {"速度 (像素/秒)", [] { return BodyVX[0]; }}},
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
    .panel = &kPulleyPanel,
    .mouseDown = PulleyMouseDown,
    .mouseMove = PulleyMouseMove,
    .mouseUp = PulleyMouseUp,
    .describe = PulleyDescribe,
    .resetProgramState = PulleyResetProgramState,
    // BodyY[0] is the rise of B (arrangements 1 and 2) or of C (3), BodyY[1] that of B against the
    // movable pulley of arrangement 3.
    .columns = {{"方块A质量 (Kg)", [] { return PulleyMassA; }},
                {"方块B质量 (Kg)", [] { return PulleyMassB; }},
                {"方块C质量 (Kg)", [] { return PulleyMassC; }},
                {"加速度 a (m/s²)", [] { return PulleyMotion[0]; }},
                {"加速度 a1 (m/s²)", [] { return PulleyMotion[1]; }},
                {"张力 T (牛顿)", [] { return PulleyTension; }},
                {"B或C上升 (像素)", [] { return BodyY[0]; }},
                {"B相对动滑轮上升 (像素)", [] { return BodyY[1]; }}},
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
    // The energies are the graph's heights; one tick stands for pi/180 s.
    .columns = {{"位移 x (像素)", [] { return SpringX; }},
                {"速度 v (像素/秒)", SpringSpeed},
                {"动能 Ek (图像素)", [] { return SpringKinetic; }},
                {"弹力位能 Us (图像素)", [] { return SpringPotential; }},
                {"总能量 (图像素)", [] { return SpringKinetic + SpringPotential; }}},
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
    .panel = &kCollisionPanel,
    .mouseUp = CollisionMouseUp,
    .describe = CollisionDescribe,
    .resetProgramState = CollisionResetProgramState,
    .columns = {{"方块A位置 (像素)", [] { return BodyX[0]; }},
                {"方块A速度 (m/s)", [] { return BodyVX[0]; }},
                {"方块B位置 (像素)", [] { return BodyX[1]; }},
                {"方块B速度 (m/s)", [] { return BodyVX[1]; }},
                {"质心动能 Ecm", [] { return CollisionEcm; }},
                {"内动能 Eint", [] { return CollisionEint; }},
                {"弹力位能 Es", [] { return CollisionEs; }},
                {"总能量", [] { return CollisionEtotal; }}},
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
    // The waves are the graph's heights above its centre line where its curves start.
    .columns = {{"探测点 y (像素)", [] { return ProbeY; }},
                {"程差 r1-r2 (像素)", [] { return PathDiff; }},
                {"相差 (半波长)", [] { return PhaseHalfWaves; }},
                {"光波A 位移 (像素)", [] { return ProbeWavesNow().a; }},
                {"光波B 位移 (像素)", [] { return ProbeWavesNow().b; }},
                {"叠加 A+B 位移 (像素)", [] { return ProbeWavesNow().sum; }}},
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
    .panel = &kElectricFieldPanel,
    .mouseDown = ElectricFieldMouseDown,
    .mouseMove = ElectricFieldMouseMove,
    .mouseUp = ElectricFieldMouseUp,
    .describe = ElectricFieldDescribe,
    .resetProgramState = ElectricFieldResetProgramState,
    // The strengths are those at the test charge where the row puts it, as long in pixels as the
    // field's arrows there.
    .columns = {{"试探电荷 x (像素)", [] { return TestX; }},
                {"试探电荷 y (像素)", [] { return TestY; }},
                {"试探电荷速度 (像素/步)", TestChargeSpeed},
                {"合场强 E (箭头像素)", ResultantAtTest},
                {"点电荷1场强", [] { return FieldStrengthAtTest(0); }},
                {"点电荷2场强", [] { return FieldStrengthAtTest(1); }},
                {"点电荷3场强", [] { return FieldStrengthAtTest(2); }},
                {"点电荷4场强", [] { return FieldStrengthAtTest(3); }}},
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
    // At constant speed the loop moves one pixel a tick; on the incline a tick is 0.05 s. The
    // current and the force are worked out only at constant speed.
    .columns = {{"线圈位置 (像素)", [] { return InductionMode == 0 ? LoopOffset : CoilTravel; }},
                {"等速线圈速度 (像素/步)", LoopSpeed},
                {"斜面上的速度 (像素/秒)", [] { return CoilSpeed; }},
                {"感应电流", [] { return InducedCurrent; }},
                {"外力", [] { return PushForce; }}},
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
    .panel = &kWaveSuperpositionPanel,
    .mouseDown = WaveSuperpositionMouseDown,  // no flag test: the step area answers at any time
    .mouseUp = WaveSuperpositionMouseUp,
    .describe = WaveSuperpositionDescribe,
    .resetProgramState = WaveSuperpositionResetProgramState,
    .columns = {{"步 (次)", [] { return double(WavePlotCounts[1]); }},
                {"合成波最高点 y (像素)", WaveHighestPoint},
                {"波1前缘 x (像素)", [] { return Front1; }},
                {"波2前缘 x (像素)", [] { return Front2; }}},
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
    ClearRunRecord();
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
