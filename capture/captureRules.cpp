// The pure rules of the capture loops (see captureRules.h): tables of class
// names, the scan step, the pair rule and the z-order, pacing and rate decisions.
#include "captureRules.h"

#include <cstring>

#include "boundedText.h"

namespace {

// Windows of these classes do not count in a scan, tested in this order; the
// screen scan stops before the last entry and lets Mozilla's drop shadow count.
const char *const scanIgnoredClasses[] = {
    "Alternate Owner", "TaskListOverlayWnd", "DV2ControlHost", "BaseBar",
    "#32768", "#32769", "#32770", "#32771", "#32772", "#32774",
    "Progman", "ComboLBox", "DDEMLEvent", "Message", "Button", "ComboBox",
    "ListBox", "MDIClient", "ScrollBar", "Static", "SynTrackCursorWindowClass",
    "Shell_TrayWnd", "WorkerW", "screenClass", "gdkWindowTemp", "MsoCommandBarShadow",
    "MozillaDropShadowWindowClass",
};
constexpr size_t WINDOW_SCAN_IGNORED_COUNT = sizeof scanIgnoredClasses / sizeof scanIgnoredClasses[0];
constexpr size_t SCREEN_SCAN_IGNORED_COUNT = WINDOW_SCAN_IGNORED_COUNT - 1;

// With one of these in the foreground the shell owns the screen for a moment.
// "TaskListOverlayWnd" is meant here too: it is the taskbar's own pop-up layer.
const char *const shellClasses[] = {
    "tooltips_class32", "SysShadow", "TaskListThumbnailWnd", "DV2ControlHost",
    "Shell_TrayWnd", "BaseBar", "TaskListOverlayWnd",
};

constexpr char THUMBNAIL_CLASS[] = "TaskListThumbnailWnd";
constexpr char CHROME_CLASS_PREFIX[] = "Chrome_WidgetWin";
constexpr size_t CHROME_CLASS_PREFIX_LENGTH = sizeof CHROME_CLASS_PREFIX - 1;
constexpr size_t CHROME_CLASS_LENGTH = CHROME_CLASS_PREFIX_LENGTH + 2;   // "Chrome_WidgetWin_1"

bool isChromeWidgetClass(const char *className)
{
    return strlen(className) == CHROME_CLASS_LENGTH &&
           strncmp(className, CHROME_CLASS_PREFIX, CHROME_CLASS_PREFIX_LENGTH) == 0;
}

bool isTargetOrOverlay(const ZOrderInput &in)
{
    return in.foreground == in.target || in.foreground == in.overlay;
}

void addMove(ZOrderMoves *moves, ZOrderMove move)
{
    if (moves->count < MAX_ZORDER_MOVES)
        moves->moves[moves->count++] = move;
}

// The foreground window is on top: count the frame, and refresh the overlay when
// it is not on top or every REFRESH_EVERY_FRAMES frames, except over thumbnails.
void foregroundOnTop(const ZOrderInput &in, ZOrderState *state, ZOrderMoves *moves)
{
    state->raiseCounter++;
    if (classIs(in.topClass, THUMBNAIL_CLASS)) {
        addMove(moves, MOVE_LOWER_OVERLAY);
    } else if (in.overlayOnTop == 0 || state->raiseCounter % REFRESH_EVERY_FRAMES == 0) {
        state->raiseCounter = 0;
        addMove(moves, MOVE_REFRESH_OVERLAY);
    }
}

}  // namespace

bool classIs(const char *className, const char *literal)
{
    return strcmp(className, literal) == 0;
}

bool isScanIgnoredClass(const char *className, ScanVariant variant)
{
    size_t count = variant == SCAN_FOR_SCREEN ? SCREEN_SCAN_IGNORED_COUNT : WINDOW_SCAN_IGNORED_COUNT;
    for (size_t i = 0; i < count; i++) {
        if (classIs(className, scanIgnoredClasses[i]))
            return true;
    }
    return false;
}

bool isOverlayTitle(const char *title)
{
    return strncmp(title, OVERLAY_TITLE, OVERLAY_TITLE_LENGTH) == 0;
}

bool windowCountsInScan(const ScanWindowFacts &facts, ScanVariant variant)
{
    if (!facts.visible || !facts.enabled || !facts.isWindow)
        return false;
    if (facts.className == nullptr || facts.className[0] == '\0')
        return false;
    return !isScanIgnoredClass(facts.className, variant);
}

void recordCountedWindow(ZOrderScan *scan, WindowId window, const char *title)
{
    bool overlay = isOverlayTitle(title);
    if (!overlay && scan->topFound == 0) {
        scan->topWindow = window;
        scan->topFound = 1;
    }
    if (overlay && scan->topFound == 0)
        scan->overlayOnTop = 1;
    scan->windowCount++;
}

