// Which instruction-set path the gray kernels run on, for tests and benchmarks.
// The best path this CPU and operating system support is chosen on first use and cached;
// forcing a path affects every thread and is meant for tests only.
#pragma once

#include <cstdint>

enum GrayPath : int32_t {
    GRAY_PATH_SCALAR = 0,
    GRAY_PATH_SSE2 = 1,   // 32 and 16 bpp in SSE2; 24 bpp stays scalar (no byte shuffle)
    GRAY_PATH_SSSE3 = 2,  // pmaddubsw weighing, pshufb for 24 bpp
    GRAY_PATH_AVX2 = 3,   // all three depths in 256-bit lanes
    GRAY_PATH_COUNT = 4
};

// True when this CPU (and, for AVX2, the operating system) can run the path.
bool grayPathAvailable(GrayPath path);

// The fastest available path: what convertFrame uses unless a test forced another.
GrayPath bestGrayPath();

// The path the kernels use now.
GrayPath activeGrayPath();

// Makes the kernels use this path; false, with nothing changed, if it is not available.
bool forceGrayPath(GrayPath path);

// Short lower-case name for reports ("scalar", "sse2", "ssse3", "avx2").
const char *grayPathName(GrayPath path);
