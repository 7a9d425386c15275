// SSE2 path: 32 and 16 bpp eight pixels at a time; 24 bpp stays scalar, since SSE2 has no
// byte shuffle to pull three-byte pixels apart cheaply. The i686 build runs this only after
// the CPU check in grayPaths.cpp.
#include "graySimd128.h"

#if GRAY_X86
template <GrayWeightingFamily family>
GRAY_ALIGN_STACK __attribute__((target("sse2"))) static void run32(uint8_t *p, size_t n, int32_t tone, int32_t rev)
{
    const __m128i toneVec = toneVector128<family>(tone);
    const __m128i revMask = reverseMask128(rev);
    for (; n >= PIXELS_PER_BLOCK; n -= PIXELS_PER_BLOCK, p += PIXELS_PER_BLOCK * BYTES_PER_PIXEL32)
        block32Sse2<family>(p, toneVec, revMask);
    scalarPixels32<family>(p, n, tone, rev);
}

template <GrayWeightingFamily family>
GRAY_ALIGN_STACK __attribute__((target("sse2"))) static void run16(uint8_t *p, size_t n, int32_t tone, int32_t rev)
{
    const __m128i toneVec = toneVector128<family>(tone);
    const __m128i revMask = reverseMask128(rev);
    for (; n >= PIXELS_PER_BLOCK; n -= PIXELS_PER_BLOCK, p += PIXELS_PER_BLOCK * BYTES_PER_PIXEL16)
        block16Sse2<family>(p, toneVec, revMask);
    scalarPixels16<family>(p, n, tone, rev);
}

template <GrayWeightingFamily family>
static void run24(uint8_t *p, size_t n, int32_t tone, int32_t rev)
{
    scalarPixels24<family>(p, n, tone, rev);
}

const GrayRunners graySse2Runners = {
    run32<GRAY_FAMILY_NTSC>, run24<GRAY_FAMILY_NTSC>, run16<GRAY_FAMILY_NTSC>,
    run32<GRAY_FAMILY_HDTV>, run24<GRAY_FAMILY_HDTV>, run16<GRAY_FAMILY_HDTV>,
};
#endif
