// Internal: 128-bit blocks of the partial kernels (SSE2, SSSE3, and the AVX2 path's tails).
// Each forms the full kernel's gray values in registers, as the full blocks do, and moves
// the source toward them in 16-bit lanes before its one store; exact, see grayMixKernels.h.
#pragma once

#include "grayMixKernels.h"
#include "graySimd128.h"

#if GRAY_X86
constexpr int32_t REGISTERS_PER_BLOCK32 = 2;  // eight 32 bpp pixels in 128 bits, sixteen in 256

// Per-frame operands: the source's weight (as a 16-bit lane, or as pmaddubsw pairs weighing
// only the high byte), the gray's weight, and both as pmaddubsw byte pairs (source byte
// first); both weights <= 100 fit pmaddubsw's signed bytes.
GRAY_SSE2_INLINE __m128i keepVector128(int32_t intensity)
{
    return _mm_set1_epi16((short)(GRAY_INTENSITY_FULL - intensity));
}

GRAY_SSE2_INLINE __m128i takeVector128(int32_t intensity)
{
    return _mm_set1_epi16((short)intensity);
}

GRAY_SSE2_INLINE __m128i keepOddVector128(int32_t intensity)
{
    return _mm_set1_epi16((short)((GRAY_INTENSITY_FULL - intensity) << BITS_PER_COMPONENT));
}

GRAY_SSE2_INLINE __m128i mixWeights128(int32_t intensity)
{
    return _mm_set1_epi16((short)((intensity << BITS_PER_COMPONENT) | (GRAY_INTENSITY_FULL - intensity)));
}

// floor(x / 100) per 16-bit lane, x <= MIX_SUM_MAX.
GRAY_SSE2_INLINE __m128i divide100x8(__m128i x)
{
    return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16((short)DIV100_MULTIPLIER)), DIV100_POSTSHIFT);
}

// floor((x + 50) / 100) per 16-bit lane, x <= MIX_PRODUCT_MAX, the rounding folded into
// the last shift (see DIV64_ROUNDED_MULTIPLIER).
GRAY_SSSE3_INLINE __m128i divideRounded100x8(__m128i x)
{
    __m128i high = _mm_mulhi_epu16(x, _mm_set1_epi16((short)DIV100_MULTIPLIER));
    return _mm_mulhrs_epi16(high, _mm_set1_epi16(DIV64_ROUNDED_MULTIPLIER));
}

// Sixteen source bytes moved toward sixteen gray bytes, one pmaddubsw per eight bytes.
GRAY_SSSE3_INLINE __m128i mixBytesSsse3(__m128i from, __m128i to, __m128i weights)
{
    __m128i low = _mm_maddubs_epi16(_mm_unpacklo_epi8(from, to), weights);
    __m128i high = _mm_maddubs_epi16(_mm_unpackhi_epi8(from, to), weights);
    return _mm_packus_epi16(divideRounded100x8(low), divideRounded100x8(high));
}

// Eight 5-5-5 words moved field by field toward their gray v (16-bit lanes); the rounding
// rides on the gray's part, added once for the three fields. Bit 15 stays clear, as the
// full kernel leaves it.
GRAY_SSE2_INLINE __m128i mix555x8(__m128i words, __m128i v, __m128i keep, __m128i take)
{
    const __m128i field = _mm_set1_epi16(FIELD555_MAX);
    __m128i grayPart =
        _mm_add_epi16(_mm_mullo_epi16(_mm_srli_epi16(v, GRAY555_SHIFT), take), _mm_set1_epi16(MIX_ROUNDING));
    __m128i red = _mm_and_si128(_mm_srli_epi16(words, RED555_FIELD), field);
    __m128i green = _mm_and_si128(_mm_srli_epi16(words, GREEN555_FIELD), field);
    __m128i blue = _mm_and_si128(words, field);
    red = divide100x8(_mm_add_epi16(_mm_mullo_epi16(red, keep), grayPart));
    green = divide100x8(_mm_add_epi16(_mm_mullo_epi16(green, keep), grayPart));
    blue = divide100x8(_mm_add_epi16(_mm_mullo_epi16(blue, keep), grayPart));
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi16(red, RED555_FIELD), _mm_slli_epi16(green, GREEN555_FIELD)), blue);
}

