// Internal: 128-bit building blocks of the SSE2 and SSSE3 paths (also inlined into the AVX2
// path for its tails). Gray values live in 16-bit lanes; each helper is exact for every
// 8-bit input, see the limits beside the constants in grayPixel.h.
#pragma once

#include "grayKernels.h"

#if GRAY_X86
#include <emmintrin.h>
#include <tmmintrin.h>

#define GRAY_SSE2_INLINE static inline __attribute__((target("sse2"), always_inline))
#define GRAY_SSSE3_INLINE static inline __attribute__((target("ssse3"), always_inline))

constexpr int32_t BITS_PER_COMPONENT = 8;
constexpr int32_t SHORT_HIGH_BYTE = 0xFF00;
constexpr int32_t SHORT_LOW_BYTE = 0x00FF;
constexpr int32_t DWORD_BLUE_RED_MASK = 0x00FF00FF;
constexpr int32_t DWORD_FLIP_BGR = HDTV_COMPONENT_FLIP * (int32_t)GRAY32_REPLICATE;
constexpr int32_t BYTES_PER_PIXEL32 = 4;
constexpr int32_t BYTES_PER_PIXEL24 = 3;
constexpr int32_t BYTES_PER_PIXEL16 = 2;
// The 128-bit blocks take eight 32 bpp pixels (two registers) or eight 16 bpp pixels.
constexpr int32_t PIXELS_PER_BLOCK = 8;
constexpr int32_t BYTES_PER_XMM = 16;
// A 24 bpp block spans three registers in both widths.
constexpr int32_t REGISTERS_PER_BLOCK24 = 3;

// Two 16-bit weights side by side, the pair pmaddwd multiplies (low, high) lanes by.
constexpr int32_t weightPair(int32_t low, int32_t high)
{
    return low | (high << 16);
}

// Four byte weights (blue, green, red, fourth byte) for pmaddubsw.
constexpr int32_t weightQuad(int32_t blue, int32_t green, int32_t red)
{
    return blue | (green << 8) | (red << 16);
}

// Per-frame tone operand: tone for NTSC; tone << 12 for HDTV (see grayPixel.h).
template <GrayWeightingFamily family>
GRAY_SSE2_INLINE __m128i toneVector128(int32_t grayTone)
{
    if (family == GRAY_FAMILY_NTSC)
        return _mm_set1_epi16((short)grayTone);
    return _mm_set1_epi16((short)(grayTone << HDTV_TONE_PRESHIFT));
}

GRAY_SSE2_INLINE __m128i reverseMask128(int32_t reverseGray)
{
    return _mm_set1_epi16(reverseGray == GRAY_REVERSE_ON ? (short)GRAY_VALUE_MAX : 0);
}

// Weighted sums (NTSC S or HDTV 22R'+66G'+11B', before halving) in 16-bit lanes -> gray v,
// reversed by XOR with 0xFF when asked (v <= 255, so 255 - v == v ^ 255).
template <GrayWeightingFamily family>
GRAY_SSE2_INLINE __m128i grayFromSums128(__m128i sums, __m128i toneVec, __m128i revMask)
{
    __m128i v;
    if (family == GRAY_FAMILY_NTSC) {
        __m128i average = _mm_mulhi_epu16(sums, _mm_set1_epi16((short)DIV7_MULTIPLIER));
        __m128i scaled = _mm_mullo_epi16(average, toneVec);
        v = _mm_mulhi_epu16(scaled, _mm_set1_epi16((short)DIV10_MULTIPLIER));
    } else {
        __m128i half = _mm_srli_epi16(sums, 1);
        __m128i quarterToned = _mm_mulhi_epu16(_mm_slli_epi16(half, HDTV_HALF_PRESHIFT), toneVec);
        v = _mm_srli_epi16(_mm_mulhi_epu16(quarterToned, _mm_set1_epi16((short)DIV125_MULTIPLIER)), DIV125_POSTSHIFT);
    }
    return _mm_xor_si128(v, revMask);
}

