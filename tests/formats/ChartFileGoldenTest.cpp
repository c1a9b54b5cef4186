// Golden chart files: each is built in code, saved, and compared with the file
// byte for byte; the file is then read and must give that chart back.
#include "formats/ChartFile.h"

#include "ChartFixture.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace solvena;

namespace {

struct Golden {
    std::unique_ptr<TCell> chart = std::make_unique<TCell>();
    std::vector<int32_t> widths;
    int32_t rowCount = 0;
};

void setCell(TCell& chart, int c, int r, int32_t level, int32_t delay, uint8_t flags)
{
    chart.level[c][r] = level;
    chart.delay[c][r] = delay;
    chart.cellFlags[c][r] = flags;
}

Golden workedExample()
{
    Golden g;
    g.widths = {80, 15, 15, 15};
    g.rowCount = 3;
    TCell& t = *g.chart;
    t.timingLine[2] = 1;
    t.signalName[1] = "CLK";
    setCell(t, 1, 1, 0, 0, 0);
    setCell(t, 2, 1, 1, 0, 1);
    setCell(t, 3, 1, 0, 0, 0);
    t.signalName[2] = "DATA";
    setCell(t, 1, 2, 2, 0, 0);
    setCell(t, 2, 2, 1, 3, 4);
    setCell(t, 3, 2, 1, 0, 0);
    return g;
}

Golden namesWithBlanksAndFullWidth()
{
    Golden g;
    g.widths = {120, 15, 15};
    g.rowCount = 5;
    TCell& t = *g.chart;
    t.signalName[1] = "DATA BUS 0";
    t.signalName[2] = "\x83\x4e\x83\x8d\x83\x62\x83\x4e\x87\x40\x81\x40\x93\xfc\x97\xcd";  // クロック①　入力
    t.signalName[3] = "";
    t.signalName[4] = " lead and trail ";
    for (int r = 1; r <= 4; ++r) {
        t.level[1][r] = (r - 1) % 2;
        t.level[2][r] = r % 2;
    }
    return g;
}

Golden singleColumn()
{
    Golden g;
    g.widths = {80};
    g.rowCount = 3;
    g.chart->timingLine[0] = 1;
    g.chart->signalName[1] = "A";
    g.chart->signalName[2] = "B";
    return g;
}

Golden negativeDelays()
{
    Golden g;
    g.widths = {64, 15, 20};
    g.rowCount = 3;
    TCell& t = *g.chart;
    t.timingLine[2] = 1;
    t.signalName[1] = "SIG";
    setCell(t, 1, 1, 1, -5, 0);
    setCell(t, 2, 1, 0, INT32_MIN, 255);
    t.signalName[2] = "X";
    setCell(t, 1, 2, 7, INT32_MAX, 4);
    setCell(t, 2, 2, 2, -1, 3);
    return g;
}

struct GoldenCase {
    const char* file;
    Golden (*build)();
};

class ChartGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(ChartGolden, SavesTheFileByteForByte)
{
    const Golden g = GetParam().build();
    EXPECT_EQ(writeChart(*g.chart, gridLayoutWith(g.widths, g.rowCount)), readChartFixture(GetParam().file));
}

TEST_P(ChartGolden, ReadsTheFileBackIntoTheSameChart)
{
    const Golden g = GetParam().build();
    const LoadedChart loaded = readChart(readChartFixture(GetParam().file));
    ASSERT_TRUE(loaded.ok) << loaded.errorReason << " line " << loaded.errorLine;
    EXPECT_EQ(loaded.colCount, static_cast<int32_t>(g.widths.size()));
    EXPECT_EQ(loaded.rowCount, g.rowCount);
    EXPECT_EQ(loaded.colWidths, g.widths);
    // Everything outside the file's extent is empty, so the whole records agree
    // once the count fields (which the builders leave at 0) are aligned.
    TCell expected = *g.chart;
    expected.colCount = loaded.colCount;
    expected.rowCount = loaded.rowCount;
    EXPECT_TRUE(*loaded.chart == expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ChartGolden,
    testing::Values(GoldenCase{"example.sbn", workedExample},
                    GoldenCase{"names.sbn", namesWithBlanksAndFullWidth},
                    GoldenCase{"single-column.sbn", singleColumn},
                    GoldenCase{"negative-delay.sbn", negativeDelays}),
    [](const testing::TestParamInfo<GoldenCase>& info) {
        std::string name = info.param.file;
        name = name.substr(0, name.find('.'));
        std::erase(name, '-');
        return name;
    });

TEST(ChartGolden, WorkedExampleIsSixtyEightBytes)
{
    EXPECT_EQ(readChartFixture("example.sbn").size(), 68u);
}

}  // namespace
