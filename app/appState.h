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

// Sizes of the fixed text buffers.
constexpr size_t TEXT_SMALL = 32;
constexpr size_t TEXT_MEDIUM = 64;
constexpr size_t TEXT_STATUS = 100;
constexpr size_t TEXT_LONG = 256;
constexpr size_t TEXT_PATH = 1024;

// Texts from the string table, loaded once by WinMain and read-only afterwards.
struct StringTexts {
    char setToGray[TEXT_MEDIUM];          // list view menu
    char turnOffGray[TEXT_MEDIUM];
    char columnTitle[TEXT_MEDIUM];        // list view columns
    char columnApplication[TEXT_MEDIUM];
    char columnOnOff[TEXT_MEDIUM];
    char tipForegroundMode[TEXT_MEDIUM];  // button tooltips
    char tipScreenMode[TEXT_MEDIUM];
    char tipNormalColor[TEXT_MEDIUM];
    char tipTray[TEXT_MEDIUM];
    char tipConfigure[TEXT_MEDIUM];
    char unsupportedSystem[TEXT_MEDIUM];  // start-up refusals and their title
    char compositionRefusal[TEXT_LONG];
    char errorTitle[TEXT_MEDIUM];
    char grayOn[TEXT_SMALL];              // status bar
    char grayOff[TEXT_SMALL];
    char underMeasurement[TEXT_SMALL];
    char grayLabel[TEXT_SMALL];
};

struct AppState {
    // Set by WinMain and WM_CREATE on the UI thread, read-only afterwards.
    HWND mainWindow;
    HINSTANCE instance;
    StringTexts texts;
    HWND statusBar;   // other threads change it only through SendMessageA

    // Main window: UI thread only; mainPlacement is kept current after every move or resize.
    WindowPlacement mainPlacement = {10, 10, 450, 500};

    // Locks and events: created in WM_CREATE in this order, deleted in the same order.
    CRITICAL_SECTION listLock;
    CRITICAL_SECTION runLock;
    CRITICAL_SECTION settingsLock;
    HANDLE captureDone;      // auto-reset: a capture thread has torn down
    HANDLE listThreadDone;   // auto-reset: the window-list thread has stopped

    // Conversion settings and display depth: guarded by settingsLock once it exists;
    // loadSettings fills graySettings before any other thread starts.
    GraySettings graySettings;
    int32_t displayBits;

    // Gray mode state. stopRequested: guarded by runLock.
    // runCount, selectedTarget: guarded by listLock.
    int32_t stopRequested;
    int32_t runCount;
    HWND selectedTarget;

    // Capture pipeline: written only by the running capture thread (mode control
    // lets one run at a time), no lock. memoryDC holds the frame buffer while a run
    // lasts and is none between runs; the last-foreground fields keep their value
    // from one run to the next.
    HDC memoryDC;
    HWND lastForeground;                 // screen loop
    HWND foregroundModeLastForeground;   // foreground-window loop
    HWND selectedModeLastForeground;     // selected-window loop
};

extern AppState appState;
