// The shape of the screen overlays (screen, focus and monitor modes): the monitor
// layout as the system reports it, what an overlay covers, and its window region,
// which keeps to the covered work areas and, in the focus mode, leaves out the
// window in front. Capture threads set the region; an overlay's own thread may
// read the layout to place it.
#pragma once

#include <windows.h>

#include "captureRules.h"
#include "monitorRules.h"
#include "visibleParts.h"

// Every monitor, in the system's order. A system that names none (no multiple-
// monitor support) gives the screen and its work area as one monitor.
void readMonitorLayout(MonitorLayout *layout);

enum CoverKind : int32_t { COVER_ALL_MONITORS, COVER_ONE_MONITOR };
// What an overlay of this kind covers now: every monitor's work area, or the work
// area of the monitor under probe.
OverlayCover coverNow(CoverKind kind, ScreenPoint probe);

// The focus mode's hole over the window in front, in the overlay's coordinates:
// none when that window does not show (none, minimised, the desktop) or lies off it.
FocusHole holeForForeground(HWND foreground, const OverlayCover &cover);
// Sets the overlay's region to these parts of the screen (the overlay lies at
// place); whole: no region, the overlay shows all of itself. False when it could
// not be set (the old one stays).
bool applyOverlayRegion(HWND overlay, const ScreenRect &place, const RectList &parts, bool whole);
// An empty region (the overlay shows nothing, in place), or none (all of itself).
// False when it could not be set.
bool emptyOverlayRegion(HWND overlay, bool empty);
