#include "editing/LevelCommands.h"

#include <algorithm>

namespace {

// Visits the block's cells row by row; parts of the block outside the record are
// skipped rather than trusted, so a bad selection can never write past it.
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

}  // namespace

void setLevel(TCell& cell, const CellSelection& selection, int32_t level)
{
    forEachCell(selection, [&](int32_t c, int32_t r) { cell.level[c][r] = level; });
}

void invertLevels(TCell& cell, const CellSelection& selection)
{
    forEachCell(selection,
                [&](int32_t c, int32_t r) { cell.level[c][r] = invertLevel(cell.level[c][r]); });
}
