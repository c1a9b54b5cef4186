#include "editing/LevelCommands.h"

#include "editing/CellVisit.h"

namespace solvena {

void setLevel(TCell& cell, const CellSelection& selection, int32_t level)
{
    forEachCell(selection, [&](int32_t c, int32_t r) { cell.level[c][r] = level; });
}

void invertLevels(TCell& cell, const CellSelection& selection)
{
    forEachCell(selection,
                [&](int32_t c, int32_t r) { cell.level[c][r] = invertLevel(cell.level[c][r]); });
}

}  // namespace solvena
