// The public kernels and convertFrame: walk the rows of a DIB-layout frame and hand each
// run of pixels to the active path. Padding bytes between rows are never touched.
// Called from the capture threads; holds no state besides the cached path choice.
#include "gray.h"

#include "grayKernels.h"

static constexpr int32_t DIB_ROW_ALIGN_BITS = 32;
static constexpr int32_t BITS_PER_BYTE = 8;

int32_t dibRowStride(int32_t width, int32_t bitsPerPixel)
{
    int64_t bits = (int64_t)width * bitsPerPixel;
    return (int32_t)((bits + DIB_ROW_ALIGN_BITS - 1) / DIB_ROW_ALIGN_BITS * (DIB_ROW_ALIGN_BITS / BITS_PER_BYTE));
}

// A frame whose rows have no padding is one run, so SIMD blocks span row ends.
static void runFrame(GrayRunFn run, int32_t bytesPerPixel, uint8_t *pixels, int32_t width, int32_t height,
                     int32_t rowStride, int32_t grayTone, int32_t reverseGray)
{
    if (width <= 0 || height <= 0)
        return;
    int32_t tone = clampGrayTone(grayTone);
    int64_t rowBytes = (int64_t)width * bytesPerPixel;
    if (rowBytes == rowStride) {
        run(pixels, (size_t)width * (size_t)height, tone, reverseGray);
        return;
    }
    for (int32_t y = 0; y < height; ++y)
        run(pixels + (ptrdiff_t)y * rowStride, (size_t)width, tone, reverseGray);
}

void grayNtsc32(uint8_t *pixels, int32_t width, int32_t height, int32_t rowStride, int32_t grayTone, int32_t reverseGray)
{
    runFrame(activeGrayRunners()->ntsc32, 4, pixels, width, height, rowStride, grayTone, reverseGray);
}

void grayNtsc24(uint8_t *pixels, int32_t width, int32_t height, int32_t rowStride, int32_t grayTone, int32_t reverseGray)
{
    runFrame(activeGrayRunners()->ntsc24, 3, pixels, width, height, rowStride, grayTone, reverseGray);
}

void grayNtsc16(uint8_t *pixels, int32_t width, int32_t height, int32_t rowStride, int32_t grayTone, int32_t reverseGray)
{
    runFrame(activeGrayRunners()->ntsc16, 2, pixels, width, height, rowStride, grayTone, reverseGray);
}

void grayHdtv32(uint8_t *pixels, int32_t width, int32_t height, int32_t rowStride, int32_t grayTone, int32_t reverseGray)
{
    runFrame(activeGrayRunners()->hdtv32, 4, pixels, width, height, rowStride, grayTone, reverseGray);
}

void grayHdtv24(uint8_t *pixels, int32_t width, int32_t height, int32_t rowStride, int32_t grayTone, int32_t reverseGray)
{
    runFrame(activeGrayRunners()->hdtv24, 3, pixels, width, height, rowStride, grayTone, reverseGray);
}

void grayHdtv16(uint8_t *pixels, int32_t width, int32_t height, int32_t rowStride, int32_t grayTone, int32_t reverseGray)
{
    runFrame(activeGrayRunners()->hdtv16, 2, pixels, width, height, rowStride, grayTone, reverseGray);
}

typedef void (*GrayKernelFn)(uint8_t *, int32_t, int32_t, int32_t, int32_t, int32_t);

static GrayKernelFn kernelFor(int32_t bitsPerPixel, int32_t convertType)
{
    static constexpr int32_t DEPTH_32 = 32, DEPTH_24 = 24, DEPTH_16 = 16;
    if (convertType == GRAY_NTSC) {
        if (bitsPerPixel == DEPTH_32) return grayNtsc32;
        if (bitsPerPixel == DEPTH_24) return grayNtsc24;
        if (bitsPerPixel == DEPTH_16) return grayNtsc16;
    } else if (convertType == GRAY_HDTV) {
        if (bitsPerPixel == DEPTH_32) return grayHdtv32;
        if (bitsPerPixel == DEPTH_24) return grayHdtv24;
        if (bitsPerPixel == DEPTH_16) return grayHdtv16;
    }
    return nullptr;
}

bool convertFrame(uint8_t *pixels, int32_t width, int32_t height, int32_t bitsPerPixel,
                  int32_t convertType, int32_t grayTone, int32_t reverseGray)
{
    GrayKernelFn kernel = kernelFor(bitsPerPixel, convertType);
    if (kernel == nullptr)
        return false;
    kernel(pixels, width, height, dibRowStride(width, bitsPerPixel), grayTone, reverseGray);
    return true;
}
