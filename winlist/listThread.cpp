// listThreadMain. What exists so far is its stop protocol: every refresh period it
// looks at listThreadStop under listLock and, when asked, sets listThreadDone and
// ends. The scan of the top-level windows and the list refill are not here yet.
#include "listThread.h"

#include <windows.h>

#include "appState.h"

namespace {

constexpr DWORD REFRESH_PERIOD_MS = 800;

bool stopAsked()
{
    EnterCriticalSection(&appState.listLock);
    bool stop = appState.listThreadStop != 0;
    LeaveCriticalSection(&appState.listLock);
    return stop;
}

}  // namespace

unsigned __stdcall listThreadMain(void *)
{
    while (!stopAsked())
        Sleep(REFRESH_PERIOD_MS);
    SetEvent(appState.listThreadDone);
    return 0;
}
