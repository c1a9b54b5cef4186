// Saving and loading the largest chart the record holds: 99 signals of 99 steps,
// every signal named.
#include "storage/ChartFile.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct FullChart {
    std::unique_ptr<TCell> chart = std::make_unique<TCell>();
    std::vector<int32_t> widths = std::vector<int32_t>(kMaxCols, grid_defaults::kColWidth);
    int32_t rows = kMaxRows;

    FullChart()
    {
        widths[0] = grid_defaults::kNameColumnWidth;
        for (int c = 0; c < kMaxCols; ++c) chart->timingLine[c] = c % 10 == 0;
        for (int r = 1; r < kMaxRows; ++r) {
            // "信号" and a number, the usual shape of a name.
            chart->signalName[r] = "\x90\x4d\x8d\x86 DATA_" + std::to_string(r);
            for (int c = 1; c < kMaxCols; ++c) {
                chart->level[c][r] = (c / (r % 7 + 1)) % 3;
                chart->delay[c][r] = (c * r) % 9 - 4;
                chart->cellFlags[c][r] = static_cast<uint8_t>((c + r) % 8);
            }
        }
    }
};

void BM_SaveChart99x99(benchmark::State& state)
{
    const FullChart full;
    size_t bytes = 0;
    for (auto _ : state) {
        std::string out = SaveChart(*full.chart, gridLayoutWith(full.widths, full.rows));
        bytes = out.size();
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_SaveChart99x99);

void BM_LoadChart99x99(benchmark::State& state)
{
    const FullChart full;
    const std::string bytes = SaveChart(*full.chart, gridLayoutWith(full.widths, full.rows));
    for (auto _ : state) {
        ChartLoadResult result = LoadChart(bytes);
        if (!result.ok) state.SkipWithError("the chart did not read back");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadChart99x99);

}  // namespace

BENCHMARK_MAIN();
