// The interference scenario played through the built vlab-script: the run control and the speed
// bar as the user meets them, the wave counters of the trace, the clicks while the timer runs, and
// the fringe column of each snapshot against the path difference worked out from the geometry.

#include <QImage>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

#include "pictures.h"
#include "registry/registry.h"
#include "scenario_support.h"

using namespace vlab::test;

namespace {

// Path difference from the slits at (200, 110 -+ gap) to the screen point (500, y).
double PathDifference(double y, double gap) {
    return std::hypot(300.0, y - 110 + gap) - std::hypot(300.0, y - 110 - gap);
}

// Brightness 0..2 of a fringe row in a snapshot (red light: red 130..255, violet: blue 125..255).
double Brightness(const QImage& image, int row, bool violet) {
    const QRgb c = image.pixel(560, row);
    return violet ? (qBlue(c) - 125) / 65.0 : (qRed(c) - 130) / 62.5;
}

// Every screen row whose path difference lies within a tenth of a half wave of a whole number of
// wavelengths is bright in the column, and every one near an odd number of half waves is dark. A
// bar is drawn over by the next ones, so the column shows each row up to 2 px higher: the rows
// around it are searched.
void CheckFringes(const QImage& image, double gap, bool violet, const QString& what) {
    const double lambda = violet ? 12 : 15;
    int bright = 0, dark = 0;
    for (int y = 14; y <= 206; ++y) {
        const double h = std::fabs(PathDifference(y, gap)) / lambda * 2;
        const double off = std::fabs(h - std::round(h));
        if (off > 0.1) continue;
        const bool isBright = std::lround(h) % 2 == 0;
        double best = isBright ? -1.0 : 3.0;
        for (int r = y - 3; r <= y + 1; ++r) {
            const double v = Brightness(image, r, violet);
            best = isBright ? std::max(best, v) : std::min(best, v);
        }
        // Within a tenth of a half wave the brightness 1 + cos(h pi) stays within 0.05 of its end.
        QVERIFY2(isBright ? best > 1.9 : best < 0.1, qPrintable(what + QStringLiteral(" row %1").arg(y)));
        ++(isBright ? bright : dark);
    }
    QVERIFY2(bright > 0 && dark > 0, qPrintable(what));
}

}  // namespace

