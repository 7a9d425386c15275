// SSSE3 partial kernels: pmaddubsw weighs the source bytes where they stand (32 bpp) or
// mixes a source byte and its gray byte in one step (24 bpp).
#include "grayMix128.h"

#if GRAY_X86
#define GRAY_SSSE3_ENTRY GRAY_ALIGN_STACK __attribute__((target("ssse3"))) static

template <GrayWeightingFamily family>
GRAY_SSSE3_ENTRY void mix32(uint8_t *p, size_t n, int32_t tone, int32_t rev, int32_t intensity)
{
    const __m128i toneVec = toneVector128<family>(tone), revMask = reverseMask128(rev);
    const __m128i take = takeVector128(intensity), keepEven = keepVector128(intensity);
    const __m128i keepOdd = keepOddVector128(intensity);
    for (; n >= PIXELS_PER_BLOCK; n -= PIXELS_PER_BLOCK, p += PIXELS_PER_BLOCK * BYTES_PER_PIXEL32)
        mix32Ssse3<family>(p, toneVec, revMask, take, keepEven, keepOdd);
    scalarMixPixels32<family>(p, n, tone, rev, intensity);
}

template <GrayWeightingFamily family>
GRAY_SSSE3_ENTRY void mix24(uint8_t *p, size_t n, int32_t tone, int32_t rev, int32_t intensity)
{
    const __m128i toneVec = toneVector128<family>(tone), revMask = reverseMaskBytes128(rev);
    const __m128i weights = mixWeights128(intensity);
    for (; n >= PIXELS_PER_BLOCK24; n -= PIXELS_PER_BLOCK24, p += BYTES_PER_BLOCK24)
        mix24Ssse3<family>(p, toneVec, revMask, weights);
    scalarMixPixels24<family>(p, n, tone, rev, intensity);
}

template <GrayWeightingFamily family>
GRAY_SSSE3_ENTRY void mix16(uint8_t *p, size_t n, int32_t tone, int32_t rev, int32_t intensity)
{
    const __m128i toneVec = toneVector128<family>(tone), revMask = reverseMask128(rev);
    const __m128i step = fieldStepVector128(intensity), fieldOnesTimesI = fieldOnesTimesIVector128(intensity);
    for (; n >= PIXELS_PER_BLOCK; n -= PIXELS_PER_BLOCK, p += PIXELS_PER_BLOCK * BYTES_PER_PIXEL16)
        mix16Ssse3<family>(p, toneVec, revMask, step, fieldOnesTimesI);
    scalarMixPixels16<family>(p, n, tone, rev, intensity);
}

const GrayMixRunners graySsse3MixRunners = {
    mix32<GRAY_FAMILY_NTSC>, mix24<GRAY_FAMILY_NTSC>, mix16<GRAY_FAMILY_NTSC>,
    mix32<GRAY_FAMILY_HDTV>, mix24<GRAY_FAMILY_HDTV>, mix16<GRAY_FAMILY_HDTV>,
};
#endif
