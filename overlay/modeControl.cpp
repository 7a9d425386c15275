// stopModeAndWait: the stop half of mode control. What exists so far is this
// routine alone; the mode starts and the overlay threads come later, so until then
// runCount stays 0 and the routine returns without waiting.
// Locks are held only around the field accesses, never while waiting.
#include "modeControl.h"

#include <windows.h>

#include "appState.h"

unsigned __stdcall stopModeAndWait(void *)
{
    EnterCriticalSection(&appState.runLock);
    appState.stopRequested = 1;
    LeaveCriticalSection(&appState.runLock);

    EnterCriticalSection(&appState.listLock);
    bool modeRan = appState.runCount != 0;
    appState.selectedTarget = nullptr;
    LeaveCriticalSection(&appState.listLock);

    if (modeRan)
        WaitForSingleObject(appState.captureDone, INFINITE);

    EnterCriticalSection(&appState.listLock);
    appState.runCount = 0;
    LeaveCriticalSection(&appState.listLock);
    return 0;
}
