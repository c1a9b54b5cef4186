#pragma once
// Cut, Copy, Paste and Delete: blocks of levels through the program's own clipboard
// record. Only levels travel; delays, flags, timing lines and names stay where they are.

#include "document/CellSelection.h"
#include "document/TCell.h"

namespace solvena {

// Replaces the clipboard with the block: its colCount and rowCount become the block's
// width and height, level[i][j] the level at offset (i, j) from the block's top-left.
void copyLevels(const TCell& chart, const CellSelection& selection, TCell& clipboard);

// Copies the block, then turns it low.
void cutLevels(TCell& chart, const CellSelection& selection, TCell& clipboard);

// Writes the clipboard's block with its top-left at the selection's top-left cell; the
// selection's size plays no part. Whatever would fall outside the record is cut off.
void pasteLevels(TCell& chart, const CellSelection& selection, const TCell& clipboard);

// Turns the block low.
void deleteLevels(TCell& chart, const CellSelection& selection);

}  // namespace solvena
