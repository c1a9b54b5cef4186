// Chart files as they arrive after a crash or a failing disk: cut short at any byte,
// or with a NUL byte anywhere. Each runs over every chart file under tests/data,
// all written by the writer.
#include "formats/ChartFile.h"

#include "ChartFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace solvena;

namespace {

const char* const kChartFiles[] = {"example.sbn", "names.sbn", "single-column.sbn", "negative-delay.sbn",
                                   "timing.sbn"};

std::string testName(std::string file)
{
    file = file.substr(0, file.find('.'));
    std::erase(file, '-');
    return file;
}

// The line a byte position lies in, for bytes whose every break is CR LF.
int lineAt(const std::string& bytes, size_t position)
{
    return 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(position), '\r'));
}

std::string withoutTrailingBreaks(std::string bytes)
{
    while (!bytes.empty() && (bytes.back() == '\r' || bytes.back() == '\n')) bytes.pop_back();
    return bytes;
}

std::string saved(const LoadedChart& read)
{
    return writeChart(*read.chart, gridLayoutWith(read.colWidths, read.rowCount));
}

class ChartDamage : public testing::TestWithParam<const char*> {};

// Whatever the cut, the file either is refused, or it opens with every step of the
// signals it holds whole; a cut the reader lets pass without a warning can only
// have taken whole signals from the end, which no reader can tell from a chart
// that has fewer signals.
TEST_P(ChartDamage, FileCutAtAnyByteLosesNoStepUnannounced)
{
    const std::string whole = readChartFixture(GetParam());
    const LoadedChart original = readChart(whole);
    ASSERT_TRUE(original.ok);
    ASSERT_EQ(original.warningLine, 0) << original.warningReason;
    // Where the data line of each signal ends.
    std::vector<size_t> dataEnd(static_cast<size_t>(original.rowCount), 0);
    size_t at = whole.find("\r\n") + 2;
    for (int32_t r = 1; r < original.rowCount; ++r) {
        at = whole.find("\r\n", at) + 2;
        const size_t end = whole.find("\r\n", at);
        dataEnd[static_cast<size_t>(r)] = end == std::string::npos ? whole.size() : end;
        at = end + 2;
    }

    for (size_t length = 0; length <= whole.size(); ++length) {
        SCOPED_TRACE(testing::Message() << "first " << length << " bytes");
        const std::string cut = whole.substr(0, length);
        const LoadedChart got = readChart(cut);
        if (!got.ok) {
            EXPECT_EQ(got.chart, nullptr);
            continue;
        }
        int32_t wholeSignals = 0;
        while (wholeSignals + 1 < original.rowCount && dataEnd[static_cast<size_t>(wholeSignals + 1)] <= length)
            ++wholeSignals;
        ASSERT_GT(got.rowCount, wholeSignals);
        if (wholeSignals > 0) {
            EXPECT_EQ(got.colCount, original.colCount);
        }
        for (int r = 1; r <= wholeSignals; ++r) {
            EXPECT_EQ(got.chart->signalName[r], original.chart->signalName[r]) << "signal " << r;
            for (int c = 1; c < original.colCount; ++c) {
                EXPECT_EQ(got.chart->level[c][r], original.chart->level[c][r]) << c << "," << r;
                EXPECT_EQ(got.chart->delay[c][r], original.chart->delay[c][r]) << c << "," << r;
                EXPECT_EQ(got.chart->cellFlags[c][r], original.chart->cellFlags[c][r]) << c << "," << r;
            }
        }
        if (got.warningLine == 0) {
            EXPECT_EQ(got.colCount, original.colCount);
            for (int r = 1; r < got.rowCount; ++r)
                EXPECT_EQ(got.chart->signalName[r], original.chart->signalName[r]) << "signal " << r;
            EXPECT_EQ(withoutTrailingBreaks(saved(got)), withoutTrailingBreaks(cut));
        } else {
            EXPECT_EQ(got.warningLine, lineAt(cut, cut.size())) << got.warningReason;
        }
        // What was opened saves whole and reads back as the writer's own file.
        const LoadedChart again = readChart(saved(got));
        ASSERT_TRUE(again.ok);
        EXPECT_EQ(again.warningLine, 0) << again.warningReason;
        EXPECT_EQ(saved(again), saved(got));
    }
}

TEST_P(ChartDamage, NulByteAnywhereIsRefused)
{
    const std::string whole = readChartFixture(GetParam());
    for (size_t at = 0; at <= whole.size(); ++at) {
        SCOPED_TRACE(testing::Message() << "NUL before byte " << at);
        std::string damaged = whole;
        damaged.insert(at, 1, '\0');
        const LoadedChart got = readChart(damaged);
        ASSERT_FALSE(got.ok);
        EXPECT_EQ(got.errorLine, lineAt(whole, at));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, ChartDamage, testing::ValuesIn(kChartFiles),
                         [](const testing::TestParamInfo<const char*>& info) { return testName(info.param); });

}  // namespace
