// Internal: 128-bit blocks of the partial kernels (SSE2, SSSE3, and the AVX2 path's tails).
// Each forms the full kernel's gray pixels in registers, as the full blocks do, and mixes
// them with the source bytes in 16-bit lanes before the one store; exact, see grayMixKernels.h.
#pragma once

#include "grayMixKernels.h"
#include "graySimd128.h"

#if GRAY_X86
// Per-frame operands: the source's weight, the gray's weight, and both as pmaddubsw byte
// pairs (source byte first; both weights <= 100 fit its signed bytes).
GRAY_SSE2_INLINE __m128i keepVector128(int32_t intensity)
{
    return _mm_set1_epi16((short)(GRAY_INTENSITY_FULL - intensity));
}

GRAY_SSE2_INLINE __m128i takeVector128(int32_t intensity)
{
    return _mm_set1_epi16((short)intensity);
}

GRAY_SSE2_INLINE __m128i mixWeights128(int32_t intensity)
{
    return _mm_set1_epi16((short)((intensity << BITS_PER_COMPONENT) | (GRAY_INTENSITY_FULL - intensity)));
}

// floor((x + 50) / 100) per 16-bit lane, x <= MIX_PRODUCT_MAX.
GRAY_SSE2_INLINE __m128i divideRounded100Sse2(__m128i x)
{
    __m128i sum = _mm_add_epi16(x, _mm_set1_epi16(MIX_ROUNDING));
    return _mm_srli_epi16(_mm_mulhi_epu16(sum, _mm_set1_epi16((short)DIV100_MULTIPLIER)), DIV100_POSTSHIFT);
}

GRAY_SSSE3_INLINE __m128i divideRounded100Ssse3(__m128i x)
{
    __m128i high = _mm_mulhi_epu16(x, _mm_set1_epi16((short)DIV100_MULTIPLIER));
    return _mm_mulhrs_epi16(high, _mm_set1_epi16(DIV64_ROUNDED_MULTIPLIER));
}

// Sixteen source bytes moved toward sixteen gray bytes.
GRAY_SSE2_INLINE __m128i mixBytesSse2(__m128i from, __m128i to, __m128i keep, __m128i take)
{
    const __m128i zero = _mm_setzero_si128();
    __m128i low = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(from, zero), keep),
                                _mm_mullo_epi16(_mm_unpacklo_epi8(to, zero), take));
    __m128i high = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(from, zero), keep),
                                 _mm_mullo_epi16(_mm_unpackhi_epi8(to, zero), take));
    return _mm_packus_epi16(divideRounded100Sse2(low), divideRounded100Sse2(high));
}

// The same with one pmaddubsw per eight bytes.
GRAY_SSSE3_INLINE __m128i mixBytesSsse3(__m128i from, __m128i to, __m128i weights)
{
    __m128i low = _mm_maddubs_epi16(_mm_unpacklo_epi8(from, to), weights);
    __m128i high = _mm_maddubs_epi16(_mm_unpackhi_epi8(from, to), weights);
    return _mm_packus_epi16(divideRounded100Ssse3(low), divideRounded100Ssse3(high));
}

// Eight 5-5-5 words and their gray v (16-bit lanes) -> c * (100 - i) + q * i per field,
// red, green, blue, q being the gray word's field.
GRAY_SSE2_INLINE void products555x8(__m128i words, __m128i v, __m128i keep, __m128i take, __m128i out[3])
{
    const __m128i field = _mm_set1_epi16(FIELD555_MAX);
    __m128i grayPart = _mm_mullo_epi16(_mm_srli_epi16(v, GRAY555_SHIFT), take);
    out[0] = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(_mm_srli_epi16(words, RED555_FIELD), field), keep), grayPart);
    out[1] = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(_mm_srli_epi16(words, GREEN555_FIELD), field), keep), grayPart);
    out[2] = _mm_add_epi16(_mm_mullo_epi16(_mm_and_si128(words, field), keep), grayPart);
}

