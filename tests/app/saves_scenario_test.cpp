// Data out of the lab: a teaching page saved as PDF is a real document of its pages, a saved picture
// is the surface as drawn, an exported run's numbers follow the physics of the experiment, and a
// save that
// fails (a folder that is not there, a path under a plain file, a file-size limit that stops the
// write half-way) says so, leaves no file behind and leaves an earlier file of that name as it was.

#include <QDir>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

#include "scenario_support.h"

using namespace vlab::test;

namespace {

// The lab entered, the interference experiment set up and its teaching page shown.
const QString kTeachingPage = QStringLiteral(
    "click Main.Image4\nclick Form1.Button27\nclick Form1.Button4\nclick Form1.SpeedButton1\n");

// A folder of the test's own with the help pages linked in, as the lab finds them.
QString HelpFolder(const QTemporaryDir& dir) {
    QFile::link(QStringLiteral(VLAB_SOURCE_DIR "/help"), dir.filePath(QStringLiteral("help")));
    return dir.path();
}

// Friction set up with a pull of 120 N at 30 degrees, the block upright, and run to its end.
const QString kFrictionRun = QStringLiteral(
    "click Main.Image4\nclick Form1.Button3\nclick Form1.Button4\n"
    "combo table3.ComboBox1 作用力\nslider table3.TrackBar1 12000\n"
    "combo table3.ComboBox1 作用角度\nslider table3.TrackBar1 3000\n"
    "click table3.Button1\nclick check.BitBtn1\nclick Form1.Button2\ntick 1500\n");

QByteArray Bytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class SavesScenarioTest : public QObject {
    Q_OBJECT
private slots:
    void teachingPagePrintsAsPdf() {
        QTemporaryDir dir;
        const Outcome out = PlayText(HelpFolder(dir), kTeachingPage + QStringLiteral("print t5.pdf\n"));
        QVERIFY2(out.status == 0, qPrintable(out.errors));
        const QByteArray pdf = Bytes(dir.filePath(QStringLiteral("t5.pdf")));
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.trimmed().endsWith("%%EOF"));
        // A lesson of several thousand characters and eleven pictures fills more than two A4 pages.
        const qsizetype pages =
            pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page>");
        QVERIFY2(pages >= 3, qPrintable(QString::number(pages)));
        QVERIFY(pdf.count("/Subtype /Image") >= 3);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);

