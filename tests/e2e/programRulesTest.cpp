// A person sets program rules: from the window list's row menu, or in rules.txt.
// The ruled program is this test program, e2eTests.exe, whose windows are plain
// colour fields; talvero.exe's main window is the other program's window. Under
// Wine the screen copy includes the overlay itself (on Windows it does not), so
// what the overlay grays is checked in its region and, where Wine shows it at all,
// for being gray; what it leaves out keeps its exact colours.
#include "talveroTest.h"

namespace {

const char FIELD_TITLE[] = "TALVERO rules field";
constexpr COLORREF FIELD_COLOUR = RGB(200, 40, 40);
const char TEST_PROGRAM[] = "e2eTests.exe";
constexpr int ROW_CLICK_X = 60;
constexpr int KEEP_IN_COLOUR_ENTRY = 3;   // down presses in the row menu
constexpr int ALWAYS_GRAY_ENTRY = 4;
constexpr int SHIFT = 100;

HRGN regionOf(const RECT &rect, const RECT &origin)
{
    return CreateRectRgn(rect.left - origin.left, rect.top - origin.top, rect.right - origin.left,
                         rect.bottom - origin.top);
}

// The overlay's region, from outside, equals expected (which it deletes).
bool overlayRegionIs(HWND overlay, HRGN expected)
{
    HRGN actual = CreateRectRgn(0, 0, 0, 0);
    bool same = GetWindowRgn(overlay, actual) != ERROR && EqualRgn(actual, expected);
    DeleteObject(actual);
    DeleteObject(expected);
    return same;
}

}  // namespace

class ProgramRules : public TalveroTest {
protected:
    HWND field = nullptr;
    Program helper;
    std::wstring helperPath;

    void TearDown() override
    {
        // The helper's copy lies in the working directory, which goes with the program.
        disposeProgram(helper);
        if (!helperPath.empty())
            EXPECT_TRUE(deleteFileOnceFree(helperPath));
        TalveroTest::TearDown();   // its screenshot still shows the field
        DestroyWindow(field);
    }
    std::string rulesPath() const { return std::string(program.workDirectory) + "\\rules.txt"; }
    std::string rulesText() const { return readWholeFile(rulesPath().c_str()); }
    bool waitForStatus(const std::string &text)
    {
        return waitUntilPumping([&] { return status(0) == text; }, APPEAR_DEADLINE_MS);
    }
    // Chooses a rule entry in the row menu of the row with this title (UTF-8).
    void chooseRuleFor(const std::string &title, int entry)
    {
        HWND list = control(IDC_WINDOW_LIST);
        int row = -1;
        ASSERT_TRUE(waitUntilPumping([&] { return (row = listRowTitled(program, list, title)) >= 0; },
                                     APPEAR_DEADLINE_MS));
        RECT place = listRowOnScreen(program, list, row);
        chooseFromMenu({place.left + ROW_CLICK_X, (place.top + place.bottom) / 2}, entry);
        parkMouse();
    }
    HWND waitForOverlay()
    {
        HWND overlay = nullptr;
        waitUntilPumping([&] { return (overlay = findProgramWindow(program, "TALVERO", "TALVERO_GRAY")) != nullptr; },
                         APPEAR_DEADLINE_MS);
        return overlay;
    }
    // Ctrl+Alt+R: the rules mode's overlay shows over place only. Its place is *origin.
    HWND startRulesModeOver(const RECT &place, RECT *origin)
    {
        pressCtrlAltKey('R');
        EXPECT_TRUE(waitForGray("ON"));
        HWND overlay = waitForOverlay();
        *origin = windowRectOf(overlay);
        EXPECT_TRUE(
            waitUntilPumping([&] { return overlayRegionIs(overlay, regionOf(place, *origin)); }, APPEAR_DEADLINE_MS))
            << "the overlay shows over the ruled program's window only";
        return overlay;
    }
};

TEST_F(ProgramRules, ARuleFromTheRowMenuLandsInTheFileAndKeepsTheProgramInColour)
{
    startTalvero();
    // Under the main window's buttons, which stay above it.
    RECT main = windowRectOf(program.mainWindow);
    field = createColourWindow(FIELD_TITLE, {main.left + 200, main.top + 20, main.right + 300, main.top + 300},
                               FIELD_COLOUR, WS_OVERLAPPEDWINDOW);
    ASSERT_TRUE(bringToFront(program.mainWindow));
    chooseRuleFor(FIELD_TITLE, KEEP_IN_COLOUR_ENTRY);
    EXPECT_TRUE(waitUntilPumping([&] { return rulesText() == "colour e2eTests.exe\r\n"; }, APPEAR_DEADLINE_MS))
        << rulesText();

    press(IDC_BUTTON_SCREEN_MODE);
    ASSERT_TRUE(waitForGray("ON"));
    HWND overlay = waitForOverlay();
    RECT work = windowRectOf(overlay);
    EXPECT_TRUE(waitUntilPumping(
        [&] {
            HRGN expected = regionOf(work, work), keep = regionOf(windowRectOf(field), work),
                 above = regionOf(windowRectOf(program.mainWindow), work);
            CombineRgn(keep, keep, above, RGN_DIFF);
            CombineRgn(expected, expected, keep, RGN_DIFF);
            DeleteObject(keep);
            DeleteObject(above);
            return overlayRegionIs(overlay, expected);
        },
        APPEAR_DEADLINE_MS))
        << "the overlay leaves out the field's visible part, and only that";
    RECT shown = clientRectOnScreen(field);
    shown.left = main.right;   // right of the main window
    uint32_t fieldPixel = static_cast<uint32_t>(GetRValue(FIELD_COLOUR)) << 16 | GetGValue(FIELD_COLOUR) << 8 |
                          GetBValue(FIELD_COLOUR);
    std::vector<uint32_t> red(screenPixels(shown).size(), fieldPixel);
    EXPECT_TRUE(waitUntilPumping([&] { return screenPixels(shown) == red; }, APPEAR_DEADLINE_MS))
        << "the field keeps its colour";
    RECT buttons = windowRectOf(control(IDC_BUTTON_NORMAL_COLOR));
    EXPECT_TRUE(waitUntilPumping([&] { return screenIsGray(buttons); }, APPEAR_DEADLINE_MS))
        << "the main window above it stays gray";
    pressCtrlAltKey('N');
    EXPECT_TRUE(waitForGray("OFF"));
}

