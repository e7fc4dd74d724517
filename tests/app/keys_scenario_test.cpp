// The lab window's keys as a user presses them through the runner: the Right arrow steps a paused
// run by exactly one tick, and the run then goes on as if it had never been paused; Space and F1
// act as clicks on Start, Pause/Continue and 操作说明, and do nothing where those clicks could not
// be made (a disabled button, an open panel or question).

#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include "scenario_support.h"

using namespace vlab::test;

namespace {

// The collision set up in the panel (3 kg at 8 against 2 kg at -6): a run with Pause that ends by
// itself a little after tick 200.
const QStringList kCollisionReady = {QStringLiteral("click Main.Image4"),
                                     QStringLiteral("click Form1.Button46"),
                                     QStringLiteral("click Form1.Button4"),
                                     QStringLiteral("combo table3.ComboBox1 方块A质量"),
                                     QStringLiteral("slider table3.TrackBar1 300"),
                                     QStringLiteral("combo table3.ComboBox1 方块A速度"),
                                     QStringLiteral("slider table3.TrackBar1 800"),
                                     QStringLiteral("combo table3.ComboBox1 方块B质量"),
                                     QStringLiteral("slider table3.TrackBar1 200"),
                                     QStringLiteral("combo table3.ComboBox1 方块B速度"),
                                     QStringLiteral("slider table3.TrackBar1 -600"),
                                     QStringLiteral("click table3.Button1"),
                                     QStringLiteral("click check.BitBtn1")};

QStringList Then(QStringList lines, const QStringList& more) { return lines << more; }

}  // namespace

class KeysScenarioTest : public QObject {
    Q_OBJECT

private slots:
    // Paused at tick 60 (during the contact), the Right arrow gives tick 61 with tick 61's picture,
    // and after Continue the run is the one that was never paused. The arrow does nothing while
    // the run goes, before Start, or for an experiment without Pause.
    void rightArrowStepsAPausedRunByOneTick() {
        QTemporaryDir dir;
        const Outcome paused =
            PlayLines(dir.path(), Then(kCollisionReady, {
                                                            QStringLiteral("key Form1 Right"),
                                                            QStringLiteral("dump ready.json"),
                                                            QStringLiteral("click Form1.Button2"),
                                                            QStringLiteral("tick 60"),
                                                            QStringLiteral("key Form1 Right"),
                                                            QStringLiteral("dump running.json"),
                                                            QStringLiteral("click Form1.Button7"),
                                                            QStringLiteral("trace step.csv BodyX[0]"),
                                                            QStringLiteral("key Form1 Right"),
                                                            QStringLiteral("trace off"),
                                                            QStringLiteral("dump step.json"),
                                                            QStringLiteral("snapshot step.png"),
                                                            QStringLiteral("click Form1.Button7"),
                                                            QStringLiteral("tick 40"),
                                                            QStringLiteral("dump later.json"),
                                                            QStringLiteral("snapshot later.png"),
                                                        }));
        QVERIFY2(paused.status == 0, qPrintable(paused.errors));
        const Outcome straight =
            PlayLines(dir.path(), Then(kCollisionReady, {
                                                            QStringLiteral("click Form1.Button2"),
                                                            QStringLiteral("tick 61"),
                                                            QStringLiteral("dump straight61.json"),
                                                            QStringLiteral("snapshot straight61.png"),
                                                            QStringLiteral("tick 40"),
                                                            QStringLiteral("dump straight101.json"),
                                                            QStringLiteral("snapshot straight101.png"),
                                                        }));
        QVERIFY2(straight.status == 0, qPrintable(straight.errors));

        QCOMPARE(Number(Load(dir.path(), QStringLiteral("ready.json")), "TickCount"), 0.0);
        QCOMPARE(Number(Load(dir.path(), QStringLiteral("running.json")), "TickCount"), 60.0);

        const QJsonObject step = Load(dir.path(), QStringLiteral("step.json"));
        const QJsonObject at61 = Load(dir.path(), QStringLiteral("straight61.json"));
        QCOMPARE(Number(step, "TickCount"), 61.0);
        // Still paused after the step: the timer off, Continue on show.
        QVERIFY(!TimerActive(step));
        QCOMPARE(Text(step, "Form1.Button7"), QStringLiteral("Continue"));
        QVERIFY(Enabled(step, "Form1.Button7"));
        // Every lab variable is tick 61's, and so is every pixel.
        const QStringList runControl{QStringLiteral("controls"), QStringLiteral("Timer1")};
        QCOMPARE(Without(step, runControl), Without(at61, runControl));
        QVERIFY(SamePixels(dir.filePath(QStringLiteral("step.png")),
                           dir.filePath(QStringLiteral("straight61.png"))));
        // The step is a tick of the trace.
        const QStringList rows = CsvRows(dir.filePath(QStringLiteral("step.csv")));
        QCOMPARE(rows.size(), 2);
        QVERIFY(rows[1].startsWith(QStringLiteral("61,")));

        // Continued: the same run, controls and all, as the one never paused.
        QCOMPARE(Load(dir.path(), QStringLiteral("later.json")),
                 Load(dir.path(), QStringLiteral("straight101.json")));
        QVERIFY(SamePixels(dir.filePath(QStringLiteral("later.png")),
                           dir.filePath(QStringLiteral("straight101.png"))));

        // Friction has no Pause: the arrow never steps it.
        const Outcome friction = PlayLines(
            dir.path(),
            {QStringLiteral("click Main.Image4"), QStringLiteral("click Form1.Button3"),
             QStringLiteral("click Form1.Button4"), QStringLiteral("combo table3.ComboBox1 作用力"),
             QStringLiteral("slider table3.TrackBar1 4550"), QStringLiteral("click table3.Button1"),
             QStringLiteral("click check.BitBtn1"), QStringLiteral("click Form1.Button2"),
             QStringLiteral("tick 5"), QStringLiteral("key Form1 Right"), QStringLiteral("key Form1 Space"),
             QStringLiteral("key Form1 Right"), QStringLiteral("dump friction.json")});
        QVERIFY2(friction.status == 0, qPrintable(friction.errors));
        const QJsonObject f = Load(dir.path(), QStringLiteral("friction.json"));
        QCOMPARE(Number(f, "TickCount"), 5.0);
        QVERIFY(TimerActive(f));  // Space found neither Start nor Pause usable
    }

