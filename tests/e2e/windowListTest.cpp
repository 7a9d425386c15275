// A person uses the window list: the open windows appear and go with their titles
// and application names; a double click or the row menu grays exactly the row's
// window and marks the row, and the same again turns gray off; the selection keeps
// its row position across a refill; a new z-order alone leaves the rows in place.
// The windows are those of the tests' own helper program (both bitnesses where
// the system runs 32-bit programs) and talvero.exe's own main window.
#include "talveroTest.h"

#include <algorithm>
#include <string>
#include <vector>

#include "gray.h"

namespace {

const char HELPER_CLASS[] = "TALVERO_LIST_HELPER";
const char HELPER_EXE[] = "listHelper.exe";
const char OVERLAY_TITLE[] = "TALVERO_GRAY";
const char MENU_CLASS[] = "#32768";
const char GRAY_MARK[] = "1";
constexpr int TITLE_COLUMN = 0;
constexpr int APPLICATION_COLUMN = 1;
constexpr int ON_OFF_COLUMN = 2;
// Helpers stand right of the main window, apart from each other.
constexpr int HELPER_LEFT = 700;
constexpr int HELPER_TOPS[] = {120, 400, 680};
// Inside the title column of a row, right of its icon.
constexpr int ROW_CLICK_X = 60;
constexpr int MOUSE_REST_X = 1500;
constexpr int MOUSE_REST_Y = 900;
// The default settings of a fresh working directory.
constexpr int32_t DEFAULT_GRAY_TONE = 10;
// Long enough for several refresh periods of the list (800 ms each).
constexpr DWORD SEVERAL_SCANS_MS = 2 * QUIET_PERIOD_MS;

std::string folderOfThisProgram()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    char *slash = strrchr(path, '\\');
    if (slash != nullptr)
        *slash = '\0';
    return path;
}

// The helper of this build, and the one of the other build's tree beside it.
std::vector<std::string> helperPaths()
{
    std::string folder = folderOfThisProgram();
    std::vector<std::string> paths = {folder + "\\" + HELPER_EXE};
    char runs32[4] = {};
    GetEnvironmentVariableA("TALVERO_RUNS_32BIT", runs32, sizeof runs32);
    if (std::string(runs32) != "1")
        return paths;   // this system starts no 32-bit program: one helper only
    const char *other = sizeof(void *) == 8 ? "win-i686" : "win-x86_64";
    std::string otherPath = folder + "\\..\\..\\" + other + "\\tests\\" + HELPER_EXE;
    if (GetFileAttributesA(otherPath.c_str()) != INVALID_FILE_ATTRIBUTES)
        paths.push_back(otherPath);
    return paths;
}

bool sameRect(const RECT &a, const RECT &b) { return EqualRect(&a, &b) != 0; }

// upper lies above lower in the z-order of the top-level windows.
bool isAbove(HWND upper, HWND lower)
{
    for (HWND next = GetWindow(upper, GW_HWNDNEXT); next != nullptr; next = GetWindow(next, GW_HWNDNEXT))
        if (next == lower)
            return true;
    return false;
}

class WindowList : public TalveroTest {
protected:
    std::vector<Program> helpers;

    void TearDown() override
    {
        for (Program &helper : helpers)
            disposeProgram(helper);
        TalveroTest::TearDown();
    }

    HWND list() const { return control(IDC_WINDOW_LIST); }

    // Starts a helper with this title at the given place and waits for its window.
    HWND startHelper(const std::string &path, const std::string &title, int top)
    {
        Program helper;
        std::string commandLine = "\"" + path + "\" \"" + title + "\" " + std::to_string(HELPER_LEFT) + " " +
                                  std::to_string(top);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        std::vector<char> line(commandLine.begin(), commandLine.end());
        line.push_back('\0');
        if (!CreateProcessA(path.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &helper.process))
            return nullptr;
        waitUntil([&] { return (helper.mainWindow = findProgramWindow(helper, HELPER_CLASS, title.c_str())); },
                  START_DEADLINE_MS);
        helpers.push_back(helper);
        return helper.mainWindow;
    }

