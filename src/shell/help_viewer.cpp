#include "shell/help_viewer.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QShowEvent>
#include <QUrl>

#include <cmath>
#include <memory>

#include "dialog/accessible.h"
#include "dialog/save_file.h"
#include "dialog/widget_scale.h"
#include "lab/lab_state.h"
#include "shell/scaling.h"

#ifndef VLAB_DATA_DIR
#define VLAB_DATA_DIR "/usr/share/vlab"
#endif
#ifndef VLAB_DATA_FROM_BIN
#define VLAB_DATA_FROM_BIN "../share/vlab"
#endif

namespace vlab {

namespace {

// The page's widths and heights given in pixels (width="170"), at the scale.
QString ScaledPageLengths(const QString& html, double scale) {
    static const QRegularExpression length(QStringLiteral("\\b(?:width|height)=\"(\\d+)\""));
    return ScaledLengths(html, length, scale);
}

// The part of a path from its "help/" folder on ("help/M1.htm"), or empty.
QString HelpRelative(const QString& path) {
    const int at = path.lastIndexOf(QLatin1String("/help/"));
    if (at >= 0) return path.mid(at + 1);
    if (path.startsWith(QLatin1String("help/"))) return path;
    return {};
}

}  // namespace

void HelpBrowser::contextMenuEvent(QContextMenuEvent* event) {
    std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
    if (!PageActions.isEmpty()) {
        menu->addSeparator();
        menu->addActions(PageActions);
    }
    menu->exec(event->globalPos());
}

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    setOpenLinks(true);
    setOpenExternalLinks(false);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const bool page = type == QTextDocument::HtmlResource;
    // Only files of the help folders are read, and nothing from the network.
    if (!name.isLocalFile()) return {};
    const QString path = name.toLocalFile();
    const QString found = TForm2::ResolvePage(path);
    if (found.isEmpty() || !TForm2::InsideHelp(found))
        return page ? TForm2::MissingPageHtml(path) : QVariant();
    const qint64 largest = TForm2::LargestResource(type);
    if (QFileInfo(found).size() > largest) return page ? TForm2::TooLargePageHtml(path) : QVariant();
    QFile file(found);
    if (!file.open(QIODevice::ReadOnly)) return page ? TForm2::MissingPageHtml(path) : QVariant();
    const QByteArray bytes = file.read(largest);
    const double scale = WidgetScale(window());
    if (scale == 1.0) return bytes;
    // Shown larger, the page's pictures and fixed widths grow with its text.
    if (page) return ScaledPageLengths(QString::fromUtf8(bytes), scale);
    if (type != QTextDocument::ImageResource) return bytes;
    const QImage picture = QImage::fromData(bytes);
    if (picture.isNull()) return bytes;
    if (picture.hasAlphaChannel())
        return picture.scaled(picture.size() * scale, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return SharpBlendScaled(picture, scale);
}

void HelpBrowser::doSetSource(const QUrl& name, QTextDocument::ResourceType type) {
    if (!name.isLocalFile() || !TForm2::InsideHelp(name.toLocalFile())) return;
    QTextBrowser::doSetSource(name, type);
}

TForm2::TForm2(QWidget* parent)
    : QWidget(parent,
              Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinimizeButtonHint) {
    setObjectName(QStringLiteral("Form2"));
    setFixedSize(510, 518);
    CppWebBrowser1 = new HelpBrowser(this);
    CppWebBrowser1->setObjectName(QStringLiteral("CppWebBrowser1"));
    CppWebBrowser1->setGeometry(0, 0, 510, 518);
    setFocusProxy(CppWebBrowser1);

    // A worksheet or lesson goes to paper or to a PDF file; both also from the page's context menu.
    auto* print = new QAction(QStringLiteral("打印…"), this);
    print->setShortcut(QKeySequence::Print);
    print->setShortcutContext(Qt::WindowShortcut);
    connect(print, &QAction::triggered, this, [this] { PrintPage(); });
    auto* pdf = new QAction(QStringLiteral("导出 PDF…"), this);
    connect(pdf, &QAction::triggered, this, [this] { AskExportPdf(); });
    addAction(print);
    addAction(pdf);
    CppWebBrowser1->PageActions = {print, pdf};
    SetAccessible(this, QStringLiteral("帮助"), QStringLiteral("操作说明和教学页"));
    SetAccessible(CppWebBrowser1, QStringLiteral("帮助页"), QStringLiteral("本实验的操作说明或教学内容"));
}

QStringList TForm2::InstalledDataFolders() {
    QStringList folders;
    // The data folder as seen from the program's own folder first, so that a package installed
    // under another prefix than the build was configured for still finds its pages.
    if (QCoreApplication::instance()) {
        folders << QDir::cleanPath(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                   QStringLiteral(VLAB_DATA_FROM_BIN));
    }
    const QString configured = QDir::cleanPath(QStringLiteral(VLAB_DATA_DIR));
    if (!folders.contains(configured)) folders << configured;
    return folders;
}

QString TForm2::ResolvePage(const QString& path) {
    if (!path.isEmpty() && QFileInfo(path).isFile()) return path;
    const QString relative = HelpRelative(path);
    if (relative.isEmpty()) return {};
    for (const QString& folder : InstalledDataFolders()) {
        const QString installed = folder + QLatin1Char('/') + relative;
        if (QFileInfo(installed).isFile()) return installed;
    }
    return {};
}

bool TForm2::InsideHelp(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo file(path);
    // An existing file is judged by where it really lies; a missing one by its cleaned path.
    const QString where = file.exists() ? file.canonicalFilePath() : QDir::cleanPath(file.absoluteFilePath());
    // The help folder under the program folder, the installed one, and the one the requested page
    // lies in (the lab window always asks for a page of its own help folder).
    const qsizetype at = HelpPagePath.lastIndexOf(QLatin1String("/help/"));
    const QString requested = at >= 0 ? HelpPagePath.left(at + 5) : QString();
    for (const QString& folder :
         {ProgramFolder + QStringLiteral("/help"), QStringLiteral(VLAB_DATA_DIR "/help"), requested}) {
        if (folder.isEmpty()) continue;
        const QFileInfo root(folder);
        const QString top =
            root.exists() ? root.canonicalFilePath() : QDir::cleanPath(root.absoluteFilePath());
        if (!top.isEmpty() && where.startsWith(top + QLatin1Char('/'))) return true;
    }
    return false;
}

namespace {
// The viewer's own short page: a heading and one sentence about the file it could not show.
QString NoticePage(const QString& heading, const QString& sentence, const QString& path) {
    return QStringLiteral(
               "<html><body style=\"font-family: '宋体'\"><h3>%1</h3>"
               "<p>文件 <b>%2</b> %3</p>"
               "<p>请确认程序目录下的 help 文件夹完整。</p></body></html>")
        .arg(heading, path.toHtmlEscaped(), sentence);
}
}  // namespace

QString TForm2::TooLargePageHtml(const QString& path) {
    return NoticePage(QStringLiteral("帮助页太大"), QStringLiteral("太大，不像是帮助页，没有打开。"), path);
}

QString TForm2::MissingPageHtml(const QString& path) {
    return NoticePage(QStringLiteral("找不到帮助页"), QStringLiteral("不存在或无法读取。"), path);
}

void TForm2::FormShow() {
    const QString found = ResolvePage(HelpPagePath);
    const bool tooLarge = !found.isEmpty() && QFileInfo(found).size() > kLargestPage;
    shownFile_ = tooLarge ? QString() : found;
    if (found.isEmpty() || tooLarge) {
        CppWebBrowser1->clearHistory();
        CppWebBrowser1->setHtml(tooLarge ? TooLargePageHtml(HelpPagePath) : MissingPageHtml(HelpPagePath));
    } else {
        CppWebBrowser1->setSource(QUrl::fromLocalFile(found));
    }
    CppWebBrowser1->setFocus();
}

void TForm2::PrintPage() {
    QPrinter printer;
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("打印帮助页"));
    if (dialog.exec() != QDialog::Accepted) return;
    PrintOn(printer);
}

