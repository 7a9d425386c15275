// The command line and the single instance, as a person at a shortcut sees them:
// a second start hands its command to the running TALVERO and ends; an unknown
// argument is refused with a message box and exit code 2.
#include "talveroTest.h"

#include <vector>

namespace {

const char OVERLAY_TITLE[] = "TALVERO_GRAY";
constexpr long EXIT_UNKNOWN_ARGUMENT = 2;

struct ClassWindows {
    std::vector<HWND> mains;
    std::vector<HWND> overlays;
};

BOOL CALLBACK collectClassWindow(HWND window, LPARAM found)
{
    if (windowClass(window) != "TALVERO")
        return TRUE;
    ClassWindows *windows = reinterpret_cast<ClassWindows *>(found);
    if (windowText(window) == OVERLAY_TITLE)
        windows->overlays.push_back(window);
    else if (IsWindowVisible(window))
        windows->mains.push_back(window);
    return TRUE;
}

// Every window of talvero's class on the desktop, of any process.
ClassWindows talveroWindows()
{
    ClassWindows windows;
    EnumWindows(collectClassWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

class SecondStart : public TalveroTest {
protected:
    Program second;

    void TearDown() override
    {
        disposeProgram(second);
        TalveroTest::TearDown();
    }

    long secondExitCode()
    {
        DWORD exitCode = 0;
        bool ended = waitForExit(second, EXIT_DEADLINE_MS, &exitCode);
        EXPECT_TRUE(ended) << "the second start still runs " << EXIT_DEADLINE_MS << " ms later";
        return ended ? static_cast<long>(exitCode) : -1;
    }
};

}  // namespace

TEST_F(SecondStart, WithScreenStartsTheScreenModeInTheFirst)
{
    startTalvero();
    ASSERT_TRUE(startProgram(second, nullptr, "/screen"));
    EXPECT_EQ(0, secondExitCode());
    EXPECT_TRUE(waitForGray("ON")) << "the first instance runs the screen mode";
    EXPECT_TRUE(waitUntil([&] { return overlayWindows(program).size() == 1; }, APPEAR_DEADLINE_MS));

    ClassWindows windows = talveroWindows();
    EXPECT_EQ(1u, windows.mains.size()) << "one main window on the desktop";
    EXPECT_EQ(1u, windows.overlays.size()) << "one overlay on the desktop";
}

TEST_F(SecondStart, WithoutArgumentBringsTheStoredMainWindowBack)
{
    startTalvero();
    press(IDC_BUTTON_TRAY);
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(program.mainWindow); }, APPEAR_DEADLINE_MS));

    ASSERT_TRUE(startProgram(second));
    EXPECT_EQ(0, secondExitCode());
    EXPECT_TRUE(waitUntil([&] { return IsWindowVisible(program.mainWindow) != FALSE; }, APPEAR_DEADLINE_MS))
        << "the stored main window is shown again";
    EXPECT_EQ(1u, talveroWindows().mains.size());
}

TEST_F(SecondStart, UnknownArgumentIsRefusedWithTheAcceptedOnes)
{
    ASSERT_TRUE(startProgram(program, nullptr, "/bogus"));
    HWND box = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (box = findProgramWindow(program, "#32770", "TALVERO")) != nullptr; },
                          START_DEADLINE_MS));
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        text += controlText(child) + "\n";
    for (const char *argument : {"/screen", "/window", "/focus", "/off", "/tray"})
        EXPECT_NE(std::string::npos, text.find(argument)) << text;
    SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    EXPECT_EQ(EXIT_UNKNOWN_ARGUMENT, exitCodeAfterEnd());
}
