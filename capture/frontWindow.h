// The window in front as the capture loops read it, for the rules of frontRules.h:
// whether it is one of the shell's passing windows, and which monitor a full-
// screen one leaves in colour. Capture thread; reads only the window's own facts.
#pragma once

#include <windows.h>

#include "frontRules.h"

// A menu, the Start menu, the taskbar, Alt+Tab ...: not the person's window.
bool isPassingFrontWindow(HWND window);
// The monitor of the layout that a full-screen window in front leaves in colour,
// or -1: none, or the option (AppState.fullScreenColour) is off. The run's own
// overlay is never one (a screen overlay without a taskbar covers its monitor).
int32_t fullScreenColourMonitor(const MonitorLayout &layout, HWND foreground, HWND overlay);
