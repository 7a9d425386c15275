// TALVERO on a desk of two monitors: a 1280x1024 monitor left of the 1920x1080
// primary, so at negative coordinates, with a gap below it. These tests run on the
// test world's two-monitor display (scripts/test.sh), never on one monitor. Under
// Wine the screen copy includes the overlay itself, so the screen and focus modes'
// gray is checked for being gray, not for the exact gray of what lies below.
#include <algorithm>
#include <vector>

#include "talveroTest.h"

namespace {

constexpr COLORREF FIELD_COLOUR = RGB(200, 40, 40);
const RECT FIELD_ON_PRIMARY = {700, 150, 1000, 350};
constexpr int INSET = 300;   // of the main window and the field from the left monitor's corners

BOOL CALLBACK addMonitorProc(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info))
        reinterpret_cast<std::vector<MONITORINFOEXA> *>(data)->push_back(info);
    return TRUE;
}

std::vector<MONITORINFOEXA> monitors()
{
    std::vector<MONITORINFOEXA> found;
    EnumDisplayMonitors(nullptr, nullptr, addMonitorProc, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Moves a monitor as the display settings do; an empty place detaches it. Wine
// ignores a position given alone: the current mode goes with it.
LONG placeMonitor(const char *device, const RECT &place)
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsExA(device, ENUM_CURRENT_SETTINGS, &mode, 0);
    mode.dmFields |= DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
    mode.dmPelsWidth = static_cast<DWORD>(place.right - place.left);
    mode.dmPelsHeight = static_cast<DWORD>(place.bottom - place.top);
    mode.dmPosition = {place.left, place.top};
    LONG result = ChangeDisplaySettingsExA(device, &mode, nullptr, CDS_UPDATEREGISTRY | CDS_NORESET, nullptr);
    return result != DISP_CHANGE_SUCCESSFUL ? result : ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr);
}