class InterferenceScenarioTest : public QObject {
    Q_OBJECT

private slots:
    void playedAsAUserWould() {
        QTemporaryDir dir;
        QCOMPARE(PlayFile(dir.path(), QStringLiteral("interference.vls")).status, 0);
        const QString folder = dir.path();

        // Setting: the first frame, the mouse on, Start ready; the bar asked for 100..700 at 400
        // ends at 1..100 and 100 ms.
        const QJsonObject setup = Load(folder, QStringLiteral("interference_setup.json"));
        QCOMPARE(Number(setup, "ExperimentCode"), double(vlab::CodeOf("Interference")));
        QCOMPARE(Number(setup, "TickCount"), 0.0);
        QCOMPARE(Number(setup, "MouseClickActive"), 1.0);
        QVERIFY(!TimerActive(setup));
        QVERIFY(Enabled(setup, "Form1.Button2"));
        const QJsonObject bar = Control(setup, "Form1.TrackBar1");
        QCOMPARE(bar.value(QStringLiteral("min")).toInt(), 1);
        QCOMPARE(bar.value(QStringLiteral("max")).toInt(), 100);
        QCOMPARE(bar.value(QStringLiteral("position")).toInt(), 100);
        QCOMPARE(setup.value(QStringLiteral("Timer1")).toObject().value(QStringLiteral("interval")).toInt(),
                 100);
        const QImage first(dir.filePath(QStringLiteral("interference_setup.png")));
        QCOMPARE(first.size(), QSize(700, 548));
        QCOMPARE(Pixel(first, 560, 110), QRgb(0xD8E4F8));  // no fringes yet

        // The trace: source rings from tick 18, slit rings once the source has run 22 steps, the
        // phase at the probe from 60 slit steps on; each tick steps each running counter once.
        const QStringList rows = CsvRows(dir.filePath(QStringLiteral("interference_trace.csv")));
        QCOMPARE(rows.size(), 99);
        QCOMPARE(rows[0], QStringLiteral("TickCount,SourceWaveTicks,SlitWaveTicks,PhaseHalfWaves"));
        for (int t = 1; t <= 98; ++t) {
            const QStringList cells = rows[t].split(u',');
            const int source = cells[1].toInt(), slits = cells[2].toInt();
            QCOMPARE(source, std::max(0, t - 17));
            QCOMPARE(slits, source >= 22 ? source - 21 : 0);
            QCOMPARE(cells[3].toDouble(), slits >= 60 ? 0.0 : 1.0);
        }

        // Clicks while the timer runs: the mouse stays on, presses redraw without a tick.
        const QJsonObject violet = Load(folder, QStringLiteral("interference_violet_medium.json"));
        QVERIFY(TimerActive(violet));
        QCOMPARE(Number(violet, "MouseMoveActive"), 1.0);
        QCOMPARE(Number(violet, "LightChoice"), 1.0);
        QCOMPARE(Number(violet, "TickCount"), 118.0);
        QCOMPARE(Number(violet, "SlitWaveTicks"), 81.0);  // 60 + 1 press + 20 ticks
        const QJsonObject medium = Load(folder, QStringLiteral("interference_back_to_medium.json"));
        QCOMPARE(Number(medium, "SlitHalfGap"), 40.0);
        QCOMPARE(Number(medium, "LightChoice"), 0.0);
        QCOMPARE(Number(medium, "TickCount"), 118.0);

        // The probe on a dark band of red light, and held at the walls.
        const QJsonObject darkProbe = Load(folder, QStringLiteral("interference_dark_probe.json"));
        QCOMPARE(Number(darkProbe, "ProbeY"), 82.0);
        QVERIFY(std::fabs(Number(darkProbe, "PathDiff") - PathDifference(82, 40)) < 1e-3);
        QVERIFY(std::fabs(Number(darkProbe, "PhaseHalfWaves") - 1) < 0.02);
        QCOMPARE(Number(Load(folder, QStringLiteral("interference_probe_top.json")), "ProbeY"), 11.0);
        const QJsonObject bottom = Load(folder, QStringLiteral("interference_probe_bottom.json"));
        QCOMPARE(Number(bottom, "ProbeY"), 209.0);
        const QJsonObject beside = Load(folder, QStringLiteral("interference_beside.json"));
        for (const char* name : {"ProbeY", "LightChoice", "SlitHalfGap", "TickCount"})
            QCOMPARE(Number(beside, name), Number(bottom, name));
        QCOMPARE(Number(beside, "SourceWaveTicks"), Number(bottom, "SourceWaveTicks") + 3);

        // Pause holds the ticks; the run goes on after Continue.
        const QJsonObject paused = Load(folder, QStringLiteral("interference_paused.json"));
        QVERIFY(!TimerActive(paused));
        QCOMPARE(Number(paused, "TickCount"), 118.0);
        QCOMPARE(Text(paused, "Form1.Button7"), QStringLiteral("Continue"));
        const QJsonObject longRun = Load(folder, QStringLiteral("interference_long_run.json"));
        QCOMPARE(Number(longRun, "TickCount"), 318.0);
        QCOMPARE(Number(longRun, "InterferenceTicks"), 318.0);

        // The fringe column of each snapshot, and the colour of the rings in the tank.
        struct Picture {
            const char* name;
            double gap;
            bool violet;
        };
        for (const Picture p : {Picture{"red_medium", 40, false}, Picture{"violet_medium", 40, true},
                                Picture{"violet_large", 50, true}, Picture{"violet_small", 30, true},
                                Picture{"red_small", 30, false}, Picture{"dark_probe", 40, false}}) {
            const QString name = QStringLiteral("interference_%1.png").arg(QLatin1String(p.name));
            const QImage image(dir.filePath(name));
            QCOMPARE(image.size(), QSize(700, 548));
            CheckFringes(image, p.gap, p.violet, name);
            const int rings = CountColour(image, p.violet ? 0x800080u : 0xFF0000u, Box(202, 12, 498, 208));
            QVERIFY2(rings > 1000, qPrintable(name));
        }

        // At the dark probe the two waves cancel: the yellow sum lies flat on y = 340.
        const QImage dark(dir.filePath(QStringLiteral("interference_dark_probe.png")));
        for (int y = 290; y < 378; ++y)
            for (int x = 12; x < 686; x += 3)
                if (Pixel(dark, x, y) == 0xFFFF00) QVERIFY(std::abs(y - 340) <= 2);
        QCOMPARE(QImage(dir.filePath(QStringLiteral("interference_window.png"))).size(), QSize(788, 600));
    }
};

QTEST_MAIN(InterferenceScenarioTest)
#include "interference_scenario_test.moc"
