// The application's initialisation, run by the first WM_CREATE of class "TALVERO":
// environment checks, settings, controls, locks and events, the window-list thread.
#pragma once

#include <windows.h>

#include <cstdint>

// WM_CREATE: 0 to go on, -1 to make CreateWindowExA fail.
LRESULT onCreate(HWND window, LPARAM createParameters);

// 64 or 32 for the system's native word size, 0 when it cannot be found
// (GetNativeSystemInfo is looked up: Windows 2000 lacks it).
int32_t findNativeBits();

// 1 when HKCU\Software\Microsoft\Windows\DWM "Composition" holds a non-zero value.
int compositionOnByRegistry();
