#include "editing/PulseFill.h"

#include "PatternedChart.h"

#include <gtest/gtest.h>

#include <vector>

using namespace solvena;

namespace {

struct PulseCase {
    const char* name;
    CellSelection selection;
    int32_t lowLength;
    int32_t highLength;
    int32_t startLevel;
    std::vector<int32_t> row;   // what every selected row becomes; empty: refused
};

class PulseFillTest : public ::testing::TestWithParam<PulseCase> {};

}  // namespace

TEST_P(PulseFillTest, EveryRowOfTheBlockGetsThePatternAndNothingElseChanges)
{
    const PulseCase& tc = GetParam();
    const auto before = patterned();
    auto chart = patterned();

    const bool filled = fillPulse(*chart, tc.selection, tc.lowLength, tc.highLength, tc.startLevel);

    EXPECT_EQ(filled, !tc.row.empty());
    for (int c = 0; c < kMaxCols; ++c) {
        for (int r = 0; r < kMaxRows; ++r) {
            const int32_t expected = filled && inside(tc.selection, c, r)
                                         ? tc.row.at(c - tc.selection.left)
                                         : before->level[c][r];
            ASSERT_EQ(chart->level[c][r], expected) << "cell " << c << "," << r;
        }
    }
    EXPECT_TRUE(*withLevelsOf(*chart, *before) == *before);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, PulseFillTest,
    ::testing::Values(
        PulseCase{"TwoAndTwoFromLow", {1, 1, 5, 1}, 2, 2, 0, {0, 0, 1, 1, 0}},
        PulseCase{"OneAndThreeFromHigh", {1, 1, 8, 1}, 1, 3, 1, {1, 1, 1, 0, 1, 1, 1, 0}},
        PulseCase{"TwoRowsAlike", {1, 1, 8, 2}, 1, 3, 1, {1, 1, 1, 0, 1, 1, 1, 0}},
        PulseCase{"FinalRunCut", {3, 2, 9, 4}, 2, 3, 1, {1, 1, 1, 0, 0, 1, 1}},
        PulseCase{"FromTheNameColumn", {0, 1, 6, 1}, 1, 2, 0, {0, 1, 1, 0, 1, 1, 0}},
        PulseCase{"OneColumnThreeRows", {4, 1, 4, 3}, 2, 1, 1, {1}},
        PulseCase{"LongRunsOverTenColumns", {1, 1, 10, 3}, 50, 50, 1, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
        PulseCase{"ZeroLowLengthRefused", {1, 1, 5, 1}, 0, 2, 0, {}},
        PulseCase{"NegativeHighLengthRefused", {1, 1, 5, 1}, 2, -1, 1, {}},
        PulseCase{"UndefinedStartRefused", {1, 1, 5, 1}, 1, 1, 2, {}}),
    [](const auto& info) { return std::string(info.param.name); });
