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
    for (; n >= WORDS_PER_XMM; n -= WORDS_PER_XMM, p += WORDS_PER_XMM * 4)
        block32Sse2<family>(p, toneVec, revMask);
    scalarPixels32<family>(p, n, tone, rev);
}

template <GrayWeightingFamily family>
GRAY_ALIGN_STACK __attribute__((target("sse2"))) static void run16(uint8_t *p, size_t n, int32_t tone, int32_t rev)
{
    const __m128i toneVec = toneVector128<family>(tone);
    const __m128i revMask = reverseMask128(rev);
    for (; n >= WORDS_PER_XMM; n -= WORDS_PER_XMM, p += WORDS_PER_XMM * 2)
        block16Sse2<family>(p, toneVec, revMask);
    scalarPixels16<family>(p, n, tone, rev);
}

template <GrayWeightingFamily family>
static void run24(uint8_t *p, size_t n, int32_t tone, int32_t rev)
{
    scalarPixels24<family>(p, n, tone, rev);
}

void graySse2Ntsc16(uint8_t *p, size_t n, int32_t tone, int32_t rev) { run16<GRAY_FAMILY_NTSC>(p, n, tone, rev); }
void graySse2Hdtv16(uint8_t *p, size_t n, int32_t tone, int32_t rev) { run16<GRAY_FAMILY_HDTV>(p, n, tone, rev); }

const GrayRunners graySse2Runners = {
    run32<GRAY_FAMILY_NTSC>, run24<GRAY_FAMILY_NTSC>, graySse2Ntsc16,
    run32<GRAY_FAMILY_HDTV>, run24<GRAY_FAMILY_HDTV>, graySse2Hdtv16,
};
#endif
