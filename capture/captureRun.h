// What the three capture loops share: the per-run state, set-up and teardown,
// the status texts, the z-order moves, pacing, the frame rate and the stop test.
// Capture thread only; runLock and settingsLock are taken for a few words each.
#pragma once

#include <windows.h>

#include <cstdint>

#include "captureRules.h"
#include "captureStart.h"
#include "frameBuffer.h"
#include "frameHistory.h"
#include "monitorRules.h"

struct CaptureRun {
    HWND overlay;
    HWND target;
    HANDLE captureDone;        // owned by mode control; set at teardown
    HANDLE frameWaitEvent;     // never signalled: waiting on it is the loop's sleep
    HWND referenceWindow;      // referenceDC belongs to this window (none: the screen)
    HDC referenceDC;           // what every frame buffer of the run is made compatible with
    FrameMapping mapping;
    FrameBitmap frame;
    FrameHistory history;      // the last copy: what a frame finds changed
    int32_t bitsPerPixel;
    MonitorLayout layout;
    int32_t framesSinceLayout;
    ZOrderState zOrder;
    FrameRateCounter frameRate;
    uint32_t lastFrameTime;
    bool targetInColour;       // window loops: the overlay's region is empty (a full-screen target)
};

// Set-up step 1: the wait event and the monitor layout. stopRequested is left as
// it is: mode control clears it when it registers the run, and a stop asked for
// since must hold.
void beginCaptureRun(CaptureRun *run);
// Copies overlay, target and the end event out of the record, then releases its owner.
void takeCaptureStart(CaptureRun *run, void *start);
// Reads the display depth into displayBits (under settingsLock) and the run.
void readDisplayDepth(CaptureRun *run);
// Status "FPS: Under measurement " and "Gray: ON" and the frame-rate clock.
void startFrameClock(CaptureRun *run);
// Reads the monitor layout again when the system announced a display change or
// every LAYOUT_CHECK_FRAMES calls; true when it differs from the run's (which it replaces).
bool monitorLayoutChanged(CaptureRun *run);

ScreenRect windowRect(HWND window, bool *ok);
ScreenPoint cursorPosition();
// Class name into a buffer that holds at most size - 2 characters (as the loops ask).
void readClassName(HWND window, char *dest, int32_t size);

// Every move of the overlay leaves activation alone, and so do the z-order moves
// of the target and the foreground window. Those belong to other programs: a move
// that waited for one that takes no messages would hold the capture thread, and
// with it every stop and the program's end, until that program answers.
constexpr UINT OVERLAY_MOVE_FLAGS = SWP_NOACTIVATE;
constexpr UINT OTHER_WINDOW_MOVE_FLAGS = SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS;

void applyZOrderMoves(const ZOrderMoves &moves, HWND overlay, HWND target, HWND foreground);
// A z-order move of a window that is not ours, never waited for; none at all for
// a window that does not answer.
void moveOtherWindow(HWND window, HWND after);
void raiseOverlay(HWND overlay);
void lowerOverlay(HWND overlay);

// After a copy (copied: it worked): finds what changed since the last copy and
// converts it; true when there is something to present (run->history.changed).
// A failed copy is neither converted nor presented. *noKernel is set when no
// kernel fits the frame: the run must end.
bool convertCopiedFrame(CaptureRun *run, bool copied, const ScreenRect *parts, int32_t partCount, bool *noKernel);
// Pacing to one frame per FRAME_PERIOD_MS, then the frame-rate count (of frames
// that presented something) and its report.
void paceAndCountFrame(CaptureRun *run, bool presented);
// Sleeps without counting a frame (a frame given up early).
void sleepFrame(CaptureRun *run, DWORD milliseconds);
bool stopWasRequested();
// Before each copy: while nobody can see the desk (a locked or disconnected
// session, the screen saver), the run copies nothing: it says "Gray: paused" and
// looks again every frame period. A still desk is copied less often, and failed
// copies back off. False when a stop came meanwhile.
bool waitForCopy(CaptureRun *run);

// A failed call's message box, owned by the main window, with the overlay first
// lowered and hidden so that it cannot cover the box.
void showFailureMessage(HWND overlay, const char *callName);
// The run's mapping; when none can be made, the "CreateFileMapping" message and
// the run goes on without (the overlay shown again if it was).
void openFrameMapping(CaptureRun *run, uint64_t bytes);
// The frame buffer for the rectangle from the run's reference context; false,
// after the failing call's message, when the run must end.
bool buildFrameBuffer(CaptureRun *run, const ScreenRect &rect);

// Teardown of every run, whether it ran frames or failed setting up: releases
// what the run made, lowers and closes the overlay, sets captureDone, status off.
void endCaptureRun(CaptureRun *run);
