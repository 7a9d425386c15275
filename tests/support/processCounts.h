// Kernel handles and GDI objects of a process, for leak checks. Wine's
// GetGuiResources and GetProcessHandleCount return 0, so these read the system's
// handle list and the GDI handle table the process's PEB points to.
#pragma once

#include <windows.h>

#include <cstdint>

// Kernel handles of the process; -1 when the system will not list them.
int32_t handleCountOf(DWORD processId);

// GDI objects by kind. Wine keeps up to 64 released window DCs for reuse, each
// with a region and a surface, so those three kinds may stay above a baseline
// without a leak; every other kind must come back exactly.
struct GdiCounts {
    int32_t cacheable;   // DCs, regions, surfaces
    int32_t dcs;         // the DCs among them
    int32_t others;
};
// False where the table cannot be read (32-bit processes have none under Wine).
// The process handle needs PROCESS_QUERY_INFORMATION | PROCESS_VM_READ.
bool gdiCountsOf(HANDLE process, GdiCounts *counts);
