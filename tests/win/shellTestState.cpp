// Once-per-process shell state for the in-process tests.
#include "shellTestState.h"

#include <windows.h>

#include "appState.h"

void ensureShellState()
{
    static LONG prepared = 0;
    if (InterlockedExchange(&prepared, 1) != 0)
        return;
    InitializeCriticalSection(&appState.backBufferLock);
    appState.backgroundBrush = CreateSolidBrush(RGB(238, 238, 238));
}
