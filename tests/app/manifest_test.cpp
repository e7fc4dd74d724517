// Every file the kept scenarios write (the scenario tests' own, the screenshot and the help pages'
// pictures) is byte for byte the one listed in tests/app/scenario_manifest.txt. A change meant to
// alter a picture or a dump rewrites the list with scripts/scenario-manifest, so that the review
// shows exactly which files changed; any other change of a single pixel or value fails here.

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include "scenario_support.h"

using namespace vlab::test;

namespace {

const QString kManifest = QStringLiteral(VLAB_SOURCE_DIR "/tests/app/scenario_manifest.txt");

// The folders of kept scenarios, relative to the source tree.
const char* const kScenarioFolders[] = {"tests/app/scenarios", "docs", "docs/help-pictures"};

// The hash of a written file. Dumps name the folder the scenario ran in (the help paths), which is
// a new temporary one each time: it is hashed as "FOLDER".
QByteArray Sha256(const QString& path, const QString& folder) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = file.readAll();
    if (path.endsWith(QLatin1String(".json"))) bytes.replace(folder.toUtf8(), "FOLDER");
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// "folder/scenario.vls: written-file" -> hash, for every file each scenario writes in a folder of
// its own. Scenarios that look at the help viewer find the pages through a link to help/.
QMap<QString, QByteArray> PlayAll(const QString& scratch, QStringList& failures) {
    QMap<QString, QByteArray> hashes;
    for (const char* folder : kScenarioFolders) {
        const QDir dir(QStringLiteral(VLAB_SOURCE_DIR "/") + QLatin1String(folder));
        for (const QString& name : dir.entryList({QStringLiteral("*.vls")}, QDir::Files, QDir::Name)) {
            const QString key = QLatin1String(folder) + u'/' + name;
            const QString work = scratch + u'/' + QString(key).replace(u'/', u'_');
            QDir().mkpath(work);
            QFile::link(QStringLiteral(VLAB_SOURCE_DIR "/help"), work + QStringLiteral("/help"));
            // The monkey's replays carry the line that once failed; they are played on past it.
            const bool replay = name.startsWith(QLatin1String("monkey_"));
            QStringList arguments{dir.filePath(name)};
            if (replay) arguments.prepend(QStringLiteral("--keep-going"));
            const Outcome out = Play(work, arguments);
            if (out.status != 0 && !(replay && out.status == 2))
                failures << key + QStringLiteral(": ") + out.errors.trimmed();
            QDirIterator it(work, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString file = it.next();
                hashes.insert(key + QStringLiteral(": ") + QDir(work).relativeFilePath(file),
                              Sha256(file, work));
            }
        }
    }
    return hashes;
}

QMap<QString, QByteArray> ReadManifest() {
    QMap<QString, QByteArray> listed;
    QFile file(kManifest);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return listed;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (line.isEmpty() || line.startsWith('#')) continue;
        const qsizetype space = line.indexOf(' ');
        listed.insert(QString::fromUtf8(line.mid(space + 1)), line.left(space));
    }
    return listed;
}

}  // namespace

class ManifestTest : public QObject {
    Q_OBJECT
private slots:
    void scenarioFilesAreTheListedOnes() {
        QTemporaryDir scratch;
        QVERIFY(scratch.isValid());
        QStringList failures;
        const QMap<QString, QByteArray> played = PlayAll(scratch.path(), failures);
        QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u'\n')));
        QVERIFY(played.size() > 100);

        if (qEnvironmentVariableIsSet("VLAB_WRITE_MANIFEST")) {
            QFile file(kManifest);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Text | QIODevice::Truncate));
            file.write(
                "# SHA-256 of every file the kept scenarios write; remade by scripts/scenario-manifest.\n");
            for (auto it = played.begin(); it != played.end(); ++it)
                file.write(it.value() + ' ' + it.key().toUtf8() + '\n');
            QVERIFY(file.flush());
            return;
        }

        const QMap<QString, QByteArray> listed = ReadManifest();
        QStringList differ;
        for (auto it = played.begin(); it != played.end(); ++it) {
            if (!listed.contains(it.key()))
                differ << QStringLiteral("new: ") + it.key();
            else if (listed.value(it.key()) != it.value())
                differ << QStringLiteral("changed: ") + it.key();
        }
        for (auto it = listed.begin(); it != listed.end(); ++it)
            if (!played.contains(it.key())) differ << QStringLiteral("no longer written: ") + it.key();
        for (const QString& line : differ) qWarning("%s", qPrintable(line));
        QVERIFY2(differ.isEmpty(),
                 qPrintable(QStringLiteral("%1 of %2 files differ from the manifest (listed above); "
                                           "scripts/scenario-manifest remakes it")
                                .arg(differ.size())
                                .arg(played.size())));
    }
};

QTEST_MAIN(ManifestTest)
#include "manifest_test.moc"
