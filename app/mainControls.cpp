// Creates and places the main window's controls. The buttons are drawn from the
// image strip by commandButtonProc; the list rows by the window-list view.
// UI thread, except layoutOnSize, which also runs for WM_SIZE forwarded by an overlay.
#include "mainControls.h"

#include <commctrl.h>

#include "appState.h"
#include "boundedText.h"
#include "commandButtons.h"
#include "listView.h"
#include "resource.h"
#include "shellRules.h"

namespace {

constexpr DWORD BUTTON_STYLE = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
constexpr DWORD LIST_STYLE = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL | WS_TABSTOP |
                             LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDRAWFIXED;
constexpr DWORD LIST_EXTENDED_STYLE =
    LVS_EX_GRIDLINES | LVS_EX_SUBITEMIMAGES | LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER;
// The list's size until the first layout places it.
constexpr int LIST_CREATE_SIZE = 100;
constexpr DWORD STATUS_STYLE = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_TABSTOP;
// Both buffers of the status-bar protocol hold 100 bytes; concatenation stops at 98.
constexpr size_t STATUS_CONCAT_LIMIT = 98;

// The status bar and the list view use the face "MS Gothic" by its Japanese name
// (full-width M and S, an ideographic space, the katakana word), in UTF-16: the
// name is found on every system that has the face, whatever its code page, where
// its Shift-JIS bytes name it only on a Japanese one. DEFAULT_CHARSET lets the
// font mapper serve every script: with the Shift-JIS character set a system without
// the face would pick a Japanese font that may lack other letters.
const wchar_t CONTROL_FONT_FACE[] = L"\xFF2D\xFF33\x3000\x30B4\x30B7\x30C3\x30AF";
constexpr int CONTROL_FONT_HEIGHT = 14;
constexpr int CONTROL_FONT_WEIGHT = 500;

HFONT createControlFont()
{
    return CreateFontW(CONTROL_FONT_HEIGHT, 0, 0, 0, CONTROL_FONT_WEIGHT, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, VARIABLE_PITCH,
                       CONTROL_FONT_FACE);
}

int32_t listClientWidth()
{
    RECT client = {};
    GetClientRect(appState.windowListView, &client);
    return client.right - client.left;
}

void setColumnWidths()
{
    ListColumnWidths widths = listColumnWidths(listClientWidth());
    SendMessageA(appState.windowListView, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(widths.title, 0));
    SendMessageA(appState.windowListView, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(widths.application, 0));
    SendMessageA(appState.windowListView, LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(widths.onOff, 0));
}

void insertColumns()
{
    ListColumnWidths widths = listColumnWidths(listClientWidth());
    char *texts[LIST_COLUMN_COUNT] = {appState.texts.columnTitle, appState.texts.columnApplication,
                                      appState.texts.columnOnOff};
    int columnWidths[LIST_COLUMN_COUNT] = {widths.title, widths.application, widths.onOff};
    for (int column = 0; column < LIST_COLUMN_COUNT; column++) {
        LVCOLUMNA entry = {};
        entry.mask = LVCF_WIDTH | LVCF_TEXT;
        entry.cx = columnWidths[column];
        entry.pszText = texts[column];
        SendMessageA(appState.windowListView, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&entry));
    }
}

void setStatusParts(int32_t clientWidth)
{
    int edges[STATUS_PART_COUNT] = {statusPartEdge(clientWidth), -1};
    SendMessageA(appState.statusBar, SB_SETPARTS, STATUS_PART_COUNT, reinterpret_cast<LPARAM>(edges));
}

}  // namespace

