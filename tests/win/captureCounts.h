// Counts of this process's kernel handles and GDI objects, for the leak tests of
// the capture loops. Wine's GetGuiResources and GetProcessHandleCount return 0,
// so these read the system's handle list and the PEB's GDI handle table instead.
#pragma once

#include <cstdint>

// Kernel handles of this process; -1 when the system will not list them.
int32_t processHandleCount();
// GDI objects of this process; -1 where the table cannot be read (32-bit builds).
int32_t processGdiObjectCount();

struct ResourceCounts {
    int32_t handles;
    int32_t gdiObjects;
};

// Both counts, after pumping the test thread's messages for a moment so that
// windows closed just before are really gone.
ResourceCounts resourceCountsNow();
