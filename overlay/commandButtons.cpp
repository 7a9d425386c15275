// The command buttons' subclass procedure: drawing from the image strip (one
// 60 x 60 column per button; rows normal, hover, pushed), hover and press
// tracking, and the command of each button, run when the press is released on it.
// Keyboard clicks run nothing: the main window ignores the buttons' notifications.
// UI thread only.
#include "commandButtons.h"

#include "appState.h"
#include "habitControl.h"
#include "configDialog.h"
#include "modeControl.h"
#include "resource.h"
#include "shellRules.h"
#include "trayIcon.h"

namespace {

constexpr int STRIP_ROW_NORMAL = 0;
constexpr int STRIP_ROW_HOVER = BUTTON_SIZE;
constexpr int STRIP_ROW_PUSHED = 2 * BUTTON_SIZE;

CommandButton &current()
{
    return appState.commandButtons[appState.currentButton];
}

void redraw(HWND button)
{
    InvalidateRect(button, nullptr, FALSE);
    UpdateWindow(button);
}

void hoverOn()
{
    current().hovering = 1;
    SetCapture(current().window);
    // The capture brings no moves over other programs' windows while another
    // thread is in front (a starting overlay can be): the leave is watched too.
    TRACKMOUSEEVENT leave = {sizeof leave, TME_LEAVE, current().window, 0};
    TrackMouseEvent(&leave);
    redraw(current().window);
}

void hoverOff()
{
    current().hovering = 0;
    redraw(current().window);
    ReleaseCapture();
}

// Focus changes, the tray callback, the end of a dialog: back to normal.
void resetCurrent()
{
    current().pressed = 0;
    current().hovering = 0;
    hoverOff();
}

LRESULT onDrawItem(LPARAM lParam)
{
    const DRAWITEMSTRUCT *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
    int index = commandButtonIndex(static_cast<int>(item->CtlID));
    if (index < 0)
        return 0;
    appState.currentButton = index;
    int row = STRIP_ROW_NORMAL;
    if (item->itemState & ODS_SELECTED)
        row = STRIP_ROW_PUSHED;
    else if (appState.commandButtons[index].hovering == 1)
        row = STRIP_ROW_HOVER;
    const RECT &place = item->rcItem;
    BitBlt(item->hDC, place.left, place.top, place.right - place.left, place.bottom - place.top,
           appState.buttonImageDC, index * BUTTON_SIZE, row, SRCCOPY);
    return 1;
}

// Inside the button's window region, or its client rectangle when it has none.
bool cursorInsideShape(HWND button)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    ScreenToClient(button, &cursor);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    bool inside;
    if (region != nullptr && GetWindowRgn(button, region) != ERROR) {
        inside = PtInRegion(region, cursor.x, cursor.y) != FALSE;
    } else {
        RECT client = {};
        GetClientRect(button, &client);
        inside = PtInRect(&client, cursor) != FALSE;
    }
    if (region != nullptr)
        DeleteObject(region);
    return inside;
}

bool cursorInsideWindow(HWND button)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    RECT outer = {};
    GetWindowRect(button, &outer);
    return PtInRect(&outer, cursor) != FALSE;
}

void onMouseMove(HWND button)
{
    CommandButton &state = current();
    if (state.pressed) {
        if (!cursorInsideWindow(button)) {
            state.pressed = 0;
            hoverOff();
        }
    } else if (state.hovering) {
        if (!cursorInsideShape(button))
            hoverOff();
    } else if (cursorInsideShape(button)) {
        // A move can come late, or be made up when a window appears under the
        // pointer: hovering then would hold the mouse and stay drawn after it left.
        hoverOn();
    }
}

void runConfigDialog(HWND button)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(button, GWLP_HINSTANCE));
    // The button still holds the mouse from the press; the dialog needs it.
    ReleaseCapture();
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_CONFIG), button, configDialogProc, 0);
    hoverOff();
}

void runCommand(HWND button, int controlId)
{
    switch (controlId) {
    case IDC_BUTTON_NORMAL_COLOR:
    case IDC_BUTTON_SCREEN_MODE:
    case IDC_BUTTON_FOREGROUND_MODE: runModeCommand(button, controlId); break;
    case IDC_BUTTON_TRAY:
        storeInTray(button);
        hoverOff();
        break;
    case IDC_BUTTON_CONFIGURE: runConfigDialog(button); break;
    }
}

void onButtonUp(HWND button)
{
    int controlId = GetWindowLongA(button, GWL_ID);
    if (controlId != appState.pressedButtonId)
        return;
    current().pressed = 0;
    runCommand(button, controlId);
}

void onTrayCallback(HWND button, WPARAM wParam, LPARAM lParam)
{
    if (lParam == WM_LBUTTONDOWN)
        restoreFromTray(button);
    else if (lParam == WM_RBUTTONUP)
        showTrayMenu(button);
}

}  // namespace

void runModeCommand(HWND owner, int controlId)
{
    if (controlId == IDC_COMMAND_SNOOZE) {
        snoozeGray(HABIT_SNOOZE_HOTKEY_MINUTES);
        return;
    }
    noteHandChoice();
    switch (controlId) {
    case IDC_BUTTON_NORMAL_COLOR:
        if (!startStop())
            MessageBoxA(owner, "error", "thread error..", MB_OK);
        break;
    case IDC_BUTTON_SCREEN_MODE: startScreenMode(); break;
    case IDC_BUTTON_FOREGROUND_MODE: startForegroundMode(); break;
    case IDC_COMMAND_FOCUS_MODE: startFocusMode(); break;
    case IDC_COMMAND_MONITOR_MODE: startMonitorMode(); break;
    case IDC_COMMAND_RULES_MODE: startRulesMode(); break;
    }
}

int commandButtonIndex(int controlId)
{
    return commandButtonSlot(controlId);
}

LRESULT CALLBACK commandButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM)
        return onDrawItem(lParam);
    int index = commandButtonIndex(GetWindowLongA(window, GWL_ID));
    if (index < 0)
        return DefWindowProcA(window, message, wParam, lParam);
    appState.currentButton = index;
    WNDPROC previous = appState.commandButtons[index].previousProc;

    switch (message) {
    case WM_MOUSEMOVE: onMouseMove(window); break;
    case WM_LBUTTONDOWN:
        appState.pressedButtonId = GetWindowLongA(window, GWL_ID);
        current().pressed = 1;
        current().hovering = 0;
        break;
    case WM_LBUTTONUP: onButtonUp(window); break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: resetCurrent(); break;
    case WM_MOUSELEAVE:
        if (current().hovering && !cursorInsideShape(window))
            hoverOff();
        break;
    case WM_CAPTURECHANGED:
        // The hover lives on the capture: taken by another window (a dialog, an
        // activation), the button would stay drawn hovered after the mouse left.
        if (reinterpret_cast<HWND>(lParam) != window && current().hovering) {
            current().hovering = 0;
            redraw(window);
        }
        break;
    case WM_USER:
        onTrayCallback(window, wParam, lParam);
        appState.currentButton = index;
        resetCurrent();
        break;
    }
    return CallWindowProcA(previous, window, message, wParam, lParam);
}
