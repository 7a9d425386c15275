// A person uses the buttons: a command runs only for a press and a release on the
// same button, hover and press show in the button's picture, the configuration
// dialog keeps every change in "config.txt", and the notification area stores the
// main window while gray goes on.
#include "talveroTest.h"

#include <commctrl.h>

namespace {

constexpr int STRIP_COLUMN = 60;
constexpr int ROW_NORMAL = 0;
constexpr int ROW_HOVER = 60;
constexpr int ROW_PUSHED = 120;

}  // namespace

class Buttons : public TalveroTest {
protected:
    std::vector<DWORD> strip;
    int stripWidth = 0;
    int stripHeight = 0;

    // The button on screen shows the strip's 60 x 60 block of its slot and this row.
    bool showsRow(int buttonId, int slot, int row)
    {
        std::vector<uint32_t> shown = screenPixels(clientRectOnScreen(control(buttonId)));
        if (shown.size() != static_cast<size_t>(STRIP_COLUMN * STRIP_COLUMN))
            return false;
        for (int y = 0; y < STRIP_COLUMN; y++)
            for (int x = 0; x < STRIP_COLUMN; x++)
                if (shown[y * STRIP_COLUMN + x] != strip[(row + y) * stripWidth + slot * STRIP_COLUMN + x])
                    return false;
        return true;
    }
    // Nothing starts: no overlay, gray stays off.
    void expectNoCommandRan()
    {
        bool started = waitUntil([&] { return !overlayWindows(program).empty() || status(1) != "Gray: OFF"; },
                                 QUIET_PERIOD_MS);
        EXPECT_FALSE(started) << "a command ran";
    }
};

TEST_F(Buttons, OnlyAPressAndAReleaseOnTheSameButtonRunItsCommand)
{
    startTalvero();
    POINT screenMode = centreOf(control(IDC_BUTTON_SCREEN_MODE));
    POINT foregroundMode = centreOf(control(IDC_BUTTON_FOREGROUND_MODE));
    POINT list = centreOf(control(IDC_WINDOW_LIST));

    dragFromTo(screenMode.x, screenMode.y, list.x, list.y);
    dragFromTo(screenMode.x, screenMode.y, foregroundMode.x, foregroundMode.y);
    parkMouse();
    // The press left the focus on the screen-mode button: its keyboard click is ignored.
    ASSERT_TRUE(bringToFront(program.mainWindow));
    pressKey(VK_SPACE);
    expectNoCommandRan();

    press(IDC_BUTTON_SCREEN_MODE);
    EXPECT_TRUE(waitForGray("ON")) << "a press and a release on the button ran nothing";
    press(IDC_BUTTON_NORMAL_COLOR);
    EXPECT_TRUE(waitForGray("OFF"));
}

TEST_F(Buttons, HoverAndPressAreDrawnFromTheirRows)
{
    strip = loadButtonStrip(&stripWidth, &stripHeight);
    ASSERT_EQ(static_cast<size_t>(300 * 180), strip.size());
    startTalvero();
    const int slot = 1;   // the screen-mode button
    POINT centre = centreOf(control(IDC_BUTTON_SCREEN_MODE));
    EXPECT_TRUE(waitUntil([&] { return showsRow(IDC_BUTTON_SCREEN_MODE, slot, ROW_NORMAL); }, APPEAR_DEADLINE_MS));
    moveMouse(centre.x, centre.y);
    EXPECT_TRUE(waitUntil([&] { return showsRow(IDC_BUTTON_SCREEN_MODE, slot, ROW_HOVER); }, APPEAR_DEADLINE_MS));
    pressMouseAt(centre.x, centre.y);
    EXPECT_TRUE(waitUntil([&] { return showsRow(IDC_BUTTON_SCREEN_MODE, slot, ROW_PUSHED); }, APPEAR_DEADLINE_MS));
    POINT away = centreOf(control(IDC_WINDOW_LIST));
    moveMouse(away.x, away.y);
    releaseMouseAt(away.x, away.y);
    parkMouse();
    EXPECT_TRUE(waitUntil([&] { return showsRow(IDC_BUTTON_SCREEN_MODE, slot, ROW_NORMAL); }, APPEAR_DEADLINE_MS))
        << "the button stays drawn hovered or pushed after the mouse left";
    expectNoCommandRan();
    // A move that reaches the button once the pointer is elsewhere (a late one, or one
    // made up when a window appears under the pointer) draws no hover.
    PostMessageA(control(IDC_BUTTON_SCREEN_MODE), WM_MOUSEMOVE, 0, MAKELPARAM(STRIP_COLUMN / 2, STRIP_COLUMN / 2));
    Sleep(QUIET_PERIOD_MS);
    EXPECT_TRUE(showsRow(IDC_BUTTON_SCREEN_MODE, slot, ROW_NORMAL)) << "a late move left the button hovered";
}

