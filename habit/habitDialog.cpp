// habitDialogProc and its handlers: the controls filled from the settings in
// effect, and on OK read back, checked and handed to saveHabitSettings. The
// decisions on the periods box live in habitPeriodsBox.h.
#include "habitDialog.h"

#include <commctrl.h>

#include "appState.h"
#include "boundedText.h"
#include "habitControl.h"
#include "habitPeriodsBox.h"
#include "resource.h"

namespace {

constexpr int32_t INTENSITY_STEP = 10;   // percent: the trackbar's ticks and its page
constexpr WPARAM FADE_DIGITS = 3;         // "120"

LRESULT sendItem(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
    return SendDlgItemMessageA(dialog, id, message, wParam, lParam);
}

void showIntensity(HWND dialog)
{
    char text[TEXT_SMALL];
    formatText(text, "%d %%", static_cast<int>(sendItem(dialog, IDC_HABIT_INTENSITY, TBM_GETPOS, 0, 0)));
    SetDlgItemTextA(dialog, IDC_HABIT_INTENSITY_VALUE, text);
}

// The caret at the end of the periods box, where a new period goes.
void focusPeriodsBox(HWND dialog, int32_t startLine, bool wholeLine)
{
    HWND box = GetDlgItem(dialog, IDC_HABIT_PERIODS);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(box), TRUE);
    LRESULT start = startLine < 0 ? GetWindowTextLengthA(box) : SendMessageA(box, EM_LINEINDEX, startLine, 0);
    LRESULT end = wholeLine ? start + SendMessageA(box, EM_LINELENGTH, start, 0) : start;
    SendMessageA(box, EM_SETSEL, start, end);
    SendMessageA(box, EM_SCROLLCARET, 0, 0);
}

void onInitDialog(HWND dialog)
{
    HabitSettings settings;
    currentHabitSettings(&settings);
    char box[HABIT_BOX_BYTES];
    formatPeriodsBox(box, sizeof box, settings);
    sendItem(dialog, IDC_HABIT_PERIODS, EM_LIMITTEXT, HABIT_BOX_BYTES - 1, 0);
    SetDlgItemTextA(dialog, IDC_HABIT_PERIODS, box);
    sendItem(dialog, IDC_HABIT_FADE, EM_LIMITTEXT, FADE_DIGITS, 0);
    sendItem(dialog, IDC_HABIT_FADE_SPIN, UDM_SETRANGE32, 0, HABIT_FADE_LONGEST_MINUTES);
    sendItem(dialog, IDC_HABIT_FADE_SPIN, UDM_SETPOS32, 0, settings.fadeMinutes);
    sendItem(dialog, IDC_HABIT_INTENSITY, TBM_SETRANGE, TRUE, MAKELPARAM(0, HABIT_INTENSITY_FULL));
    sendItem(dialog, IDC_HABIT_INTENSITY, TBM_SETTICFREQ, INTENSITY_STEP, 0);
    sendItem(dialog, IDC_HABIT_INTENSITY, TBM_SETPAGESIZE, 0, INTENSITY_STEP);
    sendItem(dialog, IDC_HABIT_INTENSITY, TBM_SETPOS, TRUE, settings.intensity);
    showIntensity(dialog);
    CheckDlgButton(dialog, IDC_HABIT_FULLSCREEN_COLOUR,
                   settings.fullscreen == HABIT_FULLSCREEN_COLOUR ? BST_CHECKED : BST_UNCHECKED);
    focusPeriodsBox(dialog, -1, false);
}

// A message from the string table with its inserts (FormatMessage's %1, %2).
void tellRefusal(HWND dialog, UINT formatId, const DWORD_PTR *inserts)
{
    char format[TEXT_LONG] = {};
    LoadStringA(appState.instance, formatId, format, sizeof format);
    char text[TEXT_PATH];
    if (FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, format, 0, 0, text, sizeof text,
                       reinterpret_cast<va_list *>(const_cast<DWORD_PTR *>(inserts))) == 0)
        copyText(text, format);
    char title[TEXT_SMALL];
    GetWindowTextA(dialog, title, sizeof title);
    MessageBoxA(dialog, text, title, MB_OK | MB_ICONWARNING);
}

// The periods of the box into settings; false, once the person is told which line
// stops them.
bool readPeriods(HWND dialog, HabitSettings *settings)
{
    char box[HABIT_BOX_BYTES];
    size_t length = GetDlgItemTextA(dialog, IDC_HABIT_PERIODS, box, sizeof box);
    PeriodsBoxReading reading;
    readPeriodsBox(box, length, &reading);
    if (reading.verdict == PERIODS_BOX_READ) {
        settings->periodCount = reading.periodCount;
        for (int32_t i = 0; i < reading.periodCount; i++)
            settings->periods[i] = reading.periods[i];
        return true;
    }
    DWORD_PTR inserts[] = {static_cast<DWORD_PTR>(reading.refusedLine),
                           reinterpret_cast<DWORD_PTR>(reading.refusedText),
                           static_cast<DWORD_PTR>(HABIT_PERIOD_CAPACITY)};
    tellRefusal(dialog, reading.verdict == PERIODS_BOX_TOO_MANY ? IDS_HABIT_TOO_MANY : IDS_HABIT_LINE_NOT_UNDERSTOOD,
                inserts);
    focusPeriodsBox(dialog, reading.refusedLine - 1, true);
    return false;
}

bool readFade(HWND dialog, HabitSettings *settings)
{
    BOOL number = FALSE;
    UINT minutes = GetDlgItemInt(dialog, IDC_HABIT_FADE, &number, FALSE);
    if (number && minutes <= static_cast<UINT>(HABIT_FADE_LONGEST_MINUTES)) {
        settings->fadeMinutes = static_cast<int32_t>(minutes);
        return true;
    }
    DWORD_PTR inserts[] = {static_cast<DWORD_PTR>(HABIT_FADE_LONGEST_MINUTES)};
    tellRefusal(dialog, IDS_HABIT_FADE_OUT_OF_RANGE, inserts);
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_HABIT_FADE)), TRUE);
    return false;
}

// Every setting the dialog does not show stays as it is in effect.
void onOk(HWND dialog)
{
    HabitSettings settings;
    currentHabitSettings(&settings);
    if (!readPeriods(dialog, &settings) || !readFade(dialog, &settings))
        return;
    settings.intensity = static_cast<int32_t>(sendItem(dialog, IDC_HABIT_INTENSITY, TBM_GETPOS, 0, 0));
    settings.fullscreen = IsDlgButtonChecked(dialog, IDC_HABIT_FULLSCREEN_COLOUR) == BST_CHECKED
                              ? HABIT_FULLSCREEN_COLOUR
                              : HABIT_FULLSCREEN_GRAY;
    // The habit control has told the person why a save failed: the dialog stays.
    if (saveHabitSettings(settings))
        EndDialog(dialog, IDOK);
}

void onCommand(HWND dialog, WORD command)
{
    switch (command) {
    case IDOK: onOk(dialog); break;
    case IDCANCEL: EndDialog(dialog, IDCANCEL); break;
    }
}

INT_PTR CALLBACK habitDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: onInitDialog(dialog); return FALSE;   // the focus is set: the periods box
    case WM_HSCROLL: showIntensity(dialog); return TRUE;
    case WM_COMMAND: onCommand(dialog, LOWORD(wParam)); return TRUE;
    }
    return FALSE;
}

}  // namespace

void showHabitDialog(HWND owner)
{
    DialogBoxParamA(appState.instance, MAKEINTRESOURCEA(IDD_HABIT), owner, habitDialogProc, 0);
}
