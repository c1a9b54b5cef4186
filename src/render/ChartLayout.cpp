#include "render/ChartLayout.h"

#include <utility>

namespace {

std::vector<int> startsOf(const std::vector<int32_t>& sizes)
{
    std::vector<int> starts;
    starts.reserve(sizes.size() + 1);
    int position = 0;
    starts.push_back(position);
    for (int size : sizes) {
        position += size + 1;
        starts.push_back(position);
    }
    return starts;
}

}  // namespace

ChartLayout::ChartLayout(const GridLayout& layout)
    : ChartLayout(layout.colWidths, layout.rowHeights, layout.defaultRowHeight)
{
}

ChartLayout::ChartLayout(std::vector<int32_t> columnWidths, std::vector<int32_t> rowHeights,
                         int32_t defaultRowHeight)
    : widths_(std::move(columnWidths)),
      heights_(std::move(rowHeights)),
      lefts_(startsOf(widths_)),
      tops_(startsOf(heights_)),
      defaultRowHeight_(defaultRowHeight)
{
}

CellRect ChartLayout::cellRect(int col, int row) const
{
    if (col < 0 || row < 0 || col >= colCount() || row >= rowCount())
        return {};
    const int left = lefts_[static_cast<size_t>(col)];
    const int top = tops_[static_cast<size_t>(row)];
    return {left, top, left + widths_[static_cast<size_t>(col)],
            top + heights_[static_cast<size_t>(row)]};
}
