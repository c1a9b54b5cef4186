// WaveJSON import: wave characters to columns per row, and what is refused.
#include "storage/WaveJson.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
};

std::string wave(std::string_view w) { return "{signal:[{name:'s', wave:'" + std::string(w) + "'}]}"; }

const ImportCase kCases[] = {
    {"EachCharacterClass", wave("01hHlLxz=23456789ud"), {{"s", "011100xxxxxxxxxxxxx"}}},
    {"RepeatsHoldThePreviousStep", wave("0..1|.x."), {{"s", "000111xx"}}},
    {"RepeatAtTheFirstStepIsUndefined", "{signal:[{wave:'.0'},{wave:'|1'}]}", {{"", "x0"}, {"", "x1"}}},
    {"ClockMakesEveryStepTwoColumns", "{signal:[{wave:'p..'},{wave:'01x'},{wave:'n.'}]}",
     {{"", "101010"}, {"", "0011xx"}, {"", "010101"}}},
    {"RisingArrowsOnlyWhereTheyRise", "{signal:[{wave:'P.'},{wave:'1P0P'}]}",
     {{"", "10101010", "r.r.r.r."}, {"", "11100010", "......r."}}},
    {"FallingArrowsOnTheHighCellBefore", "{signal:[{wave:'1N.'},{wave:'N0N'}]}",
     {{"", "110101", ".f.f.."}, {"", "010001", "......"}}},
    {"GroupsFlattenAndSpacersAreLowRows",
     "{signal:[{name:'A',wave:'1'}, ['G', {name:'B',wave:'0'}, ['H', {}, {name:'C',wave:'x'}]], "
     "{name:'D',wave:'1'}]}",
     {{"A", "1"}, {"B", "0"}, {"", "0"}, {"C", "x"}, {"D", "1"}},
     {"グループの見出しは取り込めないため無視しました: G, H"}},
    {"PeriodStretchesSteps", "{signal:[{wave:'01', period:2},{wave:'1x0'}]}", {{"", "0011"}, {"", "1x00"}}},
    {"PeriodStretchesAClockStep", "{signal:[{wave:'p', period:2},{wave:'01'}]}", {{"", "1100"}, {"", "0011"}}},
    {"ShortSignalsRepeatTheirLastStepCutAtTheEnd",
     "{signal:[{wave:'p', period:3},{wave:'0....'},{wave:''},{name:'n'},{wave:'1x'}]}",
     {{"", "1110001110"}, {"", "0000000000"}, {"", "0000000000"}, {"n", "0000000000"}, {"", "11xxxxxxxx"}}},
    {"Json5Forms", "// c\n{ /* x */ 'signal': [ {\"name\": \"q\", wave: '0\\x31',}, ], }", {{"q", "01"}}},
    {"FullWidthNameIsStoredAsCp932", "{signal:[{name:'ＣＬＫ①髙ｱ～', wave:'1'}]}",
     {{"\x82\x62\x82\x6B\x82\x6A\x87\x40\xFB\xFC\xB1\x81\x60", "1"}}},
    {"NoSignalsIsAnEmptyChart", "{signal:[]}", {}},
    {"KeysTheChartCannotHoldWarnOnce",
     "{signal:[{name:'a',wave:'1',phase:0.5,node:'.a',data:['x']},{wave:'0',node:'b'}], edge:['a~>b'], "
     "config:{hscale:2}, head:{text:'t'}, foot:{}}",
     {{"a", "1"}, {"", "0"}},
     {"チャートに取り込めない次の項目は無視しました: edge, config, head, foot, phase, node, data"}},
};

class WaveJsonImport : public testing::TestWithParam<ImportCase> {};

