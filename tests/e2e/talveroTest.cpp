// The end-to-end fixture: start, wait, screenshot on failure, clean-up.
#include "talveroTest.h"

#include <cstring>

#include "boundedText.h"

namespace {

// Where the mouse rests between actions: far from the main window and its
// tooltips, and from the corner where Wine shows the notification area.
constexpr int PARK_X = 1200;
constexpr int PARK_Y = 800;

void saveFailureScreenshot()
{
    const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
    char directory[MAX_PATH];
    GetModuleFileNameA(nullptr, directory, sizeof directory);
    char *slash = strrchr(directory, '\\');
    if (slash != nullptr)
        *slash = '\0';
    appendText(directory, "\\failures");
    CreateDirectoryA(directory, nullptr);
    char path[MAX_PATH];
    formatText(path, "%s\\%s.%s.bmp", directory, test->test_suite_name(), test->name());
    if (saveScreenshot(path))
        printf("screenshot of the failure: %s\n", path);
}

}  // namespace

void TalveroTest::SetUp()
{
    parkMouse();
}

void TalveroTest::parkMouse()
{
    moveMouse(PARK_X, PARK_Y);
}

void TalveroTest::TearDown()
{
    if (HasFailure())
        saveFailureScreenshot();
    disposeProgram(program);
}

void TalveroTest::startTalvero(const char *settingsText)
{
    ASSERT_TRUE(startProgram(program, settingsText)) << "cannot start " << talveroPath();
    ASSERT_TRUE(waitForMainWindow(program)) << "no main window within " << START_DEADLINE_MS << " ms";
}

long TalveroTest::exitCodeAfterEnd()
{
    DWORD exitCode = 0;
    bool ended = waitForExit(program, EXIT_DEADLINE_MS, &exitCode);
    EXPECT_TRUE(ended) << "talvero.exe still runs " << EXIT_DEADLINE_MS << " ms later";
    return ended ? static_cast<long>(exitCode) : -1;
}

void TalveroTest::press(int buttonId)
{
    POINT centre = centreOf(control(buttonId));
    clickAt(centre.x, centre.y);
    parkMouse();
}

bool TalveroTest::waitForGray(const std::string &state)
{
    return waitUntil([&] { return status(1) == "Gray: " + state; }, APPEAR_DEADLINE_MS);
}

std::string TalveroTest::settingsText()
{
    return readWholeFile((std::string(program.workDirectory) + "\\config.txt").c_str());
}

bool TalveroTest::settingsFileHolds(const std::string &line)
{
    std::string text = settingsText();
    return text.compare(0, line.size(), line) == 0 && text.find_first_not_of(' ', line.size()) == std::string::npos;
}

void TalveroTest::chooseFromMenu(POINT at, int downPresses)
{
    // Wine may move the focus once more just after an activation, which closes a
    // menu that opened too early: a person would right-click again.
    constexpr int ATTEMPTS = 4;
    constexpr DWORD POPUP_DEADLINE_MS = 2500;
    bool shown = false;
    for (int attempt = 0; attempt < ATTEMPTS && !shown; attempt++) {
        bringToFront(program.mainWindow);
        rightClickAt(at.x, at.y);
        shown = waitUntil([&] { return findProgramWindow(program, "#32768", "") != nullptr; }, POPUP_DEADLINE_MS);
        if (!shown)
            pressKey(VK_ESCAPE);
    }
    ASSERT_TRUE(shown) << "the row menu did not open";
    for (int press = 0; press < downPresses; press++)
        pressKey(VK_DOWN);
    pressKey(VK_RETURN);
}

HWND TalveroTest::waitForDialog(const char *caption)
{
    HWND dialog = nullptr;
    waitUntil([&] { return (dialog = findProgramWindow(program, "#32770", caption)) != nullptr; },
              APPEAR_DEADLINE_MS);
    return dialog;
}
