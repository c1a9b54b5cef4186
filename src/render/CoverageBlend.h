#pragma once
// Blending a text's captured glyph coverage into an image's pixels exactly as Qt's
// raster engine blends it: the same per-channel formula and rounding, so that text
// composited from a cache lands on the pixels the painter itself would give.

#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace solvena {

// Qt's blend of a glyph's coverage into a 32-bit pixel, rounding included, so that the
// captured text lands on exactly the pixels the painter would give. Each channel is
// (c a + p (255 - a)) / 255 rounded as (t + t / 256 + 128) / 256; no coverage leaves
// the pixel as it was.
inline uint32_t interpolate255(uint32_t x, uint32_t a, uint32_t y, uint32_t b)
{
    uint32_t t = (x & 0xff00ffu) * a + (y & 0xff00ffu) * b;
    t = (t + ((t >> 8) & 0xff00ffu) + 0x800080u) >> 8;
    t &= 0xff00ffu;
    x = ((x >> 8) & 0xff00ffu) * a + ((y >> 8) & 0xff00ffu) * b;
    x = x + ((x >> 8) & 0xff00ffu) + 0x800080u;
    x &= 0xff00ff00u;
    return x | t;
}

// The same blend for one 8-bit grey channel, as Qt blends each channel of the above.
inline uint8_t interpolate255(uint8_t x, uint32_t a, uint8_t y, uint32_t b)
{
    const uint32_t t = x * a + y * b;
    return uint8_t((t + (t >> 8) + 0x80u) >> 8);
}

#if defined(__SSE2__)
// The blend above on eight 16-bit channels at once: `color` and `alpha` spread to
// the lanes of `pixels`.
inline __m128i interpolate255x8(__m128i color, __m128i pixels, __m128i alpha)
{
    const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), alpha);
    __m128i t = _mm_add_epi16(_mm_mullo_epi16(color, alpha), _mm_mullo_epi16(pixels, inverse));
    t = _mm_add_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), _mm_set1_epi16(0x80));
    return _mm_srli_epi16(t, 8);
}
#endif

// Blends `count` pixels of one row with their coverage, four (or eight grey) at a time
// where the processor can, skipping those with none.
inline void blendRow(uint32_t* pixel, const uint8_t* alpha, int count, uint32_t color)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i colorLanes = _mm_unpacklo_epi8(_mm_set1_epi32(int(color)), zero);
    for (; i + 4 <= count; i += 4) {
        uint32_t four;
        std::memcpy(&four, alpha + i, 4);
        if (four == 0)
            continue;
        // a0 a0 a0 a0 a1 a1 a1 a1 | a2 ... a3: each pixel's coverage on its four channels.
        __m128i a = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(four)), zero);
        a = _mm_unpacklo_epi16(a, a);
        const __m128i low = _mm_unpacklo_epi32(a, a);
        const __m128i high = _mm_unpackhi_epi32(a, a);
        const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pixel + i));
        const __m128i blended =
            _mm_packus_epi16(interpolate255x8(colorLanes, _mm_unpacklo_epi8(pixels, zero), low),
                             interpolate255x8(colorLanes, _mm_unpackhi_epi8(pixels, zero), high));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(pixel + i), blended);
    }
#endif
    for (; i < count; ++i) {
        if (alpha[i])
            pixel[i] = interpolate255(color, alpha[i], pixel[i], 255u - alpha[i]);
    }
}

inline void blendRow(uint8_t* pixel, const uint8_t* alpha, int count, uint8_t color)
{
    int i = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i colorLanes = _mm_set1_epi16(color);
    for (; i + 8 <= count; i += 8) {
        uint64_t eight;
        std::memcpy(&eight, alpha + i, 8);
        if (eight == 0)
            continue;
        const __m128i a = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(alpha + i)), zero);
        const __m128i pixels =
            _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(pixel + i)), zero);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(pixel + i),
                         _mm_packus_epi16(interpolate255x8(colorLanes, pixels, a), zero));
    }
#endif
    for (; i < count; ++i) {
        if (alpha[i])
            pixel[i] = interpolate255(color, alpha[i], pixel[i], 255u - alpha[i]);
    }
}

}  // namespace solvena
