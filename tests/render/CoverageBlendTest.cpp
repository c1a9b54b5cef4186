#include "render/CoverageBlend.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace solvena;

namespace {

// One channel as Qt's raster engine blends a glyph: colour c at coverage a over p.
uint32_t qtChannel(uint32_t c, uint32_t p, uint32_t a)
{
    const uint32_t t = c * a + p * (255 - a);
    return (t + (t >> 8) + 0x80) >> 8;
}

uint32_t qtPixel(uint32_t color, uint32_t pixel, uint32_t a)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= qtChannel((color >> shift) & 0xFF, (pixel >> shift) & 0xFF, a) << shift;
    return out;
}

// Blends rows of every length up to a few blocks, through every coverage over every
// channel value (`pixelOf` makes a pixel from a channel value), against Qt's blend of
// each pixel alone; nothing beyond a row may change.
template <typename Pixel, typename PixelOf, typename Want>
void expectRowsBlendAsQtDoes(Pixel color, PixelOf pixelOf, Want want)
{
    for (int count = 1; count <= 19; ++count) {
        const size_t n = size_t(count);
        for (uint32_t start = 0; start < 256 * 256; start += uint32_t(count)) {
            std::vector<Pixel> pixels(n + 1, Pixel(0x5A5A5A5A));
            std::vector<uint8_t> alpha(n);
            for (size_t i = 0; i < n; ++i) {
                const uint32_t k = (start + uint32_t(i)) % (256 * 256);
                pixels[i] = pixelOf(k & 0xFF);
                alpha[i] = uint8_t(k >> 8);
            }
            const std::vector<Pixel> before = pixels;
            blendRow(pixels.data(), alpha.data(), count, color);
            for (size_t i = 0; i < n; ++i)
                ASSERT_EQ(pixels[i], want(color, before[i], alpha[i]))
                    << "colour " << uint32_t(color) << ", " << count << " pixels, at " << i;
            ASSERT_EQ(pixels[n], before[n]) << "written beyond the row";
        }
    }
}

// Each lane of the four- and eight-wide blends and each leftover pixel is met. No
// coverage must leave a pixel exactly as it was: rows are blended in whole blocks past
// their ink.
TEST(CoverageBlend, RowsBlendEveryPixelAsQtDoes)
{
    // Channels that differ from each other: a lane mixed up shows.
    const auto rgb = [](uint32_t v) { return v | (255 - v) << 8 | (v * 7 & 0xFF) << 16 | (v * 13 & 0xFF) << 24; };
    for (const uint32_t color : {0xFF000000u, 0xFFFFFFFFu, 0xFF203040u, 0xFF0000C0u, 0x80FF7F01u})
        expectRowsBlendAsQtDoes(color, rgb, qtPixel);
    const auto grey = [](uint32_t v) { return uint8_t(v); };
    const auto qtGrey = [](uint8_t c, uint8_t p, uint8_t a) { return uint8_t(qtChannel(c, p, a)); };
    for (const uint8_t color : {0, 255, 0x30})
        expectRowsBlendAsQtDoes(color, grey, qtGrey);
}

}  // namespace