// Four 32 bpp pixels -> four 32-bit weighted sums, with SSE2 only.
template <GrayWeightingFamily family>
GRAY_SSE2_INLINE __m128i sums32Sse2(__m128i px)
{
    const bool ntsc = family == GRAY_FAMILY_NTSC;
    if (!ntsc)
        px = _mm_xor_si128(px, _mm_set1_epi32(DWORD_FLIP_BGR));
    __m128i blueRed = _mm_and_si128(px, _mm_set1_epi32(DWORD_BLUE_RED_MASK));
    __m128i greenFourth = _mm_srli_epi16(px, BITS_PER_COMPONENT);
    __m128i weightsBlueRed = _mm_set1_epi32(ntsc ? weightPair(NTSC_WEIGHT_BLUE, NTSC_WEIGHT_RED)
                                                 : weightPair(HDTV_WEIGHT_BLUE, HDTV_WEIGHT_RED));
    __m128i weightsGreen = _mm_set1_epi32(ntsc ? weightPair(NTSC_WEIGHT_GREEN, 0) : weightPair(HDTV_WEIGHT_GREEN, 0));
    return _mm_add_epi32(_mm_madd_epi16(blueRed, weightsBlueRed), _mm_madd_epi16(greenFourth, weightsGreen));
}

// Four 32 bpp pixels (or 24 bpp pixels spread to 4 bytes) -> four 32-bit weighted sums.
template <GrayWeightingFamily family>
GRAY_SSSE3_INLINE __m128i sums32Ssse3(__m128i px)
{
    const bool ntsc = family == GRAY_FAMILY_NTSC;
    if (!ntsc)
        px = _mm_xor_si128(px, _mm_set1_epi32(DWORD_FLIP_BGR));
    __m128i weights = _mm_set1_epi32(ntsc ? weightQuad(NTSC_WEIGHT_BLUE, NTSC_WEIGHT_GREEN, NTSC_WEIGHT_RED)
                                          : weightQuad(HDTV_WEIGHT_BLUE, HDTV_WEIGHT_GREEN, HDTV_WEIGHT_RED));
    __m128i pairs = _mm_maddubs_epi16(px, weights);
    return _mm_madd_epi16(pairs, _mm_set1_epi16(1));
}

// Eight gray values (16-bit lanes, pixel order) -> eight 32 bpp pixels v, v, v, 0xFF.
GRAY_SSE2_INLINE void storeGray32x8(uint8_t *p, __m128i v)
{
    __m128i blueGreen = _mm_or_si128(v, _mm_slli_epi16(v, BITS_PER_COMPONENT));
    __m128i redFourth = _mm_or_si128(v, _mm_set1_epi16((short)SHORT_HIGH_BYTE));
    _mm_storeu_si128((__m128i *)p, _mm_unpacklo_epi16(blueGreen, redFourth));
    _mm_storeu_si128((__m128i *)(p + 16), _mm_unpackhi_epi16(blueGreen, redFourth));
}

// Eight 5-5-5 words -> weighted sums of their widened components.
template <GrayWeightingFamily family>
GRAY_SSE2_INLINE __m128i sums555x8(__m128i words)
{
    const __m128i componentMask = _mm_set1_epi16((short)GRAY555_COMPONENT_MASK);
    __m128i red = _mm_and_si128(_mm_srli_epi16(words, GRAY555_RED_SHIFT), componentMask);
    __m128i green = _mm_and_si128(_mm_srli_epi16(words, GRAY555_GREEN_SHIFT), componentMask);
    __m128i blue = _mm_and_si128(_mm_slli_epi16(words, GRAY555_BLUE_SHIFT), componentMask);
    if (family == GRAY_FAMILY_NTSC) {
        red = _mm_mullo_epi16(red, _mm_set1_epi16(NTSC_WEIGHT_RED));
        green = _mm_mullo_epi16(green, _mm_set1_epi16(NTSC_WEIGHT_GREEN));
        blue = _mm_mullo_epi16(blue, _mm_set1_epi16(NTSC_WEIGHT_BLUE));
    } else {
        const __m128i flip = _mm_set1_epi16(HDTV_COMPONENT_FLIP);
        red = _mm_mullo_epi16(_mm_xor_si128(red, flip), _mm_set1_epi16(HDTV_WEIGHT_RED));
        green = _mm_mullo_epi16(_mm_xor_si128(green, flip), _mm_set1_epi16(HDTV_WEIGHT_GREEN));
        blue = _mm_mullo_epi16(_mm_xor_si128(blue, flip), _mm_set1_epi16(HDTV_WEIGHT_BLUE));
    }
    return _mm_add_epi16(_mm_add_epi16(red, green), blue);
}

