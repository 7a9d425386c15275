// Internal: the partial (intensity) runners each path provides, the per-component mix they
// all compute, and the scalar loops every path uses for what is left after its SIMD blocks.
// A mix runner converts `pixelCount` contiguous pixels in place; intensity is 1..99.
#pragma once

#include "gray.h"
#include "grayKernels.h"

constexpr uint32_t MIX_ROUNDING = GRAY_INTENSITY_FULL / 2;
// Largest product c * (100 - i) + g * i, and with the rounding added: both fit 16 bits.
constexpr uint32_t MIX_PRODUCT_MAX = GRAY_VALUE_MAX * GRAY_INTENSITY_FULL;
constexpr uint32_t MIX_SUM_MAX = MIX_PRODUCT_MAX + MIX_ROUNDING;
// floor(x / 100) = ((x * 41944) >> 16) >> 6 for x <= MIX_SUM_MAX (41944 = ceil(2^22 / 100)).
constexpr uint32_t DIV100_MULTIPLIER = 41944;
constexpr int32_t DIV100_POSTSHIFT = 6;
// SSSE3 and AVX2 fold the rounding into that last shift: pmulhrsw by 2^9 gives
// (y + 32) >> 6, so floor((x + 50) / 100) = pmulhrsw((x * 41944) >> 16, 2^9) for
// x <= MIX_PRODUCT_MAX (the multiply's excess stays below the 0.01 steps of x / 100).
constexpr int32_t MULHRS_SHIFT = 15;  // pmulhrsw: (a * b + 2^14) >> 15
constexpr int32_t DIV64_ROUNDED_MULTIPLIER = 1 << (MULHRS_SHIFT - DIV100_POSTSHIFT);

// The 5-bit fields of a 5-5-5 word, as they stand (not widened).
constexpr uint32_t FIELD555_MAX = 0x1F;
constexpr int32_t RED555_FIELD = 10;
constexpr int32_t GREEN555_FIELD = 5;
constexpr uint32_t WORD555_FIELDS = 0x7FFF;
constexpr uint32_t WORD555_FIELD_ONES = (1u << RED555_FIELD) | (1u << GREEN555_FIELD) | 1u;

// SSSE3 and AVX2 move a 5-bit field f toward q with one pmulhrsw: f + floor(((q - f) * i + 50) / 100)
// = f + pmulhrsw(q - f + 100, fieldStep(i)) - i. The offset keeps the operand positive
// (69..131) and adds exactly 100 * i / 100 = i; the step, i / 100 rounded up in 2^-15, errs by
// less than 131 * 2^-15, below the 0.01 steps of the exact quotient, so the floor is exact.
constexpr int32_t FIELD555_OFFSET = GRAY_INTENSITY_FULL;
constexpr int32_t fieldStep(int32_t intensity)
{
    return ((intensity << MULHRS_SHIFT) + GRAY_INTENSITY_FULL - 1) / GRAY_INTENSITY_FULL;
}

typedef void (*GrayMixFn)(uint8_t *pixels, size_t pixelCount, int32_t grayTone, int32_t reverseGray,
                          int32_t intensity);

// One runner per kernel, in the order of GrayRunners; grayTone is already clamped.
struct GrayMixRunners {
    GrayMixFn ntsc32;
    GrayMixFn ntsc24;
    GrayMixFn ntsc16;
    GrayMixFn hdtv32;
    GrayMixFn hdtv24;
    GrayMixFn hdtv16;
};

extern const GrayMixRunners grayScalarMixRunners;
#if GRAY_X86
extern const GrayMixRunners graySse2MixRunners;
extern const GrayMixRunners graySsse3MixRunners;
extern const GrayMixRunners grayAvx2MixRunners;
#endif

// The mix runners of the active path (the same path as activeGrayRunners).
const GrayMixRunners *activeGrayMixRunners();

inline uint32_t mixComponent(uint32_t colour, uint32_t gray, int32_t intensity)
{
    return (colour * (uint32_t)(GRAY_INTENSITY_FULL - intensity) + gray * (uint32_t)intensity + MIX_ROUNDING) /
           GRAY_INTENSITY_FULL;
}

template <GrayWeightingFamily family>
inline void scalarMixPixels32(uint8_t *p, size_t count, int32_t grayTone, int32_t reverseGray, int32_t intensity)
{
    for (size_t i = 0; i < count; ++i, p += 4) {
        uint32_t v = familyGray<family>(p[2], p[1], p[0], grayTone, reverseGray);
        p[0] = (uint8_t)mixComponent(p[0], v, intensity);
        p[1] = (uint8_t)mixComponent(p[1], v, intensity);
        p[2] = (uint8_t)mixComponent(p[2], v, intensity);
        p[3] = GRAY32_FOURTH_BYTE;
    }
}

template <GrayWeightingFamily family>
inline void scalarMixPixels24(uint8_t *p, size_t count, int32_t grayTone, int32_t reverseGray, int32_t intensity)
{
    for (size_t i = 0; i < count; ++i, p += 3) {
        uint32_t v = familyGray<family>(p[2], p[1], p[0], grayTone, reverseGray);
        p[0] = (uint8_t)mixComponent(p[0], v, intensity);
        p[1] = (uint8_t)mixComponent(p[1], v, intensity);
        p[2] = (uint8_t)mixComponent(p[2], v, intensity);
    }
}

// The gray word's three fields all hold v >> 3; each source field moves toward that.
template <GrayWeightingFamily family>
inline void scalarMixPixels16(uint8_t *p, size_t count, int32_t grayTone, int32_t reverseGray, int32_t intensity)
{
    for (size_t i = 0; i < count; ++i, p += 2) {
        uint32_t word = (uint32_t)p[0] | ((uint32_t)p[1] << 8);
        uint32_t q = familyGray<family>(red555(word), green555(word), blue555(word), grayTone, reverseGray) >>
                     GRAY555_SHIFT;
        uint32_t red = mixComponent((word >> RED555_FIELD) & FIELD555_MAX, q, intensity);
        uint32_t green = mixComponent((word >> GREEN555_FIELD) & FIELD555_MAX, q, intensity);
        uint32_t blue = mixComponent(word & FIELD555_MAX, q, intensity);
        uint32_t out = (red << RED555_FIELD) | (green << GREEN555_FIELD) | blue;
        p[0] = (uint8_t)out;
        p[1] = (uint8_t)(out >> 8);
    }
}
