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

// A rectangle of the screen as a region in the overlay's coordinates.
HRGN partRegion(const ScreenRect &part, const ScreenRect &place)
{
    return CreateRectRgn(part.left - place.left, part.top - place.top, part.right - place.left,
                         part.bottom - place.top);
}

// Folds one more rectangle into shape with the given combination; the rectangle's own region is deleted.
bool combineWith(HRGN shape, HRGN more, int combination)
{
    bool combined = more != nullptr && CombineRgn(shape, shape, more, combination) != ERROR;
    if (more != nullptr)
        DeleteObject(more);
    return combined;
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

FocusHole holeForForeground(HWND overlay, HWND foreground, const OverlayCover &cover, const FocusHole &current)
{
    // The overlay is shown without activation; should something still bring it
    // to the front, the hole stays where it was.
    if (foreground == overlay)
        return current;
    bool shows = foregroundShows(foreground);
    RECT rect = {};
    if (shows)
        GetWindowRect(foreground, &rect);
    return focusHoleFor(cover.place, screenRectOf(rect), shows);
}

bool applyOverlayRegion(HWND overlay, const OverlayCover &cover, const FocusHole &hole)
{
    if (!cover.needsRegion && !hole.present)
        return SetWindowRgn(overlay, nullptr, TRUE) != 0;
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    bool built = shape != nullptr;
    for (int32_t i = 0; built && i < cover.partCount; i++)
        built = combineWith(shape, partRegion(cover.parts[i], cover.place), RGN_OR);
    if (built && hole.present) {
        const ScreenRect &cut = hole.rect;   // already in the overlay's coordinates
        built = combineWith(shape, CreateRectRgn(cut.left, cut.top, cut.right, cut.bottom), RGN_DIFF);
    }
    bool applied = built && SetWindowRgn(overlay, shape, TRUE) != 0;
    if (!applied && shape != nullptr)
        DeleteObject(shape);
    return applied;
}
