#pragma once
// The help viewer `Form2`: a small tool window showing one help page, opened afresh every time the
// window is shown.

#include <QList>
#include <QStringList>
#include <QTextBrowser>
#include <QWidget>

class QAction;
class QIODevice;
class QPagedPaintDevice;

namespace vlab {

// The page view. Pages and their pictures missing on disk are looked up in the installed data
// folder; a page missing there too is answered with a short page naming the file.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);
    QVariant loadResource(int type, const QUrl& name) override;

    // Entries the page's context menu offers below the view's own (print, save as PDF).
    QList<QAction*> PageActions;

protected:
    // A link is followed only to a page inside the help folder or the installed one.
    void doSetSource(const QUrl& name, QTextDocument::ResourceType type) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);

    HelpBrowser* CppWebBrowser1 = nullptr;

    // Opens HelpPagePath; runs every time the window becomes visible.
    void FormShow();
    // Prints the page shown, through the print dialog (Ctrl+P).
    void PrintPage();
    // Asks where to save the page shown as a PDF file, and saves it there.
    void AskExportPdf();
    // Writes the page shown as a PDF file (A4); empty when it is written, else the reason.
    QString ExportPdf(const QString& path) const;
    // After the window was laid out at another scale: centred again and its page shown afresh.
    void Rescaled();

    // The file actually shown by the last FormShow (empty when the viewer's own "missing" page is shown).
    QString ShownFile() const { return shownFile_; }

    // Where a help page path is found: itself, else the same "help/..." file in the installed
    // data folder, else empty.
    static QString ResolvePage(const QString& path);
    // The installed data folders, in the order they are searched: the one relative to the
    // program's own folder, then the one the build was configured with.
    static QStringList InstalledDataFolders();
    // The viewer's own page for a file that cannot be found.
    static QString MissingPageHtml(const QString& path);
    // The viewer's own page for a file too large to be a help page.
    static QString TooLargePageHtml(const QString& path);
    // True for a file inside the help folder under ProgramFolder, the installed one or the one
    // HelpPagePath lies in,
    // symbolic links followed; a path that climbs out with ".." is outside.
    static bool InsideHelp(const QString& path);
    // Pages and pictures larger than these are not read: the lab's own pages are a few kilobytes,
    // and laying out megabytes of text holds the window thread for seconds (a 4 MiB page takes
    // about 4 s), a file of hundreds of megabytes for minutes.
    static constexpr qint64 kLargestPage = 256 * 1024;
    static constexpr qint64 kLargestPicture = 8 * 1024 * 1024;
    static qint64 LargestResource(int type) {
        return type == QTextDocument::HtmlResource ? kLargestPage : kLargestPicture;
    }

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The page shown, laid out on A4 pages, as PDF into `out`.
    bool WritePdf(QIODevice& out) const;
    void PrintOn(QPagedPaintDevice& device) const;
    QString shownFile_;
};

}  // namespace vlab