TEST_F(ProgramRules, TheRulesModeGraysOnlyTheRuledProgramAndFollowsItsWindows)
{
    startTalvero();
    writeWholeFile(rulesPath().c_str(), "# set while TALVERO runs\r\ngray e2eTests.exe\r\n");
    const RECT place = {700, 150, 1000, 350};
    field = createColourWindow("", place, FIELD_COLOUR, WS_POPUP);
    RECT buttons = windowRectOf(control(IDC_BUTTON_NORMAL_COLOR));
    std::vector<uint32_t> colours = screenPixels(buttons);
    ASSERT_TRUE(bringToFront(program.mainWindow));
    RECT origin = {};
    HWND overlay = startRulesModeOver(place, &origin);
    EXPECT_EQ(colours, screenPixels(buttons)) << "the other program keeps its colours";

    SetWindowPos(field, nullptr, place.left + SHIFT, place.top + SHIFT, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_TRUE(waitUntilPumping([&] { return overlayRegionIs(overlay, regionOf(windowRectOf(field), origin)); },
                                 APPEAR_DEADLINE_MS))
        << "the gray follows the window that moved";
    pressCtrlAltKey('N');
    EXPECT_TRUE(waitForGray("OFF"));
}

// The rule is written in UTF-8 and holds for the program however its name is spelt:
// the rules mode grays the window of the helper's copy named in any letters.
TEST_F(ProgramRules, ARuleForAProgramNamedInAnyLettersIsWrittenInUTF8AndGraysIt)
{
    startTalvero();
    const wchar_t title[] = L"TALVERO rules \x03A9";
    const RECT place = {700, 150, 1000, 350};   // the helper's size, right of the main window
    helperPath = wideOf(program.workDirectory) + L"\\" + UNICODE_PROGRAM_NAME;
    ASSERT_TRUE(startListHelperCopy(helper, helperPath, title, place.left, place.top));
    ASSERT_TRUE(bringToFront(program.mainWindow));
    chooseRuleFor(utf8Of(title), ALWAYS_GRAY_ENTRY);
    EXPECT_TRUE(waitUntilPumping([&] { return rulesText() == "gray " + utf8Of(UNICODE_PROGRAM_NAME) + "\r\n"; },
                                 APPEAR_DEADLINE_MS))
        << rulesText();

    RECT origin = {};
    startRulesModeOver(place, &origin);
    pressCtrlAltKey('N');
    EXPECT_TRUE(waitForGray("OFF"));
}

TEST_F(ProgramRules, GarbageAndAnOversizedFileAreKeptAndSaidInTheStatusBar)
{
    const std::string understood = "colour ok.exe\nthis is no rule\n\x01\x02\n";
    const std::string garbage = understood + "half a li";
    ASSERT_TRUE(startProgram(program, nullptr, nullptr, &garbage));
    ASSERT_TRUE(waitForMainWindow(program));
    EXPECT_TRUE(waitForStatus("rules.txt: 3 lines skipped")) << status(0);
    Sleep(QUIET_PERIOD_MS);
    EXPECT_EQ(garbage, rulesText()) << "the file is unchanged until a rule is set";
    chooseRuleFor("TALVERO", KEEP_IN_COLOUR_ENTRY);
    EXPECT_TRUE(waitUntilPumping(
        [&] { return rulesText() == understood + "colour talvero.exe\n" + "half a li"; }, APPEAR_DEADLINE_MS))
        << "a rule set keeps every line it does not understand: " << rulesText();

    const std::string oversized(70 * 1024, 'x');
    writeWholeFile(rulesPath().c_str(), oversized);
    EXPECT_TRUE(waitForStatus("rules.txt is larger than 64 KB: not read")) << status(0);
    chooseRuleFor("TALVERO", KEEP_IN_COLOUR_ENTRY);
    EXPECT_TRUE(waitForStatus("rules.txt is too large to change: rule not saved")) << status(0);
    EXPECT_EQ(oversized, rulesText());
}
