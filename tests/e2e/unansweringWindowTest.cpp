// A program that stops answering must not take TALVERO with it: grayed in front or
// chosen from the list, its colour comes back at once, and File > Exit still ends
// the program, while that program's window takes no messages at all.
#include "talveroTest.h"

namespace {

const char HUNG_TITLE[] = "TALVERO unanswering window";
const RECT HUNG_PLACE = {700, 150, 1000, 350};
constexpr int ROW_CLICK_X = 60;   // in the title column, right of the icon
// A person expects a second; the deadline leaves room for a loaded machine while
// the window stays unanswering for the whole test, so a wait for it fails here.
constexpr DWORD ANSWER_DEADLINE_MS = 3000;

class UnansweringWindow : public TalveroTest {
protected:
    void grayFromItsRow()
    {
        HWND list = control(IDC_WINDOW_LIST);
        int row = -1;
        ASSERT_TRUE(waitUntil([&] { return (row = listRowTitled(program, list, HUNG_TITLE)) >= 0; },
                              APPEAR_DEADLINE_MS));
        RECT rowPlace = listRowOnScreen(program, list, row);
        doubleClickAt(rowPlace.left + ROW_CLICK_X, (rowPlace.top + rowPlace.bottom) / 2);
        parkMouse();
        ASSERT_TRUE(waitForGray("ON"));
    }
    bool colourComesBack()
    {
        return waitUntil([&] { return status(1) == "Gray: OFF" && overlayWindows(program).empty(); },
                         ANSWER_DEADLINE_MS);
    }
};

}  // namespace

TEST_F(UnansweringWindow, ColourComesBackAndExitEndsWhileTheGrayedWindowHangs)
{
    startTalvero();
    // This thread's window, brought to the front; from then on the thread takes no
    // messages (no wait below handles them): to talvero.exe, a program that hangs.
    HWND hung = createColourWindow(HUNG_TITLE, HUNG_PLACE, RGB(200, 60, 60), WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(waitUntilPumping([&] { return SetForegroundWindow(hung) && GetForegroundWindow() == hung; },
                                 APPEAR_DEADLINE_MS));

    // In front: Ctrl+Alt+G grays it, Ctrl+Alt+N brings the colour back.
    pressCtrlAltKey('G');
    ASSERT_TRUE(waitUntil([&] { return status(1) == "Gray: ON" && overlayWindows(program).size() == 1; },
                          APPEAR_DEADLINE_MS));
    pressCtrlAltKey('N');
    EXPECT_TRUE(colourComesBack()) << "the foreground mode over a hung window: " << status(1);

    // Chosen from the list: the same, and File > Exit ends the program.
    grayFromItsRow();
    pressCtrlAltKey('N');
    EXPECT_TRUE(colourComesBack()) << "the selected-window mode over a hung window: " << status(1);
    grayFromItsRow();
    ASSERT_TRUE(chooseMenuItem(program, 'F', 'E')) << "the File menu did not open";
    DWORD exitCode = 1;
    EXPECT_TRUE(waitForExit(program, ANSWER_DEADLINE_MS, &exitCode)) << "talvero.exe did not end";
    EXPECT_EQ(0u, exitCode);
    DestroyWindow(hung);
}
