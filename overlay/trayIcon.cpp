// Store in and restore from the notification area. An icon the shell refuses is
// tried again (see trayRetryStep) while the main window stays stored. UI thread only.
#include "trayIcon.h"

#include <shellapi.h>

#include "appState.h"
#include "boundedText.h"
#include "habitControl.h"
#include "resource.h"

namespace {

constexpr UINT TRAY_ICON_ID = 0;
constexpr UINT TRAY_CALLBACK_MESSAGE = WM_USER;
constexpr uint32_t VISTA_MAJOR_VERSION = 6;
constexpr uint32_t TRAY_SHOWTIP = 0x80;   // NIF_SHOWTIP, which headers for XP leave out
const char TRAY_TIP[] = "TALVERO";
constexpr size_t FULL_RECORD_BYTES_32 = 508;   // the Vista record in the 32-bit layout
static_assert(sizeof(void *) != 4 || sizeof(TrayIconRecord) == FULL_RECORD_BYTES_32, "tray record layout");

uint32_t systemMajorVersion()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) ? version.dwMajorVersion : 0;
}

void fillTrayRecord(HWND trayButton)
{
    ZeroMemory(&appState.trayIcon, sizeof appState.trayIcon);
    NOTIFYICONDATAA &record = appState.trayIcon.data;
    TrayRecordFormat format =
        trayRecordFormat(systemMajorVersion(), sizeof(NOTIFYICONDATAA), sizeof(TrayIconRecord));
    record.cbSize = format.bytes;
    record.uFlags = format.flags;
    record.hWnd = trayButton;
    record.uID = TRAY_ICON_ID;
    record.uCallbackMessage = TRAY_CALLBACK_MESSAGE;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(trayButton, GWLP_HINSTANCE));
    record.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_TALVERO));
    copyText(record.szTip, TRAY_TIP);
}

// One try. The shell waits only a few seconds for a busy taskbar and may add the
// icon after the call has failed: an icon it lets us modify is there.
bool addIcon()
{
    NOTIFYICONDATAA *record = &appState.trayIcon.data;
    return Shell_NotifyIconA(NIM_ADD, record) || Shell_NotifyIconA(NIM_MODIFY, record);
}

// The window stays stored while the icon is awaited: its way back is the icon, a
// second start, or the end of the wait.
void addIconOrWait()
{
    if (addIcon()) {
        KillTimer(appState.mainWindow, TRAY_RETRY_TIMER_ID);
        return;
    }
    appState.trayWaitStart = GetTickCount();
    SetTimer(appState.mainWindow, TRAY_RETRY_TIMER_ID, TRAY_RETRY_PERIOD_MS, nullptr);
}

// A line that only tells (the state, the next change), shown grayed.
void addNote(HMENU menu, const char *text)
{
    if (text[0] != '\0')
        AppendMenuA(menu, MF_STRING | MF_GRAYED, IDM_TRAY_STATE, text);
}

HMENU buildTrayMenu()
{
    HabitMenuTexts texts;
    habitMenuTexts(&texts);
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr)
        return nullptr;
    addNote(menu, texts.gray);
    addNote(menu, texts.snooze);
    addNote(menu, texts.next);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_TRAY_SNOOZE_10, "Colour for 1&0 minutes");
    AppendMenuA(menu, MF_STRING, IDM_TRAY_SNOOZE_30, "Colour for &30 minutes");
    AppendMenuA(menu, MF_STRING, IDM_TRAY_SNOOZE_60, "Colour for &60 minutes");
    if (texts.snooze[0] != '\0')
        AppendMenuA(menu, MF_STRING, IDM_TRAY_SNOOZE_END, "&Gray again now");
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_TRAY_HABIT, "&Habit...");
    AppendMenuA(menu, MF_STRING, IDM_TRAY_OPEN, "&Open TALVERO");
    SetMenuDefaultItem(menu, IDM_TRAY_OPEN, FALSE);
    return menu;
}

void runTrayChoice(HWND trayButton, UINT chosen)
{
    switch (chosen) {
    case IDM_TRAY_SNOOZE_10: snoozeGray(10); break;
    case IDM_TRAY_SNOOZE_30: snoozeGray(30); break;
    case IDM_TRAY_SNOOZE_60: snoozeGray(60); break;
    case IDM_TRAY_SNOOZE_END: endSnooze(); break;
    case IDM_TRAY_HABIT: PostMessageA(appState.mainWindow, WM_COMMAND, IDM_HABIT, 0); break;
    case IDM_TRAY_OPEN: restoreFromTray(trayButton); break;
    }
}

}  // namespace

TrayRecordFormat trayRecordFormat(uint32_t majorVersion, uint32_t xpRecordBytes, uint32_t fullRecordBytes)
{
    constexpr uint32_t basicFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    if (majorVersion < VISTA_MAJOR_VERSION)
        return {xpRecordBytes, basicFlags};
    return {fullRecordBytes, basicFlags | TRAY_SHOWTIP};
}

void storeInTray(HWND trayButton)
{
    fillTrayRecord(trayButton);
    appState.trayStored = 1;
    ShowWindow(appState.mainWindow, SW_HIDE);
    addIconOrWait();
}

void restoreFromTray(HWND trayButton)
{
    KillTimer(appState.mainWindow, TRAY_RETRY_TIMER_ID);
    // Also when no try succeeded: a late add of the shell's leaves no icon behind.
    Shell_NotifyIconA(NIM_DELETE, &appState.trayIcon.data);
    appState.trayStored = 0;
    ShowWindow(appState.mainWindow, SW_SHOW);
    UpdateWindow(appState.mainWindow);
    UpdateWindow(appState.windowListView);
    SetWindowPos(trayButton, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void onTaskbarCreated()
{
    // A new taskbar starts without our icon; the wait, if any, starts again with it.
    if (appState.trayStored)
        addIconOrWait();
}

int32_t retryTrayIcon()
{
    if (!appState.trayStored) {
        KillTimer(appState.mainWindow, TRAY_RETRY_TIMER_ID);
        return TRAY_ICON_IN_PLACE;
    }
    int32_t step = trayRetryStep(addIcon(), appState.trayWaitStart, GetTickCount());
    if (step != TRAY_TRY_AGAIN)
        KillTimer(appState.mainWindow, TRAY_RETRY_TIMER_ID);
    if (step == TRAY_GIVE_UP)
        restoreFromTray(appState.trayIcon.data.hWnd);
    return step;
}

void showTrayMenu(HWND trayButton)
{
    HMENU menu = buildTrayMenu();
    if (menu == nullptr)
        return;
    POINT at = {};
    GetCursorPos(&at);
    // A menu of a window not in front would stay open after a click elsewhere.
    SetForegroundWindow(appState.mainWindow);
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, appState.mainWindow, nullptr));
    PostMessageA(appState.mainWindow, WM_NULL, 0, 0);
    DestroyMenu(menu);
    runTrayChoice(trayButton, chosen);
}
