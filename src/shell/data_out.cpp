#include "shell/data_out.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>
#include <QMenu>
#include <QWidget>

#include "dialog/save_file.h"
#include "draw/canvas.h"
#include "lab/lab_state.h"
#include "registry/registry.h"
#include "registry/run_record.h"

namespace vlab {

namespace {

// Marks the lab window's actions that the surface's menu shows.
constexpr const char* kMenuEntry = "vlabSurfaceMenu";

// The commands live on the lab window, so that their keys work wherever its focus is and a modal
// window (the panel, the dialog) keeps them away while it is open.
QAction* AddCommand(QWidget* window, const QString& text, const QKeySequence& key, void (*run)(QWidget*)) {
    auto* action = new QAction(text, window);
    action->setObjectName(text);
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setProperty(kMenuEntry, true);
    QObject::connect(action, &QAction::triggered, window, [window, run] { run(window); });
    window->addAction(action);
    return action;
}

}  // namespace

void InstallDataOut(QWidget* labWindow) {
    AddCommand(labWindow, QStringLiteral("复制画面"), QKeySequence::Copy, [](QWidget*) { CopySurface(); });
    AddCommand(labWindow, QStringLiteral("保存画面…"), QKeySequence::Save, AskSaveSurfacePicture);
    AddCommand(labWindow, QStringLiteral("导出数据…"), QKeySequence(Qt::CTRL | Qt::Key_E),
               AskExportRunNumbers);
}

void ShowDataOutMenu(QWidget* labWindow, const QPoint& globalPos) {
    QMenu menu(labWindow);
    for (QAction* action : labWindow->actions())
        if (action->property(kMenuEntry).toBool()) menu.addAction(action);
    menu.exec(globalPos);
}

void CopySurface() { QApplication::clipboard()->setImage(Surface().image().copy()); }

namespace {
// The title as drawn (" 《 摩 擦 力 》") without its brackets and spaces, and the step.
QString FileNameWith(const QString& suffix) {
    QString title;
    if (const Experiment* e = FindExperiment(ExperimentCode)) title = e->title;
    title.remove(u' ').remove(u'《').remove(u'》');
    if (title.isEmpty()) title = QStringLiteral("虚拟实验室");
    return QStringLiteral("%1-第%2步.%3").arg(title).arg(TickCount).arg(suffix);
}
}  // namespace

QString PictureFileName() { return FileNameWith(QStringLiteral("png")); }

QString NumbersFileName() { return FileNameWith(QStringLiteral("csv")); }

QString ExportRunNumbers(const QString& path) {
    const QByteArray csv = RunRecordCsv();
    return SaveFileAtomically(path, [&csv](QIODevice& out) { return out.write(csv) == csv.size(); });
}

void AskExportRunNumbers(QWidget* labWindow) {
    const QString path = QFileDialog::getSaveFileName(labWindow, QStringLiteral("导出数据"),
                                                      QDir::home().filePath(NumbersFileName()),
                                                      QStringLiteral("CSV 表格 (*.csv)"));
    if (path.isEmpty()) return;  // cancelled: nothing is written
    const QByteArray csv = RunRecordCsv();
    SaveFileAndReport(labWindow, path, [&csv](QIODevice& out) { return out.write(csv) == csv.size(); });
}

QString SaveSurfacePicture(const QString& path) {
    const QImage picture = Surface().image().copy();
    return SaveFileAtomically(path, [&picture](QIODevice& out) { return picture.save(&out, "PNG"); });
}

void AskSaveSurfacePicture(QWidget* labWindow) {
    const QString path = QFileDialog::getSaveFileName(labWindow, QStringLiteral("保存画面"),
                                                      QDir::home().filePath(PictureFileName()),
                                                      QStringLiteral("PNG 图片 (*.png)"));
    if (path.isEmpty()) return;  // cancelled: nothing is written
    const QImage picture = Surface().image().copy();
    SaveFileAndReport(labWindow, path, [&picture](QIODevice& out) { return picture.save(&out, "PNG"); });
}

}  // namespace vlab
