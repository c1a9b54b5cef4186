// The name column widened to the chart's names: drawn in a column wide enough for
// anything, a name's ink ends inside the fitted cell (near its edge), and the fitted
// column shows the same pixels.
#include "render/ChartLayout.h"
#include "render/ChartOutput.h"
#include "render/NameColumnFit.h"
#include "text/Cp932.h"

#include <gtest/gtest.h>

#include <string>

using namespace solvena;

namespace {

FontDesc gridFont(int pixels = 13)
{
    FontDesc font = grid_defaults::gridFont();
    font.pixelSize = pixels;
    return font;
}

struct FitCase {
    const char* label;
    std::u16string name;
    FontDesc font;
    int32_t width = 0;  // the column's width when known beforehand; 0 when fitted to the name
};

const FitCase kCases[] = {
    {"ShortNameKeepsTheColumn", u"CLK", gridFont(), 80},
    {"LongName", u"ADDRESS_BUS_OF_THE_SECOND_CONTROLLER_M", gridFont()},
    {"FullWidthName", u"アドレスバス（第二コントローラ）読み出し", gridFont()},
    {"LargeFont", u"CHIP_SELECT_M", gridFont(30)},
    {"NoWiderThanTheWidestColumn", std::u16string(300, u'M'), gridFont(), 1000},
};

class NameColumnFit : public testing::TestWithParam<FitCase> {};

QImage drawn(const TCell& chart, const GridLayout& layout)
{
    const ChartLayout cells(layout);
    return chartImage(ChartPicture{chart, layout, grid_defaults::headerFont(), false},
                      QSize(cells.totalWidth(), cells.totalHeight()));
}

TEST_P(NameColumnFit, ShowsTheNameWhole)
{
    const FitCase& t = GetParam();
    TCell chart;
    chart.signalName[1] = "A";
    chart.signalName[2] = utf16ToCp932(t.name).value();
    GridLayout layout = gridLayoutWith({80, 15, 15}, 3);
    layout.gridFont = t.font;
    setRowHeight(layout, 2, 40);
    fitNameColumn(layout, chart);
    const int32_t width = layout.colWidths[0];
    if (t.width != 0) {
        EXPECT_EQ(width, t.width);
        return;
    }

    GridLayout wide = layout;
    wide.colWidths[0] = 2000;
    const QImage fitted = drawn(chart, layout);
    const QImage whole = drawn(chart, wide);
    const CellRect row = ChartLayout(layout).cellRect(0, 2);
    int inkNearTheEdge = 0;
    for (int y = row.top + 1; y < row.bottom - 1; ++y)
        for (int x = 0; x < wide.colWidths[0]; ++x) {
            const bool ink = whole.pixel(x, y) != qRgb(255, 255, 255);
            if (x > width - 2) {
                ASSERT_FALSE(ink) << "the name runs past its cell at x " << x << ", width " << width;
                continue;
            }
            if (x < width) {
                ASSERT_EQ(fitted.pixel(x, y), whole.pixel(x, y)) << "x " << x << ", y " << y;
            }
            inkNearTheEdge += ink && x >= width - 6 && x < width;
        }
    EXPECT_GT(inkNearTheEdge, 0) << "wider than the name needs: " << width;
}

INSTANTIATE_TEST_SUITE_P(Cases, NameColumnFit, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<FitCase>& info) { return std::string(info.param.label); });

}  // namespace