// 32 bpp: each pixel's gray part g * i + 50 is formed once in the gray lanes (pixel order)
// and spread over the pixel's two 16-bit halves, to meet the source's even bytes (blue,
// red) and odd bytes (green, fourth), each weighed where it stands with no unpacking.
GRAY_SSE2_INLINE void spreadGrayPart32x8(__m128i v, __m128i take, __m128i spread[REGISTERS_PER_BLOCK32])
{
    __m128i grayPart = _mm_add_epi16(_mm_mullo_epi16(v, take), _mm_set1_epi16(MIX_ROUNDING));
    spread[0] = _mm_unpacklo_epi16(grayPart, grayPart);
    spread[1] = _mm_unpackhi_epi16(grayPart, grayPart);
}

// Mixed sums of the even and odd bytes -> four pixels, fourth byte 0xFF as the full kernel
// writes it. (y >> 6) << 8 is (y << 2) with its low byte cleared, y being below 2^14.
GRAY_SSE2_INLINE __m128i joinMixed32x4(__m128i even, __m128i odd)
{
    __m128i oddHigh = _mm_mulhi_epu16(odd, _mm_set1_epi16((short)DIV100_MULTIPLIER));
    oddHigh = _mm_and_si128(_mm_slli_epi16(oddHigh, BITS_PER_COMPONENT - DIV100_POSTSHIFT),
                            _mm_set1_epi16((short)SHORT_HIGH_BYTE));
    return _mm_or_si128(_mm_or_si128(divide100x8(even), oddHigh), _mm_set1_epi32((int)GRAY32_OPAQUE));
}

// Eight 5-5-5 words moved toward their gray v with one pmulhrsw per field (see fieldStep):
// the three fields' moves, each less i, are added to the words in place. Each field's result
// stays within 0..31, so no move carries into the next field. Bit 15 stays clear.
GRAY_SSSE3_INLINE __m128i mix555StepX8(__m128i words, __m128i v, __m128i step, __m128i fieldOnesTimesI)
{
    const __m128i field = _mm_set1_epi16(FIELD555_MAX);
    __m128i grayOffset = _mm_add_epi16(_mm_srli_epi16(v, GRAY555_SHIFT), _mm_set1_epi16(FIELD555_OFFSET));
    __m128i red = _mm_and_si128(_mm_srli_epi16(words, RED555_FIELD), field);
    __m128i green = _mm_and_si128(_mm_srli_epi16(words, GREEN555_FIELD), field);
    __m128i blue = _mm_and_si128(words, field);
    red = _mm_mulhrs_epi16(_mm_sub_epi16(grayOffset, red), step);
    green = _mm_mulhrs_epi16(_mm_sub_epi16(grayOffset, green), step);
    blue = _mm_mulhrs_epi16(_mm_sub_epi16(grayOffset, blue), step);
    __m128i moves = _mm_add_epi16(
        _mm_add_epi16(_mm_slli_epi16(red, RED555_FIELD), _mm_slli_epi16(green, GREEN555_FIELD)), blue);
    __m128i fields = _mm_and_si128(words, _mm_set1_epi16((short)WORD555_FIELDS));
    return _mm_sub_epi16(_mm_add_epi16(fields, moves), fieldOnesTimesI);
}

// The per-frame operands of mix555StepX8.
GRAY_SSE2_INLINE __m128i fieldStepVector128(int32_t intensity)
{
    return _mm_set1_epi16((short)fieldStep(intensity));
}

GRAY_SSE2_INLINE __m128i fieldOnesTimesIVector128(int32_t intensity)
{
    return _mm_set1_epi16((short)(uint16_t)(WORD555_FIELD_ONES * (uint32_t)intensity));
}

