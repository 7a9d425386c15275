// The window list view (control 2004 of the main window): its rows and its
// owner-draw and notification messages. UI thread.
#pragma once

#include <windows.h>

// Rebuilds the rows from the window list.
void fillWindowList();
// WM_DRAWITEM and WM_NOTIFY of the list view, passed on by the main window.
LRESULT onWindowListMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