    void closeHelper(HWND window)
    {
        for (Program &helper : helpers) {
            if (helper.mainWindow != window)
                continue;
            PostMessageA(window, WM_CLOSE, 0, 0);
            DWORD exitCode = 0;
            EXPECT_TRUE(waitForExit(helper, EXIT_DEADLINE_MS, &exitCode)) << "the helper did not end";
        }
    }

    std::vector<std::string> rowTitles()
    {
        std::vector<std::string> titles;
        int count = listItemCount(list());
        for (int row = 0; row < count; row++)
            titles.push_back(listItemText(program, list(), row, TITLE_COLUMN));
        return titles;
    }

    int rowOf(const std::string &title)
    {
        std::vector<std::string> titles = rowTitles();
        auto found = std::find(titles.begin(), titles.end(), title);
        return found == titles.end() ? -1 : static_cast<int>(found - titles.begin());
    }

    // Waits for the row of this title; its index, or -1.
    int waitForRow(const std::string &title)
    {
        int row = -1;
        waitUntil([&] { return (row = rowOf(title)) != -1; }, APPEAR_DEADLINE_MS);
        return row;
    }

    POINT rowPoint(int row)
    {
        RECT place = listRowOnScreen(program, list(), row);
        return {place.left + ROW_CLICK_X, (place.top + place.bottom) / 2};
    }

    HWND visibleOverlay() { return findProgramWindow(program, "TALVERO", OVERLAY_TITLE); }

    // Gray is on for the window: an overlay lies exactly over it and its row (by
    // title) alone carries the mark.
    void expectGrayedWithMark(HWND target, const std::string &title)
    {
        RECT targetPlace = {};
        GetWindowRect(target, &targetPlace);
        RECT overlayPlace = {};
        bool covered = waitUntil(
            [&] {
                HWND overlay = visibleOverlay();
                return overlay != nullptr && GetWindowRect(overlay, &overlayPlace) && sameRect(overlayPlace, targetPlace);
            },
            APPEAR_DEADLINE_MS);
        EXPECT_TRUE(covered) << "no overlay over (" << targetPlace.left << ", " << targetPlace.top << ")-("
                             << targetPlace.right << ", " << targetPlace.bottom << ")";
        EXPECT_TRUE(waitUntil([&] { return markedRows() == std::vector<int>{rowOf(title)}; }, APPEAR_DEADLINE_MS))
            << "the row of \"" << title << "\" is not the one marked row";
    }

    void expectGrayOffWithoutMark()
    {
        EXPECT_TRUE(waitUntil([&] { return visibleOverlay() == nullptr; }, APPEAR_DEADLINE_MS)) << "an overlay stays";
        EXPECT_TRUE(waitUntil([&] { return markedRows().empty(); }, APPEAR_DEADLINE_MS)) << "a row stays marked";
    }

    std::vector<int> markedRows()
    {
        std::vector<int> marked;
        int count = listItemCount(list());
        for (int row = 0; row < count; row++)
            if (listItemText(program, list(), row, ON_OFF_COLUMN) == GRAY_MARK)
                marked.push_back(row);
        return marked;
    }

    // Opens the row menu at a point and chooses its entry by arrow keys.
    void chooseFromMenu(POINT at, int downPresses)
    {
        rightClickAt(at.x, at.y);
        ASSERT_TRUE(waitUntil([&] { return findProgramWindow(program, MENU_CLASS, "") != nullptr; },
                              APPEAR_DEADLINE_MS))
            << "no menu";
        for (int press = 0; press < downPresses; press++)
            pressKey(VK_DOWN);
        pressKey(VK_RETURN);
    }
};

}  // namespace

