// Feeds arbitrary bytes to the VCD reader and the sampling behind it. Whatever it
// accepts must fit the record with levels the chart knows; whatever it refuses must say
// why; and reading the same bytes in short pieces, as a pipe hands them over, must give
// the same answer as reading them whole. AddressSanitizer watches every step.
#include "formats/VcdChart.h"

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
    std::fprintf(stderr, "VCD reader property broken: %s\n", what);
    std::abort();
}

void checkShape(const LoadedChart& result)
{
    if (!result.ok) {
        require(result.chart == nullptr, "refusal still returned a chart");
        require(!result.errorReason.empty(), "refusal without a reason");
        require(result.errorLine >= 0, "negative line");
        return;
    }
    require(result.chart != nullptr, "accepted without a chart");
    require(result.colCount >= 2 && result.colCount <= kMaxVcdSteps + 1, "column count out of range");
    require(result.rowCount >= 2 && result.rowCount <= kMaxVcdRows + 1, "row count out of range");
    require(result.colWidths.size() == static_cast<size_t>(result.colCount), "widths do not match columns");
    for (int c = 1; c < result.colCount; ++c)
        for (int r = 1; r < result.rowCount; ++r) {
            const int32_t level = result.chart->level[c][r];
            require(level == kLevelLow || level == kLevelHigh || level == kLevelUndefined, "level out of range");
        }
}

void requireSame(const LoadedChart& a, const LoadedChart& b)
{
    require(a.ok == b.ok, "pieces changed whether the dump reads");
    require(a.errorLine == b.errorLine && a.errorReason == b.errorReason, "pieces changed the refusal");
    require(a.notes == b.notes, "pieces changed the notes");
    if (!a.ok) return;
    require(a.colCount == b.colCount && a.rowCount == b.rowCount, "pieces changed the size");
    require(*a.chart == *b.chart, "pieces changed the chart");
}

LoadedChart load(std::string_view bytes, size_t piece, const VcdChoices& choices)
{
    MemorySource source(bytes, piece);
    return readVcdChart(source, choices);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The default choices: the first one-bit signals, steps of the dump's first interval.
    VcdChoices choices;
    choices.steps = 16;
    const LoadedChart whole = load(bytes, size_t(-1), choices);
    checkShape(whole);
    const size_t piece = size == 0 ? 1 : static_cast<size_t>(data[size - 1] % 7) + 1;
    requireSame(whole, load(bytes, piece, choices));

    // With the clock a dialog would propose, if the header reads and names one.
    MemorySource headerSource(bytes);
    VcdReader reader(headerSource);
    if (reader.readHeader()) {
        choices.clock = suggestedVcdClock(reader.header());
        if (!choices.clock.empty()) {
            const LoadedChart clocked = load(bytes, size_t(-1), choices);
            checkShape(clocked);
            requireSame(clocked, load(bytes, piece, choices));
        }
    }
    return 0;
}
