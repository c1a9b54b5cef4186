#pragma once
// The level commands: writing low, high or undefined into a block of cells, and
// swapping low and high.

#include "document/CellSelection.h"
#include "document/TCell.h"

#include <cstdint>

namespace solvena {

// Stores `level` into every cell of the block. Only levels change.
void setLevel(TCell& cell, const CellSelection& selection, int32_t level);

// Swaps low and high in every cell of the block; other levels stay as they are.
void invertLevels(TCell& cell, const CellSelection& selection);

}  // namespace solvena
