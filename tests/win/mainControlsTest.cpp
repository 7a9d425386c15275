// The main window's controls as createMainControls and layoutInitial make them,
// on a window of this test process: what a user cannot easily see but the program
// fixes. The list view's extended styles, the fonts of the status bar and the
// list (a font handle can be read only in the process that owns it), and each
// command button's window region.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

#include "appState.h"
#include "mainControls.h"
#include "resource.h"
#include "shellRules.h"
#include "shellTestState.h"
#include "testWorld.h"

namespace {

const char PARENT_CLASS[] = "TALVERO_CONTROLS_TEST";
constexpr int BUTTON_SQUARE = 60;
// "MS Gothic" by its Japanese name, as the program asks for it.
const wchar_t GOTHIC_FACE[] = L"\xFF2D\xFF33\x3000\x30B4\x30B7\x30C3\x30AF";

// The fields of appState that the controls' creation sets, kept to be put back:
// other tests of this process have a world of their own in the same record.
struct SavedControls {
    HINSTANCE instance;
    HWND windowListView;
    HWND statusBar;
    HDC buttonImageDC;
    HBITMAP buttonImageBitmap;
    HFONT statusFont;
    HFONT listFont;
    CommandButton commandButtons[COMMAND_BUTTON_COUNT];
};

SavedControls saveControls()
{
    SavedControls saved = {appState.instance,        appState.windowListView,   appState.statusBar,
                           appState.buttonImageDC,   appState.buttonImageBitmap, appState.statusFont,
                           appState.listFont,        {}};
    for (int slot = 0; slot < COMMAND_BUTTON_COUNT; slot++)
        saved.commandButtons[slot] = appState.commandButtons[slot];
    return saved;
}

void restoreControls(const SavedControls &saved)
{
    appState.instance = saved.instance;
    appState.windowListView = saved.windowListView;
    appState.statusBar = saved.statusBar;
    appState.buttonImageDC = saved.buttonImageDC;
    appState.buttonImageBitmap = saved.buttonImageBitmap;
    appState.statusFont = saved.statusFont;
    appState.listFont = saved.listFont;
    for (int slot = 0; slot < COMMAND_BUTTON_COUNT; slot++)
        appState.commandButtons[slot] = saved.commandButtons[slot];
}

void expectControlFont(HWND control, const char *what)
{
    SCOPED_TRACE(what);
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, font) << "no font set";
    LOGFONTW shape = {};
    ASSERT_EQ(static_cast<int>(sizeof shape), GetObjectW(font, sizeof shape, &shape));
    EXPECT_EQ(14, shape.lfHeight);
    EXPECT_EQ(0, shape.lfWidth);
    EXPECT_EQ(500, shape.lfWeight);
    EXPECT_EQ(0, shape.lfItalic);
    EXPECT_EQ(0, shape.lfUnderline);
    EXPECT_EQ(0, shape.lfStrikeOut);
    EXPECT_EQ(DEFAULT_CHARSET, shape.lfCharSet) << "every script, not Shift-JIS alone";
    EXPECT_EQ(ANTIALIASED_QUALITY, shape.lfQuality);
    EXPECT_EQ(VARIABLE_PITCH, shape.lfPitchAndFamily);
    EXPECT_EQ(std::wstring(GOTHIC_FACE), std::wstring(shape.lfFaceName));
}

class MainControls : public testing::Test {
protected:
    SavedControls saved = {};
    HWND parent = nullptr;

    void SetUp() override
    {
        ensureShellState();
        ensureAppLocks();
        InitCommonControls();
        saved = saveControls();
        appState.instance = GetModuleHandleA(nullptr);
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = appState.instance;
        windowClass.lpszClassName = PARENT_CLASS;
        RegisterClassExA(&windowClass);  // fails harmlessly when a repeat finds it there
        parent = CreateWindowExA(WS_EX_CONTROLPARENT, PARENT_CLASS, "TALVERO controls test",
                                 WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS, MAIN_INITIAL_LEFT, MAIN_INITIAL_TOP,
                                 MAIN_INITIAL_WIDTH, MAIN_INITIAL_HEIGHT, nullptr, nullptr, appState.instance,
                                 nullptr);
        ASSERT_NE(nullptr, parent);
        createMainControls(parent);
        layoutInitial(parent);
    }

    void TearDown() override
    {
        if (parent != nullptr)
            DestroyWindow(parent);  // and the controls with it
        if (appState.statusFont != saved.statusFont)
            DeleteObject(appState.statusFont);
        if (appState.listFont != saved.listFont)
            DeleteObject(appState.listFont);
        if (appState.buttonImageDC != saved.buttonImageDC)
            DeleteDC(appState.buttonImageDC);
        if (appState.buttonImageBitmap != saved.buttonImageBitmap && appState.buttonImageBitmap != nullptr)
            DeleteObject(appState.buttonImageBitmap);
        restoreControls(saved);
    }
};

}  // namespace

TEST_F(MainControls, ListViewHasGridFullRowSubitemImagesAndDoubleBuffer)
{
    HWND list = GetDlgItem(parent, IDC_WINDOW_LIST);
    ASSERT_NE(nullptr, list);
    EXPECT_EQ(static_cast<LRESULT>(LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT |
                                   LVS_EX_DOUBLEBUFFER),  // 0x10023
              SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
}

TEST_F(MainControls, StatusBarAndListUseTwoGothicFontsOfHeight14)
{
    HWND status = GetDlgItem(parent, IDC_STATUS_BAR);
    HWND list = GetDlgItem(parent, IDC_WINDOW_LIST);
    ASSERT_NE(nullptr, status);
    ASSERT_NE(nullptr, list);
    expectControlFont(status, "status bar");
    expectControlFont(list, "list view");
    EXPECT_NE(SendMessageA(status, WM_GETFONT, 0, 0), SendMessageA(list, WM_GETFONT, 0, 0))
        << "two separate fonts, one per control";
}

TEST_F(MainControls, EachButtonIsClippedToItsSixtyPixelSquare)
{
    for (int32_t id : COMMAND_BUTTON_IDS) {
        SCOPED_TRACE("button " + std::to_string(id));
        HWND button = GetDlgItem(parent, id);
        ASSERT_NE(nullptr, button);
        HRGN region = CreateRectRgn(0, 0, 0, 0);
        EXPECT_EQ(SIMPLEREGION, GetWindowRgn(button, region)) << "no rectangular window region";
        RECT box = {};
        GetRgnBox(region, &box);
        EXPECT_EQ(0, box.left);
        EXPECT_EQ(0, box.top);
        EXPECT_EQ(BUTTON_SQUARE, box.right);
        EXPECT_EQ(BUTTON_SQUARE, box.bottom);
        DeleteObject(region);
    }
}
