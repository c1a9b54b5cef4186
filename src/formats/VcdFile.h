#pragma once
// Value change dumps by path, for the window and the command line alike: first the
// header, for the VCD dialog to offer the signals; then the chart the user's choices
// make of the dump. Both read the file as a stream, only as far as they need.

#include "formats/ChartFileIO.h"
#include "formats/VcdChoices.h"
#include "formats/VcdHeader.h"

#include <QString>

#include <memory>

namespace solvena {

// What reading a dump's header gave.
struct VcdHeaderRead {
    std::shared_ptr<const VcdHeader> header;   // set when ok
    Reason error;    // why not: the system's reason, or the dump's at its line

    bool ok() const { return error.empty(); }
};

// Reads the definitions of the dump at `path` (a regular file), not its values.
VcdHeaderRead readVcdHeaderFile(const QString& path);

// Reads the dump at `path` into a chart as `choices` say. The chart comes untitled:
// error as for a chart file (at the dump's line, or the reason alone when the choices
// do not fit the dump); chart.notes name what was left out or assumed.
ChartFileRead readVcdChartFile(const QString& path, const VcdChoices& choices);

}  // namespace solvena
