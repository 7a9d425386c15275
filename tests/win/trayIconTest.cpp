// The notification-area icon in this test process: the record each system is
// given, the icon that comes back when the taskbar is recreated, and an icon
// the shell added late.
#include <windows.h>

#include <gtest/gtest.h>

#include "appState.h"
#include "captureTestWorld.h"
#include "mainWindow.h"
#include "trayIcon.h"

namespace {

constexpr DWORD DEADLINE_MS = 10000;
constexpr UINT XP_BYTES = 504;     // a stand-in pair of sizes: only which one is taken matters
constexpr UINT FULL_BYTES = 508;
const char TRAY_ICON_CLASS[] = "__winex11_tray_icon";   // Wine's window for each icon

BOOL CALLBACK findIconChild(HWND window, LPARAM found)
{
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, TRAY_ICON_CLASS) == 0 && IsWindowVisible(window)) {
        *reinterpret_cast<bool *>(found) = true;
        return FALSE;
    }
    return TRUE;
}

bool trayIconShown()
{
    bool found = false;
    for (HWND top = GetTopWindow(nullptr); top != nullptr && !found; top = GetWindow(top, GW_HWNDNEXT))
        EnumChildWindows(top, findIconChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND createTrayButton()
{
    return CreateWindowExA(0, "BUTTON", "tray", WS_CHILD, 0, 0, 10, 10, appState.mainWindow, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

TEST(TrayIcon, EachSystemGetsARecordItAccepts)
{
    struct Case {
        uint32_t majorVersion;
        uint32_t bytes;
        uint32_t flags;
    };
    const Case cases[] = {
        {5, XP_BYTES, NIF_MESSAGE | NIF_ICON | NIF_TIP},          // XP: no balloon icon, no NIF_SHOWTIP
        {6, FULL_BYTES, NIF_MESSAGE | NIF_ICON | NIF_TIP | 0x80},  // Vista and 7: the whole record
        {0, XP_BYTES, NIF_MESSAGE | NIF_ICON | NIF_TIP},          // version unknown: the safe one
    };
    for (const Case &c : cases) {
        TrayRecordFormat format = trayRecordFormat(c.majorVersion, XP_BYTES, FULL_BYTES);
        EXPECT_EQ(c.bytes, format.bytes) << "system " << c.majorVersion;
        EXPECT_EQ(c.flags, format.flags) << "system " << c.majorVersion;
        EXPECT_EQ(0u, format.flags & NIF_GUID) << "a zero GUID names no icon";
    }
}

TEST(TrayIcon, TheIconComesBackWhenTheTaskbarIsRecreated)
{
    ensureCaptureWorld();
    appState.taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    HWND button = createTrayButton();
    storeInTray(button);
    ASSERT_TRUE(pumpUntil(trayIconShown, DEADLINE_MS)) << "no icon after the store";
    EXPECT_FALSE(IsWindowVisible(appState.mainWindow));

    // A new taskbar starts without our icon.
    Shell_NotifyIconA(NIM_DELETE, &appState.trayIcon.data);
    ASSERT_TRUE(pumpUntil([] { return !trayIconShown(); }, DEADLINE_MS));
    mainWindowProc(appState.mainWindow, appState.taskbarCreatedMessage, 0, 0);
    EXPECT_TRUE(pumpUntil(trayIconShown, DEADLINE_MS)) << "the icon was not added again";

    restoreFromTray(button);
    EXPECT_TRUE(pumpUntil([] { return !trayIconShown(); }, DEADLINE_MS));
    EXPECT_TRUE(IsWindowVisible(appState.mainWindow));
    // Restored, a new taskbar gets no icon: the window is its own way back.
    mainWindowProc(appState.mainWindow, appState.taskbarCreatedMessage, 0, 0);
    pumpFor(500);
    EXPECT_FALSE(trayIconShown());
    DestroyWindow(button);
}

// The shell may add an icon after its call has failed (it waits only seconds for a
// busy taskbar): an icon it holds for our button is taken, with no box or retries.
TEST(TrayIcon, AnIconTheShellAlreadyHoldsIsTaken)
{
    ensureCaptureWorld();
    HWND button = createTrayButton();
    NOTIFYICONDATAA late = {};
    late.cbSize = sizeof late;
    late.hWnd = button;
    late.uID = 0;
    ASSERT_TRUE(Shell_NotifyIconA(NIM_ADD, &late));
    storeInTray(button);
    EXPECT_FALSE(IsWindowVisible(appState.mainWindow));
    EXPECT_FALSE(KillTimer(appState.mainWindow, TRAY_RETRY_TIMER_ID)) << "still trying to add the icon";
    restoreFromTray(button);
    EXPECT_TRUE(pumpUntil([] { return !trayIconShown(); }, DEADLINE_MS));
    DestroyWindow(button);
}
