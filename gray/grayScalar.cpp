// Scalar kernels: the arithmetic written out pixel by pixel. Runs on any CPU; the other
// paths must match it bit for bit.
#include "grayKernels.h"

static void ntsc32(uint8_t *p, size_t n, int32_t tone, int32_t rev) { scalarPixels32<GRAY_FAMILY_NTSC>(p, n, tone, rev); }
static void ntsc24(uint8_t *p, size_t n, int32_t tone, int32_t rev) { scalarPixels24<GRAY_FAMILY_NTSC>(p, n, tone, rev); }
static void ntsc16(uint8_t *p, size_t n, int32_t tone, int32_t rev) { scalarPixels16<GRAY_FAMILY_NTSC>(p, n, tone, rev); }
static void hdtv32(uint8_t *p, size_t n, int32_t tone, int32_t rev) { scalarPixels32<GRAY_FAMILY_HDTV>(p, n, tone, rev); }
static void hdtv24(uint8_t *p, size_t n, int32_t tone, int32_t rev) { scalarPixels24<GRAY_FAMILY_HDTV>(p, n, tone, rev); }
static void hdtv16(uint8_t *p, size_t n, int32_t tone, int32_t rev) { scalarPixels16<GRAY_FAMILY_HDTV>(p, n, tone, rev); }

const GrayRunners grayScalarRunners = {ntsc32, ntsc24, ntsc16, hdtv32, hdtv24, hdtv16};
