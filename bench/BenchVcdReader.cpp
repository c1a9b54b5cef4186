// A 99 x 99 window read from a generated 100 MB value change dump, lying at its start
// and at its end: the first is bounded by the header and a few instants, the second by
// the speed of reading the whole dump. From memory, and from a file through the page
// cache as the window and the command line read it.
#include "storage/FileByteSource.h"
#include "formats/VcdChart.h"

#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

using namespace solvena;

namespace {

constexpr size_t kDumpBytes = 100 * 1000 * 1000;
constexpr int kScalars = 160;
constexpr int kVectors = 16;
constexpr uint64_t kTicksPerInstant = 5;  // 5ns apart; the clock is signal 0

std::string idCode(int n)
{
    // The writers' own scheme: base 94 over '!' .. '~'.
    std::string id;
    do {
        id += static_cast<char>('!' + n % 94);
        n /= 94;
    } while (n > 0);
    return id;
}

struct Dump {
    std::string bytes;
    uint64_t lastTime = 0;
};

// A testbench-like dump: a clock toggling at every instant, and at each instant a
// dozen other signals changing, picked by a fixed pseudo-random sequence.
const Dump& dump()
{
    static const Dump made = [] {
        Dump d;
        std::string& out = d.bytes;
        out.reserve(kDumpBytes + 4096);
        out += "$date generated $end\n$version bench $end\n$timescale 1ns $end\n$scope module tb $end\n";
        for (int i = 0; i < kScalars; ++i) {
            if (i == kScalars / 2) out += "$scope module dut $end\n";
            out += "$var wire 1 " + idCode(i) + (i == 0 ? " clk" : " s" + std::to_string(i)) + " $end\n";
        }
        for (int v = 0; v < kVectors; ++v)
            out += "$var reg 16 " + idCode(kScalars + v) + " bus" + std::to_string(v) + " [15:0] $end\n";
        out += "$upscope $end\n$upscope $end\n$enddefinitions $end\n#0\n$dumpvars\n";
        for (int i = 0; i < kScalars; ++i) out += "0" + idCode(i) + "\n";
        for (int v = 0; v < kVectors; ++v) out += "b0 " + idCode(kScalars + v) + "\n";
        out += "$end\n";
        uint32_t seed = 12345;
        const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
        bool clock = false;
        uint64_t time = 0;
        while (out.size() < kDumpBytes) {
            time += kTicksPerInstant;
            out += "#" + std::to_string(time) + "\n";
            clock = !clock;
            out += (clock ? "1" : "0") + idCode(0) + "\n";
            for (int k = 0; k < 12; ++k) {
                const uint32_t r = next();
                const int which = 1 + static_cast<int>((r >> 8) % (kScalars + kVectors - 1));
                if (which < kScalars) {
                    out += "01xz"[(r >> 4) % 3 == 2 && r % 17 == 0 ? 2 : (r >> 4) % 2];
                    out += idCode(which) + "\n";
                } else {
                    out += 'b';
                    for (int b = 15; b >= 0; --b) out += ((r >> (b + 8)) & 1) ? '1' : '0';
                    out += " " + idCode(which) + "\n";
                }
            }
        }
        d.lastTime = time;
        return d;
    }();
    return made;
}

VcdChoices window(bool atEnd, bool clocked)
{
    VcdChoices choices;   // the first 99 one-bit signals
    choices.steps = kMaxVcdSteps;
    const uint64_t span = (kMaxVcdSteps - 1) * kTicksPerInstant;
    const uint64_t start = atEnd ? dump().lastTime - span : 0;
    choices.startFemtoseconds = static_cast<int64_t>(start) * 1'000'000;
    if (clocked) choices.clock = "tb.clk";
    else choices.stepFemtoseconds = static_cast<int64_t>(kTicksPerInstant) * 1'000'000;
    return choices;
}

void check(benchmark::State& state, const LoadedChart& chart)
{
    if (!chart.ok) state.SkipWithError("the dump could not be read");
    else if (chart.colCount != kMaxVcdSteps + 1 || chart.rowCount != kMaxVcdRows + 1)
        state.SkipWithError("the window is not 99 x 99");
}

void BM_VcdFromMemory(benchmark::State& state)
{
    const bool atEnd = state.range(0) != 0;
    const bool clocked = state.range(1) != 0;
    const std::string& bytes = dump().bytes;
    const VcdChoices choices = window(atEnd, clocked);
    for (auto _ : state) {
        MemorySource source(bytes);
        const LoadedChart chart = readVcdChart(source, choices);
        check(state, chart);
        benchmark::DoNotOptimize(chart.chart.get());
    }
    if (atEnd) state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_VcdFromMemory)->ArgNames({"at_end", "clock"})->Args({0, 0})->Args({1, 0})->Args({1, 1})
    ->Unit(benchmark::kMillisecond);

void BM_VcdFromFile(benchmark::State& state)
{
    const bool atEnd = state.range(0) != 0;
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = dir.filePath(QStringLiteral("bench.vcd"));
        QFile file(p);
        const std::string& bytes = dump().bytes;
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
            return QString();
        return p;
    }();
    if (path.isEmpty()) {
        state.SkipWithError("the dump could not be written");
        return;
    }
    const VcdChoices choices = window(atEnd, false);
    for (auto _ : state) {
        Reason error;
        const std::unique_ptr<FileByteSource> source = FileByteSource::open(path, error);
        if (!source) {
            state.SkipWithError("the dump could not be opened");
            break;
        }
        const LoadedChart chart = readVcdChart(*source, choices);
        check(state, chart);
        benchmark::DoNotOptimize(chart.chart.get());
    }
    if (atEnd) state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * dump().bytes.size()));
}
BENCHMARK(BM_VcdFromFile)->ArgName("at_end")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