int matchesPairRule(const char *foregroundClass, const char *topClass)
{
    bool pair = (classIs(foregroundClass, "IEFrame") && classIs(topClass, "tooltips_class32")) ||
                (classIs(foregroundClass, "IEFrame") && classIs(topClass, "IEFrame")) ||
                (isChromeWidgetClass(foregroundClass) && isChromeWidgetClass(topClass)) ||
                (classIs(topClass, THUMBNAIL_CLASS) && classIs(foregroundClass, THUMBNAIL_CLASS)) ||
                classIs(topClass, "VsTipWindow") || classIs(topClass, "SysShadow") ||
                classIs(topClass, "tooltips_class32") || classIs(foregroundClass, "#32770");
    return pair ? 1 : 0;
}

bool isShellCase(const char *foregroundClass, const char *topClass)
{
    for (const char *shellClass : shellClasses) {
        if (classIs(foregroundClass, shellClass))
            return true;
    }
    return classIs(topClass, THUMBNAIL_CLASS);
}

bool pointInsideOrOnEdge(const ScreenRect &area, ScreenPoint point)
{
    return area.left <= point.x && point.x <= area.right && area.top <= point.y && point.y <= area.bottom;
}

bool pointStrictlyInside(const ScreenRect &area, ScreenPoint point)
{
    return area.left < point.x && point.x < area.right && area.top < point.y && point.y < area.bottom;
}

