// TALVERO on a desk of two monitors: a 1280x1024 monitor left of the 1920x1080
// primary, so at negative coordinates, with a gap below it. These tests run on the
// test world's two-monitor display (scripts/test.sh), never on one monitor. Under
// Wine the screen copy includes the overlay itself, so the screen and focus modes'
// gray is checked for being gray, not for the exact gray of what lies below.
#include <vector>

#include "talveroTest.h"

namespace {

constexpr COLORREF FIELD_COLOUR = RGB(200, 40, 40);
const RECT FIELD_ON_PRIMARY = {700, 150, 1000, 350};
constexpr int MAIN_INSET_X = 300;   // where the main window goes on the left monitor
constexpr int MAIN_INSET_Y = 100;

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

// Moves a monitor to (x, y) as the display settings do; a size of 0 by 0 detaches
// it. Wine ignores a position given alone: the current mode goes with it.
LONG placeMonitor(const char *device, const RECT &place)
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    if (place.right > place.left && EnumDisplaySettingsExA(device, ENUM_CURRENT_SETTINGS, &mode, 0) &&
        mode.dmPelsWidth != 0) {
        mode.dmFields |= DM_POSITION;
    } else {
        mode.dmFields = DM_POSITION | DM_PELSWIDTH | DM_PELSHEIGHT;
        mode.dmPelsWidth = static_cast<DWORD>(place.right - place.left);
        mode.dmPelsHeight = static_cast<DWORD>(place.bottom - place.top);
    }
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

bool allGray(const std::vector<uint32_t> &pixels)
{
    for (uint32_t pixel : pixels)
        if (!isGrayPixel(pixel))
            return false;
    return !pixels.empty();
}

RECT centredIn(const RECT &area, int width, int height)
{
    int left = (area.left + area.right - width) / 2;
    int top = (area.top + area.bottom - height) / 2;
    return {left, top, left + width, top + height};
}

}  // namespace

class TwoMonitors : public TalveroTest {
protected:
    MONITORINFOEXA primary = {};
    MONITORINFOEXA left = {};
    std::vector<HWND> fields;
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
    void TearDown() override
    {
        for (HWND field : fields)
            DestroyWindow(field);
        if (layoutChanged)
            EXPECT_TRUE(moveLeftMonitor(left.rcMonitor)) << "the left monitor could not be put back";
        TalveroTest::TearDown();
    }

    // Moves (or, to an empty rectangle, detaches) the left monitor, and waits
    // until the system reports the new layout.
    bool moveLeftMonitor(const RECT &place)
    {
        layoutChanged = true;
        if (placeMonitor(left.szDevice, place) != DISP_CHANGE_SUCCESSFUL)
            return false;
        size_t count = place.right > place.left ? 2 : 1;
        return waitUntilPumping(
            [&] { return monitors().size() == count && GetSystemMetrics(SM_CMONITORS) == static_cast<int>(count); },
            APPEAR_DEADLINE_MS);
    }

