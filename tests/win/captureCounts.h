// Counts of this process's kernel handles and GDI objects, for the leak tests of
// the capture loops. Wine's GetGuiResources and GetProcessHandleCount return 0,
// so these read the system's handle list and the PEB's GDI handle table instead.
#pragma once

#include <cstdint>

// Kernel handles of this process; -1 when the system will not list them.
int32_t processHandleCount();
// GDI objects of this process; -1 where the table cannot be read (32-bit builds).
int32_t processGdiObjectCount();
