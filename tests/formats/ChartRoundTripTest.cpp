// Round trips over random charts, the record's capacity limits and what the
// writer refuses.
#include "formats/ChartFile.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

using namespace solvena;

namespace {

class RandomChart {
public:
    explicit RandomChart(uint32_t seed) : rng_(seed) {}

    int32_t between(int32_t lo, int32_t hi) { return std::uniform_int_distribution<int32_t>(lo, hi)(rng_); }

    int32_t anyInt()
    {
        switch (between(0, 3)) {
        case 0: return between(-3, 3);
        case 1: return std::numeric_limits<int32_t>::min();
        case 2: return std::numeric_limits<int32_t>::max();
        default: return between(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
        }
    }

    // A name of CP932 characters: ASCII with blanks, half-width katakana, double-byte
    // characters, and now and then any byte but CR, LF and NUL.
    std::string name()
    {
        std::string s;
        const int length = between(0, 12);
        for (int i = 0; i < length; ++i) {
            switch (between(0, 4)) {
            case 0: s += static_cast<char>(between(0x20, 0x7E)); break;
            case 1: s += static_cast<char>(between(0xA1, 0xDF)); break;
            case 2:
            case 3: {
                const int lead = between(0, 1) ? between(0x81, 0x9F) : between(0xE0, 0xFC);
                int trail = between(0x40, 0xFB);
                if (trail == 0x7F) ++trail;
                s += static_cast<char>(lead);
                s += static_cast<char>(trail);
                break;
            }
            default: {
                char byte = static_cast<char>(between(0, 255));
                if (byte == '\r' || byte == '\n' || byte == '\0') byte = ' ';
                s += byte;
            }
            }
        }
        return s;
    }

    void fill(TCell& chart, std::vector<int32_t>& widths, int32_t& rows)
    {
        widths.resize(static_cast<size_t>(between(1, kMaxCols)));
        rows = between(1, kMaxRows);
        for (auto& w : widths) w = between(0, 1) ? between(0, 200) : between(0, kMaxColumnWidth);
        for (size_t c = 0; c < widths.size(); ++c) chart.timingLine[c] = between(0, 2) ? between(0, 1) : anyInt();
        for (int r = 1; r < rows; ++r) {
            chart.signalName[r] = name();
            for (size_t c = 1; c < widths.size(); ++c) {
                chart.level[c][r] = between(0, 4) ? between(0, 2) : anyInt();
                chart.delay[c][r] = between(0, 1) ? between(-20, 20) : anyInt();
                chart.cellFlags[c][r] = static_cast<uint8_t>(between(0, 255));
            }
        }
    }

private:
    std::mt19937 rng_;
};

TEST(ChartRoundTrip, RandomChartsSurviveSaveLoadSave)
{
    RandomChart random(20240607u);
    for (int i = 0; i < 300; ++i) {
        SCOPED_TRACE(i);
        auto chart = std::make_unique<TCell>();
        std::vector<int32_t> widths;
        int32_t rows = 0;
        random.fill(*chart, widths, rows);
        const auto cols = static_cast<int32_t>(widths.size());

        const std::string bytes = writeChart(*chart, gridLayoutWith(widths, rows));
        const LoadedChart loaded = readChart(bytes);
        ASSERT_TRUE(loaded.ok) << loaded.errorReason << " line " << loaded.errorLine;
        ASSERT_EQ(loaded.colCount, cols);
        ASSERT_EQ(loaded.rowCount, rows);
        ASSERT_EQ(loaded.colWidths, widths);
        EXPECT_EQ(writeChart(*loaded.chart, gridLayoutWith(loaded.colWidths, loaded.rowCount)), bytes);

        // The fresh record holds exactly the saved extent and nothing else.
        TCell expected;
        expected.colCount = cols;
        expected.rowCount = rows;
        for (int c = 0; c < cols; ++c) expected.timingLine[c] = chart->timingLine[c];
        for (int r = 1; r < rows; ++r) {
            expected.signalName[r] = chart->signalName[r];
            for (int c = 1; c < cols; ++c) {
                expected.level[c][r] = chart->level[c][r];
                expected.delay[c][r] = chart->delay[c][r];
                expected.cellFlags[c][r] = chart->cellFlags[c][r];
            }
        }
        ASSERT_TRUE(*loaded.chart == expected);
    }
}

// Cells outside the grid's extent are not the file's business.
TEST(ChartRoundTrip, WriterIgnoresCellsBeyondTheExtent)
{
    auto chart = std::make_unique<TCell>();
    chart->level[5][1] = 1;
    chart->signalName[3] = "hidden";
    chart->timingLine[4] = 1;
    EXPECT_EQ(writeChart(*chart, gridLayoutWith({80, 15}, 2)), "80 0 15 0\r\n\r\n0 0 0");
}

std::string header(int pairs)
{
    std::string s = "80 0";
    for (int c = 1; c < pairs; ++c) s += " 15 0";
    return s + "\r\n";
}

std::string dataLine(int triples)
{
    std::string s;
    for (int c = 0; c < triples; ++c) s += c ? " 1 0 0" : "1 0 0";
    return s;
}

std::string blocks(int count, int triples)
{
    std::string s;
    for (int r = 0; r < count; ++r) s += (r ? "\r\nS\r\n" : "S\r\n") + dataLine(triples);
    return s;
}

TEST(ChartCapacity, FullRecordFits)
{
    const LoadedChart got = readChart(header(100) + blocks(99, 99));
    ASSERT_TRUE(got.ok) << got.errorReason;
    EXPECT_EQ(got.colCount, 100);
    EXPECT_EQ(got.rowCount, 100);
    EXPECT_EQ(got.chart->level[99][99], 1);
}

struct OverCapacity {
    const char* label;
    std::string bytes;
    int errorLine;
};

class ChartOverCapacity : public testing::TestWithParam<OverCapacity> {};

TEST_P(ChartOverCapacity, IsAFailure)
{
    const LoadedChart got = readChart(GetParam().bytes);
    EXPECT_FALSE(got.ok);
    EXPECT_EQ(got.chart, nullptr);
    EXPECT_EQ(got.errorLine, GetParam().errorLine);
    EXPECT_FALSE(got.errorReason.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Limits, ChartOverCapacity,
    testing::Values(OverCapacity{"HundredAndOnePairs", header(101), 1},
                    OverCapacity{"HundredTriples", header(2) + blocks(1, 100), 3},
                    OverCapacity{"HundredBlocks", header(2) + blocks(100, 1), 200},
                    OverCapacity{"EmptyLineAfterNinetyNineBlocks", header(2) + blocks(99, 1) + "\r\n\r\n",
                                 200},
                    OverCapacity{"TriplesOverflowingOnALaterBlock",
                                 header(2) + blocks(5, 3) + "\r\nS\r\n" + dataLine(100), 13}),
    [](const testing::TestParamInfo<OverCapacity>& info) { return std::string(info.param.label); });

TEST(ChartCapacity, HugeInputFailsWithoutTouchingMemoryBeyondTheRecord)
{
    EXPECT_FALSE(readChart(header(5000)).ok);
    EXPECT_FALSE(readChart(header(2) + blocks(3, 20000)).ok);
    EXPECT_FALSE(readChart(header(2) + blocks(5000, 0)).ok);
}

struct WriterRefusal {
    const char* label;
    std::vector<int32_t> widths;
    int32_t rows;
    std::string name;
    Reason says;
};

class ChartWriterRefuses : public testing::TestWithParam<WriterRefusal> {};

TEST_P(ChartWriterRefuses, WhatCouldNotBeReadBack)
{
    auto chart = std::make_unique<TCell>();
    chart->signalName[1] = GetParam().name;
    try {
        writeChart(*chart, gridLayoutWith(GetParam().widths, GetParam().rows));
        ADD_FAILURE() << "saved";
    } catch (const ReasonError& refusal) {
        EXPECT_EQ(refusal.reason(), GetParam().says);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChartWriterRefuses,
    testing::Values(
        WriterRefusal{"NoColumns", {}, 2, "", Reason(ReasonKind::ChartColumnCountRange, {1, 100})},
        WriterRefusal{"HundredAndOneColumns", std::vector<int32_t>(101, 15), 2, "",
                      Reason(ReasonKind::ChartColumnCountRange, {1, 100})},
        WriterRefusal{"NoRows", {80, 15}, 0, "", Reason(ReasonKind::ChartRowCountRange, {1, 100})},
        WriterRefusal{"HundredAndOneRows", {80, 15}, 101, "", Reason(ReasonKind::ChartRowCountRange, {1, 100})},
        WriterRefusal{"NegativeWidth", {80, -1}, 2, "", Reason(ReasonKind::ChartColumnWidthRange, {0, 10000})},
        WriterRefusal{"WidthTooLarge", {10001, 15}, 2, "", Reason(ReasonKind::ChartColumnWidthRange, {0, 10000})},
        WriterRefusal{"CarriageReturnInName", {80, 15}, 2, "A\rB", Reason(ReasonKind::ChartNameLineBreak, {1})},
        WriterRefusal{"LineFeedInName", {80, 15}, 2, "A\nB", Reason(ReasonKind::ChartNameLineBreak, {1})},
        WriterRefusal{"NulInName", {80, 15}, 2, std::string("A\0B", 3), Reason(ReasonKind::ChartNameNul, {1})}),
    [](const testing::TestParamInfo<WriterRefusal>& info) { return std::string(info.param.label); });

}  // namespace
