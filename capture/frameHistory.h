// What a capture run remembers of its last copy, so that a frame converts and
// presents only what changed, and when it looks again at a still desk or after
// a failed copy. Capture thread only.
#pragma once

#include <windows.h>

#include <cstdint>

#include "frameBuffer.h"
#include "frameChanges.h"
#include "graySettings.h"

struct FrameHistory {
    uint8_t *previous;        // the last copy before its conversion; none: every frame is new
    size_t bytes;
    BandChange *bands;
    int32_t bandCapacity;
    FrameLayout layout;
    bool valid;               // previous holds the last copy into this frame buffer
    GraySettings settings;    // what the picture on screen was converted with,
    int32_t intensity;        // and how far (percent)
    RectList changed;         // this frame's changed rectangles, frame coordinates
    DeskActivity activity;
};

// Sizes the history to a new frame buffer; what it held is forgotten.
void fitFrameHistory(FrameHistory *history, const FrameBitmap &frame, int32_t bitsPerPixel);
void releaseFrameHistory(FrameHistory *history);
// The next frame is converted and presented whole (the overlay moved, its
// region changed, or the system asked it to paint).
void forgetFrameHistory(FrameHistory *history);

// Compares the frame just copied with the last copy inside the parts (frame
// coordinates) and fills history->changed; true when anything is to be presented.
// Reads the settings and the intensity once for the frame: a change in either
// converts and presents it whole.
bool takeFrameChanges(FrameHistory *history, const FrameBitmap &frame, const ScreenRect *parts, int32_t partCount);
// Converts the changed rows of the frame; false when no kernel fits.
bool convertFrameChanges(const FrameHistory &history, const FrameBitmap &frame);

// How long to wait before the next copy (0: now), with the input read afresh:
// a still desk is looked at less often, failed copies back off.
uint32_t waitBeforeCopy(FrameHistory *history);
// A run's first frame is timed from its start.
void startDeskActivity(FrameHistory *history);
// After a copy: a failed one is counted; nothing of it is converted or presented.
void noteCopy(FrameHistory *history, bool copied);
