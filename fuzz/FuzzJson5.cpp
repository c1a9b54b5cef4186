// Feeds arbitrary bytes to the WaveJSON import, and so to the JSON5 reader beneath
// it. Whatever it accepts must fit the record and come back from an export with the
// same names and levels; AddressSanitizer watches the reader's every step.
#include "formats/WaveJson.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

using namespace solvena;

namespace {

void require(bool condition, const char* what)
{
    if (condition) return;
    std::fprintf(stderr, "WaveJSON import property broken: %s\n", what);
    std::abort();
}

void checkShape(const LoadedChart& result)
{
    require(result.chart != nullptr, "accepted without a chart");
    require(result.colCount >= 1 && result.colCount <= kMaxCols, "column count out of range");
    require(result.rowCount >= 1 && result.rowCount <= kMaxRows, "row count out of range");
    require(result.chart->colCount == result.colCount && result.chart->rowCount == result.rowCount,
            "record counts differ from the result's");
    require(result.colWidths.size() == static_cast<size_t>(result.colCount), "widths do not match columns");
    for (int c = 1; c < result.colCount; ++c)
        for (int r = 1; r < result.rowCount; ++r) {
            const int32_t level = result.chart->level[c][r];
            require(level == kLevelLow || level == kLevelHigh || level == kLevelUndefined, "level out of range");
            require((result.chart->cellFlags[c][r] & ~(kFlagRisingArrow | kFlagFallingArrow)) == 0,
                    "flag other than an arrow");
        }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const LoadedChart first = readWaveJson(text);
    if (!first.ok) {
        require(first.chart == nullptr, "refusal still returned a chart");
        require(!first.errorReason.empty(), "refusal without a message");
        return 0;
    }
    checkShape(first);

    const WaveJsonExport exported = writeWaveJson(*first.chart, gridLayoutWith(first.colWidths, first.rowCount));
    const LoadedChart second = readWaveJson(exported.text);
    require(second.ok, "exported chart does not import");
    checkShape(second);
    require(second.rowCount == first.rowCount, "row count changed");
    require(second.colCount == (first.rowCount > 1 ? first.colCount : 1), "column count changed");
    require(second.notes.empty(), "own export gave warnings");
    for (int r = 1; r < first.rowCount; ++r) {
        require(second.chart->signalName[r] == first.chart->signalName[r], "name changed");
        for (int c = 1; c < first.colCount; ++c)
            require(second.chart->level[c][r] == first.chart->level[c][r], "level changed");
    }
    return 0;
}
