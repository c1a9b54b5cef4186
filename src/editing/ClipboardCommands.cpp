#include "editing/ClipboardCommands.h"

#include "editing/CellVisit.h"
#include "editing/LevelCommands.h"

#include <algorithm>

namespace solvena {

void copyLevels(const TCell& chart, const CellSelection& selection, TCell& clipboard)
{
    const CellSelection block = clampedToRecord(selection);
    clipboard.colCount = std::max(0, block.right - block.left + 1);
    clipboard.rowCount = std::max(0, block.bottom - block.top + 1);
    forEachCell(block, [&](int32_t c, int32_t r) {
        clipboard.level[c - block.left][r - block.top] = chart.level[c][r];
    });
}

void cutLevels(TCell& chart, const CellSelection& selection, TCell& clipboard)
{
    copyLevels(chart, selection, clipboard);
    deleteLevels(chart, selection);
}

void pasteLevels(TCell& chart, const CellSelection& selection, const TCell& clipboard)
{
    const CellSelection at = clampedToRecord(selection);
    // The clipboard record is trusted no further than its own arrays reach.
    const int32_t width = std::clamp<int32_t>(clipboard.colCount, 0, kMaxCols);
    const int32_t height = std::clamp<int32_t>(clipboard.rowCount, 0, kMaxRows);
    if (width == 0 || height == 0 || at.left > at.right || at.top > at.bottom)
        return;
    const CellSelection target{at.left, at.top, at.left + width - 1, at.top + height - 1};
    forEachCell(target, [&](int32_t c, int32_t r) {
        chart.level[c][r] = clipboard.level[c - at.left][r - at.top];
    });
}

void deleteLevels(TCell& chart, const CellSelection& selection)
{
    setLevel(chart, selection, kLevelLow);
}

}  // namespace solvena
