// Band comparison of two frame copies and the pace of a still desk; see frameChanges.h.
#include "frameChanges.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t BITS_PER_BYTE = 8;
constexpr int32_t FAILURE_DOUBLINGS = 8;   // past this the limit holds anyway

// Memory row of a frame row: the bitmap keeps its bottom row first.
size_t rowOffset(const FrameLayout &layout, int32_t y)
{
    return static_cast<size_t>(layout.height - 1 - y) * static_cast<size_t>(layout.rowStride);
}

// Widens band to the pixels where the bytes differ; the bytes are known to differ.
void widenToDifference(const uint8_t *now, const uint8_t *before, int32_t bytes, int32_t bytesPerPixel,
                       int32_t firstColumn, BandChange *band)
{
    int32_t first = 0;
    while (now[first] == before[first])
        first++;
    int32_t last = bytes - 1;
    while (now[last] == before[last])
        last--;
    int32_t left = firstColumn + first / bytesPerPixel;
    int32_t right = firstColumn + last / bytesPerPixel + 1;
    if (!bandChanged(*band)) {
        *band = BandChange{left, right};
        return;
    }
    band->left = std::min(band->left, left);
    band->right = std::max(band->right, right);
}

ScreenRect clampToFrame(const ScreenRect &part, const FrameLayout &layout)
{
    return ScreenRect{std::max(part.left, 0), std::max(part.top, 0), std::min(part.right, layout.width),
                      std::min(part.bottom, layout.height)};
}

uint32_t elapsedSince(uint32_t then, uint32_t now)
{
    // A time a little ahead of now (read first, then the clock moved) is now.
    int32_t elapsed = static_cast<int32_t>(now - then);
    return elapsed < 0 ? 0 : static_cast<uint32_t>(elapsed);
}

}  // namespace

bool findChangedBands(const uint8_t *now, const uint8_t *before, const FrameLayout &layout, const ScreenRect *parts,
                      int32_t partCount, BandChange *bands)
{
    int32_t bytesPerPixel = layout.bitsPerPixel / BITS_PER_BYTE;
    bool changed = false;
    for (int32_t p = 0; p < partCount; p++) {
        ScreenRect part = clampToFrame(parts[p], layout);
        int32_t bytes = rectWidth(part) * bytesPerPixel;
        if (bytes <= 0)
            continue;
        size_t start = static_cast<size_t>(part.left) * static_cast<size_t>(bytesPerPixel);
        for (int32_t y = part.top; y < part.bottom; y++) {
            BandChange &band = bands[y / BAND_ROWS];
            // Rows of a band that already spans the part add nothing.
            if (bandChanged(band) && band.left <= part.left && band.right >= part.right)
                continue;
            const uint8_t *rowNow = now + rowOffset(layout, y) + start;
            const uint8_t *rowBefore = before + rowOffset(layout, y) + start;
            if (memcmp(rowNow, rowBefore, static_cast<size_t>(bytes)) == 0)
                continue;
            widenToDifference(rowNow, rowBefore, bytes, bytesPerPixel, part.left, &band);
            changed = true;
        }
    }
    return changed;
}

void keepChangedBands(const uint8_t *now, uint8_t *before, const FrameLayout &layout, const BandChange *bands)
{
    for (int32_t b = 0; b < bandCountOf(layout.height); b++) {
        if (!bandChanged(bands[b]))
            continue;
        int32_t lastRow = std::min(layout.height, (b + 1) * BAND_ROWS) - 1;
        // The band's rows lie together in memory, its last (lowest) row first.
        size_t offset = rowOffset(layout, lastRow);
        size_t rows = static_cast<size_t>(lastRow - b * BAND_ROWS + 1);
        memcpy(before + offset, now + offset, rows * static_cast<size_t>(layout.rowStride));
    }
}

void markAllBands(const FrameLayout &layout, BandChange *bands)
{
    for (int32_t b = 0; b < bandCountOf(layout.height); b++)
        bands[b] = BandChange{0, layout.width};
}

void changedRects(const BandChange *bands, const FrameLayout &layout, RectList *rects)
{
    rects->count = 0;
    rects->overflowed = false;
    int32_t count = bandCountOf(layout.height);
    for (int32_t b = 0; b < count; b++) {
        if (!bandChanged(bands[b]))
            continue;
        ScreenRect run{bands[b].left, b * BAND_ROWS, bands[b].right, 0};
        for (; b < count && bandChanged(bands[b]); b++) {
            run.left = std::min(run.left, bands[b].left);
            run.right = std::max(run.right, bands[b].right);
        }
        run.bottom = std::min(layout.height, b * BAND_ROWS);
        if (rects->count == RECT_LIST_CAPACITY) {
            rects->overflowed = true;
            ScreenRect &last = rects->rects[RECT_LIST_CAPACITY - 1];
            last = ScreenRect{0, last.top, layout.width, layout.height};
            return;
        }
        rects->rects[rects->count++] = run;
    }
}

uint32_t nextCopyWait(const DeskActivity &activity, uint32_t now)
{
    uint32_t sinceCopy = elapsedSince(activity.lastCopy, now);
    if (activity.failedCopies > 0) {
        int32_t doublings = std::min(activity.failedCopies - 1, FAILURE_DOUBLINGS);
        uint32_t backOff = std::min(FRAME_PERIOD_MS << doublings, COPY_FAILURE_WAIT_LIMIT_MS);
        return sinceCopy >= backOff ? 0 : backOff - sinceCopy;
    }
    if (elapsedSince(activity.lastChange, now) < STILL_AFTER_MS || elapsedSince(activity.lastInput, now) < STILL_AFTER_MS)
        return 0;
    if (sinceCopy >= STILL_COPY_PERIOD_MS)
        return 0;
    return std::min(STILL_COPY_PERIOD_MS - sinceCopy, INPUT_CHECK_MS);
}
