#pragma once
// A chart from a value change dump: the chosen signals, one row each, sampled at the
// chosen steps.
//
// Steps: with a clock, step k starts at the k-th edge of the clock (its level going
// from low to high or from high to low) at or after the start time, so every step is
// half a clock period and the clock draws as a clock. Without one, step k (from 0)
// starts at start + k x step.
// Cells: each takes its signal's value at its step's start, after every change at that
// instant: 0 -> low, 1 -> high, x, z and anything else -> undefined. A vector that is
// not split is low when all its bits are 0, high when all are 1, undefined otherwise;
// a value shorter than the vector is widened as the dump format says (with 0, or with
// its leftmost x or z). A real is low at 0.0, high at 1.0, undefined otherwise. A signal
// no value has reached yet, and every signal from $dumpoff until its next value, is
// undefined.
// The dump is read only up to the instant after the last step; a window that runs past
// the dump's last instant (or its clock's last edge) ends there, with a note.
// Names are the signals' own ("count", "count[3]" for a split bit); where two rows
// would have the same name, those rows carry their scope path ("tb.dut.count"). A name
// CP932 cannot hold refuses the whole chart, naming it.

#include "storage/ByteSource.h"
#include "formats/ChartFile.h"
#include "formats/VcdChoices.h"
#include "formats/VcdHeader.h"
#include "formats/VcdReader.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace solvena {

// One row of the chart: a variable, whole or one of its bits.
struct VcdRow {
    int32_t var = 0;   // index into VcdHeader::vars
    int32_t bit = -1;  // place from the right (0 = the rightmost bit); -1 for the whole variable

    bool operator==(const VcdRow&) const = default;
};

// The choices' signals found in a header.
struct VcdSelection {
    std::vector<VcdRow> rows;
    std::optional<VcdRow> clock;         // a one-bit variable or one bit of a vector
    std::vector<Reason> notes;           // such as signals left out
    Reason error;                        // why the choices do not fit the dump

    bool ok() const { return error.empty(); }
};

// Finds the rows and the clock the choices name; an error for a name the dump does not
// have or has more than once, a bit the vector does not have, a clock that is not one
// bit (a bit of a vector will do), no rows, or more than 99 rows.
VcdSelection selectVcdSignals(const VcdHeader& header, const VcdChoices& choices);

// The path of a one-bit signal whose name says it is a clock ("clk", "sys_clk",
// "clock", "CLK_I"), for a dialog to propose; empty when there is none.
std::string suggestedVcdClock(const VcdHeader& header);

// Samples the dump into a fresh chart. `reader` has read the header and nothing after
// it. On failure errorLine is the dump's line (0 when the choices are at fault) and
// errorReason says what was expected there; notes name what was left out or assumed.
LoadedChart sampleVcdChart(VcdReader& reader, const VcdChoices& choices);

// The same from the first byte of a dump.
LoadedChart readVcdChart(ByteSource& source, const VcdChoices& choices);

}  // namespace solvena
