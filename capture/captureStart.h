// The hand-off from an overlay window to the capture thread it starts, and the
// message the foreground loop sends its overlay. The record lives on the overlay
// thread's stack and is valid only until the capture thread sets startedEvent.
#pragma once

#include <windows.h>

struct CaptureStart {
    HWND overlay;          // the overlay window the capture thread paints into
    HWND target;           // the window captured; the desktop window in screen mode
    HANDLE startedEvent;   // set once overlay and target are copied
    HANDLE captureDone;    // the run's end event, set when the thread has torn down
};

// Foreground mode: lParam points to the window handle the overlay should follow.
constexpr UINT WM_OVERLAY_FOLLOW = WM_USER + 1;
