// The renderer's operations, seen through a recording canvas: what is drawn for
// which cells, on which canvas kind, and what is left out.
#include "render/ChartLayout.h"
#include "render/DrawChart.h"
#include "text/Cp932.h"

#include "DelayedChart.h"
#include "RecordingCanvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <memory>
#include <set>
#include <vector>

using namespace solvena;

namespace {

const FontDesc kHeaderFont{"", 10, 0};
const FontDesc kGridFont{"MS Gothic", 0, 13};

// Columns of 15 pixels after an 80-pixel name column, rows of 25: cell (c, r) for
// c, r >= 1 spans x 81 + 16 (c - 1) .. +15 and y 26 + 26 (r - 1) .. +25.
ChartLayout standardLayout(int cols, int rows)
{
    std::vector<int32_t> widths(static_cast<size_t>(cols), 15);
    widths[0] = 80;
    return ChartLayout(widths, std::vector<int32_t>(static_cast<size_t>(rows), 25), 25);
}

RenderOptions options(bool withHeader, bool rightAligned = false, EdgeStyle edges = EdgeStyle::Full)
{
    return RenderOptions{withHeader, kHeaderFont, kGridFont, rightAligned, edges};
}

int cellLeft(int c) { return 81 + 16 * (c - 1); }
int cellTop(int r) { return 26 + 26 * (r - 1); }

// Hides the cells of a grid scrolled past some columns and rows, as the screen grid
// reports them: all zero.
class ScrolledGeometry final : public GridGeometry {
public:
    ScrolledGeometry(const ChartLayout& base, int firstCol, int firstRow, int lastRow)
        : base_(base), firstCol_(firstCol), firstRow_(firstRow), lastRow_(lastRow)
    {
    }
    int colCount() const override { return base_.colCount(); }
    int rowCount() const override { return base_.rowCount(); }
    int defaultRowHeight() const override { return base_.defaultRowHeight(); }
    CellRect cellRect(int col, int row) const override
    {
        if (col < firstCol_ || (row > 0 && (row < firstRow_ || row > lastRow_)))
            return {};
        return base_.cellRect(col, row);
    }
    CanvasRect paintArea() const override { return base_.paintArea(); }

private:
    const ChartLayout& base_;
    int firstCol_;
    int firstRow_;
    int lastRow_;
};

std::unique_ptr<TCell> emptyChart()
{
    return std::make_unique<TCell>();
}

std::string cp932(std::u16string_view text)
{
    return utf16ToCp932(text).value();
}

bool isVerticalEdge(const RecordedLine& line, int length)
{
    return line.from.x == line.to.x && line.to.y - line.from.y == length;
}

TEST(LevelMargin, IsAFifthOfTheRowHeightRounded)
{
    const std::pair<int, int> cases[] = {{25, 5}, {22, 4}, {23, 5}, {24, 5}, {21, 4},
                                         {20, 4}, {2, 0},  {3, 1},  {0, 0}};
    for (const auto& [height, margin] : cases)
        EXPECT_EQ(levelMargin(height), margin) << "row height " << height;
}

TEST(DrawChartRecording, EdgesAreOnePixelShorterOnAMetafile)
{
    auto chart = emptyChart();
    for (int c = 1; c < 8; ++c)
        chart->level[c][1] = c % 2;
    chart->level[3][2] = 2;
    chart->delay[5][1] = -2;
    const ChartLayout layout = standardLayout(8, 3);

    RecordingCanvas screen;
    RecordingCanvas metafile;
    drawChart(screen, layout, *chart, options(false));
    drawChart(metafile, layout, *chart, options(false, false, EdgeStyle::ShortBottom));

    ASSERT_EQ(screen.lines.size(), metafile.lines.size());
    int edges = 0;
    for (size_t i = 0; i < screen.lines.size(); ++i) {
        // High line 31, low line 46 in row 1: an edge paints both, so it ends at 47.
        if (isVerticalEdge(screen.lines[i], 16)) {
            ++edges;
            RecordedLine shorter = screen.lines[i];
            shorter.to.y -= 1;
            EXPECT_EQ(metafile.lines[i], shorter);
        } else {
            EXPECT_EQ(metafile.lines[i], screen.lines[i]);
        }
    }
    // Columns 2..7 of row 1 change level; row 2 changes into and out of column 3.
    EXPECT_EQ(edges, 8);
}

TEST(DrawChartRecording, HeaderTextsOnlyWithHeader)
{
    auto chart = emptyChart();
    chart->level[2][1] = 1;
    chart->signalName[1] = "CLK";
    chart->timingLine[2] = 1;
    const ChartLayout layout = standardLayout(4, 2);

    RecordingCanvas with;
    RecordingCanvas without;
    drawChart(with, layout, *chart, options(true));
    drawChart(without, layout, *chart, options(false));

    ASSERT_EQ(with.texts.size(), without.texts.size() + 4);
    const RecordedText& caption = with.texts[0];
    EXPECT_EQ(caption.kind, RecordedText::Kind::TextOut);
    EXPECT_EQ(caption.cp932, cp932(u"端子名"));
    EXPECT_EQ(caption.at, (CanvasPoint{5, 5}));
    EXPECT_EQ(caption.font, kHeaderFont);
    for (int c = 1; c <= 3; ++c) {
        const RecordedText& number = with.texts[static_cast<size_t>(c)];
        EXPECT_EQ(number.kind, RecordedText::Kind::TextRect);
        EXPECT_EQ(number.cp932, std::to_string(c));
        EXPECT_EQ(number.at, (CanvasPoint{cellLeft(c) + 1, 5}));
        EXPECT_EQ(number.rect, (CanvasRect{cellLeft(c), 0, cellLeft(c) + 15, 25}));
        EXPECT_EQ(number.font, kHeaderFont);
    }
    // Everything else is the same picture.
    EXPECT_EQ(with.lines, without.lines);
    EXPECT_EQ(with.texts.back().cp932, without.texts.back().cp932);
    EXPECT_EQ(with.polygons.size(), without.polygons.size());
}

TEST(DrawChartRecording, NamesGoIntoTheShrunkNameCellWithTheGridFont)
{
    auto chart = emptyChart();
    chart->signalName[1] = cp932(u"データ①");
    chart->signalName[2] = "";
    chart->signalName[3] = "RST";
    for (bool right : {false, true}) {
        RecordingCanvas canvas;
        drawChart(canvas, standardLayout(3, 4), *chart, options(false, right));
        ASSERT_EQ(canvas.texts.size(), 2u) << "an empty name draws nothing";
        const unsigned flags =
            TextFlag::SingleLine | TextFlag::VCenter | (right ? TextFlag::Right : 0u);
        EXPECT_EQ(canvas.texts[0].cp932, chart->signalName[1]);
        EXPECT_EQ(canvas.texts[0].rect, (CanvasRect{1, 27, 79, 50}));
        EXPECT_EQ(canvas.texts[0].flags, flags);
        EXPECT_EQ(canvas.texts[0].font, kGridFont);
        EXPECT_EQ(canvas.texts[1].cp932, "RST");
        EXPECT_EQ(canvas.texts[1].rect, (CanvasRect{1, 79, 79, 102}));
    }
}

TEST(DrawChartRecording, LabelsOnlyForLevelsZeroAndOne)
{
    auto chart = emptyChart();
    const int levels[] = {0, 1, 2, 7};
    for (int c = 1; c <= 4; ++c) {
        chart->level[c][1] = levels[c - 1];
        chart->cellFlags[c][1] = kFlagShowNumber | kFlagRisingArrow;
    }
    chart->delay[2][1] = 4;
    RecordingCanvas canvas;
    drawChart(canvas, standardLayout(6, 2), *chart, options(false));

    ASSERT_EQ(canvas.texts.size(), 2u);
    EXPECT_EQ(canvas.texts[0].cp932, "0");
    EXPECT_EQ(canvas.texts[0].rect, (CanvasRect{cellLeft(1), 31, cellLeft(1) + 15, 46}));
    EXPECT_EQ(canvas.texts[1].cp932, "1");
    // The label follows the cell's delay on the left, not on the right.
    EXPECT_EQ(canvas.texts[1].rect, (CanvasRect{cellLeft(2) + 4, 31, cellLeft(2) + 15, 46}));
    const unsigned centred = TextFlag::SingleLine | TextFlag::VCenter | TextFlag::Center;
    EXPECT_EQ(canvas.texts[1].flags, centred);
    // The arrow of column 2 turned the brush solid; the next label must not be opaque.
    EXPECT_FALSE(canvas.textOverSolidBrush);
}

struct ArrowCase {
    const char* name;
    int col;
    int previous, level, next;
    uint8_t flags;
    int expected;  // 0 none, 1 rising, 2 falling
};

class ArrowChoice : public testing::TestWithParam<ArrowCase> {};

TEST_P(ArrowChoice, DrawsTheArrowItsEdgeCalls)
{
    const ArrowCase& arrow = GetParam();
    auto chart = emptyChart();
    chart->level[arrow.col - 1][1] = arrow.previous;
    chart->level[arrow.col][1] = arrow.level;
    chart->level[arrow.col + 1][1] = arrow.next;
    chart->cellFlags[arrow.col][1] = arrow.flags;
    RecordingCanvas canvas;
    drawChart(canvas, standardLayout(5, 2), *chart, options(false));

    const int left = cellLeft(arrow.col);
    const int right = left + 15;
    if (arrow.expected == 0) {
        EXPECT_TRUE(canvas.polygons.empty());
        return;
    }
    ASSERT_EQ(canvas.polygons.size(), 1u);
    const RecordedPolygon& polygon = canvas.polygons[0];
    EXPECT_EQ(polygon.brushStyle, BrushStyle::Solid);
    EXPECT_EQ(polygon.brushColor, 0x000000u);
    if (arrow.expected == 1)
        EXPECT_EQ(polygon.points, (std::vector<CanvasPoint>{{left - 2, 36}, {left, 31}, {left + 3, 36}}));
    else
        EXPECT_EQ(polygon.points, (std::vector<CanvasPoint>{{right - 2, 41}, {right + 1, 46}, {right + 4, 41}}));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArrowChoice,
    testing::Values(ArrowCase{"Rising", 2, 0, 1, 1, kFlagRisingArrow, 1},
                    ArrowCase{"RisingAtColumnOneReadsColumnZero", 1, 0, 1, 1, kFlagRisingArrow, 1},
                    ArrowCase{"RisingWithoutRise", 2, 1, 1, 0, kFlagRisingArrow, 0},
                    ArrowCase{"RisingFromUndefined", 2, 2, 1, 1, kFlagRisingArrow, 0},
                    ArrowCase{"Falling", 2, 0, 1, 0, kFlagFallingArrow, 2},
                    ArrowCase{"FallingWithoutFall", 2, 0, 1, 1, kFlagFallingArrow, 0},
                    ArrowCase{"FallingIntoUndefined", 2, 0, 1, 2, kFlagFallingArrow, 0},
                    ArrowCase{"BothBitsRisingWins", 2, 0, 1, 0, kFlagRisingArrow | kFlagFallingArrow, 1},
                    ArrowCase{"BothBitsNoRiseNoArrow", 2, 1, 1, 0, kFlagRisingArrow | kFlagFallingArrow, 0},
                    ArrowCase{"NoBits", 2, 0, 1, 0, kFlagShowNumber, 0}),
    [](const testing::TestParamInfo<ArrowCase>& info) { return std::string(info.param.name); });

TEST(DrawChartRecording, TimingLineDashesOnMultiplesOfFour)
{
    auto chart = emptyChart();
    chart->timingLine[1] = 1;
    chart->timingLine[2] = 0;
    chart->timingLine[3] = 2;  // only exactly 1 draws
    // Row 1 starts at y 27 and the last row ends at y 101.
    const ChartLayout layout({80, 15, 15, 15}, {26, 36, 37}, 25);
    RecordingCanvas canvas;
    drawChart(canvas, layout, *chart, options(false));

    std::vector<RecordedLine> dashes;
    for (const RecordedLine& line : canvas.lines)
        if (isVerticalEdge(line, 2))
            dashes.push_back(line);
    std::vector<RecordedLine> expected;
    for (int y = 28; y <= 100; y += 4)
        expected.push_back({{81, y}, {81, y + 2}});
    EXPECT_EQ(dashes, expected);
}

TEST(DrawChartRecording, CellsOutOfViewAreSkipped)
{
    auto chart = emptyChart();
    for (int c = 0; c < 6; ++c)
        for (int r = 0; r < 6; ++r) {
            chart->level[c][r] = (c + r) % 3;
            chart->cellFlags[c][r] = kFlagShowNumber | kFlagRisingArrow;
        }
    for (int r = 1; r < 6; ++r)
        chart->signalName[r] = "S" + std::to_string(r);
    chart->timingLine[4] = 1;
    chart->timingLine[1] = 1;  // a hidden column
    const ChartLayout layout = standardLayout(6, 6);
    // Columns 0..2 scrolled off to the left, rows 1 and 5 out of view.
    const ScrolledGeometry geometry(layout, 3, 2, 4);
    RecordingCanvas canvas;
    drawChart(canvas, geometry, *chart, options(true));

    const int minX = cellLeft(3) - 2;  // the rising arrow reaches 2 pixels left
    const int minY = cellTop(2);
    for (const RecordedLine& line : canvas.lines) {
        EXPECT_GE(std::min(line.from.x, line.to.x), minX);
        EXPECT_GE(std::min(line.from.y, line.to.y), minY);
        EXPECT_LE(std::max(line.from.y, line.to.y), cellTop(5));
    }
    for (const RecordedPolygon& polygon : canvas.polygons)
        for (const CanvasPoint& p : polygon.points)
            EXPECT_GE(p.x, minX);

    std::vector<std::string> texts;
    for (const RecordedText& text : canvas.texts)
        if (text.kind != RecordedText::Kind::DrawText)
            texts.push_back(text.cp932);
    EXPECT_EQ(texts, (std::vector<std::string>{cp932(u"端子名"), "3", "4", "5"}));
    for (const RecordedText& text : canvas.texts)
        EXPECT_NE(text.cp932.front(), 'S') << "the name column is out of view";

    // With the name column in view, only the names of the rows in view show.
    RecordingCanvas namesCanvas;
    drawChart(namesCanvas, ScrolledGeometry(layout, 0, 2, 4), *chart, options(false));
    std::vector<std::string> names;
    for (const RecordedText& text : namesCanvas.texts)
        if (text.cp932.front() == 'S')
            names.push_back(text.cp932);
    EXPECT_EQ(names, (std::vector<std::string>{"S2", "S3", "S4"}));

    // The timing line spans only the rows in view: y 52 .. 129.
    std::vector<int> dashYs;
    for (const RecordedLine& line : canvas.lines)
        if (isVerticalEdge(line, 2)) {
            EXPECT_EQ(line.from.x, cellLeft(4));
            dashYs.push_back(line.from.y);
        }
    ASSERT_FALSE(dashYs.empty());
    EXPECT_EQ(dashYs.front(), 52);
    EXPECT_EQ(dashYs.back(), 128);
}

TEST(DrawChartRecording, TimingLineOverNoRowInViewDrawsNothing)
{
    auto chart = emptyChart();
    chart->timingLine[2] = 1;
    const ChartLayout layout = standardLayout(4, 3);
    const ScrolledGeometry geometry(layout, 0, 3, 2);  // no data row in view
    RecordingCanvas canvas;
    drawChart(canvas, geometry, *chart, options(false));
    EXPECT_TRUE(canvas.lines.empty());
}

// Column 99 is the record's last: its right neighbour reads as low with no delay.
// The words after the record's arrays are filled with values that would show if
// they were read instead.
TEST(DrawChartRecording, LastColumnOfTheRecordHasALowNeighbourWithoutDelay)
{
    auto chart = emptyChart();
    const int r = 5;
    chart->level[98][r] = 0;
    chart->level[99][r] = 1;
    chart->cellFlags[99][r] = kFlagFallingArrow;
    for (int i = 0; i < kMaxRows; ++i) {
        chart->delay[0][i] = 1;       // lies just past level[99][..]
        chart->timingLine[i] = 9;     // lies just past delay[99][..]
    }
    std::vector<int32_t> widths(100, 15);
    widths[0] = 80;
    const ChartLayout layout(widths, std::vector<int32_t>(6, 25), 25);
    RecordingCanvas canvas;
    drawChart(canvas, layout, *chart, options(false));

    const int left = cellLeft(99);
    const int highY = cellTop(r) + 5;
    const RecordedLine highLine{{left, highY}, {left + 16, highY}};
    EXPECT_NE(std::find(canvas.lines.begin(), canvas.lines.end(), highLine), canvas.lines.end());
    for (const RecordedLine& line : canvas.lines)
        EXPECT_LE(line.to.x, left + 16);
    ASSERT_EQ(canvas.polygons.size(), 1u);
    EXPECT_EQ(canvas.polygons[0].points[1], (CanvasPoint{left + 16, cellTop(r) + 20}));
}

}  // namespace

