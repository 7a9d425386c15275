// Focus mode's hole in the screen overlay, kept over the window in front. Capture
// thread of the focus mode only.
#pragma once

#include <windows.h>

#include "captureRules.h"

// Cuts the overlay's region so that the foreground window shows through, when the
// hole has changed since *current (which it then updates). A window that does not
// show (none, minimised, the desktop) leaves no hole.
void followFocusHole(HWND overlay, HWND foreground, FocusHole *current);
