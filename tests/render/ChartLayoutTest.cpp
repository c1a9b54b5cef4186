#include "render/ChartLayout.h"

#include <gtest/gtest.h>

using namespace solvena;

namespace {

TEST(ChartLayout, LaysCellsOutFromTheOriginWithOnePixelGridLines)
{
    GridLayout grid = gridLayoutWith({80, 15, 20}, 3);
    grid.rowHeights = {25, 30, 22};
    const ChartLayout layout(grid);

    EXPECT_EQ(layout.colCount(), 3);
    EXPECT_EQ(layout.rowCount(), 3);
    EXPECT_EQ(layout.defaultRowHeight(), 25);

    EXPECT_EQ(layout.cellRect(0, 0), (CellRect{0, 0, 80, 25}));
    EXPECT_EQ(layout.cellRect(1, 0), (CellRect{81, 0, 96, 25}));
    EXPECT_EQ(layout.cellRect(2, 1), (CellRect{97, 26, 117, 56}));
    EXPECT_EQ(layout.cellRect(0, 2), (CellRect{0, 57, 80, 79}));
    EXPECT_EQ(layout.totalWidth(), 118);
    EXPECT_EQ(layout.totalHeight(), 80);
}

TEST(ChartLayout, CellsOutsideTheCountsAreOutOfView)
{
    const ChartLayout layout({80, 15}, {25, 25}, 25);
    EXPECT_TRUE(layout.cellRect(2, 0).isOutOfView());
    EXPECT_TRUE(layout.cellRect(0, 2).isOutOfView());
    EXPECT_TRUE(layout.cellRect(-1, 1).isOutOfView());
    EXPECT_FALSE(layout.cellRect(1, 1).isOutOfView());
}

TEST(ChartLayout, EmptyGridHasNoSize)
{
    const ChartLayout layout({}, {}, 25);
    EXPECT_EQ(layout.totalWidth(), 0);
    EXPECT_EQ(layout.totalHeight(), 0);
    EXPECT_TRUE(layout.cellRect(0, 0).isOutOfView());
}

}  // namespace
