// The commands a start brings: the first start's own argument, run once the main
// window is up, and the commands later starts hand over by WM_COPYDATA. UI thread only.
#pragma once

#include <windows.h>

#include <cstdint>

// Posted to the main window: wParam is the StartCommand to run.
constexpr UINT WM_RUN_START_COMMAND = WM_APP + 1;

// WM_COPYDATA of the main window: TRUE when it carried a start command, which then
// runs after the sender has been answered.
LRESULT onCopyData(HWND mainWindow, LPARAM lParam);
// Runs a start command; START_SHOW brings the main window to the front.
void runStartCommand(int32_t command);
