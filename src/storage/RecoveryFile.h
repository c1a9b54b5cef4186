#pragma once
// The recovery file: a copy of unsaved work that a crash, a killed process or a power
// cut cannot take away. It holds what is needed to show the chart again as it was:
// the file the chart belongs to, as it was when last read or written, then the chart
// exactly as a chart file stores it (record, counts, widths).
//
//   SOLVENA-RECOVERY 2 CR LF
//   path N CR LF, then N bytes of the chart's absolute file name (UTF-8), CR LF
//   identity N CR LF, then N bytes: "<size> <modified ns>", or nothing, CR LF
//   the chart file's bytes
//
// Version 1 held the window's caption where version 2 holds the identity; such a copy
// still reads, with no identity. Reading is all or nothing, as for chart files.

#include "document/GridLayout.h"
#include "document/TCell.h"
#include "formats/ChartFile.h"
#include "storage/FileIdentity.h"

#include <optional>
#include <string>
#include <string_view>

namespace solvena {

// The file a chart was opened from or saved to.
struct ChartOrigin {
    std::string path;                       // UTF-8; empty for an untitled chart
    std::optional<FileIdentity> identity;   // the file as last read or written
};

// The bytes of a recovery file. Throws ReasonError where the chart itself
// could not be stored as a file (see writeChart).
std::string writeRecovery(const TCell& chart, const GridLayout& layout, const ChartOrigin& origin);

struct RecoveryLoadResult {
    bool ok = false;
    LoadedChart chart;       // the chart part, read as a chart file is
    ChartOrigin origin;
    Reason error;                // why, when !ok
};

RecoveryLoadResult readRecovery(std::string_view bytes);

}  // namespace solvena