// The same sums with fewer steps (SSSE3). Red and blue stay in their fields and one
// pmaddubsw weighs both: blue's low byte holds c8 / 8 and red's high byte, after masking,
// c8 / 2. Green is weighed in place. A widened component has bit 1 clear, so the HDTV
// flip (c8 XOR 2) adds 2 to each component: 2 * (22 + 66 + 11) to the sum.
constexpr int32_t FIELD555_RED_BLUE = 0x7C1F;
constexpr int32_t FIELD555_GREEN = 0x03E0;            // green in place is 4 * green8
constexpr int32_t FIELD555_BLUE_SCALE = 8;            // blue8 = 8 * blue byte
constexpr int32_t FIELD555_RED_SCALE = 2;             // red8 = 2 * masked red byte
constexpr int32_t HDTV_GREEN_IN_PLACE_SHIFT = 1;      // 4 * green8 >> 1 = 2 * green8
constexpr int32_t HDTV_GREEN_HALF_WEIGHT = HDTV_WEIGHT_GREEN / 2;
constexpr int32_t HDTV_FLIP_SUM = HDTV_COMPONENT_FLIP * (HDTV_WEIGHT_RED + HDTV_WEIGHT_GREEN + HDTV_WEIGHT_BLUE);

constexpr int32_t weightBytes555(int32_t blue, int32_t red)
{
    return (blue * FIELD555_BLUE_SCALE) | ((red * FIELD555_RED_SCALE) << 8);
}

template <GrayWeightingFamily family>
GRAY_SSSE3_INLINE __m128i sums555x8Ssse3(__m128i words)
{
    __m128i redBlue = _mm_and_si128(words, _mm_set1_epi16(FIELD555_RED_BLUE));
    __m128i green = _mm_and_si128(words, _mm_set1_epi16(FIELD555_GREEN));
    if (family == GRAY_FAMILY_NTSC) {
        static_assert(NTSC_WEIGHT_GREEN == 4, "green in place carries the NTSC weight");
        __m128i weighted = _mm_maddubs_epi16(redBlue, _mm_set1_epi16(weightBytes555(NTSC_WEIGHT_BLUE, NTSC_WEIGHT_RED)));
        return _mm_add_epi16(weighted, green);
    }
    __m128i weighted = _mm_maddubs_epi16(redBlue, _mm_set1_epi16(weightBytes555(HDTV_WEIGHT_BLUE, HDTV_WEIGHT_RED)));
    green = _mm_mullo_epi16(_mm_srli_epi16(green, HDTV_GREEN_IN_PLACE_SHIFT), _mm_set1_epi16(HDTV_GREEN_HALF_WEIGHT));
    return _mm_add_epi16(_mm_add_epi16(weighted, green), _mm_set1_epi16(HDTV_FLIP_SUM));
}

GRAY_SSE2_INLINE __m128i gray555x8(__m128i v)
{
    return _mm_mullo_epi16(_mm_srli_epi16(v, GRAY555_SHIFT), _mm_set1_epi16((short)GRAY555_REPLICATE));
}

// Eight 32 bpp pixels, SSE2.
template <GrayWeightingFamily family>
GRAY_SSE2_INLINE void block32Sse2(uint8_t *p, __m128i toneVec, __m128i revMask)
{
    __m128i low = sums32Sse2<family>(_mm_loadu_si128((const __m128i *)p));
    __m128i high = sums32Sse2<family>(_mm_loadu_si128((const __m128i *)(p + 16)));
    storeGray32x8(p, grayFromSums128<family>(_mm_packs_epi32(low, high), toneVec, revMask));
}

// Eight 32 bpp pixels, SSSE3.
template <GrayWeightingFamily family>
GRAY_SSSE3_INLINE void block32Ssse3(uint8_t *p, __m128i toneVec, __m128i revMask)
{
    __m128i low = sums32Ssse3<family>(_mm_loadu_si128((const __m128i *)p));
    __m128i high = sums32Ssse3<family>(_mm_loadu_si128((const __m128i *)(p + 16)));
    storeGray32x8(p, grayFromSums128<family>(_mm_packs_epi32(low, high), toneVec, revMask));
}

