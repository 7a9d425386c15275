// The command buttons' subclass procedure. What exists so far: the drawing of each
// button from the image strip (one 60 x 60 column per button; rows normal, hover,
// pushed). Hover and press tracking and the buttons' commands are not here yet:
// every other message goes to the system button procedure unchanged.
#include "commandButtons.h"

#include "appState.h"
#include "resource.h"
#include "shellRules.h"

namespace {

constexpr int STRIP_ROW_NORMAL = 0;
constexpr int STRIP_ROW_HOVER = BUTTON_SIZE;
constexpr int STRIP_ROW_PUSHED = 2 * BUTTON_SIZE;

LRESULT onDrawItem(LPARAM lParam)
{
    const DRAWITEMSTRUCT *item = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
    int index = commandButtonIndex(static_cast<int>(item->CtlID));
    if (index < 0)
        return 0;
    appState.currentButton = index;
    int row = STRIP_ROW_NORMAL;
    if (item->itemState & ODS_SELECTED)
        row = STRIP_ROW_PUSHED;
    else if (appState.commandButtons[index].hovering == 1)
        row = STRIP_ROW_HOVER;
    const RECT &place = item->rcItem;
    BitBlt(item->hDC, place.left, place.top, place.right - place.left, place.bottom - place.top,
           appState.buttonImageDC, index * BUTTON_SIZE, row, SRCCOPY);
    return 1;
}

}  // namespace

int commandButtonIndex(int controlId)
{
    return commandButtonSlot(controlId);
}

LRESULT CALLBACK commandButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DRAWITEM)
        return onDrawItem(lParam);
    int index = commandButtonIndex(GetWindowLongA(window, GWL_ID));
    if (index < 0)
        return DefWindowProcA(window, message, wParam, lParam);
    appState.currentButton = index;
    return CallWindowProcA(appState.commandButtons[index].previousProc, window, message, wParam, lParam);
}
