// The lab window at 1.5x, 1.8x (a 1920 x 1080 screen's fit) and 2x, played through the runner:
// presses, moves and drags on the surface name surface pixels, and every experiment that takes
// the mouse ends in the same lab state and the same surface pixels as at the normal size. Each
// scenario also touches a strict bound (a pixel just outside a button), where a position mapped
// back by rounding instead of flooring would land inside. Three runs at full screen show their
// surface pixels exactly.

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include "scenario_support.h"

using namespace vlab::test;

namespace {

struct Scenario {
    const char* name;
    QStringList lines;
    // A variable the surface actions must have changed from its value after Setting.
    const char* moved;
};

QStringList Lines(const char* text) { return QString::fromUtf8(text).split(u'\n', Qt::SkipEmptyParts); }

const Scenario kScenarios[] = {
    {"spring",
     Lines("click Main.Image4\nclick Form1.Button1\nclick Form1.Button4\ndump set.json\n"
           // the block grabbed and dragged 57 pixels, then the k box and, just outside it, x 10
           "press 334 100\nmove 334 100\nmove 360 101\nmove 391 99\nrelease 391 99\n"
           "press 10 165\nrelease 10 165\npress 11 165\nrelease 11 165\npress 259 179\nrelease 259 179\n"
           "click Form1.Button2\ntick 25\nend.json"),
     "SpringDisplacement"},
    {"electric_field",
     Lines("click Main.Image4\nclick Form1.Button45\nclick Form1.Button4\ncombo table3.ComboBox2 两个点电荷\n"
           "combo table3.ComboBox1 点电荷1\nslider table3.TrackBar1 300\nclick table3.Button1\nclick "
           "check.BitBtn1\n"
           "dump set.json\n"
           // the test point, then the negative sign button's edge (608 < x) and the button itself
           "press 301 279\nrelease 301 279\nmove 615 80\npress 608 80\nrelease 608 80\npress 609 86\n"
           "release 609 86\nclick Form1.Button2\ntick 40\nend.json"),
     "TestX"},
    {"interference",
     Lines("click Main.Image4\nclick Form1.Button27\nclick Form1.Button4\ndump set.json\n"
           // the light button, the probe line (496 < x < 505: 496 is outside) and the slit spacing
           "press 50 265\nrelease 50 265\npress 496 150\nrelease 496 150\npress 497 150\nmove 497 120\n"
           "release 497 120\npress 329 279\nrelease 329 279\nclick Form1.Button2\ntick 30\nend.json"),
     "ProbeY"},
    {"induction",
     Lines("click Main.Image4\nclick Form1.Button6\nclick Form1.Button4\ndump set.json\n"
           // the field direction, the incline (45 < y < 75: 45 is outside) and back
           "press 40 100\nrelease 40 100\npress 40 45\nrelease 40 45\npress 79 46\nrelease 79 46\n"
           "click Form1.Button2\ntick 30\nend.json"),
     "InductionMode"},
    {"pulley",
     Lines("click Main.Image4\nclick Form1.Button5\nclick Form1.Button4\ndump set.json\n"
           // 280 < x < 360 is arrangement 2: x 280 is outside, 281 inside
           "move 300 80\npress 280 80\nrelease 280 80\npress 281 159\ncombo table3.ComboBox1 方块A质量\n"
           "slider table3.TrackBar1 300\nclick table3.Button1\nclick check.BitBtn1\nrelease 281 159\n"
           "click Form1.Button2\ntick 30\nend.json"),
     "PulleyArrangement"},
};

// The scenario with its last line "end.json" turned into a dump and a snapshot.
QStringList Playable(const Scenario& s) {
    QStringList lines = s.lines;
    lines.removeLast();
    return lines << QStringLiteral("dump end.json") << QStringLiteral("snapshot end.png");
}

}  // namespace

