// listThreadMain: scan, compare, update, sleep, until asked to stop. It holds
// listLock while the refill thread puts the rows in (the design's one wait under a
// lock: the UI thread, which serves the list view's messages, never takes listLock).
#include "listThread.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "appState.h"
#include "listView.h"
#include "resource.h"
#include "threadStart.h"
#include "windowScan.h"

namespace {

constexpr DWORD REFRESH_PERIOD_MS = 800;

bool stopAsked()
{
    EnterCriticalSection(&appState.listLock);
    bool stop = appState.listThreadStop != 0;
    LeaveCriticalSection(&appState.listLock);
    return stop;
}

// The refill runs on a thread of its own, as the list view's rows are filled; should
// no thread start, this one fills them (the messages go to the UI thread either way).
void refillRows()
{
    HANDLE thread = startThread(refillWindowListThread, nullptr);
    if (thread == nullptr) {
        refillWindowListThread(nullptr);
        return;
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

// The scan becomes the list on display. The image list is swapped first, so the
// refilled rows' image numbers refer to it; redrawing stays off until both are in.
void replaceShownList()
{
    WindowEntry *oldList = appState.windowList;
    HIMAGELIST oldImages = appState.listImages;
    appState.windowList = appState.scanList;
    appState.listImages = appState.scanImages;
    appState.previousEntryCount = appState.scanEntryCount;
    appState.scanList = nullptr;
    appState.scanListTail = nullptr;
    appState.scanImages = nullptr;

    SendMessageA(appState.windowListView, WM_SETREDRAW, FALSE, 0);
    SendMessageA(appState.windowListView, LVM_SETIMAGELIST, LVSIL_SMALL,
                 reinterpret_cast<LPARAM>(appState.listImages));
    refillRows();
    freeWindowEntries(oldList);
    if (oldImages != nullptr)
        ImageList_Destroy(oldImages);
}

}  // namespace

int32_t showScan(HICON defaultIcon)
{
    EnterCriticalSection(&appState.listLock);
    int32_t comparison = compareWindowLists(appState.scanList, appState.scanEntryCount, appState.windowList,
                                            appState.previousEntryCount);
    // A rule set or changed since marks its program's rows like a gray mark does.
    if (comparison != LIST_CHANGED && takeRuleMarks(appState.scanList, appState.windowList))
        comparison = LIST_MARKS_CHANGED;
    // The list view is touched only on a change: a quiet desktop costs no repaint.
    if (comparison != LIST_CHANGED) {
        discardScan();
        if (comparison == LIST_MARKS_CHANGED)
            refillRows();   // the shown list carries the new marks, in its old order
        LeaveCriticalSection(&appState.listLock);
        return comparison;
    }
    LeaveCriticalSection(&appState.listLock);

    // The icons are looked up only for a scan that is shown, and without the lock:
    // no other thread changes windowList, so the comparison still holds after.
    addScanIcons(defaultIcon);
    EnterCriticalSection(&appState.listLock);
    replaceShownList();
    LeaveCriticalSection(&appState.listLock);
    return comparison;
}

unsigned __stdcall listThreadMain(void *)
{
    // The shell's icon look-up wants COM on the calling thread.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    HICON defaultIcon = static_cast<HICON>(
        LoadImageA(appState.instance, MAKEINTRESOURCEA(IDI_LIST_DEFAULT), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    while (!stopAsked()) {
        beginScan();
        // EnumWindows fails when the stop request cut the scan short, or when the
        // system could not list the windows: either way this scan is not shown, and
        // in the second case the next period tries again.
        if (EnumWindows(listWindowProc, 0) && !stopAsked())
            showScan(defaultIcon);
        else
            discardScan();
        if (stopAsked())
            break;
        Sleep(REFRESH_PERIOD_MS);
    }
    if (defaultIcon != nullptr)
        DestroyIcon(defaultIcon);
    if (SUCCEEDED(com))
        CoUninitialize();
    SetEvent(appState.listThreadDone);
    return 0;
}
