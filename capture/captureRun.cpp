// The frame machinery shared by the screen loop and the two window loops.
// Capture thread only; locks are held only around the copy of a few fields.
#include "captureRun.h"

#include <commctrl.h>
#include <mmsystem.h>

#include "appState.h"
#include "boundedText.h"
#include "deskRules.h"
#include "gray.h"
#include "overlayShape.h"
#include "retry.h"

namespace {

constexpr WPARAM STATUS_PART_RATE = 0;
constexpr WPARAM STATUS_PART_GRAY = 1;
constexpr DWORD DEVMODE_BYTES = 156;       // the size the display-mode query is given
constexpr DWORD CURSOR_INFO_BYTES = 20;    // CURSORINFO of the 32-bit layout, as the loops ask

void setStatusText(WPARAM part, const char *text)
{
    if (appState.statusBar != nullptr)
        SendMessageA(appState.statusBar, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text));
}

void setStatusPair(const char *label, const char *value, WPARAM part)
{
    char text[TEXT_STATUS];
    copyText(text, label);
    appendText(text, value);
    setStatusText(part, text);
}

bool isTopmost(HWND window)
{
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

void moveWindow(HWND window, HWND after, UINT extraFlags)
{
    SetWindowPos(window, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | extraFlags);
}

}  // namespace

void beginCaptureRun(CaptureRun *run)
{
    *run = CaptureRun{};
    run->frameWaitEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    readMonitorLayout(&run->layout);
}

void takeCaptureStart(CaptureRun *run, void *start)
{
    CaptureStart *record = static_cast<CaptureStart *>(start);
    run->overlay = record->overlay;
    run->target = record->target;
    run->captureDone = record->captureDone;
    // The record lives on the overlay thread's stack: not touched after this.
    SetEvent(record->startedEvent);
}

void readDisplayDepth(CaptureRun *run)
{
    DEVMODEA mode;
    ZeroMemory(&mode, sizeof mode);
    mode.dmSize = sizeof mode;
    static_assert(sizeof mode == DEVMODE_BYTES, "DEVMODEA of the Windows 2000 and later layout");
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    EnterCriticalSection(&appState.settingsLock);
    appState.displayBits = static_cast<int32_t>(mode.dmBitsPerPel);
    LeaveCriticalSection(&appState.settingsLock);
    run->bitsPerPixel = static_cast<int32_t>(mode.dmBitsPerPel);
}

void startFrameClock(CaptureRun *run)
{
    startDeskActivity(&run->history);
    run->frameRate.startTime = timeGetTime();
    run->lastFrameTime = firstFrameTimeBase(run->frameRate.startTime);
    setStatusPair(FPS_LABEL, appState.texts.underMeasurement, STATUS_PART_RATE);
    setStatusPair(appState.texts.grayLabel, appState.texts.grayOn, STATUS_PART_GRAY);
}

bool monitorLayoutChanged(CaptureRun *run)
{
    bool announced = InterlockedExchange(&appState.displayChanged, 0) != 0;
    if (!announced && ++run->framesSinceLayout < LAYOUT_CHECK_FRAMES)
        return false;
    run->framesSinceLayout = 0;
    MonitorLayout now;
    readMonitorLayout(&now);
    if (sameLayout(now, run->layout))
        return false;
    run->layout = now;
    return true;
}

ScreenRect windowRect(HWND window, bool *ok)
{
    RECT rect = {};
    BOOL read = GetWindowRect(window, &rect);
    if (ok != nullptr)
        *ok = read != FALSE;
    return ScreenRect{rect.left, rect.top, rect.right, rect.bottom};
}

ScreenPoint cursorPosition()
{
    CURSORINFO info;
    ZeroMemory(&info, sizeof info);
    // The record's own size: the 32-bit layout's 20 bytes would be refused by 64-bit Windows.
    info.cbSize = sizeof info;
    static_assert(sizeof(void *) != 4 || sizeof(CURSORINFO) == CURSOR_INFO_BYTES, "CURSORINFO layout");
    GetCursorInfo(&info);
    return ScreenPoint{info.ptScreenPos.x, info.ptScreenPos.y};
}

