// Helpers that give a Windows test its own world: a fresh working directory,
// the process-wide locks the program creates at start, and small file helpers.
#pragma once

#include <windows.h>

#include "testFiles.h"

// Creates the locks and the captureDone event the main window would create,
// once per test process.
void ensureAppLocks();
