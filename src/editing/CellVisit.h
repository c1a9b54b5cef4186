#pragma once
// Visiting the cells of a selection, the one loop every editing command runs.

#include "document/CellSelection.h"
#include "document/TCell.h"

#include <algorithm>
#include <cstdint>

namespace solvena {

// The block with left <= right and top <= bottom, cut to the record. A block wholly
// outside the record comes back empty (left > right or top > bottom).
constexpr CellSelection clampedToRecord(const CellSelection& s)
{
    return CellSelection{std::max<int32_t>(0, std::min(s.left, s.right)),
                         std::max<int32_t>(0, std::min(s.top, s.bottom)),
                         std::min<int32_t>(kMaxCols - 1, std::max(s.left, s.right)),
                         std::min<int32_t>(kMaxRows - 1, std::max(s.top, s.bottom))};
}

// Calls fn(column, row) for every cell of the block, row by row, each row from left
// to right. Parts of the block outside the record are skipped rather than trusted, so
// a bad selection can never reach past it.
template <typename Fn>
void forEachCell(const CellSelection& selection, Fn&& fn)
{
    const CellSelection s = clampedToRecord(selection);
    for (int32_t r = s.top; r <= s.bottom; ++r) {
        for (int32_t c = s.left; c <= s.right; ++c)
            fn(c, r);
    }
}

}  // namespace solvena