void readClassName(HWND window, char *dest, int32_t size)
{
    ZeroMemory(dest, static_cast<size_t>(size));
    if (window != nullptr)
        GetClassNameA(window, dest, size - 1);
}

// The overlay is never activated: a z-order move that activated it would take the
// foreground from the user's window (and, in foreground mode, make the overlay the
// window it follows, so that every frame would be dropped).
// The rules ask for a move at most frames; under Wine each costs about a
// millisecond even when it changes nothing, so a move that would change nothing
// (already the topmost window of all; already out of the topmost band) is left out.
void raiseOverlay(HWND overlay)
{
    if (isTopmost(overlay) && GetWindow(overlay, GW_HWNDPREV) == nullptr)
        return;
    moveWindow(overlay, HWND_TOPMOST, OVERLAY_MOVE_FLAGS);
}

void lowerOverlay(HWND overlay)
{
    if (IsWindow(overlay) && !isTopmost(overlay))
        return;
    moveWindow(overlay, HWND_NOTOPMOST, OVERLAY_MOVE_FLAGS);
}

// A window that has taken no messages for seconds is left where it is: its posted
// moves would pile up in its queue, one or more a frame, and all run when it wakes.
// It is still grayed from what the screen shows of it.
void moveOtherWindow(HWND window, HWND after)
{
    if (IsHungAppWindow(window))
        return;
    moveWindow(window, after, OTHER_WINDOW_MOVE_FLAGS);
}

void applyZOrderMoves(const ZOrderMoves &moves, HWND overlay, HWND target, HWND foreground)
{
    for (int32_t i = 0; i < moves.count; i++) {
        switch (moves.moves[i]) {
        case MOVE_RAISE_OVERLAY: raiseOverlay(overlay); break;
        case MOVE_LOWER_OVERLAY: lowerOverlay(overlay); break;
        case MOVE_REFRESH_OVERLAY:
            // Lowering alone leaves a non-topmost window where it is; raising first
            // brings it to the top of the non-topmost windows.
            raiseOverlay(overlay);
            lowerOverlay(overlay);
            break;
        // Z-order only: activating the target would take the foreground from the
        // window the user is working in, at every frame.
        case MOVE_TARGET_TO_TOP: moveOtherWindow(target, HWND_TOP); break;
        case MOVE_TARGET_UNDER_OVERLAY: moveOtherWindow(target, overlay); break;
        case MOVE_FOREGROUND_TO_TOP: moveOtherWindow(foreground, HWND_TOP); break;
        }
    }
}

bool convertCopiedFrame(CaptureRun *run, bool copied, const ScreenRect *parts, int32_t partCount, bool *noKernel)
{
    *noKernel = false;
    noteCopy(&run->history, copied);
    if (!copied || !takeFrameChanges(&run->history, run->frame, parts, partCount))
        return false;
    *noKernel = !convertFrameChanges(run->history, run->frame);
    return !*noKernel;
}

void sleepFrame(CaptureRun *run, DWORD milliseconds)
{
    if (run->frameWaitEvent != nullptr)
        WaitForSingleObject(run->frameWaitEvent, milliseconds);
    else
        Sleep(milliseconds);
}

void paceAndCountFrame(CaptureRun *run, bool presented)
{
    PaceWait wait = framePacingWait(timeGetTime(), run->lastFrameTime);
    if (wait.waits)
        sleepFrame(run, wait.waitMs);
    run->lastFrameTime = wait.nextFrameTime;

    int32_t fps = 0;
    if (countLoopPass(&run->frameRate, timeGetTime(), presented, &fps)) {
        char text[TEXT_STATUS];
        formatFrameRateText(text, sizeof text, fps);
        setStatusText(STATUS_PART_RATE, text);
    }
}

