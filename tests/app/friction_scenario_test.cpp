// The friction experiment played through the built vlab-script as a user plays it: two runs on one
// graph through the panel, then a run stopped half way, a panel left by its Exit and a set force of
// zero. The dumps are checked against the friction law and the pictures at chosen pixels.

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <numbers>

#include "draw/style.h"
#include "pictures.h"
#include "scenario_support.h"

using namespace vlab::test;

namespace {

// End tick and pull of a run by the friction law: 100 N block, static coefficient 0.8 with the
// normal force lessened by the upward part of the set force, a pull of floor(t / 10) N on tick t
// up to the set force, the excess over static friction accelerating the block (px/s^2, 0.1 s a
// tick) until it is beyond 750 px.
std::pair<int, double> RunEnd(double force, double angle) {
    const double th = angle * std::numbers::pi / 180;
    const double staticMax = 0.8 * (100 - std::sin(th) * force);
    double v = 0, x = 0;
    for (int t = 1;; ++t) {
        const double pull = std::min(std::floor(t / 10.0), force);
        const double excess = pull * std::cos(th) - staticMax;
        if (excess >= 0) {
            x += v * 0.1 + 0.005 * excess;
            v += 0.1 * excess;
        }
        if (x > 750 || pull == force) return {t, pull};
    }
}

QRgb Code(int code) { return vlab::ColourOfCode(code).rgb() & 0xFFFFFF; }
// The middle pixel of the 3-pixel graph dot centred at (x, y).
QRgb DotAt(const QImage& image, double x, double y) {
    return Pixel(image, int(x - 1.5) + 1, int(y - 1.5) + 1);
}

}  // namespace

class FrictionScenarioTest : public QObject {
    Q_OBJECT

private slots:
    void twoRunsOnOneGraph() {
        QTemporaryDir dir;
        QCOMPARE(PlayFile(dir.path(), QStringLiteral("friction.vls")).status, 0);

        const QJsonObject setUp = Load(dir.path(), QStringLiteral("friction_setup.json"));
        QCOMPARE(Number(setUp, "TickCount"), 0.0);
        QCOMPARE(Number(setUp, "FrictionSetCount"), 0.0);
        QCOMPARE(Number(setUp, "AppliedForce"), 120.0);
        QVERIFY(Enabled(setUp, "Form1.Button2"));
        QVERIFY(!TimerActive(setUp));

        // Each run stops itself: the timer halts and Setting and Return come back.
        const auto [end1, pull1] = RunEnd(120, 0);
        const QJsonObject first = Load(dir.path(), QStringLiteral("friction_run1.json"));
        QCOMPARE(Number(first, "TickCount"), double(end1));
        QCOMPARE(Entry(first, "FrictionForces", 0), pull1);
        QVERIFY(Entry(first, "BodyX", 0) > 750);
        QVERIFY(!TimerActive(first));
        QVERIFY(Enabled(first, "Form1.Button4"));
        QVERIFY(Enabled(first, "Form1.Button11"));
        QVERIFY(!Enabled(first, "Form1.Button2"));

        const auto [end2, pull2] = RunEnd(120, 30);
        const QJsonObject second = Load(dir.path(), QStringLiteral("friction_run2.json"));
        QCOMPARE(Number(second, "TickCount"), double(end2));
        QCOMPARE(Entry(second, "FrictionForces", 0), pull2);
        QCOMPARE(Number(second, "ForceAngle"), 30.0);
        QCOMPARE(Number(second, "BlockHeight"), 50.0);
        QCOMPARE(Number(second, "FrictionSetCount"), 1.0);
        QCOMPARE(second.value(QStringLiteral("Memo1")).toArray().size(), 2);
        QVERIFY(!TimerActive(second));

        // Mid-run picture: the upright block at rest, the red pull arrow from its right face.
        const QImage mid(dir.filePath(QStringLiteral("friction_run1_tick500.png")));
        QCOMPARE(Pixel(mid, 98, 60), Code(16));
        QCOMPARE(Pixel(mid, 140, 99), Code(0));

        // Two curves in two colours, each bending where its block starts to slide: red along the
        // diagonal to 79 N and flat at 72 N from the 80 N tick on, grey along the diagonal to 36 N
        // of pull and flat at 28.8 N.
        const QImage graph(dir.filePath(QStringLiteral("friction_two_runs.png")));
        QCOMPARE(DotAt(graph, 100 + 3 * 60, 525 - 3 * 60), Code(0));
        QCOMPARE(DotAt(graph, 100 + 3 * 79, 525 - 3 * 79), Code(0));
        QCOMPARE(DotAt(graph, 100 + 3 * 90, 525 - 3 * 72), Code(0));
        const double c = std::cos(std::numbers::pi / 6);
        QCOMPARE(DotAt(graph, 100 + 3 * 36 * c, 525 - 3 * 36 * c), Code(1));
        QCOMPARE(DotAt(graph, 100 + 3 * 50 * c, 525 - 3 * 28.8), Code(1));
        // Nothing of either curve above its bend.
        QCOMPARE(CountColour(graph, Code(0), Box(100 + 3 * 81, 204, 700, 525 - 3 * 72 - 3)), 0);
        QCOMPARE(CountColour(graph, Code(1), Box(100 + 3 * 38, 204, 700, 525 - 3 * 36)), 0);
        // Both blocks have left the table at the end.
        QCOMPARE(CountColour(graph, Code(16), Box(0, 0, 700, 140)), 0);
    }

