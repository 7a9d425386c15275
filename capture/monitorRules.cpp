// The monitor rules of the capture loops (see monitorRules.h).
#include "monitorRules.h"

#include <cstring>

namespace {

bool holds(const ScreenRect &rect, ScreenPoint point)
{
    return rect.left <= point.x && point.x < rect.right && rect.top <= point.y && point.y < rect.bottom;
}

// How far a point lies outside a rectangle along one axis; 0 inside.
int64_t axisGap(int32_t value, int32_t low, int32_t high)
{
    if (value < low)
        return static_cast<int64_t>(low) - value;
    if (value >= high)
        return static_cast<int64_t>(value) - high + 1;
    return 0;
}

int64_t squaredDistance(const ScreenRect &rect, ScreenPoint point)
{
    int64_t dx = axisGap(point.x, rect.left, rect.right);
    int64_t dy = axisGap(point.y, rect.top, rect.bottom);
    return dx * dx + dy * dy;
}

int64_t area(const ScreenRect &rect)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return 0;
    return static_cast<int64_t>(rectWidth(rect)) * rectHeight(rect);
}

bool validIndex(const MonitorLayout &layout, int32_t index)
{
    return index >= 0 && index < layout.count && index < MONITOR_CAPACITY;
}

}  // namespace

bool sameLayout(const MonitorLayout &a, const MonitorLayout &b)
{
    if (a.count != b.count)
        return false;
    for (int32_t i = 0; i < a.count && i < MONITOR_CAPACITY; i++) {
        if (!sameRect(a.monitors[i], b.monitors[i]) || !sameRect(a.workAreas[i], b.workAreas[i]) ||
            strncmp(a.names[i], b.names[i], MONITOR_NAME_BYTES) != 0)
            return false;
    }
    return true;
}

ScreenRect virtualScreenOf(const MonitorLayout &layout)
{
    if (layout.count <= 0)
        return {};
    ScreenRect bounds = layout.monitors[0];
    for (int32_t i = 1; i < layout.count && i < MONITOR_CAPACITY; i++) {
        const ScreenRect &monitor = layout.monitors[i];
        bounds.left = monitor.left < bounds.left ? monitor.left : bounds.left;
        bounds.top = monitor.top < bounds.top ? monitor.top : bounds.top;
        bounds.right = monitor.right > bounds.right ? monitor.right : bounds.right;
        bounds.bottom = monitor.bottom > bounds.bottom ? monitor.bottom : bounds.bottom;
    }
    return bounds;
}

int32_t monitorUnderPoint(const MonitorLayout &layout, ScreenPoint point)
{
    int32_t nearest = -1;
    int64_t nearestDistance = 0;
    for (int32_t i = 0; i < layout.count && i < MONITOR_CAPACITY; i++) {
        if (holds(layout.monitors[i], point))
            return i;
        int64_t distance = squaredDistance(layout.monitors[i], point);
        if (nearest < 0 || distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    return nearest;
}

ScreenRect workAreaUnderPoint(const MonitorLayout &layout, ScreenPoint point)
{
    int32_t index = monitorUnderPoint(layout, point);
    return index < 0 ? ScreenRect{} : layout.workAreas[index];
}

int32_t monitorNamed(const MonitorLayout &layout, const char *name)
{
    for (int32_t i = 0; i < layout.count && i < MONITOR_CAPACITY; i++) {
        if (strncmp(layout.names[i], name, MONITOR_NAME_BYTES) == 0)
            return i;
    }
    return -1;
}

OverlayCover coverAllMonitors(const MonitorLayout &layout)
{
    if (layout.count == 1)
        return coverOneMonitor(layout, 0);
    OverlayCover cover = {};
    cover.place = virtualScreenOf(layout);
    int64_t covered = 0;
    for (int32_t i = 0; i < layout.count && i < MONITOR_CAPACITY; i++) {
        if (area(layout.workAreas[i]) == 0)
            continue;
        cover.parts[cover.partCount++] = layout.workAreas[i];
        covered += area(layout.workAreas[i]);
    }
    // Monitors do not overlap, so parts that fill the place leave nothing out.
    cover.needsRegion = covered != area(cover.place);
    return cover;
}

OverlayCover coverOneMonitor(const MonitorLayout &layout, int32_t index)
{
    OverlayCover cover = {};
    if (!validIndex(layout, index) || area(layout.workAreas[index]) == 0)
        return cover;
    cover.place = layout.workAreas[index];
    cover.partCount = 1;
    cover.parts[0] = cover.place;
    return cover;
}

bool sameCover(const OverlayCover &a, const OverlayCover &b)
{
    if (!sameRect(a.place, b.place) || a.partCount != b.partCount || a.needsRegion != b.needsRegion)
        return false;
    for (int32_t i = 0; i < a.partCount && i < MONITOR_CAPACITY; i++) {
        if (!sameRect(a.parts[i], b.parts[i]))
            return false;
    }
    return true;
}
