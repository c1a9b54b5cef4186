// WaveJSON export: the text written, the notice about what it leaves out, and the
// round trip through the import.
#include "formats/WaveJson.h"

#include "ReasonText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using namespace solvena;

namespace {

// A grid of `cols` columns of a new grid's widths and `rows` rows.
GridLayout grid(int cols, int rows)
{
    std::vector<int32_t> widths(static_cast<size_t>(std::max(cols, 0)), 15);
    if (!widths.empty()) widths[0] = 80;
    return gridLayoutWith(widths, rows);
}

void setRow(TCell& chart, int r, const std::vector<int32_t>& levels)
{
    for (size_t i = 0; i < levels.size(); ++i) chart.level[i + 1][r] = levels[i];
}

TEST(WaveJsonExportText, OneSignalPerRowRepeatsAsDotsNamesEscaped)
{
    auto chart = std::make_unique<TCell>();
    chart->signalName[1] = "CLK";
    setRow(*chart, 1, {0, 1, 1, 0});
    setRow(*chart, 2, {2, 7, -1, 1});
    chart->signalName[3] = "\x82\x62\x82\x6B\x82\x6A\"\\\t\x01";
    setRow(*chart, 3, {0, 0, 0, 0});
    chart->level[5][1] = 1;  // beyond the grid's columns
    const WaveJsonExport got = writeWaveJson(*chart, grid(5, 4));
    EXPECT_EQ(got.text,
              "{\n"
              "  \"signal\": [\n"
              "    { \"name\": \"CLK\", \"wave\": \"01.0\" },\n"
              "    { \"name\": \"\", \"wave\": \"x..1\" },\n"
              "    { \"name\": \"ＣＬＫ\\\"\\\\\\t\\u0001\", \"wave\": \"0...\" }\n"
              "  ]\n"
              "}\n");
    EXPECT_FALSE(got.attributesLeftOut);
    EXPECT_TRUE(got.notice.empty());
}

TEST(WaveJsonExportText, NoSignalsAndNoSteps)
{
    const TCell chart;
    EXPECT_EQ(writeWaveJson(chart, grid(3, 1)).text, "{\n  \"signal\": []\n}\n");
    EXPECT_EQ(writeWaveJson(chart, grid(1, 2)).text, "{\n  \"signal\": [\n    { \"name\": \"\", \"wave\": \"\" }\n  ]\n}\n");
}

TEST(WaveJsonExportText, CountsOutsideTheRecordAreRefused)
{
    const TCell chart;
    EXPECT_THROW(writeWaveJson(chart, grid(0, 2)), ReasonError);
    EXPECT_THROW(writeWaveJson(chart, grid(101, 2)), ReasonError);
    EXPECT_THROW(writeWaveJson(chart, grid(2, 0)), ReasonError);
    EXPECT_THROW(writeWaveJson(chart, grid(2, 101)), ReasonError);
}

// A name the import would refuse is refused by the export, naming its row, so that no
// file is written that cannot be read back; a name CP932 writes in two ways is kept.
TEST(WaveJsonExportText, NamesThatCouldNotBeReadBackAreRefused)
{
    const struct {
        std::string name;
        std::string refusal;  // part of the message, or "" when exported
    } cases[] = {
        {"\xFF", "2 行目の信号名に CP932 として正しくないバイト"},
        {"A\x82", "2 行目の信号名に CP932 として正しくないバイト"},  // a lead byte cut off
        {"A\rB", "2 行目の信号名に改行（CR、LF）か NUL"},
        {"A\nB", "2 行目の信号名に改行（CR、LF）か NUL"},
        {"\xED\x40", ""},  // an NEC-selected IBM extension, read back as its IBM code
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto chart = std::make_unique<TCell>();
        chart->signalName[1] = "ok";
        chart->signalName[2] = c.name;
        try {
            const LoadedChart back = readWaveJson(writeWaveJson(*chart, grid(3, 3)).text);
            EXPECT_EQ(c.refusal, "");
            EXPECT_TRUE(back.ok) << back.errorReason;
        } catch (const ReasonError& e) {
            EXPECT_NE(c.refusal, "");
            EXPECT_NE(japanese(e.reason()).find(c.refusal), std::string::npos) << japanese(e.reason());
        }
    }
}

struct NoticeCase {
    const char* label;
    std::function<void(TCell&)> setUp;
    std::vector<int32_t> widths;
    std::string notice;
};

// Grid of 5 columns (steps 1 .. 4) and 3 rows (signals 1 and 2).
const NoticeCase kNotices[] = {
    {"Nothing", [](TCell&) {}, {80, 15, 15, 15, 15}, ""},
    {"Delay", [](TCell& t) { t.delay[2][1] = -3; }, {}, "WaveJSON で表せない遅延は書き出していません"},
    {"RisingArrow", [](TCell& t) { t.cellFlags[4][2] = kFlagRisingArrow; }, {}, "WaveJSON で表せないエッジの矢印は書き出していません"},
    {"FallingArrow", [](TCell& t) { t.cellFlags[1][1] = kFlagFallingArrow; }, {}, "WaveJSON で表せないエッジの矢印は書き出していません"},
    {"Label", [](TCell& t) { t.cellFlags[1][2] = kFlagShowNumber; }, {}, "WaveJSON で表せない数値表示は書き出していません"},
    {"TimingLine", [](TCell& t) { t.timingLine[4] = 1; }, {}, "WaveJSON で表せないタイミング線は書き出していません"},
    {"Width", [](TCell&) {}, {80, 15, 20, 15, 15}, "WaveJSON で表せない列幅は書き出していません"},
    {"NameColumnWidth", [](TCell&) {}, {100, 15, 15, 15, 15}, "WaveJSON で表せない列幅は書き出していません"},
    {"All",
     [](TCell& t) {
         t.delay[1][1] = 2;
         t.cellFlags[2][1] = kFlagRisingArrow | kFlagShowNumber;
         t.timingLine[1] = 1;
     },
     {80, 20, 20, 20, 20}, "WaveJSON で表せない遅延、エッジの矢印、数値表示、タイミング線、列幅は書き出していません"},
    {"OnlyWhatTheGridShowsCounts",
     [](TCell& t) {
         t.delay[5][1] = 1;                  // beyond the columns
         t.delay[1][3] = 1;                  // beyond the rows
         t.delay[0][1] = 1;                  // the name column
         t.timingLine[0] = 1;                // never drawn
         t.timingLine[2] = 2;                // draws nothing
         t.cellFlags[3][1] = 8;              // a bit without meaning
     },
     {}, ""},
};

class WaveJsonNotice : public testing::TestWithParam<NoticeCase> {};

TEST_P(WaveJsonNotice, NamesWhatIsLeftOut)
{
    const NoticeCase& t = GetParam();
    auto chart = std::make_unique<TCell>();
    t.setUp(*chart);
    const WaveJsonExport got =
        writeWaveJson(*chart, t.widths.empty() ? grid(5, 3) : gridLayoutWith(t.widths, 3));
    EXPECT_EQ(japanese(got.notice), t.notice);
    EXPECT_EQ(got.attributesLeftOut, !t.notice.empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, WaveJsonNotice, testing::ValuesIn(kNotices),
                         [](const testing::TestParamInfo<NoticeCase>& info) {
                             return std::string(info.param.label);
                         });

// Charts of every size corner and random ones, with all three levels and names with
// full-width, half-width and escaped characters, come back from an export unchanged.
TEST(WaveJsonRoundTrip, LevelsNamesAndCountsComeBack)
{
    const std::vector<std::string> names = {
        "", "CLK", "\x82\x62\x82\x6B\x82\x6A",           // ＣＬＫ
        "\x83\x66\x81\x5B\x83\x5E\x87\x40",               // データ①
        "\xFB\xFC\x8B\xB4\x81\x60",                       // 髙橋～
        "\xB1\xB2\xB3 x", " a \"q\" \\ \t"};
    std::mt19937 rng(20240611);
    const auto between = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<std::pair<int, int>> sizes = {{1, 1}, {1, 100}, {100, 1}, {100, 100}, {2, 2}};
    for (int i = 0; i < 20; ++i) sizes.emplace_back(between(1, 100), between(1, 100));

    for (const auto& [cols, rows] : sizes) {
        SCOPED_TRACE(testing::Message() << cols << " x " << rows);
        auto chart = std::make_unique<TCell>();
        for (int r = 1; r < rows; ++r) {
            chart->signalName[r] = names[static_cast<size_t>(between(0, static_cast<int>(names.size()) - 1))];
            for (int c = 1; c < cols; ++c) chart->level[c][r] = between(0, 2);
        }
        const LoadedChart back = readWaveJson(writeWaveJson(*chart, grid(cols, rows)).text);
        ASSERT_TRUE(back.ok) << back.errorReason;
        ASSERT_EQ(back.colCount, rows > 1 ? cols : 1);  // no signal, no wave to carry the steps
        ASSERT_EQ(back.rowCount, rows);
        for (int r = 1; r < rows; ++r) {
            ASSERT_EQ(back.chart->signalName[r], chart->signalName[r]) << "row " << r;
            for (int c = 1; c < cols; ++c)
                ASSERT_EQ(back.chart->level[c][r], chart->level[c][r]) << "cell " << c << "," << r;
        }
    }
}

}  // namespace
