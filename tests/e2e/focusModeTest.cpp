// Focus mode as a person sees it: Ctrl+Alt+F grays everything but the window in
// front, which keeps its colours; the hole follows that window when it moves; and
// clicks still fall through the gray part. The window in front is talvero.exe's
// own main window. Under Wine the screen copy includes the overlay itself, and
// the overlay is already shown, unpainted (black), when the first frame is copied:
// so the gray part is checked for being gray (equal channels, the field's red gone),
// not for the exact gray of the field, which Windows would show.
#include "talveroTest.h"

namespace {

const RECT FIELD_PLACE = {700, 150, 1000, 350};   // away from the main window and the tray corner
constexpr COLORREF FIELD_COLOUR = RGB(200, 40, 40);
// Moving the main window this far keeps it clear of the field.
constexpr int MOVE_X = 40;
constexpr int MOVE_Y = 60;

LONG fieldClicks = 0;

LRESULT CALLBACK fieldProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_LBUTTONDOWN)
        fieldClicks++;
    return DefWindowProcA(window, message, wParam, lParam);
}

// A plain coloured window of the test process, below the gray.
HWND createColourField()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = fieldProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(FIELD_COLOUR);
    windowClass.lpszClassName = "FocusModeField";
    RegisterClassA(&windowClass);
    return CreateWindowExA(WS_EX_TOOLWINDOW, windowClass.lpszClassName, "", WS_POPUP | WS_VISIBLE, FIELD_PLACE.left,
                           FIELD_PLACE.top, FIELD_PLACE.right - FIELD_PLACE.left,
                           FIELD_PLACE.bottom - FIELD_PLACE.top, nullptr, nullptr, windowClass.hInstance, nullptr);
}

RECT shifted(const RECT &rect, int dx, int dy)
{
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

}  // namespace

class FocusMode : public TalveroTest {
protected:
    HWND field = nullptr;

    void TearDown() override
    {
        if (field != nullptr)
            DestroyWindow(field);
        TalveroTest::TearDown();
    }

    // The main window's buttons: colourful pixels that must come through unchanged.
    RECT buttonRow()
    {
        RECT first = {}, last = {};
        GetWindowRect(control(IDC_BUTTON_FOREGROUND_MODE), &first);
        GetWindowRect(control(IDC_BUTTON_CONFIGURE), &last);
        return {first.left, first.top, last.right, last.bottom};
    }
    bool fieldIsGray()
    {
        for (uint32_t pixel : screenPixels(FIELD_PLACE))
            if (!isGrayPixel(pixel))
                return false;
        return true;
    }
};

TEST_F(FocusMode, AllButTheWindowInFrontIsGrayAndTheHoleFollowsIt)
{
    field = createColourField();
    ASSERT_NE(nullptr, field);
    startTalvero();
    ASSERT_TRUE(bringToFront(program.mainWindow));
    RECT buttons = buttonRow();
    std::vector<uint32_t> colours;
    ASSERT_TRUE(waitUntilPumping([&] { return !fieldIsGray() && !(colours = screenPixels(buttons)).empty(); },
                          APPEAR_DEADLINE_MS));

    pressCtrlAltKey('F');
    ASSERT_TRUE(waitForGray("ON"));
    EXPECT_TRUE(waitUntilPumping([&] { return fieldIsGray(); }, APPEAR_DEADLINE_MS)) << "the field beside it turns gray";
    // The overlay shows a moment before its first frame cuts the hole.
    EXPECT_TRUE(waitUntilPumping([&] { return screenPixels(buttons) == colours; }, APPEAR_DEADLINE_MS))
        << "the window in front keeps its colours";
    EXPECT_EQ(program.mainWindow, GetForegroundWindow()) << "the focus mode leaves the window in front there";

    RECT outer = {};
    GetWindowRect(program.mainWindow, &outer);
    SetWindowPos(program.mainWindow, nullptr, outer.left + MOVE_X, outer.top + MOVE_Y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT movedButtons = shifted(buttons, MOVE_X, MOVE_Y);
    EXPECT_TRUE(waitUntilPumping([&] { return screenPixels(movedButtons) == colours; }, APPEAR_DEADLINE_MS))
        << "the hole moves with the window";

    // The field lies under the gray part of the overlay: the click reaches it.
    POINT centre = {(FIELD_PLACE.left + FIELD_PLACE.right) / 2, (FIELD_PLACE.top + FIELD_PLACE.bottom) / 2};
    clickAt(centre.x, centre.y);
    parkMouse();
    EXPECT_TRUE(waitUntilPumping([&] { return fieldClicks > 0; }, APPEAR_DEADLINE_MS)) << "the click falls through the gray";

    pressCtrlAltKey('N');
    EXPECT_TRUE(waitForGray("OFF")) << "Ctrl+Alt+N ends the focus mode";
    EXPECT_TRUE(waitUntil([&] { return overlayWindows(program).empty(); }, APPEAR_DEADLINE_MS));
}
