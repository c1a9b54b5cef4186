// One recovery write of the largest chart, as the editor's timer makes it while the
// chart is modified: the bytes, then the file replaced on disk (temporary file, fsync,
// rename).
#include "storage/RecoveryFile.h"
#include "storage/RecoveryStore.h"

#include "FullChart.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

using namespace solvena;

namespace {

void BM_RecoveryBytes99x99(benchmark::State& state)
{
    const auto chart = fullChart();
    const GridLayout layout = fullGrid();
    for (auto _ : state)
        benchmark::DoNotOptimize(writeRecovery(*chart, layout, ChartOrigin{"/charts/全体.sbn", FileIdentity{4096, 1}}));
}
BENCHMARK(BM_RecoveryBytes99x99)->Unit(benchmark::kMicrosecond);

void BM_RecoveryWrite99x99(benchmark::State& state)
{
    const auto chart = fullChart();
    const GridLayout layout = fullGrid();
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    for (auto _ : state) {
        const std::string bytes = writeRecovery(*chart, layout, ChartOrigin{"/charts/全体.sbn", FileIdentity{4096, 1}});
        if (!store.write(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size()))).empty())
            state.SkipWithError("recovery write failed");
    }
}
BENCHMARK(BM_RecoveryWrite99x99)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
