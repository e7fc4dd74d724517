// The worked examples of the teaching pages: every number marked with the dump it comes from
// (data-dump="FILE.json NAME" or "FILE.json NAME[i]") is the value the scenario that made the
// page's pictures leaves in that dump, to the digits the page shows.

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

#include "scenario_support.h"

using namespace vlab::test;

class HelpExamplesTest : public QObject {
    Q_OBJECT
private slots:
    void examplesMatchTheirDumps() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QDir scenarios(QStringLiteral(VLAB_SOURCE_DIR "/docs/help-pictures"));
        for (const QString& name : scenarios.entryList({QStringLiteral("*.vls")})) {
            if (name == QLatin1String("lab.vls")) continue;  // windows only, no example
            const Outcome out = Play(folder.path(), {scenarios.filePath(name)});
            QVERIFY2(out.status == 0, qPrintable(name + u' ' + out.errors));
        }
        static const QRegularExpression marked(
            QStringLiteral("data-dump=\"([^\" ]+) ([A-Za-z0-9]+)(?:\\[(\\d+)\\])?\"[^>]*>([^<]+)<"));
        int checked = 0;
        for (int page = 1; page <= 8; ++page) {
            QFile file(QStringLiteral(VLAB_SOURCE_DIR "/help/t%1.htm").arg(page));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(file.readAll());
            int onPage = 0;
            auto m = marked.globalMatch(html);
            while (m.hasNext()) {
                const auto hit = m.next();
                const QJsonObject dump = Load(folder.path(), hit.captured(1));
                const QString var = hit.captured(2);
                QVERIFY2(dump.contains(var), qPrintable(hit.captured(0)));
                QJsonValue value = dump.value(var);
                if (!hit.captured(3).isEmpty()) value = value.toArray().at(hit.captured(3).toInt());
                QString shown = hit.captured(4).trimmed();
                shown.replace(QChar(0x2212), u'-');
                bool ok = false;
                const double number = shown.toDouble(&ok);
                QVERIFY2(ok && value.isDouble(), qPrintable(hit.captured(0)));
                // Half a unit of the last digit shown.
                const int dot = shown.indexOf(u'.');
                const int decimals = dot < 0 ? 0 : int(shown.size() - dot - 1);
                const double tolerance = 0.5 * std::pow(10.0, -decimals) + 1e-9;
                QVERIFY2(std::fabs(value.toDouble() - number) <= tolerance,
                         qPrintable(QStringLiteral("t%1: %2 shows %3, the dump holds %4")
                                        .arg(page)
                                        .arg(var, shown)
                                        .arg(value.toDouble(), 0, 'g', 12)));
                ++onPage;
                ++checked;
            }
            QVERIFY2(onPage >= 2, qPrintable(QStringLiteral("t%1 has no checked example").arg(page)));
        }
        QVERIFY(checked >= 20);
    }
};

QTEST_MAIN(HelpExamplesTest)
#include "help_examples_test.moc"
