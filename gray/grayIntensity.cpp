// convertFrameIntensity: the full kernels at 100 %, nothing at 0 %, and in between the mix
// runners of the active path over the rows of a DIB-layout frame (padding never touched).
// Called from the capture threads; holds no state besides the cached path choice.
#include "gray.h"

#include "grayMixKernels.h"

static int32_t clampIntensity(int32_t intensityPercent)
{
    if (intensityPercent < GRAY_INTENSITY_NONE)
        return GRAY_INTENSITY_NONE;
    if (intensityPercent > GRAY_INTENSITY_FULL)
        return GRAY_INTENSITY_FULL;
    return intensityPercent;
}

bool convertFrameIntensity(uint8_t *pixels, int32_t width, int32_t height, int32_t bitsPerPixel,
                           int32_t convertType, int32_t grayTone, int32_t reverseGray, int32_t intensityPercent)
{
    int32_t intensity = clampIntensity(intensityPercent);
    if (intensity == GRAY_INTENSITY_FULL)
        return convertFrame(pixels, width, height, bitsPerPixel, convertType, grayTone, reverseGray);
    GrayMixFn mix = runnerFor(*activeGrayMixRunners(), bitsPerPixel, convertType);
    if (mix == nullptr)
        return false;
    if (intensity == GRAY_INTENSITY_NONE)
        return true;
    int32_t tone = clampGrayTone(grayTone);
    runFrameRows(pixels, width, height, bitsPerPixel / BITS_PER_BYTE, dibRowStride(width, bitsPerPixel),
                 [&](uint8_t *start, size_t count) { mix(start, count, tone, reverseGray, intensity); });
    return true;
}
