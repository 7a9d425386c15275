// Gray conversion of one captured frame, in place, for the capture loops.
// Platform-free: plain byte buffers, rows padded to whole 4-byte multiples (DIB layout).
// A kernel touches only the buffer it is given; callers pass a snapshot of the settings.
#pragma once

#include <cstdint>

enum GrayWeighting : int32_t { GRAY_NTSC = 0, GRAY_HDTV = 1 };

// Bytes per row of a device-independent bitmap of this width and depth.
int32_t dibRowStride(int32_t width, int32_t bitsPerPixel);

// Picks the kernel by depth (16, 24, 32) and weighting; false, with the buffer
// untouched, for any other depth or weighting. A frame with no pixels (width or height
// <= 0) is left alone; the kernel still counts as run.
bool convertFrame(uint8_t *pixels, int32_t width, int32_t height, int32_t bitsPerPixel,
                  int32_t convertType, int32_t grayTone, int32_t reverseGray);

// How far convertFrameIntensity moves each pixel from its colour toward its gray, in percent.
constexpr int32_t GRAY_INTENSITY_NONE = 0;    // pixels left as they are
constexpr int32_t GRAY_INTENSITY_FULL = 100;  // exactly convertFrame's gray

// convertFrame taken only part of the way: each colour component c moves toward g, the
// value convertFrame writes there, by i percent, rounded to nearest with halves up:
// (c * (100 - i) + g * i + 50) / 100 in whole numbers. A 5-5-5 word does this per 5-bit
// field. What carries no colour (the fourth byte of a 32 bpp pixel, bit 15 of a word) comes
// out as convertFrame writes it for any intensity above 0. intensityPercent outside 0..100
// is clamped; 100 runs convertFrame itself, 0 leaves the pixels as they are. Refuses what
// convertFrame refuses, with the buffer untouched. Same threads and layout as convertFrame.
bool convertFrameIntensity(uint8_t *pixels, int32_t width, int32_t height, int32_t bitsPerPixel,
                           int32_t convertType, int32_t grayTone, int32_t reverseGray, int32_t intensityPercent);

// The kernels: grayTone 0..10 (values outside are clamped to it), reverseGray 1 reverses
// and any other value does not. rowStride is the distance between row starts in bytes.
void grayNtsc32(uint8_t *pixels, int32_t width, int32_t height, int32_t rowStride, int32_t grayTone, int32_t reverseGray);
void grayNtsc24(uint8_t *pixels, int32_t width, int32_t height, int32_t rowStride, int32_t grayTone, int32_t reverseGray);
void grayNtsc16(uint8_t *pixels, int32_t width, int32_t height, int32_t rowStride, int32_t grayTone, int32_t reverseGray);
void grayHdtv32(uint8_t *pixels, int32_t width, int32_t height, int32_t rowStride, int32_t grayTone, int32_t reverseGray);
void grayHdtv24(uint8_t *pixels, int32_t width, int32_t height, int32_t rowStride, int32_t grayTone, int32_t reverseGray);
void grayHdtv16(uint8_t *pixels, int32_t width, int32_t height, int32_t rowStride, int32_t grayTone, int32_t reverseGray);
