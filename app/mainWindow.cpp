// mainWindowProc: a dispatch table over the main window's messages. Overlay
// windows of the same class forward their messages here from their own threads,
// so a second WM_CREATE does nothing and WM_DESTROY ends the caller's loop.
#include "mainWindow.h"

#include "appState.h"
#include "backBuffer.h"
#include "commandButtons.h"
#include "deskRules.h"
#include "habitDialog.h"
#include "habitControl.h"
#include "helpDialogs.h"
#include "hotkeys.h"
#include "listView.h"
#include "mainControls.h"
#include "resource.h"
#include "rulesControl.h"
#include "shellRules.h"
#include "shutdown.h"
#include "startCommands.h"
#include "startup.h"
#include "trayIcon.h"

namespace {

constexpr COLORREF TEXT_BLACK = RGB(0, 0, 0);

LRESULT onDrawItem(HWND window, WPARAM wParam, LPARAM lParam)
{
    if (commandButtonSlot(static_cast<int32_t>(wParam)) >= 0)
        return commandButtonProc(window, WM_DRAWITEM, wParam, lParam);
    if (wParam == IDC_WINDOW_LIST)
        return onWindowListMessage(window, WM_DRAWITEM, wParam, lParam);
    return 0;
}

LRESULT onNotify(HWND window, WPARAM wParam, LPARAM lParam)
{
    const NMHDR *header = reinterpret_cast<const NMHDR *>(lParam);
    if (header->idFrom == IDC_WINDOW_LIST)
        return onWindowListMessage(window, WM_NOTIFY, wParam, lParam);
    return 0;
}

LRESULT onCommand(WPARAM wParam)
{
    switch (LOWORD(wParam)) {
    case IDM_FILE_EXIT: SendMessageA(appState.mainWindow, WM_CLOSE, 0, 0); break;
    case IDM_HABIT: showHabitDialog(appState.mainWindow); break;
    case IDM_HELP_DOCUMENT: runHelpDialog(IDD_DOCUMENT); break;
    case IDM_HELP_ABOUT: runHelpDialog(IDD_ABOUT); break;
    }
    return 0;
}

// While CreateWindowExA runs, mainWindow is still null and the window at hand is the main window.
HWND mainWindowOr(HWND window)
{
    return appState.mainWindow != nullptr ? appState.mainWindow : window;
}

LRESULT onSize(HWND window)
{
    HWND main = mainWindowOr(window);
    RECT client = {};
    GetClientRect(main, &client);
    layoutOnSize(client);
    growBackBuffer(client);
    UpdateWindow(appState.windowListView);
    UpdateWindow(main);
    return 0;
}

LRESULT onMinMaxInfo(LPARAM lParam)
{
    MINMAXINFO *info = reinterpret_cast<MINMAXINFO *>(lParam);
    info->ptMinTrackSize.x = MIN_TRACK_WIDTH;
    info->ptMinTrackSize.y = MIN_TRACK_HEIGHT;
    return 0;
}

LRESULT onColorStatic(WPARAM wParam)
{
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TEXT_BLACK);
    return reinterpret_cast<LRESULT>(appState.backgroundBrush);
}

LRESULT onExitSizeMove()
{
    RECT outer;
    if (GetWindowRect(appState.mainWindow, &outer))
        appState.mainPlacement = {outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top};
    return 0;
}

// Monitors added, removed or moved, or a work area changed (a taskbar moved): the
// running capture loop reads the layout again at its next frame.
LRESULT onDisplayChange(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DISPLAYCHANGE || wParam == SPI_SETWORKAREA)
        InterlockedExchange(&appState.displayChanged, 1);
    return DefWindowProcA(window, message, wParam, lParam);
}

// The main window is back after the wait for the notification area: say why in the idle part.
void onTrayRetryTimer()
{
    if (retryTrayIcon() == TRAY_GIVE_UP)
        setStatusText(STATUS_PART_RATE, appState.texts.trayIconFailed);
}

LRESULT onTimer(WPARAM timerId)
{
    switch (timerId) {
    case HOTKEY_RELEASE_TIMER_ID: return onHotkeyReleaseTimer();
    case RULES_WATCH_TIMER_ID: onRulesWatchTimer(); return 0;
    case TRAY_RETRY_TIMER_ID: onTrayRetryTimer(); return 0;
    case HABIT_TIMER_ID: onHabitTimer(); return 0;
    }
    return 0;
}

// The capture loops copy nothing while the session is away (deskRules.h).
LRESULT onSessionChange(WPARAM event)
{
    LONG away = InterlockedCompareExchange(&appState.sessionAway, 0, 0);
    InterlockedExchange(&appState.sessionAway, sessionAwayAfter(away, static_cast<uint32_t>(event)));
    return 0;
}

LRESULT onMainOnlyMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HOTKEY: return onHotkey(wParam);
    case WM_TIMER: return onTimer(wParam);
    case WM_RELEASE_HOTKEYS: releaseHotkeys(window); return 0;
    case WM_COPYDATA: return onCopyData(window, lParam);
    case WM_WTSSESSION_CHANGE: return onSessionChange(wParam);
    case WM_RUN_START_COMMAND: runStartCommand(static_cast<int32_t>(wParam)); return 0;
    }
    if (message == appState.taskbarCreatedMessage && message != 0)
        onTaskbarCreated();
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return onCreate(window, lParam);
    case WM_DESTROY: PostQuitMessage(0); return 0;
    case WM_SIZE: return onSize(window);
    case WM_PAINT: return paintFromBackBuffer(window);
    case WM_CLOSE: startShutdown(); return 0;
    case WM_ERASEBKGND: return 1;
    case WM_GETMINMAXINFO: return onMinMaxInfo(lParam);
    case WM_DRAWITEM: return onDrawItem(window, wParam, lParam);
    case WM_NOTIFY: return onNotify(window, wParam, lParam);
    case WM_COMMAND: return onCommand(wParam);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: return reinterpret_cast<LRESULT>(appState.backgroundBrush);
    case WM_CTLCOLORSTATIC: return onColorStatic(wParam);
    case WM_EXITSIZEMOVE: return onExitSizeMove();
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE: return onDisplayChange(window, message, wParam, lParam);
    case WM_REFILL_BACK_BUFFER:
        if (lParam == REFILL_BACK_BUFFER_TAG)
            refillBackBuffer();
        return 0;
    }
    // Overlays forward everything: only the main window answers these.
    if (window == appState.mainWindow)
        return onMainOnlyMessage(window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

