// The global hotkeys, pressed with real keyboard input: each toggles its mode as
// its button would, and a combination another program holds is named at start
// while the others still work.
#include "talveroTest.h"

namespace {

class Hotkeys : public TalveroTest {
protected:
    // A hotkey is handled by the program's UI thread; the status bar shows the result.
    bool hotkeyTurnsGray(WORD key, const char *state)
    {
        pressCtrlAltKey(key);
        return waitForGray(state);
    }
};

// This test's own claim on a combination, registered for its thread.
constexpr int HELD_HOTKEY_ID = 1;
const char TARGET_TITLE[] = "TALVERO hotkey target";
const RECT TARGET_PLACE = {700, 150, 1000, 350};
constexpr int ROW_CLICK_X = 60;   // in the title column, right of the icon

}  // namespace

TEST_F(Hotkeys, EachHotkeyTogglesItsMode)
{
    startTalvero();
    ASSERT_TRUE(bringToFront(program.mainWindow));

    EXPECT_TRUE(hotkeyTurnsGray('G', "ON")) << "Ctrl+Alt+G starts the foreground mode";
    EXPECT_EQ(1u, overlayWindows(program).size());
    EXPECT_TRUE(hotkeyTurnsGray('G', "OFF")) << "Ctrl+Alt+G again returns the colour";

    EXPECT_TRUE(hotkeyTurnsGray('S', "ON")) << "Ctrl+Alt+S starts the screen mode";
    EXPECT_TRUE(hotkeyTurnsGray('S', "OFF")) << "Ctrl+Alt+S again returns the colour";

    EXPECT_TRUE(hotkeyTurnsGray('F', "ON")) << "Ctrl+Alt+F starts the focus mode";
    EXPECT_TRUE(hotkeyTurnsGray('F', "OFF")) << "Ctrl+Alt+F again returns the colour";

    EXPECT_TRUE(hotkeyTurnsGray('S', "ON"));
    EXPECT_TRUE(hotkeyTurnsGray('N', "OFF")) << "Ctrl+Alt+N returns the colour";
}

TEST_F(Hotkeys, AHeldHotkeyIsNamedAndTheOthersStillWork)
{
    ASSERT_TRUE(RegisterHotKey(nullptr, HELD_HOTKEY_ID, MOD_CONTROL | MOD_ALT, 'S'));
    startTalvero();
    EXPECT_TRUE(waitUntil([&] { return status(0) == "Hotkey in use: Ctrl+Alt+S"; }, APPEAR_DEADLINE_MS))
        << "status part 0: \"" << status(0) << "\"";

    ASSERT_TRUE(bringToFront(program.mainWindow));
    EXPECT_TRUE(hotkeyTurnsGray('G', "ON")) << "Ctrl+Alt+G still works";
    EXPECT_TRUE(hotkeyTurnsGray('N', "OFF")) << "Ctrl+Alt+N still works";
    UnregisterHotKey(nullptr, HELD_HOTKEY_ID);
}

TEST_F(Hotkeys, AfterARunEndedByItselfTheFirstPressStartsItsMode)
{
    HWND target = createColourWindow(TARGET_TITLE, TARGET_PLACE, RGB(40, 160, 40), WS_OVERLAPPEDWINDOW);
    ASSERT_NE(nullptr, target);
    startTalvero();
    HWND list = control(IDC_WINDOW_LIST);
    int row = -1;
    ASSERT_TRUE(waitUntilPumping([&] { return (row = listRowTitled(program, list, TARGET_TITLE)) >= 0; },
                                 APPEAR_DEADLINE_MS));
    RECT rowPlace = listRowOnScreen(program, list, row);
    doubleClickAt(rowPlace.left + ROW_CLICK_X, (rowPlace.top + rowPlace.bottom) / 2);
    parkMouse();
    ASSERT_TRUE(waitUntilPumping([&] { return status(1) == "Gray: ON"; }, APPEAR_DEADLINE_MS));

    DestroyWindow(target);   // the selected-window mode ends by itself
    ASSERT_TRUE(waitUntilPumping([&] { return status(1) == "Gray: OFF"; }, APPEAR_DEADLINE_MS));
    ASSERT_TRUE(bringToFront(program.mainWindow));
    EXPECT_TRUE(hotkeyTurnsGray('G', "ON")) << "with no gray on screen, the first Ctrl+Alt+G starts the foreground mode";
    EXPECT_EQ(1u, overlayWindows(program).size());
}
