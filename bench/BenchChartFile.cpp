// Saving and loading the largest chart the record holds: 99 signals of 99 steps,
// every signal named.
#include "formats/ChartFile.h"

#include "FullChart.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

using namespace solvena;

namespace {

void BM_SaveChart99x99(benchmark::State& state)
{
    const auto chart = fullChart();
    const GridLayout grid = fullGrid();
    size_t bytes = 0;
    for (auto _ : state) {
        std::string out = writeChart(*chart, grid);
        bytes = out.size();
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}
BENCHMARK(BM_SaveChart99x99);

void BM_LoadChart99x99(benchmark::State& state)
{
    const std::string bytes = writeChart(*fullChart(), fullGrid());
    for (auto _ : state) {
        LoadedChart result = readChart(bytes);
        if (!result.ok) state.SkipWithError("the chart did not read back");
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadChart99x99);

}  // namespace

BENCHMARK_MAIN();
