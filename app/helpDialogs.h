// The Help menu's two modal dialogs, About (102) and Document (103), owned by the
// main window and sharing helpDialogProc. UI thread only.
#pragma once

#include <windows.h>

INT_PTR CALLBACK helpDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Runs dialog template `dialogId` modally and returns when it has closed.
void runHelpDialog(int dialogId);
// Full path of the manual shipped next to talvero.exe.
void documentPagePath(wchar_t *path, size_t size);
