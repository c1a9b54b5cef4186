#pragma once
// The one way a chart leaves the window: laid out whole from the grid's layout value
// (every column and row from the top-left, whatever the window shows or where it is
// scrolled) and drawn by the renderer onto the surface an export, the printout, the
// clipboard or the command-line renderer provides.

#include "document/FontDesc.h"
#include "document/GridLayout.h"
#include "document/TCell.h"
#include "render/Canvas.h"
#include "render/RenderOptions.h"

#include <QImage>
#include <QSize>

namespace solvena {

// What to draw.
struct ChartPicture {
    const TCell& chart;
    GridLayout layout;
    FontDesc headerFont;       // the header caption's and column numbers' font
    bool withHeader = false;   // draw the header row's texts, as on screen
};

// Draws the whole chart onto `canvas`, cells laid out from (0, 0).
void drawWholeChart(Canvas& canvas, const ChartPicture& picture, EdgeStyle edges = EdgeStyle::Full);

// The whole chart on a white raster image of `size` (RGB32), the chart at its origin.
QImage chartImage(const ChartPicture& picture, QSize size, EdgeStyle edges = EdgeStyle::Full);

}  // namespace solvena
