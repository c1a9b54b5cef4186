#pragma once
// The pulse generator's fill: a periodic square wave over a block of cells.

#include "document/CellSelection.h"
#include "document/TCell.h"

#include <cstdint>

namespace solvena {

// Fills every row of the block, from its left column on, with runs of `startLevel`
// and of its complement, lowLength cells for each run of low and highLength for each
// run of high; a run crossing the block's right edge is cut there. Refuses (writes
// nothing, returns false) a run length below 1 or a start level other than low or high.
[[nodiscard]] bool fillPulse(TCell& chart, const CellSelection& selection, int32_t lowLength,
                             int32_t highLength, int32_t startLevel);

}  // namespace solvena
