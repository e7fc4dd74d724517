// The help pages as the viewer shows them: every page opens with real content, every local link
// and picture it names is there, the links join all pages into one web that starts and ends at
// the contents, and every caption it quotes is a text the program really shows.

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include "lab/lab_state.h"
#include "registry/registry.h"
#include "shell/help_viewer.h"

using namespace vlab;

namespace {

const QString kHelp = QStringLiteral(VLAB_SOURCE_DIR "/help/");

QStringList Pages() {
    // Every page of the help folder: the registry test below holds them to the entries' pages.
    return QDir(QStringLiteral(VLAB_SOURCE_DIR "/help"))
        .entryList({QStringLiteral("*.htm")}, QDir::Files, QDir::Name);
}

QString Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Every string literal of the program's sources (and of the picture tool, which paints the title
// screen's captions), trimmed, with the mnemonic marker of button captions taken out. A literal
// with a number filled in at run time ("点电荷%1") stands for each text with a number in its place.
struct ProgramTexts {
    QSet<QString> exact;
    QList<QRegularExpression> numbered;
    bool Shows(const QString& caption) const {
        if (exact.contains(caption)) return true;
        for (const QRegularExpression& r : numbered)
            if (r.match(caption).hasMatch()) return true;
        return false;
    }
};

ProgramTexts CollectProgramTexts() {
    ProgramTexts texts;
    static const QRegularExpression literal(QStringLiteral("\"((?:[^\"\\\\\\n]|\\\\.)*)\""));
    QStringList files{QStringLiteral(VLAB_SOURCE_DIR "/assets/make_pictures.cpp")};
    QDirIterator it(QStringLiteral(VLAB_SOURCE_DIR "/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) files << it.next();
    for (const QString& file : files) {
        auto m = literal.globalMatch(Read(file));
        while (m.hasNext()) {
            const QString text = m.next().captured(1).remove(u'&').trimmed();
            if (text.contains(QLatin1String("%1"))) {
                QString pattern = QRegularExpression::escape(text);
                pattern.replace(QLatin1String("%1"), QLatin1String("-?[0-9.]+"));
                texts.numbered << QRegularExpression(u'^' + pattern + u'$');
            } else {
                texts.exact.insert(text);
            }
        }
    }
    return texts;
}

// The local links of a page as the viewer reads them: target page (the page itself for a bare
// "#fragment") and fragment, from the anchors of the document it shows.
struct Link {
    QString page;
    QString fragment;
};

QTextDocument* Shown(TForm2& viewer, const QString& page) {
    HelpPagePath = kHelp + page;
    viewer.show();
    return viewer.CppWebBrowser1->document();
}

QList<Link> LocalLinks(const QString& page) {
    TForm2 viewer;
    const QTextDocument* doc = Shown(viewer, page);
    QList<Link> links;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QString href = it.fragment().charFormat().anchorHref();
            if (href.isEmpty() || href.contains(u':')) continue;
            const QString target = href.section(u'#', 0, 0);
            links.append({target.isEmpty() ? page : QDir::cleanPath(QFileInfo(page).path() + u'/' + target),
                          href.section(u'#', 1)});
        }
    return links;
}

// The names a page's links can jump to: its id attributes as the viewer keeps them.
QSet<QString> AnchorNames(const QString& page) {
    TForm2 viewer;
    const QTextDocument* doc = Shown(viewer, page);
    QSet<QString> names;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (const QString& n : block.charFormat().anchorNames()) names.insert(n);
        for (auto it = block.begin(); !it.atEnd(); ++it)
            for (const QString& n : it.fragment().charFormat().anchorNames()) names.insert(n);
    }
    return names;
}

// The pages reachable from start by following links.
QSet<QString> Reachable(const QHash<QString, QSet<QString>>& graph, const QString& start) {
    QSet<QString> seen{start};
    QStringList queue{start};
    while (!queue.isEmpty())
        for (const QString& next : graph.value(queue.takeFirst()))
            if (!seen.contains(next)) {
                seen.insert(next);
                queue.append(next);
            }
    return seen;
}

}  // namespace

class HelpPagesTest : public QObject {
    Q_OBJECT
private slots:
    // The viewer opens each page from disk, and the page has grown beyond a placeholder.
    void everyPageOpensWithContent() {
        for (const QString& page : Pages()) {
            TForm2 viewer;
            HelpPagePath = kHelp + page;
            viewer.show();
            QCOMPARE(viewer.ShownFile(), kHelp + page);
            const QString text = viewer.CppWebBrowser1->document()->toPlainText();
            QVERIFY2(text.size() > 500,
                     qPrintable(page + QStringLiteral(": %1 characters").arg(text.size())));
            QVERIFY2(!text.contains(QStringLiteral("找不到帮助页")), qPrintable(page));
        }
    }