TEST_P(WaveJsonImport, GivesTheseRows)
{
    const ImportCase& t = GetParam();
    const WaveJsonImportResult got = importWaveJson(t.text);
    ASSERT_TRUE(got.ok) << got.errorMessage;
    ASSERT_NE(got.chart, nullptr);
    const int steps = t.rows.empty() ? 0 : static_cast<int>(t.rows[0].levels.size());
    ASSERT_EQ(got.colCount, steps + 1);
    ASSERT_EQ(got.rowCount, static_cast<int>(t.rows.size()) + 1);
    EXPECT_EQ(got.chart->colCount, got.colCount);
    EXPECT_EQ(got.chart->rowCount, got.rowCount);
    std::vector<int32_t> widths(static_cast<size_t>(got.colCount), 15);
    widths[0] = 80;
    EXPECT_EQ(got.colWidths, widths);
    EXPECT_EQ(got.warnings, t.warnings);
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
    const WaveJsonImportResult got = importWaveJson(signals(99, std::string(99, '1')));
    ASSERT_TRUE(got.ok) << got.errorMessage;
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
    {"NameWithCarriageReturn", "{signal:[{name:'a\\rb', wave:'0'}]}", "信号「aU+000Db」の名前に改行（CR）"},
    {"HundredSignals", signals(100, "0"), "信号が100本あります"},
    {"HundredSteps", signals(1, std::string(100, '0')), "ステップが100あります"},
    {"FiftyStepsWithAClock", signals(1, "p" + std::string(49, '.')), "1ステップを2列にしています"},
    {"PeriodBeyondTheSteps", "{signal:[{wave:'01', period:50}]}", "ステップが100あります"},
    {"PeriodZero", "{signal:[{name:'s', wave:'0', period:0}]}", "信号「s」の period（0）は1～99の整数"},
    {"PeriodFractional", "{signal:[{wave:'0', period:1.5}]}", "1番目の信号の period（1.5）"},
    {"PeriodNegative", "{signal:[{wave:'0', period:-1}]}", "period（-1）"},
    {"PeriodNaN", "{signal:[{wave:'0', period:NaN}]}", "period（nan）"},
    {"PeriodAsString", "{signal:[{wave:'0', period:'2'}]}", "period が数値ではありません"},
    {"WaveNotAString", "{signal:[{}, {name:'w', wave:5}]}", "信号「w」の wave が文字列ではありません"},
    {"WaveNull", "{signal:[{wave:null}]}", "1番目の信号の wave が文字列ではありません"},
    {"NameNotAString", "{signal:[{name:5, wave:'0'}]}", "1番目の信号の name が文字列ではありません"},
    {"UnknownWaveCharacter", wave("0a"), "信号「s」の wave に使えない文字「a」があります（2文字目）"},
    {"NonAsciiWaveCharacter", wave("1ー"), "使えない文字「ー」があります（2文字目）"},
    {"SubCycleMarker", wave("0<1>"), "使えない文字「<」"},
    {"RootNotAnObject", "[{wave:'0'}]", "最上位"},
    {"NoSignalArray", "{config:{}}", "signal 配列がありません"},
    {"SignalNotAnArray", "{signal:{wave:'0'}}", "signal 配列がありません"},
    {"NumberInTheSignalArray", "{signal:[{wave:'0'}, 3]}", "信号でもグループでもない要素"},
    {"CaptionNotFirstInGroup", "{signal:[['G', {wave:'0'}, 'late']]}", "信号でもグループでもない要素"},
    {"NotJson5", "{signal:[{wave:'0'}", "WaveJSON として読めません（1行20列"},
};

class WaveJsonRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(WaveJsonRefusal, RefusesTheWholeImport)
{
    const RefusalCase& t = GetParam();
    const WaveJsonImportResult got = importWaveJson(t.text);
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.chart, nullptr);
    EXPECT_NE(got.errorMessage.find(t.message), std::string::npos) << got.errorMessage;
}

INSTANTIATE_TEST_SUITE_P(Cases, WaveJsonRefusal, testing::ValuesIn(kRefusals),
                         [](const testing::TestParamInfo<RefusalCase>& info) {
                             return std::string(info.param.label);
                         });

}  // namespace
