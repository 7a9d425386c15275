// The window-list thread: rescans the top-level windows every refresh period and
// has the list view refilled when the set of windows or a gray mark changed.
// listThreadStop (guarded by listLock) asks it to end; it answers with listThreadDone.
#pragma once

#include <windows.h>

#include <cstdint>

unsigned __stdcall listThreadMain(void *unused);

// Compares the finished scan with the list on display and updates the rows: the
// scan, with its icons, replaces the list (its rows are refilled) or is dropped.
// Takes listLock and holds it until the rows are in place. Returns the comparison
// (ListComparison).
int32_t showScan(HICON defaultIcon);
