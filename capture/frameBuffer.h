// The frame buffer of a capture run: a DIB section whose pixels live in a named
// page-file mapping, selected into appState.memoryDC. Capture thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "captureRules.h"

struct FrameMapping {
    HANDLE handle;    // none when it could not be made: bitmaps then get memory of their own
    uint64_t bytes;
};

struct FrameBitmap {
    uint8_t *pixels;
    HBITMAP bitmap;      // none while the run has no frame buffer
    HGDIOBJ previous;    // what memoryDC held before the bitmap
    int32_t width;
    int32_t height;
};

// The failing call a frame buffer names in its message (text and caption).
constexpr char FAILED_MAPPING[] = "CreateFileMapping";
constexpr char FAILED_BITMAP[] = "CreateDIBSection";
constexpr char FAILED_PIXELS[] = "pbits";
constexpr char FAILED_MEMORY_DC[] = "CreateCompatibleDC";   // the context or the selection

// Creates a page-file mapping of the given size under a name of its own
// ("talvero" and the clock); a mapping without handle when none could be made.
FrameMapping createFrameMapping(uint64_t bytes);
void closeFrameMapping(FrameMapping *mapping);

// Builds the bitmap for the rectangle and selects it into a new memoryDC. On a
// failure it releases what it made, names the failing call and returns -1.
int createFrameBitmap(HDC reference, const ScreenRect &rect, const FrameMapping &mapping, int32_t bitsPerPixel,
                      FrameBitmap *frame, const char **failedCall);
// Restores the selection and deletes bitmap and memoryDC; -1 when a step still
// failed after its retries (the frame keeps what is left, and a later call goes
// on from there), 0 when there was nothing to release.
int releaseFrameBitmap(FrameBitmap *frame);
// The bitmap is in memoryDC: frames can be copied into it.
inline bool frameIsSelected(const FrameBitmap &frame) { return frame.previous != nullptr; }
