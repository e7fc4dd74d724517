// The registry: the whole lab's reset and dump over every entry, and entries that the lab window
// and the panel can build on.

#include "registry/registry.h"

#include <QJsonObject>
#include <QSet>
#include <QtTest>

#include "experiments/spring_energy.h"
#include "lab/lab_state.h"
#include "registry/run_record.h"

using namespace vlab;

class RegistryTest : public QObject {
    Q_OBJECT
private slots:
    // The whole lab goes back to where a fresh program starts, experiments included.
    void programStateComesBack() {
        TickCount = 12;
        MouseClickActive = 1;
        HelpPagePath = "x";
        SpringConstant = 4;
        SpringTrail.fill(3);
        ResetProgramState();
        QCOMPARE(TickCount, 0);
        QCOMPARE(MouseClickActive, std::uint8_t(0));
        QVERIFY(HelpPagePath.isEmpty());
        QCOMPARE(SpringConstant, 2.0);
        QCOMPARE(SpringTrail[5], 0.0);
        QJsonObject dump;
        DescribeLab(dump);
        for (const char* name :
             {"ExperimentCode", "TickCount", "MouseMoveActive", "BodyX", "KitSlots", "SpringEndX",
              "SpringConstant", "AppliedForce", "WavePlotCounts", "InductionMode", "ChargeQ"})
            QVERIFY2(dump.contains(QLatin1String(name)), name);
    }

    // Codes and names find their entries, and unknown ones find none.
    void entriesAreFoundByCodeAndName() {
        QSet<int> codes;
        for (const Experiment* e : AllExperiments()) {
            QCOMPARE(FindExperiment(e->code), e);
            QCOMPARE(CodeOf(e->name), e->code);
            QVERIFY2(!codes.contains(e->code), e->name);
            codes.insert(e->code);
        }
        QCOMPARE(codes.size(), qsizetype(AllExperiments().size()));
        QCOMPARE(FindExperiment(0), nullptr);
        QCOMPARE(FindExperiment(AllExperiments().back()->code + 1), nullptr);
        QCOMPARE(CodeOf("Nothing"), 0);
    }

    // What the entry says of the mouse flags after the experiment's reset is what the reset does.
    void mouseFlagsAfterTheResetAreAsTheEntrySays() {
        for (const Experiment* e : AllExperiments()) {
            ResetProgramState();
            ExperimentCode = e->code;
            e->reset();
            QCOMPARE(MouseClickActive == 1 && MouseMoveActive == 1, e->mouseOnWhenChosen);
        }
    }

    // The record holds 100000 rows: a run of exactly that many has no note, one tick more keeps
    // the first rows and says so on the last line. A new start and the program's start values
    // forget it.
    void runRecordIsBounded() {
        ResetProgramState();
        ExperimentCode = CodeOf("SpringEnergy");
        StartRunRecord();
        for (TickCount = 1; TickCount < int(kRecordedRowLimit); ++TickCount) {
            SpringX = TickCount * 0.5;
            RecordTick();
        }
        QCOMPARE(RecordedRows(), kRecordedRowLimit);
        QVERIFY(!RecordOverflowed());
        QVERIFY(!QString::fromUtf8(RunRecordCsv()).contains(u'#'));
        for (int i = 0; i < 5; ++i, ++TickCount) RecordTick();
        QCOMPARE(RecordedRows(), kRecordedRowLimit);
        QVERIFY(RunRecordCsv().startsWith("\xEF\xBB\xBF"));
        const QStringList lines = QString::fromUtf8(RunRecordCsv()).split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 100002);
        QCOMPARE(lines[100000].section(u',', 0, 1), QStringLiteral("99999,49999.5"));
        QCOMPARE(lines.last(), QStringLiteral("# 只记录了前 100000 步，之后的步没有记录"));

        // A new start holds only its own first row, whatever was recorded before it.
        StartRunRecord();
        QCOMPARE(RecordedRows(), std::size_t(1));
        QVERIFY(!RecordOverflowed());

        ResetProgramState();
        QCOMPARE(RecordedRows(), std::size_t(0));
        QVERIFY(!RecordOverflowed());
        QCOMPARE(QString::fromUtf8(RunRecordCsv()).count(u'\n'), 1);  // the header alone
    }
};

QTEST_MAIN(RegistryTest)
#include "registry_test.moc"
