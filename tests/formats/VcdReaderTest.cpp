// The VCD reader on its own: the tree of definitions, the changes it hands out, and
// how far it reads.
#include "formats/VcdChart.h"
#include "formats/VcdReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace solvena;

namespace {

// The definitions Icarus Verilog writes, with a scope name of its own making.
const std::string kHeader = R"($date
	Tue Dec  8 07:25:04 2026
$end
$version
	Icarus Verilog
$end
$timescale
	100ps
$end
$scope module counter_tb $end
$var wire 4 ! count [3:0] $end
$var reg 1 " clk $end
$scope module dut $end
$var wire 1 " clk $end
$var reg 4 $ count [3:0] $end
$upscope $end
$scope begin $unm_blk_1 $end
$var reg 8 % path [0:7] $end
$var integer 32 & i $end
$var real 1 ' r $end
$upscope $end
$upscope $end
$enddefinitions $end
)";

TEST(VcdHeader, HoldsTheTreeOfScopesAndVariables)
{
    MemorySource source(kHeader);
    VcdReader reader(source);
    ASSERT_TRUE(reader.readHeader()) << reader.error().reason;
    const VcdHeader& h = reader.header();
    EXPECT_EQ(h.tickFemtoseconds, 100'000);
    EXPECT_TRUE(h.timescaleGiven);
    EXPECT_TRUE(h.notes.empty());
    ASSERT_EQ(h.scopes.size(), 3u);
    EXPECT_EQ(h.topScopes, std::vector<int32_t>{0});
    EXPECT_EQ(h.scopes[0].scopes, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(h.scopes[0].vars, (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(h.scopes[2].type, "begin");
    EXPECT_EQ(h.scopes[2].name, "$unm_blk_1");
    EXPECT_EQ(h.scopes[2].parent, 0);

    struct Expected {
        std::string path, type;
        int32_t width;
        int64_t msb, lsb;
        int32_t slot;
    };
    const std::vector<Expected> vars = {
        {"counter_tb.count", "wire", 4, 3, 0, 0},         {"counter_tb.clk", "reg", 1, 0, 0, 1},
        {"counter_tb.dut.clk", "wire", 1, 0, 0, 1},       {"counter_tb.dut.count", "reg", 4, 3, 0, 2},
        {"counter_tb.$unm_blk_1.path", "reg", 8, 0, 7, 3}, {"counter_tb.$unm_blk_1.i", "integer", 32, 31, 0, 4},
        {"counter_tb.$unm_blk_1.r", "real", 1, 0, 0, 5},
    };
    ASSERT_EQ(h.vars.size(), vars.size());
    EXPECT_EQ(h.slotCount, 6);
    for (size_t i = 0; i < vars.size(); ++i) {
        const VcdVar& v = h.vars[i];
        EXPECT_EQ(h.path(v), vars[i].path);
        EXPECT_EQ(v.type, vars[i].type) << vars[i].path;
        EXPECT_EQ(v.width, vars[i].width) << vars[i].path;
        EXPECT_EQ(v.msb, vars[i].msb) << vars[i].path;
        EXPECT_EQ(v.lsb, vars[i].lsb) << vars[i].path;
        EXPECT_EQ(v.slot, vars[i].slot) << vars[i].path;
    }
    EXPECT_TRUE(h.vars[6].isReal());
    EXPECT_FALSE(h.vars[6].isScalar());
    EXPECT_EQ(suggestedVcdClock(h), "counter_tb.clk");
}

TEST(VcdReaderChanges, HandsOutOnlyTheWatchedSignals)
{
    const std::string dump = kHeader + "#0\n$dumpvars\nbx !\n0\"\nbx $\nb0 %\n$end\n#5\n1\"\nb1 $\nr2.5 '\n#10\n$dumpoff\n$end\n";
    MemorySource source(dump);
    VcdReader reader(source);
    ASSERT_TRUE(reader.readHeader()) << reader.error().reason;
    reader.watch(1);
    reader.watch(5);
    std::string seen;
    for (VcdReader::Event e; (e = reader.next()) != VcdReader::Event::End;) {
        ASSERT_NE(e, VcdReader::Event::Failed) << reader.error().reason;
        if (e == VcdReader::Event::Time) seen += "#" + std::to_string(reader.time()) + " ";
        if (e == VcdReader::Event::Change)
            seen += std::to_string(reader.slot()) + "=" + std::string(reader.value().text) + " ";
        if (e == VcdReader::Event::DumpOff) seen += "off ";
    }
    EXPECT_EQ(seen, "#0 1=0 #5 1=1 5=2.5 #10 off ");
}

TEST(VcdReaderReach, ReadsNoFurtherThanTheWindowNeeds)
{
    const std::string dump = "$timescale 1ns $end\n$scope module t $end\n$var wire 1 ! a $end\n$upscope $end\n"
                             "$enddefinitions $end\n#0 0!\n#1 1!\n#2 0!\n#3 1!\n#4\n@@ not a dump from here on\n";
    VcdChoices start;
    start.signalNames = {"a"};
    start.stepFemtoseconds = 1'000'000;
    start.steps = 3;
    MemorySource first(dump);
    const LoadedChart atStart = readVcdChart(first, start);
    ASSERT_TRUE(atStart.ok) << atStart.errorReason;
    EXPECT_EQ(atStart.colCount, 4);

    // Step 5 needs the instant after #4 to be over: the bad line is read and refused.
    VcdChoices further = start;
    further.steps = 5;
    MemorySource second(dump);
    const LoadedChart atEnd = readVcdChart(second, further);
    EXPECT_FALSE(atEnd.ok);
    EXPECT_EQ(atEnd.errorLine, 11);
}

TEST(VcdReaderWords, AValueWiderThanTheBufferIsReadWhole)
{
    constexpr int kWidth = 300'000;
    const std::string value = "b1" + std::string(kWidth - 2, '0') + "1";
    const std::string dump = "$scope module t $end\n$var wire " + std::to_string(kWidth) +
                             " ! wide $end\n$upscope $end\n$enddefinitions $end\n#0\n" + value + " !\n#1\n";
    VcdChoices choices;
    choices.signalNames = {"wide[299999]", "wide[1]", "wide[0]", "wide"};
    choices.steps = 1;
    MemorySource source(dump, 4096);
    const LoadedChart got = readVcdChart(source, choices);
    ASSERT_TRUE(got.ok) << got.errorReason;
    EXPECT_EQ(got.chart->level[1][1], kLevelHigh);
    EXPECT_EQ(got.chart->level[1][2], kLevelLow);
    EXPECT_EQ(got.chart->level[1][3], kLevelHigh);
    EXPECT_EQ(got.chart->level[1][4], kLevelUndefined);
}

TEST(VcdReaderWords, AWordBeyondTheLimitIsRefused)
{
    const std::string dump = "$scope module t $end\n$var wire 1 ! " + std::string(1024 * 1024 + 1, 'n') + " $end\n";
    MemorySource source(dump);
    VcdReader reader(source);
    EXPECT_FALSE(reader.readHeader());
    EXPECT_EQ(reader.error().line, 2);
    EXPECT_EQ(reader.error().reason, Reason(ReasonKind::VcdWordTooLong, {1024 * 1024}));
}

}  // namespace
