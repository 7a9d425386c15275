// SSSE3 path: pmaddubsw weighs the three colour bytes in one step (32 bpp) and pshufb pulls
// 24 bpp pixels apart and back together, and weighs red and blue of a 16 bpp word at once.
#include "graySimd128.h"

#if GRAY_X86
template <GrayWeightingFamily family>
GRAY_ALIGN_STACK __attribute__((target("ssse3"))) static void run32(uint8_t *p, size_t n, int32_t tone, int32_t rev)
{
    const __m128i toneVec = toneVector128<family>(tone);
    const __m128i revMask = reverseMask128(rev);
    for (; n >= PIXELS_PER_BLOCK; n -= PIXELS_PER_BLOCK, p += PIXELS_PER_BLOCK * BYTES_PER_PIXEL32)
        block32Ssse3<family>(p, toneVec, revMask);
    scalarPixels32<family>(p, n, tone, rev);
}

template <GrayWeightingFamily family>
GRAY_ALIGN_STACK __attribute__((target("ssse3"))) static void run24(uint8_t *p, size_t n, int32_t tone, int32_t rev)
{
    const __m128i toneVec = toneVector128<family>(tone);
    const __m128i revMask = reverseMaskBytes128(rev);
    for (; n >= PIXELS_PER_BLOCK24; n -= PIXELS_PER_BLOCK24, p += BYTES_PER_BLOCK24)
        block24Ssse3<family>(p, toneVec, revMask);
    scalarPixels24<family>(p, n, tone, rev);
}

template <GrayWeightingFamily family>
GRAY_ALIGN_STACK __attribute__((target("ssse3"))) static void run16(uint8_t *p, size_t n, int32_t tone, int32_t rev)
{
    const __m128i toneVec = toneVector128<family>(tone);
    const __m128i revMask = reverseMask128(rev);
    for (; n >= PIXELS_PER_BLOCK; n -= PIXELS_PER_BLOCK, p += PIXELS_PER_BLOCK * BYTES_PER_PIXEL16)
        block16Ssse3<family>(p, toneVec, revMask);
    scalarPixels16<family>(p, n, tone, rev);
}

const GrayRunners graySsse3Runners = {
    run32<GRAY_FAMILY_NTSC>, run24<GRAY_FAMILY_NTSC>, run16<GRAY_FAMILY_NTSC>,
    run32<GRAY_FAMILY_HDTV>, run24<GRAY_FAMILY_HDTV>, run16<GRAY_FAMILY_HDTV>,
};
#endif
