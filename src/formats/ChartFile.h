#pragma once
// The chart file: writing a chart as bytes and reading it back, without touching
// any file, grid or window. The document commands do the file and window work.
//
// Format (CP932 text, CR LF line breaks, one blank between numbers):
//   line 1         width and timing line of every grid column 0 .. n-1 ("80 0 15 1 ...")
//   then per signal row r = 1 .. m-1:
//     name line    the signal name's bytes, unquoted
//     data line    level, delay and flags of every step column 1 .. n-1
//   The last data line has no line break after it.
//
// Reading is all or nothing: the file goes into a fresh record, and only a file
// read to its end without error yields a chart. Rules the reader keeps:
//   - A line break is CR LF, a lone CR or a lone LF, so files whose breaks a
//     checkout or a Unix editor turned into LF read as written.
//   - A line has ended when the next byte is CR or LF or the bytes have ended; that
//     test is made only before each pair of the first line and each triple of a
//     data line, so numbers may continue on the next line after a trailing blank.
//   - A number skips every byte <= 0x20 first (across line breaks) and then takes
//     the bytes up to the next byte <= 0x20; they must be an optional sign and
//     decimal digits that fit 32 bits. A number that would begin at the end of the
//     bytes reads as 0.
//   - A name line is every byte up to the next CR or LF.
//   - Flags keep the low 8 bits of their number; levels and delays pass through
//     whatever their value.
//   - A trailing line break after the last data line reads the same as none.
// Failures: a NUL byte anywhere (no chart file holds one; crash debris and other
// binary files do), more than 100 pairs on the first line, more than 99 signal
// blocks, more than 99 triples on a data line, a column width outside 0 .. 10000,
// a token that is not a 32-bit integer.
// A damaged or hand-edited file can be inconsistent without failing. Then every
// step it holds is read, and the result carries a warning naming the first line
// that is not as the writer makes it, so that the user looks before a save
// rewrites the file. The writer's own files never warn. Inconsistent are:
//   - a data line whose triples are more or fewer than the first line's pairs
//     minus one (in a chart with steps, an extra empty line at the end is such a
//     line: it reads as one more signal, with an empty name and no steps);
//   - bytes that end inside the first line or a name line (the writer ends both
//     with a line break), or inside a triple (its missing numbers read as 0);
//   - empty bytes.
// Decisions where the format leaves room:
//   - The longest data line sets the column count, so no step of the file is left
//     out of the grid; cells a shorter data line does not reach are 0.
//   - With no data line at all, the column count is the number of pairs on the
//     first line (at least 1) and the row count is 1.
//   - Widths given for columns at or beyond the column count are dropped; their
//     timing lines stay in the record. A column the first line gives no width
//     for gets the default width (80 for the name column, 15 otherwise).
//   - An empty input is a chart of one column and one row.

#include "document/GridLayout.h"
#include "document/TCell.h"
#include "text/Reason.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace solvena {

inline constexpr int32_t kMaxColumnWidth = 10000;

// The bytes of a chart file for the layout's counts (1 .. 100 each) and column
// widths. Throws ReasonError for counts outside those limits, a width outside 0 .. 10000 or a name holding a CR,
// an LF or a NUL byte: such a file could not be read back as written.
std::string writeChart(const TCell& chart, const GridLayout& layout);

// What reading a chart file gave.
struct LoadedChart {
    bool ok = false;
    // A fresh record holding only what the bytes hold; its colCount and rowCount
    // fields carry the counts below. Set only when ok.
    std::unique_ptr<TCell> chart;
    int32_t colCount = 0;               // the grid's column count the file gives (1 .. 100)
    int32_t rowCount = 0;               // the grid's row count the file gives (1 .. 100)
    std::vector<int32_t> colWidths;     // widths of columns 0 .. colCount-1
    int errorLine = 0;                  // 1-based line where reading stopped (when !ok)
    Reason errorReason;                 // why, without the line (when !ok)
    // When ok: the first line that is not as the writer makes it (1-based), 0 when
    // every line is. The chart is then whole, but a save would not write the same file.
    int warningLine = 0;
    Reason warningReason;               // without the line (when warningLine)
    // What an import left out or assumed, also when ok; the chart file's own reader
    // leaves it empty.
    std::vector<Reason> notes;

    // `base` with the file's counts and column widths.
    GridLayout layout(GridLayout base = {}) const
    {
        applyChartExtent(base, colCount, rowCount, colWidths);
        return base;
    }
};

// Reads a chart file's bytes. Never touches memory beyond the record, whatever
// the bytes.
LoadedChart readChart(std::string_view bytes);

}  // namespace solvena
