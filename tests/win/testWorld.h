// Helpers that give a Windows test its own world: a fresh working directory,
// the process-wide locks the program creates at start, and small file helpers.
#pragma once

#include <windows.h>

#include "testFiles.h"

// Creates the locks the main window would create and testCaptureDone, once per
// test process.
void ensureAppLocks();

// The end event the capture tests hand their capture threads (auto-reset).
extern HANDLE testCaptureDone;
