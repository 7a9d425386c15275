// The z-order scans of the capture loops: EnumWindows callbacks that read what
// the classification rules need of each top-level window. Capture thread; no lock.
#include <windows.h>

#include "captureLoops.h"

namespace {

void scanOneWindow(HWND window, ZOrderScan *scan, ScanVariant variant)
{
    char className[SCAN_CLASS_BUFFER] = {};
    ScanWindowFacts facts{};
    facts.visible = IsWindowVisible(window) != FALSE;
    facts.enabled = facts.visible && IsWindowEnabled(window) != FALSE;
    facts.isWindow = facts.enabled && IsWindow(window) != FALSE;
    if (facts.isWindow && GetClassNameA(window, className, SCAN_CLASS_BUFFER - 1) == 0)
        className[0] = '\0';
    facts.className = className;
    if (!windowCountsInScan(facts, variant))
        return;
    // Read only for windows that count: a title read can be slow for a hung window.
    char title[SCAN_TITLE_BUFFER] = {};
    GetWindowTextA(window, title, SCAN_TITLE_BUFFER - 1);
    recordCountedWindow(scan, window, title);
}

}  // namespace

BOOL CALLBACK screenScanProc(HWND window, LPARAM scan)
{
    scanOneWindow(window, reinterpret_cast<ZOrderScan *>(scan), SCAN_FOR_SCREEN);
    return TRUE;
}

BOOL CALLBACK windowScanProc(HWND window, LPARAM scan)
{
    scanOneWindow(window, reinterpret_cast<ZOrderScan *>(scan), SCAN_FOR_WINDOW);
    return TRUE;
}
