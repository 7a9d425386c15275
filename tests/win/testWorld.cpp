// Test-process set-up shared by the Windows tests.
#include "testWorld.h"

#include "appState.h"

HANDLE testCaptureDone = nullptr;

void ensureAppLocks()
{
    static LONG created = 0;
    if (InterlockedExchange(&created, 1) == 0) {
        // Same order as the main window's WM_CREATE.
        InitializeCriticalSection(&appState.listLock);
        InitializeCriticalSection(&appState.runLock);
        InitializeCriticalSection(&appState.settingsLock);
        testCaptureDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    }
}
