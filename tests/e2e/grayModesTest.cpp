// A person grays with the buttons: each mode starts from its button, covers its
// target with a click-through overlay, grays it with the chosen settings and ends
// with "Return a color to normal". Pixel-exact checks use talvero.exe's own main
// window, which the foreground mode grays when started from its button: under
// Wine a covered window of another process reads black, and the screen mode
// copies its own overlay back.
#include <windows.h>

#include <commctrl.h>

#include <regex>

#include "gray.h"
#include "talveroTest.h"

namespace {

constexpr DWORD FRAME_RATE_DEADLINE_MS = 30000;   // 100 frames, with room for a slow machine
constexpr DWORD LIST_SCAN_MS = 800;
constexpr DWORD STILL_DESK_MS = 2000;   // twice what makes the desk still
const RECT HELPER_PLACE = {700, 150, 1000, 350};

struct GraySettingsCase {
    const char *fileText;
    int32_t convertType;
    int32_t grayTone;
    int32_t reverseGray;
    bool onLeftMonitor;   // the main window moved onto a monitor left of the primary first
};
constexpr int LEFT_MONITOR_INSET = 300;

uint32_t grayOf(uint32_t colour, const GraySettingsCase &settings)
{
    uint8_t pixel[4] = {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8),
                        static_cast<uint8_t>(colour >> 16), 0};
    convertFrame(pixel, 1, 1, 32, settings.convertType, settings.grayTone, settings.reverseGray);
    return pixel[0] | static_cast<uint32_t>(pixel[1]) << 8 | static_cast<uint32_t>(pixel[2]) << 16;
}

RECT rectOf(HWND window)
{
    RECT place = {};
    GetWindowRect(window, &place);
    return place;
}

std::string describe(const RECT &rect)
{
    return "(" + std::to_string(rect.left) + ", " + std::to_string(rect.top) + ")-(" + std::to_string(rect.right) +
           ", " + std::to_string(rect.bottom) + ")";
}

LRESULT CALLBACK helperProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// A plain window of the test process for the foreground mode to follow (or, of a
// shell's class, not to follow).
HWND createHelperWindow(const char *className = "GrayModesHelper", DWORD style = WS_OVERLAPPEDWINDOW)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = helperProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, windowClass.lpszClassName, "gray modes helper", style | WS_VISIBLE,
                           HELPER_PLACE.left, HELPER_PLACE.top, HELPER_PLACE.right - HELPER_PLACE.left,
                           HELPER_PLACE.bottom - HELPER_PLACE.top, nullptr, nullptr, windowClass.hInstance, nullptr);
}


}  // namespace

class GrayModes : public TalveroTest {
protected:
    bool waitForFrameRate()
    {
        static const std::regex rate("FPS: [0-9]+");
        return waitUntil([&] { return std::regex_match(status(0), rate); }, FRAME_RATE_DEADLINE_MS);
    }
    HWND onlyOverlay()
    {
        std::vector<HWND> overlays = overlayWindows(program);
        return overlays.size() == 1 ? overlays[0] : nullptr;
    }
    bool overlayOver(const RECT &place)
    {
        HWND overlay = onlyOverlay();
        RECT now = rectOf(overlay);
        return overlay != nullptr && IsWindowVisible(overlay) && EqualRect(&now, &place);
    }
    bool waitForOverlayOver(const RECT &place)
    {
        return waitUntil([&] { return overlayOver(place); }, APPEAR_DEADLINE_MS);
    }
    // The click lands on the main window, not on the overlay that covers it.
    void expectClicksPassThrough()
    {
        POINT listCentre = centreOf(control(IDC_WINDOW_LIST));
        EXPECT_EQ(program.mainWindow, GetAncestor(WindowFromPoint(listCentre), GA_ROOT));
    }
    void turnGrayOff()
    {
        press(IDC_BUTTON_NORMAL_COLOR);
        EXPECT_TRUE(waitForGray("OFF"));
        EXPECT_EQ("FPS: ", status(0));
        EXPECT_TRUE(waitUntil([&] { return overlayWindows(program).empty(); }, APPEAR_DEADLINE_MS))
            << "the overlay stays after the colours came back";
    }
    // The overlay is shown over this point of the screen and its region, if any, holds it.
    bool graysAt(HWND overlay, POINT point)
    {
        RECT place = rectOf(overlay);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        int kind = GetWindowRgn(overlay, region);
        bool grays = overlay != nullptr && IsWindowVisible(overlay) && PtInRect(&place, point) &&
                     (kind == ERROR || PtInRegion(region, point.x - place.left, point.y - place.top));
        DeleteObject(region);
        return grays;
    }
    // Main-window pixels outside the status bar, whose texts change with the mode.
    std::vector<uint32_t> mainWindowPixels()
    {
        RECT place = rectOf(program.mainWindow);
        place.bottom = rectOf(control(IDC_STATUS_BAR)).top;
        return screenPixels(place);
    }
};