class ScaledScenarioTest : public QObject {
    Q_OBJECT

private slots:
    void sameLabStateAtEveryScale_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(std::size(kScenarios)); ++i) QTest::newRow(kScenarios[i].name) << i;
    }

    void sameLabStateAtEveryScale() {
        QFETCH(int, index);
        const Scenario& scenario = kScenarios[index];
        QTemporaryDir normal;
        const Outcome base = PlayLines(normal.path(), Playable(scenario));
        QVERIFY2(base.status == 0, qPrintable(base.errors));
        const QJsonObject end = Load(normal.path(), QStringLiteral("end.json"));
        // The actions did something at the normal size, or the comparison proves nothing.
        QVERIFY(end.value(QLatin1String(scenario.moved)) !=
                Load(normal.path(), QStringLiteral("set.json")).value(QLatin1String(scenario.moved)));

        for (const char* scale : {"1.5", "1.8", "2"}) {
            QTemporaryDir dir;
            const Outcome run = PlayLinesAt(dir.path(), Playable(scenario), QLatin1String(scale));
            QVERIFY2(run.status == 0, qPrintable(run.errors));
            const QJsonObject scaled = Load(dir.path(), QStringLiteral("end.json"));
            // The folder the help pages are read from is the run's own; the windows are larger.
            const QStringList apart{QStringLiteral("windows"), QStringLiteral("ProgramFolder"),
                                    QStringLiteral("HelpPagePath")};
            QVERIFY2(Without(scaled, apart) == Without(end, apart), scale);
            QVERIFY2(SamePixels(dir.filePath(QStringLiteral("end.png")),
                                normal.filePath(QStringLiteral("end.png"))),
                     scale);
            const QJsonObject form1 =
                scaled.value(QStringLiteral("windows")).toObject().value(QStringLiteral("Form1")).toObject();
            QCOMPARE(form1.value(QStringLiteral("width")).toInt(),
                     qRound(788 * QByteArray(scale).toDouble()));
        }
    }

    // F11 covers the screen with the lab scaled to fit and centred; F11 again gives the window back.
    void fullScreenAndBack() {
        QTemporaryDir dir;
        const Outcome run =
            PlayLines(dir.path(), {QStringLiteral("click Main.Image4"), QStringLiteral("key Form1 F11"),
                                   QStringLiteral("dump full.json"), QStringLiteral("grab Form1 full.png"),
                                   QStringLiteral("key Form1 F11"), QStringLiteral("dump back.json")});
        QVERIFY2(run.status == 0, qPrintable(run.errors));
        const QJsonObject full = Load(dir.path(), QStringLiteral("full.json"));
        const QJsonObject screen = full.value(QStringLiteral("screen")).toObject();
        const QJsonObject window =
            full.value(QStringLiteral("windows")).toObject().value(QStringLiteral("Form1")).toObject();
        QCOMPARE(window.value(QStringLiteral("width")), screen.value(QStringLiteral("width")));
        QCOMPARE(window.value(QStringLiteral("height")), screen.value(QStringLiteral("height")));
        // Around the lab, the lab's pale rose.
        const QImage picture(dir.filePath(QStringLiteral("full.png")));
        QCOMPARE(picture.pixel(0, picture.height() / 2) & 0xFFFFFF, 0xE7D1D1u);
        QCOMPARE(picture.pixel(picture.width() - 1, picture.height() / 2) & 0xFFFFFF, 0xE7D1D1u);
        const QJsonObject back = Load(dir.path(), QStringLiteral("back.json"));
        const QJsonObject normal =
            back.value(QStringLiteral("windows")).toObject().value(QStringLiteral("Form1")).toObject();
        QCOMPARE(normal.value(QStringLiteral("width")).toInt(), 788);
        QCOMPARE(normal.value(QStringLiteral("height")).toInt(), 600);
        QCOMPARE(Without(back, {QStringLiteral("windows")}), Without(full, {QStringLiteral("windows")}));
    }

    // Three experiments run at full screen on a 1920 x 1080 screen: the lab window's picture shows
    // each surface pixel as a square of 1.8 screen pixels, and the screen pixel nearest the middle
    // of each square (wholly inside it at this scale) is that surface pixel exactly. The pictures
    // are kept in test-pictures/full_screen/ to be looked at.
    void fullScreenRunsShowTheirSurface() {
        QTemporaryDir dir;
        QFile screen(dir.filePath(QStringLiteral("screen.json")));
        QVERIFY(
            screen.open(QIODevice::WriteOnly) &&
            screen.write(R"({"screens": [{"name": "projector", "x": 0, "y": 0, "width": 1920, "height": 1080,
                                 "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})") > 0);
        screen.close();
        // The runner's screen for this test only, whatever way the test ends.
        struct Platform {
            QByteArray before = qgetenv("QT_QPA_PLATFORM");
            ~Platform() { qputenv("QT_QPA_PLATFORM", before); }
        } restored;
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screen.fileName().toUtf8());
        const QString pictures = QStringLiteral(VLAB_TEST_PICTURES "/full_screen");
        QVERIFY(QDir().mkpath(pictures));
        for (const char* name : {"collision", "interference", "wave_superposition"}) {
            QFile kept(ScenarioPath(QLatin1String(name) + QStringLiteral(".vls")));
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QStringList lines;
            for (const QString& line : QString::fromUtf8(kept.readAll()).split(u'\n', Qt::SkipEmptyParts))
                if (!line.startsWith(u'#') && !line.startsWith(QLatin1String("snapshot")) &&
                    !line.startsWith(QLatin1String("dump")) && !line.startsWith(QLatin1String("grab")) &&
                    !line.startsWith(QLatin1String("trace")))
                    lines << line;
            lines.insert(1, QStringLiteral("key Form1 F11"));
            lines << QStringLiteral("snapshot end.png") << QStringLiteral("grab Form1 full.png");
            const Outcome out = PlayLines(dir.path(), lines);
            QVERIFY2(out.status == 0, qPrintable(QLatin1String(name) + u' ' + out.errors));
            const QImage surface =
                QImage(dir.filePath(QStringLiteral("end.png"))).convertToFormat(QImage::Format_RGB32);
            const QImage full =
                QImage(dir.filePath(QStringLiteral("full.png"))).convertToFormat(QImage::Format_RGB32);
            QCOMPARE(full.size(), QSize(1920, 1080));
            const double scale = 1.8;
            const int left = (1920 - qRound(788 * scale)) / 2;
            int differ = 0;
            for (int y = 0; y < surface.height(); ++y)
                for (int x = 0; x < surface.width(); ++x)
                    differ += full.pixel(left + int((x + 0.5) * scale), int((y + 0.5) * scale)) !=
                              surface.pixel(x, y);
            QVERIFY2(differ == 0,
                     qPrintable(QStringLiteral("%1: %2 pixels differ").arg(QLatin1String(name)).arg(differ)));
            QVERIFY(full.save(pictures + u'/' + QLatin1String(name) + QStringLiteral(".png")));
        }
    }

    void badScales() {
        QTemporaryDir dir;
        for (const char* scale : {"0", "-2", "x", "100"}) {
            const Outcome out =
                PlayLinesAt(dir.path(), {QStringLiteral("click Main.Image4")}, QLatin1String(scale));
            QVERIFY2(out.status == 2 && out.errors.contains(QStringLiteral("--scale")), scale);
        }
    }
};

QTEST_MAIN(ScaledScenarioTest)
#include "scaled_scenario_test.moc"
