// Feeds arbitrary bytes to the chart reader. Whatever it accepts, with or without a
// warning, must save and read back to the same bytes and without a warning;
// AddressSanitizer watches that no input reaches memory beyond the record.
#include "formats/ChartFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace solvena;

namespace {

void require(bool condition, const char* what)
{
    if (condition) return;
    std::fprintf(stderr, "chart reader property broken: %s\n", what);
    std::abort();
}

void checkShape(const LoadedChart& result)
{
    require(result.chart != nullptr, "accepted without a chart");
    require(result.colCount >= 1 && result.colCount <= kMaxCols, "column count out of range");
    require(result.rowCount >= 1 && result.rowCount <= kMaxRows, "row count out of range");
    require(result.colWidths.size() == static_cast<size_t>(result.colCount), "widths do not match columns");
    for (const int32_t width : result.colWidths)
        require(width >= 0 && width <= kMaxColumnWidth, "width out of range");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const LoadedChart first = readChart(bytes);
    if (!first.ok) {
        require(first.chart == nullptr, "failure still returned a chart");
        require(first.errorLine >= 1 && !first.errorReason.empty(), "failure without line or reason");
        return 0;
    }
    checkShape(first);
    require((first.warningLine >= 1) == !first.warningReason.empty(), "warning without line or reason");

    const std::string saved = writeChart(*first.chart, gridLayoutWith(first.colWidths, first.rowCount));
    const LoadedChart second = readChart(saved);
    require(second.ok, "saved chart does not read back");
    require(second.warningLine == 0, "saved chart reads back with a warning");
    checkShape(second);
    require(second.colCount == first.colCount && second.rowCount == first.rowCount, "counts changed");
    require(second.colWidths == first.colWidths, "widths changed");
    require(writeChart(*second.chart, gridLayoutWith(second.colWidths, second.rowCount)) == saved, "second save differs");
    return 0;
}
