#pragma once
// The drawing attributes beside the levels: edge delays, edge arrows, number labels
// and timing lines.

#include "document/CellSelection.h"
#include "document/TCell.h"

#include <cstdint>

namespace solvena {

// Stores `delay` in the cells of the block where an edge begins, that is where the
// level differs from the one to the left; other cells keep theirs. Column 0 has no
// left neighbour and is skipped.
void setEdgeDelay(TCell& chart, const CellSelection& selection, int32_t delay);

// The arrow a cell carries at its edge; a cell has at most one.
enum class EdgeArrow { None, Rising, Falling };

// Gives every cell of the block `arrow`, edge or not; the number-label bit stays.
void setEdgeArrows(TCell& chart, const CellSelection& selection, EdgeArrow arrow);

// Turns the number label of every cell of the block on or off; the arrow bits stay.
void setNumberLabels(TCell& chart, const CellSelection& selection, bool shown);

// Toggles the timing line of each column of the block once, whatever its rows: a
// column with a line (1) loses it, any other value becomes a line.
void toggleTimingLines(TCell& chart, const CellSelection& selection);

}  // namespace solvena
