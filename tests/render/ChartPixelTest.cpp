// The chart's geometry in pixels: drawChart through the raster QPainter canvas onto
// a QImage laid out by ChartLayout.
#include "render/ChartLayout.h"
#include "render/DrawChart.h"
#include "render/RasterCanvas.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

using namespace solvena;

namespace {

const FontDesc kHeaderFont{"", 10, 0};
const FontDesc kGridFont{"MS Gothic", 0, 13};

// Name column 80 wide, time steps 15 wide, rows `height` high, grid lines between.
ChartLayout layoutOf(int cols, int rows, int height = 25)
{
    std::vector<int32_t> widths(static_cast<size_t>(cols), 15);
    widths[0] = 80;
    return ChartLayout(widths, std::vector<int32_t>(static_cast<size_t>(rows), height), height);
}

QImage render(const TCell& chart, const ChartLayout& layout, bool withHeader = false)
{
    QImage image(layout.totalWidth() + 10, layout.totalHeight() + 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    {
        RasterCanvas canvas(painter);
        drawChart(canvas, layout, chart, RenderOptions{withHeader, kHeaderFont, kGridFont});
    }
    return image;
}

bool ink(const QImage& image, int x, int y)
{
    return image.pixel(x, y) != qRgb(255, 255, 255);
}

// The rows of column x that carry ink, between y0 and y1 inclusive.
std::vector<int> inkInColumn(const QImage& image, int x, int y0, int y1)
{
    std::vector<int> ys;
    for (int y = y0; y <= y1; ++y)
        if (ink(image, x, y))
            ys.push_back(y);
    return ys;
}

std::vector<int> inkInRow(const QImage& image, int y, int x0, int x1)
{
    std::vector<int> xs;
    for (int x = x0; x <= x1; ++x)
        if (ink(image, x, y))
            xs.push_back(x);
    return xs;
}

std::vector<int> range(int from, int to)
{
    std::vector<int> v;
    for (int i = from; i <= to; ++i)
        v.push_back(i);
    return v;
}

class ChartPixels : public testing::Test {
protected:
    std::unique_ptr<TCell> chart = std::make_unique<TCell>();
    // Row 1 spans y 26..50 (grid line at 51): high line 31, low line 46.
    // Column c >= 1 spans x 81 + 16 (c - 1) .. +14 (grid line at +15).
    static int left(int c) { return 81 + 16 * (c - 1); }
};

TEST_F(ChartPixels, LevelMarginIsAFifthOfTheRowHeightRounded)
{
    const std::pair<int, int> cases[] = {{25, 5}, {22, 4}, {23, 5}};
    for (const auto& [height, margin] : cases) {
        chart->level[1][1] = 1;
        chart->level[2][1] = 0;
        const QImage image = render(*chart, layoutOf(4, 2, height), false);
        const int top = height + 1;
        const int bottom = top + height;
        EXPECT_EQ(inkInColumn(image, left(1) + 3, top, bottom - 1), std::vector<int>{top + margin})
            << "row height " << height;
        EXPECT_EQ(inkInColumn(image, left(2) + 3, top, bottom - 1), std::vector<int>{bottom - margin})
            << "row height " << height;
    }
}

TEST_F(ChartPixels, LineOfACellEndsWhereTheNextDelayedEdgeStands)
{
    chart->level[1][1] = 1;
    chart->level[2][1] = 1;
    chart->level[3][1] = 0;
    chart->delay[3][1] = 3;
    const QImage image = render(*chart, layoutOf(5, 2));

    const int edgeX = left(3) + 3;  // 116
    // The high line runs through column 2 up to its right side plus 3, where the
    // edge's top pixel stands; nothing of it beyond.
    EXPECT_EQ(inkInRow(image, 31, left(1) - 5, left(4) + 15), range(left(1), edgeX));
    // The low line of column 3 starts at the edge and runs to column 4's end.
    EXPECT_EQ(inkInRow(image, 46, left(1) - 5, left(4) + 15), range(edgeX, left(4) + 15));
    // The edge paints both lines' rows and everything between.
    EXPECT_EQ(inkInColumn(image, edgeX, 26, 50), range(31, 46));
    EXPECT_EQ(inkInColumn(image, left(3), 26, 50), std::vector<int>{31});
}

TEST_F(ChartPixels, EdgesRiseAndFallBetweenTheLines)
{
    const int levels[] = {0, 1, 0, 2, 1, 1};
    for (int c = 1; c <= 6; ++c)
        chart->level[c][1] = levels[c - 1];
    chart->delay[5][1] = -4;
    const QImage image = render(*chart, layoutOf(7, 2));
    for (int c : {2, 3, 4, 5})
        EXPECT_EQ(inkInColumn(image, left(c) + chart->delay[c][1], 26, 50), range(31, 46)) << c;
    // No change, no edge: only the high line crosses the boundary.
    EXPECT_EQ(inkInColumn(image, left(6), 26, 50), std::vector<int>{31});
}

TEST_F(ChartPixels, ColumnOneHasNoEdgeAtItsLeft)
{
    chart->level[0][1] = 1;
    chart->level[1][1] = 0;
    const QImage image = render(*chart, layoutOf(3, 2));
    EXPECT_EQ(inkInColumn(image, left(1), 26, 50), std::vector<int>{46});
}

TEST_F(ChartPixels, UndefinedCellOfFifteenPixelsGetsThreeStrokes)
{
    for (int c = 1; c <= 3; ++c)
        chart->level[c][1] = 2;
    const QImage image = render(*chart, layoutOf(4, 2));
    const int l = left(2);
    // One pixel of each stroke on the row above the low line, 5 apart.
    EXPECT_EQ(inkInRow(image, 45, l, l + 14), (std::vector<int>{l, l + 5, l + 10}));
    // Each stroke starts on the low line and rises 5 pixels to the right over the band.
    EXPECT_EQ(inkInRow(image, 39, l, l + 14), (std::vector<int>{l + 2, l + 7, l + 12}));
    EXPECT_EQ(inkInRow(image, 31, l, l + 14), range(l, l + 14));
    EXPECT_EQ(inkInRow(image, 46, l, l + 14), range(l, l + 14));
}

TEST_F(ChartPixels, NarrowUndefinedCellGetsNoStroke)
{
    std::vector<int32_t> widths{80, 15, 4, 15};
    chart->level[1][1] = 2;
    chart->level[2][1] = 2;
    chart->level[3][1] = 2;
    const ChartLayout layout(widths, {25, 25}, 25);
    const QImage image = render(*chart, layout);
    // Column 2 spans 97..100; the neighbours' strokes end before it.
    EXPECT_TRUE(inkInRow(image, 40, 97, 100).empty());
}

TEST_F(ChartPixels, RisingArrowHasItsTipOnTheHighLine)
{
    chart->level[1][1] = 0;
    chart->level[2][1] = 1;
    chart->cellFlags[2][1] = kFlagRisingArrow;
    const QImage image = render(*chart, layoutOf(4, 2));
    const int l = left(2);
    EXPECT_TRUE(ink(image, l, 31));
    EXPECT_FALSE(ink(image, l, 30));
    EXPECT_FALSE(ink(image, l - 1, 31));
    // The base lies 10 pixels below the cell's top, from L - 2 to L + 3.
    EXPECT_EQ(inkInRow(image, 36, l - 6, l + 6), range(l - 2, l + 3));
    EXPECT_EQ(inkInRow(image, 37, l - 6, l + 6), std::vector<int>{l});
    EXPECT_EQ(inkInRow(image, 34, l - 6, l + 6), range(l - 1, l + 2));
}

TEST_F(ChartPixels, FallingArrowHasItsBaseFivePixelsAboveTheLowLine)
{
    chart->level[1][1] = 1;
    chart->level[2][1] = 1;
    chart->level[3][1] = 0;
    chart->cellFlags[2][1] = kFlagFallingArrow;
    const QImage image = render(*chart, layoutOf(4, 2));
    const int r = left(2) + 15;
    EXPECT_EQ(inkInRow(image, 41, r - 6, r + 8), range(r - 2, r + 4));
    EXPECT_EQ(inkInRow(image, 40, r - 6, r + 8), std::vector<int>{r + 1});  // the edge
    EXPECT_TRUE(ink(image, r + 1, 46));
    EXPECT_EQ(inkInRow(image, 45, r - 6, r + 8), range(r, r + 2));  // the sides close in
}

TEST_F(ChartPixels, ArrowsNeedTheirEdgeAndBitZeroWins)
{
    struct Case {
        int previous, level, next;
        uint8_t flags;
    };
    // Each case would show a falling arrow under bit 1 alone, or a rising one
    // without its rise; none draws any.
    const Case cases[] = {{0, 1, 1, kFlagFallingArrow},
                          {1, 1, 0, kFlagRisingArrow},
                          {1, 1, 0, kFlagRisingArrow | kFlagFallingArrow}};
    for (const Case& c : cases) {
        auto bare = std::make_unique<TCell>();
        bare->level[1][1] = c.previous;
        bare->level[2][1] = c.level;
        bare->level[3][1] = c.next;
        auto flagged = std::make_unique<TCell>(*bare);
        flagged->cellFlags[2][1] = c.flags;
        EXPECT_EQ(render(*flagged, layoutOf(5, 2)), render(*bare, layoutOf(5, 2)))
            << "flags " << int(c.flags);
    }
}

TEST_F(ChartPixels, LabelsOnlyForLowAndHigh)
{
    for (int level : {0, 1, 2}) {
        auto bare = std::make_unique<TCell>();
        bare->level[2][1] = level;
        auto labelled = std::make_unique<TCell>(*bare);
        labelled->cellFlags[2][1] = kFlagShowNumber;
        const QImage plain = render(*bare, layoutOf(4, 2));
        const QImage shown = render(*labelled, layoutOf(4, 2));
        if (level == 2) {
            EXPECT_EQ(shown, plain);
            continue;
        }
        // The label's ink lies between the lines of its cell, under neither line.
        int changed = 0;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x)
                if (plain.pixel(x, y) != shown.pixel(x, y)) {
                    ++changed;
                    EXPECT_GE(x, left(2));
                    EXPECT_LT(x, left(2) + 15);
                    EXPECT_GT(y, 31);
                    EXPECT_LT(y, 46);
                }
        EXPECT_GT(changed, 5) << "level " << level;
    }
}

TEST_F(ChartPixels, TimingLineDashesStandOnMultiplesOfFour)
{
    chart->timingLine[2] = 1;
    // Row 1 starts at y 27; the last row ends at y 101.
    const ChartLayout layout({80, 15, 15, 15}, {26, 36, 37}, 25);
    const QImage image = render(*chart, layout);
    std::vector<int> expected;
    for (int y = 28; y <= 100; y += 4) {
        expected.push_back(y);
        expected.push_back(y + 1);
        if (y == 56)
            expected.push_back(58);  // row 1's low line crosses the column
    }
    EXPECT_EQ(inkInColumn(image, left(2), 0, image.height() - 1), expected);
}

TEST_F(ChartPixels, HeaderTextsOnlyWithHeader)
{
    chart->level[2][1] = 1;
    chart->signalName[1] = "A";
    const ChartLayout layout = layoutOf(4, 3);
    const QImage with = render(*chart, layout, true);
    const QImage without = render(*chart, layout, false);

    EXPECT_EQ(with.copy(0, 25, with.width(), with.height() - 25),
              without.copy(0, 25, without.width(), without.height() - 25));
    EXPECT_TRUE(inkInColumn(without, 10, 0, 24).empty());
    int captionInk = 0;
    for (int x = 0; x < 80; ++x)
        for (int y = 0; y < 25; ++y)
            if (ink(with, x, y)) {
                ++captionInk;
                EXPECT_GE(x, 5);
                EXPECT_GE(y, 5);
            }
    EXPECT_GT(captionInk, 20);
    for (int c = 1; c <= 3; ++c) {
        bool numberInk = false;
        for (int x = left(c); x < left(c) + 15; ++x)
            numberInk = numberInk || !inkInColumn(with, x, 5, 24).empty();
        EXPECT_TRUE(numberInk) << "column " << c;
        EXPECT_TRUE(inkInColumn(with, left(c), 0, 24).empty());
    }
}

}  // namespace
