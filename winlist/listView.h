// The window list view (control 2004 of the main window): its rows, drawn by the
// program, and its double click and context menu. The rows are filled from
// windowList; everything else runs on the UI thread and never takes listLock.
#pragma once

#include <windows.h>

// Deletes all rows and inserts one per entry of windowList. Called in WM_CREATE
// before the list thread exists, and by the refill thread while the list thread
// holds listLock for it.
void fillWindowList();
// Thread routine of the list thread: refills the rows, keeping the selected row position.
unsigned __stdcall refillWindowListThread(void *unused);
// WM_DRAWITEM and WM_NOTIFY of the list view, passed on by the main window.
LRESULT onWindowListMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Draws one row: alternating background, icon, title, application name, gray mark.
void drawWindowListItem(const DRAWITEMSTRUCT *draw);