    HWND addField(const RECT &place, LONG *clicks = nullptr)
    {
        fields.push_back(createColourWindow("", place, FIELD_COLOUR, WS_POPUP, clicks));
        return fields.back();
    }
    void startOnLeftMonitor()
    {
        startTalvero();
        SetWindowPos(program.mainWindow, nullptr, left.rcWork.left + MAIN_INSET_X, left.rcWork.top + MAIN_INSET_Y, 0,
                     0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_TRUE(bringToFront(program.mainWindow));
    }
    // The main window's buttons: colourful pixels.
    RECT buttonRow()
    {
        RECT first = {}, last = {};
        GetWindowRect(control(IDC_BUTTON_FOREGROUND_MODE), &first);
        GetWindowRect(control(IDC_BUTTON_CONFIGURE), &last);
        return {first.left, first.top, last.right, last.bottom};
    }
    HWND onlyOverlay()
    {
        std::vector<HWND> overlays = overlayWindows(program);
        return overlays.size() == 1 ? overlays[0] : nullptr;
    }
    bool waitForOverlayOver(const RECT &place)
    {
        return waitUntilPumping(
            [&] {
                RECT now = {};
                HWND overlay = onlyOverlay();
                return overlay != nullptr && IsWindowVisible(overlay) && GetWindowRect(overlay, &now) &&
                       EqualRect(&now, &place);
            },
            APPEAR_DEADLINE_MS);
    }
    // The overlay's region is the union of the monitors' work areas (its own
    // coordinates start at the virtual screen's corner); none where they fill it.
    bool regionIsTheWorkAreas(HWND overlay)
    {
        RECT place = virtualScreen();
        HRGN expected = CreateRectRgn(0, 0, 0, 0);
        for (const MONITORINFOEXA &monitor : monitors()) {
            const RECT &work = monitor.rcWork;
            HRGN part = CreateRectRgn(work.left - place.left, work.top - place.top, work.right - place.left,
                                      work.bottom - place.top);
            CombineRgn(expected, expected, part, RGN_OR);
            DeleteObject(part);
        }
        HRGN actual = CreateRectRgn(0, 0, 0, 0);
        bool same = GetWindowRgn(overlay, actual) != ERROR && EqualRgn(actual, expected);
        DeleteObject(actual);
        DeleteObject(expected);
        return same;
    }
    void turnGrayOff()
    {
        pressCtrlAltKey('N');
        EXPECT_TRUE(waitForGray("OFF"));
        EXPECT_TRUE(waitUntilPumping([&] { return overlayWindows(program).empty(); }, APPEAR_DEADLINE_MS));
    }
};

TEST_F(TwoMonitors, ScreenModeSpansTheVirtualScreenGraysTheLeftMonitorAndLetsClicksThrough)
{
    LONG clicks = 0;
    // Below the main window on the left monitor.
    RECT fieldPlace = {left.rcWork.left + 100, left.rcWork.bottom - 300, left.rcWork.left + 400, left.rcWork.bottom - 100};
    addField(fieldPlace, &clicks);
    startOnLeftMonitor();
    RECT buttons = buttonRow();

    press(IDC_BUTTON_SCREEN_MODE);   // a click at negative coordinates
    ASSERT_TRUE(waitForGray("ON"));
    ASSERT_TRUE(waitForOverlayOver(virtualScreen())) << "the overlay spans the virtual screen";
    EXPECT_TRUE(waitUntilPumping([&] { return regionIsTheWorkAreas(onlyOverlay()); }, APPEAR_DEADLINE_MS))
        << "its region is the union of the work areas";
    EXPECT_TRUE(waitUntilPumping([&] { return allGray(screenPixels(buttons)) && allGray(screenPixels(fieldPlace)); },
                                 APPEAR_DEADLINE_MS))
        << "the left monitor turns gray";

    POINT centre = {(fieldPlace.left + fieldPlace.right) / 2, (fieldPlace.top + fieldPlace.bottom) / 2};
    clickAt(centre.x, centre.y);
    parkMouse();
    EXPECT_TRUE(waitUntilPumping([&] { return clicks > 0; }, APPEAR_DEADLINE_MS)) << "a click falls through";
    turnGrayOff();
}

TEST_F(TwoMonitors, FocusModeKeepsTheMainWindowInColourOnTheLeftMonitor)
{
    addField(FIELD_ON_PRIMARY);
    startOnLeftMonitor();
    RECT buttons = buttonRow();
    std::vector<uint32_t> colours;
    ASSERT_TRUE(waitUntilPumping([&] { return !allGray(colours = screenPixels(buttons)); }, APPEAR_DEADLINE_MS));

    pressCtrlAltKey('F');
    ASSERT_TRUE(waitForGray("ON"));
    EXPECT_TRUE(waitForOverlayOver(virtualScreen()));
    EXPECT_TRUE(waitUntilPumping([&] { return allGray(screenPixels(FIELD_ON_PRIMARY)); }, APPEAR_DEADLINE_MS))
        << "the primary monitor turns gray";
    EXPECT_TRUE(waitUntilPumping([&] { return screenPixels(buttons) == colours; }, APPEAR_DEADLINE_MS))
        << "the window in front keeps its colours on the left monitor";
    turnGrayOff();
}

TEST_F(TwoMonitors, MonitorModeGraysExactlyTheMonitorUnderThePointer)
{
    startTalvero();
    ASSERT_TRUE(bringToFront(program.mainWindow));
    for (const MONITORINFOEXA *monitor : {&left, &primary}) {
        RECT spot = centredIn(monitor->rcWork, 0, 0);
        moveMouse(spot.left, spot.top);
        pressCtrlAltKey('M');
        ASSERT_TRUE(waitForGray("ON"));
        EXPECT_TRUE(waitForOverlayOver(monitor->rcWork)) << "the overlay lies over the work area under the pointer";
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(ERROR, GetWindowRgn(onlyOverlay(), region)) << "and needs no region";
        DeleteObject(region);
        pressCtrlAltKey('M');
        EXPECT_TRUE(waitForGray("OFF")) << "Ctrl+Alt+M again ends it";
        EXPECT_TRUE(waitUntilPumping([&] { return overlayWindows(program).empty(); }, APPEAR_DEADLINE_MS));
    }
}

TEST_F(TwoMonitors, TheScreenOverlayFollowsAMonitorThatMoves)
{
    startTalvero();
    press(IDC_BUTTON_SCREEN_MODE);
    ASSERT_TRUE(waitForGray("ON"));
    ASSERT_TRUE(waitForOverlayOver(virtualScreen()));

    const RECT right = {primary.rcMonitor.right, 0, primary.rcMonitor.right + 1280, 1024};
    ASSERT_TRUE(moveLeftMonitor(right)) << "the monitor did not move right of the primary";
    EXPECT_TRUE(waitForOverlayOver({0, 0, right.right, primary.rcMonitor.bottom})) << "the overlay follows";
    EXPECT_TRUE(waitUntilPumping([&] { return regionIsTheWorkAreas(onlyOverlay()); }, APPEAR_DEADLINE_MS));
    turnGrayOff();
}

TEST_F(TwoMonitors, AMonitorModeWhoseMonitorIsGoneEnds)
{
    startTalvero();
    ASSERT_TRUE(bringToFront(program.mainWindow));
    RECT spot = centredIn(left.rcWork, 0, 0);
    moveMouse(spot.left, spot.top);
    pressCtrlAltKey('M');
    ASSERT_TRUE(waitForGray("ON"));
    ASSERT_TRUE(waitForOverlayOver(left.rcWork));

    ASSERT_TRUE(moveLeftMonitor(RECT{})) << "the monitor could not be detached";
    EXPECT_TRUE(waitForGray("OFF"));
    EXPECT_TRUE(waitUntilPumping([&] { return overlayWindows(program).empty(); }, APPEAR_DEADLINE_MS));
}
