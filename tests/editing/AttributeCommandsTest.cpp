#include "editing/AttributeCommands.h"

#include "PatternedChart.h"

#include <gtest/gtest.h>

#include <memory>

using namespace solvena;

TEST(SetEdgeDelay, LandsOnlyWhereAnEdgeBeginsAndSkipsTheNameColumn)
{
    auto chart = patterned();
    // Row 1, columns 0..4: 0 0 1 1 0. Row 2: 1 0 0 2 2.
    const int32_t row1[] = {0, 0, 1, 1, 0};
    const int32_t row2[] = {1, 0, 0, 2, 2};
    for (int c = 0; c < 5; ++c) {
        chart->level[c][1] = row1[c];
        chart->level[c][2] = row2[c];
    }
    const auto before = std::make_unique<TCell>(*chart);

    setEdgeDelay(*chart, CellSelection{0, 1, 4, 2}, 10);

    const bool edge[3][5] = {{}, {false, false, true, false, true}, {false, true, false, true, false}};
    for (int c = 0; c < kMaxCols; ++c) {
        for (int r = 0; r < kMaxRows; ++r) {
            const bool set = r >= 1 && r <= 2 && c < 5 && edge[r][c];
            ASSERT_EQ(chart->delay[c][r], set ? 10 : before->delay[c][r]) << "cell " << c << "," << r;
        }
    }
    auto delaysRestored = std::make_unique<TCell>(*chart);
    std::copy(&before->delay[0][0], &before->delay[0][0] + kMaxCols * kMaxRows, &delaysRestored->delay[0][0]);
    EXPECT_TRUE(*delaysRestored == *before) << "only delays change";
}

TEST(CellFlags, ArrowsAndLabelsEachKeepTheOthersBits)
{
    struct Case {
        const char* name;
        void (*apply)(TCell&, const CellSelection&);
        uint8_t before;
        uint8_t after;
    };
    const CellSelection block{2, 1, 3, 2};
    const Case cases[] = {
        {"rising replaces falling", [](TCell& t, const CellSelection& s) { setEdgeArrows(t, s, EdgeArrow::Rising); },
         kFlagFallingArrow | kFlagShowNumber, kFlagRisingArrow | kFlagShowNumber},
        {"falling replaces rising", [](TCell& t, const CellSelection& s) { setEdgeArrows(t, s, EdgeArrow::Falling); },
         kFlagRisingArrow, kFlagFallingArrow},
        {"none clears both arrows", [](TCell& t, const CellSelection& s) { setEdgeArrows(t, s, EdgeArrow::None); },
         kFlagRisingArrow | kFlagFallingArrow | kFlagShowNumber, kFlagShowNumber},
        {"label on", [](TCell& t, const CellSelection& s) { setNumberLabels(t, s, true); },
         kFlagFallingArrow, kFlagFallingArrow | kFlagShowNumber},
        {"label off", [](TCell& t, const CellSelection& s) { setNumberLabels(t, s, false); },
         kFlagRisingArrow | kFlagShowNumber | 0x80, kFlagRisingArrow | 0x80},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        auto chart = patterned();
        for (int c = 2; c <= 3; ++c)
            for (int r = 1; r <= 2; ++r)
                chart->cellFlags[c][r] = tc.before;
        auto expected = std::make_unique<TCell>(*chart);
        for (int c = 2; c <= 3; ++c)
            for (int r = 1; r <= 2; ++r)
                expected->cellFlags[c][r] = tc.after;

        tc.apply(*chart, block);

        EXPECT_TRUE(*chart == *expected);
    }
}

TEST(ToggleTimingLines, FlipsEachColumnOnceWhateverItsRows)
{
    auto chart = patterned();
    const int32_t lines[] = {0, 1, 5, 1};   // columns 1..4; a file may carry any value
    for (int c = 1; c <= 4; ++c)
        chart->timingLine[c] = lines[c - 1];
    const auto before = std::make_unique<TCell>(*chart);

    toggleTimingLines(*chart, CellSelection{1, 1, 4, 3});
    const int32_t once[] = {1, 0, 1, 0};
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(chart->timingLine[c], once[c - 1]) << "column " << c;

    toggleTimingLines(*chart, CellSelection{1, 2, 4, 2});
    const int32_t twice[] = {0, 1, 0, 1};
    for (int c = 1; c <= 4; ++c)
        EXPECT_EQ(chart->timingLine[c], twice[c - 1]) << "column " << c;

    auto linesRestored = std::make_unique<TCell>(*chart);
    for (int c = 1; c <= 4; ++c)
        linesRestored->timingLine[c] = before->timingLine[c];
    EXPECT_TRUE(*linesRestored == *before) << "only the block's columns' lines change";
}
