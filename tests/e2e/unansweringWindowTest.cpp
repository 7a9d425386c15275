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

LRESULT CALLBACK hungProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

// A window on a thread of its own, which brings it to the front and then takes no
// messages until released: to talvero.exe, another program that hangs.
struct HungWindow {
    HWND window = nullptr;
    HANDLE shown = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE released = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
};

DWORD WINAPI hungWindowMain(void *parameter)
{
    HungWindow *hung = static_cast<HungWindow *>(parameter);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = hungProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "UnansweringWindow";
    RegisterClassA(&windowClass);
    hung->window = CreateWindowExA(0, windowClass.lpszClassName, HUNG_TITLE, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                   HUNG_PLACE.left, HUNG_PLACE.top, HUNG_PLACE.right - HUNG_PLACE.left,
                                   HUNG_PLACE.bottom - HUNG_PLACE.top, nullptr, nullptr, windowClass.hInstance,
                                   nullptr);
    SetForegroundWindow(hung->window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    SetEvent(hung->shown);
    WaitForSingleObject(hung->released, INFINITE);   // no messages from here on
    DestroyWindow(hung->window);
    return 0;
}

class UnansweringWindow : public TalveroTest {
protected:
    HungWindow hung;

    void TearDown() override
    {
        SetEvent(hung.released);
        if (hung.thread != nullptr) {
            WaitForSingleObject(hung.thread, EXIT_DEADLINE_MS);
            CloseHandle(hung.thread);
        }
        CloseHandle(hung.shown);
        CloseHandle(hung.released);
        TalveroTest::TearDown();
    }
    void startHungWindow()
    {
        hung.thread = CreateThread(nullptr, 0, hungWindowMain, &hung, 0, nullptr);
        ASSERT_NE(nullptr, hung.thread);
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hung.shown, APPEAR_DEADLINE_MS));
        ASSERT_NE(nullptr, hung.window);
    }
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
        ASSERT_EQ(1u, overlayWindows(program).size());
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
    startHungWindow();
    ASSERT_EQ(hung.window, GetForegroundWindow());

    // In front: Ctrl+Alt+G grays it, Ctrl+Alt+N brings the colour back.
    pressCtrlAltKey('G');
    ASSERT_TRUE(waitForGray("ON"));
    ASSERT_TRUE(waitUntil([&] { return overlayWindows(program).size() == 1; }, APPEAR_DEADLINE_MS));
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
}
