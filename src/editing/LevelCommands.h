#pragma once
// The level commands: writing low, high or undefined into a block of cells, and
// swapping low and high.

#include "document/TCell.h"

#include <cstdint>

// An inclusive block of cells, columns left..right and rows top..bottom.
struct CellSelection {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// Stores `level` into every cell of the block. Only levels change.
void setLevel(TCell& cell, const CellSelection& selection, int32_t level);

// Swaps low and high in every cell of the block; other levels stay as they are.
void invertLevels(TCell& cell, const CellSelection& selection);
