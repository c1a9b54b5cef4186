#pragma once
// WaveJSON: a chart's levels and names written as { signal: [{ name, wave }, ...] }
// for other timing-diagram tools, and such a text read back into a fresh record.
//
// Writing: one signal per chart row 1 .. m-1; the wave has one character per step
// column 1 .. n-1: "0" low, "1" high, "x" any other level, "." where the character
// would repeat the previous step's. Names are decoded from CP932; a name the reader
// would refuse (damaged bytes, a CR) refuses the whole export. Plain JSON, UTF-8, one
// signal a line, so that any JSON or JSON5 reader takes it. A chart without signals
// has no wave to carry its steps: it reads back as a chart of one column.
//
// Reading (JSON5, see Json5.h), all or nothing:
//   - Signals in order; groups (nested arrays, whose leading string is a caption)
//     are flattened; an entry without a wave (a spacer {} included) is a low row.
//   - "1 h H" high, "0 l L" low, "x z = 2-9 u d" undefined; "." and "|" repeat the
//     whole previous step, a clock step included (with its arrow). At the first step
//     they give undefined, as nothing is known before it.
//   - "p P n N" are clocks. When any signal has one, every step becomes two columns:
//     p/P high then low, n/N low then high; any other character fills both. "P" puts
//     the rising arrow on its first column and "N" the falling arrow on the column
//     before it (the flag stands on the high cell left of the edge). An arrow goes
//     only where its edge is really there: a P after a high step, an N after a low
//     step or at the very first column has no edge to mark and gets no arrow.
//   - `period`, a whole number 1 .. 99, stretches each step of its signal to that
//     many steps (a clock: the first half high, the second low, for p).
//   - Shorter signals are padded to the longest by repeating their last step, so a
//     clock keeps running and a level holds; a step cut by the end is cut there.
//   - `phase`, `node`, `data`, `edge`, `config`, `head`, `foot` and any other key the
//     chart cannot hold are skipped, named in one warning line; group captions in
//     another.
// Refused with a message naming the signal (by name, or by its place when unnamed):
// a name CP932 cannot hold or holding a CR (the chart file could not save it),
// `name` or `wave` not a string, a wave character outside the classes above, a
// `period` that is not a whole number 1 .. 99, more than 99 signals or steps, and a
// text that is not JSON5 or has no `signal` array at the top.

#include "document/GridLayout.h"
#include "document/TCell.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// What writing a chart as WaveJSON gave.
struct WaveJsonExport {
    std::string text;                 // UTF-8, ends with a line break
    bool attributesLeftOut = false;   // the chart has something WaveJSON cannot hold
    std::string notice;               // one line naming what was left out (UTF-8), or empty
};

// The WaveJSON text of the chart within the layout's counts (1 .. 100 each). Delays,
// arrows, number labels and timing lines within the grid count as left out; so do
// column widths other than those of a new grid. Throws std::invalid_argument for
// counts outside the limits, and for a name the import would refuse (bytes that are
// not CP932, a CR), naming its row: nothing is written that cannot be read back.
WaveJsonExport exportWaveJson(const TCell& chart, const GridLayout& layout);

// What reading a WaveJSON text gave; shaped like ChartLoadResult.
struct WaveJsonImportResult {
    bool ok = false;
    // A fresh record holding only the imported signals; its colCount and rowCount
    // fields carry the counts below. Set only when ok.
    std::unique_ptr<TCell> chart;
    int32_t colCount = 0;               // 1 + the number of steps (1 .. 100)
    int32_t rowCount = 0;               // 1 + the number of signals (1 .. 100)
    std::vector<int32_t> colWidths;     // the default widths of columns 0 .. colCount-1
    std::vector<std::string> warnings;  // lines for the user (UTF-8), also when ok
    std::string errorMessage;           // for the user, Japanese UTF-8 (when !ok)
};

// Reads a WaveJSON text (UTF-8 JSON5).
WaveJsonImportResult importWaveJson(std::string_view text);
