#pragma once
// A chart for edge delays of any 32-bit value: every line a delay moves (level lines,
// edges, the hatch of undefined cells) on both sides of one column whose delay is set,
// with arrows and a timing line beside them, and no text. And the delay that puts the
// same edge just beyond the picture, for comparing pictures with.

#include "document/TCell.h"

#include <cstdint>

namespace solvena {

// Columns 1..5 of rows 1..3, every level beside every other; column 3's edge is
// moved by `delay` in every row.
inline void putDelayedChart(TCell& chart, int32_t delay)
{
    for (int r = 1; r <= 3; ++r) {
        for (int c = 1; c <= 5; ++c) {
            chart.level[c][r] = (c + r) % 3;
            chart.cellFlags[c][r] = kFlagRisingArrow | kFlagFallingArrow;
        }
        chart.delay[3][r] = delay;
    }
    chart.timingLine[4] = 1;
}

// For an edge at x in a picture `width` wide: a delay that puts it 16 to 20 pixels
// beyond the picture on the side `delay` does, with the same remainder by 5, which
// is where a hatch's strokes stand.
inline int32_t justBeyond(int32_t delay, int x, int width)
{
    const int64_t target = delay < 0 ? -20 - int64_t{x} : int64_t{width} + 20 - x;
    const int64_t remainder = ((target - delay) % 5 + 5) % 5;
    return static_cast<int32_t>(target - remainder);
}

}  // namespace solvena
