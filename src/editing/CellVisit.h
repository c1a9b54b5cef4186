#pragma once
// Visiting the cells of a selection, the one loop every editing command runs.

#include "document/CellSelection.h"
#include "document/TCell.h"

#include <algorithm>
#include <cstdint>

// Calls fn(column, row) for every cell of the block, row by row, each row from left
// to right. Parts of the block outside the record are skipped rather than trusted, so
// a bad selection can never reach past it.
template <typename Fn>
void forEachCell(const CellSelection& s, Fn&& fn)
{
    const int32_t left = std::max<int32_t>(0, std::min(s.left, s.right));
    const int32_t right = std::min<int32_t>(kMaxCols - 1, std::max(s.left, s.right));
    const int32_t top = std::max<int32_t>(0, std::min(s.top, s.bottom));
    const int32_t bottom = std::min<int32_t>(kMaxRows - 1, std::max(s.top, s.bottom));
    for (int32_t r = top; r <= bottom; ++r) {
        for (int32_t c = left; c <= right; ++c)
            fn(c, r);
    }
}
