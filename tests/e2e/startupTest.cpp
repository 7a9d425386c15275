// A user starts TALVERO and looks at the main window: title, place, the five
// picture buttons, the empty window list with its three columns, the status bar
// and the buttons' tooltips.
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <set>

#include "talveroTest.h"

namespace {

class StartUp : public TalveroTest {};

constexpr int BUTTON_SIZE = 60;
constexpr COLORREF BACKGROUND = 0xEEEEEE;

struct ButtonPlace {
    int id;
    int left;
    const char *tooltip;
    int stripColumn;
};
const ButtonPlace BUTTONS[] = {
    {IDC_BUTTON_FOREGROUND_MODE, 5, "Make a top window into gray", 0},
    {IDC_BUTTON_SCREEN_MODE, 75, "Make a screen into gray", 1},
    {IDC_BUTTON_NORMAL_COLOR, 145, "Return a color to normal", 2},
    {IDC_BUTTON_TRAY, 260, "Store in a Tasktray", 3},
    {IDC_BUTTON_CONFIGURE, 330, "Configure TALVERO", 4},
};

}  // namespace

TEST_F(StartUp, MainWindowShowsButtonsEmptyListAndIdleStatus)
{
    startTalvero();
    HWND main = program.mainWindow;

    RECT outer = {};
    GetWindowRect(main, &outer);
    EXPECT_EQ(10, outer.left);
    EXPECT_EQ(10, outer.top);
    EXPECT_EQ(450, outer.right - outer.left);
    EXPECT_EQ(500, outer.bottom - outer.top);
    EXPECT_NE(nullptr, GetMenu(main)) << "the File and Help menu bar";

    // The list reaches down to the status bar, which hugs the bottom edge. Wine may
    // adjust the new window's size once more after it shows: wait for the layout to settle.
    HWND list = control(IDC_WINDOW_LIST);
    HWND status = control(IDC_STATUS_BAR);
    ASSERT_NE(nullptr, list);
    ASSERT_NE(nullptr, status);
    RECT client = {};
    bool settled = waitUntil(
        [&] {
            GetClientRect(main, &client);
            RECT statusPlace = rectInParent(status);
            return statusPlace.bottom == client.bottom && rectInParent(list).bottom == statusPlace.top;
        },
        APPEAR_DEADLINE_MS);
    EXPECT_TRUE(settled) << "the list and the status bar do not fill the client area below the buttons";

    for (const ButtonPlace &place : BUTTONS) {
        SCOPED_TRACE(place.tooltip);
        HWND button = control(place.id);
        ASSERT_NE(nullptr, button);
        EXPECT_EQ("button", windowText(button));
        EXPECT_STRCASEEQ("Button", windowClass(button).c_str());
        LONG style = GetWindowLongA(button, GWL_STYLE);
        EXPECT_EQ(BS_OWNERDRAW, style & BS_TYPEMASK);
        EXPECT_TRUE(style & WS_VISIBLE);
        RECT actual = rectInParent(button);
        EXPECT_EQ(place.left, actual.left);
        EXPECT_EQ(5, actual.top);
        EXPECT_EQ(BUTTON_SIZE, actual.right - actual.left);
        EXPECT_EQ(BUTTON_SIZE, actual.bottom - actual.top);
        // The window region is kept by the system, so it reads from outside too.
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(SIMPLEREGION, GetWindowRgn(button, region)) << "no rectangular window region";
        RECT box = {};
        GetRgnBox(region, &box);
        EXPECT_TRUE(box.left == 0 && box.top == 0 && box.right == BUTTON_SIZE && box.bottom == BUTTON_SIZE)
            << "region (" << box.left << ", " << box.top << ")-(" << box.right << ", " << box.bottom << ")";
        DeleteObject(region);
    }

    EXPECT_EQ("SysListView32", windowClass(list));
    LONG listStyle = GetWindowLongA(list, GWL_STYLE);
    EXPECT_EQ(LVS_REPORT, listStyle & LVS_TYPEMASK);
    EXPECT_TRUE(listStyle & LVS_OWNERDRAWFIXED);
    EXPECT_TRUE(listStyle & LVS_SHOWSELALWAYS);
    EXPECT_TRUE(GetWindowLongA(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    EXPECT_EQ(static_cast<LRESULT>(LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT |
                                   LVS_EX_DOUBLEBUFFER),  // 0x10023
              SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    RECT listPlace = rectInParent(list);
    EXPECT_EQ(0, listPlace.left);
    EXPECT_EQ(75, listPlace.top);
    EXPECT_EQ(client.right, listPlace.right);

    EXPECT_EQ("msctls_statusbar32", windowClass(status));
    EXPECT_EQ(client.right, rectInParent(status).right);

    EXPECT_EQ("FPS: ", statusText(program, status, 0));
    EXPECT_EQ("Gray: OFF", statusText(program, status, 1));
    std::vector<int> edges = statusPartEdges(program, status);
    ASSERT_EQ(2u, edges.size());
    EXPECT_EQ(client.right / 2, edges[0]);
    EXPECT_EQ(-1, edges[1]);

    ASSERT_EQ(3, listColumnCount(list));
    EXPECT_EQ("Window Title", listColumnText(program, list, 0));
    EXPECT_EQ("Application", listColumnText(program, list, 1));
    EXPECT_EQ("ON/OFF", listColumnText(program, list, 2));
    RECT listClient = {};
    GetClientRect(list, &listClient);
    int fifth = listClient.right / 5;
    EXPECT_EQ(fifth * 3, listColumnWidth(list, 0));
    EXPECT_EQ(fifth, listColumnWidth(list, 1));
    EXPECT_EQ(fifth, listColumnWidth(list, 2));
    EXPECT_EQ(0, listItemCount(list)) << "no windows are listed yet";
}

TEST_F(StartUp, EveryButtonHasItsOwnTooltip)
{
    startTalvero();
    std::vector<ToolTip> found;
    // The tooltips are made at the end of start-up; give them a moment.
    waitUntil([&] { return (found = programToolTips(program)).size() >= 5; }, APPEAR_DEADLINE_MS);
    // Five tooltip windows, each with exactly one tool, each serving another button.
    std::map<HWND, std::string> tips;
    std::set<HWND> tooltipWindows;
    for (const ToolTip &tip : found) {
        EXPECT_TRUE(tooltipWindows.insert(tip.tooltipWindow).second) << "a tooltip window serves two tools";
        EXPECT_EQ(1, SendMessageA(tip.tooltipWindow, TTM_GETTOOLCOUNT, 0, 0));
        EXPECT_TRUE(tips.emplace(tip.toolWindow, tip.text).second) << "a window has two tooltips";
    }
    EXPECT_EQ(5u, tooltipWindows.size()) << "one tooltip window per button";
    for (const ButtonPlace &place : BUTTONS) {
        HWND button = control(place.id);
        ASSERT_TRUE(tips.count(button)) << "no tooltip for button " << place.id;
        EXPECT_EQ(place.tooltip, tips[button]);
    }
}

// Xvfb runs at 24 bits per pixel, so the strip's pixels reach the screen unchanged.
TEST_F(StartUp, ButtonsShowTheirNormalPicturesOnTheGrayBackground)
{
    startTalvero();
    int stripWidth = 0, stripHeight = 0;
    std::vector<DWORD> strip = loadButtonStrip(&stripWidth, &stripHeight);
    ASSERT_EQ(300, stripWidth);
    ASSERT_EQ(180, stripHeight);
    bringToFront(program.mainWindow);

    for (const ButtonPlace &place : BUTTONS) {
        SCOPED_TRACE(place.tooltip);
        RECT onScreen = {};
        GetWindowRect(control(place.id), &onScreen);
        int mismatches = 0;
        bool drawn = waitUntil(
            [&] {
                std::vector<uint32_t> shown = screenPixels(onScreen);
                mismatches = 0;
                for (int y = 0; y < BUTTON_SIZE; y++)
                    for (int x = 0; x < BUTTON_SIZE; x++)
                        if (shown[y * BUTTON_SIZE + x] != strip[y * stripWidth + place.stripColumn * BUTTON_SIZE + x])
                            mismatches++;
                return mismatches == 0;
            },
            APPEAR_DEADLINE_MS);
        EXPECT_TRUE(drawn) << mismatches << " pixels differ from the strip's normal row";
    }

    // Between the mode buttons and the utility buttons the window shows its background.
    RECT client = clientRectOnScreen(program.mainWindow);
    RECT gap = {client.left + 210, client.top + 10, client.left + 255, client.top + 60};
    for (uint32_t pixel : screenPixels(gap))
        ASSERT_EQ(BACKGROUND, pixel);
}

TEST_F(StartUp, RestingTheMouseOnAButtonShowsItsTooltip)
{
    startTalvero();
    ASSERT_TRUE(bringToFront(program.mainWindow));
    POINT screenButton = centreOf(control(IDC_BUTTON_SCREEN_MODE));
    moveMouse(screenButton.x - 3, screenButton.y - 3);
    moveMouse(screenButton.x, screenButton.y);
    // A tooltip shows its text by drawing it, not as a window text: find the
    // visible tooltip window and ask which tool it serves.
    std::string shownText;
    bool appeared = waitUntil(
        [&] {
            for (const ToolTip &tip : programToolTips(program))
                if (IsWindowVisible(tip.tooltipWindow)) {
                    shownText = tip.text;
                    return tip.toolWindow == control(IDC_BUTTON_SCREEN_MODE);
                }
            return false;
        },
        APPEAR_DEADLINE_MS);
    EXPECT_TRUE(appeared) << "no tooltip for the screen button showed; shown: \"" << shownText << "\"";
    EXPECT_EQ("Make a screen into gray", shownText);
}
