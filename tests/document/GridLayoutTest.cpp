// The layout rules the grid, the commands and the chart file all go by, on a small
// layout of four columns and three rows.

#include "document/GridLayout.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace solvena;

namespace {

struct LayoutCase {
    const char* name;
    std::function<void(GridLayout&)> change;
    std::vector<int32_t> widths;
    std::vector<int32_t> heights;
};

std::vector<int32_t> withDefaults(std::vector<int32_t> widths, size_t count)
{
    widths.resize(count, grid_defaults::kColWidth);
    return widths;
}

class GridLayoutRules : public testing::TestWithParam<LayoutCase> {};

TEST_P(GridLayoutRules, ChangeTheSizesAsTheCommandsExpect)
{
    GridLayout layout = gridLayoutWith({80, 15, 15, 15}, 3);
    GetParam().change(layout);
    EXPECT_EQ(layout.colWidths, GetParam().widths);
    EXPECT_EQ(layout.rowHeights, GetParam().heights);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GridLayoutRules,
    testing::Values(
        LayoutCase{"RemovedColumnsDropTheirWidthsAddedOnesGetTheDefault",
                   [](GridLayout& l) {
                       setColWidth(l, 2, 40);
                       setColWidth(l, 3, 33);
                       setColCount(l, 3);
                       setColCount(l, 5);
                   },
                   {80, 15, 40, 15, 15},
                   {25, 25, 25}},
        LayoutCase{"CountsStayWithinTheRecordsCapacity",
                   [](GridLayout& l) {
                       setColCount(l, 500);
                       setRowCount(l, 0);
                   },
                   withDefaults({80, 15, 15, 15}, 100),
                   {25}},
        LayoutCase{"DefaultSizesResetEveryColumnAndRow",
                   [](GridLayout& l) {
                       setDefaultColWidth(l, 20);
                       setDefaultRowHeight(l, 40);
                   },
                   {20, 20, 20, 20},
                   {40, 40, 40}},
        LayoutCase{"RowHeightCommandKeepsTheHeaderRowsOwn", [](GridLayout& l) { applyRowHeight(l, 30); },
                   {80, 15, 15, 15}, {25, 30, 30}},
        LayoutCase{"ColumnWidthCommandKeepsTheNameColumnsWidth",
                   [](GridLayout& l) {
                       setColWidth(l, 0, 110);
                       applyColumnWidth(l, 20);
                   },
                   {110, 20, 20, 20},
                   {25, 25, 25}},
        LayoutCase{"AMovedColumnTakesOnlyItsWidthAlong",
                   [](GridLayout& l) {
                       setColWidth(l, 1, 30);
                       EXPECT_TRUE(moveColumn(l, 1, 3));
                       EXPECT_FALSE(moveColumn(l, 1, 2));   // two columns of one width
                   },
                   {80, 15, 15, 30},
                   {25, 25, 25}},
        LayoutCase{"NoWidthBelowZeroNothingOutsideTheCounts",
                   [](GridLayout& l) {
                       setColWidth(l, 1, -5);
                       setColWidth(l, 9, 50);
                       setRowHeight(l, 7, 50);
                   },
                   {80, 0, 15, 15},
                   {25, 25, 25}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return info.param.name; });

}  // namespace