RECT virtualScreen()
{
    int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The union of the work areas in the overlay's coordinates, which start at the
// virtual screen's corner.
bool regionIsTheWorkAreas(HWND overlay)
{
    RECT place = virtualScreen();
    HRGN expected = CreateRectRgn(0, 0, 0, 0);
    for (const MONITORINFOEXA &monitor : monitors()) {
        RECT part = monitor.rcWork;
        OffsetRect(&part, -place.left, -place.top);
        HRGN partRegion = CreateRectRgnIndirect(&part);
        CombineRgn(expected, expected, partRegion, RGN_OR);
        DeleteObject(partRegion);
    }
    HRGN actual = CreateRectRgn(0, 0, 0, 0);
    bool same = GetWindowRgn(overlay, actual) != ERROR && EqualRgn(actual, expected);
    DeleteObject(actual);
    DeleteObject(expected);
    return same;
}

POINT middleOf(const RECT &area)
{
    return {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
}

}  // namespace

class TwoMonitors : public TalveroTest {
protected:
    MONITORINFOEXA primary = {};
    MONITORINFOEXA left = {};
    HWND field = nullptr;
    bool layoutChanged = false;

    void SetUp() override
    {
        TalveroTest::SetUp();
        std::vector<MONITORINFOEXA> all = monitors();
        ASSERT_EQ(2u, all.size()) << "these tests need the test world's two-monitor display";
        for (const MONITORINFOEXA &monitor : all)
            ((monitor.dwFlags & MONITORINFOF_PRIMARY) != 0 ? primary : left) = monitor;
        ASSERT_LT(left.rcMonitor.right, 1) << "the second monitor lies left of the primary";
    }
    // The program ends before the monitor is put back: under Wine, a process ended
    // while a display change goes round can leave every later process hanging at start.
    void TearDown() override
    {
        TalveroTest::TearDown();
        DestroyWindow(field);
        if (layoutChanged)
            EXPECT_TRUE(moveLeftMonitor(left.rcMonitor)) << "the left monitor could not be put back";
    }
    // Moves (or, to an empty place, detaches) the left monitor; true once the system reports it.
    bool moveLeftMonitor(const RECT &place)
    {
        layoutChanged = true;
        auto placed = [&] {
            std::vector<MONITORINFOEXA> all = monitors();
            if (IsRectEmpty(&place))
                return all.size() == 1;
            return std::any_of(all.begin(), all.end(),
                               [&](const MONITORINFOEXA &monitor) { return EqualRect(&monitor.rcMonitor, &place); });
        };
        return placeMonitor(left.szDevice, place) == DISP_CHANGE_SUCCESSFUL &&
               waitUntilPumping(placed, APPEAR_DEADLINE_MS);
    }
    void startOnLeftMonitor()
    {
        startTalvero();
        SetWindowPos(program.mainWindow, nullptr, left.rcWork.left + INSET, left.rcWork.top + INSET / 3, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_TRUE(bringToFront(program.mainWindow));
    }
    RECT colourfulButton() { return windowRectOf(control(IDC_BUTTON_NORMAL_COLOR)); }
    bool waitForOverlayOver(const RECT &place)
    {
        return waitUntilPumping([&] { return onlyOverlayOver(program, place); }, APPEAR_DEADLINE_MS);
    }
    bool waitUntilGray(const RECT &area)
    {
        return waitUntilPumping([&] { return screenIsGray(area); }, APPEAR_DEADLINE_MS);
    }
    bool hotkeyTurnsGray(WORD key, const char *state)
    {
        pressCtrlAltKey(key);
        return waitForGray(state);
    }
};

TEST_F(TwoMonitors, ScreenModeCoversEveryWorkAreaLetsClicksThroughAndFollowsAMonitorThatMoves)
{
    LONG clicks = 0;
    RECT fieldPlace = {left.rcWork.left + INSET, left.rcWork.bottom - INSET, left.rcWork.left + 2 * INSET,
                       left.rcWork.bottom - INSET / 3};
    field = createColourWindow("", fieldPlace, FIELD_COLOUR, WS_POPUP, &clicks);
    startOnLeftMonitor();
    press(IDC_BUTTON_SCREEN_MODE);   // a click at negative coordinates
    ASSERT_TRUE(waitForGray("ON"));
    ASSERT_TRUE(waitForOverlayOver(virtualScreen())) << "the overlay spans the virtual screen";
    HWND overlay = overlayWindows(program)[0];
    EXPECT_TRUE(waitUntilPumping([&] { return regionIsTheWorkAreas(overlay); }, APPEAR_DEADLINE_MS));
    EXPECT_TRUE(waitUntilGray(colourfulButton()) && waitUntilGray(fieldPlace)) << "the left monitor turns gray";
    POINT centre = middleOf(fieldPlace);
    clickAt(centre.x, centre.y);
    parkMouse();
    EXPECT_TRUE(waitUntilPumping([&] { return clicks > 0; }, APPEAR_DEADLINE_MS)) << "a click falls through";

    const RECT right = {primary.rcMonitor.right, 0, primary.rcMonitor.right + 1280, 1024};
    ASSERT_TRUE(moveLeftMonitor(right)) << "the monitor did not move right of the primary";
    EXPECT_TRUE(waitForOverlayOver({0, 0, right.right, primary.rcMonitor.bottom})) << "the overlay follows";
    EXPECT_TRUE(waitUntilPumping([&] { return regionIsTheWorkAreas(overlay); }, APPEAR_DEADLINE_MS));
    EXPECT_TRUE(hotkeyTurnsGray('N', "OFF"));
}

TEST_F(TwoMonitors, FocusModeKeepsTheMainWindowInColourOnTheLeftMonitor)
{
    field = createColourWindow("", FIELD_ON_PRIMARY, FIELD_COLOUR, WS_POPUP);
    startOnLeftMonitor();
    std::vector<uint32_t> colours;
    ASSERT_TRUE(waitUntilPumping([&] { return !screenIsGray(colourfulButton()); }, APPEAR_DEADLINE_MS));
    colours = screenPixels(colourfulButton());

    ASSERT_TRUE(hotkeyTurnsGray('F', "ON"));
    EXPECT_TRUE(waitForOverlayOver(virtualScreen()));
    EXPECT_TRUE(waitUntilGray(FIELD_ON_PRIMARY)) << "the primary monitor turns gray";
    EXPECT_TRUE(waitUntilPumping([&] { return screenPixels(colourfulButton()) == colours; }, APPEAR_DEADLINE_MS))
        << "the window in front keeps its colours on the left monitor";
    EXPECT_TRUE(hotkeyTurnsGray('N', "OFF"));
}

TEST_F(TwoMonitors, MonitorModeGraysTheMonitorUnderThePointerAndEndsWhenItIsGone)
{
    startTalvero();
    ASSERT_TRUE(bringToFront(program.mainWindow));
    for (const MONITORINFOEXA *monitor : {&primary, &left}) {
        POINT spot = middleOf(monitor->rcWork);
        moveMouse(spot.x, spot.y);
        ASSERT_TRUE(hotkeyTurnsGray('M', "ON"));
        EXPECT_TRUE(waitForOverlayOver(monitor->rcWork)) << "the overlay lies over the work area under the pointer";
        if (monitor == &primary)
            EXPECT_TRUE(hotkeyTurnsGray('M', "OFF")) << "Ctrl+Alt+M again ends it";
    }
    ASSERT_TRUE(moveLeftMonitor(RECT{})) << "the monitor could not be detached";
    EXPECT_TRUE(waitForGray("OFF")) << "the monitor mode ends with its monitor";
    EXPECT_TRUE(waitUntilPumping([&] { return overlayWindows(program).empty(); }, APPEAR_DEADLINE_MS));
}
