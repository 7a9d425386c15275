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

void openDocumentPage()
{
    char path[MAX_PATH];
    documentPagePath(path, sizeof path);
    // Nothing is reported when no program can open the page; the dialog stays open.
    ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

void documentPagePath(char *path, size_t size)
{
    char program[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    if (length == 0 || length >= sizeof program)
        program[0] = '\0';
    char *lastSlash = strrchr(program, '\\');
    if (lastSlash != nullptr)
        lastSlash[1] = '\0';
    else
        program[0] = '\0';
    copyTextN(path, size, program);
    appendTextN(path, size, DOCUMENT_FILE_NAME);
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
