#pragma once
// The name column made wide enough for the chart's names in the font the grid draws
// them with, so that a chart whose names come from elsewhere shows them whole.

#include "document/GridLayout.h"
#include "document/TCell.h"

namespace solvena {

// Widens column 0 of `layout` until the widest name of rows 1 .. rowCount-1 fits
// inside the cell's one-pixel margins in the layout's grid font; at most
// grid_defaults::kMaxCellSize wide, and never narrower than it is. Needs a running
// QGuiApplication (the font is measured).
void fitNameColumn(GridLayout& layout, const TCell& chart);

}  // namespace solvena