TEST_F(WindowList, HelpersAppearWithTitleAndApplicationAndGoWhenClosed)
{
    startTalvero();
    std::vector<std::string> paths = helperPaths();
    for (size_t i = 0; i < paths.size(); i++) {
        std::string title = "TALVERO list helper " + std::to_string(i);
        SCOPED_TRACE(paths[i]);
        HWND helper = startHelper(paths[i], title, HELPER_TOPS[i]);
        ASSERT_NE(nullptr, helper) << "the helper did not start";
        int row = waitForRow(title);
        ASSERT_NE(-1, row) << "no row for the helper";
        EXPECT_EQ(HELPER_EXE, listItemText(program, list(), row, APPLICATION_COLUMN));
        EXPECT_EQ("", listItemText(program, list(), row, ON_OFF_COLUMN));

        closeHelper(helper);
        EXPECT_TRUE(waitUntil([&] { return rowOf(title) == -1; }, APPEAR_DEADLINE_MS)) << "the row stays";
    }
}

// Wine lets a window's picture be checked only for a window of the process that
// captures it: so the grayed window here is talvero.exe's own main window.
TEST_F(WindowList, DoubleClickGraysThatWindowAndAgainTurnsGrayOff)
{
    startTalvero();
    int row = waitForRow("TALVERO");
    ASSERT_NE(-1, row) << "the main window has no row";
    POINT point = rowPoint(row);
    clickAt(point.x, point.y);
    moveMouse(MOUSE_REST_X, MOUSE_REST_Y);
    ASSERT_TRUE(waitUntil([&] { return listSelectedRow(list()) == row; }, APPEAR_DEADLINE_MS));

    // The picture before, once the selection has been drawn and nothing changes any more.
    RECT window = {};
    GetWindowRect(program.mainWindow, &window);
    std::vector<uint32_t> before = screenPixels(window);
    ASSERT_TRUE(waitUntil(
        [&] {
            std::vector<uint32_t> again = screenPixels(window);
            bool still = again == before;
            before = again;
            return still;
        },
        APPEAR_DEADLINE_MS));

    doubleClickAt(point.x, point.y);
    moveMouse(MOUSE_REST_X, MOUSE_REST_Y);
    expectGrayedWithMark(program.mainWindow, "TALVERO");

    // Every pixel is the kernel's gray of the pixel before, except what gray itself
    // changes in the window: the status bar's texts, the mark in the row, and the
    // row's focus cues along its edge (two pixels wide under Wine): starting the mode
    // activates the overlay and then the main window again, whose focus does not go
    // back to the list.
    std::vector<uint32_t> expected = before;
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    convertFrame(reinterpret_cast<uint8_t *>(expected.data()), width, height, 32, GRAY_NTSC, DEFAULT_GRAY_TONE, 0);
    RECT status = {};
    GetWindowRect(control(IDC_STATUS_BAR), &status);
    RECT selectedRow = listRowOnScreen(program, list(), row);
    RECT markCell = selectedRow;
    markCell.left += listColumnWidth(list(), TITLE_COLUMN) + listColumnWidth(list(), APPLICATION_COLUMN);
    RECT focusInside = selectedRow;
    constexpr int FOCUS_CUE_WIDTH = 2;
    InflateRect(&focusInside, -FOCUS_CUE_WIDTH, -FOCUS_CUE_WIDTH);
    int wrong = 0;
    POINT firstWrong = {};
    waitUntil(
        [&] {
            std::vector<uint32_t> after = screenPixels(window);
            wrong = 0;
            for (int y = 0; y < height; y++) {
                for (int x = 0; x < width; x++) {
                    POINT at = {window.left + x, window.top + y};
                    bool onFocusRectangle = PtInRect(&selectedRow, at) && !PtInRect(&focusInside, at);
                    if (PtInRect(&status, at) || PtInRect(&markCell, at) || onFocusRectangle)
                        continue;
                    size_t i = static_cast<size_t>(y) * width + x;
                    if ((after[i] & 0xFFFFFF) != (expected[i] & 0xFFFFFF) && wrong++ == 0)
                        firstWrong = at;
                }
            }
            return wrong == 0;
        },
        APPEAR_DEADLINE_MS);
    EXPECT_EQ(0, wrong) << "pixels that are not the gray of the picture before, the first at (" << firstWrong.x
                        << ", " << firstWrong.y << ")";

    doubleClickAt(point.x, point.y);
    moveMouse(MOUSE_REST_X, MOUSE_REST_Y);
    expectGrayOffWithoutMark();
}

