#include "editing/ClipboardCommands.h"

#include "PatternedChart.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

using namespace solvena;

namespace {

struct PasteCase {
    const char* name;
    std::optional<CellSelection> copied;   // nullopt: nothing copied yet
    CellSelection pasteAt;
    bool cut = false;                      // cut rather than copied: the block turns low
};

class CopyPasteTest : public ::testing::TestWithParam<PasteCase> {};

}  // namespace

TEST_P(CopyPasteTest, PastesTheCopiedBlockAtTheTopLeftCellAndNothingElse)
{
    const PasteCase& tc = GetParam();
    const auto before = patterned();
    auto chart = patterned();
    // Levels left behind by an earlier, larger copy must never be pasted.
    auto clipboard = std::make_unique<TCell>();
    for (auto& column : clipboard->level)
        std::fill(std::begin(column), std::end(column), 7);

    int width = 0;
    int height = 0;
    if (tc.copied) {
        if (tc.cut)
            cutLevels(*chart, *tc.copied, *clipboard);
        else
            copyLevels(*chart, *tc.copied, *clipboard);
        width = tc.copied->right - tc.copied->left + 1;
        height = tc.copied->bottom - tc.copied->top + 1;
        EXPECT_EQ(clipboard->colCount, width);
        EXPECT_EQ(clipboard->rowCount, height);
    }
    auto source = std::make_unique<TCell>(*before);
    if (tc.cut)
        for (int c = tc.copied->left; c <= tc.copied->right; ++c)
            for (int r = tc.copied->top; r <= tc.copied->bottom; ++r)
                source->level[c][r] = 0;
    EXPECT_TRUE(*chart == *source) << "copying changes nothing, cutting turns the block low";

    pasteLevels(*chart, tc.pasteAt, *clipboard);

    const CellSelection target{tc.pasteAt.left, tc.pasteAt.top, tc.pasteAt.left + width - 1,
                               tc.pasteAt.top + height - 1};
    for (int c = 0; c < kMaxCols; ++c) {
        for (int r = 0; r < kMaxRows; ++r) {
            const int32_t expected =
                tc.copied && inside(target, c, r)
                    ? before->level[tc.copied->left + c - target.left][tc.copied->top + r - target.top]
                    : source->level[c][r];
            ASSERT_EQ(chart->level[c][r], expected) << "cell " << c << "," << r;
        }
    }
    EXPECT_TRUE(*withLevelsOf(*chart, *before) == *before) << "only levels travel";
}

// The patterned chart holds 0, 1 and 2 along every row, so every copied block of
// three or more cells carries undefined levels too.
INSTANTIATE_TEST_SUITE_P(
    Blocks, CopyPasteTest,
    ::testing::Values(PasteCase{"ThreeByTwoOntoOneCell", CellSelection{2, 1, 4, 2}, {10, 5, 10, 5}},
                      PasteCase{"OneCellOntoFiveByFive", CellSelection{3, 3, 3, 3}, {20, 10, 24, 14}},
                      PasteCase{"WithTheNameColumn", CellSelection{0, 2, 1, 3}, {6, 1, 6, 1}},
                      PasteCase{"OverlappingItself", CellSelection{1, 1, 5, 5}, {3, 3, 3, 3}},
                      PasteCase{"CutOffAtTheRecordsEdge", CellSelection{1, 1, 6, 4}, {97, 98, 97, 98}},
                      PasteCase{"CutAndPastedOverItself", CellSelection{4, 2, 6, 3}, {5, 3, 5, 3}, true},
                      PasteCase{"BeforeAnyCopy", std::nullopt, {1, 1, 1, 1}}),
    [](const auto& info) { return std::string(info.param.name); });
