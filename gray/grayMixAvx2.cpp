// AVX2 partial kernels: the full AVX2 blocks' gray values mixed with the source in 256-bit
// registers; what is left of a run goes through the 128-bit mix blocks, then scalar.
// unpack, pmaddubsw and pack all work within 128-bit lanes, so bytes keep their places.
#include "grayMix128.h"
#include "graySimd256.h"

#if GRAY_X86
// As divideRounded100x8.
GRAY_AVX2_INLINE __m256i divideRounded100Avx2(__m256i x)
{
    __m256i high = _mm256_mulhi_epu16(x, _mm256_set1_epi16((short)DIV100_MULTIPLIER));
    return _mm256_mulhrs_epi16(high, _mm256_set1_epi16(DIV64_ROUNDED_MULTIPLIER));
}

GRAY_AVX2_INLINE __m256i mixBytesAvx2(__m256i from, __m256i to, __m256i weights)
{
    __m256i low = _mm256_maddubs_epi16(_mm256_unpacklo_epi8(from, to), weights);
    __m256i high = _mm256_maddubs_epi16(_mm256_unpackhi_epi8(from, to), weights);
    return _mm256_packus_epi16(divideRounded100Avx2(low), divideRounded100Avx2(high));
}

GRAY_AVX2_INLINE __m256i divide100Avx2(__m256i x)
{
    return _mm256_srli_epi16(_mm256_mulhi_epu16(x, _mm256_set1_epi16((short)DIV100_MULTIPLIER)), DIV100_POSTSHIFT);
}

// As mix555StepX8.
GRAY_AVX2_INLINE __m256i mix555StepAvx2(__m256i words, __m256i v, __m256i step, __m256i fieldOnesTimesI)
{
    const __m256i field = _mm256_set1_epi16(FIELD555_MAX);
    __m256i grayOffset = _mm256_add_epi16(_mm256_srli_epi16(v, GRAY555_SHIFT), _mm256_set1_epi16(FIELD555_OFFSET));
    __m256i red = _mm256_and_si256(_mm256_srli_epi16(words, RED555_FIELD), field);
    __m256i green = _mm256_and_si256(_mm256_srli_epi16(words, GREEN555_FIELD), field);
    __m256i blue = _mm256_and_si256(words, field);
    red = _mm256_mulhrs_epi16(_mm256_sub_epi16(grayOffset, red), step);
    green = _mm256_mulhrs_epi16(_mm256_sub_epi16(grayOffset, green), step);
    blue = _mm256_mulhrs_epi16(_mm256_sub_epi16(grayOffset, blue), step);
    __m256i moves = _mm256_add_epi16(
        _mm256_add_epi16(_mm256_slli_epi16(red, RED555_FIELD), _mm256_slli_epi16(green, GREEN555_FIELD)), blue);
    __m256i fields = _mm256_and_si256(words, _mm256_set1_epi16((short)WORD555_FIELDS));
    return _mm256_sub_epi16(_mm256_add_epi16(fields, moves), fieldOnesTimesI);
}

// Sixteen 32 bpp pixels, as mix32Ssse3.
template <GrayWeightingFamily family>
GRAY_AVX2_INLINE void mix32Avx2(uint8_t *p, __m256i toneVec, __m256i revMask, __m256i take, __m256i keepEven,
                                __m256i keepOdd)
{
    __m256i px[REGISTERS_PER_BLOCK32] = {_mm256_loadu_si256((const __m256i *)p),
                                         _mm256_loadu_si256((const __m256i *)(p + BYTES_PER_YMM))};
    __m256i v = grayFromSums256<family>(_mm256_packs_epi32(sums32Avx2<family>(px[0]), sums32Avx2<family>(px[1])),
                                        toneVec, revMask);
    __m256i grayPart = _mm256_add_epi16(_mm256_mullo_epi16(v, take), _mm256_set1_epi16(MIX_ROUNDING));
    // The gray lanes hold pixels [0-3, 8-11 | 4-7, 12-15], as in block32Avx2.
    __m256i spread[REGISTERS_PER_BLOCK32] = {_mm256_unpacklo_epi16(grayPart, grayPart),
                                             _mm256_unpackhi_epi16(grayPart, grayPart)};
    for (int32_t i = 0; i < REGISTERS_PER_BLOCK32; ++i) {
        __m256i even = _mm256_add_epi16(_mm256_maddubs_epi16(px[i], keepEven), spread[i]);
        __m256i odd = _mm256_add_epi16(_mm256_maddubs_epi16(px[i], keepOdd), spread[i]);
        __m256i oddHigh = _mm256_mulhi_epu16(odd, _mm256_set1_epi16((short)DIV100_MULTIPLIER));
        oddHigh = _mm256_and_si256(_mm256_slli_epi16(oddHigh, BITS_PER_COMPONENT - DIV100_POSTSHIFT),
                                   _mm256_set1_epi16((short)SHORT_HIGH_BYTE));
        __m256i out = _mm256_or_si256(_mm256_or_si256(divide100Avx2(even), oddHigh),
                                      _mm256_set1_epi32((int)GRAY32_OPAQUE));
        _mm256_storeu_si256((__m256i *)(p + i * BYTES_PER_YMM), out);
    }
}