class GrayPicture : public GrayModes, public testing::WithParamInterface<GraySettingsCase> {};

TEST_P(GrayPicture, ForegroundModeGraysTheMainWindowAndReturnsItsColours)
{
    const GraySettingsCase &settings = GetParam();
    startTalvero(settings.fileText);
    if (settings.onLeftMonitor) {
        ASSERT_LT(GetSystemMetrics(SM_XVIRTUALSCREEN), 0) << "needs a monitor left of the primary";
        SetWindowPos(program.mainWindow, nullptr, GetSystemMetrics(SM_XVIRTUALSCREEN) + LEFT_MONITOR_INSET,
                     LEFT_MONITOR_INSET, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    // The picture before, once the window list shows the main window itself (the
    // scan at start-up runs before the window is shown) and has had time to settle.
    ASSERT_TRUE(waitUntil([&] { return listItemCount(control(IDC_WINDOW_LIST)) > 0; }, APPEAR_DEADLINE_MS));
    Sleep(2 * LIST_SCAN_MS);
    std::vector<uint32_t> colour = mainWindowPixels();

    press(IDC_BUTTON_FOREGROUND_MODE);
    ASSERT_TRUE(waitForGray("ON"));
    ASSERT_TRUE(waitForFrameRate()) << "no frame rate after 100 frames: " << status(0);

    RECT target = rectOf(program.mainWindow);
    ASSERT_TRUE(waitForOverlayOver(target)) << "the overlay does not cover the main window " << describe(target);
    HWND overlay = onlyOverlay();
    LONG exStyle = GetWindowLongA(overlay, GWL_EXSTYLE);
    EXPECT_EQ(WS_EX_LAYERED | WS_EX_TRANSPARENT, exStyle & (WS_EX_LAYERED | WS_EX_TRANSPARENT));
    EXPECT_TRUE(isAbove(overlay, program.mainWindow)) << "the overlay lies under the window it grays";
    expectClicksPassThrough();

    size_t mismatches = 0;
    bool grayed = waitUntil(
        [&] {
            std::vector<uint32_t> now = mainWindowPixels();
            mismatches = 0;
            for (size_t i = 0; i < now.size() && i < colour.size(); i++)
                mismatches += now[i] != grayOf(colour[i], settings);
            return now.size() == colour.size() && mismatches == 0;
        },
        APPEAR_DEADLINE_MS);
    EXPECT_TRUE(grayed) << mismatches << " of " << colour.size() << " pixels are not the gray of the picture before";

    turnGrayOff();
    EXPECT_TRUE(waitUntil([&] { return mainWindowPixels() == colour; }, APPEAR_DEADLINE_MS))
        << "the colours did not come back";
}

INSTANTIATE_TEST_SUITE_P(Settings, GrayPicture,
                         testing::Values(GraySettingsCase{"Setting 0 10 0 ", 0, 10, 0},
                                         GraySettingsCase{"Setting 1 3 1 ", 1, 3, 1}));
// At negative coordinates, on the test world's two-monitor display only.
INSTANTIATE_TEST_SUITE_P(TwoMonitors, GrayPicture, testing::Values(GraySettingsCase{"Setting 1 7 0 ", 1, 7, 0, true}));

TEST_F(GrayModes, ScreenModeCoversTheWorkAreaAndSwitchesToTheForegroundMode)
{
    startTalvero();
    press(IDC_BUTTON_SCREEN_MODE);
    ASSERT_TRUE(waitForGray("ON"));
    ASSERT_TRUE(waitForFrameRate()) << status(0);
    RECT workArea = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    ASSERT_TRUE(waitForOverlayOver(workArea)) << "the overlay does not cover the work area " << describe(workArea);
    // With the main window in front and nothing on top, the loop keeps the overlay
    // at the top of the non-topmost windows, above the window in front.
    EXPECT_TRUE(isAbove(onlyOverlay(), program.mainWindow)) << "the screen overlay lies under the window in front";
    expectClicksPassThrough();

    // The old overlay is gone before the new one comes: never two at once.
    press(IDC_BUTTON_FOREGROUND_MODE);
    size_t most = 0;
    RECT target = rectOf(program.mainWindow);
    bool switched = waitUntil(
        [&] {
            std::vector<HWND> overlays = overlayWindows(program);
            most = std::max(most, overlays.size());
            RECT now = overlays.size() == 1 ? rectOf(overlays[0]) : RECT{};
            return EqualRect(&now, &target) != 0;
        },
        APPEAR_DEADLINE_MS);
    EXPECT_TRUE(switched) << "the foreground mode did not replace the screen mode";
    EXPECT_EQ(1u, most);
    EXPECT_TRUE(waitForGray("ON"));
    turnGrayOff();
}

// A locked session (the message the system sends the main window) pauses the
// screen mode, which says so and keeps its overlay; unlocked, it goes on.
TEST_F(GrayModes, ScreenModePausesWhileTheSessionIsLocked)
{
    startTalvero();
    press(IDC_BUTTON_SCREEN_MODE);
    ASSERT_TRUE(waitForGray("ON"));
    PostMessageA(program.mainWindow, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
    EXPECT_TRUE(waitForGray("paused"));
    EXPECT_EQ(1u, overlayWindows(program).size()) << "the mode ended instead of pausing";
    PostMessageA(program.mainWindow, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
    EXPECT_TRUE(waitForGray("ON"));
    ASSERT_TRUE(waitForFrameRate()) << "no frames after the unlock: " << status(0);
    turnGrayOff();
}

// On a desk where nothing moved for a while the program looks less often, and
// presents only what changed: a list that changes colour turns gray, and with the
// gray reversed the rest of the window, not presented again, stays as it was.
TEST_F(GrayModes, AChangeOnAStillDeskTurnsGrayAndTheRestStays)
{
    const GraySettingsCase settings{"Setting 1 10 1 ", 1, 10, 1};
    const uint32_t NEW_LIST_COLOUR = 0x00C83C28;   // red 200, green 60, blue 40, as the screen reads it
    startTalvero(settings.fileText);
    ASSERT_TRUE(waitUntil([&] { return listItemCount(control(IDC_WINDOW_LIST)) > 0; }, APPEAR_DEADLINE_MS));
    Sleep(2 * LIST_SCAN_MS);
    std::vector<uint32_t> colour = mainWindowPixels();
    press(IDC_BUTTON_FOREGROUND_MODE);
    ASSERT_TRUE(waitForGray("ON"));
    auto grayedAsBefore = [&](size_t pixels) {   // the window's first pixels, row by row from its top
        std::vector<uint32_t> now = mainWindowPixels();
        for (size_t i = 0; i < pixels; i++)
            if (now.size() != colour.size() || now[i] != grayOf(colour[i], settings))
                return false;
        return true;
    };
    ASSERT_TRUE(waitUntil([&] { return grayedAsBefore(colour.size()); }, APPEAR_DEADLINE_MS));

    Sleep(STILL_DESK_MS);   // no input, nothing changes: the desk is still
    HWND list = control(IDC_WINDOW_LIST);
    SendMessageA(list, LVM_SETBKCOLOR, 0, RGB(200, 60, 40));
    InvalidateRect(list, nullptr, TRUE);
    RECT listPlace = rectOf(list), place = rectOf(program.mainWindow);
    RECT empty = {listPlace.left + 8, listPlace.bottom - 8, listPlace.left + 9, listPlace.bottom - 7};   // below the rows
    EXPECT_TRUE(waitUntil([&] { return screenPixels(empty)[0] == grayOf(NEW_LIST_COLOUR, settings); },
                          APPEAR_DEADLINE_MS))
        << std::hex << screenPixels(empty)[0] << " is not the gray of the list's new colour";
    EXPECT_TRUE(grayedAsBefore((listPlace.top - place.top) * (place.right - place.left)))
        << "the unchanged part of the window changed";
    turnGrayOff();
}

TEST_F(GrayModes, ForegroundModeFollowsTheWindowInFront)
{
    startTalvero();
    press(IDC_BUTTON_FOREGROUND_MODE);
    ASSERT_TRUE(waitForGray("ON"));
    HWND helper = createHelperWindow();
    ASSERT_NE(nullptr, helper);
    SetForegroundWindow(helper);
    // The helper is this thread's window: every wait handles its messages, or it
    // would be a window that does not answer (a story of its own).
    EXPECT_TRUE(waitUntilPumping([&] { return overlayOver(rectOf(helper)); }, APPEAR_DEADLINE_MS))
        << "the overlay did not follow the window in front";

    SetWindowPos(helper, nullptr, HELPER_PLACE.left + 50, HELPER_PLACE.top + 40, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(waitUntilPumping([&] { return overlayOver(rectOf(helper)); }, APPEAR_DEADLINE_MS))
        << "the overlay did not move with its window";

    // Minimised, the window is no longer grayed: the overlay hides, or follows the
    // window that took its place in front.
    ShowWindow(helper, SW_MINIMIZE);
    EXPECT_TRUE(waitUntilPumping(
        [&] {
            HWND overlay = onlyOverlay();
            HWND front = GetForegroundWindow();
            RECT overlayPlace = rectOf(overlay);
            RECT frontPlace = rectOf(front);
            return overlay != nullptr && (!IsWindowVisible(overlay) ||
                                          (front != helper && EqualRect(&overlayPlace, &frontPlace)));
        },
        APPEAR_DEADLINE_MS))
        << "the overlay stays shown over a minimised window";
    ShowWindow(helper, SW_RESTORE);
    SetForegroundWindow(helper);
    EXPECT_TRUE(waitUntilPumping([&] { return overlayOver(rectOf(helper)); }, APPEAR_DEADLINE_MS))
        << "the overlay did not come back over the restored window";
    DestroyWindow(helper);
    turnGrayOff();
}

// A pop-up of the Start menu's class is only passing through the front: the gray
// stays on the window it was on.
TEST_F(GrayModes, TheForegroundModeStaysOnTheWindowBeforeAStartMenu)
{
    startTalvero();
    press(IDC_BUTTON_FOREGROUND_MODE);
    ASSERT_TRUE(waitForGray("ON"));
    ASSERT_TRUE(waitForFrameRate()) << status(0);   // set up: the main window was given the front
    RECT target = rectOf(program.mainWindow);
    ASSERT_TRUE(waitForOverlayOver(target));
    HWND startMenu = createHelperWindow("DV2ControlHost", WS_POPUP);
    ASSERT_NE(nullptr, startMenu);
    SetForegroundWindow(startMenu);
    ASSERT_TRUE(waitUntilPumping([&] { return GetForegroundWindow() == startMenu; }, APPEAR_DEADLINE_MS));
    EXPECT_FALSE(waitUntilPumping([&] { return !overlayOver(target); }, QUIET_PERIOD_MS))
        << "the gray left the main window for the Start menu";
    DestroyWindow(startMenu);
    turnGrayOff();
}

// A film in front, full screen, keeps its colours in the screen mode; smaller, it
// is grayed again. Under Wine the overlay raised over the film without activation
// may not show on screen at once: the overlay's region tells what it grays.
TEST_F(GrayModes, AFullScreenWindowInFrontLeavesItsMonitorInColour)
{
    makeWorkDirectory(program);
    writeWholeFile((std::string(program.workDirectory) + "\\habit.txt").c_str(), "fullscreen colour\r\n");
    ASSERT_TRUE(startProgramInItsFolder(program));
    ASSERT_TRUE(waitForMainWindow(program));
    press(IDC_BUTTON_SCREEN_MODE);
    ASSERT_TRUE(waitForGray("ON"));
    ASSERT_TRUE(waitForFrameRate()) << status(0);   // set up: the main window was given the front
    const RECT monitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    const POINT probe = {HELPER_PLACE.left, HELPER_PLACE.top};
    ASSERT_TRUE(waitUntil([&] { return graysAt(onlyOverlay(), probe); }, APPEAR_DEADLINE_MS));
    HWND film = createColourWindow("film", monitor, RGB(200, 40, 40), WS_POPUP);
    ASSERT_NE(nullptr, film);
    SetForegroundWindow(film);
    EXPECT_TRUE(waitUntilPumping([&] { return !graysAt(onlyOverlay(), probe); }, APPEAR_DEADLINE_MS))
        << "the full-screen window is grayed";

    SetWindowPos(film, nullptr, 0, 0, monitor.right - 1, monitor.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(waitUntilPumping([&] { return graysAt(onlyOverlay(), probe); }, APPEAR_DEADLINE_MS))
        << "no gray over the window once it no longer fills its monitor";
    DestroyWindow(film);
    turnGrayOff();
}
