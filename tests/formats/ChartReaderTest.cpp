// The reader's rules for characters, numbers, line ends, file end and what makes a
// file inconsistent, one case a row.
#include "formats/ChartFile.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace solvena;

namespace {

struct CellCheck {
    int c, r;
    int32_t level, delay;
    int flags;
};

struct NameCheck {
    int r;
    std::string name;
};

struct ReaderCase {
    const char* label;
    std::string bytes;
    bool ok = true;
    int32_t cols = 0;
    int32_t rows = 0;
    std::vector<int32_t> widths = {};
    std::vector<CellCheck> cells = {};
    std::vector<NameCheck> names = {};
    int errorLine = 0;    // checked when !ok
    int warningLine = 0;  // checked when ok: 0 for a file as the writer makes it
};

const std::string kExample = "80 0 15 0 15 1 15 0\r\nCLK\r\n0 0 0 1 0 1 0 0 0\r\nDATA\r\n2 0 0 1 3 4 1 0 0";

const ReaderCase kCases[] = {
    {.label = "WorkedExample", .bytes = kExample, .cols = 4, .rows = 3, .widths = {80, 15, 15, 15},
     .cells = {{2, 1, 1, 0, 1}, {2, 2, 1, 3, 4}}, .names = {{1, "CLK"}, {2, "DATA"}}},
    {.label = "TrailingLineBreakReadsTheSame", .bytes = kExample + "\r\n", .cols = 4, .rows = 3,
     .widths = {80, 15, 15, 15}, .cells = {{1, 2, 2, 0, 0}}},
    {.label = "ExtraEmptyLineIsOneMoreUnnamedSignal", .bytes = kExample + "\r\n\r\n", .cols = 4,
     .rows = 4, .widths = {80, 15, 15, 15}, .cells = {{3, 2, 1, 0, 0}, {3, 3, 0, 0, 0}},
     .names = {{2, "DATA"}, {3, ""}}, .warningLine = 7},
    {.label = "LineFeedBreaks", .bytes = "80 0 15 0 15 1 15 0\nCLK\n0 0 0 1 0 1 0 0 0\nDATA\n2 0 0 1 3 4 1 0 0",
     .cols = 4, .rows = 3, .widths = {80, 15, 15, 15}, .cells = {{2, 1, 1, 0, 1}, {2, 2, 1, 3, 4}},
     .names = {{1, "CLK"}, {2, "DATA"}}},
    {.label = "MixedBreaks", .bytes = "80 0 15 0 15 1 15 0\nCLK\r\n0 0 0 1 0 1 0 0 0\rDATA\n2 0 0 1 3 4 1 0 0\n",
     .cols = 4, .rows = 3, .widths = {80, 15, 15, 15}, .cells = {{2, 1, 1, 0, 1}, {2, 2, 1, 3, 4}},
     .names = {{1, "CLK"}, {2, "DATA"}}},
    {.label = "LineFeedThenCarriageReturnIsTwoBreaks", .bytes = "80 0 15 0\n\r1 0 0", .cols = 2, .rows = 2,
     .cells = {{1, 1, 1, 0, 0}}, .names = {{1, ""}}},
    {.label = "TripleContinuesOnTheNextLine", .bytes = "80 0 15 0 15 0\r\nA\r\n1 2 \r\n3 0 1 4",
     .cols = 3, .rows = 2, .cells = {{1, 1, 1, 2, 3}, {2, 1, 0, 1, 4}}, .names = {{1, "A"}}},
    {.label = "TabsSeparateNumbers", .bytes = "80\t0\t15\t1\r\nA\r\n1\t\t-4\t2", .cols = 2, .rows = 2,
     .widths = {80, 15}, .cells = {{1, 1, 1, -4, 2}}},
    {.label = "LastDataLineCutInHalf",
     .bytes = "80 0 15 0 15 0 15 0\r\nA\r\n1 0 0 1 5 0 1 0 2\r\nB\r\n1 0 0 1", .cols = 4, .rows = 3,
     .widths = {80, 15, 15, 15}, .cells = {{3, 1, 1, 0, 2}, {2, 2, 1, 0, 0}, {3, 2, 0, 0, 0}},
     .warningLine = 5},
    {.label = "LongestDataLineSetsTheColumnCount",
     .bytes = "80 0 15 0\r\nA\r\n1 0 0 1 5 0\r\nB\r\n1 0 0", .cols = 3, .rows = 3,
     .widths = {80, 15, 15}, .cells = {{2, 1, 1, 5, 0}, {1, 2, 1, 0, 0}, {2, 2, 0, 0, 0}}, .warningLine = 3},
    {.label = "HeaderLongerThanEveryDataLine",
     .bytes = "80 0 15 0 15 0 15 0\r\nA\r\n1 0 0\r\nB\r\n1 0 0", .cols = 2, .rows = 3,
     .widths = {80, 15}, .warningLine = 3},
    {.label = "NameLineCut", .bytes = "80 0 15 0\r\nA\r\n1 0 0\r\nB", .cols = 2, .rows = 3,
     .names = {{2, "B"}}, .warningLine = 4},
    {.label = "NameLineCutInAOneColumnChart", .bytes = "80 0\r\nA\r\n\r\nB", .cols = 1, .rows = 3,
     .names = {{2, "B"}}, .warningLine = 4},
    {.label = "DataLineMissingAfterTheLastName", .bytes = "80 0 15 0\r\nA\r\n1 0 0\r\nB\r",
     .cols = 2, .rows = 3, .warningLine = 5},
    {.label = "TrailingBlankAddsAStepOfZeros", .bytes = "80 0 15 0\r\nA\r\n1 0 0 ", .cols = 3,
     .rows = 2, .cells = {{2, 1, 0, 0, 0}}, .warningLine = 3},
    {.label = "FlagsKeepTheirLowEightBits", .bytes = "80 0 15 0 15 0\r\nA\r\n0 0 260 0 0 -1",
     .cols = 3, .rows = 2, .cells = {{1, 1, 0, 0, 4}, {2, 1, 0, 0, 255}}},
    {.label = "LevelsAndDelaysPassThrough", .bytes = "80 0 15 0\r\nA\r\n-7 -2147483648 0",
     .cols = 2, .rows = 2, .cells = {{1, 1, -7, INT32_MIN, 0}}},
    {.label = "PlusSignAndLeadingZeros", .bytes = "+80 0 015 -0\r\nA\r\n+2 007 +4", .cols = 2,
     .rows = 2, .widths = {80, 15}, .cells = {{1, 1, 2, 7, 4}}},
    {.label = "MissingNumbersAtTheEndReadAsZero", .bytes = "80 0 15 0\r\nA\r\n1 9", .cols = 2,
     .rows = 2, .cells = {{1, 1, 1, 9, 0}}, .warningLine = 3},
    {.label = "HeaderEndingInAWidthGetsTimingLineZero", .bytes = "90", .cols = 1, .rows = 1,
     .widths = {90}, .warningLine = 1},
    {.label = "HeaderCut", .bytes = "80 0 15", .cols = 2, .rows = 1, .widths = {80, 15}, .warningLine = 1},
    {.label = "HeaderOnlyKeepsItsColumns", .bytes = "80 0 15 0 20 1\r\n", .cols = 3, .rows = 1,
     .widths = {80, 15, 20}},
    {.label = "EmptyInputIsOneByOne", .bytes = "", .cols = 1, .rows = 1, .widths = {80}, .warningLine = 1},
    {.label = "EmptyHeaderGetsDefaultWidths", .bytes = "\r\nA\r\n1 0 0 1 0 0", .cols = 3, .rows = 2,
     .widths = {80, 15, 15}, .warningLine = 3},
    {.label = "WidthsBeyondTheColumnCountAreDropped", .bytes = "80 0 15 0 33 1 44 0\r\nA\r\n1 0 0",
     .cols = 2, .rows = 2, .widths = {80, 15}, .warningLine = 3},
    {.label = "WidthsMissingForLongDataLinesDefault", .bytes = "70 0\r\nA\r\n1 0 0 0 0 0", .cols = 3,
     .rows = 2, .widths = {70, 15, 15}, .warningLine = 3},
    {.label = "LoneCarriageReturnBreaksALine", .bytes = "80 0 15 0\rA\r1 0 0", .cols = 2, .rows = 2,
     .cells = {{1, 1, 1, 0, 0}}, .names = {{1, "A"}}},
    {.label = "NameKeepsBlanksAndTabs", .bytes = "80 0\r\n a\tb c \r\n", .cols = 1, .rows = 2,
     .names = {{1, " a\tb c "}}},
    {.label = "LineFeedEndsAName", .bytes = "80 0 15 0\r\nA\n1 0 0", .cols = 2, .rows = 2,
     .cells = {{1, 1, 1, 0, 0}}, .names = {{1, "A"}}},
    {.label = "NameKeepsCp932BytesRaw", .bytes = "80 0\r\n\x83\x66\x81\x5b\x83\x5e\x81\x40\x5c\r\n",
     .cols = 1, .rows = 2, .names = {{1, "\x83\x66\x81\x5b\x83\x5e\x81\x40\x5c"}}},
    {.label = "WidthAtTheLimits", .bytes = "0 0 10000 0\r\n", .cols = 2, .rows = 1,
     .widths = {0, 10000}},

    {.label = "LetterInHeader", .bytes = "80 x\r\n", .ok = false, .errorLine = 1},
    {.label = "LetterInDataLine", .bytes = "80 0 15 0\r\nA\r\n1 0 O", .ok = false, .errorLine = 3},
    {.label = "DecimalFraction", .bytes = "80 0 15 0\r\nA\r\n1.5 0 0", .ok = false, .errorLine = 3},
    {.label = "SignAfterDigits", .bytes = "80 0 15 0\r\nA\r\n5- 0 0", .ok = false, .errorLine = 3},
    {.label = "TwoSigns", .bytes = "80 0 15 0\r\nA\r\n+-1 0 0", .ok = false, .errorLine = 3},
    {.label = "LoneMinus", .bytes = "80 0 15 0\r\nA\r\n- 0 0", .ok = false, .errorLine = 3},
    {.label = "LonePlus", .bytes = "80 0 15 0\r\nA\r\n1 + 0", .ok = false, .errorLine = 3},
    {.label = "HexNumber", .bytes = "80 0x10\r\n", .ok = false, .errorLine = 1},
    {.label = "FullWidthDigit", .bytes = "80 \x82\x4f\r\n", .ok = false, .errorLine = 1},
    {.label = "BlankBeforeHeaderBreakRunsIntoTheName", .bytes = "80 0 \r\nCLK\r\n0 0 0", .ok = false,
     .errorLine = 2},
    {.label = "NulDebrisOfACrash", .bytes = std::string(4096, '\0'), .ok = false, .errorLine = 1},
    {.label = "LevelOverflow", .bytes = "80 0 15 0\r\nA\r\n2147483648 0 0", .ok = false, .errorLine = 3},
    {.label = "DelayUnderflow", .bytes = "80 0 15 0\r\nA\r\n0 -2147483649 0", .ok = false,
     .errorLine = 3},
    {.label = "FlagsOverflowBeforeMasking", .bytes = "80 0 15 0\r\nA\r\n0 0 4294967296", .ok = false,
     .errorLine = 3},
    {.label = "TimingLineOverflow", .bytes = "80 99999999999\r\n", .ok = false, .errorLine = 1},
    {.label = "NegativeWidth", .bytes = "80 0 -1 0\r\n", .ok = false, .errorLine = 1},
    {.label = "WidthTooLarge", .bytes = "80 0 10001 0\r\n", .ok = false, .errorLine = 1},
    {.label = "WidthOverflow", .bytes = "99999999999 0\r\n", .ok = false, .errorLine = 1},
    {.label = "FailureOnALaterLineCountsEveryKindOfBreak", .bytes = "80 0 15 0\rA\n1 0 0\r\nB\n1 0 z",
     .ok = false, .errorLine = 5},
};

class ChartReader : public testing::TestWithParam<ReaderCase> {};

TEST_P(ChartReader, ReadsAsExpected)
{
    const ReaderCase& t = GetParam();
    const LoadedChart got = readChart(t.bytes);
    ASSERT_EQ(got.ok, t.ok) << got.errorReason << " line " << got.errorLine;
    if (!t.ok) {
        EXPECT_EQ(got.chart, nullptr);
        EXPECT_EQ(got.errorLine, t.errorLine);
        EXPECT_FALSE(got.errorReason.empty());
        return;
    }
    ASSERT_NE(got.chart, nullptr);
    EXPECT_EQ(got.warningLine, t.warningLine) << got.warningReason;
    EXPECT_EQ(got.warningReason.empty(), t.warningLine == 0);
    EXPECT_EQ(got.colCount, t.cols);
    EXPECT_EQ(got.rowCount, t.rows);
    EXPECT_EQ(got.colWidths.size(), static_cast<size_t>(got.colCount));
    if (!t.widths.empty()) {
        EXPECT_EQ(got.colWidths, t.widths);
    }
    for (const CellCheck& cell : t.cells) {
        SCOPED_TRACE(testing::Message() << "cell " << cell.c << "," << cell.r);
        EXPECT_EQ(got.chart->level[cell.c][cell.r], cell.level);
        EXPECT_EQ(got.chart->delay[cell.c][cell.r], cell.delay);
        EXPECT_EQ(got.chart->cellFlags[cell.c][cell.r], cell.flags);
    }
    for (const NameCheck& name : t.names)
        EXPECT_EQ(got.chart->signalName[name.r], name.name) << "row " << name.r;
}

INSTANTIATE_TEST_SUITE_P(Cases, ChartReader, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ReaderCase>& info) {
                             return std::string(info.param.label);
                         });

TEST(ChartReaderRecord, TimingLinesOfDroppedColumnsStayInTheRecord)
{
    const LoadedChart got = readChart("80 0 15 0 33 1\r\nA\r\n1 0 0");
    ASSERT_TRUE(got.ok);
    EXPECT_EQ(got.colCount, 2);
    EXPECT_EQ(got.chart->timingLine[2], 1);
}

TEST(ChartReaderRecord, ExtremeTimingLinesPassThrough)
{
    const LoadedChart got = readChart("80 -2147483648 15 2147483647\r\n");
    ASSERT_TRUE(got.ok);
    EXPECT_EQ(got.chart->timingLine[0], INT32_MIN);
    EXPECT_EQ(got.chart->timingLine[1], INT32_MAX);
}

}  // namespace
