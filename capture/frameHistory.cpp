// The last copy of a capture run and what a frame finds changed; see frameHistory.h.
#include "frameHistory.h"

#include "appState.h"
#include "gray.h"

static_assert(HABIT_INTENSITY_FULL == GRAY_INTENSITY_FULL, "the habit's intensity is the kernels' percent");

namespace {

bool sameSettings(const GraySettings &a, const GraySettings &b)
{
    return a.convertType == b.convertType && a.grayTone == b.grayTone && a.reverseGray == b.reverseGray;
}

GraySettings settingsNow()
{
    EnterCriticalSection(&appState.settingsLock);
    GraySettings settings = appState.graySettings;
    LeaveCriticalSection(&appState.settingsLock);
    return settings;
}

void *allocate(size_t bytes)
{
    return HeapAlloc(GetProcessHeap(), 0, bytes);
}

void release(void *block)
{
    if (block != nullptr)
        HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace

void fitFrameHistory(FrameHistory *history, const FrameBitmap &frame, int32_t bitsPerPixel)
{
    FrameLayout layout{frame.width, frame.height, bitsPerPixel, dibRowStride(frame.width, bitsPerPixel)};
    size_t bytes = static_cast<size_t>(layout.rowStride) * static_cast<size_t>(layout.height);
    int32_t bandCount = bandCountOf(layout.height);
    if (bytes > history->bytes) {
        release(history->previous);
        history->previous = static_cast<uint8_t *>(allocate(bytes));
        history->bytes = history->previous != nullptr ? bytes : 0;
    }
    if (bandCount > history->bandCapacity) {
        release(history->bands);
        history->bands = static_cast<BandChange *>(allocate(sizeof(BandChange) * static_cast<size_t>(bandCount)));
        history->bandCapacity = history->bands != nullptr ? bandCount : 0;
    }
    history->layout = layout;
    history->valid = false;
}

void releaseFrameHistory(FrameHistory *history)
{
    release(history->previous);
    release(history->bands);
    history->previous = nullptr;
    history->bands = nullptr;
    history->bytes = 0;
    history->bandCapacity = 0;
    history->valid = false;
}

void forgetFrameHistory(FrameHistory *history)
{
    history->valid = false;
}

bool takeFrameChanges(FrameHistory *history, const FrameBitmap &frame, const ScreenRect *parts, int32_t partCount)
{
    const FrameLayout &layout = history->layout;
    GraySettings settings = settingsNow();
    int32_t intensity = InterlockedCompareExchange(&appState.grayIntensity, 0, 0);
    bool remembers = history->previous != nullptr && history->bands != nullptr && layout.width == frame.width &&
                     layout.height == frame.height;
    // The overlay was told to paint itself: what it held may be gone.
    bool repaint = InterlockedExchange(&appState.overlayNeedsPaint, 0) != 0;
    if (!remembers) {
        // Without memory for the last copy, every frame is converted and presented whole.
        history->changed.count = 1;
        history->changed.rects[0] = ScreenRect{0, 0, frame.width, frame.height};
        history->settings = settings;
        history->intensity = intensity;
        history->activity.lastChange = GetTickCount();
        return true;
    }
    ZeroMemory(history->bands, sizeof(BandChange) * static_cast<size_t>(bandCountOf(layout.height)));
    bool sameGray = sameSettings(settings, history->settings) && intensity == history->intensity;
    if (!history->valid || repaint || !sameGray) {
        // Shown whole again, though the desk need not have changed: a fade's steps
        // must not keep a still desk looked at at the full rate.
        markAllBands(layout, history->bands);
    } else if (!findChangedBands(frame.pixels, history->previous, layout, parts, partCount, history->bands)) {
        return false;
    } else {
        history->activity.lastChange = GetTickCount();
    }
    keepChangedBands(frame.pixels, history->previous, layout, history->bands);
    changedRects(history->bands, layout, &history->changed);
    history->settings = settings;
    history->intensity = intensity;
    history->valid = true;
    return true;
}

bool convertFrameChanges(const FrameHistory &history, const FrameBitmap &frame)
{
    const GraySettings &s = history.settings;
    int32_t bitsPerPixel = history.layout.bitsPerPixel;
    int32_t stride = dibRowStride(frame.width, bitsPerPixel);
    for (int32_t i = 0; i < history.changed.count; i++) {
        const ScreenRect &rect = history.changed.rects[i];
        // Whole rows: the rows of a rectangle lie together in memory, lowest first.
        uint8_t *rows = frame.pixels + static_cast<size_t>(frame.height - rect.bottom) * static_cast<size_t>(stride);
        if (!convertFrameIntensity(rows, frame.width, rectHeight(rect), bitsPerPixel, s.convertType, s.grayTone,
                                   s.reverseGray, history.intensity))
            return false;
    }
    return true;
}

uint32_t waitBeforeCopy(FrameHistory *history)
{
    LASTINPUTINFO input = {};
    input.cbSize = sizeof input;
    if (GetLastInputInfo(&input))
        history->activity.lastInput = input.dwTime;
    return nextCopyWait(history->activity, GetTickCount());
}

void startDeskActivity(FrameHistory *history)
{
    DWORD now = GetTickCount();
    history->activity = DeskActivity{now, now, now, 0};
}

void noteCopy(FrameHistory *history, bool copied)
{
    history->activity.failedCopies = copied ? 0 : history->activity.failedCopies + 1;
    history->activity.lastCopy = GetTickCount();
}