    // Stepped through its last tick, a run ends exactly as it ends while running: Pause disabled and
    // captioned Pause again, so the next Start does not offer Continue.
    void steppingThroughTheEndEndsTheRunAsRunningDoes() {
        QTemporaryDir dir;
        const Outcome straight = PlayLines(
            dir.path(),
            Then(kCollisionReady, {QStringLiteral("click Form1.Button2"), QStringLiteral("tick 1000"),
                                   QStringLiteral("dump ended.json")}));
        QVERIFY2(straight.status == 0, qPrintable(straight.errors));
        const QJsonObject ended = Load(dir.path(), QStringLiteral("ended.json"));
        const int last = static_cast<int>(Number(ended, "TickCount"));
        QVERIFY(last > 100 && last < 1000);
        QVERIFY(!TimerActive(ended));

        const Outcome stepped = PlayLines(
            dir.path(),
            Then(kCollisionReady,
                 {QStringLiteral("click Form1.Button2"), QStringLiteral("tick %1").arg(last - 2),
                  QStringLiteral("click Form1.Button7"), QStringLiteral("key Form1 Right"),
                  QStringLiteral("key Form1 Right"), QStringLiteral("key Form1 Right"),
                  QStringLiteral("dump stepped.json"), QStringLiteral("click Form1.Button4")}) +
                kCollisionReady.mid(3) +
                QStringList{QStringLiteral("click Form1.Button2"), QStringLiteral("dump again.json")});
        QVERIFY2(stepped.status == 0, qPrintable(stepped.errors));
        QCOMPARE(Load(dir.path(), QStringLiteral("stepped.json")), ended);
        const QJsonObject again = Load(dir.path(), QStringLiteral("again.json"));
        QVERIFY(TimerActive(again));
        QCOMPARE(Text(again, "Form1.Button7"), QStringLiteral("Pause"));
    }

