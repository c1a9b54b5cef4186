#include "render/ChartOutput.h"

#include "render/ChartLayout.h"
#include "render/DrawChart.h"
#include "render/RasterCanvas.h"

#include <QPainter>

namespace solvena {

void drawWholeChart(Canvas& canvas, const ChartPicture& picture, EdgeStyle edges)
{
    drawChart(canvas, ChartLayout(picture.layout), picture.chart,
              renderOptionsFor(picture.layout, picture.headerFont, picture.withHeader, edges));
}

QImage chartImage(const ChartPicture& picture, QSize size, EdgeStyle edges)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        RasterCanvas canvas(painter);
        drawWholeChart(canvas, picture, edges);
    }
    return image;
}

}  // namespace solvena
