// AVX2 path: sixteen 32 bpp or 16 bpp pixels, or thirty-two 24 bpp pixels, per step in
// 256-bit registers; what is left of a run goes through the 128-bit blocks, then scalar.
// Chosen only when the OS saves YMM registers (see grayPaths.cpp).
#include "graySimd256.h"

#if GRAY_X86

template <GrayWeightingFamily family>
GRAY_AVX2_ENTRY void run32(uint8_t *p, size_t n, int32_t tone, int32_t rev)
{
    const __m256i toneVec = toneVector256<family>(tone);
    const __m256i revMask = reverseMask256(rev);
    for (; n >= PIXELS_PER_YMM_STEP; n -= PIXELS_PER_YMM_STEP, p += PIXELS_PER_YMM_STEP * BYTES_PER_PIXEL32)
        block32Avx2<family>(p, toneVec, revMask);
    if (n >= PIXELS_PER_BLOCK) {
        block32Ssse3<family>(p, _mm256_castsi256_si128(toneVec), _mm256_castsi256_si128(revMask));
        n -= PIXELS_PER_BLOCK;
        p += PIXELS_PER_BLOCK * BYTES_PER_PIXEL32;
    }
    scalarPixels32<family>(p, n, tone, rev);
}

template <GrayWeightingFamily family>
GRAY_AVX2_ENTRY void run24(uint8_t *p, size_t n, int32_t tone, int32_t rev)
{
    const __m256i toneVec = toneVector256<family>(tone);
    const __m256i revMask = reverseMaskBytes256(rev);
    for (; n >= PIXELS_PER_BLOCK24_AVX2; n -= PIXELS_PER_BLOCK24_AVX2, p += BYTES_PER_BLOCK24_AVX2)
        block24Avx2<family>(p, toneVec, revMask);
    if (n >= PIXELS_PER_BLOCK24) {
        block24Ssse3<family>(p, _mm256_castsi256_si128(toneVec), _mm256_castsi256_si128(revMask));
        n -= PIXELS_PER_BLOCK24;
        p += BYTES_PER_BLOCK24;
    }
    scalarPixels24<family>(p, n, tone, rev);
}

template <GrayWeightingFamily family>
GRAY_AVX2_ENTRY void run16(uint8_t *p, size_t n, int32_t tone, int32_t rev)
{
    const __m256i toneVec = toneVector256<family>(tone);
    const __m256i revMask = reverseMask256(rev);
    for (; n >= PIXELS_PER_YMM_STEP; n -= PIXELS_PER_YMM_STEP, p += PIXELS_PER_YMM_STEP * BYTES_PER_PIXEL16)
        block16Avx2<family>(p, toneVec, revMask);
    if (n >= PIXELS_PER_BLOCK) {
        block16Ssse3<family>(p, _mm256_castsi256_si128(toneVec), _mm256_castsi256_si128(revMask));
        n -= PIXELS_PER_BLOCK;
        p += PIXELS_PER_BLOCK * BYTES_PER_PIXEL16;
    }
    scalarPixels16<family>(p, n, tone, rev);
}

const GrayRunners grayAvx2Runners = {
    run32<GRAY_FAMILY_NTSC>, run24<GRAY_FAMILY_NTSC>, run16<GRAY_FAMILY_NTSC>,
    run32<GRAY_FAMILY_HDTV>, run24<GRAY_FAMILY_HDTV>, run16<GRAY_FAMILY_HDTV>,
};
#endif
