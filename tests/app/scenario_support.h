#pragma once
// Shared by the scenario tests: plays scenarios through the built vlab-script, each in a folder of
// the test's own, and reads back the dumps and traces it wrote.

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace vlab::test {

struct Outcome {
    int status = -1;
    QString errors;
};

inline QString ScenarioPath(const QString& name) {
    return QStringLiteral(VLAB_SOURCE_DIR "/tests/app/scenarios/") + name;
}

// Runs vlab-script in folder with the given arguments, feeding input on standard input.
inline Outcome Play(const QString& folder, const QStringList& arguments, const QByteArray& input = {}) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(VLAB_SCRIPT), arguments);
    Outcome out;
    if (!process.waitForStarted(30000)) return out;
    process.write(input);
    process.closeWriteChannel();
    // A scenario never waits; this bound only keeps a broken runner from stalling the suite.
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return out;
    }
    out.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    out.errors = QString::fromUtf8(process.readAllStandardError());
    return out;
}

inline Outcome PlayFile(const QString& folder, const QString& scenario) {
    return Play(folder, {ScenarioPath(scenario)});
}
inline Outcome PlayText(const QString& folder, const QString& text) {
    return Play(folder, {QStringLiteral("-")}, text.toUtf8());
}

// A kept scenario played from standard input, with more lines after it.
inline Outcome PlayThen(const QString& folder, const QString& scenario, const QString& more) {
    QFile file(ScenarioPath(scenario));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return Play(folder, {QStringLiteral("-")}, file.readAll() + more.toUtf8());
}

inline QJsonObject Load(const QString& folder, const QString& name) {
    QFile file(folder + u'/' + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

// A dump read from its own path.
inline QJsonObject Load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QJsonDocument::fromJson(file.readAll()).object();
}

inline QJsonObject Control(const QJsonObject& dump, const char* name) {
    return dump.value(QStringLiteral("controls")).toObject().value(QLatin1String(name)).toObject();
}
inline bool Visible(const QJsonObject& dump, const char* name) {
    return Control(dump, name).value(QStringLiteral("visible")).toBool();
}
inline bool Enabled(const QJsonObject& dump, const char* name) {
    return Control(dump, name).value(QStringLiteral("enabled")).toBool();
}
inline QString Text(const QJsonObject& dump, const char* name) {
    return Control(dump, name).value(QStringLiteral("text")).toString();
}
inline bool WindowShown(const QJsonObject& dump, const char* name) {
    return dump.value(QStringLiteral("windows"))
        .toObject()
        .value(QLatin1String(name))
        .toObject()
        .value(QStringLiteral("visible"))
        .toBool();
}
inline bool WindowModal(const QJsonObject& dump, const char* name) {
    return dump.value(QStringLiteral("windows"))
        .toObject()
        .value(QLatin1String(name))
        .toObject()
        .value(QStringLiteral("modal"))
        .toBool();
}
inline double Number(const QJsonObject& dump, const char* name) {
    return dump.value(QLatin1String(name)).toDouble();
}
// Entry i of an array variable.
inline double Entry(const QJsonObject& dump, const char* name, int i) {
    return dump.value(QLatin1String(name)).toArray().at(i).toDouble();
}
inline bool TimerActive(const QJsonObject& dump) {
    return dump.value(QStringLiteral("Timer1")).toObject().value(QStringLiteral("active")).toBool();
}
inline int TimerInterval(const QJsonObject& dump) {
    return dump.value(QStringLiteral("Timer1")).toObject().value(QStringLiteral("interval")).toInt();
}

// A scenario made of lines, played from standard input.
inline Outcome PlayLines(const QString& folder, const QStringList& lines) {
    return PlayText(folder, lines.join(u'\n') + u'\n');
}

// The same, with the lab window at a scale (vlab-script --scale F).
inline Outcome PlayLinesAt(const QString& folder, const QStringList& lines, const QString& scale) {
    return Play(folder, {QStringLiteral("--scale"), scale, QStringLiteral("-")},
                (lines.join(u'\n') + u'\n').toUtf8());
}

// The lab's variables and the controls, without the parts named: what two runs must share.
inline QJsonObject Without(QJsonObject dump, const QStringList& names) {
    for (const QString& name : names) dump.remove(name);
    return dump;
}

// Two pictures written by scenarios show the same pixels (and both exist).
inline bool SamePixels(const QString& a, const QString& b) {
    const QImage first(a), second(b);
    return !first.isNull() &&
           first.convertToFormat(QImage::Format_RGB32) == second.convertToFormat(QImage::Format_RGB32);
}

// The lines of a CSV file, without the byte-order mark an exported file starts with.
inline QStringList CsvRows(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
    return text.split(u'\n', Qt::SkipEmptyParts);
}

// The numbers of a CSV file's rows under its header row, a list per row; a comment line ("# ...")
// ends them.
inline QList<QList<double>> CsvNumbers(const QString& path) {
    QList<QList<double>> table;
    const QStringList rows = CsvRows(path);
    for (qsizetype i = 1; i < rows.size() && !rows[i].startsWith(u'#'); ++i) {
        QList<double> row;
        for (const QString& cell : rows[i].split(u',')) row.append(cell.toDouble());
        table.append(row);
    }
    return table;
}

}  // namespace vlab::test
