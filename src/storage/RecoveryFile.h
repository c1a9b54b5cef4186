#pragma once
// The recovery file: a copy of unsaved work that a crash, a killed process or a power
// cut cannot take away. It holds what is needed to show the chart again as it was:
// the document's file name and the window's caption, then the chart exactly as a chart
// file stores it (record, counts, widths).
//
//   SOLVENA-RECOVERY 1 CR LF
//   path N CR LF, then N bytes of the document's file name (UTF-8), CR LF
//   caption N CR LF, then N bytes of the caption (UTF-8), CR LF
//   the chart file's bytes
//
// Reading is all or nothing, as for chart files.

#include "document/GridLayout.h"
#include "document/TCell.h"
#include "storage/ChartFile.h"

#include <string>
#include <string_view>

// The bytes of a recovery file. Throws std::invalid_argument where the chart itself
// could not be stored as a file (see SaveChart).
std::string SaveRecovery(const TCell& chart, const GridLayout& layout, std::string_view documentPath,
                         std::string_view caption);

struct RecoveryLoadResult {
    bool ok = false;
    ChartLoadResult chart;       // the chart part, read as a chart file is
    std::string documentPath;    // UTF-8, empty for an untitled chart
    std::string caption;         // UTF-8
    std::string error;           // for the user (UTF-8), when !ok
};

RecoveryLoadResult LoadRecovery(std::string_view bytes);
