#pragma once
// Where a test's mouse goes on the grid: the middle of a cell as the grid lays it out now.

#include "ui/ChartGrid.h"

#include <QPoint>

namespace solvena {

inline QPoint cellCentre(const ChartGrid& grid, int col, int row)
{
    const CellRect r = grid.cellRect(col, row);
    return QPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

}  // namespace solvena
