// The class window procedure of "TALVERO": the main window, and every overlay
// window, which forwards the messages it does not handle itself.
#pragma once

#include <windows.h>

// Asks the main window to refill its back buffer with the background (no repaint
// is requested). Only this lParam counts: a bare WM_USER from elsewhere is ignored.
constexpr UINT WM_REFILL_BACK_BUFFER = WM_USER;
constexpr LPARAM REFILL_BACK_BUFFER_TAG = 2600;

// Sent by the shutdown thread before the process ends: the hotkeys belong to the
// UI thread, so only it can release them.
constexpr UINT WM_RELEASE_HOTKEYS = WM_APP;

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
