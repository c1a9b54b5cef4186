#pragma once
// The largest chart the record holds, shared by the benchmarks: 99 signals of 99 steps,
// every signal named, levels, delays and flags varied, and the grid that shows it all.

#include "document/GridLayout.h"
#include "document/TCell.h"

#include <memory>
#include <string>

namespace solvena {

inline std::unique_ptr<TCell> fullChart()
{
    auto chart = std::make_unique<TCell>();
    for (int c = 0; c < kMaxCols; ++c) chart->timingLine[c] = c % 10 == 0;
    for (int r = 1; r < kMaxRows; ++r) {
        // "信号" and a number, the usual shape of a name.
        chart->signalName[r] = "\x90\x4d\x8d\x86 DATA_" + std::to_string(r);
        for (int c = 1; c < kMaxCols; ++c) {
            chart->level[c][r] = (c / (r % 7 + 1)) % 3;
            chart->delay[c][r] = (c * r) % 9 - 4;
            chart->cellFlags[c][r] = static_cast<uint8_t>((c + r) % 8);
        }
    }
    return chart;
}

// Every column and row the record holds, at the sizes a new grid has.
inline GridLayout fullGrid()
{
    GridLayout grid;
    setColCount(grid, kMaxCols);
    setRowCount(grid, kMaxRows);
    return grid;
}

}  // namespace solvena