    // Space is Start, then Pause, then Continue; F1 is 操作说明; each gives the dump its click gives.
    void spaceAndF1ActAsTheirClicks() {
        QTemporaryDir dir;
        const QStringList keys = Then(kCollisionReady, {
                                                           QStringLiteral("key Form1 Space"),
                                                           QStringLiteral("dump k1.json"),
                                                           QStringLiteral("tick 3"),
                                                           QStringLiteral("key Form1 Space"),
                                                           QStringLiteral("dump k2.json"),
                                                           QStringLiteral("key Form1 Space"),
                                                           QStringLiteral("tick 2"),
                                                           QStringLiteral("key Form1 F1"),
                                                           QStringLiteral("dump k3.json"),
                                                       });
        const QStringList clicks = Then(kCollisionReady, {
                                                             QStringLiteral("click Form1.Button2"),
                                                             QStringLiteral("dump c1.json"),
                                                             QStringLiteral("tick 3"),
                                                             QStringLiteral("click Form1.Button7"),
                                                             QStringLiteral("dump c2.json"),
                                                             QStringLiteral("click Form1.Button7"),
                                                             QStringLiteral("tick 2"),
                                                             QStringLiteral("click Form1.BitBtn2"),
                                                             QStringLiteral("dump c3.json"),
                                                         });
        QVERIFY(PlayLines(dir.path(), keys).status == 0);
        QVERIFY(PlayLines(dir.path(), clicks).status == 0);
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(Load(dir.path(), QStringLiteral("k%1.json").arg(i)),
                     Load(dir.path(), QStringLiteral("c%1.json").arg(i)));
        const QJsonObject k2 = Load(dir.path(), QStringLiteral("k2.json"));
        QCOMPARE(Text(k2, "Form1.Button7"), QStringLiteral("Continue"));
        QCOMPARE(Number(k2, "TickCount"), 3.0);
        const QJsonObject k3 = Load(dir.path(), QStringLiteral("k3.json"));
        QVERIFY(k3.value(QStringLiteral("help")).toObject().value(QStringLiteral("visible")).toBool());
        QCOMPARE(k3.value(QStringLiteral("help")).toObject().value(QStringLiteral("page")).toString(),
                 QStringLiteral("help/M4.htm"));
    }

    // While the panel or a question is open the keys reach nothing: the run is the one without them.
    // Space also does nothing where neither Start nor Pause can be pressed (start-up, Chosen).
    void keysDoNothingBehindAModalWindowOrWithoutTheirButton() {
        QTemporaryDir dir;
        const QStringList keys = {QStringLiteral("key Form1 Space"), QStringLiteral("key Form1 F1"),
                                  QStringLiteral("key Form1 Right")};
        // F1 is usable at start-up and once chosen, and would open a help page there.
        const QStringList spaceAndRight = keys.mid(0, 1) + keys.mid(2);
        QStringList withKeys{QStringLiteral("click Main.Image4")};
        withKeys << spaceAndRight << QStringLiteral("dump startup.json")
                 << QStringLiteral("click Form1.Button46") << spaceAndRight
                 << QStringLiteral("dump chosen.json") << QStringLiteral("click Form1.Button4") << keys
                 << kCollisionReady.mid(3, 8) << keys << QStringLiteral("click table3.Button1") << keys
                 << QStringLiteral("click check.BitBtn1") << QStringLiteral("dump ready.json")
                 << QStringLiteral("click Form1.Button2") << QStringLiteral("tick 20")
                 << QStringLiteral("click Form1.Button26") << QStringLiteral("click Form1.BitBtn1") << keys
                 << QStringLiteral("click check.BitBtn2") << QStringLiteral("dump stopped.json");
        const Outcome run = PlayLines(dir.path(), withKeys);
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        QStringList without = withKeys;
        without.removeAll(keys[0]);
        without.removeAll(keys[1]);
        without.removeAll(keys[2]);
        for (QString& line : without) line.replace(QStringLiteral(".json"), QStringLiteral("_plain.json"));
        const Outcome plain = PlayLines(dir.path(), without);
        QVERIFY2(plain.status == 0, qPrintable(plain.errors));

        for (const char* name : {"startup", "chosen", "ready", "stopped"})
            QCOMPARE(Load(dir.path(), QLatin1String(name) + QStringLiteral(".json")),
                     Load(dir.path(), QLatin1String(name) + QStringLiteral("_plain.json")));
        QVERIFY(Enabled(Load(dir.path(), QStringLiteral("ready.json")), "Form1.Button2"));
    }

    // The key form is checked before the run like every other line.
    void malformedKeyLines() {
        QTemporaryDir dir;
        for (const char* line :
             {"key Form1 NoSuchKey", "key table3 Space", "key Form1", "key Form1 Space,F1"}) {
            const Outcome out = PlayText(dir.path(), QLatin1String(line) + u'\n');
            QVERIFY2(out.status == 2 && out.errors.startsWith(QStringLiteral("line 1:")), line);
        }
        // Before the lab window is on screen there is nothing to press keys on.
        const Outcome early = PlayText(dir.path(), QStringLiteral("key Form1 Space\n"));
        QCOMPARE(early.status, 2);
        QVERIFY2(early.errors.contains(QStringLiteral("not shown")), qPrintable(early.errors));
    }
};

QTEST_MAIN(KeysScenarioTest)
#include "keys_scenario_test.moc"
