// Data out of the lab: a teaching page saved as PDF is a real document of its pages, a saved picture
// is the surface as drawn, and a save that
// fails (a folder that is not there, a path under a plain file, a file-size limit that stops the
// write half-way) says so, leaves no file behind and leaves an earlier file of that name as it was.

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

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
};

QTEST_MAIN(SavesScenarioTest)
#include "saves_scenario_test.moc"
