// The CP932 codec on the names of the largest chart: decoded as the grid and the pictures
// show them, encoded as they are stored, and checked a character at a time as the name
// editor checks what is typed.
#include "text/Cp932.h"

#include "FullChart.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

using namespace solvena;

namespace {

std::vector<std::string> names()
{
    const auto chart = fullChart();
    std::vector<std::string> out;
    for (int r = 1; r < kMaxRows; ++r) out.push_back(chart->signalName[r]);
    return out;
}

void BM_DecodeNames(benchmark::State& state)
{
    const std::vector<std::string> bytes = names();
    for (auto _ : state)
        for (const std::string& name : bytes) benchmark::DoNotOptimize(cp932ToUtf16(name));
}
BENCHMARK(BM_DecodeNames);

void BM_EncodeNames(benchmark::State& state)
{
    std::vector<std::u16string> texts;
    for (const std::string& name : names()) texts.push_back(cp932ToUtf16(name));
    for (auto _ : state)
        for (const std::u16string& text : texts) benchmark::DoNotOptimize(utf16ToCp932(text));
}
BENCHMARK(BM_EncodeNames);

void BM_CheckEachCharacterOfANameOf20(benchmark::State& state)
{
    const std::u16string name = u"アドレスバス入力信号_ADDR_0123";
    for (auto _ : state)
        for (char16_t c : name) benchmark::DoNotOptimize(isCp932Encodable(std::u16string_view(&c, 1)));
}
BENCHMARK(BM_CheckEachCharacterOfANameOf20);

}  // namespace

BENCHMARK_MAIN();
