#pragma once
// The block of cells the editing commands work on: the grid's selection.

#include <cstdint>

namespace solvena {

// An inclusive block of cells, columns left..right and rows top..bottom.
struct CellSelection {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool operator==(const CellSelection&) const = default;
};

}  // namespace solvena
