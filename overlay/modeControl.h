// Starting and stopping gray modes: the run protocol every mode goes through, and
// the start commands of the buttons and the window list. Locks: runLock for the
// stop request, listLock for the active run; never both at once, never while waiting.
#pragma once

#include <windows.h>

#include <cstdint>

// One registered run: its identity and its end event (set by its capture thread,
// or by the start itself when the start fails). id 0: no run could be registered.
struct ModeRun {
    uint32_t id;
    HANDLE captureDone;
};

// Stops the running mode, waits for its capture thread, then registers a new run
// (selected: the selected-window mode's target, or none; mode: its GrayMode).
// Worker threads only: it waits.
ModeRun beginModeRun(HWND selected, int32_t mode);
// The GrayMode of the gray on screen: the active run's, MODE_NONE when none is
// active or its overlay has closed (a run that ended by itself stays registered
// until the next stop). Takes no lock: the UI thread may ask.
int32_t runningMode();
// An overlay is closing: its run shows no gray any more. Its own thread, on WM_CLOSE.
void markModeOffScreen();
// Undoes a start that will have no capture thread: its end is signalled and, unless
// a stop has already seen it, the run is unregistered.
void abandonModeRun(const ModeRun &run);

// Asks the running mode to stop and, when one runs, waits for its capture thread.
unsigned __stdcall stopModeAndWait(void *unused);
// An overlay has closed: asks its run (the argument is the run's id) to stop and
// takes off its list mark, unless a later run has replaced it. Never waits.
unsigned __stdcall markModeStopped(void *runId);

// The button commands and the window list's entry points; UI thread.
int startScreenMode();
// Everything gray but the window in front.
int startFocusMode();
// The monitor under the mouse pointer.
int startMonitorMode();
// The windows of the programs ruled gray, and nothing else.
int startRulesMode();
int startForegroundMode();
// The foreground mode, first on target rather than on the window in front.
int startForegroundModeOn(HWND target);
// The selected-window mode on target (a snooze's end brings it back).
int startSelectedModeOn(HWND target);
int grayListEntry(int32_t index);
int grayPendingListEntry();
// Thread routine: the argument points to the list index.
unsigned __stdcall grayListEntryMain(void *index);
// Starts stopModeAndWait on a thread of its own without waiting; false when it could not start.
bool startStop();
