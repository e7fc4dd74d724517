// The induction scenario played by the built vlab-script: the loop's current against the change of
// flux, the coil's motion against constant acceleration and braking, the ends of both runs, presses
// the runs ignore, and the pictures.

#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cmath>

#include "pictures.h"
#include "registry/registry.h"
#include "scenario_support.h"

using namespace vlab::test;

namespace {

// Rows of a trace after its header, as numbers.
QList<QList<double>> Rows(const QString& path, QString* header) {
    QFile file(path);
    QList<QList<double>> rows;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return rows;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    if (lines.isEmpty()) return rows;
    *header = lines.first();
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QList<double> cells;
        for (const QString& cell : lines[i].split(u',')) cells << cell.toDouble();
        rows << cells;
    }
    return rows;
}

// The flux through the loop whose left side is at x = left, for the field out of the surface: the
// field fills x 185 to 535 over the loop's whole 100 px height.
double Flux(double left) {
    return std::clamp(std::min(left + 100, 535.0) - std::max(left, 185.0), 0.0, 100.0) * 100;
}

}  // namespace

class InductionScenarioTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString Path(const char* name) const { return dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase() { QCOMPARE(PlayFile(dir.path(), QStringLiteral("induction.vls")).status, 0); }

    void settingLeavesTheButtonsAnswering() {
        const QJsonObject setting = Load(Path("induction_setting.json"));
        QCOMPARE(Number(setting, "ExperimentCode"), double(vlab::CodeOf("Induction")));
        QCOMPARE(Number(setting, "InductionMode"), 0.0);
        QCOMPARE(Number(setting, "MouseClickActive"), 1.0);
        QCOMPARE(Number(setting, "MouseMoveActive"), 1.0);
        QCOMPARE(setting.value(QStringLiteral("Timer1")).toObject().value(QStringLiteral("interval")).toInt(),
                 50);
        QVERIFY(Control(setting, "Form1.Button2").value(QStringLiteral("enabled")).toBool());
    }

    // With flux out of the surface the current is +50 (clockwise) while the flux grows, -50 while
    // it shrinks, and there is none while it stays put; the run ends at tick 620.
    void loopRunFollowsTheFlux() {
        const QJsonObject mid = Load(Path("induction_loop_tick105.json"));
        QCOMPARE(Number(mid, "TickCount"), 105.0);
        QCOMPARE(Number(mid, "InductionMode"), 0.0);  // the incline press during the run was ignored
        QCOMPARE(Number(mid, "FieldDirection"), 1.0);
        QCOMPARE(Number(mid, "InducedCurrent"), 50.0);
        QVERIFY(TimerActive(mid));

        QString header;
        const auto rows = Rows(Path("induction_loop.csv"), &header);
        QCOMPARE(header, QStringLiteral("TickCount,LoopOffset,InducedCurrent,PushForce"));
        QCOMPARE(rows.size(), 620);
        for (const auto& row : rows) {
            const double left = row[1] + 150;
            QCOMPARE(left, row[0] + 30);
            const double before = Flux(left) - Flux(left - 1), after = Flux(left + 1) - Flux(left);
            const double change = before != 0 ? before : after;
            QCOMPARE(row[2], change > 0 ? 50.0 : change < 0 ? -50.0 : 0.0);
            QCOMPARE(row[3], std::fabs(row[2]));
        }

        const QJsonObject end = Load(Path("induction_loop_end.json"));
        QCOMPARE(Number(end, "TickCount"), 620.0);
        QCOMPARE(Number(end, "LoopOffset") + 150, 650.0);
        QVERIFY(!TimerActive(end));
        QVERIFY(Control(end, "Form1.Button4").value(QStringLiteral("enabled")).toBool());
        QCOMPARE(Number(end, "MouseClickActive"), 0.0);

        // The field set up again shows ringed dots, and the loop leaving it then carries +50.
        const QJsonObject other = Load(Path("induction_loop0_tick450.json"));
        QCOMPARE(Number(other, "FieldDirection"), 0.0);
        QCOMPARE(Number(other, "InducedCurrent"), 50.0);
        QCOMPARE(Number(other, "PushForce"), 50.0);
    }

