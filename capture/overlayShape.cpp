// The screen overlays' shape (see overlayShape.h): monitors read with
// EnumDisplayMonitors, regions built with GDI. The region is given to the window,
// which owns it once set; every other region made here is deleted here.
#include "overlayShape.h"

#include "boundedText.h"

namespace {

ScreenRect screenRectOf(const RECT &rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

BOOL CALLBACK addMonitorProc(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    MonitorLayout *layout = reinterpret_cast<MonitorLayout *>(data);
    if (layout->count >= MONITOR_CAPACITY)
        return FALSE;
    MONITORINFOEXA info;
    ZeroMemory(&info, sizeof info);
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info))
        return TRUE;
    int32_t slot = layout->count++;
    layout->monitors[slot] = screenRectOf(info.rcMonitor);
    layout->workAreas[slot] = screenRectOf(info.rcWork);
    copyText(layout->names[slot], info.szDevice);
    return TRUE;
}

// None, minimised, hidden or the desktop: nothing in front to keep in colour.
bool foregroundShows(HWND foreground)
{
    return foreground != nullptr && IsWindowVisible(foreground) && !IsIconic(foreground) &&
           foreground != GetShellWindow() && foreground != GetDesktopWindow();
}

// A region's data: the header and its rectangles, as ExtCreateRegion takes them.
struct RegionData {
    RGNDATAHEADER header;
    RECT rects[RECT_LIST_CAPACITY];
};

// The parts as one region in the overlay's coordinates; they do not overlap.
HRGN regionOfParts(const ScreenRect &place, const RectList &parts)
{
    if (parts.count == 0)
        return CreateRectRgn(0, 0, 0, 0);
    RegionData data = {};
    data.header.dwSize = sizeof data.header;
    data.header.iType = RDH_RECTANGLES;
    data.header.nCount = static_cast<DWORD>(parts.count);
    data.header.rcBound = {0, 0, rectWidth(place), rectHeight(place)};
    for (int32_t i = 0; i < parts.count; i++) {
        const ScreenRect &part = parts.rects[i];
        data.rects[i] = {part.left - place.left, part.top - place.top, part.right - place.left,
                         part.bottom - place.top};
    }
    DWORD bytes = static_cast<DWORD>(sizeof data.header + sizeof(RECT) * static_cast<size_t>(parts.count));
    return ExtCreateRegion(nullptr, bytes, reinterpret_cast<const RGNDATA *>(&data));
}

}  // namespace

void readMonitorLayout(MonitorLayout *layout)
{
    *layout = MonitorLayout{};
    EnumDisplayMonitors(nullptr, nullptr, addMonitorProc, reinterpret_cast<LPARAM>(layout));
    if (layout->count > 0)
        return;
    RECT workArea = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
    layout->count = 1;
    layout->monitors[0] = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    layout->workAreas[0] = screenRectOf(workArea);
}

OverlayCover coverNow(CoverKind kind, ScreenPoint probe)
{
    MonitorLayout layout;
    readMonitorLayout(&layout);
    if (kind == COVER_ONE_MONITOR)
        return coverOneMonitor(layout, monitorUnderPoint(layout, probe));
    return coverAllMonitors(layout);
}

FocusHole holeForForeground(HWND foreground, const OverlayCover &cover)
{
    bool shows = foregroundShows(foreground);
    RECT rect = {};
    if (shows)
        GetWindowRect(foreground, &rect);
    return focusHoleFor(cover.place, screenRectOf(rect), shows);
}

namespace {

bool giveRegion(HWND overlay, HRGN shape)
{
    bool applied = shape != nullptr && SetWindowRgn(overlay, shape, TRUE) != 0;
    if (!applied && shape != nullptr)
        DeleteObject(shape);
    return applied;
}

}  // namespace

bool applyOverlayRegion(HWND overlay, const ScreenRect &place, const RectList &parts, bool whole)
{
    if (whole)
        return SetWindowRgn(overlay, nullptr, TRUE) != 0;
    return giveRegion(overlay, regionOfParts(place, parts));
}

bool emptyOverlayRegion(HWND overlay, bool empty)
{
    if (!empty)
        return SetWindowRgn(overlay, nullptr, TRUE) != 0;
    return giveRegion(overlay, CreateRectRgn(0, 0, 0, 0));
}
