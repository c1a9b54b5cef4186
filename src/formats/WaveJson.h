#pragma once
// WaveJSON: a chart's levels and names written as { signal: [{ name, wave }, ...] }
// for other timing-diagram tools, and such a text read back into a fresh record.
//
// Writing: one signal per chart row 1 .. m-1; the wave has one character per step
// column 1 .. n-1: "0" low, "1" high, "x" any other level, "." where the character
// would repeat the previous step's. Names are decoded from CP932; a name the reader
// would refuse (damaged bytes, a CR, an LF or a NUL) refuses the whole export. Plain JSON, UTF-8, one
// signal a line, so that any JSON or JSON5 reader takes it. A chart without signals
// has no wave to carry its steps: it reads back as a chart of one column.
//
// Reading (JSON5, see Json5.h), all or nothing, with the levels the format's
// reference renderer draws (WaveLane.h says how it lays a wave out):
//   - Signals in order; groups (nested arrays, whose leading string is a caption)
//     are flattened; an entry without a wave (a spacer {} included) or with an empty
//     one is a low row.
//   - "1 h H" high, "0 l L" low, "p P n N" clocks (high then low, or low then high),
//     "x" undefined; "." and "|" repeat the step before; "<...>" are sub-cycles. Every
//     other character (z u d = 2-9, and any the renderer does not know) is undefined,
//     and named once in the notice. "P" and "H" put the rising arrow where they rise,
//     "N" and "L" the falling arrow on the high cell left of where they fall.
//   - `period` (0 < period <= 99) and `phase` (-1000 .. 1000) as numbers or numeric
//     strings; `config.hscale` (rounded, 1 .. 100) as the renderer takes it.
//   - Columns: the longest time that divides a step and on which every level change
//     of every signal falls. Plain levels give a column a step, a clock two; a period
//     of 1.5 or a phase of 0.25 more. hscale widens the step columns instead (up to
//     the widest column the layout commands allow).
//   - Shorter signals continue to the longest by repeating their last character, so a
//     clock keeps running and a level holds; what the end cuts is cut there. A signal
//     its phase moves right is undefined until it starts.
//   - What a chart cannot hold (data labels, node names, edges, gaps "|", group
//     captions, head, foot and any other key) is counted or named in one notice line.
// Refused with a message naming the signal (by name, or by its place when unnamed):
// a name CP932 cannot hold or holding a CR, an LF or a NUL (the chart file could not save it),
// `name` or `wave` not a string, `period` or `phase` not a number or out of range,
// more than 99 signals or columns, a register (`reg`) or logic (`assign`) diagram, a
// text that is not JSON5 or has no `signal` array at the top.

#include "document/GridLayout.h"
#include "document/TCell.h"
#include "formats/ChartFile.h"
#include "text/Reason.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace solvena {

// What writing a chart as WaveJSON gave.
struct WaveJsonExport {
    std::string text;                 // UTF-8, ends with a line break
    bool attributesLeftOut = false;   // the chart has something WaveJSON cannot hold
    Reason notice;                    // what was left out, or none
};

// The WaveJSON text of the chart within the layout's counts (1 .. 100 each). Delays,
// arrows, number labels and timing lines within the grid count as left out; so do
// column widths other than those of a new grid. Throws ReasonError for counts
// outside the limits, and for a name the import would refuse (bytes that are
// not CP932, a CR, an LF or a NUL), naming its row: nothing is written that cannot be read back.
WaveJsonExport writeWaveJson(const TCell& chart, const GridLayout& layout);

// Reads a WaveJSON text (UTF-8 JSON5) as a chart, never at a line: the error and the
// notes (what was left out or read otherwise, one line) are whole reasons. Column
// widths: the name column's default, the steps by hscale.
LoadedChart readWaveJson(std::string_view text);

}  // namespace solvena
