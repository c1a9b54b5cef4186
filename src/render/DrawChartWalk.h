#pragma once
// The renderer's walk over the chart, for any canvas type. drawChart (DrawChart.h) runs
// it over the Canvas interface; a canvas whose calls the compiler should see through,
// as the raster canvas's for the screen and bitmaps, instantiates it for its own type
// (every line a chart draws is then a direct call, not one through the interface).

#include "document/TCell.h"
#include "render/Canvas.h"
#include "render/DrawChart.h"
#include "render/GridGeometry.h"
#include "render/RenderOptions.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace solvena {

namespace chart_walk {

constexpr uint32_t kBlack = 0x000000;

constexpr int64_t floorDiv(int64_t n, int64_t d)
{
    return n >= 0 ? n / d : -((-n + d - 1) / d);
}

constexpr int64_t floorMod(int64_t n, int64_t d)
{
    return n - floorDiv(n, d) * d;
}

constexpr int64_t ceilDiv(int64_t n, int64_t d)
{
    return -floorDiv(-n, d);
}

inline int32_t saturated(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

// The ends of a line along one axis, from `a` to `b` (b itself not painted), brought
// within lo - 1 .. hi: a line that runs on beyond the area then paints the same pixels
// inside it. False when no pixel of it lies inside. Ends already within are kept as
// they are, so what is drawn inside the area is drawn exactly as before.
inline bool clipSpan(int64_t& a, int64_t& b, int32_t lo, int32_t hi)
{
    const int64_t ca = std::clamp<int64_t>(a, int64_t{lo} - 1, hi);
    const int64_t cb = std::clamp<int64_t>(b, int64_t{lo} - 1, hi);
    if ((ca != a || cb != b) && ca == cb)
        return false;
    a = ca;
    b = cb;
    return true;
}

// What can show: the renderer's lines reach the canvas only where they have a pixel in
// the paint area, their far ends brought to just outside it. Positions from the chart
// (an edge delay is any 32-bit number) are added up in 64 bits, so no stored value
// makes the drawing overflow or grow beyond the size of the area.
class Visible {
public:
    explicit Visible(const CanvasRect& area) : area_(area) {}

    const CanvasRect& area() const { return area_; }

    // A horizontal or vertical line from (x1, y1) to (x2, y2), the end not painted.
    template <typename C>
    void line(C& canvas, int64_t x1, int64_t y1, int64_t x2, int64_t y2) const
    {
        if (y1 == y2) {
            if (y1 < area_.top || y1 >= area_.bottom || !clipSpan(x1, x2, area_.left, area_.right))
                return;
        } else {
            if (x1 < area_.left || x1 >= area_.right || !clipSpan(y1, y2, area_.top, area_.bottom))
                return;
        }
        canvas.line(static_cast<int32_t>(x1), static_cast<int32_t>(y1), static_cast<int32_t>(x2),
                    static_cast<int32_t>(y2));
    }

private:
    CanvasRect area_;
};

// The hatch strokes of one row, which all span the same band: cells whose delays make
// their hatches overlap may give the same stroke again and again. A row draws every
// stroke it is given until it would draw more than it has places for strokes in the
// area; from then on only strokes in places not drawn yet. A chart whose hatches
// overlap that much comes only from a file, and its picture is the same either way.
// One serves every row in turn.
class RowHatch {
public:
    explicit RowHatch(const CanvasRect& area)
        : first_(int64_t{area.left} - 5), places_(int64_t{area.right} - first_)
    {
    }

    // Begins the next row; what the last one kept is reused, not allocated again.
    void nextRow()
    {
        drawn_ = 0;
        hatches_.clear();
        seen_.clear();
    }

    // Calls draw(x) for x = first + 5 k, k = 0 .. count - 1, the place of each stroke.
    template <typename Draw>
    void strokes(int64_t first, int64_t count, Draw&& draw)
    {
        if (seen_.empty() && (drawn_ + count <= places_ || places_ > kMostPlaces)) {
            hatches_.push_back({first, count});
            drawn_ += count;
            for (int64_t k = 0; k < count; ++k)
                draw(first + 5 * k);
            return;
        }
        if (seen_.empty()) {
            seen_.assign(static_cast<size_t>(places_), false);
            for (const auto& [from, strokes] : hatches_)
                for (int64_t k = 0; k < strokes; ++k)
                    seen_[static_cast<size_t>(from + 5 * k - first_)] = true;
        }
        for (int64_t k = 0; k < count; ++k) {
            const int64_t x = first + 5 * k;
            auto seen = seen_[static_cast<size_t>(x - first_)];
            if (!seen) {
                seen = true;
                draw(x);
            }
        }
    }

private:
    // Beyond this an area is no surface's: no picture is that wide.
    static constexpr int64_t kMostPlaces = int64_t{1} << 20;
    struct Hatch {
        int64_t first;
        int64_t count;
    };
    int64_t first_;
    int64_t places_;
    int64_t drawn_ = 0;
    std::vector<Hatch> hatches_;  // drawn whole, while the row has room
    std::vector<bool> seen_;      // the places drawn, once it has not
};

// The header's caption over the names, in CP932.
const std::string& headerCaption();

inline const std::string& decimal(int n)
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

// Strokes rising to the right, 5 pixels wide and 5 apart from `left`; nothing is
// filled. Only the strokes with a pixel in the area's columns (a stroke from x covers
// x .. x + 5) are drawn, each where it stands in the whole hatch.
template <typename C>
void hatchRect(C& canvas, const Visible& visible, RowHatch& row, int64_t left, int top, int64_t right,
               int bottom)
{
    const CanvasRect& area = visible.area();
    if (std::max(top, bottom) < area.top || std::min(top, bottom) >= area.bottom)
        return;
    const int64_t first = std::max<int64_t>(0, ceilDiv(int64_t{area.left} - 5 - left, 5));
    const int64_t last = std::min(floorDiv(right - 5 - left, 5), floorDiv(int64_t{area.right} - 1 - left, 5));
    if (last < first)
        return;
    row.strokes(left + 5 * first, last - first + 1, [&](int64_t x) {
        canvas.line(static_cast<int32_t>(x), bottom, static_cast<int32_t>(x + 5), top);
    });
}

// Two-pixel dashes on every y that is a multiple of 4, aligned to the canvas rather
// than to y1; the last dash may reach one pixel below y2.
template <typename C>
void drawTimingLine(C& canvas, const Visible& visible, int x, int y1, int y2)
{
    if (y2 < y1)
        return;
    // A dash at y paints y and y + 1: those above the area show nothing.
    const int64_t from = std::max<int64_t>(y1, int64_t{visible.area().top} - 1);
    const int64_t to = std::min<int64_t>(y2, int64_t{visible.area().bottom} - 1);
    for (int64_t y = from + floorMod(-from, 4); y <= to; y += 4)
        visible.line(canvas, x, y, x, y + 2);
}

struct Row {
    const TCell& chart;
    int r;
    int margin;
    EdgeStyle edges;

    int level(int c) const { return c < kMaxCols ? chart.level[c][r] : 0; }
    int64_t delay(int c) const { return c < kMaxCols ? chart.delay[c][r] : 0; }
};

template <typename C>
void drawCell(C& canvas, const Visible& visible, RowHatch& hatch, const Row& row, int c, const CellRect& rect)
{
    const int level = row.level(c);
    const int previousLevel = row.level(c - 1);
    const int nextLevel = row.level(c + 1);
    const int64_t nextDelay = row.delay(c + 1);
    const uint8_t flags = row.chart.cellFlags[c][row.r];

    const int highY = rect.top + row.margin;
    const int lowY = rect.bottom - row.margin;
    const int64_t startX = int64_t{rect.left} + row.delay(c);
    const int64_t endX = int64_t{rect.right} + 1 + nextDelay;

    canvas.setBrushStyle(BrushStyle::Clear);

    // The label goes first so that the level lines lie over it. A box that would
    // begin beyond 32 bits begins right of the cell: it has no inside, as it had.
    if ((flags & kFlagShowNumber) && (level == kLevelLow || level == kLevelHigh)) {
        canvas.drawText(decimal(level), CanvasRect{saturated(startX), highY, rect.right, lowY},
                        TextFlag::SingleLine | TextFlag::VCenter | TextFlag::Center);
    }

    auto horizontal = [&](int y) { visible.line(canvas, startX, y, endX, y); };
    if (level == kLevelHigh) {
        horizontal(highY);
    } else if (level == kLevelLow) {
        horizontal(lowY);
    } else {
        hatchRect(canvas, visible, hatch, startX, highY, int64_t{rect.right} + nextDelay, lowY);
        horizontal(highY);
        horizontal(lowY);
    }

    if (c != 1 && level != previousLevel)
        visible.line(canvas, startX, highY, startX, row.edges == EdgeStyle::ShortBottom ? lowY : lowY + 1);

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

}  // namespace chart_walk

template <typename C>
void drawChartOn(C& canvas, const GridGeometry& geometry, const TCell& chart,
               const RenderOptions& options)
{
    // The grid's counts are the chart's extent, but never beyond the record.
    const int colCount = std::clamp(geometry.colCount(), 0, kMaxCols);
    const int rowCount = std::clamp(geometry.rowCount(), 0, kMaxRows);

    canvas.setFont(options.headerFont);
    canvas.setPenColor(chart_walk::kBlack);
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setBrushStyle(BrushStyle::Clear);

    const int margin = levelMargin(geometry.defaultRowHeight());
    const chart_walk::Visible visible(geometry.paintArea());

    if (options.withHeader) {
        canvas.textOut(5, 5, chart_walk::headerCaption());
        for (int c = 1; c < colCount; ++c) {
            const CellRect rect = geometry.cellRect(c, 0);
            if (rect.isOutOfView())
                continue;
            canvas.textRect(CanvasRect{rect.left, rect.top, rect.right, rect.bottom}, rect.left + 1,
                            rect.top + 5, chart_walk::decimal(c));
        }
    }

    canvas.setFont(options.gridFont);
    const unsigned nameFlags = TextFlag::SingleLine | TextFlag::VCenter |
                               (options.namesRightAligned ? TextFlag::Right : 0u);

    chart_walk::RowHatch hatch(visible.area());
    for (int r = 1; r < rowCount; ++r) {
        canvas.setBrushStyle(BrushStyle::Clear);
        const CellRect nameRect = geometry.cellRect(0, r);
        if (!nameRect.isOutOfView() && !chart.signalName[r].empty()) {
            canvas.drawText(chart.signalName[r],
                            CanvasRect{nameRect.left + 1, nameRect.top + 1, nameRect.right - 1,
                                       nameRect.bottom - 1},
                            nameFlags);
        }
        const chart_walk::Row row{chart, r, margin, options.edges};
        hatch.nextRow();
        for (int c = 1; c < colCount; ++c) {
            const CellRect rect = geometry.cellRect(c, r);
            if (!rect.isOutOfView())
                chart_walk::drawCell(canvas, visible, hatch, row, c, rect);
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
            chart_walk::drawTimingLine(canvas, visible, x, y1, y2);
    }
}

}  // namespace solvena
