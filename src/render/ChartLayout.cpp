#include "render/ChartLayout.h"

#include "pictures/PictureSize.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace solvena {

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

int32_t saturated(int64_t value)
{
    return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
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
    // A picture this large is refused before it is drawn; the area only has to hold it.
    const PictureSize extent = pictureExtent(widths_, heights_);
    paintArea_ = CanvasRect{0, 0, saturated(extent.width), saturated(extent.height)};
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

}  // namespace solvena