void createMainControls(HWND window)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    HWND buttons[COMMAND_BUTTON_COUNT];
    for (int slot = 0; slot < COMMAND_BUTTON_COUNT; slot++)
        buttons[slot] = CreateWindowExA(0, "BUTTON", "button", BUTTON_STYLE, 0, 0, BUTTON_SIZE, BUTTON_SIZE, window,
                                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(COMMAND_BUTTON_IDS[slot])), instance,
                                        nullptr);

    HDC screen = GetDC(nullptr);
    appState.buttonImageDC = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    appState.buttonImageBitmap = LoadBitmapA(appState.instance, MAKEINTRESOURCEA(IDB_BUTTON_STRIP));
    SelectObject(appState.buttonImageDC, appState.buttonImageBitmap);

    for (int slot = 0; slot < COMMAND_BUTTON_COUNT; slot++) {
        CommandButton &button = appState.commandButtons[slot];
        button.window = buttons[slot];
        HRGN region = CreateRectRgn(0, 0, BUTTON_SIZE, BUTTON_SIZE);
        if (region != nullptr)
            SetWindowRgn(button.window, region, FALSE);  // the window owns the region from here
        button.previousProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(button.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(commandButtonProc)));
    }

    appState.windowListView =
        CreateWindowExA(WS_EX_CLIENTEDGE, "SysListView32", nullptr, LIST_STYLE, 0, LIST_TOP, LIST_CREATE_SIZE,
                        LIST_CREATE_SIZE, window,
                        reinterpret_cast<HMENU>(IDC_WINDOW_LIST), appState.instance, nullptr);
    SendMessageA(appState.windowListView, LVM_SETEXTENDEDLISTVIEWSTYLE, LIST_EXTENDED_STYLE, LIST_EXTENDED_STYLE);
    appState.statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, STATUS_STYLE, 0, 0, 0, 0, window,
                                         reinterpret_cast<HMENU>(IDC_STATUS_BAR), appState.instance, nullptr);
}

void layoutInitial(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    for (int slot = 0; slot < COMMAND_BUTTON_COUNT; slot++)
        MoveWindow(appState.commandButtons[slot].window, BUTTON_LEFTS[slot], BUTTON_TOP, BUTTON_SIZE, BUTTON_SIZE,
                   TRUE);
    MoveWindow(appState.windowListView, 0, LIST_TOP, client.right - client.left,
               (client.bottom - client.top) - LIST_INITIAL_HEIGHT_MARGIN, TRUE);

    HWND header = reinterpret_cast<HWND>(SendMessageA(appState.windowListView, LVM_GETHEADER, 0, 0));
    if (SendMessageA(header, HDM_GETITEMCOUNT, 0, 0) > 0)
        setColumnWidths();
    else
        insertColumns();

    setStatusParts(client.right - client.left);
    showIdleStatus();
    fillWindowList();
    InvalidateRect(window, nullptr, FALSE);
    ShowWindow(appState.windowListView, SW_SHOW);

    appState.statusFont = createControlFont();
    appState.listFont = createControlFont();
    SendMessageA(appState.statusBar, WM_SETFONT, reinterpret_cast<WPARAM>(appState.statusFont), TRUE);
    SendMessageA(appState.windowListView, WM_SETFONT, reinterpret_cast<WPARAM>(appState.listFont), TRUE);
}

void createTooltips(HWND window)
{
    char *texts[COMMAND_BUTTON_COUNT] = {appState.texts.tipForegroundMode, appState.texts.tipScreenMode,
                                         appState.texts.tipNormalColor, appState.texts.tipTray,
                                         appState.texts.tipConfigure};
    for (int slot = 0; slot < COMMAND_BUTTON_COUNT; slot++) {
        HWND tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                       0, 0, 0, 0, nullptr, nullptr, appState.instance, nullptr);
        appState.tooltips[slot] = tooltip;
        TOOLINFOA tool = {};  // the full record: the manifest asks for common controls 6
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = window;
        tool.uId = reinterpret_cast<UINT_PTR>(appState.commandButtons[slot].window);
        tool.hinst = appState.instance;
        tool.lpszText = texts[slot];
        SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void layoutOnSize(const RECT &client)
{
    RECT status = {};
    GetClientRect(appState.statusBar, &status);
    int32_t clientWidth = client.right - client.left;
    SetWindowPos(appState.statusBar, nullptr, 0, client.bottom - status.top - status.bottom, clientWidth,
                 status.bottom - status.top, SWP_NOZORDER | SWP_NOACTIVATE);
    setStatusParts(clientWidth);
    // The status bar sets its own height from its font when it is moved; take the
    // height it settled on, so that the list reaches down to it.
    GetClientRect(appState.statusBar, &status);
    SetWindowPos(appState.windowListView, nullptr, 0, LIST_TOP, clientWidth,
                 listHeightOnSize(client.bottom - client.top, status.top, status.bottom),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    setColumnWidths();
}

void setStatusText(int part, const char *text)
{
    SendMessageA(appState.statusBar, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text));
}

void showIdleStatus()
{
    char rate[TEXT_STATUS];
    copyText(rate, "FPS: ");
    setStatusText(STATUS_PART_RATE, rate);
    char gray[TEXT_STATUS];
    copyTextN(gray, STATUS_CONCAT_LIMIT + 1, appState.texts.grayLabel);
    appendTextN(gray, STATUS_CONCAT_LIMIT + 1, appState.texts.grayOff);
    setStatusText(STATUS_PART_GRAY, gray);
}
