// Overlay threads and overlay window procedures. Each overlay belongs to its
// overlay thread; its procedure runs there and passes every message but WM_CLOSE
// on to the class procedure (the main window's), which ignores a second WM_CREATE
// and ends this thread's loop on WM_DESTROY. No move of an overlay activates it:
// that would take the foreground from the user's window.
#include "overlayWindows.h"

#include "appState.h"
#include "captureLoops.h"
#include "captureRules.h"
#include "captureStart.h"
#include "modeControl.h"
#include "overlayShape.h"
#include "threadStart.h"

namespace {

const char OVERLAY_CLASS[] = "TALVERO";   // the main window's class
constexpr DWORD OVERLAY_EX_STYLE = WS_EX_LAYERED | WS_EX_TRANSPARENT;
constexpr DWORD OVERLAY_STYLE = WS_POPUP | WS_CLIPCHILDREN;
constexpr BYTE OPAQUE_ALPHA = 255;
constexpr LRESULT CAPTURE_NOT_STARTED = -1;
constexpr UINT KEEP_PLACE = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;

struct OverlayMode {
    WNDPROC procedure;
    ThreadRoutine captureMain;
    HWND *overlay;
    HWND *target;
    HWND zOrderPlace;
    bool followsTarget;   // foreground and selected modes: timer, hide while minimised
    bool closesWithTarget;
    bool keepsFront;      // focus mode: showing the overlay must not take the front from the user's window
    CoverKind cover;      // what a screen overlay covers (not used by those that follow a target)
    bool startsEmpty;     // rules mode: shows nothing until its capture thread sets the region
};

const OverlayMode SCREEN_MODE = {screenOverlayProc, screenCaptureMain, &appState.screenOverlay,
                                 &appState.screenOverlayTarget, HWND_TOPMOST, false, false, false,
                                 COVER_ALL_MONITORS};
const OverlayMode FOREGROUND_MODE = {foregroundOverlayProc, foregroundCaptureMain, &appState.foregroundOverlay,
                                     &appState.foregroundOverlayTarget, HWND_BOTTOM, true, false, false,
                                     COVER_ALL_MONITORS};
const OverlayMode SELECTED_MODE = {selectedOverlayProc, selectedCaptureMain, &appState.selectedOverlay,
                                   &appState.selectedOverlayTarget, HWND_BOTTOM, true, true, false,
                                   COVER_ALL_MONITORS};
const OverlayMode FOCUS_MODE = {focusOverlayProc, focusCaptureMain, &appState.focusOverlay,
                                &appState.focusOverlayTarget, HWND_TOPMOST, false, false, true, COVER_ALL_MONITORS};
const OverlayMode MONITOR_MODE = {monitorOverlayProc, monitorCaptureMain, &appState.monitorOverlay,
                                  &appState.monitorOverlayTarget, HWND_TOPMOST, false, false, false,
                                  COVER_ONE_MONITOR};
const OverlayMode RULES_MODE = {rulesOverlayProc, rulesCaptureMain, &appState.rulesOverlay,
                                &appState.rulesOverlayTarget, HWND_TOPMOST, false, false, false,
                                COVER_ALL_MONITORS, true};

LRESULT passOn(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC classProcedure = reinterpret_cast<WNDPROC>(GetClassLongPtrA(overlay, GCLP_WNDPROC));
    return CallWindowProcA(classProcedure, overlay, message, wParam, lParam);
}

void placeOver(HWND overlay, const RECT &place)
{
    SetWindowPos(overlay, HWND_TOP, place.left, place.top, place.right - place.left, place.bottom - place.top,
                 SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void closeOverlay(HWND overlay)
{
    SetWindowPos(overlay, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageA(overlay, WM_CLOSE, 0, 0);
}

RECT rectOf(const ScreenRect &rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// A screen overlay covers the work areas of every monitor, or of the monitor it
// lies on (the monitor mode); the capture thread sets its region.
void placeOverScreen(const OverlayMode &mode, HWND overlay)
{
    RECT now = {};
    GetWindowRect(overlay, &now);
    OverlayCover cover = coverNow(mode.cover, {(now.left + now.right) / 2, (now.top + now.bottom) / 2});
    if (rectWidth(cover.place) > 0 && rectHeight(cover.place) > 0)
        placeOver(overlay, rectOf(cover.place));
}

// Over what a screen overlay covers, or over the target's window rectangle and
// hidden, in place, while the target is minimised.
void placeOverlay(const OverlayMode &mode, HWND overlay)
{
    HWND target = *mode.target;
    if (target == nullptr) {
        if (mode.closesWithTarget)
            closeOverlay(overlay);
        return;
    }
    RECT place = {};
    if (!mode.followsTarget) {
        placeOverScreen(mode, overlay);
    } else if (IsIconic(target)) {
        SetWindowPos(overlay, nullptr, 0, 0, 0, 0, KEEP_PLACE | SWP_HIDEWINDOW | SWP_NOACTIVATE);
    } else if (GetWindowRect(target, &place)) {
        placeOver(overlay, place);
    }
}

void onFollowTimer(const OverlayMode &mode, HWND overlay)
{
    if (IsWindow(*mode.target))
        placeOverlay(mode, overlay);
    else if (mode.closesWithTarget)
        closeOverlay(overlay);
    if (IsWindow(overlay))
        SetTimer(overlay, FOLLOW_TIMER_ID, FOLLOW_PERIOD_MS, nullptr);
}

// WM_USER: starts the capture thread and returns once it has copied the record.
LRESULT onCaptureStart(const OverlayMode &mode, HWND overlay, WPARAM wParam, LPARAM lParam)
{
    CaptureStart *start = reinterpret_cast<CaptureStart *>(lParam);
    *mode.target = start->target;
    HANDLE started = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    start->startedEvent = started;
    HANDLE thread = started != nullptr ? startThread(mode.captureMain, start) : nullptr;
    if (thread == nullptr) {
        if (started != nullptr)
            CloseHandle(started);
        // Out of the way first: a topmost overlay could hide the message.
        SetWindowPos(overlay, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW | SWP_NOACTIVATE);
        MessageBoxA(appState.mainWindow, "StartCaptureThread2", "thread error", MB_OK);
        return CAPTURE_NOT_STARTED;
    }
    WaitForSingleObject(started, INFINITE);
    CloseHandle(started);
    CloseHandle(thread);
    if (mode.followsTarget)
        SetTimer(overlay, FOLLOW_TIMER_ID, FIRST_FOLLOW_MS, nullptr);
    return passOn(overlay, WM_USER, wParam, lParam);
}

LRESULT onClose(HWND overlay, WPARAM wParam, LPARAM lParam)
{
    void *runId = reinterpret_cast<void *>(GetWindowLongPtrA(overlay, GWLP_USERDATA));
    markModeOffScreen();
    HANDLE thread = startThread(markModeStopped, runId);
    if (thread != nullptr)
        CloseHandle(thread);
    CloseWindow(overlay);
    return DefWindowProcA(overlay, WM_CLOSE, wParam, lParam);
}

LRESULT onPaint(HWND overlay)
{
    PAINTSTRUCT paint;
    BeginPaint(overlay, &paint);   // the capture thread paints the overlay itself
    EndPaint(overlay, &paint);
    // It presents only what changed: what was just painted over must come whole.
    InterlockedExchange(&appState.overlayNeedsPaint, 1);
    return 0;
}

LRESULT overlayProc(const OverlayMode &mode, HWND overlay, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_USER: return onCaptureStart(mode, overlay, wParam, lParam);
    case WM_CLOSE: return onClose(overlay, wParam, lParam);
    case WM_PAINT: return onPaint(overlay);
    case WM_SIZE:
        // Minimised only while it closes: nothing to place then.
        if (!IsIconic(overlay))
            placeOverlay(mode, overlay);
        break;
    case WM_TIMER:
        if (mode.followsTarget)
            onFollowTimer(mode, overlay);
        return 0;
    case WM_OVERLAY_FOLLOW:
        if (&mode == &FOREGROUND_MODE)
            *mode.target = *reinterpret_cast<const HWND *>(lParam);
        break;
    case WM_DESTROY:
        if (mode.followsTarget)
            SetForegroundWindow(*mode.target);
        break;
    }
    return passOn(overlay, message, wParam, lParam);
}

unsigned runOverlay(const OverlayMode &mode, HWND target, const RECT &place, const ModeRun &run)
{
    // Known before the window exists, so that its first WM_SIZE places it over this target.
    *mode.target = target;
    HWND overlay = CreateWindowExA(OVERLAY_EX_STYLE, OVERLAY_CLASS, OVERLAY_TITLE, OVERLAY_STYLE, place.left,
                                   place.top, place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                                   appState.instance, nullptr);
    *mode.overlay = overlay;
    if (overlay == nullptr) {
        abandonModeRun(run);
        return 0;
    }
    SetWindowLongPtrA(overlay, GWLP_USERDATA, static_cast<LONG_PTR>(run.id));
    // The class's menu is loaded for every window made of it: detached alone, each
    // run would leave one behind until the process runs out of user objects.
    HMENU classMenu = GetMenu(overlay);
    SetMenu(overlay, nullptr);
    if (classMenu != nullptr)
        DestroyMenu(classMenu);
    SetWindowLongPtrA(overlay, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mode.procedure));
    if (mode.startsEmpty)
        SetWindowRgn(overlay, CreateRectRgn(0, 0, 0, 0), FALSE);   // the window owns the region
    ShowWindow(overlay, mode.keepsFront ? SW_SHOWNOACTIVATE : SW_SHOWDEFAULT);
    UpdateWindow(overlay);
    SetLayeredWindowAttributes(overlay, 0, OPAQUE_ALPHA, LWA_ALPHA);
    SetWindowPos(overlay, mode.zOrderPlace, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | (mode.keepsFront ? SWP_NOACTIVATE : 0));

    CaptureStart start = {};
    start.overlay = overlay;
    start.target = target;
    start.captureDone = run.captureDone;
    // The overlay may be gone before it could start its capture (a close while it
    // was shown): then no handler has made startedEvent, and no capture thread runs.
    if (SendMessageA(overlay, WM_USER, 0, reinterpret_cast<LPARAM>(&start)) == CAPTURE_NOT_STARTED ||
        start.startedEvent == nullptr) {
        abandonModeRun(run);
        if (IsWindow(overlay))
            DestroyWindow(overlay);
        return 0;
    }

    MSG message = {};
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) != 0 && got != -1) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<unsigned>(message.wParam);
}

// A run that could not even be registered (no event for its end).
unsigned reportUnstarted()
{
    MessageBoxA(appState.mainWindow, "error", "thread error", MB_OK);
    return 0;
}

RECT windowRectOf(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return rect;
}

// The screen, focus and monitor modes: an overlay over what the mode covers now.
unsigned runScreenOverlay(const OverlayMode &mode, int32_t grayMode)
{
    ModeRun run = beginModeRun(nullptr, grayMode);
    if (run.id == 0)
        return reportUnstarted();
    POINT pointer = {};
    GetCursorPos(&pointer);
    OverlayCover cover = coverNow(mode.cover, {pointer.x, pointer.y});
    return runOverlay(mode, GetDesktopWindow(), rectOf(cover.place), run);
}

}  // namespace