// Mixed fields back into words; bit 15 stays clear, as the full kernel leaves it.
GRAY_SSE2_INLINE __m128i join555x8(__m128i red, __m128i green, __m128i blue)
{
    return _mm_or_si128(_mm_or_si128(_mm_slli_epi16(red, RED555_FIELD), _mm_slli_epi16(green, GREEN555_FIELD)), blue);
}

GRAY_SSE2_INLINE __m128i mix555x8Sse2(__m128i words, __m128i v, __m128i keep, __m128i take)
{
    __m128i products[3];
    products555x8(words, v, keep, take, products);
    return join555x8(divideRounded100Sse2(products[0]), divideRounded100Sse2(products[1]),
                     divideRounded100Sse2(products[2]));
}

GRAY_SSSE3_INLINE __m128i mix555x8Ssse3(__m128i words, __m128i v, __m128i keep, __m128i take)
{
    __m128i products[3];
    products555x8(words, v, keep, take, products);
    return join555x8(divideRounded100Ssse3(products[0]), divideRounded100Ssse3(products[1]),
                     divideRounded100Ssse3(products[2]));
}

GRAY_SSE2_INLINE __m128i fourthBytes128()
{
    return _mm_set1_epi32((int)GRAY32_OPAQUE);
}

template <GrayWeightingFamily family>
GRAY_SSE2_INLINE void mix32Sse2(uint8_t *p, __m128i toneVec, __m128i revMask, __m128i keep, __m128i take)
{
    __m128i in0 = _mm_loadu_si128((const __m128i *)p);
    __m128i in1 = _mm_loadu_si128((const __m128i *)(p + BYTES_PER_XMM));
    __m128i gray[2];
    gray32x8(grayFromSums128<family>(_mm_packs_epi32(sums32Sse2<family>(in0), sums32Sse2<family>(in1)), toneVec,
                                     revMask),
             gray);
    _mm_storeu_si128((__m128i *)p, _mm_or_si128(mixBytesSse2(in0, gray[0], keep, take), fourthBytes128()));
    _mm_storeu_si128((__m128i *)(p + BYTES_PER_XMM),
                     _mm_or_si128(mixBytesSse2(in1, gray[1], keep, take), fourthBytes128()));
}

template <GrayWeightingFamily family>
GRAY_SSSE3_INLINE void mix32Ssse3(uint8_t *p, __m128i toneVec, __m128i revMask, __m128i weights)
{
    __m128i in0 = _mm_loadu_si128((const __m128i *)p);
    __m128i in1 = _mm_loadu_si128((const __m128i *)(p + BYTES_PER_XMM));
    __m128i gray[2];
    gray32x8(grayFromSums128<family>(_mm_packs_epi32(sums32Ssse3<family>(in0), sums32Ssse3<family>(in1)), toneVec,
                                     revMask),
             gray);
    _mm_storeu_si128((__m128i *)p, _mm_or_si128(mixBytesSsse3(in0, gray[0], weights), fourthBytes128()));
    _mm_storeu_si128((__m128i *)(p + BYTES_PER_XMM),
                     _mm_or_si128(mixBytesSsse3(in1, gray[1], weights), fourthBytes128()));
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
    _mm_storeu_si128((__m128i *)p, mix555x8Sse2(words, v, keep, take));
}

template <GrayWeightingFamily family>
GRAY_SSSE3_INLINE void mix16Ssse3(uint8_t *p, __m128i toneVec, __m128i revMask, __m128i keep, __m128i take)
{
    __m128i words = _mm_loadu_si128((const __m128i *)p);
    __m128i v = grayFromSums128<family>(sums555x8Ssse3<family>(words), toneVec, revMask);
    _mm_storeu_si128((__m128i *)p, mix555x8Ssse3(words, v, keep, take));
}
#endif
