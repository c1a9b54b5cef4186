#pragma once
// Chart files by path, for the window and the command-line renderer alike: reading
// takes regular files of a sensible size only and gives a reason on failure; writing
// replaces the file only once the whole chart is in it.

#include "document/GridLayout.h"
#include "document/TCell.h"
#include "formats/ChartFile.h"
#include "storage/FileIdentity.h"

#include <QString>

// Far beyond any chart the record can hold; keeps a mistaken choice of a huge file
// from being read into memory whole.
inline constexpr qint64 kMaxChartFileBytes = 16 * 1024 * 1024;

// What reading a chart file by path gave.
struct ChartFileRead {
    LoadedChart chart;   // ok only when the file was read and understood
    Reason error;            // why not: the system's reason, or ours at its line
    Reason warning;          // at its line, when the file was read but is inconsistent
    FileIdentity identity;   // of the file as it was read

    bool ok() const { return error.empty(); }
};

ChartFileRead readChartFile(const QString& path);

// Writes the chart's file, all or nothing. Returns why it could not be written (the
// system's reason, or why the chart cannot be stored as a file), none on success.
// `written`, when given, receives the identity of the file written.
Reason writeChartFile(const QString& path, const TCell& chart, const GridLayout& layout,
                       FileIdentity* written = nullptr);
