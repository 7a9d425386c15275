// The global hotkeys: registered once the main window is up, each running what
// its button runs, and released at the end. UI thread only (a hotkey belongs to
// the thread that registered it).
#pragma once

#include <windows.h>

// Registers every hotkey for the main window; one another program holds is left
// out, named in its button's tooltip title and in the status bar.
void registerHotkeys(HWND mainWindow);
void releaseHotkeys(HWND mainWindow);
// WM_HOTKEY of the main window. A held combination acts once: until its letter
// is released, a timer of the main window watches it.
LRESULT onHotkey(WPARAM hotkeyId);
// The release watch's timer tick.
LRESULT onHotkeyReleaseTimer();
