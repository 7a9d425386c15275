// The shutdown thread: stops the window-list thread and any running gray mode,
// waiting for each on a thread of its own, then ends the process with code 0.
// The locks are not deleted: a short-lived thread started from an overlay or a
// button (a stop, a list-entry start) may still enter one while the process ends,
// and entering a deleted critical section is undefined. The process end frees them.
#include "shutdown.h"

#include <windows.h>

#include <cstdlib>

#include "appState.h"
#include "mainWindow.h"
#include "modeControl.h"
#include "threadStart.h"

namespace {

constexpr int EXIT_NORMAL = 0;

// Runs routine on a new thread and waits for it; false when it could not start.
bool runAndWait(ThreadRoutine routine)
{
    HANDLE thread = startThread(routine, nullptr);
    if (thread == nullptr)
        return false;
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    return true;
}

}  // namespace

void startShutdown()
{
    HANDLE thread = startThread(shutdownMain, nullptr);
    if (thread != nullptr)
        CloseHandle(thread);
}

unsigned __stdcall stopListThread(void *)
{
    EnterCriticalSection(&appState.listLock);
    appState.listThreadStop = 1;
    LeaveCriticalSection(&appState.listLock);
    WaitForSingleObject(appState.listThreadDone, INFINITE);
    return 0;
}

unsigned __stdcall shutdownMain(void *)
{
    if (!runAndWait(stopListThread))
        return 0;  // the close request is dropped; the program keeps running
    runAndWait(stopModeAndWait);
    SendMessageA(appState.mainWindow, WM_RELEASE_HOTKEYS, 0, 0);
    exit(EXIT_NORMAL);
}
