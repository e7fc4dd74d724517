// The collision played as a user plays it: the panel sets 3 kg at 8 against 2 kg at -6, the run
// goes through the contact and ends by itself. The dumps, the per-tick trace and the pictures are
// checked against the laws of an elastic collision.

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

#include "pictures.h"
#include "registry/registry.h"
#include "scenario_support.h"

using namespace vlab::test;

namespace {

constexpr double kMassA = 3, kVelA = 8, kMassB = 2, kVelB = -6;

struct Row {
    int tick;
    double xA, xB, vA, vB, es, eint, ecm, etotal;
};

std::vector<Row> ReadTrace(const QString& path) {
    QFile file(path);
    std::vector<Row> rows;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return rows;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QStringList c = lines[i].split(u',');
        if (c.size() != 9) return {};
        rows.push_back({c[0].toInt(), c[1].toDouble(), c[2].toDouble(), c[3].toDouble(), c[4].toDouble(),
                        c[5].toDouble(), c[6].toDouble(), c[7].toDouble(), c[8].toDouble()});
    }
    return rows;
}

}  // namespace

class CollisionScenarioTest : public QObject {
    Q_OBJECT

private slots:
    void panelRunThroughTheContactToTheEnd() {
        QTemporaryDir dir;
        const Outcome run = PlayFile(dir.path(), QStringLiteral("collision.vls"));
        QVERIFY2(run.status == 0, qPrintable(run.errors));

        // Ready: the panel's values, the blocks where the set-up picture shows them.
        const QJsonObject ready = Load(dir.filePath(QStringLiteral("collision_ready.json")));
        QCOMPARE(Number(ready, "ExperimentCode"), double(vlab::CodeOf("Collision")));
        QCOMPARE(Number(ready, "CollisionMassA"), kMassA);
        QCOMPARE(Number(ready, "CollisionVelA"), kVelA);
        QCOMPARE(Number(ready, "CollisionMassB"), kMassB);
        QCOMPARE(Number(ready, "CollisionVelB"), kVelB);
        QCOMPARE(Number(ready, "TickCount"), 0.0);
        QCOMPARE(ready.value(QStringLiteral("Timer1")).toObject().value(QStringLiteral("interval")).toInt(),
                 30);
        QVERIFY(Enabled(ready, "Form1.Button2"));
        QVERIFY(!Enabled(ready, "Form1.Button11"));
        const QJsonArray memo = ready.value(QStringLiteral("Memo1")).toArray();
        QCOMPARE(memo.size(), 1);
        QVERIFY(memo[0].toString().contains(QStringLiteral("方块B速度= -6")));

        // The trace: momentum kept, total energy the initial kinetic energy, the spring's energy
        // 1/2 k C^2 while pressed, and the outgoing velocities of an elastic collision.
        const std::vector<Row> rows = ReadTrace(dir.filePath(QStringLiteral("collision_trace.csv")));
        QVERIFY(rows.size() > 300);
        const double p0 = kMassA * kVelA + kMassB * kVelB;
        const double pScale = kMassA * std::fabs(kVelA) + kMassB * std::fabs(kVelB);
        const double kinetic = 0.5 * kMassA * kVelA * kVelA + 0.5 * kMassB * kVelB * kVelB;
        const double internal = 0.5 * kMassA * kMassB / (kMassA + kMassB) * (kVelA - kVelB) * (kVelA - kVelB);
        int firstContact = 0, lastContact = 0;
        for (const Row& r : rows) {
            QVERIFY(std::fabs(kMassA * r.vA + kMassB * r.vB - p0) < 1e-9 * pScale);
            QVERIFY(std::fabs(r.etotal - kinetic) < 1e-7);
            const double c = 98 - (r.xB - r.xA);
            if (c > 0) {
                if (!firstContact) firstContact = r.tick;
                lastContact = r.tick;
                QVERIFY(std::fabs(r.es - 0.25 * c * c) < 0.03 * internal);
            }
        }
        // The gap of 78 px closes at 1.4 px a tick; the contact lasts half a period of the
        // spring with the reduced mass 1.2: pi sqrt(1.2 / 0.5) = 4.87 time units, 49 ticks.
        QVERIFY(std::abs(firstContact - 56) <= 1);
        QVERIFY(std::abs((lastContact - firstContact + 1) - 49) <= 1);
        const Row& last = rows.back();
        const double outA = ((kMassA - kMassB) * kVelA + 2 * kMassB * kVelB) / (kMassA + kMassB);  // -3.2
        const double outB = ((kMassB - kMassA) * kVelB + 2 * kMassA * kVelA) / (kMassA + kMassB);  // 10.8
        QVERIFY(std::fabs(last.vA - outA) < 0.14 && std::fabs(last.vB - outB) < 0.14);
        QVERIFY(std::fabs(last.es) < 0.02 * internal);

        // Ended by itself when B passed x 720: the timer stopped, Setting and Return are back.
        const QJsonObject ended = Load(dir.filePath(QStringLiteral("collision_ended.json")));
        const int endTick = static_cast<int>(Number(ended, "TickCount"));
        QCOMPARE(endTick, last.tick);
        QVERIFY(Entry(ended, "BodyX", 1) > 720);
        QVERIFY(rows[rows.size() - 2].xB <= 720);
        QVERIFY(!TimerActive(ended));
        QVERIFY(Enabled(ended, "Form1.Button4"));
        QVERIFY(Enabled(ended, "Form1.Button11"));
        QVERIFY(!Enabled(ended, "Form1.Button7"));

        // Pictures: the blocks where the trace puts them, the spring pressed between them in the
        // contact, and the graph points of the ticks so far.
        const QImage setup(dir.filePath(QStringLiteral("collision_setup.png")));
        QCOMPARE(Pixel(setup, 255, 95), QRgb(0xFF0000));
        QCOMPARE(Pixel(setup, 465, 95), QRgb(0x0000FF));
        const QImage contact(dir.filePath(QStringLiteral("collision_contact.png")));
        const Row& r80 = rows[79];
        QCOMPARE(r80.tick, 80);
        QVERIFY(98 - (r80.xB - r80.xA) > 10);
        QCOMPARE(Pixel(contact, int(r80.xA - 15), 95), QRgb(0xFF0000));
        QCOMPARE(Pixel(contact, int(r80.xB + 15), 95), QRgb(0x0000FF));
        const QImage parted(dir.filePath(QStringLiteral("collision_parted.png")));
        const Row& r150 = rows[149];
        QCOMPARE(Pixel(parted, int(r150.xA - 15), 95), QRgb(0xFF0000));
        QCOMPARE(Pixel(parted, int(r150.xB + 15), 95), QRgb(0x0000FF));
        // The total momentum 12 is drawn at y 238 on every tick, the total energy 132 at y 497.
        for (int t : {70, 100, 140}) {
            bool momentum = false, energy = false;
            for (int dx = -2; dx <= 2; ++dx) {
                const int x = 20 + 3 * t + dx;
                momentum = momentum || Pixel(parted, x, 238) == 0 || Pixel(parted, x, 237) == 0;
                energy = energy || Pixel(parted, x, 497) == 0 || Pixel(parted, x, 496) == 0;
            }
            QVERIFY2(momentum && energy, qPrintable(QString::number(t)));
        }
        QCOMPARE(QImage(dir.filePath(QStringLiteral("collision_window.png"))).size(), QSize(788, 600));
    }
};

QTEST_MAIN(CollisionScenarioTest)
#include "collision_scenario_test.moc"
