// Drawing a full chart (99 steps x 99 signals, every feature in use) into a QImage,
// as an export or a full-screen repaint does.
#include "render/ChartLayout.h"
#include "render/DrawChart.h"
#include "render/FontSubstitutions.h"
#include "render/RasterCanvas.h"

#include "FullChart.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace solvena;

namespace {

std::unique_ptr<TCell> busyChart()
{
    auto chart = std::make_unique<TCell>();
    for (int r = 1; r < kMaxRows; ++r) {
        chart->signalName[r] = "SIG" + std::to_string(r);
        for (int c = 0; c < kMaxCols; ++c) {
            const int k = c * 7 + r * 3;
            chart->level[c][r] = (k / 3) % 5 == 4 ? 2 : (k / 2) % 2;
            chart->delay[c][r] = (k % 11 == 0) ? (k % 7) - 3 : 0;
            uint8_t flags = 0;
            if (k % 5 == 0)
                flags |= kFlagShowNumber;
            if (k % 13 == 0)
                flags |= kFlagRisingArrow;
            if (k % 17 == 0)
                flags |= kFlagFallingArrow;
            chart->cellFlags[c][r] = flags;
        }
    }
    for (int c = 1; c < kMaxCols; c += 10)
        chart->timingLine[c] = 1;
    return chart;
}

ChartLayout fullLayout()
{
    return ChartLayout(fullGrid());
}

RenderOptions options(bool withHeader)
{
    return renderOptionsFor(fullGrid(), FontDesc{"", 10, 0}, withHeader);
}

void BM_DrawFullChartIntoImage(benchmark::State& state)
{
    const auto chart = busyChart();
    const ChartLayout layout = fullLayout();
    const RenderOptions withHeader = options(true);
    QImage image(layout.totalWidth(), layout.totalHeight(), QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        RasterCanvas canvas(painter);
        drawChart(canvas, layout, *chart, withHeader);
    }
    benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(BM_DrawFullChartIntoImage)->Unit(benchmark::kMillisecond);

// The picture alone, without clearing the image: what the renderer itself costs.
void BM_DrawFullChartOnly(benchmark::State& state)
{
    const auto chart = busyChart();
    const ChartLayout layout = fullLayout();
    const RenderOptions withHeader = options(true);
    QImage image(layout.totalWidth(), layout.totalHeight(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (auto _ : state) {
        RasterCanvas canvas(painter);
        drawChart(canvas, layout, *chart, withHeader);
    }
}
BENCHMARK(BM_DrawFullChartOnly)->Unit(benchmark::kMillisecond);

// The picture alone in 8-bit grey, as a bitmap or PNG export of a black-and-white
// chart draws it: a quarter of the memory to touch.
void BM_DrawFullChartInGrey(benchmark::State& state)
{
    const auto chart = busyChart();
    const ChartLayout layout = fullLayout();
    const RenderOptions withHeader = options(true);
    QImage image(layout.totalWidth(), layout.totalHeight(), QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (auto _ : state) {
        RasterCanvas canvas(painter);
        drawChart(canvas, layout, *chart, withHeader);
    }
}
BENCHMARK(BM_DrawFullChartInGrey)->Unit(benchmark::kMillisecond);

// The same chart without any text: names, labels and header texts left out.
void BM_DrawFullChartWithoutText(benchmark::State& state)
{
    auto chart = busyChart();
    for (int r = 0; r < kMaxRows; ++r) {
        chart->signalName[r].clear();
        for (int c = 0; c < kMaxCols; ++c)
            chart->cellFlags[c][r] &= static_cast<uint8_t>(~kFlagShowNumber);
    }
    const ChartLayout layout = fullLayout();
    const RenderOptions withoutHeader = options(false);
    QImage image(layout.totalWidth(), layout.totalHeight(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    for (auto _ : state) {
        RasterCanvas canvas(painter);
        drawChart(canvas, layout, *chart, withoutHeader);
    }
}
BENCHMARK(BM_DrawFullChartWithoutText)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QGuiApplication app(argc, argv);
    installFontSubstitutions();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
