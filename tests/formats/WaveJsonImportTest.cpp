// WaveJSON import: wave characters to columns per row, and what is refused.
#include "formats/WaveJson.h"

#include "ReasonText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace solvena;

namespace {

// One imported row: levels of columns 1 .. n-1 as "0", "1", "x" and, when given, the
// arrows on them as "r" (rising), "f" (falling) or "." (none).
struct RowCheck {
    std::string name;  // CP932 bytes
    std::string levels;
    std::string arrows = {};
};

struct ImportCase {
    const char* label;
    std::string text;
    std::vector<RowCheck> rows;
    std::vector<std::string> warnings = {};
    int32_t stepWidth = 15;  // of every column after the name column
};

std::string wave(std::string_view w) { return "{signal:[{name:'s', wave:'" + std::string(w) + "'}]}"; }

// The levels are those the format's reference renderer (wavedrom-cli) draws for the
// same text, where it draws any.
const ImportCase kCases[] = {
    {"EachCharacterClass", wave("01hHlLxz=23456789ud"), {{"s", "011100xxxxxxxxxxxxx"}},
     {"不定として取り込んだ文字: z, =, 2, 3, 4, 5, 6, 7, 8, 9 ほか2件"}},
    {"RepeatsHoldThePreviousStep", wave("0..1|.x."), {{"s", "000111xx"}}, {"チャートに入らないため省いたもの: 区切り（|）1個"}},
    // The reference knows nothing before the first step, nor after a character it does not know.
    {"RepeatAtTheFirstStepIsUndefinedAndSoIsTheStepAfter", "{signal:[{wave:'.0'},{wave:'|1'}]}",
     {{"", "xx"}, {"", "xx"}}, {"チャートに入らないため省いたもの: 区切り（|）1個"}},
    {"OddCharactersAreUndefined", "{signal:[{wave:'0-1?'},{wave:'z1u'},{wave:'1ー'}]}",
     {{"", "0xxx"}, {"", "x1xx"}, {"", "1xxx"}}, {"不定として取り込んだ文字: -, ?, z, u, ー"}},
    {"ClockMakesEveryStepTwoColumns", "{signal:[{wave:'p..'},{wave:'01x'},{wave:'n.'}]}",
     {{"", "101010"}, {"", "0011xx"}, {"", "010101"}}},
    {"RisingArrowsOnlyWhereTheyRise", "{signal:[{wave:'P.'},{wave:'1P0P'}]}",
     {{"", "10101010", "r.r.r.r."}, {"", "11100010", "......r."}}},
    {"FallingArrowsOnTheHighCellBefore", "{signal:[{wave:'1N.'},{wave:'N0N'}]}",
     {{"", "110101", ".f.f.."}, {"", "010001", "......"}}},
    {"EdgeLevelsCarryArrowsToo", wave("0H1L"), {{"s", "0110", ".rf."}}},
    {"GroupsFlattenAndSpacersAreLowRows",
     "{signal:[{name:'A',wave:'1'}, ['G', {name:'B',wave:'0'}, ['H', {}, {name:'C',wave:'x'}]], "
     "{name:'D',wave:'1'}]}",
     {{"A", "1"}, {"B", "0"}, {"", "0"}, {"C", "x"}, {"D", "1"}},
     {"チャートに入らないため省いたもの: グループの見出し 2個（G, H）"}},
    {"PeriodStretchesSteps", "{signal:[{wave:'01', period:2},{wave:'1x0'}]}", {{"", "0011"}, {"", "1x00"}}},
    {"PeriodAsANumericString", "{signal:[{wave:'01', period:' 2 '},{wave:'1', period:''}]}",
     {{"", "0011"}, {"", "1111"}}},
    // A clock of period 2 changes once a step: the step stays one column.
    {"PeriodStretchesAClockStep", "{signal:[{wave:'p', period:2},{wave:'01'}]}", {{"", "10"}, {"", "01"}}},
    {"HalfPeriodMakesTwoColumnsAStep", "{signal:[{wave:'0101', period:0.5},{wave:'01'}]}",
     {{"", "0101"}, {"", "0011"}}},
    {"PeriodOfOneAndAHalf", "{signal:[{wave:'01', period:1.5},{wave:'1..0'}]}",
     {{"", "00011111"}, {"", "11111100"}}},
    {"PhaseMovesTheWaveLeft", "{signal:[{wave:'0110', phase:0.5},{wave:'0101'}]}",
     {{"", "01111000"}, {"", "00110011"}}},
    {"NegativePhaseStartsUndefined", "{signal:[{wave:'01', phase:'-0.25'},{wave:'1..'}]}",
     {{"", "x00001111111"}, {"", "111111111111"}}},
    {"SubCyclesTakeHalfSteps", wave("0<1010>1"), {{"s", "00101011"}}},
    {"HscaleWidensTheSteps", "{signal:[{wave:'p.'}], config:{hscale:2}}", {{"", "1010"}}, {}, 30},
    {"SubCyclesUnderHscaleStayHalfBricks", "{signal:[{wave:'0<10>1'}], config:{hscale:'2.6'}}",
     {{"", "00000010111111"}}, {}, 45},
    {"ShortSignalsRepeatTheirLastStepCutAtTheEnd",
     "{signal:[{wave:'p', period:3},{wave:'0....'},{wave:''},{name:'n'},{wave:'1x'}]}",
     {{"", "1110001110"}, {"", "0000000000"}, {"", "0000000000"}, {"n", "0000000000"}, {"", "11xxxxxxxx"}}},
    {"Json5Forms", "// c\n{ /* x */ 'signal': [ {\"name\": \"q\", wave: '0\\x31',}, ], }", {{"q", "01"}}},
    {"FullWidthNameIsStoredAsCp932", "{signal:[{name:'ＣＬＫ①髙ｱ～', wave:'1'}]}",
     {{"\x82\x62\x82\x6B\x82\x6A\x87\x40\xFB\xFC\xB1\x81\x60", "1"}}},
    {"NoSignalsIsAnEmptyChart", "{signal:[]}", {}},
    {"WhatTheChartCannotHoldIsCountedInOneLine",
     "{signal:[{name:'a',wave:'=.2|',node:'.a.b',data:['x','y'],over:1},['G',{wave:'0',node:'c',data:'p q  r'}]], "
     "edge:['a~>b','b->c'], config:{hscale:1, skin:'narrow'}, head:{text:'t'}, foot:{}}",
     {{"a", "xxxx"}, {"", "0000"}},
     {"チャートに入らないため省いたもの: データのラベル 5個、node 3個、edge 2本、区切り（|）1個、"
      "グループの見出し 1個（G）、head, foot, config.skin, over。不定として取り込んだ文字: =, 2"}},
};

class WaveJsonImport : public testing::TestWithParam<ImportCase> {};

TEST_P(WaveJsonImport, GivesTheseRows)
{
    const ImportCase& t = GetParam();
    const LoadedChart got = readWaveJson(t.text);
    ASSERT_TRUE(got.ok) << got.errorReason;
    ASSERT_NE(got.chart, nullptr);
    const int steps = t.rows.empty() ? 0 : static_cast<int>(t.rows[0].levels.size());
    ASSERT_EQ(got.colCount, steps + 1);
    ASSERT_EQ(got.rowCount, static_cast<int>(t.rows.size()) + 1);
    EXPECT_EQ(got.chart->colCount, got.colCount);
    EXPECT_EQ(got.chart->rowCount, got.rowCount);
    std::vector<int32_t> widths(static_cast<size_t>(got.colCount), t.stepWidth);
    widths[0] = 80;
    EXPECT_EQ(got.colWidths, widths);
    EXPECT_EQ(japanese(got.notes), t.warnings);
    for (size_t i = 0; i < t.rows.size(); ++i) {
        const int r = static_cast<int>(i + 1);
        std::string levels, arrows;
        for (int c = 1; c <= steps; ++c) {
            const int32_t level = got.chart->level[c][r];
            levels += level == 0 ? '0' : level == 1 ? '1' : level == 2 ? 'x' : '?';
            const uint8_t flags = got.chart->cellFlags[c][r];
            arrows += flags == kFlagRisingArrow ? 'r' : flags == kFlagFallingArrow ? 'f' : flags == 0 ? '.' : '?';
        }
        EXPECT_EQ(got.chart->signalName[r], t.rows[i].name) << "row " << r;
        EXPECT_EQ(got.chart->cellFlags[0][r], 0) << "row " << r;
        EXPECT_EQ(levels, t.rows[i].levels) << "row " << r;
        EXPECT_EQ(arrows, t.rows[i].arrows.empty() ? std::string(levels.size(), '.') : t.rows[i].arrows)
            << "row " << r;
    }
}

// Written out again, the chart reads back with every level and name: one column a step.
TEST_P(WaveJsonImport, ExportedAgainKeepsEveryLevel)
{
    const LoadedChart first = readWaveJson(GetParam().text);
    ASSERT_TRUE(first.ok) << first.errorReason;
    const WaveJsonExport exported = writeWaveJson(*first.chart, gridLayoutWith(first.colWidths, first.rowCount));
    const LoadedChart again = readWaveJson(exported.text);
    ASSERT_TRUE(again.ok) << again.errorReason;
    ASSERT_EQ(again.rowCount, first.rowCount);
    if (first.rowCount > 1) {
        ASSERT_EQ(again.colCount, first.colCount);
    }
    for (int r = 1; r < first.rowCount; ++r) {
        EXPECT_EQ(again.chart->signalName[r], first.chart->signalName[r]);
        for (int c = 1; c < first.colCount; ++c)
            EXPECT_EQ(again.chart->level[c][r], first.chart->level[c][r]) << "column " << c << ", row " << r;
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, WaveJsonImport, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<ImportCase>& info) {
                             return std::string(info.param.label);
                         });

std::string signals(int count, std::string_view w)
{
    std::string text = "{signal:[";
    for (int i = 0; i < count; ++i) text += "{wave:'" + std::string(w) + "'},";
    return text + "]}";
}

TEST(WaveJsonImportLimits, NinetyNineSignalsOfNinetyNineStepsFit)
{
    const LoadedChart got = readWaveJson(signals(99, std::string(99, '1')));
    ASSERT_TRUE(got.ok) << got.errorReason;
    EXPECT_EQ(got.colCount, 100);
    EXPECT_EQ(got.rowCount, 100);
    EXPECT_EQ(got.chart->level[99][99], 1);
}

struct RefusalCase {
    const char* label;
    std::string text;
    std::string message;  // expected within the error message
};

const RefusalCase kRefusals[] = {
    {"NameCp932CannotHold", "{signal:[{name:'A😀', wave:'0'}]}", "信号「A😀」の名前に CP932"},
    {"NameWithCarriageReturn", "{signal:[{name:'a\\rb', wave:'0'}]}", "信号「aU+000Db」の名前に改行（CR、LF）か NUL"},
    {"NameWithLineFeed", "{signal:[{name:'a\\nb', wave:'0'}]}", "信号「aU+000Ab」の名前に改行（CR、LF）か NUL"},
    {"NameWithNul", "{signal:[{name:'a\\u0000b', wave:'0'}]}", "の名前に改行（CR、LF）か NUL"},
    {"HundredSignals", signals(100, "0"), "信号が100本あります"},
    {"HundredSteps", signals(1, std::string(100, '0')), "ステップが100あります"},
    {"FiftyStepsWithAClock", signals(1, "p" + std::string(49, '.')), "1ステップを2列にしています"},
    {"PeriodBeyondTheSteps", "{signal:[{wave:'01', period:50}]}", "ステップが100あります"},
    {"TwentyFiveStepsInQuartersByPhase", "{signal:[{wave:'01', phase:0.25},{wave:'" + std::string(25, '1') + "'}]}",
     "ステップが100あります。取り込めるのは99ステップまでです（波形の変化に合わせて、WaveJSON の1ステップを4列に"},
    {"PeriodZero", "{signal:[{name:'s', wave:'0', period:0}]}", "信号「s」の period（0）は0より大きく99以下の数"},
    {"PeriodBeyondNinetyNine", "{signal:[{wave:'0', period:'99.5'}]}", "1番目の信号の period（99.5）"},
    {"PeriodNegative", "{signal:[{wave:'0', period:-1}]}", "period（-1）"},
    {"PeriodNaN", "{signal:[{wave:'0', period:NaN}]}", "period（nan）"},
    {"PeriodNotANumber", "{signal:[{wave:'0', period:'2x'}]}", "period が数値ではありません"},
    {"PhaseNotANumber", "{signal:[{name:'p', wave:'0', phase:true}]}", "信号「p」の phase が数値ではありません"},
    {"PhaseBeyondTheRange", "{signal:[{wave:'0', phase:-1e4}]}", "phase（-10000）は-1000～1000の数"},
    {"WaveNotAString", "{signal:[{}, {name:'w', wave:5}]}", "信号「w」の wave が文字列ではありません"},
    {"WaveNull", "{signal:[{wave:null}]}", "1番目の信号の wave が文字列ではありません"},
    {"NameNotAString", "{signal:[{name:5, wave:'0'}]}", "1番目の信号の name が文字列ではありません"},
    {"RootNotAnObject", "[{wave:'0'}]", "最上位"},
    {"NoSignalArray", "{config:{}}", "signal 配列がありません"},
    {"SignalNotAnArray", "{signal:{wave:'0'}}", "signal 配列がありません"},
    {"RegisterDiagram", "{reg:[{bits:8, name:'CTRL'}], config:{bits:8}}", "これはレジスタ図（reg）です"},
    {"LogicDiagram", "{assign:[['out', ['|', 'a', 'b']]]}", "これは論理回路図（assign）です"},
    {"NumberInTheSignalArray", "{signal:[{wave:'0'}, 3]}", "信号でもグループでもない要素"},
    {"CaptionNotFirstInGroup", "{signal:[['G', {wave:'0'}, 'late']]}", "信号でもグループでもない要素"},
    {"NotJson5", "{signal:[{wave:'0'}", "WaveJSON として読めません（1行20列"},
};

class WaveJsonRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(WaveJsonRefusal, RefusesTheWholeImport)
{
    const RefusalCase& t = GetParam();
    const LoadedChart got = readWaveJson(t.text);
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.chart, nullptr);
    EXPECT_NE(japanese(got.errorReason).find(t.message), std::string::npos) << japanese(got.errorReason);
}

INSTANTIATE_TEST_SUITE_P(Cases, WaveJsonRefusal, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<RefusalCase>& info) {
                             return std::string(info.param.label);
                         });

}  // namespace
