#include "registry/run_record.h"

#include <QString>

#include <vector>

#include "draw/numeric.h"
#include "lab/lab_state.h"
#include "registry/registry.h"

namespace vlab {

namespace {

// One flat array of numbers, a row after the other, so that a tick costs one append per column.
struct RunRecord {
    const Experiment* experiment = nullptr;
    std::size_t width = 0;  // numbers per row: TickCount and the columns
    std::vector<double> values{};
    bool overflowed = false;
};

RunRecord record;

RunRecord& Record() { return record; }

// Rows reserved at the start of a run: enough for most runs without growing.
constexpr std::size_t kReservedRows = 4096;

}  // namespace

void StartRunRecord() {
    RunRecord& r = Record();
    r.experiment = FindExperiment(ExperimentCode);
    r.values.clear();
    r.overflowed = false;
    if (!r.experiment) return;
    r.width = 1 + r.experiment->columns.size();
    r.values.reserve(kReservedRows * r.width);
    RecordTick();
}

void RecordTick() {
    RunRecord& r = Record();
    if (!r.experiment) return;
    if (r.values.size() >= kRecordedRowLimit * r.width) {
        r.overflowed = true;
        return;
    }
    r.values.push_back(TickCount);
    for (const ExportColumn& c : r.experiment->columns) r.values.push_back(c.value());
}

void ClearRunRecord() {
    RunRecord& r = Record();
    r.experiment = nullptr;
    r.width = 0;
    r.overflowed = false;
    std::vector<double>().swap(r.values);
}

std::size_t RecordedRows() {
    const RunRecord& r = Record();
    return r.width == 0 ? 0 : r.values.size() / r.width;
}

bool RecordOverflowed() { return Record().overflowed; }

QByteArray RunRecordCsv() {
    const RunRecord& r = Record();
    const Experiment* e = r.experiment ? r.experiment : FindExperiment(ExperimentCode);
    QString text = QStringLiteral("步数 TickCount");
    if (e)
        for (const ExportColumn& c : e->columns) text += u',' + QString::fromUtf8(c.header);
    text += u'\n';
    for (std::size_t i = 0; i < r.values.size(); ++i) {
        text += ShortestText(r.values[i]);
        text += (i + 1) % r.width == 0 ? u'\n' : u',';
    }
    if (r.overflowed) text += QStringLiteral("# 只记录了前 %1 步，之后的步没有记录\n").arg(kRecordedRowLimit);
    return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
}

}  // namespace vlab
