// The overlay threads of the six gray modes and their windows' procedures. An
// overlay thread registers its run, creates the overlay over the target, hands it
// to a new capture thread and then runs the overlay's message loop until it closes.
#pragma once

#include <windows.h>

// Thread entries; selectedOverlayMain takes the window to gray as its argument,
// foregroundOverlayMain the window to start on (none: the window in front).
unsigned __stdcall screenOverlayMain(void *unused);
unsigned __stdcall foregroundOverlayMain(void *window);
unsigned __stdcall selectedOverlayMain(void *window);
unsigned __stdcall focusOverlayMain(void *unused);
// The monitor under the mouse pointer at the start.
unsigned __stdcall monitorOverlayMain(void *unused);
unsigned __stdcall rulesOverlayMain(void *unused);

LRESULT CALLBACK screenOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK foregroundOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK selectedOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK focusOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK monitorOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK rulesOverlayProc(HWND overlay, UINT message, WPARAM wParam, LPARAM lParam);

// The timer of the window-following overlays: first check 2 s after the start,
// then every 200 ms.
constexpr UINT_PTR FOLLOW_TIMER_ID = 0;
constexpr UINT FIRST_FOLLOW_MS = 2000;
constexpr UINT FOLLOW_PERIOD_MS = 200;
