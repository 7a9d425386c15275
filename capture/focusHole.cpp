// Focus mode's hole: a window region on the screen overlay that leaves out the
// window in front, so that window shows in its own colours and the rest in gray.
// Capture thread of the focus mode only; the overlay's thread answers the
// messages SetWindowRgn sends, as it does for every other move of the overlay.
#include "focusHole.h"

#include "captureRules.h"

namespace {

// None, minimised, hidden or the desktop: nothing in front to keep in colour.
bool foregroundShows(HWND foreground)
{
    return foreground != nullptr && IsWindowVisible(foreground) && !IsIconic(foreground) &&
           foreground != GetShellWindow() && foreground != GetDesktopWindow();
}

// The overlay's whole rectangle less the hole; the window owns the region once set.
bool applyFocusHole(HWND overlay, const ScreenRect &place, const FocusHole &hole)
{
    if (!hole.present)
        return SetWindowRgn(overlay, nullptr, TRUE) != 0;
    HRGN shape = CreateRectRgn(0, 0, rectWidth(place), rectHeight(place));
    HRGN cut = CreateRectRgn(hole.rect.left, hole.rect.top, hole.rect.right, hole.rect.bottom);
    bool applied = false;
    if (shape != nullptr && cut != nullptr && CombineRgn(shape, shape, cut, RGN_DIFF) != ERROR)
        applied = SetWindowRgn(overlay, shape, TRUE) != 0;
    if (cut != nullptr)
        DeleteObject(cut);
    if (!applied && shape != nullptr)
        DeleteObject(shape);
    return applied;
}

ScreenRect rectOf(HWND window)
{
    RECT rect = {};
    GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

}  // namespace

void followFocusHole(HWND overlay, HWND foreground, FocusHole *current)
{
    // The overlay is shown without activation; should something still bring it to
    // the front, it is no window to keep in colour: the hole stays where it was.
    if (foreground == overlay)
        return;
    ScreenRect place = rectOf(overlay);
    bool shows = foregroundShows(foreground);
    FocusHole hole = focusHoleFor(place, shows ? rectOf(foreground) : ScreenRect{}, shows);
    if (sameFocusHole(hole, *current))
        return;
    // A region that could not be set leaves the old one; the next frame tries again.
    if (applyFocusHole(overlay, place, hole))
        *current = hole;
}
