// The public kernels and convertFrame: walk the rows of a DIB-layout frame and hand each
// run of pixels to the active path. Padding bytes between rows are never touched.
// Called from the capture threads; holds no state besides the cached path choice.
#include "gray.h"

#include "grayKernels.h"

static constexpr int32_t DIB_ROW_ALIGN_BITS = 32;

int32_t dibRowStride(int32_t width, int32_t bitsPerPixel)
{
    int64_t bits = (int64_t)width * bitsPerPixel;
    return (int32_t)((bits + DIB_ROW_ALIGN_BITS - 1) / DIB_ROW_ALIGN_BITS * (DIB_ROW_ALIGN_BITS / BITS_PER_BYTE));
}

static void runFrame(GrayRunFn run, int32_t bytesPerPixel, uint8_t *pixels, int32_t width, int32_t height,
                     int32_t rowStride, int32_t grayTone, int32_t reverseGray)
{
    int32_t tone = clampGrayTone(grayTone);
    runFrameRows(pixels, width, height, bytesPerPixel, rowStride,
                 [&](uint8_t *start, size_t count) { run(start, count, tone, reverseGray); });
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

bool convertFrame(uint8_t *pixels, int32_t width, int32_t height, int32_t bitsPerPixel,
                  int32_t convertType, int32_t grayTone, int32_t reverseGray)
{
    GrayRunFn run = runnerFor(*activeGrayRunners(), bitsPerPixel, convertType);
    if (run == nullptr)
        return false;
    runFrame(run, bitsPerPixel / BITS_PER_BYTE, pixels, width, height, dibRowStride(width, bitsPerPixel), grayTone,
             reverseGray);
    return true;
}
