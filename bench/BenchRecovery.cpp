// One recovery write of the largest chart, as the editor's timer makes it while the
// chart is modified: the bytes, then the file replaced on disk (temporary file, fsync,
// rename).
#include "storage/RecoveryFile.h"
#include "storage/RecoveryStore.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

std::unique_ptr<TCell> fullChart()
{
    auto chart = std::make_unique<TCell>();
    for (int r = 1; r < kMaxRows; ++r) {
        chart->signalName[r] = "\x90\x4d\x8d\x86 DATA_" + std::to_string(r);
        for (int c = 1; c < kMaxCols; ++c) {
            chart->level[c][r] = (c / (r % 7 + 1)) % 3;
            chart->delay[c][r] = (c * r) % 9 - 4;
            chart->cellFlags[c][r] = static_cast<uint8_t>((c + r) % 8);
        }
    }
    return chart;
}

GridLayout fullLayout()
{
    GridLayout layout;
    setColCount(layout, kMaxCols);
    setRowCount(layout, kMaxRows);
    return layout;
}

void BM_RecoveryBytes99x99(benchmark::State& state)
{
    const auto chart = fullChart();
    const GridLayout layout = fullLayout();
    for (auto _ : state)
        benchmark::DoNotOptimize(SaveRecovery(*chart, layout, "/charts/全体.sbn", "ソルベナエディタ - /charts/全体.sbn"));
}
BENCHMARK(BM_RecoveryBytes99x99)->Unit(benchmark::kMicrosecond);

void BM_RecoveryWrite99x99(benchmark::State& state)
{
    const auto chart = fullChart();
    const GridLayout layout = fullLayout();
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    for (auto _ : state) {
        const std::string bytes = SaveRecovery(*chart, layout, "/charts/全体.sbn", "ソルベナエディタ - /charts/全体.sbn");
        if (!store.write(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()))).isEmpty())
            state.SkipWithError("recovery write failed");
    }
}
BENCHMARK(BM_RecoveryWrite99x99)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
