// Handle and GDI object counts of the test process (see captureCounts.h).
#include "captureCounts.h"

#include "captureTestWorld.h"
#include "processCounts.h"

#include <windows.h>

int32_t processHandleCount()
{
    return handleCountOf(GetCurrentProcessId());
}

int32_t processGdiObjectCount()
{
    GdiCounts counts = {};
    if (!gdiCountsOf(GetCurrentProcess(), &counts))
        return -1;
    return counts.cacheable + counts.others;
}

ResourceCounts resourceCountsNow()
{
    constexpr DWORD SETTLE_MS = 50;
    pumpFor(SETTLE_MS);
    return ResourceCounts{processHandleCount(), processGdiObjectCount()};
}
