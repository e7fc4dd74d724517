// The pulley scenario played by the built vlab-script: each arrangement chosen on the surface, its
// masses set in the panel, run to its end (one paused on the way, one panel left by its Exit), and
// the dumps and pictures read back.

#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

#include "pictures.h"
#include "scenario_support.h"

using namespace vlab::test;

namespace {

QStringList Memo(const QJsonObject& dump) {
    QStringList lines;
    for (const auto& v : dump.value(QStringLiteral("Memo1")).toArray()) lines << v.toString();
    return lines;
}

int RedCount(const QImage& image) { return CountColour(image, 0xFF0000, image.rect()); }

}  // namespace

class PulleyScenarioTest : public QObject {
    Q_OBJECT

private slots:
    void eachArrangementChosenSetAndRun() {
        QTemporaryDir dir;
        const Outcome run = PlayFile(dir.path(), QStringLiteral("pulley.vls"));
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        const QString d = dir.path();

        // Arrangement 1, 3 kg against 1 kg: B rises 0.005 * 4.9 * n^2 pixels and meets the rim on
        // tick 89, held at 190.
        const QJsonObject one = Load(d, "pulley1.json");
        QCOMPARE(Number(one, "PulleyTicks"), 89.0);
        QCOMPARE(Entry(one, "BodyY", 0), 190.0);
        QVERIFY(!TimerActive(one));
        QVERIFY(Enabled(one, "Form1.Button4"));  // Setting is the way on
        const QImage tick60(d + "/pulley1_tick60.png"), end1(d + "/pulley1_end.png");
        QCOMPARE(Pixel(tick60, 168, int(260 - 0.005 * 4.9 * 3600)), QRgb(0));
        QVERIFY(RedCount(tick60) > 100);  // the equations
        QCOMPARE(Pixel(end1, 168, 70), QRgb(0));
        QCOMPARE(Pixel(end1, 168, 85), QRgb(0xC0C0C0));
        QCOMPARE(RedCount(QImage(d + "/pulley1_rest.png")), 0);

        // Arrangement 2, paused after 40 ticks: the ticks of the pause deliver nothing, and the
        // run goes on to tick 125 with one read-out line.
        const QJsonObject paused = Load(d, "pulley2_paused.json");
        QCOMPARE(Number(paused, "PulleyTicks"), 40.0);
        QVERIFY(!TimerActive(paused));
        QCOMPARE(Text(paused, "Form1.Button7"), QStringLiteral("Continue"));
        const QJsonObject two = Load(d, "pulley2.json");
        QCOMPARE(Number(two, "PulleyTicks"), 125.0);
        QCOMPARE(Entry(two, "BodyY", 0), 218.0);
        QCOMPARE(Memo(two).filter(QStringLiteral("Mb加速度  = 2.8")).size(), 1);

        // The panel left by its Exit: the arrangement stays drawn at rest and nothing runs.
        const QJsonObject left = Load(d, "pulley3_exit.json");
        QVERIFY(!TimerActive(left));
        QCOMPARE(Number(left, "PulleyTicks"), 0.0);
        QCOMPARE(Entry(left, "BodyY", 0), 0.0);
        QCOMPARE(Number(left, "PulleyArrangement"), 3.0);
        const QImage exitPicture(d + "/pulley3_exit.png");
        QCOMPARE(RedCount(exitPicture), 0);
        QCOMPARE(Pixel(exitPicture, 58, 365), QRgb(0xC0C0C0));  // A at rest

        // Arrangement 3, 2/1/1 kg: A sinks by C's rise plus B's rise against the pulley and reaches
        // 166 pixels on tick 73.
        const QJsonObject three = Load(d, "pulley3.json");
        QCOMPARE(Number(three, "PulleyTicks"), 73.0);
        const double a = Entry(three, "PulleyMotion", 0), a1 = Entry(three, "PulleyMotion", 1);
        QVERIFY(std::fabs(Entry(three, "BodyY", 0) - 0.005 * a * 73 * 73) < 1e-9);
        QVERIFY(std::fabs(Entry(three, "BodyY", 1) - 0.005 * a1 * 73 * 73) < 1e-9);
        QVERIFY(Entry(three, "BodyY", 0) + Entry(three, "BodyY", 1) >= 166);
        QVERIFY(0.005 * (a + a1) * 72 * 72 < 166);
        QVERIFY(RedCount(QImage(d + "/pulley3_tick50.png")) > 100);

        // The panel offered two masses for arrangements 1 and 2 and three for 3; every run wrote
        // its read-out once.
        const QStringList memo = Memo(three);
        QCOMPARE(memo,
                 (QStringList{
                     "方块A质量= 3    方块B质量= 1        ",
                     "Ma绳张力 = 14.7       Mb绳张力 = 14.7       Ma加速度 = -4.9       Mb加速度 = 4.9 ",
                     "方块A质量= 3    方块B质量= 1        ",
                     "Ma绳张力 = 25.2       Mb绳张力 = 12.6       Ma加速度  = -1.4       Mb加速度  = 2.8",
                     "方块A质量= 2    方块B质量= 1    方块C质量= 1    ",
                     "Ma绳张力 = 7.127       Mb绳张力 = 7.127       Mc绳张力 = 14.255 ",
                     "Ma加速度 = -6.236       Mb加速度 = -2.673       Mc加速度 = 4.455 ",
                 }));
    }
};

QTEST_MAIN(PulleyScenarioTest)
#include "pulley_scenario_test.moc"
