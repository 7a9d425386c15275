// configDialogProc and its settings tasks. The dialog never takes settingsLock
// itself: each read or write of the settings runs on a short thread that does,
// and the dialog waits for it, so its accesses happen in the order written here.
#include "configDialog.h"

#include <commctrl.h>

#include "appState.h"
#include "boundedText.h"
#include "resource.h"
#include "settingsFile.h"
#include "settingsPlace.h"
#include "settingsSave.h"
#include "threadStart.h"

namespace {

constexpr int32_t TONE_MIN = 1;
constexpr int32_t TONE_MAX = 10;
constexpr int32_t TONE_PAGE = 1;
constexpr int WHITE_BAND_HEIGHT = 2;   // the band under the caption, across the whole width

enum SettingsField { FIELD_TONE, FIELD_REVERSE, FIELD_TYPE };
enum TaskAction { TASK_READ, TASK_WRITE, TASK_RESET };

struct SettingsTask {
    TaskAction action;
    SettingsField field;
    int32_t value;   // read into, or written from
};

int32_t *settingsField(SettingsField field)
{
    switch (field) {
    case FIELD_TONE: return &appState.graySettings.grayTone;
    case FIELD_REVERSE: return &appState.graySettings.reverseGray;
    case FIELD_TYPE: break;
    }
    return &appState.graySettings.convertType;
}

unsigned __stdcall settingsTaskMain(void *argument)
{
    SettingsTask *task = static_cast<SettingsTask *>(argument);
    EnterCriticalSection(&appState.settingsLock);
    if (task->action == TASK_READ)
        task->value = *settingsField(task->field);
    else if (task->action == TASK_WRITE)
        *settingsField(task->field) = task->value;
    else
        appState.graySettings = GraySettings{};
    LeaveCriticalSection(&appState.settingsLock);
    return 0;
}

// Runs a task thread and waits for it; false, after the message, when it could not start.
bool runTask(ThreadRoutine routine, void *argument, HWND messageOwner)
{
    HANDLE thread = startThread(routine, argument);
    if (thread == nullptr) {
        MessageBoxA(messageOwner, "error", "thread error", MB_OK);
        return false;
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return true;
}

bool readSetting(SettingsField field, int32_t *value)
{
    SettingsTask task = {TASK_READ, field, 0};
    if (!runTask(settingsTaskMain, &task, appState.mainWindow))
        return false;
    *value = task.value;
    return true;
}

void writeSetting(SettingsField field, int32_t value)
{
    SettingsTask task = {TASK_WRITE, field, value};
    runTask(settingsTaskMain, &task, appState.mainWindow);
}

LRESULT sendItem(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

// The whole text of the read-only value box is replaced by the number.
void showToneValue(HWND dialog, int32_t value)
{
    char text[TEXT_SMALL];
    formatText(text, "%d", static_cast<int>(value));
    LRESULT length = sendItem(dialog, IDC_CONFIG_TONE_VALUE, WM_GETTEXTLENGTH, 0, 0);
    sendItem(dialog, IDC_CONFIG_TONE_VALUE, EM_SETSEL, 0, length);
    sendItem(dialog, IDC_CONFIG_TONE_VALUE, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text));
}

// Only the two weightings have a button: any other value leaves both as they are.
void checkConvertType(HWND dialog, int32_t convertType)
{
    if (convertType != 0 && convertType != 1)
        return;
    sendItem(dialog, IDC_CONFIG_NTSC, BM_SETCHECK, convertType == 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    sendItem(dialog, IDC_CONFIG_HDTV, BM_SETCHECK, convertType == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

void showSettings(HWND dialog)
{
    int32_t value = 0;
    if (readSetting(FIELD_TONE, &value)) {
        sendItem(dialog, IDC_CONFIG_TONE, TBM_SETPOS, TRUE, value);
        showToneValue(dialog, value);
    }
    if (readSetting(FIELD_REVERSE, &value))
        sendItem(dialog, IDC_CONFIG_REVERSE, BM_SETCHECK, value != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    if (readSetting(FIELD_TYPE, &value))
        checkConvertType(dialog, value);
}

void onInitDialog(HWND dialog)
{
    sendItem(dialog, IDC_CONFIG_TONE, TBM_SETRANGE, TRUE, MAKELPARAM(TONE_MIN, TONE_MAX));
    sendItem(dialog, IDC_CONFIG_TONE, TBM_SETPAGESIZE, 0, TONE_PAGE);
    showSettings(dialog);
}

void onToneScroll(HWND dialog, LPARAM lParam)
{
    HWND trackbar = GetDlgItem(dialog, IDC_CONFIG_TONE);
    if (reinterpret_cast<HWND>(lParam) != trackbar)
        return;
    int32_t position = static_cast<int32_t>(SendMessageA(trackbar, TBM_GETPOS, 0, 0));
    writeSetting(FIELD_TONE, position);
    showToneValue(dialog, position);
}

void onSetDefault(HWND dialog)
{
    SettingsTask task = {TASK_RESET, FIELD_TONE, 0};
    if (runTask(settingsTaskMain, &task, dialog))
        showSettings(dialog);
}

void onReverseClicked(HWND dialog)
{
    LRESULT state = sendItem(dialog, IDC_CONFIG_REVERSE, BM_GETCHECK, 0, 0);
    if (state == BST_UNCHECKED || state == BST_CHECKED)
        writeSetting(FIELD_REVERSE, static_cast<int32_t>(state));
}

void onCommand(HWND dialog, WPARAM wParam)
{
    // The file records the values as they stand before this command.
    DWORD saveError = NO_ERROR;
    if (runTask(saveSettings, &saveError, appState.mainWindow))
        tellSaveOutcome(dialog, SETTINGS_FILE_CONFIG, saveError);
    switch (LOWORD(wParam)) {
    case IDC_CONFIG_NTSC:
        writeSetting(FIELD_TYPE, 0);
        checkConvertType(dialog, 0);
        break;
    case IDC_CONFIG_HDTV:
        writeSetting(FIELD_TYPE, 1);
        checkConvertType(dialog, 1);
        break;
    case IDC_CONFIG_REVERSE: onReverseClicked(dialog); break;
    case IDC_CONFIG_CLOSE: EndDialog(dialog, 1); break;
    case IDC_CONFIG_DEFAULT: onSetDefault(dialog); break;
    }
}

// The sizing frame stays, but the size is fixed.
void onMinMaxInfo(HWND dialog, LPARAM lParam)
{
    RECT outer = {};
    GetWindowRect(dialog, &outer);
    MINMAXINFO *info = reinterpret_cast<MINMAXINFO *>(lParam);
    POINT size = {outer.right - outer.left, outer.bottom - outer.top};
    info->ptMinTrackSize = size;
    info->ptMaxTrackSize = size;
}

// The banner's static control loads its bitmap from the template but does not
// delete it when it is destroyed: one bitmap was lost with every opening.
void releaseBanner(HWND dialog)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[TEXT_SMALL] = {};
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, WC_STATICA) != 0 || (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
            continue;
        HGDIOBJ banner = reinterpret_cast<HGDIOBJ>(SendMessageA(child, STM_SETIMAGE, IMAGE_BITMAP, 0));
        if (banner != nullptr)
            DeleteObject(banner);
    }
}

void onPaint(HWND dialog)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    RECT band = {};
    GetClientRect(dialog, &band);
    band.bottom = WHITE_BAND_HEIGHT;
    FillRect(dc, &band, appState.whiteBrush);
    EndPaint(dialog, &paint);
}

}  // namespace

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: onInitDialog(dialog); break;
    case WM_HSCROLL: onToneScroll(dialog, lParam); break;
    case WM_COMMAND: onCommand(dialog, wParam); break;
    case WM_GETMINMAXINFO: onMinMaxInfo(dialog, lParam); return 1;
    case WM_PAINT: onPaint(dialog); break;
    case WM_DESTROY: releaseBanner(dialog); break;
    }
    return 0;
}
