// Internal: the row runners each path provides, and the scalar loops that every path uses
// for the pixels left over after its last full SIMD block.
// A runner converts `pixelCount` contiguous pixels in place and touches no byte beyond them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "gray.h"
#include "grayPaths.h"
#include "grayPixel.h"

#if defined(__x86_64__) || defined(__i386__)
#define GRAY_X86 1
#else
#define GRAY_X86 0
#endif

// 32-bit Windows only promises a 4-byte aligned stack; SIMD entry points realign theirs
// so that spilled vectors stay aligned when called from a thread's first frame.
#if defined(__i386__)
#define GRAY_ALIGN_STACK __attribute__((force_align_arg_pointer))
#else
#define GRAY_ALIGN_STACK
#endif

typedef void (*GrayRunFn)(uint8_t *pixels, size_t pixelCount, int32_t grayTone, int32_t reverseGray);

// One runner per kernel; grayTone is already clamped to 0..10.
struct GrayRunners {
    GrayRunFn ntsc32;
    GrayRunFn ntsc24;
    GrayRunFn ntsc16;
    GrayRunFn hdtv32;
    GrayRunFn hdtv24;
    GrayRunFn hdtv16;
};

constexpr int32_t BITS_PER_BYTE = 8;

// The runner of a table (GrayRunners, or the partial kernels' table with the same
// fields) for a depth and a weighting; nullptr for any other.
template <typename Runners>
auto runnerFor(const Runners &runners, int32_t bitsPerPixel, int32_t convertType) -> decltype(runners.ntsc32)
{
    constexpr int32_t DEPTH_32 = 32, DEPTH_24 = 24, DEPTH_16 = 16;
    if (convertType == GRAY_NTSC) {
        if (bitsPerPixel == DEPTH_32) return runners.ntsc32;
        if (bitsPerPixel == DEPTH_24) return runners.ntsc24;
        if (bitsPerPixel == DEPTH_16) return runners.ntsc16;
    } else if (convertType == GRAY_HDTV) {
        if (bitsPerPixel == DEPTH_32) return runners.hdtv32;
        if (bitsPerPixel == DEPTH_24) return runners.hdtv24;
        if (bitsPerPixel == DEPTH_16) return runners.hdtv16;
    }
    return nullptr;
}

// Hands the pixels of a frame's rows to run(start, pixelCount): a frame whose rows have
// no padding is one run, so SIMD blocks span row ends; padding is never handed on.
template <typename Run>
void runFrameRows(uint8_t *pixels, int32_t width, int32_t height, int32_t bytesPerPixel, int32_t rowStride, Run run)
{
    if (width <= 0 || height <= 0)
        return;
    if ((int64_t)width * bytesPerPixel == rowStride) {
        run(pixels, (size_t)width * (size_t)height);
        return;
    }
    for (int32_t y = 0; y < height; ++y)
        run(pixels + (ptrdiff_t)y * rowStride, (size_t)width);
}

extern const GrayRunners grayScalarRunners;
#if GRAY_X86
extern const GrayRunners graySse2Runners;
extern const GrayRunners graySsse3Runners;
extern const GrayRunners grayAvx2Runners;
#endif

// The runners of the active path.
const GrayRunners *activeGrayRunners();

enum GrayWeightingFamily { GRAY_FAMILY_NTSC, GRAY_FAMILY_HDTV };

template <GrayWeightingFamily family>
inline uint32_t familyGray(uint32_t red, uint32_t green, uint32_t blue, int32_t grayTone, int32_t reverseGray)
{
    if (family == GRAY_FAMILY_NTSC)
        return ntscGray(red, green, blue, grayTone, reverseGray);
    return hdtvGray(red, green, blue, grayTone, reverseGray);
}

constexpr uint8_t GRAY32_FOURTH_BYTE = (uint8_t)(GRAY32_OPAQUE >> 24);

template <GrayWeightingFamily family>
inline void scalarPixels32(uint8_t *p, size_t count, int32_t grayTone, int32_t reverseGray)
{
    for (size_t i = 0; i < count; ++i, p += 4) {
        uint8_t v = (uint8_t)familyGray<family>(p[2], p[1], p[0], grayTone, reverseGray);
        p[0] = v;
        p[1] = v;
        p[2] = v;
        p[3] = GRAY32_FOURTH_BYTE;
    }
}

template <GrayWeightingFamily family>
inline void scalarPixels24(uint8_t *p, size_t count, int32_t grayTone, int32_t reverseGray)
{
    for (size_t i = 0; i < count; ++i, p += 3) {
        uint8_t v = (uint8_t)familyGray<family>(p[2], p[1], p[0], grayTone, reverseGray);
        p[0] = v;
        p[1] = v;
        p[2] = v;
    }
}

template <GrayWeightingFamily family>
inline void scalarPixels16(uint8_t *p, size_t count, int32_t grayTone, int32_t reverseGray)
{
    for (size_t i = 0; i < count; ++i, p += 2) {
        uint32_t word = (uint32_t)p[0] | ((uint32_t)p[1] << 8);
        uint32_t v = familyGray<family>(red555(word), green555(word), blue555(word), grayTone, reverseGray);
        uint16_t out = gray555Word(v);
        p[0] = (uint8_t)out;
        p[1] = (uint8_t)(out >> 8);
    }
}
