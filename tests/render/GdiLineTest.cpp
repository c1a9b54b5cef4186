#include "render/GdiLine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <vector>

using namespace solvena;

namespace {

struct LineCase {
    const char* name;
    CanvasPoint from;
    CanvasPoint to;
    std::vector<CanvasPoint> pixels;
};

class GdiLinePixels : public testing::TestWithParam<LineCase> {};

TEST_P(GdiLinePixels, PaintsTheDiamondRulePixels)
{
    const LineCase& line = GetParam();
    EXPECT_EQ(gdiLinePixels(line.from, line.to), line.pixels);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GdiLinePixels,
    testing::Values(
        LineCase{"RightSkipsLast", {0, 0}, {4, 0}, {{0, 0}, {1, 0}, {2, 0}, {3, 0}}},
        LineCase{"LeftSkipsLast", {4, 0}, {0, 0}, {{4, 0}, {3, 0}, {2, 0}, {1, 0}}},
        LineCase{"DownSkipsLast", {2, 5}, {2, 8}, {{2, 5}, {2, 6}, {2, 7}}},
        LineCase{"UpSkipsLast", {2, 8}, {2, 5}, {{2, 8}, {2, 7}, {2, 6}}},
        LineCase{"SinglePixel", {3, 3}, {4, 3}, {{3, 3}}},
        LineCase{"ZeroLengthPaintsNothing", {3, 3}, {3, 3}, {}},
        LineCase{"Diagonal", {0, 0}, {3, 3}, {{0, 0}, {1, 1}, {2, 2}}},
        LineCase{"AntiDiagonal", {3, 0}, {0, 3}, {{3, 0}, {2, 1}, {1, 2}}},
        // Half-way rows: an x-major tie goes up, whichever way the line runs.
        LineCase{"XMajorTiesUp", {0, 0}, {4, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}}},
        LineCase{"XMajorTiesUpReversed", {4, 2}, {0, 0}, {{4, 2}, {3, 1}, {2, 1}, {1, 0}}},
        LineCase{"XMajorRisingTiesUp", {0, 2}, {4, 0}, {{0, 2}, {1, 1}, {2, 1}, {3, 0}}},
        // Half-way columns: a y-major tie goes left.
        LineCase{"YMajorTiesLeft", {0, 0}, {2, 4}, {{0, 0}, {0, 1}, {1, 2}, {1, 3}}},
        LineCase{"YMajorTiesLeftReversed", {2, 4}, {0, 0}, {{2, 4}, {1, 3}, {1, 2}, {0, 1}}},
        LineCase{"NoTies", {0, 0}, {5, 2}, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        // One hatch stroke of a 10-pixel band: rises to the right, top pixel unpainted.
        LineCase{"HatchStroke",
                 {0, 10},
                 {5, 0},
                 {{0, 10}, {0, 9}, {1, 8}, {1, 7}, {2, 6}, {2, 5}, {3, 4}, {3, 3}, {4, 2}, {4, 1}}},
        LineCase{"NegativeCoordinates", {-2, -1}, {2, -3}, {{-2, -1}, {-1, -2}, {0, -2}, {1, -3}}}),
    [](const testing::TestParamInfo<LineCase>& info) { return std::string(info.param.name); });

TEST(GdiLineRuns, GroupPixelsAlongTheMajorAxis)
{
    EXPECT_EQ(gdiLineRuns({0, 0}, {5, 2}),
              (std::vector<PixelRun>{{0, 0, 2, 1}, {2, 1, 2, 1}, {4, 2, 1, 1}}));
    EXPECT_EQ(gdiLineRuns({7, 3}, {7, 30}), (std::vector<PixelRun>{{7, 3, 1, 27}}));
    EXPECT_EQ(gdiLineRuns({10, 3}, {2, 3}), (std::vector<PixelRun>{{3, 3, 8, 1}}));
    EXPECT_EQ(gdiLineRuns({0, 10}, {5, 0}),
              (std::vector<PixelRun>{{0, 9, 1, 2}, {1, 7, 1, 2}, {2, 5, 1, 2}, {3, 3, 1, 2}, {4, 1, 1, 2}}));
}

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

struct WindowCase {
    const char* name;
    CanvasPoint from;
    CanvasPoint to;
    std::optional<CanvasRect> window;
    std::vector<PixelRun> runs;
};

class GdiLineWindow : public testing::TestWithParam<WindowCase> {};

// Lines between any 32-bit end points: only their part over the window is walked, the
// pixels the same as the whole line's, with no overflow on the way.
TEST_P(GdiLineWindow, GivesTheWholeLinesPixelsOverTheWindow)
{
    const WindowCase& line = GetParam();
    EXPECT_EQ(gdiLineRuns(line.from, line.to, line.window ? &*line.window : nullptr), line.runs);
}

INSTANTIATE_TEST_SUITE_P(
    Table, GdiLineWindow,
    testing::Values(
        WindowCase{"FullRow", {kMin, 5}, {kMax, 5}, CanvasRect{0, 0, 10, 10}, {{0, 5, 10, 1}}},
        WindowCase{"FullColumnUpward", {3, kMax}, {3, kMin}, CanvasRect{0, 0, 10, 10}, {{3, 0, 1, 10}}},
        WindowCase{"CornerToCorner",
                   {kMin, kMin},
                   {kMax, kMax},
                   CanvasRect{-2, -2, 3, 3},
                   {{-2, -2, 1, 1}, {-1, -1, 1, 1}, {0, 0, 1, 1}, {1, 1, 1, 1}, {2, 2, 1, 1}}},
        // y rises by one over 2^32 - 1 columns: half-way is between -1 and 0.
        WindowCase{"ShallowStepsAtItsMiddle", {kMin, 0}, {kMax, 1}, CanvasRect{-3, -5, 3, 5},
                   {{-3, 0, 3, 1}, {0, 1, 3, 1}}},
        WindowCase{"WindowBesideTheLine", {0, 0}, {100, 0}, CanvasRect{200, 0, 300, 10}, {}},
        WindowCase{"LongerThan31Bits", {kMin, 0}, {kMax, 0}, std::nullopt, {{kMin, 0, (int64_t{1} << 32) - 1, 1}}}),
    [](const testing::TestParamInfo<WindowCase>& info) { return std::string(info.param.name); });

// Every line in a window of end points: one pixel per step of the major axis, the
// first painted and the last not, connected, and never more than half a pixel from
// the exact line along the minor axis.
TEST(GdiLineProperties, HoldForAllShortLines)
{
    for (int x0 = -3; x0 <= 3; ++x0)
        for (int y0 = -3; y0 <= 3; ++y0)
            for (int x1 = -6; x1 <= 6; ++x1)
                for (int y1 = -6; y1 <= 6; ++y1) {
                    const CanvasPoint a{x0, y0};
                    const CanvasPoint b{x1, y1};
                    const auto pixels = gdiLinePixels(a, b);
                    const int dx = x1 - x0;
                    const int dy = y1 - y0;
                    const size_t steps = static_cast<size_t>(std::max(std::abs(dx), std::abs(dy)));
                    ASSERT_EQ(pixels.size(), steps) << x0 << "," << y0 << " -> " << x1 << "," << y1;
                    if (steps == 0)
                        continue;
                    EXPECT_EQ(pixels.front(), a);
                    for (size_t i = 0; i < pixels.size(); ++i) {
                        const CanvasPoint p = pixels[i];
                        EXPECT_NE(p, b);
                        if (i > 0) {
                            EXPECT_LE(std::abs(p.x - pixels[i - 1].x), 1);
                            EXPECT_LE(std::abs(p.y - pixels[i - 1].y), 1);
                        }
                        if (std::abs(dx) >= std::abs(dy)) {
                            const double exact = y0 + double(p.x - x0) * dy / dx;
                            EXPECT_LE(std::abs(p.y - exact), 0.5);
                        } else {
                            const double exact = x0 + double(p.y - y0) * dx / dy;
                            EXPECT_LE(std::abs(p.x - exact), 0.5);
                        }
                    }
                    // Over a window: the pixels whose major coordinate lies in it.
                    const CanvasRect window{-1, -2, 2, 1};
                    std::vector<CanvasPoint> inside;
                    for (const PixelRun& run : gdiLineRuns(a, b, &window))
                        for (int32_t k = 0; k < int32_t(run.width * run.height); ++k)
                            inside.push_back(run.height == 1 ? CanvasPoint{run.x + k, run.y}
                                                             : CanvasPoint{run.x, run.y + k});
                    std::vector<CanvasPoint> expected;
                    for (const CanvasPoint& p : pixels)
                        if (std::abs(dx) >= std::abs(dy) ? p.x >= -1 && p.x < 2 : p.y >= -2 && p.y < 1)
                            expected.push_back(p);
                    const auto order = [](CanvasPoint l, CanvasPoint r) { return l.x != r.x ? l.x < r.x : l.y < r.y; };
                    std::sort(inside.begin(), inside.end(), order);
                    std::sort(expected.begin(), expected.end(), order);
                    EXPECT_EQ(inside, expected) << x0 << "," << y0 << " -> " << x1 << "," << y1;
                }
}

}  // namespace
