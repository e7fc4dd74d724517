#pragma once
// Writing a file the user chose. The bytes go through QSaveFile: they replace the named file only
// once every one of them is written, so a failed write (a folder that cannot be written, a full
// disk, a file-size limit) leaves any earlier file of that name as it was, and no half file.

#include <QString>

#include <functional>

class QIODevice;
class QWidget;

namespace vlab {

// Writes the file through `write` (which returns false when it could not produce its content).
// Returns an empty string when the file is in place, else the reason in the user's words.
QString SaveFileAtomically(const QString& path, const std::function<bool(QIODevice&)>& write);

// The same, and a failure is shown in a message box over `parent`. True when the file is written.
bool SaveFileAndReport(QWidget* parent, const QString& path, const std::function<bool(QIODevice&)>& write);

}  // namespace vlab
