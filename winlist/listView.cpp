// The window list view. What exists so far: fillWindowList clears the rows (there
// is no window list to show yet), and the list's draw and notification messages
// are answered with 0 (nothing drawn, default handling).
#include "listView.h"

#include <commctrl.h>

#include "appState.h"

void fillWindowList()
{
    SendMessageA(appState.windowListView, LVM_DELETEALLITEMS, 0, 0);
}

LRESULT onWindowListMessage(HWND, UINT, WPARAM, LPARAM)
{
    return 0;
}