unsigned __stdcall screenOverlayMain(void *)
{
    return runScreenOverlay(SCREEN_MODE, MODE_SCREEN);
}

unsigned __stdcall focusOverlayMain(void *)
{
    return runScreenOverlay(FOCUS_MODE, MODE_FOCUS);
}

unsigned __stdcall monitorOverlayMain(void *)
{
    return runScreenOverlay(MONITOR_MODE, MODE_MONITOR);
}

unsigned __stdcall rulesOverlayMain(void *)
{
    return runScreenOverlay(RULES_MODE, MODE_RULES);
}

unsigned __stdcall foregroundOverlayMain(void *window)
{
    ModeRun run = beginModeRun(nullptr, MODE_FOREGROUND);
    if (run.id == 0)
        return reportUnstarted();
    // Without a window given, usually the main window, whose button was just pressed.
    HWND target = window != nullptr ? static_cast<HWND>(window) : GetForegroundWindow();
    return runOverlay(FOREGROUND_MODE, target, windowRectOf(target), run);
}

unsigned __stdcall selectedOverlayMain(void *window)
{
    HWND target = static_cast<HWND>(window);
    ModeRun run = beginModeRun(target, MODE_SELECTED);
    if (run.id == 0)
        return reportUnstarted();
    return runOverlay(SELECTED_MODE, target, windowRectOf(target), run);
}

LRESULT CALLBACK screenOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam)
{
    return overlayProc(SCREEN_MODE, overlay, message, wParam, lParam);
}

LRESULT CALLBACK foregroundOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam)
{
    return overlayProc(FOREGROUND_MODE, overlay, message, wParam, lParam);
}

LRESULT CALLBACK selectedOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam)
{
    return overlayProc(SELECTED_MODE, overlay, message, wParam, lParam);
}

LRESULT CALLBACK focusOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam)
{
    return overlayProc(FOCUS_MODE, overlay, message, wParam, lParam);
}

LRESULT CALLBACK monitorOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam)
{
    return overlayProc(MONITOR_MODE, overlay, message, wParam, lParam);
}

LRESULT CALLBACK rulesOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam)
{
    return overlayProc(RULES_MODE, overlay, message, wParam, lParam);
}
