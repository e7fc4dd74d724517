#pragma once
// The run's numbers: Setting starts a record of the experiment on show, every tick after it adds a
// row (TickCount, then the experiment's export columns), and Ctrl+E writes them out as CSV.

#include <QByteArray>

#include <cstddef>

namespace vlab {

// Rows kept per run; a longer run keeps its first rows and its file says so on the last line.
inline constexpr std::size_t kRecordedRowLimit = 100000;

// A fresh record of the experiment on show, with this tick's row (the set-up's first picture).
void StartRunRecord();
// Adds this tick's row to the record, if there is one.
void RecordTick();
// Forgets the record (another experiment chosen, or the program's start values).
void ClearRunRecord();
// Rows held, and whether ticks went unrecorded past the bound.
std::size_t RecordedRows();
bool RecordOverflowed();
// The record as a spreadsheet file: UTF-8 with a byte-order mark, a header row, comma-separated
// numbers in shortest form. Without a record (no Setting yet), just the header of the experiment on
// show, or TickCount alone.
QByteArray RunRecordCsv();

}  // namespace vlab
