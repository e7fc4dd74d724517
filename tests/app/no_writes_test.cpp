// The lab writes nothing: a whole run through every experiment, with its panels, help pages, runs
// and the exit question, leaves the home folder, the current folder, the temporary folder and the
// session's runtime folder exactly as they were. The runner's own output commands are not used.

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "registry/registry.h"

using namespace Qt::StringLiterals;

namespace {

// Every file and folder under root with its size and modification time.
QMap<QString, QString> Listing(const QString& root) {
    QMap<QString, QString> out;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        out.insert(f.filePath(), u"%1 %2"_s.arg(f.size()).arg(f.lastModified().toMSecsSinceEpoch()));
    }
    return out;
}

bool CopyFolder(const QString& from, const QString& to) {
    QDir().mkpath(to);
    for (const QFileInfo& f : QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        const QString target = to + u'/' + f.fileName();
        if (f.isDir() ? !CopyFolder(f.filePath(), target) : !QFile::copy(f.filePath(), target)) return false;
    }
    return true;
}

// Each experiment chosen, its help and teaching pages opened, set up (panel values confirmed where
// it has a panel, its choices on the surface picked), run, stopped and left; then Exit, Yes.
QByteArray WholeRun() {
    QByteArray s = "click Main.Image4\nclick Form1.BitBtn2\n";
    for (const vlab::Experiment* e : vlab::AllExperiments()) {
        s += "click Form1."_ba + e->buttonName + "\nclick Form1.Button4\n";
        s += "press 150 80\nrelease 150 80\n";  // the first pulley arrangement
        s += "combo table3.ComboBox2 三个点电荷\ncombo table3.ComboBox1 作用力\ncombo table3.ComboBox1 "
             "方块A质量\n"
             "combo table3.ComboBox1 初始值\ncombo table3.ComboBox1 波的重叠B\nclick table3.Button1\n"
             "click check.BitBtn1\n";
        s += "press 300 300\nrelease 300 300\npress 615 40\nrelease 615 40\n";  // a test charge and its sign
        s += "click Form1.SpeedButton1\nclick Form1.Button2\ntick 300\nclick Form1.Button26\n"
             "click Form1.Button11\n";
    }
    return s + "click Form1.BitBtn1\nclick check.BitBtn1\n";
}

}  // namespace

class NoWritesTest : public QObject {
    Q_OBJECT
private slots:
    void wholeRunWritesNothing() {
        QTemporaryDir root;
        const QString home = root.filePath(u"home"_s), tmp = root.filePath(u"tmp"_s),
                      cwd = root.filePath(u"cwd"_s);
        QVERIFY(QDir().mkpath(home) && QDir().mkpath(tmp));
        QVERIFY(CopyFolder(QStringLiteral(VLAB_SOURCE_DIR "/help"), cwd + u"/help"_s));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Everything a library might write for the user goes under HOME, TMPDIR or the current folder.
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
            env.remove(QLatin1String(name));
        // A desktop session always provides its runtime folder; it is watched as well.
        const QString runtime = root.filePath(u"runtime"_s);
        QVERIFY(QDir().mkpath(runtime));
        QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        env.insert(u"XDG_RUNTIME_DIR"_s, runtime);
        env.insert(u"HOME"_s, home);
        env.insert(u"TMPDIR"_s, tmp);
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);

        const auto before = Listing(root.path());
        QProcess lab;
        lab.setProcessEnvironment(env);
        lab.setWorkingDirectory(cwd);
        lab.start(QStringLiteral(VLAB_SCRIPT), {u"--keep-going"_s, u"-"_s});
        QVERIFY(lab.waitForStarted());
        lab.write(WholeRun());
        lab.closeWriteChannel();
        QVERIFY(lab.waitForFinished(240000));
        const QString errors = QString::fromUtf8(lab.readAllStandardError());
        QVERIFY2(lab.exitStatus() == QProcess::NormalExit && !errors.contains(u"already ended"_s),
                 qPrintable(errors));

        const auto after = Listing(root.path());
        QStringList changed;
        for (auto it = after.begin(); it != after.end(); ++it)
            if (before.value(it.key()) != it.value()) changed << it.key();
        for (auto it = before.begin(); it != before.end(); ++it)
            if (!after.contains(it.key())) changed << it.key() + u" (removed)"_s;
        QVERIFY2(changed.isEmpty(), qPrintable(changed.join(u'\n')));
    }
};

QTEST_MAIN(NoWritesTest)
#include "no_writes_test.moc"
