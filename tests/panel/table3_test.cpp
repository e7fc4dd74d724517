// The parameter panel driven as a user drives it: combo boxes typed or picked, the slider moved,
// keys typed into the edit box, OK and Exit answered through the real confirmation dialog.

#include "panel/table3.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTimer>
#include <QtTest>

#include <functional>

#include "dialog/check_dialog.h"
#include "draw/figures.h"
#include "draw/fonts.h"
#include "experiments/collision.h"
#include "experiments/friction.h"
#include "experiments/pulley.h"
#include "lab/lab_host.h"
#include "lab/lab_state.h"
#include "pictures.h"
#include "registry/registry.h"
#include "shell/lab_window.h"
#include "shell/title_screen.h"
#include "shell/windows.h"

using namespace vlab;
using namespace vlab::test;

namespace {

// Records what the panel asks of the lab window.
class FakeHost : public NullHost {
public:
    QStringList memo;
    QStringList calls;
    void ShowStoppedControls() override { calls << "ShowStoppedControls"; }
    void StopTimer() override { calls << "StopTimer"; }
    void SetStartEnabled(bool on) override { calls << QStringLiteral("Start %1").arg(on); }
    void SetSettingEnabled(bool on) override { calls << QStringLiteral("Setting %1").arg(on); }
    void SetPauseEnabled(bool on) override { calls << QStringLiteral("Pause %1").arg(on); }
    void AppendMemo(const QString& line) override { memo << line; }
    void ShowReturnIfRowHidden() override { calls << "ShowReturnIfRowHidden"; }
};

FakeHost fake;
QStringList dialogLines;  // what the confirmation dialog showed when it was answered

// Answers the next confirmation question once the dialog is open, noting its lines.
void AnswerNext(bool yes) {
    QTimer::singleShot(0, [yes] {
        dialogLines = check->Memo1->toPlainText().split(u'\n');
        QVERIFY(check->isVisible());
        (yes ? check->BitBtn1 : check->BitBtn2)->click();
    });
}

// What the lab window's Setting does around the panel: reset, disable OK, show it.
void OpenPanel(int code) {
    ExperimentCode = code;
    if (const Experiment* e = FindExperiment(code)) e->reset();
    table3->Button1->setEnabled(false);
    table3->close();
    table3->show();
}

void Pick(const QString& text) { table3->UserComboText(table3->ComboBox1, text); }
void PickLayout(const QString& text) { table3->UserComboText(table3->ComboBox2, text); }
void Slide(int position) { table3->TrackBar1->setValue(position); }

// Presses OK and answers; returns the dialog's lines.
QStringList PressOk(bool yes) {
    dialogLines.clear();
    AnswerNext(yes);
    table3->Button1->click();
    return dialogLines;
}

// Types text key by key, as a keyboard would deliver it (QTest::keyClicks takes Latin-1 only).
void TypeKeys(QWidget* w, const QString& text) {
    for (QChar c : text) {
        const int key = c.unicode() < 0x80 ? int(c.toUpper().unicode()) : int(Qt::Key_unknown);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

QStringList Items(const QComboBox* box) {
    QStringList out;
    for (int i = 0; i < box->count(); ++i) out << box->itemText(i);
    return out;
}

struct Snapshot {
    double values[11];
    int charges[4];
    int wave;
    bool operator==(const Snapshot& o) const {
        for (int i = 0; i < 11; ++i)
            if (values[i] != o.values[i]) return false;
        for (int i = 0; i < 4; ++i)
            if (charges[i] != o.charges[i]) return false;
        return wave == o.wave;
    }
};

Snapshot Take() {
    return {{AppliedForce, ForceAngle, BlockHeight, BlockWidth, PulleyMassA, PulleyMassB, PulleyMassC,
             CollisionMassA, CollisionVelA, CollisionMassB, CollisionVelB},
            {ChargeQ[0], ChargeQ[1], ChargeQ[2], ChargeQ[3]},
            WaveVariant};
}

}  // namespace

class Table3Test : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InstallFontSubstitutes(); }
    void init() {
        DestroyWindows();
        CreateWindows();
        SetHost(&fake);
        fake.memo.clear();
        fake.calls.clear();
    }
    void cleanup() {
        if (table3) table3->hide();
        SetHost(nullptr);
    }

