#pragma once
// Charts read from files by path, for the window and the command-line renderer alike:
// reading takes regular files of a sensible size only and gives a reason on failure.

#include "formats/ChartFile.h"
#include "storage/FileIdentity.h"
#include "text/Reason.h"

#include <QString>

#include <string_view>

namespace solvena {

// Far beyond any chart the record can hold; keeps a mistaken choice of a huge file
// from being read into memory whole.
inline constexpr qint64 kMaxChartFileBytes = 16 * 1024 * 1024;

// What reading a chart from a file gave.
struct ChartFileRead {
    LoadedChart chart;       // ok only when the file was read and understood
    Reason error;            // why not: the system's reason, or the reader's (at its line)
    Reason warning;          // at its line, when the file was read but is inconsistent
    FileIdentity identity;   // of the file as it was read

    bool ok() const { return error.empty(); }
};

// Reads a file whole and hands its bytes to `parse`, a reader over bytes.
ChartFileRead readWholeChartFile(const QString& path, LoadedChart (*parse)(std::string_view bytes));

// The chart file (.sbn, .txt).
ChartFileRead readChartFile(const QString& path);

}  // namespace solvena
