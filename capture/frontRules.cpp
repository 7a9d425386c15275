// The rules of the window in front (see frontRules.h): a table of the passing
// windows' classes and the full-screen test.
#include "frontRules.h"

#include <algorithm>

namespace {

const char *const passingFrontClasses[] = {
    "#32768",                                                 // menus
    "DV2ControlHost", "BaseBar", "Desktop User Picture",      // the Start menus (XP to 7, classic)
    "Shell_TrayWnd", "Shell_SecondaryTrayWnd",                // taskbars
    "NotifyIconOverflowWindow", "ClockFlyoutWindow",          // the notification area's pop-ups
    "TaskListThumbnailWnd", "TaskListOverlayWnd", "SysShadow",
    "#32771", "TaskSwitcherWnd", "Flip3D",                    // Alt+Tab, Win+Tab
    "IME", "MSCTFIME UI",                                     // input methods
    "tooltips_class32",
};

// The Vista/7 Start button: a top-level "Button" owned by the taskbar.
constexpr char START_BUTTON_CLASS[] = "Button";
constexpr char TASKBAR_CLASS[] = "Shell_TrayWnd";

// The desktop covers every monitor and is never a film.
const char *const desktopClasses[] = {"Progman", "WorkerW", "#32769"};

bool inTable(const char *className, const char *const *table, size_t count)
{
    for (size_t i = 0; i < count; i++)
        if (classIs(className, table[i]))
            return true;
    return false;
}

int64_t overlapArea(const ScreenRect &a, const ScreenRect &b)
{
    int64_t width = static_cast<int64_t>(std::min(a.right, b.right)) - std::max(a.left, b.left);
    int64_t height = static_cast<int64_t>(std::min(a.bottom, b.bottom)) - std::max(a.top, b.top);
    return width > 0 && height > 0 ? width * height : 0;
}

bool holdsRect(const ScreenRect &outer, const ScreenRect &inner)
{
    return outer.left <= inner.left && outer.top <= inner.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

int32_t monitorOverlappedMost(const MonitorLayout &layout, const ScreenRect &rect)
{
    int32_t best = -1;
    int64_t bestArea = 0;
    for (int32_t i = 0; i < layout.count && i < MONITOR_CAPACITY; i++) {
        int64_t area = overlapArea(rect, layout.monitors[i]);
        if (area > bestArea) {
            best = i;
            bestArea = area;
        }
    }
    return best;
}

}  // namespace

bool isPassingFront(const char *className, const char *ownerClass)
{
    if (classIs(className, START_BUTTON_CLASS))
        return classIs(ownerClass, TASKBAR_CLASS);
    return inTable(className, passingFrontClasses, sizeof passingFrontClasses / sizeof passingFrontClasses[0]);
}

int32_t fullScreenMonitor(const MonitorLayout &layout, const FrontFacts &front)
{
    if (!front.shows || front.ours || front.captioned || isPassingFront(front.className, front.ownerClass) ||
        inTable(front.className, desktopClasses, sizeof desktopClasses / sizeof desktopClasses[0]))
        return -1;
    int32_t index = monitorOverlappedMost(layout, front.rect);
    if (index < 0 || !holdsRect(front.rect, layout.monitors[index]))
        return -1;
    return index;
}
