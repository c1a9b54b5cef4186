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

// Every coverage over every channel value, in rows of every length up to a few blocks,
// so that each lane of the four- and eight-wide blends and each leftover pixel is met.
// No coverage must leave a pixel exactly as it was: rows are blended in whole blocks
// past their ink.
TEST(CoverageBlend, RowsBlendEveryPixelAsQtDoes)
{
    const uint32_t colors[] = {0xFF000000u, 0xFFFFFFFFu, 0xFF203040u, 0xFF0000C0u, 0x80FF7F01u};
    for (const uint32_t color : colors) {
        for (int count = 1; count <= 19; ++count) {
            for (uint32_t start = 0; start < 256 * 256; start += uint32_t(count)) {
                const size_t n = size_t(count);
                std::vector<uint32_t> pixels(n + 1);
                std::vector<uint8_t> alpha(n);
                std::vector<uint32_t> want(n);
                for (int i = 0; i < count; ++i) {
                    const uint32_t k = (start + uint32_t(i)) % (256 * 256);
                    const uint32_t value = k & 0xFF;
                    // Channels differ from each other: a lane mixed up shows.
                    pixels[size_t(i)] = value | (255 - value) << 8 | ((value * 7) & 0xFF) << 16 |
                                        ((value * 13) & 0xFF) << 24;
                    alpha[size_t(i)] = uint8_t(k >> 8);
                    want[size_t(i)] = qtPixel(color, pixels[size_t(i)], alpha[size_t(i)]);
                }
                pixels[size_t(count)] = 0x12345678u;
                blendRow(pixels.data(), alpha.data(), count, color);
                for (int i = 0; i < count; ++i)
                    ASSERT_EQ(pixels[size_t(i)], want[size_t(i)])
                        << std::hex << "colour " << color << " count " << std::dec << count << " at " << i;
                ASSERT_EQ(pixels[size_t(count)], 0x12345678u) << "written beyond the row";
            }
        }
        for (const uint8_t grey : {uint8_t(0), uint8_t(255), uint8_t(color >> 8)}) {
            for (int count = 1; count <= 19; ++count) {
                for (uint32_t start = 0; start < 256 * 256; start += uint32_t(count)) {
                    const size_t n = size_t(count);
                    std::vector<uint8_t> pixels(n + 1);
                    std::vector<uint8_t> alpha(n);
                    std::vector<uint8_t> want(n);
                    for (int i = 0; i < count; ++i) {
                        const uint32_t k = (start + uint32_t(i)) % (256 * 256);
                        pixels[size_t(i)] = uint8_t(k);
                        alpha[size_t(i)] = uint8_t(k >> 8);
                        want[size_t(i)] = uint8_t(qtChannel(grey, pixels[size_t(i)], alpha[size_t(i)]));
                    }
                    pixels[size_t(count)] = 0x5A;
                    blendRow(pixels.data(), alpha.data(), count, grey);
                    for (int i = 0; i < count; ++i)
                        ASSERT_EQ(pixels[size_t(i)], want[size_t(i)]) << "grey " << int(grey) << " count " << count;
                    ASSERT_EQ(pixels[size_t(count)], 0x5A) << "written beyond the row";
                }
            }
        }
    }
}

}  // namespace
