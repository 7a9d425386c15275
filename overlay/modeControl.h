// Stopping a gray mode. Thread routines run on short-lived threads of their own;
// stopRequested is guarded by runLock, runCount and selectedTarget by listLock.
#pragma once

// Asks a running mode to stop and, when one ran, waits for its capture thread.
unsigned __stdcall stopModeAndWait(void *unused);