TEST_F(Buttons, TheConfigurationDialogKeepsEveryChangeInTheSettingsFile)
{
    startTalvero();
    press(IDC_BUTTON_CONFIGURE);
    HWND dialog = waitForDialog("Config");
    ASSERT_NE(nullptr, dialog);
    HWND trackbar = GetDlgItem(dialog, IDC_CONFIG_TONE);
    HWND value = GetDlgItem(dialog, IDC_CONFIG_TONE_VALUE);

    SendMessageA(trackbar, TBM_SETPOS, TRUE, 4);
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 4), reinterpret_cast<LPARAM>(trackbar));
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(trackbar));
    EXPECT_EQ("4", controlText(value));
    EXPECT_TRUE(waitUntil([&] { return settingsFileHolds("Setting 0 4 0 "); }, APPEAR_DEADLINE_MS))
        << "the file after the move: " << settingsText();

    // A choice reaches the file with the next command, at the latest with "Close".
    SendMessageA(GetDlgItem(dialog, IDC_CONFIG_HDTV), BM_CLICK, 0, 0);
    EXPECT_TRUE(settingsFileHolds("Setting 0 4 0 ")) << settingsText();
    SendMessageA(GetDlgItem(dialog, IDC_CONFIG_CLOSE), BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, APPEAR_DEADLINE_MS));
    EXPECT_TRUE(settingsFileHolds("Setting 1 4 0 ")) << settingsText();

    press(IDC_BUTTON_CONFIGURE);
    dialog = waitForDialog("Config");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(dialog, IDC_CONFIG_HDTV), BM_GETCHECK, 0, 0));
    ASSERT_TRUE(bringToFront(dialog));
    pressKey(VK_ESCAPE);
    EXPECT_FALSE(waitUntil([&] { return !IsWindow(dialog); }, QUIET_PERIOD_MS)) << "Escape closed the dialog";

    SendMessageA(GetDlgItem(dialog, IDC_CONFIG_DEFAULT), BM_CLICK, 0, 0);
    EXPECT_EQ(10, SendMessageA(GetDlgItem(dialog, IDC_CONFIG_TONE), TBM_GETPOS, 0, 0));
    EXPECT_EQ("10", controlText(GetDlgItem(dialog, IDC_CONFIG_TONE_VALUE)));
    EXPECT_EQ(BST_CHECKED, SendMessageA(GetDlgItem(dialog, IDC_CONFIG_NTSC), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(GetDlgItem(dialog, IDC_CONFIG_HDTV), BM_GETCHECK, 0, 0));
    EXPECT_EQ(BST_UNCHECKED, SendMessageA(GetDlgItem(dialog, IDC_CONFIG_REVERSE), BM_GETCHECK, 0, 0));
    EXPECT_TRUE(waitUntil([&] { return settingsFileHolds("Setting 0 10 0 "); }, APPEAR_DEADLINE_MS))
        << "the file after Set Default: " << settingsText();
    SendMessageA(GetDlgItem(dialog, IDC_CONFIG_CLOSE), BM_CLICK, 0, 0);
}

namespace {

// The icon's right-click menu, opened and one entry chosen by its underlined key.
void chooseFromTrayMenu(const Program &program, HWND icon, WORD itemKey)
{
    POINT centre = centreOf(icon);
    rightClickAt(centre.x, centre.y);
    ASSERT_TRUE(waitUntil([&] { return findProgramWindow(program, "#32768", "") != nullptr; }, APPEAR_DEADLINE_MS))
        << "no tray menu";
    pressKey(itemKey);
}

}  // namespace

TEST_F(Buttons, TheTrayStoresTheWindowWhileGrayGoesOnAndItsMenuSnoozesTheGray)
{
    startTalvero();
    press(IDC_BUTTON_SCREEN_MODE);
    ASSERT_TRUE(waitForGray("ON"));

    press(IDC_BUTTON_TRAY);
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(program.mainWindow); }, APPEAR_DEADLINE_MS));
    HWND icon = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (icon = trayIconWindow()) != nullptr; }, APPEAR_DEADLINE_MS)) << "no tray icon";
    EXPECT_EQ(1u, overlayWindows(program).size()) << "gray stopped with the store";
    EXPECT_EQ("Gray: ON", status(1));
    POINT centre = centreOf(icon);
    clickAt(centre.x, centre.y);
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(program.mainWindow) != FALSE; }, APPEAR_DEADLINE_MS))
        << "a left click on the icon did not bring the window back";

    // Ctrl+Alt+Z: colour for ten minutes, said with the minute it ends.
    pressCtrlAltKey('Z');
    EXPECT_TRUE(waitUntilPumping([&] { return status(1).rfind("Colour until ", 0) == 0; }, APPEAR_DEADLINE_MS))
        << status(1);
    EXPECT_TRUE(waitUntil([&] { return overlayWindows(program).empty(); }, APPEAR_DEADLINE_MS));

    press(IDC_BUTTON_TRAY);
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(program.mainWindow) && (icon = trayIconWindow()) != nullptr; },
                          APPEAR_DEADLINE_MS));
    chooseFromTrayMenu(program, icon, 'G');   // "Gray again now"
    EXPECT_TRUE(waitForGray("ON")) << "the snooze's end brought no gray back";
    chooseFromTrayMenu(program, icon, '3');   // "Colour for 30 minutes"
    EXPECT_TRUE(waitUntilPumping([&] { return status(1).rfind("Colour until ", 0) == 0; }, APPEAR_DEADLINE_MS));
    chooseFromTrayMenu(program, icon, 'O');   // "Open TALVERO"
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(program.mainWindow) != FALSE; }, APPEAR_DEADLINE_MS))
        << "the menu did not bring the window back";
    parkMouse();
    press(IDC_BUTTON_SCREEN_MODE);   // a person's own start ends the snooze
    EXPECT_TRUE(waitForGray("ON"));
}