namespace {

// Delays a chart file can hold, far beyond any picture, to both sides.
const int32_t kFarDelays[] = {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(),
                              -std::numeric_limits<int32_t>::max(), 2000000000, -2000000000,
                              200000000, -200000000};

// Every line the renderer asks of the canvas has a pixel in the paint area, and a
// delay that points far beyond the picture draws what one just beyond it draws: the
// same calls, no more than the picture holds. Today's renderer ran the hatch of such a
// cell out to the delay, hundreds of millions of strokes.
TEST(DrawChartRecording, FarDelaysDrawWhatADelayJustBeyondThePictureDraws)
{
    const ChartLayout layout = standardLayout(6, 4);
    const CanvasRect area = layout.paintArea();
    ASSERT_EQ(area, (CanvasRect{0, 0, 80 + 5 * 15 + 50, 4 * 25 + 50}));
    auto draw = [&](int32_t delay) {
        auto chart = emptyChart();
        putDelayedChart(*chart, delay);
        RecordingCanvas canvas;
        canvas.maxLines = 2000;
        drawChart(canvas, layout, *chart, options(false));
        return canvas;
    };
    for (const int32_t delay : kFarDelays) {
        const RecordingCanvas far = draw(delay);
        const RecordingCanvas near = draw(justBeyond(delay, cellLeft(3), area.right));
        EXPECT_EQ(far.lines, near.lines) << delay;
        ASSERT_EQ(far.polygons.size(), near.polygons.size()) << delay;
        for (size_t i = 0; i < far.polygons.size(); ++i)
            EXPECT_EQ(far.polygons[i].points, near.polygons[i].points) << delay;
        for (const RecordedLine& line : far.lines) {
            const int32_t x = std::clamp(line.from.x, area.left, area.right - 1);
            EXPECT_TRUE(std::min(line.from.x, line.to.x) <= x && x <= std::max(line.from.x, line.to.x))
                << delay << ": a line beside the picture";
            EXPECT_TRUE(line.from.x >= area.left - 5 && line.from.x <= area.right) << delay;
        }
    }
}

// Every other undefined cell of a row hatched across the whole picture, each in its
// own phase: the row shows every stroke of every hatch, but draws no more strokes than
// twice the places it has for them, where it would draw one whole hatch per cell.
TEST(DrawChartRecording, OverlappingHatchesDrawEachStrokeOnceTheRowIsFull)
{
    const int cols = 40;
    std::vector<int32_t> widths(cols, 15);
    widths[0] = 80;
    const ChartLayout layout(widths, {25, 25}, 25);
    const CanvasRect area = layout.paintArea();
    auto chart = emptyChart();
    for (int c = 1; c < cols; ++c) {
        chart->level[c][1] = 2;
        chart->delay[c][1] = c % 2 ? -2000000000 + c : 2000000000;
    }
    RecordingCanvas canvas;
    canvas.maxLines = 100000;
    drawChart(canvas, layout, *chart, options(false));

    std::set<int32_t> expected;  // where each hatch's strokes stand, over the area
    for (int c = 1; c < cols; c += 2) {
        const int64_t phase = ((cellLeft(c) + int64_t{chart->delay[c][1]}) % 5 + 5) % 5;
        for (int64_t x = area.left - 5; x < area.right; ++x)
            if ((x % 5 + 5) % 5 == phase)
                expected.insert(int32_t(x));
    }
    std::set<int32_t> strokes;
    size_t drawn = 0;
    for (const RecordedLine& line : canvas.lines)
        if (line.to.x - line.from.x == 5 && line.from.y > line.to.y) {
            strokes.insert(line.from.x);
            ++drawn;
        }
    EXPECT_EQ(strokes, expected);
    EXPECT_LE(drawn, 2u * size_t(area.right - area.left + 5));
}

}  // namespace
