// The layers of src/: every include runs from a folder to itself or to a folder whose library its
// own library links (directly or through the layers between), and the links form no cycle. The
// graph of includes between folders is written to test-pictures/include_graph.dot.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTest>

namespace {

const QString kSource = QStringLiteral(VLAB_SOURCE_DIR "/src/");

QString Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Folder -> the folders whose libraries its CMakeLists.txt links (vlab_NAME is folder NAME).
QMap<QString, QSet<QString>> LinkedFolders() {
    static const QRegularExpression links(QStringLiteral("target_link_libraries\\(\\s*(\\S+)([^)]*)\\)"));
    static const QRegularExpression library(QStringLiteral("\\bvlab_([a-z]+)\\b"));
    QMap<QString, QSet<QString>> out;
    for (const QString& folder : QDir(kSource).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        out[folder];
        auto m = links.globalMatch(Read(kSource + folder + QStringLiteral("/CMakeLists.txt")));
        while (m.hasNext()) {
            const auto hit = m.next();
            auto l = library.globalMatch(hit.captured(2));
            while (l.hasNext()) {
                const QString linked = l.next().captured(1);
                if (linked != QLatin1String("warnings") && QDir(kSource + linked).exists())
                    out[folder].insert(linked);
            }
        }
    }
    return out;
}

// Everything a folder reaches through its links.
QSet<QString> Below(const QMap<QString, QSet<QString>>& links, const QString& folder, QStringList path = {}) {
    QSet<QString> out;
    if (path.contains(folder)) return {QStringLiteral("cycle: ") + path.join(QStringLiteral(" -> "))};
    path << folder;
    for (const QString& linked : links.value(folder)) {
        out.insert(linked);
        out.unite(Below(links, linked, path));
    }
    return out;
}

}  // namespace

class LayersTest : public QObject {
    Q_OBJECT
private slots:
    void includesRunOnlyDownwards() {
        const QMap<QString, QSet<QString>> links = LinkedFolders();
        QVERIFY(links.value(QStringLiteral("experiments")).contains(QStringLiteral("lab")));
        QVERIFY(links.value(QStringLiteral("shell")).contains(QStringLiteral("panel")));
        QMap<QString, QSet<QString>> reach;
        for (auto it = links.begin(); it != links.end(); ++it) {
            reach[it.key()] = Below(links, it.key());
            for (const QString& r : reach[it.key()])
                QVERIFY2(!r.startsWith(QLatin1String("cycle")), qPrintable(r));
        }

        static const QRegularExpression include(QStringLiteral("#include \"([a-z_]+)/[a-z_0-9]+\\.h\""));
        QMap<QString, QMap<QString, int>> graph;  // from -> to -> includes
        QStringList wrong;
        QDirIterator it(kSource, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                        QDirIterator::Subdirectories);
        int files = 0;
        while (it.hasNext()) {
            const QString file = it.next();
            const QString from = QDir(kSource).relativeFilePath(file).section(u'/', 0, 0);
            ++files;
            auto m = include.globalMatch(Read(file));
            while (m.hasNext()) {
                const QString to = m.next().captured(1);
                if (to == from) continue;
                ++graph[from][to];
                if (!reach.value(from).contains(to))
                    wrong << QDir(kSource).relativeFilePath(file) + QStringLiteral(" includes ") + to;
            }
        }
        QVERIFY(files > 40);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(u'\n')));

        QFile dot(QStringLiteral(VLAB_TEST_PICTURES "/include_graph.dot"));
        QVERIFY(dot.open(QIODevice::WriteOnly | QIODevice::Truncate));
        dot.write("digraph includes {\n  rankdir=BT;\n");
        for (auto from = graph.begin(); from != graph.end(); ++from)
            for (auto to = from->begin(); to != from->end(); ++to)
                dot.write(QStringLiteral("  %1 -> %2 [label=%3];\n")
                              .arg(from.key(), to.key())
                              .arg(to.value())
                              .toUtf8());
        dot.write("}\n");
    }
};

QTEST_MAIN(LayersTest)
#include "layers_test.moc"
