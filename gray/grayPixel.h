// Per-pixel gray arithmetic shared by the scalar kernels and the SIMD row tails, and the
// multiply-high constants the SIMD paths use instead of dividing.
// Every division truncates; the order of multiplications and divisions is part of the result.
#pragma once

#include <cstdint>

constexpr int32_t GRAY_TONE_MIN = 0;
constexpr int32_t GRAY_TONE_MAX = 10;  // full brightness
constexpr int32_t GRAY_VALUE_MAX = 255;
constexpr int32_t GRAY_REVERSE_ON = 1;

// NTSC weighting: (2R + 4G + B) / 7, then * tone / 10.
constexpr int32_t NTSC_WEIGHT_RED = 2;
constexpr int32_t NTSC_WEIGHT_GREEN = 4;
constexpr int32_t NTSC_WEIGHT_BLUE = 1;
constexpr int32_t NTSC_WEIGHT_SUM = 7;
constexpr int32_t NTSC_TONE_DIVISOR = 10;

// HDTV weighting: components XOR 2, (22R' + 66G' + 11B') / 2, then * (2 * tone) / 1000.
constexpr int32_t HDTV_COMPONENT_FLIP = 2;
constexpr int32_t HDTV_WEIGHT_RED = 22;
constexpr int32_t HDTV_WEIGHT_GREEN = 66;
constexpr int32_t HDTV_WEIGHT_BLUE = 11;
constexpr int32_t HDTV_SUM_DIVISOR = 2;
constexpr int32_t HDTV_TONE_FACTOR = 2;
constexpr int32_t HDTV_TONE_DIVISOR = 1000;

// Output encodings.
constexpr uint32_t GRAY32_OPAQUE = 0xFF000000u;    // fourth byte of a 32 bpp pixel
constexpr uint32_t GRAY32_REPLICATE = 0x010101u;   // v into blue, green and red
constexpr uint32_t GRAY555_REPLICATE = 0x0421u;    // q into the three 5-bit fields
constexpr int32_t GRAY555_SHIFT = 3;               // 8-bit gray to 5-bit field
constexpr uint32_t GRAY555_COMPONENT_MASK = 0xF8u; // a 5-bit field widened to 8 bits
constexpr int32_t GRAY555_RED_SHIFT = 7;           // word >> 7 puts red in bits 3..7
constexpr int32_t GRAY555_GREEN_SHIFT = 2;         // word >> 2 puts green in bits 3..7
constexpr int32_t GRAY555_BLUE_SHIFT = 3;          // word << 3 puts blue in bits 3..7

// Largest intermediate values; the multiply-high constants below are exact up to these.
constexpr int32_t NTSC_SUM_MAX = NTSC_WEIGHT_SUM * GRAY_VALUE_MAX;           // 1785
constexpr int32_t NTSC_SCALED_MAX = GRAY_VALUE_MAX * GRAY_TONE_MAX;          // 2550
constexpr int32_t HDTV_WEIGHTED_MAX =
    (HDTV_WEIGHT_RED + HDTV_WEIGHT_GREEN + HDTV_WEIGHT_BLUE) * GRAY_VALUE_MAX;  // 25245
constexpr int32_t HDTV_HALF_MAX = HDTV_WEIGHTED_MAX / HDTV_SUM_DIVISOR;       // 12622
constexpr int32_t HDTV_QUARTER = 4;  // S * tone / 4 fits 16 bits; the rest of / 500 is / 125
constexpr int32_t HDTV_QUARTER_TONED_MAX = HDTV_HALF_MAX * GRAY_TONE_MAX / HDTV_QUARTER; // 31555

// floor(x / 7) = (x * 9363) >> 16 for x <= NTSC_SUM_MAX.
constexpr uint32_t DIV7_MULTIPLIER = 9363;
// floor(x / 10) = (x * 6554) >> 16 for x <= NTSC_SCALED_MAX.
constexpr uint32_t DIV10_MULTIPLIER = 6554;
// HDTV: floor(S * 2 * tone / 1000) = floor(floor(S * tone / 4) / 125).  S * tone needs 17
// bits, so floor(S * tone / 4) is formed as ((S << 2) * (tone << 12)) >> 16 (2 + 12 = 16 - 2),
// both factors within 16 bits; then floor(q / 125) = ((q * 33555) >> 16) >> 6 for q <= 31555.
constexpr int32_t HDTV_HALF_PRESHIFT = 2;
constexpr int32_t HDTV_TONE_PRESHIFT = 12;
constexpr uint32_t DIV125_MULTIPLIER = 33555;  // ceil(2^22 / 125)
constexpr int32_t DIV125_DIVISOR = HDTV_TONE_DIVISOR / HDTV_TONE_FACTOR / HDTV_QUARTER;
constexpr int32_t DIV125_POSTSHIFT = 6;
constexpr int32_t MULHI_SHIFT = 16;  // a 16 x 16-bit multiply-high keeps bits 16..31

inline int32_t clampGrayTone(int32_t grayTone)
{
    if (grayTone < GRAY_TONE_MIN)
        return GRAY_TONE_MIN;
    if (grayTone > GRAY_TONE_MAX)
        return GRAY_TONE_MAX;
    return grayTone;
}

inline uint32_t reverseIf(uint32_t v, int32_t reverseGray)
{
    return reverseGray == GRAY_REVERSE_ON ? GRAY_VALUE_MAX - v : v;
}

inline uint32_t ntscGray(uint32_t red, uint32_t green, uint32_t blue, int32_t grayTone, int32_t reverseGray)
{
    uint32_t sum = NTSC_WEIGHT_RED * red + NTSC_WEIGHT_GREEN * green + NTSC_WEIGHT_BLUE * blue;
    uint32_t average = sum / NTSC_WEIGHT_SUM;
    uint32_t v = average * (uint32_t)grayTone / NTSC_TONE_DIVISOR;
    return reverseIf(v, reverseGray);
}

inline uint32_t hdtvGray(uint32_t red, uint32_t green, uint32_t blue, int32_t grayTone, int32_t reverseGray)
{
    uint32_t sum = (HDTV_WEIGHT_RED * (red ^ HDTV_COMPONENT_FLIP) + HDTV_WEIGHT_GREEN * (green ^ HDTV_COMPONENT_FLIP) +
                    HDTV_WEIGHT_BLUE * (blue ^ HDTV_COMPONENT_FLIP)) / HDTV_SUM_DIVISOR;
    uint32_t v = sum * (uint32_t)(HDTV_TONE_FACTOR * grayTone) / HDTV_TONE_DIVISOR;
    return reverseIf(v, reverseGray);
}

inline uint32_t gray32Pixel(uint32_t v)
{
    return GRAY32_OPAQUE + v * GRAY32_REPLICATE;
}

inline uint16_t gray555Word(uint32_t v)
{
    return (uint16_t)((v >> GRAY555_SHIFT) * GRAY555_REPLICATE);
}

inline uint32_t red555(uint32_t word) { return (word >> GRAY555_RED_SHIFT) & GRAY555_COMPONENT_MASK; }
inline uint32_t green555(uint32_t word) { return (word >> GRAY555_GREEN_SHIFT) & GRAY555_COMPONENT_MASK; }
inline uint32_t blue555(uint32_t word) { return (word << GRAY555_BLUE_SHIFT) & GRAY555_COMPONENT_MASK; }