        // With the lab shown larger, the page on paper is the page at its normal size: the same
        // pages, the same pictures, none of them enlarged.
        const Outcome larger =
            Play(dir.path(), {QStringLiteral("--scale"), QStringLiteral("1.5"), QStringLiteral("-")},
                 (kTeachingPage + QStringLiteral("print larger.pdf\n")).toUtf8());
        QVERIFY2(larger.status == 0, qPrintable(larger.errors));
        const QByteArray again = Bytes(dir.filePath(QStringLiteral("larger.pdf")));
        auto pictureWidths = [](const QByteArray& file) {
            QList<int> widths;
            static const QRegularExpression width(QStringLiteral("/Subtype /Image\\s*/Width (\\d+)"));
            for (auto m = width.globalMatch(QString::fromLatin1(file)); m.hasNext();)
                widths << m.next().captured(1).toInt();
            return widths;
        };
        QVERIFY(!pictureWidths(pdf).isEmpty());
        QCOMPARE(pictureWidths(again), pictureWidths(pdf));
        QCOMPARE(again.count("/Type /Page"), pdf.count("/Type /Page"));
    }

    void savedPictureIsTheSurface() {
        QTemporaryDir dir;
        const Outcome out =
            PlayText(HelpFolder(dir), kTeachingPage + QStringLiteral("click Form1.Button2\ntick 120\n"
                                                                     "save saved.png\nsnapshot shown.png\n"));
        QVERIFY2(out.status == 0, qPrintable(out.errors));
        const QImage saved(dir.filePath(QStringLiteral("saved.png")));
        QCOMPARE(saved.size(), QSize(700, 548));
        QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
                 QImage(dir.filePath(QStringLiteral("shown.png"))).convertToFormat(QImage::Format_RGB32));
    }

    void failedSavesLeaveNothingAndKeepTheEarlierFile() {
        QTemporaryDir dir;
        const QString folder = HelpFolder(dir);
        QFile plain(dir.filePath(QStringLiteral("plain")));
        QVERIFY(plain.open(QIODevice::WriteOnly) && plain.write("not a folder") > 0);
        plain.close();
        QFile earlier(dir.filePath(QStringLiteral("kept.pdf")));
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("an earlier file") > 0);
        earlier.close();
        const QStringList before =
            QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

        // A folder that is not there and a path under a plain file, each line played on past the
        // one before.
        const QString lines = kTeachingPage + QStringLiteral(
                                                  "print missing/t5.pdf\nprint plain/t5.pdf\n"
                                                  "save missing/s.png\nsave plain/s.png\n");
        Outcome out = Play(folder, {QStringLiteral("--keep-going"), QStringLiteral("-")}, lines.toUtf8());
        QCOMPARE(out.status, 2);
        QVERIFY2(out.errors.contains(QStringLiteral("cannot write 'plain/s.png'")), qPrintable(out.errors));
        QVERIFY2(out.errors.contains(QStringLiteral("cannot write 'missing/t5.pdf'")),
                 qPrintable(out.errors));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
        out = Play(folder, {QStringLiteral("--keep-going"), QStringLiteral("-")},
                   (kFrictionRun + QStringLiteral("export missing/f.csv\nexport plain/f.csv\n")).toUtf8());
        QCOMPARE(out.status, 2);
        QVERIFY2(out.errors.contains(QStringLiteral("cannot write 'missing/f.csv'")), qPrintable(out.errors));
        QVERIFY2(out.errors.contains(QStringLiteral("cannot write 'plain/f.csv'")), qPrintable(out.errors));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);

        // The disk "fills up": a file-size limit of 64 KiB on the program's own process stops the
        // write of a PDF of several hundred kilobytes half-way.
        QProcess process;
        process.setWorkingDirectory(folder);
        process.start(QStringLiteral("/bin/sh"),
                      {QStringLiteral("-c"), QStringLiteral("ulimit -f 128 && exec \"$0\" -"),
                       QStringLiteral(VLAB_SCRIPT)});
        QVERIFY(process.waitForStarted());
        process.write((kTeachingPage + QStringLiteral("print kept.pdf\n")).toUtf8());
        process.closeWriteChannel();
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);  // the limit is reported, not fatal
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(QString::fromUtf8(process.readAllStandardError())
                    .contains(QStringLiteral("cannot write 'kept.pdf'")));
        QCOMPARE(Bytes(dir.filePath(QStringLiteral("kept.pdf"))), QByteArray("an earlier file"));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), before);
    }

    // Before the block slides, static friction matches the horizontal pull F cos(theta) and stays
    // below the largest static friction us * FN; once it slides, the friction is 0.9 of that and the
    // block speeds up. FN = G - F_set sin(theta): the model presses with the set pull from the start.
    void exportedFrictionRunFollowsTheFrictionLaw() {
        QTemporaryDir dir;
        const Outcome out = PlayText(dir.path(), kFrictionRun + QStringLiteral("export f.csv\n"));
        QVERIFY2(out.status == 0, qPrintable(out.errors));
        const QStringList rows = CsvRows(dir.filePath(QStringLiteral("f.csv")));
        QVERIFY(!rows.isEmpty());
        QCOMPARE(rows[0],
                 QStringLiteral(
                     "步数 TickCount,作用力 F (牛顿),摩擦力 f (牛顿),木块位置 x (像素),速度 (像素/秒)"));
        const QList<QList<double>> table = CsvNumbers(dir.filePath(QStringLiteral("f.csv")));
        const double theta = 30.0 * M_PI / 180.0, staticMax = 0.8 * (100.0 - 120.0 * std::sin(theta));
        int held = 0, slid = 0;
        double lastSpeed = 0.0, lastTick = -1.0;
        for (const QList<double>& row : table) {
            QCOMPARE(row.size(), 5);
            QCOMPARE(row[0], lastTick + 1.0);  // one row a tick from the set-up's picture on
            lastTick = row[0];
            const double pull = row[1], friction = row[2], speed = row[4];
            const double horizontal = pull * std::cos(theta);
            if (horizontal < staticMax) {
                ++held;
                QVERIFY2(std::fabs(friction - horizontal) < 1e-9, qPrintable(rows[held + slid]));
                QVERIFY(friction < staticMax);
                QCOMPARE(speed, 0.0);
            } else {
                ++slid;
                QVERIFY2(std::fabs(friction - 0.9 * staticMax) < 1e-9, qPrintable(rows[held + slid]));
                QVERIFY2(speed > lastSpeed, qPrintable(rows[held + slid]));
            }
            lastSpeed = speed;
        }
        QVERIFY(held > 300 && slid > 10);
    }

    // Us = 1/2 k x^2 and Ek = 1/2 m v^2, both drawn at 0.00175 graph pixels per unit of energy, with
    // x = A cos(wt), v = A w sin(wt) and w = sqrt(k/m) (degrees of phase a tick). The program takes
    // the kinetic energy as the drop of Us from tick 1, so Ek is short by Us(0) - Us(1), under a
    // tenth of a graph pixel here. The exported velocity is the slope of x against time (a period
    // of 2 pi sqrt(m/k) s lasts 360 / sqrt(k/m) ticks: a tick is pi/180 s) and keeps the sum of the
    // two energies at 1/2 k A^2.
    void exportedSpringRunKeepsItsEnergies() {
        QTemporaryDir dir;
        const Outcome out =
            PlayThen(dir.path(), QStringLiteral("spring_energy.vls"), QStringLiteral("export s.csv\n"));
        QVERIFY2(out.status == 0, qPrintable(out.errors));
        const QJsonObject dump = Load(dir.path(), QStringLiteral("spring_energy.json"));
        const double k = Number(dump, "SpringConstant"), m = Number(dump, "SpringMass");
        const double a = Number(dump, "SpringDisplacement"), w = std::sqrt(k / m) * M_PI / 180.0;
        QCOMPARE(k, 3.0);
        QCOMPARE(a, 200.0);
        const QList<QList<double>> table = CsvNumbers(dir.filePath(QStringLiteral("s.csv")));
        QCOMPARE(table.size(), 401);
        constexpr double kScale = 0.00175;
        for (qsizetype i = 1; i < table.size(); ++i) {
            const QList<double>& row = table[i];
            const double x = row[1], ek = row[3], us = row[4], total = row[5];
            const double v = a * std::sqrt(k / m) * std::sin(w * row[0]);
            // Row 0 is the set-up's picture before the drag.
            if (i > 1 && i + 1 < table.size())
                QVERIFY(std::fabs(row[2] - (table[i + 1][1] - table[i - 1][1]) / (2 * M_PI / 180)) < 0.05);
            QVERIFY(std::fabs(0.5 * k * x * x + 0.5 * m * row[2] * row[2] - 0.5 * k * a * a) < 1e-6);
            QVERIFY(std::fabs(x - a * std::cos(w * row[0])) < 1e-9);
            QVERIFY2(std::fabs(us - kScale * 0.5 * k * x * x) < 1e-9, qPrintable(QString::number(row[0])));
            QVERIFY2(std::fabs(ek - kScale * 0.5 * m * v * v) < 0.1, qPrintable(QString::number(row[0])));
            QVERIFY(std::fabs(total - kScale * 0.5 * k * a * a) < 0.1);
        }
    }

    // Wave A runs 2 pi (r1 - r2) / lambda ahead of wave B, both 14 px high, so at every tick
    // A^2 + B^2 - 2AB cos(phi) = 14^2 sin^2(phi), and their sum swings by 28 |cos(phi / 2)|; all
    // three are 0 until the slit waves reach the screen at tick 98. Red light (lambda 15 px),
    // medium spacing (slits at y 70 and 150, 300 px from the screen); the probe moves mid-run.
    void exportedInterferenceWavesAddUp() {
        QTemporaryDir dir;
        const Outcome out =
            PlayText(dir.path(), QStringLiteral("click Main.Image4\nclick Form1.Button27\n"
                                                "click Form1.Button4\npress 500 150\nrelease 500 150\n"
                                                "click Form1.Button2\ntick 200\npress 500 82\n"
                                                "release 500 82\ntick 100\nexport i.csv\n"));
        QVERIFY2(out.status == 0, qPrintable(out.errors));
        const QList<QList<double>> table = CsvNumbers(dir.filePath(QStringLiteral("i.csv")));
        QCOMPARE(table.size(), 301);
        QMap<double, double> swing;  // the sum's largest height for each probe y
        for (const QList<double>& row : table) {
            const double y = row[1], a = row[4], b = row[5], sum = row[6], phi = 2 * M_PI * row[2] / 15;
            QVERIFY2((row[0] < 98) == (a == 0 && b == 0 && sum == 0), qPrintable(QString::number(row[0])));
            if (row[0] < 98) continue;  // the path difference too is worked out once the graph shows
            QVERIFY(std::fabs(row[2] - (std::hypot(300, y - 70) - std::hypot(300, y - 150))) < 2e-3);
            QVERIFY(std::fabs(sum - (a + b)) < 1e-4);  // the graph rounds the sum to 4 decimals
            QVERIFY(std::fabs(a * a + b * b - 2 * a * b * std::cos(phi) - 196 * std::pow(std::sin(phi), 2)) <
                    1e-6);
            swing[y] = std::max(swing[y], std::fabs(sum));
        }
        QCOMPARE(swing.keys(), QList<double>({82.0, 150.0}));
        for (double y : swing.keys())
            QVERIFY(std::fabs(swing[y] -
                              28 * std::fabs(std::cos(
                                       M_PI * (std::hypot(300, y - 70) - std::hypot(300, y - 150)) / 15))) <
                    0.05);
    }

    // The field at the test charge is the vector sum of 500000 Q / r^2 from each charge (away from
    // a positive one). A step of the flight is 0.01 time units of constant acceleration E, so in
    // pixels a step the speed v and the next step's place and speed differ by at most E * 0.01^2.
    void exportedFieldFollowsTheInverseSquareLaw() {
        QTemporaryDir dir;
        const Outcome out =
            PlayThen(dir.path(), QStringLiteral("electric_field.vls"), QStringLiteral("export f.csv\n"));
        QVERIFY2(out.status == 0, qPrintable(out.errors));
        const QJsonObject dump = Load(dir.path(), QStringLiteral("field_end.json"));
        const QList<QList<double>> table = CsvNumbers(dir.filePath(QStringLiteral("f.csv")));
        QCOMPARE(table.size(), qsizetype(Number(dump, "TickCount")) + 1);
        for (qsizetype n = 1; n < table.size(); ++n) {
            const QList<double>& row = table[n];
            // The program rounds r^2 to thousandths of a square pixel.
            double ex = 0, ey = 0, slack = 1e-9;
            for (int i = 0; i < 4; ++i) {
                const double dx = row[1] - Entry(dump, "ChargeX", i), dy = row[2] - Entry(dump, "ChargeY", i);
                const double r2 = dx * dx + dy * dy, e = 500000 * Entry(dump, "ChargeQ", i) / r2;
                QVERIFY(std::fabs(row[5 + i] - std::fabs(e)) < std::fabs(e) * 6e-4 / r2);
                ex += e * dx / std::sqrt(r2), ey += e * dy / std::sqrt(r2), slack += std::fabs(e) * 6e-4 / r2;
            }
            QVERIFY2(std::fabs(row[4] - std::hypot(ex, ey)) < slack, qPrintable(QString::number(n)));
            if (n + 1 == table.size()) break;
            // x(n+1) = x(n) + v dt + E dt^2 / 2 with E the field at x(n), all in pixels a step.
            const double step = std::hypot(table[n + 1][1] - row[1], table[n + 1][2] - row[2]);
            QVERIFY2(std::fabs(step - row[3]) <= row[4] * 0.5e-4 + 1e-9, qPrintable(QString::number(n)));
            QVERIFY(std::fabs(table[n + 1][3] - row[3]) <= row[4] * 1e-4 + 1e-9);
        }
    }

    // At constant speed the loop is pushed one pixel a step from the first tick on; the incline's
    // speed stays 0.
    void exportedInductionLoopSpeedFollowsItsPlace() {
        QTemporaryDir dir;
        const Outcome out = PlayText(
            dir.path(), QStringLiteral("click Main.Image4\nclick Form1.Button6\nclick "
                                       "Form1.Button4\nclick Form1.Button2\ntick 1000\nexport l.csv\n"));
        QVERIFY2(out.status == 0, qPrintable(out.errors));
        const QList<QList<double>> loop = CsvNumbers(dir.filePath(QStringLiteral("l.csv")));
        QCOMPARE(loop.size(), 621);
        for (qsizetype n = 0; n < loop.size(); ++n) {
            QCOMPARE(loop[n][2], n == 0 ? 0.0 : loop[n][1] - loop[n - 1][1]);
            QCOMPARE(loop[n][3], 0.0);
        }
    }

    // The file opens in a spreadsheet with its Chinese headers: UTF-8 behind a byte-order mark, as
    // Python's csv module reads it with the "utf-8-sig" codec.
    void exportedHeadersReadInPython() {
        QTemporaryDir dir;
        const Outcome out = PlayText(dir.path(), kFrictionRun + QStringLiteral("export f.csv\n"));
        QVERIFY2(out.status == 0, qPrintable(out.errors));
        QVERIFY(Bytes(dir.filePath(QStringLiteral("f.csv"))).startsWith("\xEF\xBB\xBF步数 TickCount,"));
        QProcess python;
        python.setWorkingDirectory(dir.path());
        python.start(
            QStringLiteral("python3"),
            {QStringLiteral("-c"),
             QStringLiteral("import csv,sys\nrows=list(csv.reader(open('f.csv',encoding='utf-8-sig')))\n"
                            "print('|'.join(rows[0]));print(len(rows[1:]), len(set(map(len,rows))))")});
        QVERIFY(python.waitForFinished(30000));
        QCOMPARE(QString::fromUtf8(python.readAllStandardOutput()).trimmed(),
                 QStringLiteral(
                     "步数 TickCount|作用力 F (牛顿)|摩擦力 f (牛顿)|木块位置 x (像素)|速度 (像素/秒)\n%1 1")
                     .arg(CsvNumbers(dir.filePath(QStringLiteral("f.csv"))).size()));
    }

    // A new Setting starts the record afresh with its set-up picture's row, and choosing another
    // experiment forgets it: that one's header alone until its own Setting.
    void settingStartsTheRecordAndChoosingForgetsIt() {
        QTemporaryDir dir;
        const Outcome out =
            PlayText(dir.path(),
                     QStringLiteral("click Main.Image4\nclick Form1.Button1\nclick Form1.Button4\n"
                                    "click Form1.Button2\ntick 50\nexport first.csv\n"
                                    "click Form1.Button26\nclick Form1.Button4\nclick Form1.Button2\n"
                                    "tick 3\nexport again.csv\nclick Form1.Button26\nclick Form1.Button11\n"
                                    "click Form1.Button3\nexport none.csv\n"));
        QVERIFY2(out.status == 0, qPrintable(out.errors));
        QCOMPARE(CsvNumbers(dir.filePath(QStringLiteral("first.csv"))).size(), 51);
        const QList<QList<double>> again = CsvNumbers(dir.filePath(QStringLiteral("again.csv")));
        QCOMPARE(again.size(), 4);
        QCOMPARE(again.first().first(), 0.0);
        QCOMPARE(again.last().first(), 3.0);
        const QStringList none = CsvRows(dir.filePath(QStringLiteral("none.csv")));
        QCOMPARE(none.size(), 1);
        QVERIFY(none[0].contains(QStringLiteral("摩擦力 f (牛顿)")));
    }
};

QTEST_MAIN(SavesScenarioTest)
#include "saves_scenario_test.moc"
