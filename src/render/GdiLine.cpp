#include "render/GdiLine.h"

namespace solvena {

std::vector<PixelRun> gdiLineRuns(CanvasPoint from, CanvasPoint to, const CanvasRect* window)
{
    std::vector<PixelRun> runs;
    forEachGdiLineRun(from, to, [&](const PixelRun& run) { runs.push_back(run); }, window);
    return runs;
}

std::vector<CanvasPoint> gdiLinePixels(CanvasPoint from, CanvasPoint to)
{
    std::vector<CanvasPoint> pixels;
    // A run covers its pixels from `from` towards `to`; keep that order.
    const bool leftward = to.x < from.x;
    const bool upward = to.y < from.y;
    forEachGdiLineRun(from, to, [&](const PixelRun& run) {
        for (int64_t k = 0; k < run.width * run.height; ++k) {
            if (run.height == 1)
                pixels.push_back({static_cast<int32_t>(leftward ? run.x + run.width - 1 - k : run.x + k), run.y});
            else
                pixels.push_back({run.x, static_cast<int32_t>(upward ? run.y + run.height - 1 - k : run.y + k)});
        }
    });
    return pixels;
}

}  // namespace solvena
