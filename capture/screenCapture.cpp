// The capture thread of the screen, focus, monitor and rules modes: copies what
// the overlay covers (every monitor's work area, or one monitor's), grays it and
// paints it into the overlay, keeping the overlay's z-order place right. The
// overlay's region leaves out the visible parts of the windows kept in colour (by
// a program rule, or in the focus mode the window in front); in the rules mode it
// holds only the visible parts of the windows of programs ruled gray. When the
// monitors change, the overlay, its region and the frame buffer follow; a monitor
// mode whose monitor is gone ends. A full-screen window in front (a film, a game)
// leaves its monitor out of the region while it is. Runs on its own thread; see
// captureLoops.h.
#include <windows.h>

#include <cstring>

#include "appState.h"
#include "boundedText.h"
#include "captureLoops.h"
#include "captureRun.h"
#include "frontWindow.h"
#include "gray.h"
#include "overlayShape.h"
#include "retry.h"
#include "ruledWindows.h"

namespace {

// What a screen loop keeps besides the run. The frame buffer always has the
// size of cover.place: the two change together.
struct ScreenShape {
    CoverKind kind;
    bool cutsFocusHole;
    char monitorName[MONITOR_NAME_BYTES];   // the monitor mode's monitor
    OverlayCover cover;
    FocusHole hole;      // where the window in front was when the region was set
    HWND front;          // the focus mode's window in front (never the overlay nor a passing window)
    int32_t colourMonitor;   // the monitor a full-screen window leaves in colour (-1: none), as last set
    RuledWindows ruled;  // the windows on screen and their programs' rules
    RectList parts;      // what the overlay shows, as last set
    bool regionStale;    // the region must be set again (a new cover, or a try that failed)
    bool coverPending;   // the monitors changed, but the old frame buffer could not be released yet
};

// Copies each covered part of the screen into its place in the frame buffer,
// through the screen's context, which spans every monitor in screen coordinates
// (a display device's own context starts at its monitor's corner). False when a
// part could not be copied (the secure desktop, a lock): the frame is given up,
// not retried, and the wait before the next grows with each failure.
bool copyScreen(const OverlayCover &cover)
{
    HDC screenDC = GetDC(nullptr);
    if (screenDC == nullptr)
        return false;
    bool copied = true;
    for (int32_t i = 0; i < cover.partCount && copied; i++) {
        const ScreenRect &part = cover.parts[i];
        // SRCCOPY alone: on Windows the layered overlay is left out of the copy.
        copied = BitBlt(appState.memoryDC, part.left - cover.place.left, part.top - cover.place.top,
                        rectWidth(part), rectHeight(part), screenDC, part.left, part.top, SRCCOPY) != FALSE;
    }
    retryCall(FRAME_RETRIES, [&] { return ReleaseDC(nullptr, screenDC) == 1; });
    return copied;
}

// The cover's parts in frame coordinates: what a copy fills.
int32_t partsInFrame(const OverlayCover &cover, ScreenRect *parts)
{
    for (int32_t i = 0; i < cover.partCount; i++) {
        const ScreenRect &part = cover.parts[i];
        parts[i] = ScreenRect{part.left - cover.place.left, part.top - cover.place.top, part.right - cover.place.left,
                              part.bottom - cover.place.top};
    }
    return cover.partCount;
}

// Paints the changed rectangles of the frame that lie under the overlay into it.
void presentUnderOverlay(HWND overlay, const ScreenRect &frameOrigin, const RectList &changed)
{
    ScreenRect place = windowRect(overlay, nullptr);
    HDC overlayDC = GetDC(overlay);
    if (overlayDC == nullptr)
        return;
    int32_t dx = frameOrigin.left - place.left;
    int32_t dy = frameOrigin.top - place.top;
    for (int32_t i = 0; i < changed.count; i++) {
        const ScreenRect &rect = changed.rects[i];
        BitBlt(overlayDC, rect.left + dx, rect.top + dy, rectWidth(rect), rectHeight(rect), appState.memoryDC,
               rect.left, rect.top, SRCCOPY);
    }
    ReleaseDC(overlay, overlayDC);
}

// Both topmost decisions of one frame, applied, with the work area of the monitor
// under the cursor.
void placeOverlay(CaptureRun *run, ScreenPoint cursor, HWND foreground)
{
    char foregroundClass[FOREGROUND_CLASS_BUFFER];
    readClassName(foreground, foregroundClass, FOREGROUND_CLASS_BUFFER);
    ZOrderScan scan{};
    EnumWindows(screenScanProc, reinterpret_cast<LPARAM>(&scan));
    char topClass[TOP_CLASS_BUFFER];
    readClassName(static_cast<HWND>(scan.topWindow), topClass, TOP_CLASS_BUFFER);

    ZOrderInput in{};
    in.cursor = cursor;
    in.workArea = workAreaUnderPoint(run->layout, cursor);
    in.foreground = foreground;
    in.lastForeground = appState.lastForeground;
    in.target = run->target;
    in.overlay = run->overlay;
    in.topWindow = scan.topWindow;
    in.overlayOnTop = scan.overlayOnTop;
    in.foregroundClass = foregroundClass;
    in.topClass = topClass;
    ZOrderMoves moves{};
    screenFirstDecision(in, &run->zOrder, &moves);
    screenSecondDecision(in, &run->zOrder, &moves);
    applyZOrderMoves(moves, run->overlay, run->target, foreground);
}

// The run's cover in this layout; false in the monitor mode once its monitor is gone.
bool coverInLayout(const MonitorLayout &layout, const ScreenShape &shape, OverlayCover *cover)
{
    if (shape.kind == COVER_ALL_MONITORS) {
        *cover = coverAllMonitors(layout);
    } else {
        int32_t index = monitorNamed(layout, shape.monitorName);
        if (index < 0)
            return false;
        *cover = coverOneMonitor(layout, index);
    }
    return rectWidth(cover->place) > 0 && rectHeight(cover->place) > 0;
}

// Moving a window costs Wine a round of messages: only when it is elsewhere.
void moveOverlayTo(HWND overlay, const ScreenRect &place)
{
    if (sameRect(windowRect(overlay, nullptr), place))
        return;
    SetWindowPos(overlay, nullptr, place.left, place.top, rectWidth(place), rectHeight(place),
                 SWP_NOZORDER | OVERLAY_MOVE_FLAGS);
}

// The monitors changed: the overlay and the frame buffer follow the new cover.
// False when the run must end (its monitor is gone, or no frame buffer can be built).
bool followLayout(CaptureRun *run, ScreenShape *shape)
{
    OverlayCover cover = {};
    if (!coverInLayout(run->layout, *shape, &cover))
        return false;
    if (sameCover(cover, shape->cover))
        return true;
    if (rectWidth(cover.place) != run->frame.width || rectHeight(cover.place) != run->frame.height) {
        // The old buffer and cover stay until the old buffer can be released.
        shape->coverPending = releaseFrameBitmap(&run->frame) < 0;
        if (shape->coverPending)
            return true;
        if (!buildFrameBuffer(run, cover.place))
            return false;
    }
    shape->cover = cover;
    shape->regionStale = true;
    moveOverlayTo(run->overlay, cover.place);
    return true;
}

// Takes the monitor of a full-screen window out of the parts; true when it held
// some. A list that overflows on the cut falls back to what overlayParts shows on
// an overflow, less that monitor: the cover's few parts cannot overflow.
bool cutColourMonitor(ScreenShape *shape, const ScreenRect &monitor)
{
    RectList &parts = shape->parts;
    bool cut = subtractRect(&parts, monitor);
    if (!parts.overflowed)
        return cut;
    parts.count = 0;
    parts.overflowed = false;
    for (int32_t i = 0; !shape->ruled.rulesMode && i < shape->cover.partCount; i++)
        parts.rects[parts.count++] = shape->cover.parts[i];
    subtractRect(&parts, monitor);
    return true;
}

// The parts the overlay shows: what it covers, less the visible parts of the
// windows kept in colour (in the rules mode: only those of the windows to gray).
// true when the overlay shows all of itself.
bool partsToShow(ScreenShape *shape, bool readsWindows, const MonitorLayout &layout)
{
    const OverlayCover &cover = shape->cover;
    if (!readsWindows)
        shape->ruled.now.stack.count = 0;   // not read: no window takes a role
    // The window in front keeps its colours as far as it shows (in its stack place).
    WindowStack &stack = shape->ruled.now.stack;
    int32_t front = shape->hole.present ? stackIndexOf(shape->ruled, shape->front) : -1;
    int32_t role = front >= 0 ? stack.windows[front].role : ROLE_PLAIN;
    if (front >= 0)
        stack.windows[front].role = ROLE_KEEP_COLOUR;
    bool untouched = overlayParts(cover, stack, shape->ruled.rulesMode, &shape->parts);
    if (front >= 0)
        stack.windows[front].role = role;
    if (shape->colourMonitor >= 0 && cutColourMonitor(shape, layout.monitors[shape->colourMonitor]))
        untouched = false;
    return untouched && !cover.needsRegion;
}

// The region, set again only in frames where what it shows may have changed: the
// windows on screen or their places, the rules, the window in front.
void keepRegion(CaptureRun *run, ScreenShape *shape, HWND foreground)
{
    bool rulesChanged = refreshRules(&shape->ruled);
    // The overlay is shown without activation; should something still bring it to
    // the front, it is no window to keep in colour: the one before it stays, as it
    // does while a menu, the Start menu or Alt+Tab is in front.
    if (foreground != run->overlay && !isPassingFrontWindow(foreground))
        shape->front = foreground;
    int32_t colourMonitor = fullScreenColourMonitor(run->layout, foreground, run->overlay);
    FocusHole hole = {};
    if (shape->cutsFocusHole)
        hole = holeForForeground(shape->front, shape->cover);
    bool readsWindows = shape->cutsFocusHole || rulesMatter(shape->ruled);
    bool windowsChanged = readsWindows && readRuledWindows(&shape->ruled, run->overlay);
    if (!shape->regionStale && !rulesChanged && !windowsChanged && sameFocusHole(hole, shape->hole) &&
        colourMonitor == shape->colourMonitor)
        return;
    shape->hole = hole;
    shape->colourMonitor = colourMonitor;
    bool whole = partsToShow(shape, readsWindows, run->layout);
    // A region that could not be set leaves the old one; the next frame tries again.
    shape->regionStale = !applyOverlayRegion(run->overlay, shape->cover.place, shape->parts, whole);
    // Parts the overlay did not show before hold no picture yet.
    forgetFrameHistory(&run->history);
}

// A full-screen window fills all the overlay shows: nothing is copied meanwhile,
// and a film or a game keeps the processor. A frame whose region could not be
// set copies as before.
bool filmFillsCover(const ScreenShape &shape)
{
    return shape.colourMonitor >= 0 && shape.parts.count == 0 && !shape.regionStale;
}

// The frame loop; returns when a stop was requested, no kernel fits or the
// monitors left the run nothing to cover.
void runScreenFrames(CaptureRun *run, ScreenShape *shape)
{
    for (;;) {
        if (!waitForCopy(run))
            return;
        if ((monitorLayoutChanged(run) || shape->coverPending) && !followLayout(run, shape))
            return;
        ScreenPoint cursor = cursorPosition();
        HWND foreground = GetForegroundWindow();
        placeOverlay(run, cursor, foreground);
        keepRegion(run, shape, foreground);
        appState.lastForeground = foreground;
        if (filmFillsCover(*shape)) {
            paceAndCountFrame(run, false);
            if (stopWasRequested())
                return;
            continue;
        }
        bool copied = copyScreen(shape->cover);
        ScreenRect parts[MONITOR_CAPACITY];
        int32_t partCount = partsInFrame(shape->cover, parts);
        bool noKernel = false;
        bool presents = convertCopiedFrame(run, copied, parts, partCount, &noKernel);
        if (noKernel)
            return;
        if (presents && IsIconic(run->target))
            forgetFrameHistory(&run->history);   // not shown: the next frame shows all
        else if (presents)
            presentUnderOverlay(run->overlay, shape->cover.place, run->history.changed);
        paceAndCountFrame(run, presents);
        if (stopWasRequested())
            return;
    }
}

// The cover the run starts with. The monitor mode keeps the monitor its overlay
// thread laid the overlay on, known from now on by its device name.
bool startingCover(CaptureRun *run, ScreenShape *shape)
{
    if (shape->kind == COVER_ONE_MONITOR) {
        ScreenRect place = windowRect(run->overlay, nullptr);
        ScreenPoint centre = {place.left + rectWidth(place) / 2, place.top + rectHeight(place) / 2};
        int32_t index = monitorUnderPoint(run->layout, centre);
        if (index < 0)
            return false;
        copyText(shape->monitorName, run->layout.names[index]);
    }
    if (!coverInLayout(run->layout, *shape, &shape->cover))
        return false;
    // A new overlay has no region: one is needed only where the parts leave gaps,
    // and in the rules mode, whose overlay shows only what the rules gray.
    shape->regionStale = shape->cover.needsRegion || shape->ruled.rulesMode;
    return true;
}

unsigned runScreenCapture(void *start, CoverKind kind, bool focusMode, bool rulesMode)
{
    CaptureRun run;
    beginCaptureRun(&run);
    run.referenceWindow = GetDesktopWindow();
    run.referenceDC = GetDC(run.referenceWindow);
    takeCaptureStart(&run, start);
    readDisplayDepth(&run);

    ScreenShape shape = {};
    shape.kind = kind;
    shape.cutsFocusHole = focusMode;
    shape.ruled.rulesMode = rulesMode;
    shape.colourMonitor = -1;
    if (!startingCover(&run, &shape)) {
        endCaptureRun(&run);
        return 0;
    }
    openFrameMapping(&run, screenMappingBytes(shape.cover.place));
    if (!buildFrameBuffer(&run, shape.cover.place)) {
        endCaptureRun(&run);
        return 0;
    }

    startFrameClock(&run);
    memset(run.frame.pixels, 0,
           static_cast<size_t>(dibRowStride(run.frame.width, run.bitsPerPixel)) * static_cast<size_t>(run.frame.height));
    // The overlay stays where its thread laid it: a frame paints what lies under
    // it. Only a change of the monitors moves it.
    raiseOverlay(run.overlay);
    // The focus mode leaves the user's window in front (its overlay was shown
    // without activation): that is the window it keeps in colour.
    if (!focusMode)
        SetForegroundWindow(appState.mainWindow);

    runScreenFrames(&run, &shape);
    endCaptureRun(&run);
    return 0;
}

}  // namespace

unsigned __stdcall screenCaptureMain(void *start)
{
    return runScreenCapture(start, COVER_ALL_MONITORS, false, false);
}

unsigned __stdcall focusCaptureMain(void *start)
{
    return runScreenCapture(start, COVER_ALL_MONITORS, true, false);
}

unsigned __stdcall monitorCaptureMain(void *start)
{
    return runScreenCapture(start, COVER_ONE_MONITOR, false, false);
}

unsigned __stdcall rulesCaptureMain(void *start)
{
    return runScreenCapture(start, COVER_ALL_MONITORS, false, true);
}
