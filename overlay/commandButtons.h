// The five owner-drawn command buttons of the main window and their subclass procedure.
// UI thread only.
#pragma once

#include <windows.h>

// Subclass procedure of the buttons; the main window passes it their WM_DRAWITEM.
LRESULT CALLBACK commandButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The command of a mode button (foreground, screen, back to colour), as its click
// runs it, or the focus mode's; the hotkeys and the command line run the same.
// owner: a failure's message box.
void runModeCommand(HWND owner, int controlId);
// Slot in commandButtons of a button control id, or -1.
int commandButtonIndex(int controlId);
