// Starting a thread through the language runtime (Windows builds only). Thread
// routines have the runtime's form; the caller owns and closes the handle.
#pragma once

#include <windows.h>
#include <process.h>

typedef unsigned(__stdcall *ThreadRoutine)(void *argument);

// The new thread's handle, or null when it could not be started.
inline HANDLE startThread(ThreadRoutine routine, void *argument)
{
    return reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, routine, argument, 0, nullptr));
}
