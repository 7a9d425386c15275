// Which window in front the capture loops take as the person's window, and when
// it is a full-screen one. Menus, the Start menu, the taskbar and its pop-ups,
// Alt+Tab, IME windows and tooltips hold the front only for a moment: the
// foreground and focus modes stay on the last real window. A full-screen window
// in front (a film, a game) leaves its monitor in colour. Pure rules over class
// names and rectangles, no platform headers; unit-tested on the host.
#pragma once

#include <cstdint>

#include "captureRules.h"
#include "monitorRules.h"

// True for the shell's and the system's passing windows (ownerClass: the class
// of the window's owner, empty for none): no loop takes one as the window in front.
bool isPassingFront(const char *className, const char *ownerClass);

// What a loop read of the window in front.
struct FrontFacts {
    const char *className;
    const char *ownerClass;
    bool shows;      // visible and not minimised
    bool ours;       // the run's overlay
    bool captioned;  // a title bar: a maximised window, never a full-screen one
    ScreenRect rect;
};

// The monitor a full-screen window in front leaves in colour, or -1. The window's
// monitor is the one it overlaps most (first on a tie), as the system names it;
// it is full screen while its rectangle holds that whole monitor and it is no
// desktop, no passing window, not our overlay and has no title bar.
int32_t fullScreenMonitor(const MonitorLayout &layout, const FrontFacts &front);
