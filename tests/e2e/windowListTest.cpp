// A person uses the window list: open windows appear with title and application
// name and go when closed; a double click or the row menu grays exactly the row's
// window and marks its row, and the same again turns gray off; a new z-order alone
// leaves the rows in place, a new window rebuilds them and the selection keeps its
// row position. The windows are those of the tests' own helper program (of both
// bitnesses where the system runs 32-bit programs) and talvero.exe's main window.
#include "talveroTest.h"

#include <string>
#include <vector>

#include "gray.h"

namespace {

const char HELPER_EXE[] = "listHelper.exe";
const char HELPER_A[] = "TALVERO list helper A";
const char HELPER_B[] = "TALVERO list helper B";
const char HELPER_C[] = "TALVERO list helper C";
constexpr int TITLE_COLUMN = 0;
constexpr int APPLICATION_COLUMN = 1;
constexpr int ON_OFF_COLUMN = 2;
constexpr int HELPER_LEFT = 700;        // right of the main window, apart from each other
constexpr int HELPER_TOPS[] = {120, 400, 680};
constexpr int ROW_CLICK_X = 60;         // in the title column, right of the icon
constexpr int REST_X = 1500;
constexpr int REST_Y = 900;
constexpr int32_t DEFAULT_GRAY_TONE = 10;   // a fresh working directory's settings
constexpr int FOCUS_CUE_WIDTH = 2;
constexpr DWORD SEVERAL_SCANS_MS = 2 * QUIET_PERIOD_MS;   // the list rescans every 800 ms

// This build's helper, and the other build's where this system runs 32-bit programs.
std::vector<std::string> helperPaths()
{
    char folder[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, folder, sizeof folder);
    *strrchr(folder, '\\') = '\0';
    std::vector<std::string> paths = {std::string(folder) + "\\" + HELPER_EXE};
    char runs32[4] = {};
    GetEnvironmentVariableA("TALVERO_RUNS_32BIT", runs32, sizeof runs32);
    std::string other = std::string(folder) + "\\..\\..\\" + (sizeof(void *) == 8 ? "win-i686" : "win-x86_64") +
                        "\\tests\\" + HELPER_EXE;
    if (std::string(runs32) == "1" && GetFileAttributesA(other.c_str()) != INVALID_FILE_ATTRIBUTES)
        paths.push_back(other);
    return paths;
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

    HWND startHelper(const char *title, int slot, const std::string &path = helperPaths()[0])
    {
        Program helper;
        std::string line = "\"" + path + "\" \"" + title + "\" " + std::to_string(HELPER_LEFT) + " " +
                           std::to_string(HELPER_TOPS[slot]);
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        if (CreateProcessA(path.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &helper.process))
            waitUntil([&] { return (helper.mainWindow = findProgramWindow(helper, "TALVERO_LIST_HELPER", title)); },
                      START_DEADLINE_MS);
        helpers.push_back(helper);
        return helper.mainWindow;
    }

    std::vector<std::string> column(int subItem)
    {
        std::vector<std::string> texts;
        for (int row = 0; row < listItemCount(list()); row++)
            texts.push_back(listItemText(program, list(), row, subItem));
        return texts;
    }

    int rowOf(const std::string &title)
    {
        std::vector<std::string> titles = column(TITLE_COLUMN);
        for (size_t row = 0; row < titles.size(); row++)
            if (titles[row] == title)
                return static_cast<int>(row);
        return -1;
    }

    int waitForRow(const std::string &title)
    {
        waitUntil([&] { return rowOf(title) != -1; }, APPEAR_DEADLINE_MS);
        return rowOf(title);
    }

    POINT rowPoint(int row)
    {
        RECT place = listRowOnScreen(program, list(), row);
        return {place.left + ROW_CLICK_X, (place.top + place.bottom) / 2};
    }

    // Gray is on for exactly this window: an overlay lies over it, its row alone is marked.
    void expectGrayedWithMark(HWND target, const std::string &title)
    {
        RECT targetPlace = {}, overlayPlace = {};
        GetWindowRect(target, &targetPlace);
        EXPECT_TRUE(waitUntil(
            [&] {
                HWND overlay = findProgramWindow(program, "TALVERO", "TALVERO_GRAY");
                return overlay != nullptr && GetWindowRect(overlay, &overlayPlace) &&
                       EqualRect(&overlayPlace, &targetPlace);
            },
            APPEAR_DEADLINE_MS))
            << "no overlay over the window of \"" << title << "\"";
        std::vector<std::string> marks(listItemCount(list()));
        marks[rowOf(title)] = "1";
        EXPECT_TRUE(waitUntil([&] { return column(ON_OFF_COLUMN) == marks; }, APPEAR_DEADLINE_MS))
            << "the row of \"" << title << "\" is not the one marked row";
    }

    void expectGrayOffWithoutMark()
    {
        EXPECT_TRUE(waitUntil([&] { return findProgramWindow(program, "TALVERO", "TALVERO_GRAY") == nullptr; },
                              APPEAR_DEADLINE_MS))
            << "an overlay stays";
        std::vector<std::string> none(listItemCount(list()));
        EXPECT_TRUE(waitUntil([&] { return column(ON_OFF_COLUMN) == none; }, APPEAR_DEADLINE_MS)) << "a mark stays";
    }
};

}  // namespace

