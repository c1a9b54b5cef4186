// Hand-written dumps sampled into charts: the corner cases of the format and of the
// sampling rule, and what is refused (with the dump's line, or without one when the
// choices do not fit the dump).
#include "formats/VcdChart.h"
#include "formats/VcdTime.h"

#include "ReasonText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace solvena;

namespace {

struct RowCheck {
    std::string name;     // CP932 bytes
    std::string levels;   // "0", "1", "x" per step
};

struct ChartCase {
    const char* label;
    std::string dump;
    std::vector<std::string> signalNames;
    std::string clock;
    std::string step;     // "" for the automatic step
    std::string start;
    int32_t steps;
    std::vector<RowCheck> rows;
    std::vector<std::string> notes = {};
};

// A dump with one scope "top" around `vars`.
std::string vcd(const std::string& vars, const std::string& body, const std::string& timescale = "1ns")
{
    return "$timescale " + timescale + " $end\n$scope module top $end\n" + vars + "$upscope $end\n$enddefinitions $end\n" +
           body;
}

const std::string kA = "$var wire 1 ! a $end\n";
const std::string kBus = "$var wire 4 % bus [3:0] $end\n";

VcdChoices choicesOf(const std::vector<std::string>& names, const std::string& clock, const std::string& step,
                     const std::string& start, int32_t steps)
{
    VcdChoices choices;
    choices.signalNames = names;
    choices.clock = clock;
    choices.stepFemtoseconds = step.empty() ? 0 : parseTimeText(step).femtoseconds;
    choices.startFemtoseconds = parseTimeText(start).femtoseconds;
    choices.steps = steps;
    return choices;
}

std::vector<RowCheck> rowsOf(const LoadedChart& chart)
{
    std::vector<RowCheck> rows;
    for (int r = 1; r < chart.rowCount; ++r) {
        RowCheck row{chart.chart->signalName[r], {}};
        for (int c = 1; c < chart.colCount; ++c) row.levels += "01x?"[std::min(chart.chart->level[c][r], 3)];
        rows.push_back(row);
    }
    return rows;
}

bool operator==(const RowCheck& a, const RowCheck& b) { return a.name == b.name && a.levels == b.levels; }
void PrintTo(const RowCheck& row, std::ostream* out) { *out << row.name << ": " << row.levels; }

const std::string kClockDump = vcd("$var wire 1 c clk $end\n$var wire 1 d d $end\n",
                                   "#0 0c 0d\n#5 1c 1d\n#7 0c 1c\n#10 0c\n#15 1c 0d\n#20 0c\n");

const ChartCase kCases[] = {
    {"TimescaleMakesTheTicks", vcd(kA, "#0 0!\n#2 1!\n#3 0!\n#6 1!\n", "10 ps"), {"a"}, "", "20ps", "0", 4,
     {{"a", "0101"}}},
    {"StartAndStepInAnyUnit", vcd(kA, "#0 0!\n#3 1!\n#5 0!\n", "1us"), {"a"}, "", "1000ns", "0.002ms", 3,
     {{"a", "011"}}},
    {"UnknownLevelsAreUndefined", vcd(kA, "#0 x!\n#1 0!\n#2 z!\n#3 1!\n#4 X!\n#5 Z!\n#6 u!\n#7 h!\n#8 -!\n"), {"a"},
     "", "1ns", "0", 9, {{"a", "x0x1xxxxx"}}},
    {"WholeVectorIsLowOrHighOnlyWhenAllBitsAre",
     vcd(kBus, "#0 b0000 %\n#1 b1111 %\n#2 b1 %\n#3 b0 %\n#4 bx %\n#5 b11 %\n#6 bz1 %\n#7 b1x11 %\n"), {"bus"}, "",
     "1ns", "0", 8, {{"bus", "01x0xxxx"}}},
    {"SplitVectorWidensAsTheFormatSays", vcd(kBus, "#0 b1 %\n#1 bx0 %\n#2 b10z1 %\n#3 bz %\n"), {"bus[*]"}, "",
     "1ns", "0", 4, {{"bus[3]", "0x1x"}, {"bus[2]", "0x0x"}, {"bus[1]", "0xxx"}, {"bus[0]", "101x"}}},
    {"BitsAreNamedAsDeclared", vcd("$var reg 3 % up [0:2] $end\n$var wire 4 & nib [7:4] $end\n", "#0 b100 % b0010 &\n"),
     {"up[*]", "nib[5]"}, "", "1ns", "0", 1, {{"up[0]", "1"}, {"up[1]", "0"}, {"up[2]", "0"}, {"nib[5]", "1"}}},
    {"IndexJoinedToTheName", vcd("$var wire 2 % pair[1:0] $end\n", "#0 b10 %\n"), {"pair[*]"}, "", "1ns", "0", 1,
     {{"pair[1]", "1"}, {"pair[0]", "0"}}},
    {"DumpOffMakesEverySignalUnknown",
     vcd(kA + kBus, "#0\n$dumpvars 1! b0000 % $end\n#2\n$dumpoff $end\n#4\n$dumpon 0! b0 % $end\n#5 1!\n"),
     {"a", "bus"}, "", "1ns", "0", 6, {{"a", "11xx01"}, {"bus", "00xx00"}}},
    {"ACellTakesTheLastChangeOfItsInstant", vcd(kA, "#0 0!\n#1 1!\n0!\n1!\n#2 0!\n1!\n0!\n#3 1!\n#3 0!\n"), {"a"}, "",
     "1ns", "0", 4, {{"a", "0100"}}},
    {"ClockEdgesStartTheStepsAndAGlitchIsNone", kClockDump, {"clk", "d"}, "clk", "", "0", 4,
     {{"clk", "1010"}, {"d", "1100"}}},
    {"ClockStepsStartAtTheFirstEdgeFromTheStart", kClockDump, {"clk", "d"}, "clk", "", "12ns", 4,
     {{"clk", "10"}, {"d", "00"}}, {"クロックのエッジが時刻 20ns で終わるため、2 ステップで打ち切りました"}},
    {"UnknownToHighIsNoEdge", vcd("$var wire 1 c clk $end\n", "#0 xc\n#5 1c\n#10 0c\n#15 1c\n"), {"clk"}, "clk", "",
     "0", 2, {{"clk", "01"}}},
    {"AClockMayBeABitOfAVector", vcd(kBus, "#0 b0000 %\n#5 b0001 %\n#10 b0010 %\n#15 b0011 %\n"), {"bus[1]"},
     "bus[0]", "", "0", 3, {{"bus[1]", "011"}}},
    {"WindowPastTheEndIsCut", vcd(kA, "#0 0!\n#10 1!\n#30 0!\n"), {"a"}, "", "10ns", "20ns", 5, {{"a", "10"}},
     {"ダンプが時刻 30ns で終わるため、2 ステップで打ち切りました"}},
    {"RealsAreLowAtZeroAndHighAtOne", vcd("$var real 64 r temp $end\n", "#0 r0 r\n#1 r1.0 r\n#2 r0.5 r\n#3 R1e0 r\n#4 r-0 r\n"),
     {"temp"}, "", "1ns", "0", 5, {{"temp", "01x10"}}},
    {"StringsAreUndefined", vcd(kA, "#0 1!\n#1 sidle !\n"), {"a"}, "", "1ns", "0", 2, {{"a", "1x"}}},
    {"ScopesOnlyWhereNamesMeet",
     "$timescale 1ns $end\n$scope module tb $end\n$var wire 1 ! data $end\n$var wire 1 \" en $end\n"
     "$scope module dut $end\n$var wire 1 # data $end\n$upscope $end\n$upscope $end\n$enddefinitions $end\n"
     "#0 1! 0\" x#\n",
     {"tb.data", "en", "dut.data"}, "", "1ns", "0", 1, {{"tb.data", "1"}, {"en", "0"}, {"tb.dut.data", "x"}}},
    {"AliasesAreOneSignal",
     "$scope module tb $end\n$var wire 1 ! clk $end\n$scope module dut $end\n$var wire 1 ! clk $end\n$upscope $end\n"
     "$upscope $end\n$timescale 1ns $end\n$enddefinitions $end\n#0 1!\n",
     {"clk"}, "", "1ns", "0", 1, {{"clk", "1"}}},
    {"DefaultIsEveryOneBitSignalOnce",
     vcd(kBus + "$var wire 1 ! clk $end\n$var real 1 r t $end\n$scope module sub $end\n$var wire 1 ! clk $end\n"
                "$var wire 1 # rst $end\n$upscope $end\n",
         "#0 b0 % 1! 0# r1 r\n"),
     {}, "", "1ns", "0", 1, {{"clk", "1"}, {"rst", "0"}}},
    {"ValuesBeforeTheFirstTimeHoldFromZero", vcd(kA, "1!\n#4 0!\n"), {"a"}, "", "2ns", "0", 3, {{"a", "110"}}},
    {"AutomaticStepIsTheFirstIntervalFromTheStart", vcd(kA, "#0 0!\n#5 1!\n#10 0!\n#20 1!\n#30 0!\n"), {"a"}, "", "",
     "7ns", 3, {{"a", "101"}}},
    {"NothingKnownYetIsUndefined", vcd(kA, "#10 1!\n"), {"a"}, "", "5ns", "0", 3, {{"a", "xx1"}}},
    {"CommentsAndUnknownDeclarationsArePassedOver",
     "$comment made by hand $end\n$scope module top $end\n$attrbegin misc 07 x 2 $end\n$var wire 1 ! a $end\n"
     "$upscope $end\n$enddefinitions $end\n$comment in the values $end\n#0 1!\n#1 0!\n",
     {"a"}, "", "1ns", "0", 2, {{"a", "10"}},
     {"宣言 $attrbegin は読み飛ばしました", "$timescale がないため、時間の単位を 1ns としました"}},
    {"FullWidthNamesAreStoredAsCp932", vcd("$var wire 1 ! 温度① $end\n", "#0 1!\n"), {"温度①"}, "", "1ns", "0", 1,
     {{"\x89\xB7\x93\x78\x87\x40", "1"}}},
};

class VcdChart : public testing::TestWithParam<ChartCase> {};

TEST_P(VcdChart, GivesTheseRowsWhateverPiecesTheBytesComeIn)
{
    const ChartCase& t = GetParam();
    const VcdChoices choices = choicesOf(t.signalNames, t.clock, t.step, t.start, t.steps);
    for (const size_t piece : {size_t(-1), size_t(1), size_t(5)}) {
        MemorySource source(t.dump, piece);
        const LoadedChart got = readVcdChart(source, choices);
        ASSERT_TRUE(got.ok) << got.errorLine << ": " << got.errorReason;
        EXPECT_EQ(rowsOf(got), t.rows) << "piece " << piece;
        EXPECT_EQ(japanese(got.notes), t.notes);
        EXPECT_EQ(got.chart->colCount, got.colCount);
        EXPECT_EQ(got.chart->rowCount, got.rowCount);
        std::vector<int32_t> widths(static_cast<size_t>(got.colCount), 15);
        widths[0] = 80;
        EXPECT_EQ(got.colWidths, widths);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, VcdChart, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ChartCase>& info) { return std::string(info.param.label); });

struct RefusalCase {
    const char* label;
    std::string dump;
    std::vector<std::string> signalNames;
    std::string clock;
    std::string start;
    int errorLine;         // 0: the choices are at fault
    std::string reason;    // expected within the reason
};

const std::string kHead = "$timescale 1ns $end\n$scope module top $end\n$var wire 1 ! a $end\n";  // lines 1-3
const std::string kDefs = kHead + kBus + "$upscope $end\n$enddefinitions $end\n";                 // lines 1-6

const RefusalCase kRefusals[] = {
    {"DefinitionsNeverEnd", kHead, {"a"}, "", "0", 4, "$enddefinitions がありません"},
    {"TimescaleOfThree", "$timescale 3 ns $end\n" + kDefs, {"a"}, "", "0", 1, "1、10、100"},
    {"TimescaleWithoutUnit", "$timescale\n 10\n$end\n" + kDefs, {"a"}, "", "0", 1, "1、10、100"},
    {"WidthNotANumber", "$scope module t $end\n$var wire four ! a $end\n", {"a"}, "", "0", 2, "$var の幅"},
    {"WidthOfZero", "$scope module t $end\n\n$var wire 0 ! a $end\n", {"a"}, "", "0", 3, "$var の幅"},
    {"VarWithTwoNames", "$scope module t $end\n$var wire 1 ! a b $end\n", {"a"}, "", "0", 2, "添字 [..] か $end"},
    {"VarCutShort", "$scope module t $end\n$var wire 1 !\n$end\n", {"a"}, "", "0", 3, "$var の名前が必要です"},
    {"ValueInTheDefinitions", "$scope module t $end\n1!\n", {"a"}, "", "0", 2, "宣言（"},
    {"DumpvarsInTheDefinitions", "$scope module t $end\n$dumpvars\n", {"a"}, "", "0", 2, "$enddefinitions が必要"},
    {"UpscopeWithoutScope", "$upscope $end\n", {"a"}, "", "0", 1, "$upscope に対応する $scope"},
    {"UpscopeNotClosed", "$scope module t $end\n$upscope\n  extra\n", {"a"}, "", "0", 3,
     "$upscope を閉じる $end が必要です（「extra」があります）"},
    {"CommentNeverClosed", "$comment\nwho\nknows\n", {"a"}, "", "0", 1, "$comment を閉じる $end"},
    {"UndeclaredCode", kDefs + "#0\n1?\n", {"a"}, "", "0", 8, "識別コード「?」は $var で宣言されていません"},
    {"VectorLongerThanItsVariable", kDefs + "#0\nb10101 %\n", {"a"}, "", "0", 8, "幅 4 を超えています"},
    {"NotABit", kDefs + "#0\nb102 %\n", {"a"}, "", "0", 8, "ビット値"},
    {"VectorWithoutCode", kDefs + "#0\nb1", {"a"}, "", "0", 8, "識別コードが必要です"},
    {"ScalarWithoutCode", kDefs + "#0\n1\n", {"a"}, "", "0", 8, "識別コードが必要です"},
    {"RealNotANumber", kDefs + "#0\nrabc !\n", {"a"}, "", "0", 8, "実数"},
    {"TimeGoesBack", kDefs + "#5\n\n#4\n", {"a"}, "", "0", 9, "時刻が戻っています"},
    {"TimeNotANumber", kDefs + "#1a\n", {"a"}, "", "0", 7, "時刻（0 以上の整数）"},
    {"TimeBeyondTheCounter", kDefs + "#99999999999999999999\n", {"a"}, "", "0", 7, "大きすぎます"},
    {"SectionLeftOpen", kDefs + "#0\n$dumpvars\n1!\n#5\n", {"a"}, "", "0", 10, "$dumpvars を閉じる $end が必要です"},
    {"SectionNeverClosed", kDefs + "#0\n$dumpvars\n1!\n", {"a"}, "", "0", 8, "$dumpvars を閉じる $end がありません"},
    {"StrayEnd", kDefs + "#0\n$end\n", {"a"}, "", "0", 8, "$dumpvars などがありません"},
    {"UnknownCommand", kDefs + "#0\n$finish\n", {"a"}, "", "0", 8, "どれかが必要です（「$finish」があります）"},
    {"NulByte", kDefs + std::string("#0\n1!\0", 6), {"a"}, "", "0", 8, "NUL"},
    {"UnknownSignal", kDefs + "#0 1!\n", {"nope"}, "", "0", 0, "信号「nope」はダンプにありません"},
    {"SplitAScalar", kDefs + "#0 1!\n", {"a[*]"}, "", "0", 0, "ベクタではない"},
    {"BitTheVectorHasNot", kDefs + "#0 1!\n", {"bus[4]"}, "", "0", 0, "ビット [4] はありません（[3:0]）"},
    {"ClockOfFourBits", kDefs + "#0 1!\n", {"a"}, "bus", "0", 0, "1 ビットの信号ではありません"},
    {"ClockThatNeverMoves", kDefs + "#0 1!\n#50 1!\n", {"a"}, "a", "0", 0, "クロックのエッジがありません"},
    {"StartAfterTheEnd", kDefs + "#0 1!\n#30 0!\n", {"a"}, "", "31ns", 0, "最後の時刻 30ns より後です"},
    {"StartBetweenTicks", kDefs + "#0 1!\n", {"a"}, "", "1500ps", 0, "1ns の整数倍ではありません"},
    {"NoOneBitSignalForTheDefault", "$scope module t $end\n" + kBus + "$upscope $end\n$enddefinitions $end\n", {}, "",
     "0", 0, "1 ビットの信号がありません"},
    {"MoreThan99Rows", "$scope module t $end\n$var wire 100 % wide $end\n$enddefinitions $end\n", {"wide[*]"}, "", "0",
     0, "99 行まで"},
    {"NameCp932CannotHold", "$scope module t $end\n$var wire 1 ! go\xF0\x9F\x9A\x80 $end\n$enddefinitions $end\n#0 1!\n",
     {}, "", "0", 0, "信号名「go\xF0\x9F\x9A\x80」は CP932"},
    {"AmbiguousName",
     "$scope module tb $end\n$var wire 1 ! data $end\n$scope module dut $end\n$var wire 1 # data $end\n$upscope $end\n"
     "$upscope $end\n$enddefinitions $end\n",
     {"data"}, "", "0", 0, "複数あります（tb.data、tb.dut.data）"},
};

class VcdRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(VcdRefusal, SaysWhereAndWhatWasExpectedWhateverPiecesTheBytesComeIn)
{
    const RefusalCase& t = GetParam();
    for (const size_t piece : {size_t(-1), size_t(1)}) {
        MemorySource source(t.dump, piece);
        const LoadedChart got = readVcdChart(source, choicesOf(t.signalNames, t.clock, "1ns", t.start, 10));
        ASSERT_FALSE(got.ok);
        EXPECT_EQ(got.chart, nullptr);
        EXPECT_EQ(got.errorLine, t.errorLine) << got.errorReason;
        EXPECT_NE(japanese(got.errorReason).find(t.reason), std::string::npos)
            << japanese(got.errorReason) << " (piece " << piece << ")";
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, VcdRefusal, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.label); });

}  // namespace