bool stopWasRequested()
{
    EnterCriticalSection(&appState.runLock);
    bool stop = appState.stopRequested == 1;
    LeaveCriticalSection(&appState.runLock);
    return stop;
}

namespace {

bool deskIsUnseen()
{
    BOOL screenSaverRuns = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &screenSaverRuns, 0);
    return deskUnseen(InterlockedCompareExchange(&appState.sessionAway, 0, 0), screenSaverRuns != FALSE);
}

bool waitWhileDeskUnseen(CaptureRun *run)
{
    if (!deskIsUnseen())
        return true;
    setStatusPair(appState.texts.grayLabel, appState.texts.grayPaused, STATUS_PART_GRAY);
    do {
        if (stopWasRequested())
            return false;
        sleepFrame(run, FRAME_PERIOD_MS);
    } while (deskIsUnseen());
    setStatusPair(appState.texts.grayLabel, appState.texts.grayOn, STATUS_PART_GRAY);
    // The pause is no frame time: pacing and the rate start afresh, and the
    // picture is presented whole (the overlay may have been painted over meanwhile).
    run->lastFrameTime = firstFrameTimeBase(timeGetTime());
    run->frameRate = FrameRateCounter{0, timeGetTime()};
    startDeskActivity(&run->history);
    forgetFrameHistory(&run->history);
    return true;
}

}  // namespace

bool waitForCopy(CaptureRun *run)
{
    for (;;) {
        if (!waitWhileDeskUnseen(run))
            return false;
        uint32_t wait = waitBeforeCopy(&run->history);
        if (wait == 0)
            return true;
        if (stopWasRequested())
            return false;
        sleepFrame(run, wait);
    }
}

void endCaptureRun(CaptureRun *run)
{
    releaseFrameBitmap(&run->frame);
    releaseFrameHistory(&run->history);
    closeFrameMapping(&run->mapping);
    if (run->frameWaitEvent != nullptr)
        CloseHandle(run->frameWaitEvent);
    run->frameWaitEvent = nullptr;
    if (run->referenceDC != nullptr)
        ReleaseDC(run->referenceWindow, run->referenceDC);
    run->referenceDC = nullptr;

    lowerOverlay(run->overlay);
    SendMessageA(run->overlay, WM_CLOSE, 0, 0);
    // The end texts before captureDone: a mode started as soon as it is set must
    // not have its "Gray: ON" overwritten by this run's "Gray: OFF".
    setStatusText(STATUS_PART_RATE, FPS_LABEL);
    setStatusPair(appState.texts.grayLabel, appState.texts.grayOff, STATUS_PART_GRAY);
    SetEvent(run->captureDone);
}

void showFailureMessage(HWND overlay, const char *callName)
{
    // The overlay may cover the work area from the topmost band: out of the way
    // first, or the box could open hidden under it.
    SetWindowPos(overlay, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW | OVERLAY_MOVE_FLAGS);
    MessageBoxA(appState.mainWindow, callName, callName, MB_OK);
}

void openFrameMapping(CaptureRun *run, uint64_t bytes)
{
    run->mapping = createFrameMapping(bytes);
    if (run->mapping.handle != nullptr)
        return;
    bool visible = IsWindowVisible(run->overlay) != FALSE;
    showFailureMessage(run->overlay, FAILED_MAPPING);
    // The run goes on (bitmaps get memory of their own): the overlay comes back;
    // set-up raises it again.
    if (visible)
        SetWindowPos(run->overlay, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW | OVERLAY_MOVE_FLAGS);
}

bool buildFrameBuffer(CaptureRun *run, const ScreenRect &rect)
{
    const char *failedCall = nullptr;
    if (createFrameBitmap(run->referenceDC, rect, run->mapping, run->bitsPerPixel, &run->frame, &failedCall) == 1) {
        fitFrameHistory(&run->history, run->frame, run->bitsPerPixel);
        return true;
    }
    showFailureMessage(run->overlay, failedCall);
    return false;
}
