// The monitors of the desk as the capture loops see them, and what the overlay of
// the screen, focus and monitor modes covers. Pure rules over plain rectangles in
// screen coordinates, where the primary monitor starts at (0, 0) and monitors left
// of or above it have negative ones. No platform headers; unit-tested on the host.
#pragma once

#include <cstddef>
#include <cstdint>

#include "captureRules.h"

constexpr int32_t MONITOR_CAPACITY = 16;
constexpr size_t MONITOR_NAME_BYTES = 32;   // a display device name, "\\.\DISPLAY2"
// The loops read the layout again every this many frames (about half a second),
// and at once when the system announces a display change.
constexpr int32_t LAYOUT_CHECK_FRAMES = 15;

// One reading of the monitors: their rectangles, work areas and device names.
struct MonitorLayout {
    int32_t count;
    ScreenRect monitors[MONITOR_CAPACITY];
    ScreenRect workAreas[MONITOR_CAPACITY];
    char names[MONITOR_CAPACITY][MONITOR_NAME_BYTES];
};

bool sameLayout(const MonitorLayout &a, const MonitorLayout &b);
// The virtual screen: the smallest rectangle that holds every monitor.
ScreenRect virtualScreenOf(const MonitorLayout &layout);
// The monitor under a point: the one that holds it, else the nearest (a point in
// a gap of the layout); -1 for a layout without monitors.
int32_t monitorUnderPoint(const MonitorLayout &layout, ScreenPoint point);
// The work area the loops' cursor decisions use: that of the monitor under the
// cursor, so a cursor on any monitor's taskbar lies outside it. Empty without monitors.
ScreenRect workAreaUnderPoint(const MonitorLayout &layout, ScreenPoint point);
// The monitor of this device name, or -1 when it is gone.
int32_t monitorNamed(const MonitorLayout &layout, const char *name);

// Where a screen overlay lies and which parts of the screen it shows, in screen
// coordinates. Every part lies inside place; without a region they fill it.
struct OverlayCover {
    ScreenRect place;
    int32_t partCount;
    ScreenRect parts[MONITOR_CAPACITY];
    bool needsRegion;
};

// Every monitor's work area. One monitor: the overlay is its work area, as it
// always was. Several: the overlay spans the virtual screen and its region keeps
// to the work areas, so that taskbars and the gaps between monitors stay free.
OverlayCover coverAllMonitors(const MonitorLayout &layout);
// One monitor's work area (the monitor mode); an empty cover for a bad index.
OverlayCover coverOneMonitor(const MonitorLayout &layout, int32_t index);
bool sameCover(const OverlayCover &a, const OverlayCover &b);
