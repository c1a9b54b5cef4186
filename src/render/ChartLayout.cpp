#include "render/ChartLayout.h"

#include <utility>

namespace {

std::vector<int> startsOf(const std::vector<int>& sizes)
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

ChartLayout::ChartLayout(std::vector<int> columnWidths, std::vector<int> rowHeights,
                         int defaultRowHeight, FontDesc gridFont, bool namesRightAligned)
    : widths_(std::move(columnWidths)),
      heights_(std::move(rowHeights)),
      lefts_(startsOf(widths_)),
      tops_(startsOf(heights_)),
      defaultRowHeight_(defaultRowHeight),
      gridFont_(std::move(gridFont)),
      namesRightAligned_(namesRightAligned)
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
