// The window modes' capture threads: foreground mode follows whatever window is
// in front, selected mode keeps the window picked from the list. Each copies its
// target's own pixels, grays them and lays the overlay exactly over the target.
// Runs on its own thread; see captureLoops.h for how it starts and ends.
#include <windows.h>

#include "appState.h"
#include "captureLoops.h"
#include "captureRun.h"
#include "frontWindow.h"
#include "overlayShape.h"
#include "retry.h"

namespace {

constexpr DWORD NO_TARGET_SLEEP_MS = 100;   // no usable foreground window yet

enum FrameResult { FRAME_NEXT, FRAME_END_RUN };

// What a window frame has read before its topmost decisions.
struct WindowFrame {
    ScreenPoint cursor;
    HWND foreground;
    char foregroundClass[FOREGROUND_CLASS_BUFFER];
    ZOrderScan scan;
    char topClass[TOP_CLASS_BUFFER];
};

void scanWindows(WindowFrame *frame)
{
    frame->scan = ZOrderScan{};
    EnumWindows(windowScanProc, reinterpret_cast<LPARAM>(&frame->scan));
    readClassName(static_cast<HWND>(frame->scan.topWindow), frame->topClass, TOP_CLASS_BUFFER);
}

// A frame given up before its end still honours a stop, so that a stop cannot
// wait for ever on a loop that never reaches a presented frame.
FrameResult giveUpFrame(CaptureRun *run, DWORD sleepMs)
{
    if (sleepMs > 0)
        sleepFrame(run, sleepMs);
    return stopWasRequested() ? FRAME_END_RUN : FRAME_NEXT;
}

// Builds the frame buffer again when the target moved or changed size. An empty
// rectangle leaves the run without a frame buffer until the target has a size.
// When the old buffer cannot be released it is kept (a new one would leak it)
// and the rebuild is tried again next frame.
bool followTargetRect(CaptureRun *run, const ScreenRect &current, ScreenRect *previous)
{
    if (sameRect(current, *previous))
        return true;
    if (releaseFrameBitmap(&run->frame) < 0)
        return true;
    *previous = current;
    if (rectWidth(current) <= 0 || rectHeight(current) <= 0)
        return true;
    return buildFrameBuffer(run, current);
}

void placeWindows(CaptureRun *run, const WindowFrame &frame, HWND lastForeground)
{
    ZOrderInput in{};
    in.cursor = frame.cursor;
    in.workArea = workAreaUnderPoint(run->layout, frame.cursor);
    in.foreground = frame.foreground;
    in.lastForeground = lastForeground;
    in.target = run->target;
    in.overlay = run->overlay;
    in.topWindow = frame.scan.topWindow;
    in.overlayOnTop = frame.scan.overlayOnTop;
    in.foregroundClass = frame.foregroundClass;
    in.topClass = frame.topClass;
    ZOrderMoves moves{};
    windowFirstDecision(in, &run->zOrder, &moves);
    windowSecondDecision(in, &run->zOrder, &moves);
    applyZOrderMoves(moves, run->overlay, run->target, frame.foreground);
}

// The frame's own size: the target may have changed since the buffer was built.
// Not retried: a failed copy gives up the frame, and the next waits longer.
bool copyTarget(const FrameBitmap &frame, HDC windowDC)
{
    return BitBlt(appState.memoryDC, 0, 0, frame.width, frame.height, windowDC, 0, 0, SRCCOPY) != FALSE;
}

void releaseWindowDC(HWND target, HDC windowDC)
{
    if (windowDC != nullptr)
        retryCall(FRAME_RETRIES, [&] { return ReleaseDC(target, windowDC) == 1; });
}

// Shown at this rectangle and already where HWND_TOP would put it (the top of its
// band). Moving a window costs Wine a round of messages and X requests, about as
// much as all the rest of a frame, so an overlay in place is not moved again.
bool overlayInPlace(HWND overlay, const ScreenRect &rect)
{
    if (!IsWindowVisible(overlay) || !sameRect(windowRect(overlay, nullptr), rect))
        return false;
    HWND above = GetWindow(overlay, GW_HWNDPREV);
    if (above == nullptr)
        return true;
    bool overlayTopmost = (GetWindowLongA(overlay, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    return !overlayTopmost && (GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

// Where the overlay is hidden or elsewhere it holds no picture of the target: the
// frame that lays it over the target presents the picture whole.
bool overlayHoldsNoPicture(HWND overlay, HWND target)
{
    return IsIconic(target) || !IsWindowVisible(overlay) ||
           !sameRect(windowRect(overlay, nullptr), windowRect(target, nullptr));
}

// Hidden while the target is minimised, else laid exactly over it and the changed
// rectangles of the frame painted.
void presentOverTarget(CaptureRun *run, bool presents)
{
    if (IsIconic(run->target)) {
        SetWindowPos(run->overlay, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | OVERLAY_MOVE_FLAGS);
        return;
    }
    ScreenRect rect = windowRect(run->target, nullptr);
    // Without a picture (a failed copy) the overlay is not shown where it has none.
    if (!presents && overlayHoldsNoPicture(run->overlay, run->target))
        return;
    HDC overlayDC = GetDC(run->overlay);
    if (!overlayInPlace(run->overlay, rect))
        SetWindowPos(run->overlay, HWND_TOP, rect.left, rect.top, rectWidth(rect), rectHeight(rect),
                     SWP_SHOWWINDOW | OVERLAY_MOVE_FLAGS);
    if (overlayDC == nullptr)
        return;
    const RectList &changed = run->history.changed;
    for (int32_t i = 0; presents && i < changed.count; i++) {
        const ScreenRect &part = changed.rects[i];
        BitBlt(overlayDC, part.left, part.top, rectWidth(part), rectHeight(part), appState.memoryDC, part.left,
               part.top, SRCCOPY);
    }
    ReleaseDC(run->overlay, overlayDC);
}

// A full-screen target in front (a film, a game) is neither copied nor grayed
// while it is. The overlay stays over it with an empty region (its own thread
// shows it over the target again and again: hidden, it would not stay hidden) and
// gets its shape back, with a whole picture, once the target no longer fills its
// monitor.
bool targetLeftInColour(CaptureRun *run, HWND foreground)
{
    bool fullScreen = foreground == run->target && fullScreenColourMonitor(run->layout, foreground, run->overlay) >= 0;
    // A region that could not be set is tried again next frame.
    if (fullScreen != run->targetInColour && emptyOverlayRegion(run->overlay, fullScreen)) {
        run->targetInColour = fullScreen;
        forgetFrameHistory(&run->history);
    }
    return fullScreen;
}

// The steps both window loops share once fg, the scan and the frame buffer are
// known: z-order, capture (dropped when the windows changed meanwhile), convert,
// present, pace, count and the stop test.
FrameResult finishWindowFrame(CaptureRun *run, const WindowFrame &frame, HWND *lastForeground)
{
    monitorLayoutChanged(run);
    if (targetLeftInColour(run, frame.foreground)) {
        paceAndCountFrame(run, false);   // nothing copied: the rate falls as it does on a still desk
        return stopWasRequested() ? FRAME_END_RUN : FRAME_NEXT;
    }
    if (!frameIsSelected(run->frame))
        return giveUpFrame(run, FRAME_PERIOD_MS);
    placeWindows(run, frame, *lastForeground);

    HDC windowDC = GetWindowDC(run->target);
    ZOrderScan again{};
    EnumWindows(windowScanProc, reinterpret_cast<LPARAM>(&again));
    WindowsSeen first{frame.foreground, frame.scan.windowCount};
    WindowsSeen second{GetForegroundWindow(), again.windowCount};
    if (windowFrameFate(first, second) == FRAME_DROP) {
        releaseWindowDC(run->target, windowDC);
        return giveUpFrame(run, 0);
    }
    *lastForeground = frame.foreground;
    bool copied = windowDC != nullptr && copyTarget(run->frame, windowDC);
    releaseWindowDC(run->target, windowDC);

    if (overlayHoldsNoPicture(run->overlay, run->target))
        forgetFrameHistory(&run->history);
    ScreenRect whole{0, 0, run->frame.width, run->frame.height};
    bool noKernel = false;
    bool presents = convertCopiedFrame(run, copied, &whole, 1, &noKernel);
    if (noKernel)
        return FRAME_END_RUN;
    presentOverTarget(run, presents);
    paceAndCountFrame(run, presents && !IsIconic(run->target));
    return stopWasRequested() ? FRAME_END_RUN : FRAME_NEXT;
}

// Set-up both window loops share; false when the run must end before any frame.
bool setUpWindowRun(CaptureRun *run, void *start, ScreenRect *previous)
{
    beginCaptureRun(run);
    takeCaptureStart(run, start);
    // A screen context, not the target's: in foreground mode the first target may
    // close while later targets' frame buffers are still built from the reference.
    run->referenceWindow = nullptr;
    run->referenceDC = GetDC(nullptr);
    ScreenRect current = windowRect(run->target, nullptr);
    *previous = current;
    readDisplayDepth(run);

    // Room for a window as large as the virtual screen: one may span every monitor.
    openFrameMapping(run, windowMappingBytes(virtualScreenOf(run->layout)));
    if (rectWidth(current) > 0 && rectHeight(current) > 0 && !buildFrameBuffer(run, current))
        return false;

    startFrameClock(run);
    moveOtherWindow(run->target, HWND_TOPMOST);
    moveOtherWindow(run->target, HWND_NOTOPMOST);
    raiseOverlay(run->overlay);
    SetForegroundWindow(run->target);
    return true;
}

// One foreground-mode frame: the target is whatever window is in front.
FrameResult foregroundFrame(CaptureRun *run, ScreenRect *previous)
{
    WindowFrame frame{};
    frame.foreground = GetForegroundWindow();
    HWND target = frame.foreground;
    SetForegroundWindow(frame.foreground);
    scanWindows(&frame);
    readClassName(frame.foreground, frame.foregroundClass, FOREGROUND_CLASS_BUFFER);

    if (target == run->overlay) {
        // Our own overlay in front: gray the window just below it.
        target = frame.foreground = GetWindow(target, GW_HWNDNEXT);
        readClassName(frame.foreground, frame.foregroundClass, FOREGROUND_CLASS_BUFFER);
        if (target == nullptr)
            target = GetDesktopWindow();
        if (target == nullptr)
            return giveUpFrame(run, NO_TARGET_SLEEP_MS);
    } else if (target == nullptr) {
        return giveUpFrame(run, NO_TARGET_SLEEP_MS);
    } else if (isPassingFrontWindow(target)) {
        // A menu, the Start menu, Alt+Tab ...: the gray stays on the last real window.
        target = run->target;
    }
    if (!IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target))
        return giveUpFrame(run, NO_TARGET_SLEEP_MS);
    readClassName(frame.foreground, frame.foregroundClass, FOREGROUND_CLASS_BUFFER);

    run->target = target;
    SendMessageA(run->overlay, WM_OVERLAY_FOLLOW, 0, reinterpret_cast<LPARAM>(&target));
    frame.cursor = cursorPosition();
    bool readable = false;
    ScreenRect current = windowRect(target, &readable);
    if (!readable || rectWidth(current) <= 0 || rectHeight(current) <= 0)
        return giveUpFrame(run, 0);
    if (!followTargetRect(run, current, previous))
        return FRAME_END_RUN;
    return finishWindowFrame(run, frame, &appState.foregroundModeLastForeground);
}

// One selected-mode frame: the target never changes.
FrameResult selectedFrame(CaptureRun *run, ScreenRect *previous)
{
    WindowFrame frame{};
    frame.cursor = cursorPosition();
    ScreenRect current = windowRect(run->target, nullptr);
    if (!followTargetRect(run, current, previous))
        return FRAME_END_RUN;
    frame.foreground = GetForegroundWindow();
    readClassName(frame.foreground, frame.foregroundClass, FOREGROUND_CLASS_BUFFER);
    scanWindows(&frame);
    return finishWindowFrame(run, frame, &appState.selectedModeLastForeground);
}

using FrameStep = FrameResult (*)(CaptureRun *, ScreenRect *);

unsigned runWindowCapture(void *start, FrameStep frameStep)
{
    CaptureRun run;
    ScreenRect previous{};
    if (setUpWindowRun(&run, start, &previous)) {
        while (waitForCopy(&run) && frameStep(&run, &previous) == FRAME_NEXT) {
        }
    }
    endCaptureRun(&run);
    return 0;
}

}  // namespace

unsigned __stdcall foregroundCaptureMain(void *start)
{
    return runWindowCapture(start, foregroundFrame);
}

unsigned __stdcall selectedCaptureMain(void *start)
{
    return runWindowCapture(start, selectedFrame);
}
