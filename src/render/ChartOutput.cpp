#include "render/ChartOutput.h"

#include "render/ChartLayout.h"
#include "render/DrawChart.h"
#include "render/RasterCanvas.h"

#include <QPainter>

namespace solvena {

void drawWholeChart(Canvas& canvas, const ChartPicture& picture, EdgeStyle edges)
{
    const ChartLayout layout(picture.layout);
    const RenderOptions options = renderOptionsFor(picture.layout, picture.headerFont, picture.withHeader, edges);
    if (auto* raster = dynamic_cast<RasterCanvas*>(&canvas))
        drawChart(*raster, layout, picture.chart, options);
    else
        drawChart(canvas, layout, picture.chart, options);
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
