// The rows of the window list view and what a person does with them: a double
// click or "Set to gray" grays the row's window, "Turn off gray" ends gray display.
// The starts and the stop run on threads of their own: the UI thread never waits.
#include "listView.h"

#include <commctrl.h>

#include "appState.h"
#include "boundedText.h"
#include "commandButtons.h"
#include "modeControl.h"
#include "rulesControl.h"
#include "wideText.h"
#include "windowScan.h"

namespace {

// The context menu's commands, as TrackPopupMenu returns them (0: none chosen).
constexpr UINT MENU_SET_TO_GRAY = 1;
constexpr UINT MENU_TURN_OFF_GRAY = 2;
// The rule commands: MENU_RULE_BASE + the RuleKind they set.
constexpr UINT MENU_RULE_BASE = 10;
constexpr int APPLICATION_COLUMN = 1;
constexpr int ON_OFF_COLUMN = 2;
constexpr int GRAY_MARK_NUMBER = 1;

int firstSelectedRow()
{
    return static_cast<int>(
        SendMessageA(appState.windowListView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void setRowState(int row, UINT state, UINT mask)
{
    LVITEMW item = {};
    item.state = state;
    item.stateMask = mask;
    SendMessageA(appState.windowListView, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

// The rows hold the entries' UTF-16 texts, so the control gives every reader (our
// drawing, a screen reader) each title exactly.
void insertRow(int row, WindowEntry *entry)
{
    LVITEMW item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = row;
    item.pszText = entry->title;
    item.iImage = entry->iconIndex + 1;
    item.lParam = entry->programRule;   // drawn beside the gray mark
    SendMessageW(appState.windowListView, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));

    LVITEMW application = {};
    application.mask = LVIF_TEXT;
    application.iItem = row;
    application.iSubItem = 1;
    application.pszText = entry->appName;
    SendMessageW(appState.windowListView, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&application));

    if (entry->isGrayTarget != 1)
        return;
    char markNumber[TEXT_SMALL];
    formatText(markNumber, "%d", GRAY_MARK_NUMBER);
    wchar_t markText[TEXT_SMALL];
    wideFromUtf8(markText, markNumber);
    LVITEMW mark = {};
    mark.mask = LVIF_TEXT | LVIF_IMAGE;
    mark.iItem = row;
    mark.iSubItem = ON_OFF_COLUMN;
    mark.pszText = markText;
    mark.iImage = GRAY_MARK_IMAGE;
    SendMessageW(appState.windowListView, LVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&mark));
}

void onDoubleClick()
{
    int row = firstSelectedRow();
    appState.selectedListIndex = row;
    if (row != -1)
        grayPendingListEntry();
}

// The application name shown in a row, in UTF-8 as rules name it; "" without one
// (or with a name too long for a rule).
void rowProgramName(int row, char (&name)[RULE_NAME_BYTES])
{
    name[0] = '\0';
    wchar_t shown[TEXT_LONG] = {};
    LVITEMW item = {};
    item.iSubItem = APPLICATION_COLUMN;
    item.pszText = shown;
    item.cchTextMax = TEXT_LONG;
    if (row != -1)
        SendMessageW(appState.windowListView, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item));
    utf8FromWide(name, shown);
}

// The three rules of the row's program, the one in force checked; their texts
// carry the name in any script, so they are added in UTF-16.
void appendRuleItems(HMENU menu, const char *programName)
{
    if (programName[0] == '\0')
        return;
    const struct {
        int32_t kind;
        const char *format;
    } items[] = {{RULE_COLOUR, "Keep %s in colour"}, {RULE_GRAY, "Always gray %s"}, {RULE_NONE, "No rule for %s"}};
    int32_t current = programRuleOf(programName);
    for (const auto &rule : items) {
        char text[TEXT_LONG];
        formatText(text, rule.format, programName);
        wchar_t wideText[TEXT_LONG];
        wideFromUtf8(wideText, text);
        UINT checked = rule.kind == current ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuW(menu, MF_STRING | checked, MENU_RULE_BASE + static_cast<UINT>(rule.kind), wideText);
    }
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
}

UINT chooseFromRowMenu(const char *programName)
{
    POINT cursor = {};
    GetCursorPos(&cursor);
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr)
        return 0;
    AppendMenuA(menu, MF_STRING, MENU_SET_TO_GRAY, appState.texts.setToGray);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, MENU_TURN_OFF_GRAY, appState.texts.turnOffGray);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    appendRuleItems(menu, programName);
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD, cursor.x, cursor.y, 0, appState.mainWindow, nullptr));
    DestroyMenu(menu);
    return chosen;
}

// The commands act on the first row selected when the menu has closed; a rule
// command on the program its text names (the row's when it opened). Turning gray
// off needs no row: the menu opened below the rows turns it off as well.
void onRightClick()
{
    char programName[RULE_NAME_BYTES];
    rowProgramName(firstSelectedRow(), programName);
    UINT chosen = chooseFromRowMenu(programName);
    if (chosen >= MENU_RULE_BASE + RULE_NONE && chosen <= MENU_RULE_BASE + RULE_GRAY) {
        setProgramRule(programName, static_cast<int32_t>(chosen - MENU_RULE_BASE));
        return;
    }
    if (chosen == MENU_TURN_OFF_GRAY) {
        runModeCommand(appState.mainWindow, IDC_BUTTON_NORMAL_COLOR);
        return;
    }
    int row = firstSelectedRow();
    if (chosen == MENU_SET_TO_GRAY && row != -1)
        grayListEntry(row);
}

}  // namespace

void fillWindowList()
{
    SendMessageA(appState.windowListView, LVM_DELETEALLITEMS, 0, 0);
    int row = 0;
    for (WindowEntry *entry = appState.windowList; entry != nullptr; entry = entry->next)
        insertRow(row++, entry);
}

unsigned __stdcall refillWindowListThread(void *)
{
    // The selection follows the row position, not the window.
    int selected = firstSelectedRow();
    SendMessageA(appState.windowListView, WM_SETREDRAW, FALSE, 0);
    fillWindowList();
    setRowState(-1, 0, LVIS_SELECTED);
    if (selected != -1)
        setRowState(selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SendMessageA(appState.windowListView, WM_SETREDRAW, TRUE, 0);
    return 0;
}

LRESULT onWindowListMessage(HWND, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_DRAWITEM) {
        drawWindowListItem(reinterpret_cast<const DRAWITEMSTRUCT *>(lParam));
        return TRUE;
    }
    if (message != WM_NOTIFY)
        return 0;
    switch (reinterpret_cast<const NMHDR *>(lParam)->code) {
    case NM_DBLCLK: onDoubleClick(); break;
    case NM_RCLICK: onRightClick(); break;
    default: break;   // column clicks included: the list is not sorted
    }
    return 0;
}
