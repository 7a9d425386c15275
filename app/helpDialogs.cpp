// About and Document dialogs. They close only through their Close buttons:
// IDCANCEL (Escape, the close box) is ignored on purpose.
// The documentation page is the manual installed next to talvero.exe; About names
// the folder where the settings are kept.
#include "helpDialogs.h"

#include <shellapi.h>

#include "appState.h"
#include "boundedText.h"
#include "resource.h"

namespace {

constexpr wchar_t DOCUMENT_FILE_NAME_W[] = L"" DOCUMENT_FILE_NAME;

void openDocumentPage()
{
    wchar_t path[MAX_PATH];
    documentPagePath(path, MAX_PATH);
    // Nothing is reported when no program can open the page; the dialog stays open.
    ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

// In UTF-16: the folder may have letters outside the ANSI code page, and in a
// double-byte code page a letter's second byte may be a backslash.
void documentPagePath(wchar_t *path, size_t size)
{
    wchar_t program[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        program[0] = L'\0';
    wchar_t *lastSlash = wcsrchr(program, L'\\');
    if (lastSlash != nullptr)
        lastSlash[1] = L'\0';
    else
        program[0] = L'\0';
    copyTextN(path, size, program);
    appendTextN(path, size, DOCUMENT_FILE_NAME_W);
}

INT_PTR CALLBACK helpDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        // Only About has the field; for Document this finds no control and does nothing.
        SetDlgItemTextW(dialog, IDC_ABOUT_SETTINGS_FOLDER, appState.settingsFolder);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDC_ABOUT_CLOSE:
    case IDC_DOCUMENT_CLOSE: EndDialog(dialog, 1); break;
    case IDC_DOCUMENT_OPEN: openDocumentPage(); break;
    }
    return FALSE;
}

void runHelpDialog(int dialogId)
{
    DialogBoxParamA(appState.instance, MAKEINTRESOURCEA(dialogId), appState.mainWindow, helpDialogProc, 0);
}