    // Outside the braking zones the coil gains 0.5 a tick (acceleration 10, 0.05 a tick); the
    // run ends on the first tick at which it has slid 620 px.
    void coilRunAcceleratesBrakesAndEnds() {
        QString header;
        const auto rows = Rows(Path("induction_coil.csv"), &header);
        QCOMPARE(header, QStringLiteral("TickCount,CoilSpeed,CoilTravel"));
        QVERIFY(rows.size() > 110);
        double v = 0, s = 0;
        int braking = 0;
        for (const auto& row : rows) {
            const double u = 630 - s;
            const bool straddles = (u < 510 && u + 80 > 510) || (u < 210 && u + 80 > 210);
            if (!straddles) {
                QVERIFY(std::fabs(row[1] - v - 0.5) < 1e-9);
            } else {
                ++braking;
                // Braking pulls the speed towards 10 / 0.6 by 3 % of the gap each tick.
                QVERIFY(std::fabs((row[1] - 10 / 0.6) - 0.97 * (v - 10 / 0.6)) < 1e-9);
            }
            QVERIFY(std::fabs(row[2] - (s + v * 0.05 + (row[1] - v) * 0.05 / 2)) < 1e-9);
            if (row != rows.last()) QVERIFY(row[2] < 620);
            v = row[1];
            s = row[2];
        }
        QVERIFY(braking > 60);
        QVERIFY(s >= 620);
        const QJsonObject end = Load(Path("induction_coil_end.json"));
        QCOMPARE(Number(end, "TickCount"), rows.last()[0]);
        QCOMPARE(Number(end, "CoilTravel"), s);
        QVERIFY(!TimerActive(end));

        // Paused while leaving the band with solid dots: the press after the pause changed nothing.
        const QJsonObject paused = Load(Path("induction_coil_tick255.json"));
        QCOMPARE(Number(paused, "TickCount"), 255.0);
        QCOMPARE(Number(paused, "InductionMode"), 1.0);
        QCOMPARE(Number(paused, "FieldDirection"), 1.0);
        QVERIFY(!TimerActive(paused));
        QCOMPARE(Control(paused, "Form1.Button7").value(QStringLiteral("text")).toString(),
                 QStringLiteral("Continue"));
    }

    void pictures() {
        const QImage loop(Path("induction_loop_tick105.png"));
        QCOMPARE(loop.size(), QSize(700, 548));
        QCOMPARE(Pixel(loop, 300, 200), QRgb(0xA6DDA5));                    // the field between its symbols
        QCOMPARE(CountColour(loop, 0xFFFFFF, Box(197, 117, 204, 124)), 0);  // solid dots, no ring
        QVERIFY(CountColour(loop, 0xC0C0C0, Box(130, 160, 140, 170)) > 0);  // the left side at x 135
        QVERIFY(CountColour(loop, 0xFF0000, Box(395, 460, 430, 470)) > 0);  // +50 plotted below the axis
        const QImage ringed(Path("induction_loop0_tick450.png"));
        QVERIFY(CountColour(ringed, 0xFFFFFF, Box(197, 117, 204, 124)) > 0);
        const QImage coil(Path("induction_coil_tick110.png"));
        QVERIFY(CountColour(coil, 0x800080, Box(0, 0, 700, 360)) > 0);  // the current in the entering coil
        QVERIFY(CountColour(coil, 0x808080, Box(300, 250, 690, 355)) > 10000);  // the incline
        const QImage end(Path("induction_coil_end.png"));
        const int lastX = 2 * int(Number(Load(Path("induction_coil_end.json")), "TickCount")) + 10;
        QVERIFY(CountColour(end, 0xFF0000, Box(lastX - 3, 363, lastX + 3, 540)) > 0);
        QCOMPARE(CountColour(end, 0x800080, Box(0, 0, 700, 360)), 0);  // at the foot, clear of the band
    }
};

QTEST_MAIN(InductionScenarioTest)
#include "induction_scenario_test.moc"
