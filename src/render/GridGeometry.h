#pragma once
// Where the renderer draws: the chart's extent, the default row height (the level
// lines' margin follows it), the rectangle of every cell and the area that can show.

#include "render/Canvas.h"

#include <cstdint>

namespace solvena {

// A cell rectangle in the grid's pixel convention: left and top are the cell's first
// pixel, right and bottom the pixel of the grid line after it (the cell's interior
// is left..right-1, top..bottom-1). A cell out of view is all zero.
struct CellRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool isOutOfView() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool operator==(const CellRect&) const = default;
};

class GridGeometry {
public:
    virtual ~GridGeometry() = default;

    virtual int colCount() const = 0;          // including the name column
    virtual int rowCount() const = 0;          // including the header row
    virtual int defaultRowHeight() const = 0;
    virtual CellRect cellRect(int col, int row) const = 0;
    // The part of the surface where drawing can be seen, in the cells' coordinates:
    // the picture, or the screen grid's client area. Nothing outside it shows, so the
    // renderer asks the canvas for nothing beyond it, however far a stored value points.
    virtual CanvasRect paintArea() const = 0;
};

}  // namespace solvena
