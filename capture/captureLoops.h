// The six capture threads. Each is started by its overlay window with the
// address of a CaptureStart record and runs until stopRequested (guarded by
// runLock) is seen at the end of a frame or the settings select no kernel; it
// then closes its overlay, sets the record's captureDone and ends with exit code 0.
#pragma once

#include <windows.h>

#include "captureRules.h"

unsigned __stdcall screenCaptureMain(void *start);
unsigned __stdcall foregroundCaptureMain(void *start);
unsigned __stdcall selectedCaptureMain(void *start);
unsigned __stdcall focusCaptureMain(void *start);
unsigned __stdcall monitorCaptureMain(void *start);
// The rules mode: only the windows of programs ruled gray.
unsigned __stdcall rulesCaptureMain(void *start);

// EnumWindows callbacks; lParam points to a zeroed ZOrderScan.
BOOL CALLBACK screenScanProc(HWND window, LPARAM scan);
BOOL CALLBACK windowScanProc(HWND window, LPARAM scan);
