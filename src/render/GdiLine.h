#pragma once
// The pixels GDI paints for MoveTo/LineTo with a one-pixel cosmetic pen: the first
// pixel and not the last, chosen by the diamond rule. For an x-major line the pixel
// of column x is row ceil(y_exact - 1/2) (a tie goes up); for a y-major line the pixel
// of row y is column ceil(x_exact - 1/2) (a tie goes left). The pixels come out as
// horizontal runs (x-major) or vertical runs (y-major), so that a raster surface can
// paint them as exact rectangles.

#include "render/Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

namespace solvena {

// A GDI line as a stroke through pixel centres, for canvases that draw real lines. GDI
// paints the pixels from the first up to, not including, the last: that is the segment
// moved back by half a step along its major axis, so that an axis-parallel line covers
// exactly those pixels' squares.
struct StrokeSegment {
    double x1, y1, x2, y2;
};

inline StrokeSegment gdiStroke(CanvasPoint from, CanvasPoint to)
{
    const double dx = double(to.x) - from.x;
    const double dy = double(to.y) - from.y;
    const double major = std::max(std::abs(dx), std::abs(dy));
    const double backX = 0.5 * dx / major;
    const double backY = 0.5 * dy / major;
    return {from.x + 0.5 - backX, from.y + 0.5 - backY, to.x + 0.5 - backX, to.y + 0.5 - backY};
}

// Whether `next` goes on from where `last` ends, the same way, so that `last` can be
// lengthened to `next`'s end instead of a second stroke being drawn.
inline bool continuesStroke(const StrokeSegment& last, const StrokeSegment& next)
{
    const double px = last.x2 - last.x1;
    const double py = last.y2 - last.y1;
    const double nx = next.x2 - next.x1;
    const double ny = next.y2 - next.y1;
    return last.x2 == next.x1 && last.y2 == next.y1 && px * ny == py * nx && px * nx + py * ny > 0;
}

// Strokes of one colour not written yet, which a vector canvas writes as one path.
struct PendingStrokes {
    std::vector<StrokeSegment> segments;
    uint32_t rgb = 0;

