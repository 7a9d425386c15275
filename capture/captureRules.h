// The pure decisions of the capture loops: which window counts in a z-order scan,
// the pair rule, the shell case, where the overlay goes in the z-order, the pacing
// wait and the frame rate. No platform headers: window handles are opaque ids that
// the rules only compare. Called on the capture thread; no state, no locks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "textSizes.h"

// A window handle as the rules see it: compared, never dereferenced.
typedef void *WindowId;

constexpr char OVERLAY_TITLE[] = "TALVERO_GRAY";
constexpr size_t OVERLAY_TITLE_LENGTH = sizeof OVERLAY_TITLE - 1;

// Buffers the scan and the loops read class names and titles into.
constexpr int32_t SCAN_CLASS_BUFFER = 64;      // the scan asks for at most 62 characters
constexpr int32_t SCAN_TITLE_BUFFER = 1024;    // at most 1,022 characters
constexpr int32_t FOREGROUND_CLASS_BUFFER = 100;  // at most 98 characters
constexpr int32_t TOP_CLASS_BUFFER = 1024;        // at most 1,022 characters

// The result of one scan of the top-level windows, top of the z-order first.
// Zeroed by the caller before the scan.
struct ZOrderScan {
    int32_t windowCount;   // windows that counted, overlays included
    int32_t topFound;      // 1 once topWindow is taken
    int32_t overlayOnTop;  // 1 when an overlay was met before topWindow
    WindowId topWindow;    // first counted window that is not an overlay
};

// The two scans differ only in whether Mozilla's drop shadow counts.
enum ScanVariant : int32_t { SCAN_FOR_SCREEN = 0, SCAN_FOR_WINDOW = 1 };

// Exact comparison: same length, same characters, case-sensitive.
bool classIs(const char *className, const char *literal);
// The class names for which a window does not count in this variant's scan.
bool isScanIgnoredClass(const char *className, ScanVariant variant);
// An overlay is known by a title that begins with "TALVERO_GRAY".
bool isOverlayTitle(const char *title);

// What the scan read of one window before its title.
struct ScanWindowFacts {
    bool visible;
    bool enabled;
    bool isWindow;
    const char *className;   // empty when it could not be read
};

// Whether the window counts at all (the title is read only when it does).
bool windowCountsInScan(const ScanWindowFacts &facts, ScanVariant variant);
// Adds one counted window to the scan.
void recordCountedWindow(ZOrderScan *scan, WindowId window, const char *title);

// 1 when the foreground and top classes form one of the known pop-up pairs.
int matchesPairRule(const char *foregroundClass, const char *topClass);
// The shell has a pop-up up (taskbar, thumbnails, tooltips ...): leave the overlay low.
bool isShellCase(const char *foregroundClass, const char *topClass);

struct ScreenPoint {
    int32_t x;
    int32_t y;
};

struct ScreenRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

bool pointInsideOrOnEdge(const ScreenRect &area, ScreenPoint point);
bool pointStrictlyInside(const ScreenRect &area, ScreenPoint point);
bool sameRect(const ScreenRect &a, const ScreenRect &b);
int32_t rectWidth(const ScreenRect &rect);
int32_t rectHeight(const ScreenRect &rect);

// The z-order moves a loop can make, applied in the order given.
enum ZOrderMove : int32_t {
    MOVE_RAISE_OVERLAY,           // overlay into the topmost band
    MOVE_LOWER_OVERLAY,           // overlay out of the topmost band
    MOVE_REFRESH_OVERLAY,         // raise then lower: top of the non-topmost windows
    MOVE_TARGET_TO_TOP,
    MOVE_TARGET_UNDER_OVERLAY,
    MOVE_FOREGROUND_TO_TOP,
};

constexpr int32_t MAX_ZORDER_MOVES = 8;

struct ZOrderMoves {
    int32_t count;
    ZOrderMove moves[MAX_ZORDER_MOVES];
};

// What one frame knows when it decides the overlay's place.
struct ZOrderInput {
    ScreenPoint cursor;
    ScreenRect workArea;
    WindowId foreground;          // fg
    WindowId lastForeground;      // fg of the previous frame (this mode's field)
    WindowId target;              // the grayed window (window modes only)
    WindowId overlay;
    WindowId topWindow;           // from the scan
    int32_t overlayOnTop;         // from the scan
    const char *foregroundClass;
    const char *topClass;
};

// The loop's own state between frames.
struct ZOrderState {
    int32_t overlayLowered;   // 1 after the cursor left the work area
    int32_t raiseCounter;     // frames with the foreground window on top
};

// Every how many frames with the foreground on top the overlay is refreshed.
constexpr int32_t REFRESH_EVERY_FRAMES = 30;

