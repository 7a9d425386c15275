// Test windows for the capture loops, run inside the test process: a stand-in
// main window with a status bar, target windows painted in known colours, the
// overlay window, a capture thread started as an overlay would start it, and
// the screen read back. Everything here runs on the test's own (UI) thread,
// which pumps messages while it waits, since the capture thread sends to it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "captureLoops.h"
#include "captureStart.h"
#include "gray.h"
#include "testScreen.h"

// Creates the locks, texts, classes, the main window and its status bar once.
void ensureCaptureWorld();

// Dispatches messages until done() holds or timeoutMs passed; returns done().
bool pumpUntil(const std::function<bool()> &done, DWORD timeoutMs);
void pumpFor(DWORD milliseconds);

std::string statusText(int part);

// The scans of every loop read the title of each counted window; the test's main
// window counts, and its title is asked for by message since it belongs to this
// thread. So this grows by one per scan a capture thread makes (two per window frame).
int32_t mainWindowTitleReads();
// Pumps until a capture thread has made at least this many more scans.
bool pumpForScans(int32_t scans, DWORD timeoutMs);

// Stripes of known colours, left to right, each 0x00RRGGBB.
using Stripes = std::vector<uint32_t>;

// A borderless target window painted with vertical stripes.
HWND createStripedWindow(const RECT &place, const Stripes &stripes);
void destroyTestWindow(HWND window);
// A target window of that place that is never shown.
HWND createHiddenWindow(const RECT &place);

// The message box a capture thread opened with this caption, or none; pumps
// while it looks, since the box's owner belongs to this thread.
HWND waitForMessageBox(const char *caption, DWORD timeoutMs);
// Presses OK on every open box of this caption; how many there were.
int32_t dismissMessageBoxes(const char *caption);

// What an overlay of the tests saw.
struct OverlayLog {
    bool shown;              // it was made visible at least once
    HWND followed;           // last window named by WM_OVERLAY_FOLLOW
    int32_t followMessages;
    bool closing;            // WM_CLOSE arrived
    bool visibleAtClose;
    std::vector<uint32_t> pixelsAtClose;   // the screen under it when WM_CLOSE came (if visible)
};

// A hidden overlay: class of the tests, title "TALVERO_GRAY", layered and click-through.
// WM_CLOSE destroys it. With stripes it paints them (as a stand-in for what lies below).
HWND createTestOverlay(const RECT &place, OverlayLog *log, const Stripes *paintStripes = nullptr);

// A running capture thread, started as the overlay window starts it.
struct CaptureThread {
    HANDLE thread;
};
CaptureThread startCapture(unsigned(__stdcall *captureMain)(void *), HWND overlay, HWND target);
void requestStop();
// Waits (pumping) for captureDone and the thread's end; false on timeout.
bool waitCaptureEnd(CaptureThread *capture, DWORD timeoutMs, DWORD *exitCode);

// The gray the kernels give for this colour and these settings, as 0x00RRGGBB.
uint32_t expectedGray(uint32_t colour, int32_t convertType, int32_t grayTone, int32_t reverseGray,
                      int32_t intensity = GRAY_INTENSITY_FULL);
// Stripe colour under column x of a window of this width.
uint32_t stripeAt(const Stripes &stripes, int32_t x, int32_t width);
// Number of screen pixels in rect that differ from the stripes' gray.
int32_t grayMismatches(const RECT &rect, const Stripes &stripes, int32_t convertType, int32_t grayTone,
                       int32_t reverseGray, int32_t intensity = GRAY_INTENSITY_FULL);