    // Whether a stroke of `colour` may join them: nothing is pending, or it is theirs.
    bool takes(uint32_t colour) const { return segments.empty() || colour == rgb; }
    // A stroke that goes on from where the last one ended, the same way, lengthens it.
    void add(uint32_t colour, const StrokeSegment& stroke)
    {
        rgb = colour;
        if (!segments.empty() && continuesStroke(segments.back(), stroke)) {
            segments.back().x2 = stroke.x2;
            segments.back().y2 = stroke.y2;
            return;
        }
        segments.push_back(stroke);
    }
};

// A run's length may exceed 32 bits: a line between 32-bit end points spans 2^32 - 1.
struct PixelRun {
    int32_t x = 0;
    int32_t y = 0;
    int64_t width = 1;
    int64_t height = 1;
    bool operator==(const PixelRun&) const = default;
};

namespace gdi_line_detail {
// The minor coordinate's offset at step i of a line `steps` long (steps > 0) over which
// it changes by `delta` (|delta| <= steps): ceil(A / (2 steps)) for A = 2 i delta -
// steps, the diamond rule; and the remainder offset * 2 steps - A, in [0, 2 steps),
// from which the next steps follow without a division. i and |delta| stay below 2^32,
// so their product fits 64 unsigned bits: nothing overflows, whatever the end points.
struct MinorAt {
    int64_t offset;
    int64_t remainder;
};
constexpr MinorAt minorAt(int64_t i, int64_t delta, int64_t steps)
{
    const uint64_t product = static_cast<uint64_t>(i) * static_cast<uint64_t>(delta < 0 ? -delta : delta);
    const auto q = static_cast<int64_t>(product / static_cast<uint64_t>(steps));
    const auto r = static_cast<int64_t>(product % static_cast<uint64_t>(steps));
    if (delta >= 0) {
        const int64_t up = 2 * r > steps ? 1 : 0;
        return {q + up, 2 * up * steps - 2 * r + steps};
    }
    const int64_t down = 2 * r >= steps ? 1 : 0;
    return {-q - down, 2 * r + steps - 2 * down * steps};
}
}  // namespace gdi_line_detail

// Calls sink(PixelRun) for each run of the line from `from` to `to`, in drawing order.
// With a window (right and bottom exclusive), only the pixels whose coordinate along
// the line's major axis lies in the window's range are walked and given: a line far
// longer than the surface costs no more than the surface is wide.
template <typename Sink>
void forEachGdiLineRun(CanvasPoint from, CanvasPoint to, Sink&& sink, const CanvasRect* window = nullptr)
{
    using gdi_line_detail::MinorAt;
    using gdi_line_detail::minorAt;
    const int64_t dx = int64_t{to.x} - from.x;
    const int64_t dy = int64_t{to.y} - from.y;
    const int64_t adx = dx < 0 ? -dx : dx;
    const int64_t ady = dy < 0 ? -dy : dy;
    if (adx == 0 && ady == 0)
        return;

    // Walk the major axis; the minor coordinate is monotonic, so equal minor values
    // are consecutive and form one run.
    const bool xMajor = adx >= ady;
    const int64_t steps = xMajor ? adx : ady;
    const int64_t minorDelta = xMajor ? dy : dx;
    const int64_t major0 = xMajor ? from.x : from.y;
    const int64_t minor0 = xMajor ? from.y : from.x;
    const int64_t step = (xMajor ? dx : dy) < 0 ? -1 : 1;

    int64_t firstI = 0;
    int64_t lastI = steps - 1;
    if (window) {
        const int64_t lo = xMajor ? window->left : window->top;
        const int64_t hi = (xMajor ? window->right : window->bottom) - int64_t{1};
        firstI = std::max(firstI, step > 0 ? lo - major0 : major0 - hi);
        lastI = std::min(lastI, step > 0 ? hi - major0 : major0 - lo);
        if (firstI > lastI)
            return;
    }

    auto addRun = [&](int64_t first, int64_t last, int64_t minor) {
        const int64_t a = major0 + step * first;
        const int64_t b = major0 + step * last;
        const auto lo = static_cast<int32_t>(a < b ? a : b);
        if (xMajor)
            sink(PixelRun{lo, static_cast<int32_t>(minor), last - first + 1, 1});
        else
            sink(PixelRun{static_cast<int32_t>(minor), lo, 1, last - first + 1});
    };

    if (minorDelta == 0) {
        addRun(firstI, lastI, minor0);
        return;
    }
    // Each step adds 2 delta to A: the remainder moves against it, and the offset by
    // one whenever the remainder leaves [0, 2 steps).
    const MinorAt first = minorAt(firstI, minorDelta, steps);
    int64_t offset = first.offset;
    int64_t remainder = first.remainder;
    const int64_t twoSteps = 2 * steps;
    const int64_t twoDelta = 2 * minorDelta;
    int64_t runStart = firstI;
    for (int64_t i = firstI + 1; i <= lastI; ++i) {
        remainder -= twoDelta;
        int64_t next = offset;
        if (remainder < 0) {
            remainder += twoSteps;
            ++next;
        } else if (remainder >= twoSteps) {
            remainder -= twoSteps;
            --next;
        }
        if (next != offset) {
            addRun(runStart, i - 1, minor0 + offset);
            runStart = i;
            offset = next;
        }
    }
    addRun(runStart, lastI, minor0 + offset);
}

// The runs of the line from `from` to `to`, in drawing order; within `window` when
// one is given.
std::vector<PixelRun> gdiLineRuns(CanvasPoint from, CanvasPoint to, const CanvasRect* window = nullptr);

// The individual pixels of the line, in drawing order.
std::vector<CanvasPoint> gdiLinePixels(CanvasPoint from, CanvasPoint to);

}  // namespace solvena
