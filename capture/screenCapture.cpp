// The capture thread of the screen, focus and monitor modes: copies what the
// overlay covers (every monitor's work area, or one monitor's), grays it and
// paints it into the overlay, keeping the overlay's z-order place right. The focus
// mode also keeps a hole in the overlay over the window in front. When the
// monitors change, the overlay, its region and the frame buffer follow; a monitor
// mode whose monitor is gone ends. Runs on its own thread; see captureLoops.h.
#include <windows.h>

#include <cstring>

#include "appState.h"
#include "boundedText.h"
#include "captureLoops.h"
#include "captureRun.h"
#include "gray.h"
#include "overlayShape.h"
#include "retry.h"

namespace {

// What a screen loop keeps besides the run. The frame buffer always has the
// size of cover.place: the two change together.
struct ScreenShape {
    CoverKind kind;
    bool cutsFocusHole;
    char monitorName[MONITOR_NAME_BYTES];   // the monitor mode's monitor
    OverlayCover cover;
    FocusHole hole;
    bool regionStale;    // the region must be set again (a new cover, or a try that failed)
    bool coverPending;   // the monitors changed, but the old frame buffer could not be released yet
};

// Copies each covered part of the screen into its place in the frame buffer,
// through the screen's context, which spans every monitor in screen coordinates
// (a display device's own context starts at its monitor's corner).
void copyScreen(const OverlayCover &cover)
{
    HDC screenDC = nullptr;
    if (!retryCall(FRAME_RETRIES, [&] {
            screenDC = GetDC(nullptr);
            return screenDC != nullptr;
        }))
        return;   // the frame goes on with what the buffer holds
    for (int32_t i = 0; i < cover.partCount; i++) {
        const ScreenRect &part = cover.parts[i];
        // SRCCOPY alone: on Windows the layered overlay is left out of the copy.
        retryCall(FRAME_RETRIES, [&] {
            return BitBlt(appState.memoryDC, part.left - cover.place.left, part.top - cover.place.top,
                          rectWidth(part), rectHeight(part), screenDC, part.left, part.top, SRCCOPY) != FALSE;
        });
    }
    retryCall(FRAME_RETRIES, [&] { return ReleaseDC(nullptr, screenDC) == 1; });
}

// Paints the part of the frame that lies under the overlay into it.
void presentUnderOverlay(HWND overlay, const ScreenRect &frameOrigin)
{
    ScreenRect place = windowRect(overlay, nullptr);
    HDC overlayDC = GetDC(overlay);
    if (overlayDC == nullptr)
        return;
    BitBlt(overlayDC, 0, 0, rectWidth(place), rectHeight(place), appState.memoryDC, place.left - frameOrigin.left,
           place.top - frameOrigin.top, SRCCOPY);
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

// The region: the covered work areas, less the focus mode's hole; set again only
// when it changes.
void keepRegion(CaptureRun *run, ScreenShape *shape, HWND foreground)
{
    FocusHole hole = {};
    if (shape->cutsFocusHole)
        hole = holeForForeground(run->overlay, foreground, shape->cover, shape->hole);
    if (!shape->regionStale && sameFocusHole(hole, shape->hole))
        return;
    // A region that could not be set leaves the old one; the next frame tries again.
    if (applyOverlayRegion(run->overlay, shape->cover, hole)) {
        shape->hole = hole;
        shape->regionStale = false;
    }
}

// The frame loop; returns when a stop was requested, no kernel fits or the
// monitors left the run nothing to cover.
void runScreenFrames(CaptureRun *run, ScreenShape *shape)
{
    for (;;) {
        if ((monitorLayoutChanged(run) || shape->coverPending) && !followLayout(run, shape))
            return;
        ScreenPoint cursor = cursorPosition();
        HWND foreground = GetForegroundWindow();
        placeOverlay(run, cursor, foreground);
        keepRegion(run, shape, foreground);
        appState.lastForeground = foreground;
        copyScreen(shape->cover);
        if (!convertCapturedFrame(run))
            return;
        if (!IsIconic(run->target))
            presentUnderOverlay(run->overlay, shape->cover.place);
        paceAndCountFrame(run);
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
    // A new overlay has no region: one is needed only where the parts leave gaps.
    shape->regionStale = shape->cover.needsRegion;
    return true;
}

unsigned runScreenCapture(void *start, CoverKind kind, bool focusMode)
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
    return runScreenCapture(start, COVER_ALL_MONITORS, false);
}

unsigned __stdcall focusCaptureMain(void *start)
{
    return runScreenCapture(start, COVER_ALL_MONITORS, true);
}

unsigned __stdcall monitorCaptureMain(void *start)
{
    return runScreenCapture(start, COVER_ONE_MONITOR, false);
}
