// SSE2 partial kernels: 32 and 16 bpp eight pixels at a time, weighed with pmullw; 24 bpp
// stays scalar, as in the full SSE2 path.
#include "grayMix128.h"

#if GRAY_X86
#define GRAY_SSE2_ENTRY GRAY_ALIGN_STACK __attribute__((target("sse2"))) static

template <GrayWeightingFamily family>
GRAY_SSE2_ENTRY void mix32(uint8_t *p, size_t n, int32_t tone, int32_t rev, int32_t intensity)
{
    const __m128i toneVec = toneVector128<family>(tone), revMask = reverseMask128(rev);
    const __m128i keep = keepVector128(intensity), take = takeVector128(intensity);
    for (; n >= PIXELS_PER_BLOCK; n -= PIXELS_PER_BLOCK, p += PIXELS_PER_BLOCK * BYTES_PER_PIXEL32)
        mix32Sse2<family>(p, toneVec, revMask, keep, take);
    scalarMixPixels32<family>(p, n, tone, rev, intensity);
}

template <GrayWeightingFamily family>
GRAY_SSE2_ENTRY void mix16(uint8_t *p, size_t n, int32_t tone, int32_t rev, int32_t intensity)
{
    const __m128i toneVec = toneVector128<family>(tone), revMask = reverseMask128(rev);
    const __m128i keep = keepVector128(intensity), take = takeVector128(intensity);
    for (; n >= PIXELS_PER_BLOCK; n -= PIXELS_PER_BLOCK, p += PIXELS_PER_BLOCK * BYTES_PER_PIXEL16)
        mix16Sse2<family>(p, toneVec, revMask, keep, take);
    scalarMixPixels16<family>(p, n, tone, rev, intensity);
}

const GrayMixRunners graySse2MixRunners = {
    mix32<GRAY_FAMILY_NTSC>, scalarMixPixels24<GRAY_FAMILY_NTSC>, mix16<GRAY_FAMILY_NTSC>,
    mix32<GRAY_FAMILY_HDTV>, scalarMixPixels24<GRAY_FAMILY_HDTV>, mix16<GRAY_FAMILY_HDTV>,
};
#endif
