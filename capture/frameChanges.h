// What changed between two copies of a frame, and how often a still desk is
// looked at. A frame is compared with the last copy in bands of whole rows; a band
// records the columns where it changed, so that only those bands are converted and
// only the changed columns of them are presented. Pure; unit-tested on the host.
#pragma once

#include <cstddef>
#include <cstdint>

#include "captureRules.h"
#include "visibleParts.h"

// Rows a band holds: small enough that a caret or a clock repaints a few thousand
// pixels, large enough that a band's span costs nothing beside its comparison.
constexpr int32_t BAND_ROWS = 16;

// Where a band changed: columns [left, right) of the frame; none when right <= left.
struct BandChange {
    int32_t left;
    int32_t right;
};

constexpr int32_t bandCountOf(int32_t height)
{
    return height <= 0 ? 0 : (height + BAND_ROWS - 1) / BAND_ROWS;
}

inline bool bandChanged(const BandChange &band)
{
    return band.right > band.left;
}

// The layout both copies share: a device-independent bitmap, rows bottom-up.
struct FrameLayout {
    int32_t width;
    int32_t height;
    int32_t bitsPerPixel;   // 16, 24 or 32
    int32_t rowStride;      // bytes from one row's start to the next
};

// Compares now with before inside the parts (frame coordinates, top-down; the rest
// of the frame is never copied and never looked at) and widens each band's change
// to the columns that differ. bands holds bandCountOf(height) entries, cleared by
// the caller. True when anything changed.
bool findChangedBands(const uint8_t *now, const uint8_t *before, const FrameLayout &layout, const ScreenRect *parts,
                      int32_t partCount, BandChange *bands);
// Copies the rows of the changed bands from now into before: the next frame is
// compared with what this one copied.
void keepChangedBands(const uint8_t *now, uint8_t *before, const FrameLayout &layout, const BandChange *bands);
// Marks every band changed over the whole width (the first frame, or one whose
// picture must be presented whole).
void markAllBands(const FrameLayout &layout, BandChange *bands);

// Runs of changed bands as rectangles in frame coordinates (top-down): the rows
// of the run, and the columns where any of its bands changed. On overflow the
// last rectangle takes in everything below it.
void changedRects(const BandChange *bands, const FrameLayout &layout, RectList *rects);

// How often a desk is looked at. While something changes or the person works,
// every frame period; a second after the last change and the last input, every
// STILL_COPY_PERIOD_MS, with a look at the input every INPUT_CHECK_MS meanwhile,
// so that a key or a move brings the full rate back at once.
constexpr uint32_t STILL_AFTER_MS = 1000;
constexpr uint32_t STILL_COPY_PERIOD_MS = 100;
constexpr uint32_t INPUT_CHECK_MS = 15;

struct DeskActivity {
    uint32_t lastChange;     // tick counts (GetTickCount's clock; they wrap)
    uint32_t lastInput;
    uint32_t lastCopy;
    int32_t failedCopies;    // copies failed in a row, the last at lastCopy
};

// A copy that failed is neither converted nor presented; failures in a row wait
// longer and longer before the next try, up to COPY_FAILURE_WAIT_LIMIT_MS, so that
// a desk the program cannot read (a secure desktop) costs next to nothing.
constexpr uint32_t COPY_FAILURE_WAIT_LIMIT_MS = 500;

// How long to wait before the next copy: 0 to copy now.
uint32_t nextCopyWait(const DeskActivity &activity, uint32_t now);
