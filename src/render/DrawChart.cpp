#include "render/DrawChart.h"

#include "render/DrawChartWalk.h"
#include "text/Cp932.h"

#include <string>

namespace solvena {

namespace chart_walk {

const std::string& headerCaption()
{
    static const std::string caption = utf16ToCp932(u"端子名").value_or(std::string());
    return caption;
}

}  // namespace chart_walk

bool drawsInGreysOnly(const RenderOptions& options)
{
    const auto grey = [](uint32_t rgb) {
        return (rgb & 0xFF) == ((rgb >> 8) & 0xFF) && (rgb & 0xFF) == ((rgb >> 16) & 0xFF);
    };
    return grey(chart_walk::kBlack) && grey(options.headerFont.color) && grey(options.gridFont.color);
}

int levelMargin(int defaultRowHeight)
{
    // A fifth never ends in exactly one half, so rounding needs no tie rule.
    return static_cast<int>(chart_walk::floorDiv(2 * int64_t{defaultRowHeight} + 5, 10));
}

void drawChart(Canvas& canvas, const GridGeometry& geometry, const TCell& chart,
               const RenderOptions& options)
{
    drawChartOn(canvas, geometry, chart, options);
}

}  // namespace solvena
