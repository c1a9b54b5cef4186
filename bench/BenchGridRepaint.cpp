// One full repaint of the main window's grid, offscreen: the grid's own cells and
// lines plus the chart over them, for a 100 x 100 grid showing a busy chart.
#include "document/Document.h"
#include "ui/Application.h"
#include "ui/ChartGrid.h"
#include "ui/uMain.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

using namespace solvena;

namespace {

void fillBusyChart()
{
    for (int r = 1; r < kMaxRows; ++r) {
        document.signalName[r] = "SIG" + std::to_string(r);
        for (int c = 0; c < kMaxCols; ++c) {
            const int k = c * 7 + r * 3;
            document.level[c][r] = (k / 3) % 5 == 4 ? 2 : (k / 2) % 2;
            document.delay[c][r] = (k % 11 == 0) ? (k % 7) - 3 : 0;
            document.cellFlags[c][r] = static_cast<uint8_t>((k % 5 == 0 ? kFlagShowNumber : 0) |
                                                            (k % 13 == 0 ? kFlagRisingArrow : 0));
        }
    }
    for (int c = 1; c < kMaxCols; c += 10)
        document.timingLine[c] = 1;
}

// The window at a large desktop size, so that many cells are in view.
void BM_FullGridRepaint(benchmark::State& state)
{
    TfrmMain window;
    window.resize(1900, 1000);
    window.show();
    QApplication::processEvents();
    ChartGrid* grid = window.grid();
    window.changeGridLayout([&](GridLayout& layout) { setColCount(layout, 100); });
    window.changeGridLayout([&](GridLayout& layout) { setRowCount(layout, 100); });
    fillBusyChart();
    QApplication::processEvents();
    QWidget* viewport = grid->viewport();
    QImage image(viewport->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        viewport->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FullGridRepaint)->Unit(benchmark::kMillisecond);

// The start grid at a desktop size with what a file may hold: edge delays far beyond
// the window on every undefined cell of every row (argument 0), or a name of 10 MB in
// every row, left-aligned (1) or right-aligned (2).
void BM_GridRepaintWithFarValues(benchmark::State& state)
{
    TfrmMain window;
    window.resize(1900, 1000);
    window.show();
    QApplication::processEvents();
    ChartGrid* grid = window.grid();
    document = TCell{};
    for (int r = 1; r < grid->rowCount(); ++r) {
        if (state.range(0) == 0) {
            for (int c = 1; c < grid->colCount(); ++c) {
                document.level[c][r] = c % 2 ? 2 : 0;
                document.delay[c][r] = c % 2 ? -2000000000 : 2000000000;
            }
        } else {
            document.signalName[r] = std::string(size_t{10} << 20, 'W');
        }
    }
    window.changeGridLayout([&](GridLayout& layout) { layout.namesRightAligned = state.range(0) == 2; });
    QApplication::processEvents();
    QWidget* viewport = grid->viewport();
    QImage image(viewport->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        viewport->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    document = TCell{};
}
BENCHMARK(BM_GridRepaintWithFarValues)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    QApplication app(argc, argv);
    initApplication(app);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
