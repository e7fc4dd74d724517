// The help viewer faced with a damaged help folder: missing folder or page, an empty file, a
// folder in a page's place, binary junk and a huge file each give the page as it is or the
// viewer's own short page, at once; links and pictures are taken only from the help folder.

#include "shell/help_viewer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include "dialog/widget_scale.h"
#include "lab/lab_state.h"

using namespace vlab;

namespace {

bool Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

QByteArray Junk(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator rng(20);  // the same junk every run
    for (char& c : bytes) c = static_cast<char>(rng.bounded(256));
    return bytes;
}

}  // namespace

class HelpViewerTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    QString help_;

    // Shows HelpPagePath as a request from the lab window does, and says how long it took.
    QString Show(TForm2& viewer, const QString& page, const char* what) {
        HelpPagePath = ProgramFolder + page;
        QElapsedTimer clock;
        clock.start();
        viewer.close();
        viewer.show();
        qInfo("%s: %lld ms", what, static_cast<long long>(clock.elapsed()));
        return viewer.CppWebBrowser1->toPlainText();
    }

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        ProgramFolder = dir_.path() + QStringLiteral("/lab");
        help_ = ProgramFolder + QStringLiteral("/help");
        QDir(help_).removeRecursively();
        QVERIFY(QDir().mkpath(help_));
    }

    void missingFolderAndPage() {
        TForm2 viewer;
        QVERIFY(QDir(help_).removeRecursively());
        QString shown = Show(viewer, QStringLiteral("/help/op.htm"), "missing folder");
        QVERIFY(shown.contains(QStringLiteral("找不到帮助页")) && shown.contains(QStringLiteral("op.htm")));
        QVERIFY(viewer.ShownFile().isEmpty());

        QVERIFY(QDir().mkpath(help_));
        QVERIFY(Write(help_ + QStringLiteral("/op.htm"), "<p>operating</p>"));
        shown = Show(viewer, QStringLiteral("/help/M1.htm"), "missing page");
        QVERIFY(shown.contains(QStringLiteral("M1.htm")));
        // The next page that is there is shown again, not the viewer's own one.
        QCOMPARE(Show(viewer, QStringLiteral("/help/op.htm"), "page after a missing one"),
                 QStringLiteral("operating"));
        QCOMPARE(viewer.ShownFile(), help_ + QStringLiteral("/op.htm"));
    }

    void damagedFiles() {
        TForm2 viewer;
        QVERIFY(Write(help_ + QStringLiteral("/M2.htm"), QByteArray()));
        QVERIFY(Show(viewer, QStringLiteral("/help/M2.htm"), "empty file").isEmpty());
        QCOMPARE(viewer.ShownFile(), help_ + QStringLiteral("/M2.htm"));

        QVERIFY(QDir().mkpath(help_ + QStringLiteral("/M3.htm")));
        QVERIFY(Show(viewer, QStringLiteral("/help/M3.htm"), "folder in a page's place")
                    .contains(QStringLiteral("找不到帮助页")));
        QVERIFY(viewer.ShownFile().isEmpty());

        // Junk just under the size limit is shown as it is, whatever it decodes to.
        QVERIFY(Write(help_ + QStringLiteral("/M4.htm"), Junk(TForm2::kLargestPage)));
        Show(viewer, QStringLiteral("/help/M4.htm"), "binary junk (256 KiB)");
        QCOMPARE(viewer.ShownFile(), help_ + QStringLiteral("/M4.htm"));

        // 100 MB (a sparse file: only its size matters) is not read at all.
        QFile huge(help_ + QStringLiteral("/M5.htm"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(100LL * 1000 * 1000));
        huge.close();
        const QString shown = Show(viewer, QStringLiteral("/help/M5.htm"), "100 MB file");
        QVERIFY(shown.contains(QStringLiteral("帮助页太大")) && shown.contains(QStringLiteral("M5.htm")));
        QVERIFY(viewer.ShownFile().isEmpty());
    }

    // Shown larger, a page's fixed widths and its pictures grow with its text; at the normal size
    // both are read as they are on disk.
    void pageLaidOutAtTheViewersScale() {
        TForm2 viewer;
        QVERIFY(QDir().mkpath(help_ + QStringLiteral("/pictures")));
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QVERIFY(picture.save(help_ + QStringLiteral("/pictures/p.png")));
        const QByteArray page =
            "<table width=\"170\"><tr><td width=\"50%\" height=\"21\">x</td></tr></table>"
            "<img src=\"pictures/p.png\">";
        QVERIFY(Write(help_ + QStringLiteral("/M1.htm"), page));
        const QUrl pageUrl = QUrl::fromLocalFile(help_ + QStringLiteral("/M1.htm"));
        const QUrl pictureUrl = QUrl::fromLocalFile(help_ + QStringLiteral("/pictures/p.png"));
        HelpBrowser* view = viewer.CppWebBrowser1;
        QCOMPARE(view->loadResource(QTextDocument::HtmlResource, pageUrl).toByteArray(), page);
        ScaleWidgets(&viewer, 1.5);
        QCOMPARE(view->loadResource(QTextDocument::HtmlResource, pageUrl).toString(),
                 QStringLiteral("<table width=\"255\"><tr><td width=\"50%\" height=\"32\">x</td></tr></table>"
                                "<img src=\"pictures/p.png\">"));
        QCOMPARE(view->loadResource(QTextDocument::ImageResource, pictureUrl).value<QImage>().size(),
                 QSize(60, 45));
        // A page on show when the scale changes is shown afresh with its pictures at the new scale.
        ScaleWidgets(&viewer, 1);
        Show(viewer, QStringLiteral("/help/M1.htm"), "page with a picture");
        const QUrl shownPicture = view->source().resolved(QUrl(QStringLiteral("pictures/p.png")));
        QCOMPARE(
            view->document()->resource(QTextDocument::ImageResource, shownPicture).value<QImage>().size(),
            QSize(40, 30));
        ScaleWidgets(&viewer, 1.5);
        viewer.Rescaled();
        QCOMPARE(viewer.size(), QSize(765, 777));
        QCOMPARE(
            view->document()->resource(QTextDocument::ImageResource, shownPicture).value<QImage>().size(),
            QSize(60, 45));
        ScaleWidgets(&viewer, 1);
        QCOMPARE(view->loadResource(QTextDocument::ImageResource, pictureUrl).toByteArray(), [this] {
            QFile f(help_ + QStringLiteral("/pictures/p.png"));
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }());
    }

    void linksStayInTheHelpFolder() {
        TForm2 viewer;
        QVERIFY(Write(dir_.path() + QStringLiteral("/lab/secret.htm"), "<p>outside</p>"));
        QVERIFY(Write(help_ + QStringLiteral("/M2.htm"), "<p>second</p>"));
        QVERIFY(Write(help_ + QStringLiteral("/M1.htm"), "<p>first</p>"));
        QVERIFY(
            QFile::link(dir_.path() + QStringLiteral("/lab/secret.htm"), help_ + QStringLiteral("/t1.htm")));
        QCOMPARE(Show(viewer, QStringLiteral("/help/M1.htm"), "page with links"), QStringLiteral("first"));
        HelpBrowser* view = viewer.CppWebBrowser1;
        const QUrl first = view->source();

        // What a click on each link does (the view resolves relative links against the page).
        for (const QUrl& out :
             {first.resolved(QUrl(QStringLiteral("../secret.htm"))),
              first.resolved(QUrl(QStringLiteral("t1.htm"))), QUrl(QStringLiteral("file:///etc/passwd")),
              QUrl(QStringLiteral("http://example.com/x.htm"))}) {
            view->setSource(out);
            QCOMPARE(view->source(), first);
            QCOMPARE(view->toPlainText(), QStringLiteral("first"));
        }
        view->setSource(first.resolved(QUrl(QStringLiteral("M2.htm"))));
        QCOMPARE(view->toPlainText(), QStringLiteral("second"));

        // Pictures come from the help folder only, and not when they are huge.
        QVERIFY(Write(help_ + QStringLiteral("/in.png"), "png"));
        QCOMPARE(
            view->loadResource(QTextDocument::ImageResource, first.resolved(QUrl(QStringLiteral("in.png"))))
                .toByteArray(),
            QByteArray("png"));
        QVERIFY(!view->loadResource(QTextDocument::ImageResource,
                                    first.resolved(QUrl(QStringLiteral("../secret.htm"))))
                     .isValid());
        QFile huge(help_ + QStringLiteral("/big.png"));
        QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(TForm2::kLargestPicture + 1));
        huge.close();
        QVERIFY(
            !view->loadResource(QTextDocument::ImageResource, first.resolved(QUrl(QStringLiteral("big.png"))))
                 .isValid());
    }
};

QTEST_MAIN(HelpViewerTest)
#include "help_viewer_test.moc"