template <GrayWeightingFamily family>
GRAY_AVX2_INLINE void mix24Avx2(uint8_t *p, __m256i toneVec, __m256i revMaskBytes, __m256i weights)
{
    __m256i gray[REGISTERS_PER_BLOCK24];
    gray24Avx2<family>(p, toneVec, revMaskBytes, gray);
    for (int32_t i = 0; i < REGISTERS_PER_BLOCK24; ++i) {
        __m256i *q = (__m256i *)(p + i * BYTES_PER_YMM);
        _mm256_storeu_si256(q, mixBytesAvx2(_mm256_loadu_si256(q), gray[i], weights));
    }
}

template <GrayWeightingFamily family>
GRAY_AVX2_INLINE void mix16Avx2(uint8_t *p, __m256i toneVec, __m256i revMask, __m256i step, __m256i fieldOnesTimesI)
{
    __m256i words = _mm256_loadu_si256((const __m256i *)p);
    __m256i v = gray555Avx2<family>(words, toneVec, revMask);
    _mm256_storeu_si256((__m256i *)p, mix555StepAvx2(words, v, step, fieldOnesTimesI));
}

template <GrayWeightingFamily family>
GRAY_AVX2_ENTRY void mix32(uint8_t *p, size_t n, int32_t tone, int32_t rev, int32_t intensity)
{
    const __m256i toneVec = toneVector256<family>(tone), revMask = reverseMask256(rev);
    const __m256i take = _mm256_broadcastsi128_si256(takeVector128(intensity));
    const __m256i keepEven = _mm256_broadcastsi128_si256(keepVector128(intensity));
    const __m256i keepOdd = _mm256_broadcastsi128_si256(keepOddVector128(intensity));
    for (; n >= PIXELS_PER_YMM_STEP; n -= PIXELS_PER_YMM_STEP, p += PIXELS_PER_YMM_STEP * BYTES_PER_PIXEL32)
        mix32Avx2<family>(p, toneVec, revMask, take, keepEven, keepOdd);
    if (n >= PIXELS_PER_BLOCK) {
        mix32Ssse3<family>(p, _mm256_castsi256_si128(toneVec), _mm256_castsi256_si128(revMask),
                           _mm256_castsi256_si128(take), _mm256_castsi256_si128(keepEven),
                           _mm256_castsi256_si128(keepOdd));
        n -= PIXELS_PER_BLOCK;
        p += PIXELS_PER_BLOCK * BYTES_PER_PIXEL32;
    }
    scalarMixPixels32<family>(p, n, tone, rev, intensity);
}

template <GrayWeightingFamily family>
GRAY_AVX2_ENTRY void mix24(uint8_t *p, size_t n, int32_t tone, int32_t rev, int32_t intensity)
{
    const __m256i toneVec = toneVector256<family>(tone), revMask = reverseMaskBytes256(rev);
    const __m256i weights = _mm256_broadcastsi128_si256(mixWeights128(intensity));
    for (; n >= PIXELS_PER_BLOCK24_AVX2; n -= PIXELS_PER_BLOCK24_AVX2, p += BYTES_PER_BLOCK24_AVX2)
        mix24Avx2<family>(p, toneVec, revMask, weights);
    if (n >= PIXELS_PER_BLOCK24) {
        mix24Ssse3<family>(p, _mm256_castsi256_si128(toneVec), _mm256_castsi256_si128(revMask),
                           _mm256_castsi256_si128(weights));
        n -= PIXELS_PER_BLOCK24;
        p += BYTES_PER_BLOCK24;
    }
    scalarMixPixels24<family>(p, n, tone, rev, intensity);
}

template <GrayWeightingFamily family>
GRAY_AVX2_ENTRY void mix16(uint8_t *p, size_t n, int32_t tone, int32_t rev, int32_t intensity)
{
    const __m256i toneVec = toneVector256<family>(tone), revMask = reverseMask256(rev);
    const __m256i step = _mm256_broadcastsi128_si256(fieldStepVector128(intensity));
    const __m256i fieldOnesTimesI = _mm256_broadcastsi128_si256(fieldOnesTimesIVector128(intensity));
    for (; n >= PIXELS_PER_YMM_STEP; n -= PIXELS_PER_YMM_STEP, p += PIXELS_PER_YMM_STEP * BYTES_PER_PIXEL16)
        mix16Avx2<family>(p, toneVec, revMask, step, fieldOnesTimesI);
    if (n >= PIXELS_PER_BLOCK) {
        mix16Ssse3<family>(p, _mm256_castsi256_si128(toneVec), _mm256_castsi256_si128(revMask),
                           _mm256_castsi256_si128(step), _mm256_castsi256_si128(fieldOnesTimesI));
        n -= PIXELS_PER_BLOCK;
        p += PIXELS_PER_BLOCK * BYTES_PER_PIXEL16;
    }
    scalarMixPixels16<family>(p, n, tone, rev, intensity);
}

const GrayMixRunners grayAvx2MixRunners = {
    mix32<GRAY_FAMILY_NTSC>, mix24<GRAY_FAMILY_NTSC>, mix16<GRAY_FAMILY_NTSC>,
    mix32<GRAY_FAMILY_HDTV>, mix24<GRAY_FAMILY_HDTV>, mix16<GRAY_FAMILY_HDTV>,
};
#endif