    void sliderRoundsHalfAwayFromZero() {
        OpenPanel(CodeOf("Friction"));
        Pick("作用力");
        Slide(4550);
        QCOMPARE(AppliedForce, 46.0);
        QCOMPARE(table3->Edit1->text(), QString("46"));
        Pick("作用角度");
        QCOMPARE(table3->Bar.Min(), -4500);
        Slide(-1249);
        QCOMPARE(ForceAngle, -12.0);
        Slide(-1250);
        QCOMPARE(ForceAngle, -13.0);
        Slide(1250);
        QCOMPARE(ForceAngle, 13.0);
        QCOMPARE(table3->Edit1->text(), QString("13"));
        QCOMPARE(AppliedForce, 46.0);  // the other value keeps what it was given
    }

    void itemsAndRangesPerMode_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("arrangement");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("min");
        QTest::addColumn<int>("max");
        QTest::addColumn<QStringList>("labels");  // Label1, Label2, Label3
        QTest::addColumn<int>("label3Left");
        const QStringList friction{"作用力", "作用角度", "接触面积"};
        const QStringList collision{"方块A质量", "方块A速度", "方块B质量", "方块B速度"};
        const QStringList mass{"质量 (Kg)", "1", "5"};
        const QStringList speed{"速度 (m/s)", "-10", "10"};
        QTest::newRow("force") << CodeOf("Friction") << 0 << "作用力" << friction << 0 << 12000
                               << QStringList{"牛顿 (Nt)", "0", "120"} << 112;
        QTest::newRow("angle") << CodeOf("Friction") << 0 << "作用角度" << friction << -4500 << 4500
                               << QStringList{"角度 ", "-45", "45"} << 112;
        QTest::newRow("pulley 1") << CodeOf("Pulley") << 1 << "方块B质量"
                                  << QStringList{"方块A质量", "方块B质量"} << 100 << 2000
                                  << QStringList{"质量 (Kg)", "1", "20"} << 112;
        QTest::newRow("pulley 3") << CodeOf("Pulley") << 3 << "方块C质量"
                                  << QStringList{"方块A质量", "方块B质量", "方块C质量"} << 100 << 2000
                                  << QStringList{"质量 (Kg)", "1", "20"} << 112;
        QTest::newRow("mass A") << CodeOf("Collision") << 0 << "方块A质量" << collision << 100 << 500 << mass
                                << 118;
        QTest::newRow("speed B") << CodeOf("Collision") << 0 << "方块B速度" << collision << -1000 << 1000
                                 << speed << 112;
    }
    void itemsAndRangesPerMode() {
        QFETCH(int, code);
        QFETCH(int, arrangement);
        QFETCH(QString, item);
        QFETCH(QStringList, items);
        QFETCH(int, min);
        QFETCH(int, max);
        QFETCH(QStringList, labels);
        QFETCH(int, label3Left);
        PulleyArrangement = arrangement;
        OpenPanel(code);
        QCOMPARE(Items(table3->ComboBox1), items);
        QCOMPARE(table3->ComboBox1->currentText(), QString("初始值"));
        QVERIFY(!table3->TrackBar1->isEnabled());
        QVERIFY(!table3->Edit1->isEnabled());
        QCOMPARE(table3->height(), 64);
        QCOMPARE(table3->Button1->y(), 30);
        Pick(item);
        QCOMPARE(table3->Bar.Min(), min);
        QCOMPARE(table3->Bar.Max(), max);
        QCOMPARE(table3->TrackBar1->minimum(), min);  // the on-screen slider follows the model
        QCOMPARE(table3->TrackBar1->maximum(), max);
        QCOMPARE(table3->Bar.Frequency(), (max - min) / 10);
        QCOMPARE(table3->Label1->text(), labels[0]);
        QCOMPARE(table3->Label2->text(), labels[1]);
        QCOMPARE(table3->Label3->text(), labels[2]);
        QCOMPARE(table3->Label3->x(), label3Left);
        QVERIFY(table3->TrackBar1->isEnabled());
        QCOMPARE(table3->Edit1->isEnabled(),
                 code == CodeOf("Collision"));  // only the collision keeps it enabled
        QVERIFY(table3->Button1->isEnabled());
        QCOMPARE(table3->EditDrivesValue, std::uint8_t(0));
    }

    void sliderEndsStoreEndValues() {
        struct Case {
            int code;
            int arrangement;
            const char* layout;
            const char* item;
            std::function<double()> value;
            double low, high;
        };
        const Case cases[] = {
            {CodeOf("Friction"), 0, nullptr, "作用力", [] { return AppliedForce; }, 0, 120},
            {CodeOf("Friction"), 0, nullptr, "作用角度", [] { return ForceAngle; }, -45, 45},
            {CodeOf("Pulley"), 3, nullptr, "方块A质量", [] { return PulleyMassA; }, 1, 20},
            {CodeOf("Pulley"), 3, nullptr, "方块B质量", [] { return PulleyMassB; }, 1, 20},
            {CodeOf("Pulley"), 3, nullptr, "方块C质量", [] { return PulleyMassC; }, 1, 20},
            {CodeOf("Collision"), 0, nullptr, "方块A质量", [] { return CollisionMassA; }, 1, 5},
            {CodeOf("Collision"), 0, nullptr, "方块A速度", [] { return CollisionVelA; }, -10, 10},
            {CodeOf("Collision"), 0, nullptr, "方块B质量", [] { return CollisionMassB; }, 1, 5},
            {CodeOf("Collision"), 0, nullptr, "方块B速度", [] { return CollisionVelB; }, -10, 10},
            {CodeOf("ElectricField"), 0, "四个点电荷", "点电荷1", [] { return double(ChargeQ[0]); }, -10, 10},
            {CodeOf("ElectricField"), 0, "四个点电荷", "点电荷4", [] { return double(ChargeQ[3]); }, -10, 10},
        };
        for (const Case& c : cases) {
            PulleyArrangement = c.arrangement;
            OpenPanel(c.code);
            if (c.layout) PickLayout(c.layout);
            Pick(c.item);
            table3->TrackBar1->triggerAction(QAbstractSlider::SliderToMinimum);
            QCOMPARE(c.value(), c.low);
            table3->TrackBar1->triggerAction(QAbstractSlider::SliderToMaximum);
            QCOMPARE(c.value(), c.high);
            Slide(999999);  // beyond the end: clamped
            QCOMPARE(c.value(), c.high);
            Slide(-999999);
            QCOMPARE(c.value(), c.low);
            table3->hide();
        }
    }

    void okStaysDisabledUntilAnItemIsRecognised() {
        OpenPanel(CodeOf("Friction"));
        QVERIFY(!table3->Button1->isEnabled());
        QVERIFY(table3->Button2->isVisible());
        Pick("作用");
        Pick("初始值");
        QVERIFY(!table3->Button1->isEnabled());
        table3->hide();

        OpenPanel(CodeOf("ElectricField"));
        QCOMPARE(table3->height(), 92);
        QVERIFY(table3->ComboBox2->isVisible());
        QCOMPARE(table3->ComboBox2->currentText(), QString("电荷分布"));
        PickLayout("三个点电荷");
        QVERIFY(!table3->Button1->isEnabled());  // the layout alone is not enough
        QCOMPARE(Items(table3->ComboBox1), (QStringList{"点电荷1", "点电荷2", "点电荷3"}));
        Pick("点电荷3");
        QVERIFY(table3->Button1->isEnabled());
    }

    void chargeLayoutsResetTheCharges() {
        OpenPanel(CodeOf("ElectricField"));
        PickLayout("四个点电荷");
        Pick("点电荷3");
        Slide(700);
        QCOMPARE(ChargeQ[2], 7);
        Pick("点电荷1");
        Slide(-300);
        QCOMPARE(ChargeQ[0], -3);
        PickLayout("两个点电荷");
        QCOMPARE(ChargeQ[0], 1);
        QCOMPARE(ChargeQ[1], 1);
        QCOMPARE(ChargeQ[2], 0);
        QCOMPARE(ChargeQ[3], 0);
        QCOMPARE(table3->ComboBox1->currentText(), QString("初始值"));
        QCOMPARE(Items(table3->ComboBox1), (QStringList{"点电荷1", "点电荷2"}));
        QCOMPARE(table3->Bar.Position(), 100);
        // A charge that the layout does not offer cannot be given a value.
        Pick("点电荷3");
        Slide(500);
        QCOMPARE(ChargeQ[2], 0);
        QCOMPARE(table3->Edit1->text(), QString("5"));
        Pick("点电荷2");
        QCOMPARE(PressOk(true), (QStringList{"点电荷1带电量 = 1 Q", "点电荷2带电量 = 1 Q", "", ""}));
        QCOMPARE(fake.memo.last(), QString("点电荷1带电量 = 1 Q    点电荷2带电量 = 1 Q        "));
        // The electric field's own fix of the prompt text raises no change.
        table3->SetChargeLayoutText("三个点电荷");
        QCOMPARE(ChargeQ[2], 0);
        QCOMPARE(table3->ChargeLayoutText(), QString("三个点电荷"));
    }

    void waveVariantCodes() {
        OpenPanel(CodeOf("WaveSuperposition"));
        QCOMPARE(table3->height(), 46);
        QVERIFY(!table3->Edit1->isVisible());
        QVERIFY(!table3->TrackBar1->isVisible());
        QCOMPARE(table3->ComboBox1->currentText(), QString("波的重叠"));
        QCOMPARE(Items(table3->ComboBox1), (QStringList{"波的重叠A", "波的重叠B", "波的重叠C", "波的重叠D"}));
        const std::pair<const char*, int> codes[] = {
            {"波的重叠A", 2}, {"波的重叠B", 3}, {"波的重叠C", 4}, {"波的重叠D", 1}};
        for (auto [item, code] : codes) {
            Pick(item);
            QCOMPARE(WaveVariant, code);
        }
        QVERIFY(table3->Button1->isEnabled());
        QCOMPARE(table3->Bar.Frequency(), 0);
        QCOMPARE(PressOk(true).first(), QString("执行:波的重叠D (波型上下颠倒左右相反)"));
    }

    void frictionRadioButtonsAfterALaterSetting() {
        FrictionSetCount = -1;
        OpenPanel(CodeOf("Friction"));
        QVERIFY(table3->RadioButton1->isChecked());
        Pick("接触面积");
        QVERIFY(!table3->Edit1->isVisible());
        QVERIFY(!table3->TrackBar1->isVisible());
        QVERIFY(table3->RadioButton1->isVisible());
        QCOMPARE(table3->RadioButton1->pos(), QPoint(24, 6));
        QCOMPARE(table3->RadioButton2->pos(), QPoint(24, 26));
        QTest::mouseClick(table3->RadioButton2, Qt::LeftButton);
        QCOMPARE(BlockHeight, 50.0);
        QCOMPARE(BlockWidth, 100.0);
        QCOMPARE(PressOk(true)[2], QString("接触面积 = 横卧(较大)"));
        FrictionSetCount += 1;  // what Setting does after an accepted panel

        // The next Setting resets the block upright, but the radio buttons still show it lying.
        OpenPanel(CodeOf("Friction"));
        QCOMPARE(BlockHeight, 100.0);
        QVERIFY(table3->RadioButton2->isChecked());
        Pick("接触面积");
        QTest::mouseClick(table3->RadioButton2, Qt::LeftButton);  // already ticked: nothing
        QCOMPARE(BlockHeight, 100.0);
        QCOMPARE(PressOk(true)[2], QString("接触面积 = 直立(较小)"));
    }

    void okSummaryForEveryMode() {
        // Friction just chosen, only the contact area picked: the force is still 120.
        OpenPanel(CodeOf("Friction"));
        Pick("接触面积");
        QCOMPARE(PressOk(true),
                 (QStringList{"作用力F = 0 ~ 120", "作用方向 = 0° ", "接触面积 = 直立(较小)", ""}));
        QCOMPARE(fake.memo.last(),
                 QString("作用力F = 0 ~ 120    作用方向 = 0°     接触面积 = 直立(较小)    "));
        QCOMPARE(PanelAccepted, std::uint8_t(1));
        QVERIFY(!table3->isVisible());

        PulleyArrangement = 2;
        OpenPanel(CodeOf("Pulley"));
        Pick("方块B质量");
        Slide(1850);
        QCOMPARE(PressOk(true), (QStringList{"方块A质量= 1", "方块B质量= 19", "", ""}));
        QCOMPARE(fake.memo.last(), QString("方块A质量= 1    方块B质量= 19        "));

        PulleyArrangement = 3;
        OpenPanel(CodeOf("Pulley"));
        Pick("方块C质量");
        Slide(2000);
        QCOMPARE(fake.memo.size(), 2);
        QCOMPARE(PressOk(true), (QStringList{"方块A质量= 1", "方块B质量= 1", "方块C质量= 20", ""}));

        OpenPanel(CodeOf("Collision"));
        QCOMPARE(table3->EditDrivesValue, std::uint8_t(0));
        Pick("方块B速度");
        Slide(-349);
        QCOMPARE(PressOk(true),
                 (QStringList{"方块A质量= 5", "方块A速度= 10", "方块B质量= 1", "方块B速度= -3"}));
        QCOMPARE(fake.memo.last(), QString("方块A质量= 5    方块A速度= 10    方块B质量= 1    方块B速度= -3"));

        OpenPanel(CodeOf("ElectricField"));
        PickLayout("四个点电荷");
        Pick("点电荷4");
        Slide(-1000);
        QCOMPARE(PressOk(true), (QStringList{"点电荷1带电量 = 1 Q", "点电荷2带电量 = 1 Q",
                                             "点电荷3带电量 = 1 Q", "点电荷4带电量 = -10 Q"}));

        OpenPanel(CodeOf("WaveSuperposition"));
        Pick("波的重叠B");
        QCOMPARE(PressOk(true).first(), QString("执行:波的重叠B (波型上下颠倒)"));
        QCOMPARE(fake.memo.last(), QString("执行:波的重叠B (波型上下颠倒)            "));
        QCOMPARE(fake.memo.size(), 6);
    }

    void okAnsweredNoKeepsThePanelOpen() {
        OpenPanel(CodeOf("Collision"));
        Pick("方块A质量");
        PanelAccepted = 0;
        PressOk(false);
        QVERIFY(table3->isVisible());
        QCOMPARE(PanelAccepted, std::uint8_t(0));
        QVERIFY(fake.memo.isEmpty());
        QCOMPARE(table3->ComboBox1->currentText(), QString("方块A质量"));
    }

    void exitAnsweredYesAndNo() {
        OpenPanel(CodeOf("Friction"));
        Pick("作用力");
        Slide(3000);
        dialogLines.clear();
        AnswerNext(false);
        table3->Button2->click();
        QCOMPARE(dialogLines, QStringList{"你确定要离开吗??"});
        QVERIFY(table3->isVisible());
        QVERIFY(fake.calls.isEmpty());

        PanelAccepted = 1;
        AnswerNext(true);
        table3->Button2->click();
        QVERIFY(!table3->isVisible());
        QCOMPARE(PanelAccepted, std::uint8_t(0));
        QVERIFY(fake.calls.contains("Setting 1"));
        QVERIFY(fake.calls.contains("Start 0"));
        QVERIFY(fake.calls.contains("Pause 0"));
        QVERIFY(fake.calls.contains("StopTimer"));
        QVERIFY(fake.calls.contains("ShowReturnIfRowHidden"));
        QCOMPARE(AppliedForce, 30.0);  // the values the user set are kept
        QVERIFY(fake.memo.isEmpty());
    }

    void unknownComboTextChangesNothing() {
        const QString texts[] = {"",    "作用力 ", "方块A质量x", QString(5000, u'力'),
                                 "abc", "点电荷5", "波的重叠",   "\t\n"};
        for (const Experiment* e : AllExperiments()) {
            if (!e->settingOpensPanel) continue;
            const int code = e->code;
            for (const QString& text : texts) {
                PulleyArrangement = 3;
                OpenPanel(code);
                if (code == CodeOf("ElectricField")) PickLayout("四个点电荷");
                const Snapshot before = Take();
                Pick(text);
                QVERIFY2(Take() == before, qPrintable(QString::fromUtf8(e->name) + ": " + text.left(10)));
                QVERIFY(!table3->Button1->isEnabled());
                Slide(table3->Bar.Max());  // a slider move afterwards stores nothing either
                Slide(table3->Bar.Min());
                QVERIFY(Take() == before);
                table3->hide();
            }
            // Nonsense in the layout box: no charge, no items, only the common steps.
            OpenPanel(code);
            const Snapshot before = Take();
            PickLayout("五个点电荷");
            QVERIFY(Take() == before);
            table3->hide();
        }
    }

    void typedComboTextIsMatchedAsAWhole() {
        OpenPanel(CodeOf("Friction"));
        QLineEdit* line = table3->ComboBox1->lineEdit();
        line->selectAll();
        TypeKeys(line, "作用力");
        QVERIFY(table3->Button1->isEnabled());
        QCOMPARE(table3->Bar.Max(), 12000);
        QTest::keyClick(line, Qt::Key_Space);  // "作用力 " is a near miss: back to the common steps
        QCOMPARE(table3->Bar.Max(), 0);
        QCOMPARE(table3->SliderLive, std::uint8_t(0));
    }

    void editBoxKeysNeverStoreAValue() {
        OpenPanel(CodeOf("Collision"));
        Pick("方块A速度");
        QVERIFY(table3->Edit1->isEnabled());
        const Snapshot before = Take();
        table3->Edit1->clear();
        TypeKeys(table3->Edit1, "a1b-2.x.5Q力 ");
        QCOMPARE(table3->Edit1->text(), QString("1-2..5"));  // only value characters get through
        QApplication::clipboard()->setText("-7abc.25");
        QTest::keySequence(table3->Edit1, QKeySequence::Paste);
        QCOMPARE(table3->Edit1->text(), QString("1-2..5-7.25"));
        table3->UserTypeEdit("9z");
        QCOMPARE(table3->Edit1->text(), QString("1-2..5-7.259"));
        QVERIFY(Take() == before);  // typed text sets no value; the slider does
        Slide(-500);
        QCOMPARE(CollisionVelA, -5.0);
        QCOMPARE(table3->Edit1->text(), QString("-5"));
    }

    void decimalEntryRejectsMalformedText() {
        // Right after activation the panel is in decimal-entry mode; only its own texts reach it,
        // but a malformed one must never move the slider.
        OpenPanel(CodeOf("Friction"));
        table3->SliderLive = 1;
        table3->Edit1->setText("12.5");
        QCOMPARE(table3->LastEditText, QString("12.5"));
        QCOMPARE(table3->Bar.Position(), 1250);
        for (const char* bad : {"1.2.3", "--1", "1-2", ".", "-.", "601"}) {
            table3->Edit1->setText(bad);
            QCOMPARE(table3->Edit1->text(), QString("12.5"));
            QCOMPARE(table3->Bar.Position(), 1250);
            QCOMPARE(table3->Edit1->cursorPosition(), 4);
        }
        table3->Edit1->setText("600");
        QCOMPARE(table3->Bar.Position(), 60000);
        // Backspace over the only decimal of "0.5" marks it; a slider move then echoes the value.
        table3->Edit1->setText("0.5");
        QChar backspace(8);
        QVERIFY(table3->Edit1KeyPress(backspace));
        QCOMPARE(table3->BackspaceAtPoint, std::uint8_t(1));
        QChar letter(u'x');
        QVERIFY(!table3->Edit1KeyPress(letter));
        QCOMPARE(letter, QChar(0));
    }

    void settingRunsThePanelModally() {
        // As the lab window does it: OK disabled, close, exec; the user acts while it is open.
        ExperimentCode = CodeOf("Collision");
        FindExperiment(ExperimentCode)->reset();
        table3->Button1->setEnabled(false);
        QTimer::singleShot(0, [] {
            QVERIFY(table3->isVisible());
            QTest::keyClick(table3, Qt::Key_Escape);  // Escape does not leave the panel
            QVERIFY(table3->isVisible());
            Pick("方块A质量");
            Slide(300);
            AnswerNext(true);
            table3->Button1->click();
        });
        table3->close();
        table3->exec();
        QCOMPARE(PanelAccepted, std::uint8_t(1));
        QCOMPARE(CollisionMassA, 3.0);
        QCOMPARE(table3->LastEditText, QString());
        // Shown again: activation rebuilds the panel from scratch.
        OpenPanel(CodeOf("Collision"));
        QCOMPARE(table3->ComboBox1->currentText(), QString("初始值"));
        QVERIFY(!table3->TrackBar1->isEnabled());
        QCOMPARE(table3->Bar.Max(), 60000);
    }

    void throughTheLabWindow() {
        SetHost(Form1);  // the real lab window this time
        Form1->Button3Click();
        QTimer::singleShot(0, [] {
            QVERIFY(!table3->Button1->isEnabled());
            Pick("作用力");
            Slide(4550);
            AnswerNext(true);
            table3->Button1->click();
        });
        Form1->Button4Click();
        QCOMPARE(PanelAccepted, std::uint8_t(1));
        QCOMPARE(FrictionSetCount, 0);
        QCOMPARE(Form1->Memo1->toPlainText().split(u'\n').last(),
                 QString("作用力F = 0 ~ 46    作用方向 = 0°     接触面积 = 直立(较小)    "));

        // Leaving through Exit: the run cannot start and nothing is drawn from the panel.
        Form1->Button46Click();
        QTimer::singleShot(0, [] {
            AnswerNext(true);
            table3->Button2->click();
        });
        Form1->Button4Click();
        QCOMPARE(PanelAccepted, std::uint8_t(0));
        QVERIFY(!Form1->Button2->isEnabled());
        QVERIFY(!Form1->Button7->isEnabled());
        QVERIFY(!Form1->Timer1->isActive());
        QVERIFY(!Form1->Button11->isHidden());  // Return stays on show, the row of buttons hidden
        QVERIFY(Form1->PageControl1->isHidden());
        QVERIFY(!Form1->Button4->isEnabled());  // Setting's last step disables it again: Stop is the way on
        QVERIFY(Form1->Button26->isEnabled());
    }

    void pulleyArrangementClickOpensThePanel() {
        SetHost(Form1);
        // The arrangement click opens the panel with that arrangement's masses.
        Form1->Button5Click();
        Form1->Button4Click();
        QTimer::singleShot(0, [] {
            QCOMPARE(PulleyArrangement, 3);
            QCOMPARE(Items(table3->ComboBox1).size(), 3);
            Pick("方块C质量");
            Slide(1200);
            AnswerNext(true);
            table3->Button1->click();
        });
        Form1->Image1MouseDown(500, 100);
        QCOMPARE(PulleyMassC, 12.0);
        QCOMPARE(PanelAccepted, std::uint8_t(1));
        QVERIFY(Form1->Button2->isEnabled());
    }

    void centredOverTheMainWindow() {
        Main->move(40, 30);
        OpenPanel(CodeOf("ElectricField"));  // the tallest layout: centred after activation has sized it
        const QPoint offset = table3->frameGeometry().center() - Main->frameGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QString("%1,%2").arg(offset.x()).arg(offset.y())));
        QCOMPARE(table3->height(), 92);
        QVERIFY(table3->windowFlags() & Qt::FramelessWindowHint);
    }

    void picturesOfTheFiveLayouts() {
        struct Shot {
            int code;
            const char* layout;
            const char* item;
            int position;
            const char* file;
        };
        const Shot shots[] = {{CodeOf("Friction"), nullptr, "作用力", 4550, "panel_friction.png"},
                              {CodeOf("Friction"), nullptr, "接触面积", 0, "panel_contact.png"},
                              {CodeOf("Collision"), nullptr, "方块A速度", -700, "panel_collision.png"},
                              {CodeOf("ElectricField"), "三个点电荷", "点电荷2", 500, "panel_charges.png"},
                              {CodeOf("WaveSuperposition"), nullptr, "波的重叠C", 0, "panel_waves.png"}};
        for (const Shot& s : shots) {
            OpenPanel(s.code);
            if (s.layout) PickLayout(s.layout);
            Pick(s.item);
            if (s.position) Slide(s.position);
            const QImage img = table3->grab().toImage();
            QCOMPARE(img.width(), 196);
            QCOMPARE(img.pixelColor(1, img.height() - 2), QColor(0xFB, 0xC9, 0xC2));  // activation's colour
            QVERIFY(SavePicture(img, QLatin1String(s.file)));
            table3->hide();
        }
    }
};

QTEST_MAIN(Table3Test)
#include "table3_test.moc"
