// Internal: 256-bit building blocks of the AVX2 path, shared with its partial (intensity)
// kernels: the 24 and 16 bpp blocks form their gray values in registers apart from the
// store, so the partial kernels can mix the same registers with the source first.
#pragma once

#include "graySimd128.h"

#if GRAY_X86
#include <immintrin.h>

#define GRAY_AVX2_INLINE static inline __attribute__((target("avx2"), always_inline))
#define GRAY_AVX2_ENTRY GRAY_ALIGN_STACK __attribute__((target("avx2"))) static

constexpr int32_t PIXELS_PER_YMM_STEP = 16;
constexpr int32_t BYTES_PER_YMM = 32;
constexpr int32_t PIXELS_PER_BLOCK24_AVX2 = 32;
constexpr int32_t BYTES_PER_BLOCK24_AVX2 = PIXELS_PER_BLOCK24_AVX2 * BYTES_PER_PIXEL24;

template <GrayWeightingFamily family>
GRAY_AVX2_INLINE __m256i toneVector256(int32_t grayTone)
{
    return _mm256_broadcastsi128_si256(toneVector128<family>(grayTone));
}

GRAY_AVX2_INLINE __m256i reverseMask256(int32_t reverseGray)
{
    return _mm256_broadcastsi128_si256(reverseMask128(reverseGray));
}

GRAY_AVX2_INLINE __m256i reverseMaskBytes256(int32_t reverseGray)
{
    return _mm256_broadcastsi128_si256(reverseMaskBytes128(reverseGray));
}

template <GrayWeightingFamily family>
GRAY_AVX2_INLINE __m256i grayFromSums256(__m256i sums, __m256i toneVec, __m256i revMask)
{
    __m256i v;
    if (family == GRAY_FAMILY_NTSC) {
        __m256i average = _mm256_mulhi_epu16(sums, _mm256_set1_epi16((short)DIV7_MULTIPLIER));
        __m256i scaled = _mm256_mullo_epi16(average, toneVec);
        v = _mm256_mulhi_epu16(scaled, _mm256_set1_epi16((short)DIV10_MULTIPLIER));
    } else {
        __m256i half = _mm256_srli_epi16(sums, 1);
        __m256i quarterToned = _mm256_mulhi_epu16(_mm256_slli_epi16(half, HDTV_HALF_PRESHIFT), toneVec);
        v = _mm256_srli_epi16(_mm256_mulhi_epu16(quarterToned, _mm256_set1_epi16((short)DIV125_MULTIPLIER)),
                              DIV125_POSTSHIFT);
    }
    return _mm256_xor_si256(v, revMask);
}

// Eight 4-byte pixels (blue, green, red, any) -> eight 32-bit weighted sums.
template <GrayWeightingFamily family>
GRAY_AVX2_INLINE __m256i sums32Avx2(__m256i px)
{
    const bool ntsc = family == GRAY_FAMILY_NTSC;
    if (!ntsc)
        px = _mm256_xor_si256(px, _mm256_set1_epi32(DWORD_FLIP_BGR));
    __m256i weights = _mm256_set1_epi32(ntsc ? weightQuad(NTSC_WEIGHT_BLUE, NTSC_WEIGHT_GREEN, NTSC_WEIGHT_RED)
                                             : weightQuad(HDTV_WEIGHT_BLUE, HDTV_WEIGHT_GREEN, HDTV_WEIGHT_RED));
    return _mm256_madd_epi16(_mm256_maddubs_epi16(px, weights), _mm256_set1_epi16(1));
}

// packs works per 128-bit lane, so sums of pixels 0-7 and 8-15 come out as lanes
// [0-3, 8-11 | 4-7, 12-15]; unpacklo/hi restore pixel order on the way out.
template <GrayWeightingFamily family>
GRAY_AVX2_INLINE void block32Avx2(uint8_t *p, __m256i toneVec, __m256i revMask)
{
    __m256i low = sums32Avx2<family>(_mm256_loadu_si256((const __m256i *)p));
    __m256i high = sums32Avx2<family>(_mm256_loadu_si256((const __m256i *)(p + 32)));
    __m256i v = grayFromSums256<family>(_mm256_packs_epi32(low, high), toneVec, revMask);
    __m256i blueGreen = _mm256_or_si256(v, _mm256_slli_epi16(v, BITS_PER_COMPONENT));
    __m256i redFourth = _mm256_or_si256(v, _mm256_set1_epi16((short)SHORT_HIGH_BYTE));
    _mm256_storeu_si256((__m256i *)p, _mm256_unpacklo_epi16(blueGreen, redFourth));
    _mm256_storeu_si256((__m256i *)(p + 32), _mm256_unpackhi_epi16(blueGreen, redFourth));
}

