// The electric field played through the built vlab-script: four charges set in the panel, a test
// point, a negative test charge and its flight, read back from the dumps, the trace and the
// pictures and checked against Coulomb's law.

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointF>
#include <QTemporaryDir>
#include <QtTest>

#include <array>
#include <cmath>

#include "pictures.h"
#include "scenario_support.h"

using namespace vlab::test;

namespace {

// The four-charge layout; the charges are the scenario's.
constexpr std::array<QPointF, 4> kAt{QPointF(230, 130), QPointF(230, 370), QPointF(470, 370),
                                     QPointF(470, 130)};
constexpr std::array<double, 4> kQ{3, -2, 4, -1};

// Coulomb's law: the field vector at (x, y) in screen axes (y down).
QPointF Field(double x, double y) {
    QPointF e;
    for (int i = 0; i < 4; ++i) {
        const QPointF d = QPointF(x, y) - kAt[i];
        const double r2 = QPointF::dotProduct(d, d);
        e += d * (kQ[i] * 500000 / (r2 * std::sqrt(r2)));
    }
    return e;
}

}  // namespace

class ElectricFieldScenarioTest : public QObject {
    Q_OBJECT

private slots:
    void fourChargesAndANegativeTestCharge() {
        QTemporaryDir dir;
        const Outcome run = PlayFile(dir.path(), QStringLiteral("electric_field.vls"));
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        const auto file = [&](const char* name) { return dir.filePath(QLatin1String(name)); };

        // Confirmed panel: the charges and their colours, the mouse on, Start waiting for a sign.
        const QJsonObject setup = Load(file("field_setup.json"));
        QCOMPARE(setup["ChargeQ"].toArray(), (QJsonArray{3, -2, 4, -1}));
        QCOMPARE(setup["ChargeColour"].toArray(), (QJsonArray{0, 2, 0, 2}));
        QCOMPARE(setup["MouseClickActive"].toInt(), 1);
        QVERIFY(!Enabled(setup, "Form1.Button2"));
        QCOMPARE(setup["Timer1"].toObject()["interval"].toInt(), 40);
        const QImage setupPicture(file("field_setup.png"));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(Pixel(setupPicture, int(kAt[i].x()), int(kAt[i].y())),
                     kQ[i] > 0 ? 0xFF0000u : 0x0000FFu);
        // Next to the +4 charge the field is beyond 25500: black grid arrows.
        QVERIFY(ColourNear(setupPicture, 0x000000, 466, 376, 3));

        // The test point: each charge's field is |Q| 500000 / r^2, the resultant their vector sum,
        // drawn in red along the field from the test point.
        const QJsonObject point = Load(file("field_test_point.json"));
        QCOMPARE(point["TestPlaced"].toBool(), true);
        for (int i = 0; i < 4; ++i) {
            const QPointF d = QPointF(300, 280) - kAt[i];
            const double expected = std::abs(kQ[i]) * 500000 / QPointF::dotProduct(d, d);
            QVERIFY(std::fabs(point["FieldMag"].toArray()[i].toDouble() - expected) < 1e-9 * expected);
        }
        const QPointF e = Field(300, 280);
        const double strength = std::hypot(e.x(), e.y());
        QVERIFY(std::fabs(point["SumMag"].toDouble() - strength) < 1e-9 * strength);
        const QImage pointPicture(file("field_test_point.png"));
        QVERIFY(ColourNear(pointPicture, 0xFF0000, 300 + 0.7 * e.x(), 280 + 0.7 * e.y(), 2));

        // The sign press moves the negative charge one step against the field, from rest.
        const QJsonObject sign = Load(file("field_sign.json"));
        QCOMPARE(sign["TestSign"].toInt(), -1);
        QVERIFY(Enabled(sign, "Form1.Button2"));
        QVERIFY(std::fabs(sign["TestX"].toDouble() - (300 - 0.5 * e.x() * 1e-4)) < 1e-9);
        QVERIFY(std::fabs(sign["TestY"].toDouble() - (280 - 0.5 * e.y() * 1e-4)) < 1e-9);

        // The flight obeys Newton's law: with this step, x(n+1) - 2 x(n) + x(n-1) equals
        // dt^2 (a(n) + a(n-1)) / 2, the acceleration being minus the field at the charge.
        QFile trace(file("field_trace.csv"));
        QVERIFY(trace.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList rows = QString::fromUtf8(trace.readAll()).split(u'\n', Qt::SkipEmptyParts);
        QVector<QPointF> path;
        for (qsizetype r = 1; r < rows.size(); ++r) {
            const QStringList cells = rows[r].split(u',');
            QCOMPARE(cells[0].toInt(), int(r));
            path << QPointF(cells[1].toDouble(), cells[2].toDouble());
        }
        for (qsizetype n = 1; n + 1 < path.size(); ++n) {
            const QPointF second = path[n + 1] - 2 * path[n] + path[n - 1];
            const QPointF a =
                -(Field(path[n].x(), path[n].y()) + Field(path[n - 1].x(), path[n - 1].y())) / 2;
            QVERIFY2(std::hypot(second.x() - a.x() * 1e-4, second.y() - a.y() * 1e-4) <
                         1e-6 * (1 + std::hypot(a.x(), a.y()) * 1e-4),
                     qPrintable(QString::number(n)));
        }

        // At tick 500 the charge still flies, its trail drawn pale blue along the way.
        const QJsonObject t500 = Load(file("field_tick500.json"));
        QCOMPARE(t500["TickCount"].toInt(), 500);
        QVERIFY(TimerActive(t500));
        QCOMPARE(t500["MouseClickActive"].toInt(), 0);
        const QImage flight(file("field_tick500.png"));
        for (int tick : {100, 200, 300, 400})
            QVERIFY(ColourNear(flight, 0xC0C0FF, path[tick - 1].x(), path[tick - 1].y(), 1));
        QVERIFY(ColourNear(flight, 0x0000FF, path[499].x(), path[499].y(), 0));

        // The run ends at the first tick (from tick 6 on) that finds the charge outside the box.
        const auto outside = [](QPointF p) {
            return p.x() > 750 || p.x() < -50 || p.y() > 530 || p.y() < -50;
        };
        const QJsonObject end = Load(file("field_end.json"));
        QCOMPARE(end["TickCount"].toInt(), int(path.size()));
        QVERIFY(outside(path.back()));
        for (qsizetype n = 5; n + 1 < path.size(); ++n) QVERIFY(!outside(path[n]));
        QVERIFY(!TimerActive(end));
        QVERIFY(Enabled(end, "Form1.Button4") && Enabled(end, "Form1.Button11"));
    }
};

QTEST_MAIN(ElectricFieldScenarioTest)
#include "electric_field_scenario_test.moc"
