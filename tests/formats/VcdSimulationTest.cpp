// A dump written by a real simulator: the counter testbench in tests/data/vcd, compiled
// and run by Icarus Verilog before these tests (the CTest fixture), read by path.
#include "formats/VcdChart.h"
#include "formats/VcdFile.h"
#include "formats/VcdTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace solvena;

namespace {

struct Row {
    std::string name;
    std::string levels;
};

std::vector<Row> rowsOf(const LoadedChart& chart)
{
    std::vector<Row> rows;
    for (int r = 1; r < chart.rowCount; ++r) {
        Row row{chart.chart->signalName[r], {}};
        for (int c = 1; c < chart.colCount; ++c) row.levels += "01x"[chart.chart->level[c][r]];
        rows.push_back(row);
    }
    return rows;
}

struct SimulationCase {
    const char* label;
    std::vector<std::string> signalNames;
    std::string clock;
    std::string step;
    std::string start;
    int32_t steps;
    std::vector<Row> rows;
};

// The testbench: a 10ns clock from 0 (edges at 5, 10, 15, ... ns), reset held until
// 12ns, the counter cleared by the reset and counting at every rising edge after it.
const SimulationCase kCases[] = {
    {"ClockStepsFollowTheCounter",
     {"clk", "rst", "counter_tb.count", "counter_tb.count[*]"}, "counter_tb.clk", "", "0", 40,
     {{"clk", "1010101010101010101010101010101010101010"},
      {"rst", "1100000000000000000000000000000000000000"},
      {"count", "00xxxxxxxxxxxxxxxxxxxxxxxxxxxx1100xxxxxx"},
      {"count[3]", "0000000000000000111111111111111100000000"},
      {"count[2]", "0000000011111111000000001111111100000000"},
      {"count[1]", "0000111100001111000011110000111100001111"},
      {"count[0]", "0011001100110011001100110011001100110011"}}},
    {"FixedStepsBetweenTheEdges", {"clk", "rst", "dut.count[*]"}, "", "10ns", "7ns", 5,
     {{"clk", "11111"},
      {"rst", "10000"},
      {"count[3]", "00000"},
      {"count[2]", "00001"},
      {"count[1]", "00110"},
      {"count[0]", "01010"}}},
    {"DefaultIsTheOneBitSignalsOnceFromTheFirstInterval", {}, "", "", "0", 4,
     {{"clk", "0101"}, {"rst", "1110"}}},
};

class CounterDump : public testing::TestWithParam<SimulationCase> {};

TEST_P(CounterDump, GivesTheTestbenchSequence)
{
    const SimulationCase& t = GetParam();
    VcdChoices choices;
    choices.signalNames = t.signalNames;
    choices.clock = t.clock;
    choices.stepFemtoseconds = t.step.empty() ? 0 : parseTimeText(t.step).femtoseconds;
    choices.startFemtoseconds = parseTimeText(t.start).femtoseconds;
    choices.steps = t.steps;
    const ChartFileRead read = readVcdChartFile(QStringLiteral(COUNTER_DUMP), choices);
    ASSERT_TRUE(read.ok()) << read.error;
    const std::vector<Row> rows = rowsOf(read.chart);
    ASSERT_EQ(rows.size(), t.rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].name, t.rows[i].name);
        EXPECT_EQ(rows[i].levels, t.rows[i].levels) << t.rows[i].name;
    }
    EXPECT_TRUE(read.chart.notes.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, CounterDump, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<SimulationCase>& info) {
                             return std::string(info.param.label);
                         });

TEST(CounterDumpHeader, NamesTheTestbenchAndItsCounter)
{
    const VcdHeaderRead read = readVcdHeaderFile(QStringLiteral(COUNTER_DUMP));
    ASSERT_TRUE(read.ok()) << read.error;
    std::vector<std::string> paths;
    for (const VcdVar& var : read.header->vars) paths.push_back(read.header->path(var));
    EXPECT_EQ(paths, (std::vector<std::string>{"counter_tb.count", "counter_tb.clk", "counter_tb.rst",
                                               "counter_tb.dut.clk", "counter_tb.dut.rst", "counter_tb.dut.count"}));
    // timescale 1ns / 1ps: the dump counts picoseconds.
    EXPECT_EQ(read.header->tickFemtoseconds, 1000);
    EXPECT_EQ(suggestedVcdClock(*read.header), "counter_tb.clk");
}

}  // namespace