bool sameRect(const ScreenRect &a, const ScreenRect &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

int32_t rectWidth(const ScreenRect &rect) { return rect.right - rect.left; }
int32_t rectHeight(const ScreenRect &rect) { return rect.bottom - rect.top; }

void screenFirstDecision(const ZOrderInput &in, ZOrderState *state, ZOrderMoves *moves)
{
    bool shell = isShellCase(in.foregroundClass, in.topClass);
    if (!pointInsideOrOnEdge(in.workArea, in.cursor)) {
        addMove(moves, MOVE_LOWER_OVERLAY);
        state->overlayLowered = 1;
        if (!shell && in.foreground != in.lastForeground)
            addMove(moves, MOVE_RAISE_OVERLAY);
    } else if (state->overlayLowered == 1 && !shell) {
        addMove(moves, MOVE_RAISE_OVERLAY);
        state->overlayLowered = 0;
    }
}

void screenSecondDecision(const ZOrderInput &in, ZOrderState *state, ZOrderMoves *moves)
{
    // No window in front: the front is changing hands (a new overlay gives it to the
    // main window just before the first frame), and the next frame sees the taker.
    if (!pointStrictlyInside(in.workArea, in.cursor) || in.foreground == nullptr)
        return;
    if (in.foreground == in.topWindow)
        foregroundOnTop(in, state, moves);
    else if (in.foreground != in.overlay && in.topWindow != in.overlay)
        addMove(moves, MOVE_LOWER_OVERLAY);
}

void windowFirstDecision(const ZOrderInput &in, ZOrderState *state, ZOrderMoves *moves)
{
    bool shell = isShellCase(in.foregroundClass, in.topClass);
    if (!pointInsideOrOnEdge(in.workArea, in.cursor)) {
        addMove(moves, MOVE_LOWER_OVERLAY);
        state->overlayLowered = 1;
        if (!shell && in.foreground != in.lastForeground) {
            addMove(moves, MOVE_LOWER_OVERLAY);
            if (isTargetOrOverlay(in)) {
                addMove(moves, MOVE_RAISE_OVERLAY);
                addMove(moves, MOVE_TARGET_TO_TOP);
                addMove(moves, MOVE_LOWER_OVERLAY);
            }
        }
    } else if (state->overlayLowered == 1 && !shell) {
        if (isTargetOrOverlay(in)) {
            addMove(moves, MOVE_RAISE_OVERLAY);
            addMove(moves, MOVE_TARGET_TO_TOP);
        }
        state->overlayLowered = 0;
    }
}

void windowSecondDecision(const ZOrderInput &in, ZOrderState *state, ZOrderMoves *moves)
{
    if (!pointStrictlyInside(in.workArea, in.cursor))
        return;
    if (isTargetOrOverlay(in)) {
        if (in.foreground == in.topWindow)
            foregroundOnTop(in, state, moves);
        else if (in.foreground != in.overlay && in.topWindow != in.overlay)
            addMove(moves, MOVE_LOWER_OVERLAY);
        return;
    }
    addMove(moves, MOVE_LOWER_OVERLAY);
    if (in.foreground == in.topWindow)
        addMove(moves, MOVE_FOREGROUND_TO_TOP);
    if (matchesPairRule(in.foregroundClass, in.topClass) == 0)
        addMove(moves, MOVE_TARGET_UNDER_OVERLAY);
}

FrameFate windowFrameFate(const WindowsSeen &first, const WindowsSeen &second)
{
    if (first.foreground != second.foreground || first.windowCount != second.windowCount)
        return FRAME_DROP;
    return FRAME_PRESENT;
}

PaceWait framePacingWait(uint32_t now, uint32_t lastFrameTime)
{
    uint32_t due = lastFrameTime + FRAME_PERIOD_MS;
    // A signed difference: the clock may read a little earlier than the last
    // frame's due time (the wait returned early), and timeGetTime wraps.
    int32_t left = static_cast<int32_t>(due - now);
    if (left > 0)
        return PaceWait{true, static_cast<uint32_t>(left), due};
    return PaceWait{false, 0, now};
}

uint32_t firstFrameTimeBase(uint32_t start)
{
    return start - FRAME_PERIOD_MS;
}

int32_t framesPerSecond(uint32_t elapsedMs)
{
    constexpr uint32_t MS_PER_SECOND = 1000;
    // A timer that did not move would divide by zero: count it as 1 ms.
    uint32_t divisor = elapsedMs == 0 ? 1 : elapsedMs;
    return static_cast<int32_t>(FRAMES_PER_REPORT * MS_PER_SECOND / divisor);
}

bool countFrame(FrameRateCounter *counter, uint32_t now, int32_t *fps)
{
    counter->frameCount++;
    if (counter->frameCount < FRAMES_PER_REPORT)
        return false;
    counter->frameCount = 0;
    *fps = framesPerSecond(now - counter->startTime);
    counter->startTime = now;
    return true;
}

bool countLoopPass(FrameRateCounter *counter, uint32_t now, bool presented, int32_t *fps)
{
    if (presented && countFrame(counter, now, fps))
        return true;
    uint32_t elapsed = now - counter->startTime;
    if (elapsed < RATE_REPORT_LONGEST_MS)
        return false;
    constexpr uint64_t MS_PER_SECOND = 1000;
    *fps = static_cast<int32_t>(counter->frameCount * MS_PER_SECOND / elapsed);
    *counter = FrameRateCounter{0, now};
    return true;
}

void formatFrameRateText(char *dest, size_t size, int32_t fps)
{
    formatTextN(dest, size, "%s%d", FPS_LABEL, fps);
}

uint64_t screenMappingBytes(const ScreenRect &screen)
{
    // Width and height, not right and bottom: a cover may start left of or above
    // the primary monitor, at negative coordinates.
    if (rectWidth(screen) <= 0 || rectHeight(screen) <= 0)
        return 0;
    return static_cast<uint64_t>(rectWidth(screen)) * static_cast<uint64_t>(rectHeight(screen)) *
           SCREEN_MAPPING_BYTES_PER_PIXEL;
}

uint64_t windowMappingBytes(const ScreenRect &desktop)
{
    if (rectWidth(desktop) <= 0 || rectHeight(desktop) <= 0)
        return 0;
    return static_cast<uint64_t>(rectWidth(desktop)) * static_cast<uint64_t>(rectHeight(desktop)) *
           WINDOW_MAPPING_BYTES_PER_PIXEL;
}

uint64_t frameBytesInMapping(int32_t width, int32_t height, int32_t bitsPerPixel)
{
    constexpr uint64_t BITS_PER_ROW_UNIT = 32;
    constexpr uint64_t BYTES_PER_ROW_UNIT = 4;
    if (width <= 0 || height <= 0 || bitsPerPixel <= 0)
        return 0;
    uint64_t stride = (static_cast<uint64_t>(width) * static_cast<uint64_t>(bitsPerPixel) + BITS_PER_ROW_UNIT - 1) /
                      BITS_PER_ROW_UNIT * BYTES_PER_ROW_UNIT;
    return FRAME_MAPPING_OFFSET + stride * static_cast<uint64_t>(height);
}

bool frameFitsMapping(int32_t width, int32_t height, int32_t bitsPerPixel, uint64_t mappingBytes)
{
    uint64_t needed = frameBytesInMapping(width, height, bitsPerPixel);
    return mappingBytes != 0 && needed != 0 && needed <= mappingBytes;
}

FocusHole focusHoleFor(const ScreenRect &overlay, const ScreenRect &foreground, bool foregroundShows)
{
    FocusHole hole = {};
    if (!foregroundShows)
        return hole;
    int32_t left = foreground.left > overlay.left ? foreground.left : overlay.left;
    int32_t top = foreground.top > overlay.top ? foreground.top : overlay.top;
    int32_t right = foreground.right < overlay.right ? foreground.right : overlay.right;
    int32_t bottom = foreground.bottom < overlay.bottom ? foreground.bottom : overlay.bottom;
    if (right <= left || bottom <= top)
        return hole;
    hole.present = 1;
    hole.rect = {left - overlay.left, top - overlay.top, right - overlay.left, bottom - overlay.top};
    return hole;
}

bool sameFocusHole(const FocusHole &a, const FocusHole &b)
{
    if (a.present != b.present)
        return false;
    return a.present == 0 || (a.rect.left == b.rect.left && a.rect.top == b.rect.top && a.rect.right == b.rect.right &&
                              a.rect.bottom == b.rect.bottom);
}