void TForm2::PrintOn(QPagedPaintDevice& device) const {
    if (WidgetScale(this) == 1.0) {
        CppWebBrowser1->document()->print(&device);
        return;
    }
    // Shown larger, the page goes to paper as it is at the normal size: the same page laid out
    // afresh in the viewer's own font, its pictures at their own size.
    HelpBrowser paper;
    paper.setFont(NormalFont(this));
    if (CppWebBrowser1->source().isValid())
        paper.setSource(CppWebBrowser1->source());
    else
        paper.setHtml(CppWebBrowser1->toHtml());
    paper.document()->print(&device);
}

void TForm2::Rescaled() {
    if (!isVisible()) return;  // laid out afresh the next time it is shown
    if (QScreen* s = screen()) {
        const QRect frame = frameGeometry();
        move(s->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
    }
    if (!CppWebBrowser1->source().isValid()) return;
    // The page again, its pictures at the new scale, at the same share of its length.
    QScrollBar* bar = CppWebBrowser1->verticalScrollBar();
    const double share = bar->maximum() > 0 ? double(bar->value()) / bar->maximum() : 0.0;
    CppWebBrowser1->reload();
    bar->setValue(static_cast<int>(std::lround(share * bar->maximum())));
}

void TForm2::AskExportPdf() {
    QString name = CppWebBrowser1->documentTitle().simplified();
    for (const QChar c : QStringLiteral("/\\:*?\"<>|")) name.replace(c, u'_');  // not allowed in a file name
    if (name.isEmpty()) name = QStringLiteral("帮助页");
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("导出 PDF"),
                                                      QDir::home().filePath(name + QStringLiteral(".pdf")),
                                                      QStringLiteral("PDF 文件 (*.pdf)"));
    if (path.isEmpty()) return;  // cancelled: nothing is written
    SaveFileAndReport(this, path, [this](QIODevice& out) { return WritePdf(out); });
}

bool TForm2::WritePdf(QIODevice& out) const {
    QPdfWriter writer(&out);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    writer.setTitle(CppWebBrowser1->documentTitle());
    writer.setCreator(QStringLiteral("vlab"));
    PrintOn(writer);
    return true;
}

QString TForm2::ExportPdf(const QString& path) const {
    return SaveFileAtomically(path, [this](QIODevice& out) { return WritePdf(out); });
}

void TForm2::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    // Centred on the screen each time it is shown, frame included.
    if (QScreen* s = screen()) {
        const QRect frame = frameGeometry();
        const QPoint topLeft =
            s->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2);
        move(topLeft);
    }
    FormShow();
}

}  // namespace vlab
