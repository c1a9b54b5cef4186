#pragma once
// The grid geometry of output (bitmap, metafile, printout, CLI): every cell laid out
// from column 0 / row 0, unscrolled, with one-pixel grid lines after each column and
// row. The on-screen grid uses the same formula less its scroll offset.

#include "render/GridGeometry.h"

#include <vector>

class ChartLayout final : public GridGeometry {
public:
    // The counts are the sizes of the two vectors.
    ChartLayout(std::vector<int> columnWidths, std::vector<int> rowHeights, int defaultRowHeight,
                FontDesc gridFont, bool namesRightAligned);

    int colCount() const override { return static_cast<int>(widths_.size()); }
    int rowCount() const override { return static_cast<int>(heights_.size()); }
    int defaultRowHeight() const override { return defaultRowHeight_; }
    FontDesc gridFont() const override { return gridFont_; }
    bool namesRightAligned() const override { return namesRightAligned_; }
    // Cells outside the counts are out of view (all zero).
    CellRect cellRect(int col, int row) const override;

    // The pixel size of the whole grid, the last grid lines included.
    int totalWidth() const { return lefts_.back(); }
    int totalHeight() const { return tops_.back(); }

private:
    std::vector<int> widths_;
    std::vector<int> heights_;
    std::vector<int> lefts_;  // lefts_[c] = sum of (width + 1) before column c; one extra entry
    std::vector<int> tops_;
    int defaultRowHeight_;
    FontDesc gridFont_;
    bool namesRightAligned_;
};
