#include "document/GridLayout.h"

#include <algorithm>
#include <utility>

namespace solvena {

FontDesc grid_defaults::gridFont()
{
    FontDesc font;
    font.family = "ＭＳ ゴシック";
    font.pixelSize = 13;
    return font;
}

FontDesc grid_defaults::headerFont()
{
    FontDesc font;
    font.pointSize = 10;
    return font;
}

GridLayout::GridLayout()
    : colWidths(grid_defaults::kColCount, grid_defaults::kColWidth),
      rowHeights(grid_defaults::kRowCount, grid_defaults::kRowHeight)
{
    colWidths[0] = grid_defaults::kNameColumnWidth;
}

int32_t GridLayout::colWidth(int32_t col) const
{
    return col >= 0 && col < colCount() ? colWidths[static_cast<size_t>(col)] : 0;
}

int32_t GridLayout::rowHeight(int32_t row) const
{
    return row >= 0 && row < rowCount() ? rowHeights[static_cast<size_t>(row)] : 0;
}

GridLayout gridLayoutWith(std::vector<int32_t> colWidths, int32_t rowCount)
{
    GridLayout layout;
    layout.colWidths = std::move(colWidths);
    layout.rowHeights.assign(static_cast<size_t>(std::max(0, rowCount)), layout.defaultRowHeight);
    return layout;
}

void setColCount(GridLayout& layout, int32_t count)
{
    count = std::clamp(count, 1, grid_defaults::kMaxCount);
    layout.colWidths.resize(static_cast<size_t>(count), layout.defaultColWidth);
}

void setRowCount(GridLayout& layout, int32_t count)
{
    count = std::clamp(count, 1, grid_defaults::kMaxCount);
    layout.rowHeights.resize(static_cast<size_t>(count), layout.defaultRowHeight);
}

void setDefaultColWidth(GridLayout& layout, int32_t width)
{
    layout.defaultColWidth = width;
    std::fill(layout.colWidths.begin(), layout.colWidths.end(), width);
}

void setDefaultRowHeight(GridLayout& layout, int32_t height)
{
    layout.defaultRowHeight = height;
    std::fill(layout.rowHeights.begin(), layout.rowHeights.end(), height);
}

void setColWidth(GridLayout& layout, int32_t col, int32_t width)
{
    if (col >= 0 && col < layout.colCount())
        layout.colWidths[static_cast<size_t>(col)] = std::max(0, width);
}

void setRowHeight(GridLayout& layout, int32_t row, int32_t height)
{
    if (row >= 0 && row < layout.rowCount())
        layout.rowHeights[static_cast<size_t>(row)] = std::max(0, height);
}

void applyRowHeight(GridLayout& layout, int32_t height)
{
    setDefaultRowHeight(layout, height);
    setRowHeight(layout, 0, grid_defaults::kHeaderRowHeight);
}

void applyColumnWidth(GridLayout& layout, int32_t width)
{
    const int32_t nameWidth = layout.colWidth(0);
    setDefaultColWidth(layout, width);
    setColWidth(layout, 0, nameWidth);
}

bool moveColumn(GridLayout& layout, int32_t from, int32_t to)
{
    if (from == to || from < 0 || to < 0 || from >= layout.colCount() || to >= layout.colCount())
        return false;
    const std::vector<int32_t> before = layout.colWidths;
    const int32_t width = layout.colWidths[static_cast<size_t>(from)];
    layout.colWidths.erase(layout.colWidths.begin() + from);
    layout.colWidths.insert(layout.colWidths.begin() + to, width);
    return layout.colWidths != before;
}

void applyChartExtent(GridLayout& layout, int32_t colCount, int32_t rowCount,
                      const std::vector<int32_t>& colWidths)
{
    setColCount(layout, colCount);
    setRowCount(layout, rowCount);
    const auto n = std::min(colWidths.size(), layout.colWidths.size());
    for (size_t c = 0; c < n; ++c)
        setColWidth(layout, static_cast<int32_t>(c), colWidths[c]);
}

}  // namespace solvena
