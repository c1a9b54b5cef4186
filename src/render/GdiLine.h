#pragma once
// The pixels GDI paints for MoveTo/LineTo with a one-pixel cosmetic pen: the first
// pixel and not the last, chosen by the diamond rule. For an x-major line the pixel
// of column x is row ceil(y_exact - 1/2) (a tie goes up); for a y-major line the pixel
// of row y is column ceil(x_exact - 1/2) (a tie goes left). The pixels come out as
// horizontal runs (x-major) or vertical runs (y-major), so that a raster surface can
// paint them as exact rectangles.

#include "render/Canvas.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

struct PixelRun {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 1;
    int32_t height = 1;
    bool operator==(const PixelRun&) const = default;
};

namespace gdi_line_detail {
// ceil(n / d) for d > 0.
constexpr int64_t ceilDiv(int64_t n, int64_t d)
{
    return n >= 0 ? (n + d - 1) / d : -((-n) / d);
}
}  // namespace gdi_line_detail

// Calls sink(PixelRun) for each run of the line from `from` to `to`, in drawing order.
template <typename Sink>
void forEachGdiLineRun(CanvasPoint from, CanvasPoint to, Sink&& sink)
{
    using gdi_line_detail::ceilDiv;
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
    const int32_t major0 = xMajor ? from.x : from.y;
    const int32_t minor0 = xMajor ? from.y : from.x;
    const int32_t step = (xMajor ? dx : dy) < 0 ? -1 : 1;

    auto addRun = [&](int64_t firstI, int64_t lastI, int32_t minor) {
        const int32_t a = static_cast<int32_t>(major0 + step * firstI);
        const int32_t b = static_cast<int32_t>(major0 + step * lastI);
        const int32_t lo = a < b ? a : b;
        const int32_t length = static_cast<int32_t>(lastI - firstI + 1);
        if (xMajor)
            sink(PixelRun{lo, minor, length, 1});
        else
            sink(PixelRun{minor, lo, 1, length});
    };

    if (minorDelta == 0) {
        addRun(0, steps - 1, minor0);
        return;
    }
    int64_t runStart = 0;
    int32_t runMinor = minor0 + static_cast<int32_t>(ceilDiv(-steps, 2 * steps));
    for (int64_t i = 1; i < steps; ++i) {
        const int32_t minor =
            minor0 + static_cast<int32_t>(ceilDiv(2 * i * minorDelta - steps, 2 * steps));
        if (minor != runMinor) {
            addRun(runStart, i - 1, runMinor);
            runStart = i;
            runMinor = minor;
        }
    }
    addRun(runStart, steps - 1, runMinor);
}

// The runs of the line from `from` to `to`, in drawing order.
std::vector<PixelRun> gdiLineRuns(CanvasPoint from, CanvasPoint to);

// The individual pixels of the line, in drawing order.
std::vector<CanvasPoint> gdiLinePixels(CanvasPoint from, CanvasPoint to);
