// The configuration dialog (resource IDD_CONFIG): weighting, gray tone and reversed
// gray. Every change goes into the settings at once, and the settings file is
// saved before each command the dialog handles. Modal, on the UI thread.
#pragma once

#include <windows.h>

INT_PTR CALLBACK configDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
