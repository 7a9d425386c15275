// One scan of the top-level windows into appState.scanList: the window-list
// thread's per-window step, and the icons of a scan that is to be shown. Scan
// fields: list thread only; listLock is taken per window, for the stop request and
// the gray target, never across a scan.
#pragma once

#include <windows.h>

#include <cstdint>

#include "appState.h"

// Images 0 and 1 of every shown image list are the default icon (a row without an
// icon of its own and the gray mark); the windows' icons follow from image 2.
constexpr int DEFAULT_IMAGE_COUNT = 2;
constexpr int GRAY_MARK_IMAGE = 1;
// iconIndex of a scanned entry whose program's icon is still to be looked up.
constexpr int32_t ICON_WANTED = -1;

// Starts an empty scan list.
void beginScan();
// The EnumWindows callback: lists the window when it qualifies. FALSE ends the
// enumeration, which it does only when the list thread is asked to stop.
BOOL CALLBACK listWindowProc(HWND window, LPARAM unused);
// Links a copy of entry at the end of the scan list; false when there was no memory
// (the window is left out of this scan).
bool appendWindowEntry(const WindowEntry &entry);
// Makes the scan's image list: the default icon twice, then each program's icon
// once, however many of its windows are listed. Only for a scan that will be shown.
void addScanIcons(HICON defaultIcon);
// Frees the scan list and its image list.
void discardScan();
void freeWindowEntries(WindowEntry *list);
// The shown entries take the rules of the same windows in the scan; true when one changed.
bool takeRuleMarks(const WindowEntry *scanned, WindowEntry *shown);