TEST_F(WindowList, HelpersAppearWithTitleAndApplicationAndGoWhenClosed)
{
    startTalvero();
    std::vector<std::string> paths = helperPaths();
    for (size_t i = 0; i < paths.size(); i++) {
        SCOPED_TRACE(paths[i]);
        HWND helper = startHelper(HELPER_A, static_cast<int>(i), paths[i]);
        ASSERT_NE(nullptr, helper) << "the helper did not start";
        int row = waitForRow(HELPER_A);
        ASSERT_NE(-1, row) << "no row for the helper";
        EXPECT_EQ(HELPER_EXE, listItemText(program, list(), row, APPLICATION_COLUMN));

        PostMessageA(helper, WM_CLOSE, 0, 0);
        EXPECT_TRUE(waitUntil([&] { return rowOf(HELPER_A) == -1; }, APPEAR_DEADLINE_MS)) << "the row stays";
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
    moveMouse(REST_X, REST_Y);
    ASSERT_TRUE(waitUntil([&] { return listSelectedRow(list()) == row; }, APPEAR_DEADLINE_MS));
    RECT window = {};
    GetWindowRect(program.mainWindow, &window);
    std::vector<uint32_t> before;
    auto settled = [&] {
        std::vector<uint32_t> now = screenPixels(window);
        bool same = now == before;
        before = now;
        return same;
    };
    ASSERT_TRUE(waitUntil(settled, APPEAR_DEADLINE_MS)) << "the main window's picture does not settle";

    doubleClickAt(point.x, point.y);
    moveMouse(REST_X, REST_Y);
    expectGrayedWithMark(program.mainWindow, "TALVERO");

    // Every pixel is the kernel's gray of the pixel before, except what gray itself
    // changes in the window: the status texts, the mark, and the row's focus cues
    // (two pixels wide under Wine): starting the mode activates the overlay and then
    // the main window again, whose focus does not go back to the list.
    int width = window.right - window.left;
    int height = window.bottom - window.top;
    std::vector<uint32_t> expected = before;
    convertFrame(reinterpret_cast<uint8_t *>(expected.data()), width, height, 32, GRAY_NTSC, DEFAULT_GRAY_TONE, 0);
    RECT status = {}, selectedRow = listRowOnScreen(program, list(), row);
    GetWindowRect(control(IDC_STATUS_BAR), &status);
    RECT mark = selectedRow, focusInside = selectedRow;
    mark.left += listColumnWidth(list(), TITLE_COLUMN) + listColumnWidth(list(), APPLICATION_COLUMN);
    InflateRect(&focusInside, -FOCUS_CUE_WIDTH, -FOCUS_CUE_WIDTH);
    int wrong = 0;
    waitUntil(
        [&] {
            std::vector<uint32_t> after = screenPixels(window);
            wrong = 0;
            for (int i = 0; i < width * height; i++) {
                POINT at = {window.left + i % width, window.top + i / width};
                bool changedByGray = PtInRect(&status, at) || PtInRect(&mark, at) ||
                                     (PtInRect(&selectedRow, at) && !PtInRect(&focusInside, at));
                wrong += !changedByGray && (after[i] & 0xFFFFFF) != (expected[i] & 0xFFFFFF);
            }
            return wrong == 0;
        },
        APPEAR_DEADLINE_MS);
    EXPECT_EQ(0, wrong) << "pixels of the main window that are not the gray of the picture before";

    doubleClickAt(point.x, point.y);
    moveMouse(REST_X, REST_Y);
    expectGrayOffWithoutMark();
}

// "Turn off gray" is chosen from the menu opened below the rows: it needs no row.
TEST_F(WindowList, RowMenuSetsToGrayAndTurnsGrayOff)
{
    startTalvero();
    HWND helper = startHelper(HELPER_A, 0);
    ASSERT_NE(nullptr, helper);
    int row = waitForRow(HELPER_A);
    ASSERT_NE(-1, row);
    chooseFromMenu(rowPoint(row), 1);
    expectGrayedWithMark(helper, HELPER_A);

    RECT last = listRowOnScreen(program, list(), listItemCount(list()) - 1);
    RECT listPlace = clientRectOnScreen(list());
    ASSERT_LT(last.bottom, listPlace.bottom) << "no room below the rows";
    chooseFromMenu({last.left + ROW_CLICK_X, (last.bottom + listPlace.bottom) / 2}, 2);
    expectGrayOffWithoutMark();
}

TEST_F(WindowList, NewZOrderLeavesTheRowsNewWindowRebuildsThemSelectionKeepsItsPosition)
{
    startTalvero();
    HWND first = startHelper(HELPER_A, 0);
    HWND second = startHelper(HELPER_B, 1);
    ASSERT_TRUE(first != nullptr && second != nullptr);
    ASSERT_TRUE(waitUntil([&] { return rowOf(HELPER_A) != -1 && rowOf(HELPER_B) != -1; }, APPEAR_DEADLINE_MS));
    int selected = rowOf(HELPER_A);
    POINT point = rowPoint(selected);
    clickAt(point.x, point.y);
    ASSERT_TRUE(waitUntil([&] { return listSelectedRow(list()) == selected; }, APPEAR_DEADLINE_MS));

    // Raise the helper shown lower: the rows stay as they are.
    std::vector<std::string> rows = column(TITLE_COLUMN);
    bool firstShownHigher = rowOf(HELPER_A) < rowOf(HELPER_B);
    HWND raised = firstShownHigher ? second : first;
    HWND lowered = firstShownHigher ? first : second;
    SetWindowPos(raised, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ASSERT_TRUE(waitUntil([&] { return isAbove(raised, lowered); }, APPEAR_DEADLINE_MS)) << "the z-order did not change";
    Sleep(SEVERAL_SCANS_MS);
    EXPECT_EQ(rows, column(TITLE_COLUMN)) << "the rows were rebuilt for a new z-order alone";

    // A new window rebuilds them in the current z-order; the selected position stays.
    ASSERT_NE(nullptr, startHelper(HELPER_C, 2));
    ASSERT_NE(-1, waitForRow(HELPER_C));
    const char *raisedTitle = firstShownHigher ? HELPER_B : HELPER_A;
    const char *loweredTitle = firstShownHigher ? HELPER_A : HELPER_B;
    EXPECT_LT(rowOf(raisedTitle), rowOf(loweredTitle));
    EXPECT_EQ(selected, listSelectedRow(list()));
}