// Sixteen 5-5-5 words -> their gray values in 16-bit lanes.
template <GrayWeightingFamily family>
GRAY_AVX2_INLINE __m256i gray555Avx2(__m256i words, __m256i toneVec, __m256i revMask)
{
    // Red and blue weighed in their fields by one pmaddubsw, as in sums555x8Ssse3.
    __m256i redBlue = _mm256_and_si256(words, _mm256_set1_epi16(FIELD555_RED_BLUE));
    __m256i green = _mm256_and_si256(words, _mm256_set1_epi16(FIELD555_GREEN));
    __m256i sums;
    if (family == GRAY_FAMILY_NTSC) {
        __m256i weighted =
            _mm256_maddubs_epi16(redBlue, _mm256_set1_epi16(weightBytes555(NTSC_WEIGHT_BLUE, NTSC_WEIGHT_RED)));
        sums = _mm256_add_epi16(weighted, green);
    } else {
        __m256i weighted =
            _mm256_maddubs_epi16(redBlue, _mm256_set1_epi16(weightBytes555(HDTV_WEIGHT_BLUE, HDTV_WEIGHT_RED)));
        green = _mm256_mullo_epi16(_mm256_srli_epi16(green, HDTV_GREEN_IN_PLACE_SHIFT),
                                   _mm256_set1_epi16(HDTV_GREEN_HALF_WEIGHT));
        sums = _mm256_add_epi16(_mm256_add_epi16(weighted, green), _mm256_set1_epi16(HDTV_FLIP_SUM));
    }
    return grayFromSums256<family>(sums, toneVec, revMask);
}

template <GrayWeightingFamily family>
GRAY_AVX2_INLINE void block16Avx2(uint8_t *p, __m256i toneVec, __m256i revMask)
{
    __m256i v = gray555Avx2<family>(_mm256_loadu_si256((const __m256i *)p), toneVec, revMask);
    __m256i out = _mm256_mullo_epi16(_mm256_srli_epi16(v, GRAY555_SHIFT), _mm256_set1_epi16((short)GRAY555_REPLICATE));
    _mm256_storeu_si256((__m256i *)p, out);
}

// Thirty-two 24 bpp pixels (96 bytes). Each register takes 8 pixels: its low lane loads
// from the pixel start and its high lane 8 bytes further, so the fourth pixel pair starts
// at byte 4 of that lane and no load reaches past the 96 bytes.
template <GrayWeightingFamily family>
GRAY_AVX2_INLINE void gray24Avx2(const uint8_t *p, __m256i toneVec, __m256i revMaskBytes,
                                  __m256i out[REGISTERS_PER_BLOCK24])
{
    const __m256i spread = _mm256_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1,
                                            4, 5, 6, -1, 7, 8, 9, -1, 10, 11, 12, -1, 13, 14, 15, -1);
    constexpr int32_t BYTES_PER_8_PIXELS = 8 * BYTES_PER_PIXEL24;
    constexpr int32_t HIGH_LANE_OFFSET = 8;
    __m256i sums[4];
    for (int32_t i = 0; i < 4; ++i) {
        const uint8_t *q = p + i * BYTES_PER_8_PIXELS;
        __m256i px = _mm256_loadu2_m128i((const __m128i *)(q + HIGH_LANE_OFFSET), (const __m128i *)q);
        sums[i] = sums32Avx2<family>(_mm256_shuffle_epi8(px, spread));
    }
    const __m256i noReverse = _mm256_setzero_si256();
    __m256i v0 = grayFromSums256<family>(_mm256_packs_epi32(sums[0], sums[1]), toneVec, noReverse);
    __m256i v1 = grayFromSums256<family>(_mm256_packs_epi32(sums[2], sums[3]), toneVec, noReverse);
    // Bytes now hold, by 4-pixel group (dword): [0, 2, 4, 6 | 1, 3, 5, 7].
    __m256i bytes = _mm256_xor_si256(_mm256_packus_epi16(v0, v1), revMaskBytes);
    // Each output lane of 16 bytes needs the gray values of about 6 pixels: gather the two
    // groups holding them into its lane, then triplicate with an in-lane pshufb.
    const __m256i groups0 = _mm256_setr_epi32(0, 4, 0, 0, 4, 1, 0, 0);  // pixels 0-7 | 4-11
    const __m256i groups1 = _mm256_setr_epi32(1, 5, 0, 0, 2, 6, 0, 0);  // pixels 8-15 | 16-23
    const __m256i groups2 = _mm256_setr_epi32(6, 3, 0, 0, 3, 7, 0, 0);  // pixels 20-27 | 24-31
    const __m256i triple0 = _mm256_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5,
                                             1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6);
    const __m256i triple1 = _mm256_setr_epi8(2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 7,
                                             0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5);
    const __m256i triple2 = _mm256_setr_epi8(1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6,
                                             2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 7);
    out[0] = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(bytes, groups0), triple0);
    out[1] = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(bytes, groups1), triple1);
    out[2] = _mm256_shuffle_epi8(_mm256_permutevar8x32_epi32(bytes, groups2), triple2);
}

template <GrayWeightingFamily family>
GRAY_AVX2_INLINE void block24Avx2(uint8_t *p, __m256i toneVec, __m256i revMaskBytes)
{
    __m256i out[REGISTERS_PER_BLOCK24];
    gray24Avx2<family>(p, toneVec, revMaskBytes, out);
    for (int32_t i = 0; i < REGISTERS_PER_BLOCK24; ++i)
        _mm256_storeu_si256((__m256i *)(p + i * BYTES_PER_YMM), out[i]);
}
#endif
