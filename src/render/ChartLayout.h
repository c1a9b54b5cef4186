#pragma once
// The grid's cells laid out from column 0 / row 0, unscrolled, with one-pixel grid
// lines after each column and row. Output (bitmap, metafile, printout, CLI) draws with
// it as it is; the on-screen grid draws with it less its scroll offset.

#include "document/GridLayout.h"
#include "render/GridGeometry.h"

#include <cstdint>
#include <vector>

namespace solvena {

class ChartLayout final : public GridGeometry {
public:
    explicit ChartLayout(const GridLayout& layout);
    // The counts are the sizes of the two vectors.
    ChartLayout(std::vector<int32_t> columnWidths, std::vector<int32_t> rowHeights,
                int32_t defaultRowHeight);

    int colCount() const override { return static_cast<int>(widths_.size()); }
    int rowCount() const override { return static_cast<int>(heights_.size()); }
    int defaultRowHeight() const override { return defaultRowHeight_; }
    // Cells outside the counts are out of view (all zero).
    CellRect cellRect(int col, int row) const override;
    // Every output's picture of these cells: from the origin to the widest and the
    // tallest of them (the bitmap drawn with row 0's band, the metafile).
    CanvasRect paintArea() const override { return paintArea_; }

    // Where column `col` (row `row`) begins, for 0 .. the count; at the count, where
    // the last grid line ends.
    int columnLeft(int col) const { return lefts_[static_cast<size_t>(col)]; }
    int rowTop(int row) const { return tops_[static_cast<size_t>(row)]; }

    // The pixel size of the whole grid, the last grid lines included.
    int totalWidth() const { return lefts_.back(); }
    int totalHeight() const { return tops_.back(); }

private:
    std::vector<int32_t> widths_;
    std::vector<int32_t> heights_;
    std::vector<int> lefts_;  // lefts_[c] = sum of (width + 1) before column c; one extra entry
    std::vector<int> tops_;
    int32_t defaultRowHeight_;
    CanvasRect paintArea_;
};

}  // namespace solvena
