#include "dialog/save_file.h"

#include <QBuffer>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>

namespace vlab {

QString SaveFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write) {
    // The content is made in memory first: writers such as the PDF engine do not look at what
    // each write returns, and a write cut short by a full disk or a size limit must not pass.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!write(buffer)) return QStringLiteral("内容无法生成");
    buffer.close();

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        // A write cut short by a size limit leaves no reason of its own.
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason.isEmpty() || reason == QLatin1String("Unknown error")
                   ? QStringLiteral("只写入了一部分（磁盘已满，或文件大小受到限制）")
                   : reason;
    }
    // Only now does the new file take the name; an earlier file of that name stays until then.
    if (!file.commit()) return file.errorString();
    return {};
}

bool SaveFileAndReport(QWidget* parent, const QString& path, const std::function<bool(QIODevice&)>& write) {
    const QString problem = SaveFileAtomically(path, write);
    if (problem.isEmpty()) return true;
    QMessageBox::warning(parent, QStringLiteral("保存失败"),
                         QStringLiteral("文件 %1 没有保存：%2").arg(QFileInfo(path).fileName(), problem));
    return false;
}

}  // namespace vlab
