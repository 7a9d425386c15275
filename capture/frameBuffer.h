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

// Creates the page-file mapping "talvero%d" of the given size; on failure shows
// the "CreateFileMapping" message and returns a mapping without handle.
FrameMapping createFrameMapping(uint64_t bytes);
void closeFrameMapping(FrameMapping *mapping);

// Builds the bitmap for the rectangle and selects it into a new memoryDC. On a
// failure it shows the failing call's message, releases what it made and returns -1.
int createFrameBitmap(HDC reference, const ScreenRect &rect, const FrameMapping &mapping, int32_t bitsPerPixel,
                      FrameBitmap *frame);
// Restores the selection and deletes bitmap and memoryDC; -1 when a step still
// failed after its retries (the remaining steps are skipped), 0 when there was none.
int releaseFrameBitmap(FrameBitmap *frame);
