#include "editing/LevelCommands.h"

#include "PatternedChart.h"

#include <gtest/gtest.h>

#include <memory>

using namespace solvena;

namespace {

struct SetCase {
    const char* name;
    CellSelection selection;
    int32_t level;
};

class SetLevelTest : public ::testing::TestWithParam<SetCase> {};

}  // namespace

TEST_P(SetLevelTest, WritesTheLevelInsideTheBlockAndNothingElse)
{
    const SetCase& tc = GetParam();
    const auto before = patterned();
    auto cell = patterned();

    setLevel(*cell, tc.selection, tc.level);

    for (int c = 0; c < kMaxCols; ++c) {
        for (int r = 0; r < kMaxRows; ++r) {
            const int32_t expected = inside(tc.selection, c, r) ? tc.level : before->level[c][r];
            ASSERT_EQ(cell->level[c][r], expected) << "cell " << c << "," << r;
        }
    }
    EXPECT_TRUE(*withLevelsOf(*cell, *before) == *before) << "only levels change";
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, SetLevelTest,
    ::testing::Values(SetCase{"OneCellLow", {4, 2, 4, 2}, 0},
                      SetCase{"OneCellHigh", {1, 1, 1, 1}, 1},
                      SetCase{"BlockUndefined", {3, 1, 9, 4}, 2},
                      SetCase{"BlockWithNameColumn", {0, 2, 2, 3}, 1},
                      SetCase{"WholeRecord", {0, 1, 99, 99}, 1},
                      SetCase{"LastCell", {99, 99, 99, 99}, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InvertLevels, SwapsLowAndHighAndKeepsUndefined)
{
    auto cell = std::make_unique<TCell>();
    cell->level[1][1] = 0;
    cell->level[2][1] = 1;
    cell->level[3][1] = 2;
    cell->level[4][1] = 1;  // outside the block

    invertLevels(*cell, CellSelection{1, 1, 3, 1});

    EXPECT_EQ(cell->level[1][1], 1);
    EXPECT_EQ(cell->level[2][1], 0);
    EXPECT_EQ(cell->level[3][1], 2);
    EXPECT_EQ(cell->level[4][1], 1);

    invertLevels(*cell, CellSelection{1, 1, 3, 1});
    EXPECT_EQ(cell->level[1][1], 0);
    EXPECT_EQ(cell->level[2][1], 1);
}

TEST(InvertLevels, ReachesTheNameColumnAndLeavesOtherAttributes)
{
    const auto before = patterned();
    auto cell = patterned();
    invertLevels(*cell, CellSelection{0, 1, 1, 2});
    for (int c = 0; c <= 1; ++c)
        for (int r = 1; r <= 2; ++r)
            EXPECT_EQ(cell->level[c][r], invertLevel(before->level[c][r]));
    EXPECT_EQ(cell->delay[0][1], before->delay[0][1]);
    EXPECT_EQ(cell->cellFlags[1][2], before->cellFlags[1][2]);
    EXPECT_EQ(cell->signalName[1], "N1");
}

TEST(SetLevel, AReversedBlockIsTakenAsNormalised)
{
    auto cell = std::make_unique<TCell>();
    setLevel(*cell, CellSelection{5, 4, 3, 2}, 1);
    EXPECT_EQ(cell->level[3][2], 1);
    EXPECT_EQ(cell->level[5][4], 1);
    EXPECT_EQ(cell->level[4][3], 1);
    EXPECT_EQ(cell->level[6][4], 0);
}

TEST(SetLevel, ABlockReachingPastTheRecordWritesOnlyItsInsidePart)
{
    auto cell = std::make_unique<TCell>();
    cell->signalName[0] = "guard";
    setLevel(*cell, CellSelection{98, 98, 150, 120}, 1);
    EXPECT_EQ(cell->level[98][98], 1);
    EXPECT_EQ(cell->level[99][99], 1);
    EXPECT_EQ(cell->level[97][98], 0);
    EXPECT_EQ(cell->delay[0][0], 0) << "nothing after the level array was touched";
    EXPECT_EQ(cell->signalName[0], "guard");
}
