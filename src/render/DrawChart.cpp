#include "render/DrawChart.h"

#include "text/Cp932.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

constexpr uint32_t kBlack = 0x000000;

constexpr int floorDiv(int n, int d)
{
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}

constexpr int floorMod(int n, int d)
{
    return n - floorDiv(n, d) * d;
}

const std::string& headerCaption()
{
    static const std::string caption = utf16ToCp932(u"端子名").value_or(std::string());
    return caption;
}

const std::string& decimal(int n)
{
    // Column numbers and labels are small; keep their texts instead of formatting
    // them again for every cell of every repaint.
    static const std::array<std::string, kMaxCols> texts = [] {
        std::array<std::string, kMaxCols> t;
        for (int i = 0; i < kMaxCols; ++i)
            t[static_cast<size_t>(i)] = std::to_string(i);
        return t;
    }();
    return texts[static_cast<size_t>(n)];
}

// Strokes rising to the right, 5 pixels wide and 5 apart; nothing is filled.
void hatchRect(Canvas& canvas, int left, int top, int right, int bottom)
{
    for (int x = left; x + 5 <= right; x += 5) {
        canvas.moveTo(x, bottom);
        canvas.lineTo(x + 5, top);
    }
}

// Two-pixel dashes on every y that is a multiple of 4, aligned to the canvas rather
// than to y1; the last dash may reach one pixel below y2.
void drawTimingLine(Canvas& canvas, int x, int y1, int y2)
{
    if (y2 < y1)
        return;
    for (int y = y1 + floorMod(-y1, 4); y <= y2; y += 4) {
        canvas.moveTo(x, y);
        canvas.lineTo(x, y + 2);
    }
}

struct Row {
    const TCell& chart;
    int r;
    int margin;
    EdgeStyle edges;

    int level(int c) const { return c < kMaxCols ? chart.level[c][r] : 0; }
    int delay(int c) const { return c < kMaxCols ? chart.delay[c][r] : 0; }
};

void drawCell(Canvas& canvas, const Row& row, int c, const CellRect& rect)
{
    const int level = row.level(c);
    const int previousLevel = row.level(c - 1);
    const int nextLevel = row.level(c + 1);
    const int nextDelay = row.delay(c + 1);
    const uint8_t flags = row.chart.cellFlags[c][row.r];

    const int highY = rect.top + row.margin;
    const int lowY = rect.bottom - row.margin;
    const int startX = rect.left + row.delay(c);
    const int endX = rect.right + 1 + nextDelay;

    canvas.setBrushStyle(BrushStyle::Clear);

    // The label goes first so that the level lines lie over it.
    if ((flags & kFlagShowNumber) && (level == kLevelLow || level == kLevelHigh)) {
        canvas.drawText(decimal(level), CanvasRect{startX, highY, rect.right, lowY},
                        TextFlag::SingleLine | TextFlag::VCenter | TextFlag::Center);
    }

    auto horizontal = [&](int y) {
        canvas.moveTo(startX, y);
        canvas.lineTo(endX, y);
    };
    if (level == kLevelHigh) {
        horizontal(highY);
    } else if (level == kLevelLow) {
        horizontal(lowY);
    } else {
        hatchRect(canvas, startX, highY, rect.right + nextDelay, lowY);
        horizontal(highY);
        horizontal(lowY);
    }

    if (c != 1 && level != previousLevel) {
        canvas.moveTo(startX, highY);
        canvas.lineTo(startX, row.edges == EdgeStyle::ShortBottom ? lowY : lowY + 1);
    }

    canvas.setBrushColor(kBlack);
    canvas.setBrushStyle(BrushStyle::Solid);

    // Arrows stand on the cell's own boundaries, not on the delayed edges.
    if (flags & kFlagRisingArrow) {
        if (previousLevel == kLevelLow && level == kLevelHigh) {
            const CanvasPoint tip[] = {
                {rect.left - 2, rect.top + 10}, {rect.left, highY}, {rect.left + 3, rect.top + 10}};
            canvas.polygon(tip);
        }
    } else if (flags & kFlagFallingArrow) {
        if (level == kLevelHigh && nextLevel == kLevelLow) {
            const CanvasPoint tip[] = {
                {rect.right - 2, lowY - 5}, {rect.right + 1, lowY}, {rect.right + 4, lowY - 5}};
            canvas.polygon(tip);
        }
    }
}

}  // namespace

bool drawsInGreysOnly(const RenderOptions& options)
{
    const auto grey = [](uint32_t rgb) {
        return (rgb & 0xFF) == ((rgb >> 8) & 0xFF) && (rgb & 0xFF) == ((rgb >> 16) & 0xFF);
    };
    return grey(kBlack) && grey(options.headerFont.color) && grey(options.gridFont.color);
}

int levelMargin(int defaultRowHeight)
{
    // A fifth never ends in exactly one half, so rounding needs no tie rule.
    return floorDiv(2 * defaultRowHeight + 5, 10);
}

void drawChart(Canvas& canvas, const GridGeometry& geometry, const TCell& chart,
               const RenderOptions& options)
{
    // The grid's counts are the chart's extent, but never beyond the record.
    const int colCount = std::clamp(geometry.colCount(), 0, kMaxCols);
    const int rowCount = std::clamp(geometry.rowCount(), 0, kMaxRows);

    canvas.setFont(options.headerFont);
    canvas.setPenColor(kBlack);
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setBrushStyle(BrushStyle::Clear);

    const int margin = levelMargin(geometry.defaultRowHeight());

    if (options.withHeader) {
        canvas.textOut(5, 5, headerCaption());
        for (int c = 1; c < colCount; ++c) {
            const CellRect rect = geometry.cellRect(c, 0);
            if (rect.isOutOfView())
                continue;
            canvas.textRect(CanvasRect{rect.left, rect.top, rect.right, rect.bottom}, rect.left + 1,
                            rect.top + 5, decimal(c));
        }
    }

    canvas.setFont(options.gridFont);
    const unsigned nameFlags = TextFlag::SingleLine | TextFlag::VCenter |
                               (options.namesRightAligned ? TextFlag::Right : 0u);

    for (int r = 1; r < rowCount; ++r) {
        canvas.setBrushStyle(BrushStyle::Clear);
        const CellRect nameRect = geometry.cellRect(0, r);
        if (!nameRect.isOutOfView() && !chart.signalName[r].empty()) {
            canvas.drawText(chart.signalName[r],
                            CanvasRect{nameRect.left + 1, nameRect.top + 1, nameRect.right - 1,
                                       nameRect.bottom - 1},
                            nameFlags);
        }
        const Row row{chart, r, margin, options.edges};
        for (int c = 1; c < colCount; ++c) {
            const CellRect rect = geometry.cellRect(c, r);
            if (!rect.isOutOfView())
                drawCell(canvas, row, c, rect);
        }
    }

    // Over the rows in view only: a scrolled grid must not put dashes at its corner.
    for (int c = 1; c < colCount; ++c) {
        if (chart.timingLine[c] != 1)
            continue;
        bool found = false;
        int x = 0;
        int y1 = 0;
        int y2 = 0;
        for (int r = 1; r < rowCount; ++r) {
            const CellRect rect = geometry.cellRect(c, r);
            if (rect.isOutOfView())
                continue;
            if (!found) {
                x = rect.left;
                y1 = rect.top;
                found = true;
            }
            y2 = rect.bottom;
        }
        if (found)
            drawTimingLine(canvas, x, y1, y2);
    }
}
