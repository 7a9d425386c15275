// The main window's controls: five command buttons, the window list view and the
// two-part status bar, their fonts and tooltips, and where they go on a resize.
// Creation and initial layout run on the UI thread inside WM_CREATE.
#pragma once

#include <windows.h>

constexpr int STATUS_PART_RATE = 0;   // frame rate
constexpr int STATUS_PART_GRAY = 1;   // gray on or off

void createMainControls(HWND window);
void layoutInitial(HWND window);
void createTooltips(HWND window);
// Lays out the status bar and the list view over the main window's client rectangle.
void layoutOnSize(const RECT &client);

// The status-bar protocol: any thread; returns after the UI thread has set the text.
void setStatusText(int part, const char *text);
// "FPS: " in part 0 and "Gray: " + "OFF" in part 1: no gray mode runs.
void showIdleStatus();
