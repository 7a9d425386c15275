// The one process-wide record of TALVERO. Every thread reads and writes its
// state here; each group says who owns its fields and which lock guards them.
// Defined once in appState.cpp, zeroed at process start except for the
// initial values given below, and never freed.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graySettings.h"

struct WindowPlacement {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

struct AppState {
    // Main window: UI thread only; mainPlacement is kept current after every move or resize.
    WindowPlacement mainPlacement = {10, 10, 450, 500};

    // Conversion settings and display depth: guarded by settingsLock once it exists;
    // loadSettings fills graySettings before any other thread starts.
    GraySettings graySettings;
    int32_t displayBits;
    CRITICAL_SECTION settingsLock;
};

extern AppState appState;
