// The main window's back buffer: an off-screen copy of the client area that only
// ever holds the background colour, grown on resize and painted from on WM_PAINT.
// Any thread that handles the class's messages may call these; each takes backBufferLock.
#pragma once

#include <windows.h>

// Grows the buffer to the client rectangle when it is wider or taller than ever before.
void growBackBuffer(const RECT &client);
// WM_PAINT: creates the buffer on first use, then copies it to the window.
LRESULT paintFromBackBuffer(HWND window);
// Fills the buffer over the main window's client area with the background.
void refillBackBuffer();