    // Stop half way and Setting again, the panel left by its Exit, then a set force of zero.
    void unfinishedAndEmptyRuns() {
        QTemporaryDir dir;
        const QByteArray scenario = R"(click Main.Image4
click Form1.Button3
click Form1.Button4
combo table3.ComboBox1 作用角度
slider table3.TrackBar1 -4500
click table3.Button1
click check.BitBtn1
click Form1.Button2
tick 300
click Form1.Button26
dump stopped.json
click Form1.Button4
click table3.Button2
click check.BitBtn1
dump left.json
snapshot left.png
click Form1.Button26
click Form1.Button4
combo table3.ComboBox1 作用力
slider table3.TrackBar1 0
click table3.Button1
click check.BitBtn1
dump zero.json
click Form1.Button2
tick 50
dump zero_run.json
snapshot zero.png
)";
        QCOMPARE(Play(dir.path(), {QStringLiteral("-")}, scenario).status, 0);

        const QJsonObject stopped = Load(dir.path(), QStringLiteral("stopped.json"));
        QCOMPARE(Number(stopped, "TickCount"), 300.0);
        QCOMPARE(Entry(stopped, "FrictionForces", 0), 30.0);
        QVERIFY(!TimerActive(stopped));

        // The abandoned Setting drew nothing and counted no run; the stopped run's points stay.
        const QJsonObject left = Load(dir.path(), QStringLiteral("left.json"));
        QCOMPARE(Number(left, "FrictionSetCount"), 0.0);
        QCOMPARE(Number(left, "PanelAccepted"), 0.0);
        QVERIFY(!Enabled(left, "Form1.Button2"));
        const QImage kept(dir.filePath(QStringLiteral("left.png")));
        const double c = std::cos(std::numbers::pi / 4);
        QCOMPARE(DotAt(kept, 100 + 3 * 29 * c, 525 - 3 * 29 * c), Code(0));

        // A set force of zero: the set-up call itself ends the run; a Start after it gives one
        // tick with its point at the origin.
        const QJsonObject zero = Load(dir.path(), QStringLiteral("zero.json"));
        QCOMPARE(Number(zero, "AppliedForce"), 0.0);
        QCOMPARE(Number(zero, "FrictionSetCount"), 1.0);
        QVERIFY(!TimerActive(zero));
        QVERIFY(Enabled(zero, "Form1.Button11"));
        const QJsonObject zeroRun = Load(dir.path(), QStringLiteral("zero_run.json"));
        QCOMPARE(Number(zeroRun, "TickCount"), 1.0);
        QVERIFY(!TimerActive(zeroRun));
        QCOMPARE(Entry(zeroRun, "BodyX", 0), 0.0);
        QCOMPARE(DotAt(QImage(dir.filePath(QStringLiteral("zero.png"))), 100, 525), Code(1));
    }
};

QTEST_MAIN(FrictionScenarioTest)
#include "friction_scenario_test.moc"
