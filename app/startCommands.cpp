// The start commands: each runs what its button runs (the mode buttons, the tray
// button), so a command line and a click take one path. A second start's command
// arrives as WM_COPYDATA and is posted on, so that the sender waits for no mode.
// UI thread only.
#include "startCommands.h"

#include "appState.h"
#include "commandButtons.h"
#include "commandRules.h"
#include "modeControl.h"
#include "resource.h"
#include "shellRules.h"
#include "singleInstance.h"
#include "trayIcon.h"

namespace {

HWND trayButton()
{
    return appState.commandButtons[commandButtonSlot(IDC_BUTTON_TRAY)].window;
}

void bringMainWindowToFront()
{
    if (appState.trayStored) {
        restoreFromTray(trayButton());
        return;
    }
    if (IsIconic(appState.mainWindow))
        ShowWindow(appState.mainWindow, SW_RESTORE);
    SetForegroundWindow(appState.mainWindow);
}

// The window that was in front when this program started, once: later /window
// commands take the window in front, as the button does.
void grayStartForeground()
{
    HWND target = appState.startForeground;
    appState.startForeground = nullptr;
    if (target == nullptr || !IsWindow(target)) {
        runModeCommand(appState.mainWindow, IDC_BUTTON_FOREGROUND_MODE);
        return;
    }
    // The foreground mode follows the window in front: give it back first.
    SetForegroundWindow(target);
    startForegroundModeOn(target);
}

}  // namespace

LRESULT onCopyData(HWND mainWindow, LPARAM lParam)
{
    const COPYDATASTRUCT *data = reinterpret_cast<const COPYDATASTRUCT *>(lParam);
    if (data == nullptr || data->dwData != START_COMMAND_TAG || data->cbData != sizeof(int32_t) ||
        data->lpData == nullptr)
        return FALSE;
    int32_t command = *static_cast<const int32_t *>(data->lpData);
    if (command < START_SHOW || command >= START_UNKNOWN)
        return FALSE;
    PostMessageA(mainWindow, WM_RUN_START_COMMAND, static_cast<WPARAM>(command), 0);
    return TRUE;
}

void runStartCommand(int32_t command)
{
    switch (command) {
    case START_SHOW: bringMainWindowToFront(); break;
    case START_SCREEN: runModeCommand(appState.mainWindow, IDC_BUTTON_SCREEN_MODE); break;
    case START_WINDOW: grayStartForeground(); break;
    case START_FOCUS: runModeCommand(appState.mainWindow, IDC_COMMAND_FOCUS_MODE); break;
    case START_MONITOR: runModeCommand(appState.mainWindow, IDC_COMMAND_MONITOR_MODE); break;
    case START_RULES: runModeCommand(appState.mainWindow, IDC_COMMAND_RULES_MODE); break;
    case START_OFF: runModeCommand(appState.mainWindow, IDC_BUTTON_NORMAL_COLOR); break;
    case START_TRAY:
        if (!appState.trayStored)
            storeInTray(trayButton());
        break;
    }
}
