#pragma once
// The chart renderer: the one code path that walks the chart. Screen, bitmap,
// metafile, printout and the command-line renderer all draw through it.

#include "document/TCell.h"
#include "render/Canvas.h"
#include "render/GridGeometry.h"
#include "render/RenderOptions.h"

namespace solvena {

// Draws the whole chart: the header texts (with `options.withHeader`), the signal
// names, every cell's waveform, edge, arrow and label, and the timing lines.
// Positions come from `geometry`; cells out of view are skipped. Leaves the canvas's
// pen, brush and font changed.
void drawChart(Canvas& canvas, const GridGeometry& geometry, const TCell& chart,
               const RenderOptions& options);

// Whether every colour drawChart paints with under these options (black lines and
// arrows, the fonts' colours) is a grey, so that a grey surface loses nothing.
bool drawsInGreysOnly(const RenderOptions& options);

// The margin between a row's top (or bottom) and its high (or low) line: a fifth of
// the default row height, rounded to the nearest pixel.
int levelMargin(int defaultRowHeight);

}  // namespace solvena
