// The wave superposition scenario played through the built vlab-script: the four pairs set in the
// panel, the end of each run at step 341, the presses in the step area before Setting, while
// running and after the end, and the sum line in the snapshots at the best overlap.

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "pictures.h"
#include "registry/registry.h"
#include "scenario_support.h"

using namespace vlab::test;

namespace {

constexpr QRgb kPurple = 0x800080;

int Step(const QJsonObject& dump) {
    return dump.value(QStringLiteral("WavePlotCounts")).toArray().at(1).toInt();
}

// The highest and lowest row of the string area that holds a purple pixel.
std::pair<int, int> PurpleRows(const QImage& image) {
    int top = -1, bottom = -1;
    for (int y = 3; y < 358; ++y)
        for (int x = 3; x < 699; ++x)
            if (Pixel(image, x, y) == kPurple) {
                if (top < 0) top = y;
                bottom = y;
                break;
            }
    return {top, bottom};
}

}  // namespace

class WaveSuperpositionScenarioTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void initTestCase() {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(VLAB_SCRIPT),
                      {QStringLiteral(VLAB_SOURCE_DIR "/tests/app/scenarios/wave_superposition.vls")});
        QVERIFY(process.waitForFinished(120000));
        QCOMPARE(process.exitCode(), 0);
    }

    void pressBeforeSettingStartsThePulsesAtTheEdges() {
        const QJsonObject dump = Load(dir.path(), QStringLiteral("wave_before_setting.json"));
        QCOMPARE(Number(dump, "ExperimentCode"), double(vlab::CodeOf("WaveSuperposition")));
        QCOMPARE(Step(dump), 0);
        QCOMPARE(Number(dump, "TickCount"), 0.0);
        QCOMPARE(Number(dump, "Front1"), 9.0);
        QCOMPARE(Number(dump, "Front2"), 691.0);
        QVERIFY(!TimerActive(dump));
    }

    // Every run stops itself when the second front reaches column 9, at step 341, and leaves
    // Setting and Return enabled. D's press while running was one step without a tick.
    void eachRunEndsAtStep341_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("variant");
        QTest::addColumn<int>("ticks");
        QTest::newRow("A") << "wave_A_end.json" << 2 << 341;
        QTest::newRow("B") << "wave_B_end.json" << 3 << 341;
        QTest::newRow("C") << "wave_C_end.json" << 4 << 341;
        QTest::newRow("D") << "wave_D_end.json" << 1 << 340;
    }
    void eachRunEndsAtStep341() {
        QFETCH(QString, file);
        QFETCH(int, variant);
        QFETCH(int, ticks);
        const QJsonObject dump = Load(dir.path(), file);
        QCOMPARE(Number(dump, "WaveVariant"), double(variant));
        QCOMPARE(Step(dump), 341);
        QCOMPARE(Number(dump, "TickCount"), double(ticks));
        QCOMPARE(Number(dump, "Front2"), 9.0);
        QVERIFY(!TimerActive(dump));
        QVERIFY(Enabled(dump, "Form1.Button4"));
        QVERIFY(Enabled(dump, "Form1.Button11"));
        QVERIFY(!Enabled(dump, "Form1.Button7"));
    }

    void pressesStepOnWhileRunningAndAfterTheEnd() {
        const QJsonObject running = Load(dir.path(), QStringLiteral("wave_D_201.json"));
        QVERIFY(TimerActive(running));
        QCOMPARE(Number(running, "TickCount"), 200.0);
        QCOMPARE(Step(running), 201);
        const QJsonObject after = Load(dir.path(), QStringLiteral("wave_A_pressed.json"));
        QCOMPARE(Step(after), 342);
        QCOMPARE(Number(after, "Front2"), 7.0);
        QVERIFY(!TimerActive(after));
    }

    // The sum of the two pulses at the best overlap, as the purple line shows it (4 px wide):
    // A flat at y 58, B within 4 px of the string, C up to y 22, D from y 138 to 222.
    void sumLineAtTheBestOverlap_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<int>("highest");
        QTest::addColumn<int>("lowest");
        QTest::newRow("A at step 200") << "wave_A_200.png" << 58 << 178;
        QTest::newRow("B at step 200") << "wave_B_200.png" << 178 << 184;
        QTest::newRow("C at step 200") << "wave_C_200.png" << 22 << 178;
        QTest::newRow("D at step 201") << "wave_D_201.png" << 138 << 222;
    }
    void sumLineAtTheBestOverlap() {
        QFETCH(QString, file);
        QFETCH(int, highest);
        QFETCH(int, lowest);
        const QImage image(dir.filePath(file));
        QCOMPARE(image.size(), QSize(700, 548));
        const auto [top, bottom] = PurpleRows(image);
        QVERIFY2(std::abs(top - highest) <= 3, qPrintable(QString::number(top)));
        QVERIFY2(std::abs(bottom - lowest) <= 3, qPrintable(QString::number(bottom)));
    }

    void noSumBeforeTheMeeting() {
        const QImage image(dir.filePath(QStringLiteral("wave_A_0.png")));
        QCOMPARE(PurpleRows(image).first, -1);
        QCOMPARE(Pixel(image, 350, 180), QRgb(0xC0C0C0));  // the flat silver string
    }
};

QTEST_MAIN(WaveSuperpositionScenarioTest)
#include "wave_superposition_scenario_test.moc"
