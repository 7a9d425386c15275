// convertFrameIntensity: the full kernels at 100 %, nothing at 0 %, and in between the mix
// runners of the active path over the rows of a DIB-layout frame (padding never touched).
// Called from the capture threads; holds no state besides the cached path choice.
#include "gray.h"

#include "grayMixKernels.h"

static constexpr int32_t BITS_PER_BYTE = 8;
static constexpr int32_t DEPTH_32 = 32, DEPTH_24 = 24, DEPTH_16 = 16;

static int32_t clampIntensity(int32_t intensityPercent)
{
    if (intensityPercent < GRAY_INTENSITY_NONE)
        return GRAY_INTENSITY_NONE;
    if (intensityPercent > GRAY_INTENSITY_FULL)
        return GRAY_INTENSITY_FULL;
    return intensityPercent;
}

// The same depths and weightings convertFrame takes; nullptr for any other.
static GrayMixFn mixRunnerFor(int32_t bitsPerPixel, int32_t convertType)
{
    const GrayMixRunners *runners = activeGrayMixRunners();
    if (convertType == GRAY_NTSC) {
        if (bitsPerPixel == DEPTH_32) return runners->ntsc32;
        if (bitsPerPixel == DEPTH_24) return runners->ntsc24;
        if (bitsPerPixel == DEPTH_16) return runners->ntsc16;
    } else if (convertType == GRAY_HDTV) {
        if (bitsPerPixel == DEPTH_32) return runners->hdtv32;
        if (bitsPerPixel == DEPTH_24) return runners->hdtv24;
        if (bitsPerPixel == DEPTH_16) return runners->hdtv16;
    }
    return nullptr;
}

// A frame whose rows have no padding is one run, so SIMD blocks span row ends.
static void mixFrame(GrayMixFn mix, uint8_t *pixels, int32_t width, int32_t height, int32_t bitsPerPixel,
                     int32_t grayTone, int32_t reverseGray, int32_t intensity)
{
    int32_t rowStride = dibRowStride(width, bitsPerPixel);
    int32_t tone = clampGrayTone(grayTone);
    int64_t rowBytes = (int64_t)width * (bitsPerPixel / BITS_PER_BYTE);
    if (rowBytes == rowStride) {
        mix(pixels, (size_t)width * (size_t)height, tone, reverseGray, intensity);
        return;
    }
    for (int32_t y = 0; y < height; ++y)
        mix(pixels + (ptrdiff_t)y * rowStride, (size_t)width, tone, reverseGray, intensity);
}

bool convertFrameIntensity(uint8_t *pixels, int32_t width, int32_t height, int32_t bitsPerPixel,
                           int32_t convertType, int32_t grayTone, int32_t reverseGray, int32_t intensityPercent)
{
    int32_t intensity = clampIntensity(intensityPercent);
    if (intensity == GRAY_INTENSITY_FULL)
        return convertFrame(pixels, width, height, bitsPerPixel, convertType, grayTone, reverseGray);
    GrayMixFn mix = mixRunnerFor(bitsPerPixel, convertType);
    if (mix == nullptr)
        return false;
    if (intensity != GRAY_INTENSITY_NONE && width > 0 && height > 0)
        mixFrame(mix, pixels, width, height, bitsPerPixel, grayTone, reverseGray, intensity);
    return true;
}