// "Turn off gray" is chosen from the menu opened below the rows: it needs no row.
TEST_F(WindowList, RowMenuSetsToGrayAndTurnsGrayOff)
{
    startTalvero();
    const std::string title = "TALVERO list helper";
    HWND helper = startHelper(helperPaths()[0], title, HELPER_TOPS[0]);
    ASSERT_NE(nullptr, helper);
    int row = waitForRow(title);
    ASSERT_NE(-1, row);

    chooseFromMenu(rowPoint(row), 1);
    expectGrayedWithMark(helper, title);

    RECT last = listRowOnScreen(program, list(), listItemCount(list()) - 1);
    RECT listPlace = clientRectOnScreen(list());
    POINT below = {last.left + ROW_CLICK_X, last.bottom + (listPlace.bottom - last.bottom) / 2};
    ASSERT_LT(last.bottom, listPlace.bottom) << "no room below the rows";
    chooseFromMenu(below, 2);
    expectGrayOffWithoutMark();
}

TEST_F(WindowList, SelectionKeepsItsRowPositionAcrossARefill)
{
    startTalvero();
    std::string path = helperPaths()[0];
    ASSERT_NE(nullptr, startHelper(path, "TALVERO list helper A", HELPER_TOPS[0]));
    int row = waitForRow("TALVERO list helper A");
    ASSERT_NE(-1, row);
    POINT point = rowPoint(row);
    clickAt(point.x, point.y);
    ASSERT_TRUE(waitUntil([&] { return listSelectedRow(list()) == row; }, APPEAR_DEADLINE_MS));

    int rowsBefore = listItemCount(list());
    ASSERT_NE(nullptr, startHelper(path, "TALVERO list helper B", HELPER_TOPS[1]));
    ASSERT_TRUE(waitUntil([&] { return listItemCount(list()) == rowsBefore + 1; }, APPEAR_DEADLINE_MS));
    EXPECT_EQ(row, listSelectedRow(list()));
}

TEST_F(WindowList, NewZOrderAloneLeavesTheRowsInPlace)
{
    startTalvero();
    std::string path = helperPaths()[0];
    HWND first = startHelper(path, "TALVERO list helper A", HELPER_TOPS[0]);
    HWND second = startHelper(path, "TALVERO list helper B", HELPER_TOPS[1]);
    ASSERT_TRUE(first != nullptr && second != nullptr);
    ASSERT_TRUE(waitUntil([&] { return rowOf("TALVERO list helper A") != -1 && rowOf("TALVERO list helper B") != -1; },
                          APPEAR_DEADLINE_MS));
    std::vector<std::string> rows = rowTitles();

    // Raise whichever helper the rows show lower.
    bool firstShownHigher = rowOf("TALVERO list helper A") < rowOf("TALVERO list helper B");
    HWND raised = firstShownHigher ? second : first;
    std::string raisedTitle = firstShownHigher ? "TALVERO list helper B" : "TALVERO list helper A";
    std::string otherTitle = firstShownHigher ? "TALVERO list helper A" : "TALVERO list helper B";
    HWND lower = raised == first ? second : first;
    SetWindowPos(raised, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] { return isAbove(raised, lower); }, APPEAR_DEADLINE_MS)) << "the z-order did not change";
    Sleep(SEVERAL_SCANS_MS);
    EXPECT_EQ(rows, rowTitles()) << "the rows were rebuilt for a new z-order alone";

    // A new window rebuilds the rows, now in the current z-order.
    ASSERT_NE(nullptr, startHelper(path, "TALVERO list helper C", HELPER_TOPS[2]));
    ASSERT_TRUE(waitUntil([&] { return rowOf("TALVERO list helper C") != -1; }, APPEAR_DEADLINE_MS));
    EXPECT_LT(rowOf(raisedTitle), rowOf(otherTitle));
}
