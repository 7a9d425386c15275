// End-to-end harness: starts talvero.exe of this build in a fresh working directory,
// reads its windows and controls from outside, drives it with real mouse and
// keyboard input and looks at the screen. Test process of the same bitness as the
// program, so records read from the program have this process's layout.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "testFiles.h"
#include "testRegistry.h"
#include "testScreen.h"

// Generous limits: Wine on a shared 2-core machine can be slow to start a program.
constexpr DWORD START_DEADLINE_MS = 20000;
constexpr DWORD EXIT_DEADLINE_MS = 15000;
constexpr DWORD APPEAR_DEADLINE_MS = 10000;
// How long a window is watched to see that something does NOT happen.
constexpr DWORD QUIET_PERIOD_MS = 1500;

// Polls condition every few milliseconds until it holds or deadlineMs has passed.
bool waitUntil(const std::function<bool()> &condition, DWORD deadlineMs);
// The same, handling this thread's messages meanwhile (for tests with windows of their own).
bool waitUntilPumping(const std::function<bool()> &condition, DWORD deadlineMs);

// One run of talvero.exe.
struct Program {
    PROCESS_INFORMATION process = {};
    char workDirectory[MAX_PATH] = {};
    HWND mainWindow = nullptr;
};

// Full path of talvero.exe of this build (TALVERO_EXE overrides).
std::string talveroPath();
// Starts talvero.exe in a new working directory of its own, empty or holding
// config.txt with settingsText (and rules.txt with rulesText), with arguments on
// its command line if given.
bool startProgram(Program &program, const char *settingsText = nullptr, const char *arguments = nullptr,
                  const std::string *rulesText = nullptr);
// A new, empty working directory for the program, in program.workDirectory.
void makeWorkDirectory(Program &program);
// Starts talvero.exe in program.workDirectory as it stands (again, after an end).
bool startProgramInItsFolder(Program &program, const char *arguments = nullptr);
// The visible main window (class and title "TALVERO") of the program, or null.
HWND findMainWindow(const Program &program);
// Waits for the main window to appear; stores it in program.mainWindow.
bool waitForMainWindow(Program &program);
// Waits for the process to end; true and *exitCode when it did.
bool waitForExit(const Program &program, DWORD deadlineMs, DWORD *exitCode);
// Ends a program still running (clean-up after a failed test), closes the
// handles and deletes the working directory.
void disposeProgram(Program &program);

// A visible top-level window of the program with this class and title, or null.
HWND findProgramWindow(const Program &program, const char *className, const char *title);
// The same, hidden or not: a window still inside its creation is not shown yet.
HWND findProgramWindowShownOrNot(const Program &program, const char *className, const char *title);

// Reading controls of another process.
std::string windowText(HWND window);
std::string windowClass(HWND window);
// A control's text by WM_GETTEXT (GetWindowTextA does not ask another process's controls).
std::string controlText(HWND control);
RECT clientRectOnScreen(HWND window);
// A child's rectangle in its parent's client coordinates.
RECT rectInParent(HWND child);
std::string statusText(const Program &program, HWND statusBar, int part);
std::vector<int> statusPartEdges(const Program &program, HWND statusBar);
int listColumnWidth(HWND listView, int column);
std::string listColumnText(const Program &program, HWND listView, int column);
int listColumnCount(HWND listView);
int listItemCount(HWND listView);
// The text of one cell of a list view row (subItem 0 is the row's first column),
// as LVM_GETITEMTEXTW gives it, in UTF-8.
std::string listItemText(const Program &program, HWND listView, int row, int subItem);
std::string utf8Of(const std::wstring &text);
// The first row whose title column reads title, or -1.
int listRowTitled(const Program &program, HWND listView, const std::string &title);
// A row's rectangle on screen.
RECT listRowOnScreen(const Program &program, HWND listView, int row);
// The first selected row, or -1.
int listSelectedRow(HWND listView);
// Tooltip text of each tool, keyed by the tool's window (TTF_IDISHWND tools).
struct ToolTip {
    HWND tooltipWindow;  // the tooltip control
    HWND toolWindow;     // the window it serves
    std::string text;
};
std::vector<ToolTip> programToolTips(const Program &program);

// Real input.
void moveMouse(int x, int y);
void clickAt(int x, int y);
void doubleClickAt(int x, int y);
void rightClickAt(int x, int y);
// The left button alone, for a press that moves before it is released.
void pressMouseAt(int x, int y);
void releaseMouseAt(int x, int y);
void dragFromTo(int fromX, int fromY, int toX, int toY);
void pressKey(WORD virtualKey);
// Alt + key, as for a menu's mnemonic.
void pressAltKey(WORD virtualKey);
// Ctrl + Alt + key, as for a global hotkey.
void pressCtrlAltKey(WORD virtualKey);
bool bringToFront(HWND window);
// Opens a menu of the main window by its mnemonic (Alt + key) and waits for its
// pop-up to show; then chooses the item with itemKey. False when no pop-up showed.
bool chooseMenuItem(const Program &program, WORD menuKey, WORD itemKey);
// A screen point over which the window answers hitTest (HTCLOSE, HTBOTTOMRIGHT ...).
bool findHitTestPoint(HWND window, LRESULT hitTest, POINT *point);
// Centre of a window on screen.
POINT centreOf(HWND window);

bool saveScreenshot(const char *path);

// Wine's notification-area icon window (a visible "__winex11_tray_icon"), or null.
HWND trayIconWindow();
// upper lies somewhere above lower in the z-order.
bool isAbove(HWND upper, HWND lower);
// The program's overlay windows (class "TALVERO", title "TALVERO_GRAY"), shown or not.
std::vector<HWND> overlayWindows(const Program &program);
// The program has one overlay, shown exactly over place.
bool onlyOverlayOver(const Program &program, const RECT &place);
RECT windowRectOf(HWND window);
// The button strip (bitmap 121) as stored in talvero.exe, 0x00RRGGBB top-down.
std::vector<DWORD> loadButtonStrip(int *width, int *height);

// A program file name in accented, Greek and Japanese letters.
constexpr wchar_t UNICODE_PROGRAM_NAME[] = L"Gr\x00FC\x00DF" L"e \x03A9\x03BC\x03AD\x03B3\x03B1 \x7070.exe";
std::wstring wideOf(const std::string &ascii);
// Copies the tests' listHelper.exe to exePath (any file name) and starts the copy
// with one window titled title at (left, top), stored in helper.mainWindow. The
// copy is the caller's to delete once the helper has ended.
bool startListHelperCopy(Program &helper, const std::wstring &exePath, const std::wstring &title, int left, int top);
// Deletes a file by its UTF-16 name, waiting until a program that ran it has let it go.
bool deleteFileOnceFree(const std::wstring &path);

// A plain window of the test process, filled with one colour (style: WS_POPUP for
// a bare field, WS_OVERLAPPEDWINDOW for a window the list shows); counts the left
// clicks it gets into *clicks, if given. The test pumps its messages while it waits.
HWND createColourWindow(const char *title, const RECT &place, COLORREF colour, DWORD style, LONG *clicks = nullptr);