// Eight 16 bpp pixels.
template <GrayWeightingFamily family>
GRAY_SSE2_INLINE void block16Sse2(uint8_t *p, __m128i toneVec, __m128i revMask)
{
    __m128i words = _mm_loadu_si128((const __m128i *)p);
    __m128i v = grayFromSums128<family>(sums555x8<family>(words), toneVec, revMask);
    _mm_storeu_si128((__m128i *)p, gray555x8(v));
}

template <GrayWeightingFamily family>
GRAY_SSSE3_INLINE void block16Ssse3(uint8_t *p, __m128i toneVec, __m128i revMask)
{
    __m128i words = _mm_loadu_si128((const __m128i *)p);
    __m128i v = grayFromSums128<family>(sums555x8Ssse3<family>(words), toneVec, revMask);
    _mm_storeu_si128((__m128i *)p, gray555x8(v));
}

// Sixteen 24 bpp pixels (48 bytes): spread to 4-byte pixels, weigh, and write v three times.
constexpr int32_t PIXELS_PER_BLOCK24 = 16;
constexpr int32_t BYTES_PER_BLOCK24 = PIXELS_PER_BLOCK24 * BYTES_PER_PIXEL24;
// Where pixels 4 and 8 start inside the 32-byte windows palignr looks at.
constexpr int32_t PIXEL4_IN_FIRST_PAIR = 4 * BYTES_PER_PIXEL24;        // in bytes 0..31
constexpr int32_t PIXEL8_IN_SECOND_PAIR = 8 * BYTES_PER_PIXEL24 - 16;  // in bytes 16..47

template <GrayWeightingFamily family>
GRAY_SSSE3_INLINE void gray24Ssse3(const uint8_t *p, __m128i toneVec, __m128i revMaskBytes,
                                   __m128i out[REGISTERS_PER_BLOCK24])
{
    // pshufb index -1 (top bit set) writes a zero byte.
    const __m128i spread = _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1);
    const __m128i spreadLast = _mm_setr_epi8(4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
    __m128i in0 = _mm_loadu_si128((const __m128i *)p);
    __m128i in1 = _mm_loadu_si128((const __m128i *)(p + 16));
    __m128i in2 = _mm_loadu_si128((const __m128i *)(p + 32));
    __m128i s0 = sums32Ssse3<family>(_mm_shuffle_epi8(in0, spread));
    __m128i s1 = sums32Ssse3<family>(_mm_shuffle_epi8(_mm_alignr_epi8(in1, in0, PIXEL4_IN_FIRST_PAIR), spread));
    __m128i s2 = sums32Ssse3<family>(_mm_shuffle_epi8(_mm_alignr_epi8(in2, in1, PIXEL8_IN_SECOND_PAIR), spread));
    __m128i s3 = sums32Ssse3<family>(_mm_shuffle_epi8(in2, spreadLast));
    const __m128i noReverse = _mm_setzero_si128();
    __m128i v0 = grayFromSums128<family>(_mm_packs_epi32(s0, s1), toneVec, noReverse);
    __m128i v1 = grayFromSums128<family>(_mm_packs_epi32(s2, s3), toneVec, noReverse);
    __m128i bytes = _mm_xor_si128(_mm_packus_epi16(v0, v1), revMaskBytes);
    const __m128i triple0 = _mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5);
    const __m128i triple1 = _mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10);
    const __m128i triple2 = _mm_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15);
    out[0] = _mm_shuffle_epi8(bytes, triple0);
    out[1] = _mm_shuffle_epi8(bytes, triple1);
    out[2] = _mm_shuffle_epi8(bytes, triple2);
}

template <GrayWeightingFamily family>
GRAY_SSSE3_INLINE void block24Ssse3(uint8_t *p, __m128i toneVec, __m128i revMaskBytes)
{
    __m128i out[REGISTERS_PER_BLOCK24];
    gray24Ssse3<family>(p, toneVec, revMaskBytes, out);
    for (int32_t i = 0; i < REGISTERS_PER_BLOCK24; ++i)
        _mm_storeu_si128((__m128i *)(p + i * BYTES_PER_XMM), out[i]);
}

GRAY_SSE2_INLINE __m128i reverseMaskBytes128(int32_t reverseGray)
{
    return _mm_set1_epi8(reverseGray == GRAY_REVERSE_ON ? (char)GRAY_VALUE_MAX : 0);
}
#endif