template <GrayWeightingFamily family>
GRAY_SSE2_INLINE void mix32Sse2(uint8_t *p, __m128i toneVec, __m128i revMask, __m128i keep, __m128i take)
{
    __m128i px[REGISTERS_PER_BLOCK32] = {_mm_loadu_si128((const __m128i *)p),
                                         _mm_loadu_si128((const __m128i *)(p + BYTES_PER_XMM))};
    __m128i spread[REGISTERS_PER_BLOCK32];
    __m128i sums = _mm_packs_epi32(sums32Sse2<family>(px[0]), sums32Sse2<family>(px[1]));
    spreadGrayPart32x8(grayFromSums128<family>(sums, toneVec, revMask), take, spread);
    for (int32_t i = 0; i < REGISTERS_PER_BLOCK32; ++i) {
        __m128i even = _mm_mullo_epi16(_mm_and_si128(px[i], _mm_set1_epi16(SHORT_LOW_BYTE)), keep);
        __m128i odd = _mm_mullo_epi16(_mm_srli_epi16(px[i], BITS_PER_COMPONENT), keep);
        _mm_storeu_si128((__m128i *)(p + i * BYTES_PER_XMM),
                         joinMixed32x4(_mm_add_epi16(even, spread[i]), _mm_add_epi16(odd, spread[i])));
    }
}

// keepEven weighs the low byte of each 16-bit lane, keepOdd the high one (pmaddubsw pairs).
template <GrayWeightingFamily family>
GRAY_SSSE3_INLINE void mix32Ssse3(uint8_t *p, __m128i toneVec, __m128i revMask, __m128i take, __m128i keepEven,
                                  __m128i keepOdd)
{
    __m128i px[REGISTERS_PER_BLOCK32] = {_mm_loadu_si128((const __m128i *)p),
                                         _mm_loadu_si128((const __m128i *)(p + BYTES_PER_XMM))};
    __m128i spread[REGISTERS_PER_BLOCK32];
    __m128i sums = _mm_packs_epi32(sums32Ssse3<family>(px[0]), sums32Ssse3<family>(px[1]));
    spreadGrayPart32x8(grayFromSums128<family>(sums, toneVec, revMask), take, spread);
    for (int32_t i = 0; i < REGISTERS_PER_BLOCK32; ++i) {
        __m128i even = _mm_add_epi16(_mm_maddubs_epi16(px[i], keepEven), spread[i]);
        __m128i odd = _mm_add_epi16(_mm_maddubs_epi16(px[i], keepOdd), spread[i]);
        _mm_storeu_si128((__m128i *)(p + i * BYTES_PER_XMM), joinMixed32x4(even, odd));
    }
}

template <GrayWeightingFamily family>
GRAY_SSSE3_INLINE void mix24Ssse3(uint8_t *p, __m128i toneVec, __m128i revMaskBytes, __m128i weights)
{
    __m128i gray[REGISTERS_PER_BLOCK24];
    gray24Ssse3<family>(p, toneVec, revMaskBytes, gray);
    for (int32_t i = 0; i < REGISTERS_PER_BLOCK24; ++i) {
        __m128i *q = (__m128i *)(p + i * BYTES_PER_XMM);
        _mm_storeu_si128(q, mixBytesSsse3(_mm_loadu_si128(q), gray[i], weights));
    }
}

template <GrayWeightingFamily family>
GRAY_SSE2_INLINE void mix16Sse2(uint8_t *p, __m128i toneVec, __m128i revMask, __m128i keep, __m128i take)
{
    __m128i words = _mm_loadu_si128((const __m128i *)p);
    __m128i v = grayFromSums128<family>(sums555x8<family>(words), toneVec, revMask);
    _mm_storeu_si128((__m128i *)p, mix555x8(words, v, keep, take));
}

template <GrayWeightingFamily family>
GRAY_SSSE3_INLINE void mix16Ssse3(uint8_t *p, __m128i toneVec, __m128i revMask, __m128i step,
                                  __m128i fieldOnesTimesI)
{
    __m128i words = _mm_loadu_si128((const __m128i *)p);
    __m128i v = grayFromSums128<family>(sums555x8Ssse3<family>(words), toneVec, revMask);
    _mm_storeu_si128((__m128i *)p, mix555StepX8(words, v, step, fieldOnesTimesI));
}
#endif