    // The registry's experiments, as the registry lists them, name each help and teaching page once,
    // and every one exists, so no button leads to the viewer's "missing" page.
    void registryPagesExist() {
        QStringList named;
        for (const Experiment* e : AllExperiments()) {
            QVERIFY2(QFile::exists(kHelp + e->helpPage.section(u'/', -1)), qPrintable(e->helpPage));
            QVERIFY2(QFile::exists(kHelp + e->teachingPage.section(u'/', -1)), qPrintable(e->teachingPage));
            named << e->helpPage.section(u'/', -1) << e->teachingPage.section(u'/', -1);
        }
        named << QStringLiteral("op.htm");
        named.sort();
        QStringList pages = Pages();
        pages.sort();
        QCOMPARE(named, pages);
    }

    // From the contents every page can be reached by following links, and from every page the way
    // leads back to op.htm; every link to a part of a page names an anchor that page has.
    void everyPageReachesEveryOther() {
        QHash<QString, QSet<QString>> graph;
        QHash<QString, QSet<QString>> anchors;
        for (const QString& page : Pages()) anchors.insert(page, AnchorNames(page));
        QVERIFY2(anchors.value(QStringLiteral("op.htm")).contains(QStringLiteral("contents")),
                 "op.htm has no 目录");
        for (const QString& page : Pages()) {
            for (const Link& link : LocalLinks(page)) {
                if (!link.page.endsWith(QLatin1String(".htm"))) continue;
                QVERIFY2(anchors.contains(link.page), qPrintable(page + QStringLiteral(" -> ") + link.page));
                graph[page].insert(link.page);
                if (!link.fragment.isEmpty())
                    QVERIFY2(anchors.value(link.page).contains(link.fragment),
                             qPrintable(page + QStringLiteral(" -> ") + link.page + u'#' + link.fragment));
            }
        }
        const QSet<QString> fromContents = Reachable(graph, QStringLiteral("op.htm"));
        for (const QString& page : Pages()) {
            QVERIFY2(fromContents.contains(page),
                     qPrintable(QStringLiteral("op.htm does not lead to ") + page));
            QVERIFY2(Reachable(graph, page).contains(QStringLiteral("op.htm")),
                     qPrintable(page + QStringLiteral(" does not lead back to op.htm")));
        }
    }

    // Local links and pictures are present; pictures load through the viewer as real images.
    void linksAndPicturesPresent() {
        static const QRegularExpression ref(QStringLiteral("(?:href|src)=\"([^\"#:]+)\""));
        int pictures = 0;
        for (const QString& page : Pages()) {
            auto m = ref.globalMatch(Read(kHelp + page));
            while (m.hasNext()) {
                const QString target = m.next().captured(1);
                const QString path = QDir::cleanPath(kHelp + target);
                QVERIFY2(QFile::exists(path), qPrintable(page + QStringLiteral(" -> ") + target));
                if (target.endsWith(QLatin1String(".png"))) {
                    HelpBrowser browser;
                    const QVariant image =
                        browser.loadResource(QTextDocument::ImageResource, QUrl::fromLocalFile(path));
                    QVERIFY2(!QImage::fromData(image.toByteArray()).isNull(), qPrintable(target));
                    ++pictures;
                }
            }
        }
        QVERIFY(pictures >= 16);
    }

    // A caption quoted in 「」 or in quotation marks is one the program shows, exactly.
    void quotedCaptionsAreProgramTexts() {
        const ProgramTexts texts = CollectProgramTexts();
        QVERIFY(texts.Shows(QStringLiteral("Setting")));
        QVERIFY(!texts.Shows(QStringLiteral("匀速")));
        static const QRegularExpression quoted(QStringLiteral("[「“\"]([^」”\"<>]+)[」”\"]"));
        for (const QString& page : Pages()) {
            TForm2 viewer;
            HelpPagePath = kHelp + page;
            viewer.show();
            const QString text = viewer.CppWebBrowser1->document()->toPlainText();
            auto m = quoted.globalMatch(text);
            while (m.hasNext()) {
                const QString caption = m.next().captured(1).trimmed();
                QVERIFY2(texts.Shows(caption), qPrintable(page + QStringLiteral(": 「") + caption + u'」'));
            }
        }
    }
};

QTEST_MAIN(HelpPagesTest)
#include "help_pages_test.moc"
