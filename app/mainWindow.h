// The class window procedure of "TALVERO": the main window, and every overlay
// window, which forwards the messages it does not handle itself.
#pragma once

#include <windows.h>

LRESULT CALLBACK mainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
