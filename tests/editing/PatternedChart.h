#pragma once
// A chart for the editing commands' tests whose every cell carries a distinct pattern
// of all attributes, so a stray write anywhere shows.

#include "document/CellSelection.h"
#include "document/TCell.h"

#include <memory>
#include <string>

namespace solvena {

inline std::unique_ptr<TCell> patterned()
{
    auto cell = std::make_unique<TCell>();
    for (int c = 0; c < kMaxCols; ++c) {
        for (int r = 0; r < kMaxRows; ++r) {
            cell->level[c][r] = (c + r) % 3;
            cell->delay[c][r] = c - r;
            cell->cellFlags[c][r] = static_cast<uint8_t>((c * 7 + r) & 7);
        }
        cell->timingLine[c] = c % 2;
    }
    for (int r = 0; r < kMaxRows; ++r)
        cell->signalName[r] = "N" + std::to_string(r);
    return cell;
}

inline bool inside(const CellSelection& s, int c, int r)
{
    return c >= s.left && c <= s.right && r >= s.top && r <= s.bottom;
}

// `chart` with the levels of `levelsFrom`: equal to the original when a command
// changed nothing but levels.
inline std::unique_ptr<TCell> withLevelsOf(const TCell& chart, const TCell& levelsFrom)
{
    auto copy = std::make_unique<TCell>(chart);
    for (int c = 0; c < kMaxCols; ++c)
        for (int r = 0; r < kMaxRows; ++r)
            copy->level[c][r] = levelsFrom.level[c][r];
    return copy;
}

}  // namespace solvena
