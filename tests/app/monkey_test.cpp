// The random user: a seeded monkey run through the real windows must find no fault, and every fault
// it found once stays fixed: its replay scenario plays through with every check holding.

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "scenario_support.h"

using namespace vlab::test;

class MonkeyTest : public QObject {
    Q_OBJECT

private slots:
    void repliesOfFoundFaults_data() {
        QTest::addColumn<QString>("scenario");
        QTest::newRow("pulley panel left") << QStringLiteral("monkey_pulley_panel_left.vls");
        QTest::newRow("friction zero force") << QStringLiteral("monkey_friction_zero_force.vls");
    }
    void repliesOfFoundFaults() {
        QFETCH(QString, scenario);
        QTemporaryDir dir;
        const Outcome out = Play(dir.path(), {QStringLiteral("--keep-going"), ScenarioPath(scenario)});
        QVERIFY2(!out.errors.contains(QStringLiteral("invariant broken")), qPrintable(out.errors));
        QVERIFY2(out.status == 0 || out.status == 2, qPrintable(out.errors));
    }

    void seededRun() {
        QProcess monkey;
        monkey.setWorkingDirectory(QStringLiteral(VLAB_SOURCE_DIR));
        monkey.setProcessChannelMode(QProcess::MergedChannels);
        monkey.start(
            QStringLiteral("python3"),
            {QStringLiteral(VLAB_SOURCE_DIR "/scripts/monkey"), QString::number(VLAB_MONKEY_EVENTS),
             QStringLiteral("20"), QStringLiteral("--script"), QStringLiteral(VLAB_SCRIPT),
             QStringLiteral("--out"), QDir::tempPath(), QStringLiteral("--shrink"), QStringLiteral("0")});
        QVERIFY(monkey.waitForFinished(900000));
        const QString report = QString::fromUtf8(monkey.readAll());
        qInfo("%s", qPrintable(report.trimmed()));
        QVERIFY2(monkey.exitStatus() == QProcess::NormalExit && monkey.exitCode() == 0, qPrintable(report));
    }
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