// Screen loop: the topmost decisions over the cursor, foreground and top window.
void screenFirstDecision(const ZOrderInput &in, ZOrderState *state, ZOrderMoves *moves);
void screenSecondDecision(const ZOrderInput &in, ZOrderState *state, ZOrderMoves *moves);
// Window loops: the same decisions, moving the target and fg as well.
void windowFirstDecision(const ZOrderInput &in, ZOrderState *state, ZOrderMoves *moves);
void windowSecondDecision(const ZOrderInput &in, ZOrderState *state, ZOrderMoves *moves);

// A window frame is dropped when the windows changed while it was being made:
// another foreground window, or a counted window opened or closed between the
// frame's two scans. Its picture may be stale; the next frame starts at once.
enum FrameFate : int32_t { FRAME_PRESENT, FRAME_DROP };
struct WindowsSeen {
    WindowId foreground;
    int32_t windowCount;   // windowCount of the scan
};
FrameFate windowFrameFate(const WindowsSeen &first, const WindowsSeen &second);

// Pacing: at least this long from one frame's end to the next.
constexpr uint32_t FRAME_PERIOD_MS = 30;

struct PaceWait {
    bool waits;
    uint32_t waitMs;
    uint32_t nextFrameTime;   // what the next frame is timed from
};

// How long to wait after a frame; times are timeGetTime values and may wrap.
// The next frame is timed from when the wait is due to end, not from when it
// really ended: a wait that oversleeps (the timers' granularity) is taken out of
// the next wait, so the loop keeps a 30 ms cadence instead of drifting to 31-32.
// A frame that ends before the last one's due time waits until one period after it.
PaceWait framePacingWait(uint32_t now, uint32_t lastFrameTime);
// The last frame time a run starts with, one period before its start, so that the
// first frame never waits whatever the clock reads (a 0 would be "in the future"
// to the signed comparison once timeGetTime passes 2^31).
uint32_t firstFrameTimeBase(uint32_t start);

// The frame rate is reported once per this many frames.
constexpr uint32_t FRAMES_PER_REPORT = 100;

struct FrameRateCounter {
    uint32_t frameCount;
    uint32_t startTime;
};

// Counts one presented frame; true when a report is due, with *fps filled and
// the counter restarted at now.
bool countFrame(FrameRateCounter *counter, uint32_t now, int32_t *fps);
// Frames per second for FRAMES_PER_REPORT frames in elapsedMs (truncated).
int32_t framesPerSecond(uint32_t elapsedMs);

// The rate counts presented frames only: a frame that found nothing changed is
// not one. So that a still desk does not keep the last busy rate for ever, a
// report is also due once this long has passed, with the frames counted so far.
constexpr uint32_t RATE_REPORT_LONGEST_MS = 5000;
// One pass of the loop, presented or not; true when a report is due, as countFrame.
bool countLoopPass(FrameRateCounter *counter, uint32_t now, bool presented, int32_t *fps);

// The status-bar text of the frame-rate part.
constexpr char FPS_LABEL[] = "FPS: ";
void formatFrameRateText(char *dest, size_t size, int32_t fps);

// Frame buffers. The bitmap's pixels start this far into the mapping.
constexpr uint32_t FRAME_MAPPING_OFFSET = 56;
// The screen mapping is sized width x height x 10 of what the overlay covers; a
// window loop's mapping width x height x 5 of the virtual screen.
constexpr uint32_t SCREEN_MAPPING_BYTES_PER_PIXEL = 10;
constexpr uint32_t WINDOW_MAPPING_BYTES_PER_PIXEL = 5;
uint64_t screenMappingBytes(const ScreenRect &screen);
uint64_t windowMappingBytes(const ScreenRect &desktop);
// Bytes a frame of this size and depth needs, offset included.
uint64_t frameBytesInMapping(int32_t width, int32_t height, int32_t bitsPerPixel);
// Whether such a frame can live in a mapping of mappingBytes (0: no mapping).
bool frameFitsMapping(int32_t width, int32_t height, int32_t bitsPerPixel, uint64_t mappingBytes);

// Focus mode: the hole in the overlay where the window in front keeps its colours,
// in the overlay's own coordinates (a window region's). present 0: no hole (no
// window in front that shows, or one entirely off the overlay).
struct FocusHole {
    int32_t present;
    ScreenRect rect;
};
// The foreground window's rectangle clipped to the overlay's; foregroundShows is
// false for none, a minimised one, or the desktop.
FocusHole focusHoleFor(const ScreenRect &overlay, const ScreenRect &foreground, bool foregroundShows);
// Whether the overlay's region must change: two absent holes are the same.
bool sameFocusHole(const FocusHole &a, const FocusHole &b);
