// The one process-wide record of TALVERO. Every thread reads and writes its
// state here; each group says who owns its fields and which lock guards them.
// Defined once in appState.cpp, zeroed at process start except for the
// initial values given below, and never freed.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdint>

#include "commandRules.h"
#include "graySettings.h"
#include "listRules.h"
#include "programRules.h"
#include "settingsPlace.h"
#include "shellRules.h"

struct WindowPlacement {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

// Sizes of the fixed text buffers, one place for every subsystem.
#include "textSizes.h"

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
    char grayPaused[TEXT_SMALL];
    char trayIconFailed[TEXT_MEDIUM];           // status bar, when the tray icon gave up
    char runningCopyUnreachable[TEXT_LONG];     // a second start that could not hand over
};

// IsWow64Process, looked up at run time (Windows XP before SP2 lacks it).
typedef BOOL(WINAPI *IsWow64ProcessFn)(HANDLE process, PBOOL isWow64);

// One owner-drawn command button of the main window.
struct CommandButton {
    HWND window;
    int32_t hovering;      // mouse over it, capture held
    int32_t pressed;       // left button went down on it and is still down
    WNDPROC previousProc;  // the system button procedure
};

// commandButtons and tooltips have one slot per id of COMMAND_BUTTON_IDS, in its order.

// The notification-area record in the layout of Windows Vista and later: the
// system's record ends with a balloon icon that headers for Windows XP leave out.
// Windows XP is given the shorter size (without the balloon icon).
struct TrayIconRecord {
    NOTIFYICONDATAA data;
    HICON balloonIcon;
};

// One listed window, heap-allocated and linked in scan order from windowList. Its
// texts are UTF-16, as the system gives them, so every script shows.
struct WindowEntry {
    int32_t isGrayTarget;
    int32_t programRule;   // RuleKind of its program, shown beside the gray mark
    int32_t iconIndex;
    wchar_t appName[TEXT_LONG];
    wchar_t className[TEXT_LONG];
    wchar_t title[TEXT_LONG];
    wchar_t imagePath[TEXT_LONG];
    uint32_t processId;
    HWND windowHandle;
    WindowEntry *next;
};

// What one scan found out about a process, so that its other windows need not ask
// again: whether it could be opened, whether it is listed, and its names.
struct ScannedProcess {
    uint32_t processId;
    int32_t opened;
    int32_t named;
    int32_t pathHasIcon;   // a path the shell can find the program's icon for
    int32_t programRule;   // RuleKind of its program under the scan's rules
    wchar_t appName[TEXT_LONG];
    wchar_t imagePath[TEXT_LONG];
};

// The processes a scan remembers; windows of further processes are simply looked up.
constexpr int SCANNED_PROCESS_CAPACITY = 64;

struct AppState {
    // Set by WinMain and WM_CREATE on the UI thread, read-only afterwards.
    HWND mainWindow;
    HINSTANCE instance;
    StringTexts texts;
    HWND statusBar;   // other threads change it only through SendMessageA
    HBRUSH backgroundBrush;   // 0xEEEEEE: class background and back buffer
    HBRUSH whiteBrush;        // the configuration dialog's background

    // Found by the first WM_CREATE and read-only afterwards. nativeBits is 0
    // until then, which is how a later window of the class knows not to initialise.
    int32_t nativeBits;
    IsWow64ProcessFn isWow64Fn;

    // Main window controls: created in WM_CREATE, read-only afterwards; the
    // controls themselves are used on the UI thread (others send messages).
    HWND windowListView;
    HDC buttonImageDC;            // holds buttonImageBitmap for the life of the process
    HBITMAP buttonImageBitmap;
    HWND tooltips[COMMAND_BUTTON_COUNT];
    HFONT statusFont;
    HFONT listFont;

    // Command buttons and the notification-area icon: UI thread only. trayStored:
    // the main window is hidden and the icon is its way back (or is being tried
    // again since trayWaitStart, a tick count).
    CommandButton commandButtons[COMMAND_BUTTON_COUNT];
    int32_t currentButton;
    int32_t pressedButtonId;
    TrayIconRecord trayIcon;
    int32_t trayStored;
    uint32_t trayWaitStart;
    UINT taskbarCreatedMessage;   // registered by WinMain, read-only afterwards

    // Back buffer of the main window's client area. WM_SIZE and WM_PAINT also
    // arrive forwarded on overlay threads, so every use is under backBufferLock
    // (made by WinMain, never deleted; held only for GDI calls, never while sending).
    CRITICAL_SECTION backBufferLock;
    HDC backBufferDC;
    HBITMAP backBufferBitmap;
    HGDIOBJ backBufferStockBitmap;
    RECT backBufferSize;

    // Main window: UI thread only; mainPlacement is kept current after every move or resize.
    WindowPlacement mainPlacement = {MAIN_INITIAL_LEFT, MAIN_INITIAL_TOP, MAIN_INITIAL_WIDTH, MAIN_INITIAL_HEIGHT};

    // Global hotkeys: registered by WinMain on the UI thread once the main window is
    // up, released by the shutdown thread through the main window. UI thread only.
    bool hotkeyRegistered[HOTKEY_COUNT];
    // The hotkey that acted and whose letter is still down, watched by a timer.
    HotkeyHold hotkeyHold;
    // The window in front when this process started, for a /window start; set by
    // WinMain, taken (and cleared) by the start command on the UI thread.
    HWND startForeground;

    // Locks and events: created in WM_CREATE in this order. They are never
    // deleted: short-lived threads may still enter them while the process ends.
    CRITICAL_SECTION listLock;
    CRITICAL_SECTION runLock;
    CRITICAL_SECTION settingsLock;
    HANDLE listThreadDone;   // auto-reset: the window-list thread has stopped

    // Where config.txt and rules.txt live (settingsFolder.h): set in WM_CREATE before
    // the settings are loaded, read-only afterwards.
    wchar_t startFolder[MAX_PATH];
    wchar_t settingsFolder[MAX_PATH];
    int32_t settingsFolderKind;
    // Per settings file, a failed save was told and none has succeeded since: UI thread only.
    bool saveFailureTold[SETTINGS_FILE_COUNT];

    // Conversion settings and display depth: guarded by settingsLock once it exists;
    // loadSettings fills graySettings before any other thread starts.
    GraySettings graySettings;
    int32_t displayBits;
    // The program rules, also under settingsLock; rulesVersion grows with every
    // change, so a loop knows when to copy them again.
    ProgramRules programRules;
    uint32_t rulesVersion;
    // rules.txt as last read or written: UI thread only.
    int32_t rulesFileState;
    int32_t rulesSkippedLines;
    bool rulesFileSeen;
    FILETIME rulesWriteTime;

    // Gray mode state; modeControl.cpp tells how a run is started and stopped.
    // Guarded by runLock: stopRequested, the run it speaks to and the run counter.
    int32_t stopRequested;
    uint32_t stoppableRun;
    uint32_t runSerial;
    // Guarded by listLock: the active run (the newest one started whose end no stop
    // has seen yet; 0 is none) with its end event, runCount (1 while there is an
    // active run) and the target of the selected-window mode.
    uint32_t activeRun;
    HANDLE activeRunDone;   // manual-reset: set when the run's capture thread has torn down
    int32_t runCount;
    HWND selectedTarget;
    // The active run's GrayMode (MODE_NONE without one), for the hotkeys' toggles:
    // written with activeRun under listLock, and set to MODE_NONE (interlocked) when
    // the run's overlay closes; read with an interlocked read and no lock, because
    // the UI thread must never wait for listLock (the list thread holds it while it
    // sends to the list view).
    volatile LONG activeMode;

    // Overlay windows: each written by its own overlay thread; the targets by the
    // overlay's window procedure on that thread. They keep their values after a run.
    HWND screenOverlay;
    HWND foregroundOverlay;
    HWND selectedOverlay;
    HWND focusOverlay;
    HWND monitorOverlay;
    HWND rulesOverlay;
    HWND screenOverlayTarget;
    HWND foregroundOverlayTarget;
    HWND selectedOverlayTarget;
    HWND focusOverlayTarget;
    HWND monitorOverlayTarget;
    HWND rulesOverlayTarget;
    // The list index handed to grayListEntryMain: UI thread (-1 is none).
    int32_t selectedListIndex;

    // Window list, guarded by listLock. windowList is always the list whose rows are
    // on display (entry i is row i), so a list lookup never meets a half-built scan:
    // the list thread alone replaces it, holding the lock until the rows show it.
    // listImages is the image list set on the list view, with windowList's icons;
    // previousEntryCount is windowList's length.
    WindowEntry *windowList;
    HIMAGELIST listImages;
    int32_t previousEntryCount;
    int32_t listThreadStop;

    // The scan in progress: the window-list thread only, no lock. A scan builds its
    // list here and, when it differs from windowList, its image list, and hands both
    // over. iconCounter: the last icon number handed out (0 once the default icons are in).
    WindowEntry *scanList;
    WindowEntry *scanListTail;
    HIMAGELIST scanImages;
    int32_t iconCounter;
    int32_t scanEntryCount;
    ScannedProcess scannedProcesses[SCANNED_PROCESS_CAPACITY];
    int32_t scannedProcessCount;
    // The program rules as the list thread last copied them.
    ProgramRules scanRules;
    uint32_t scanRulesVersion;

    // Drives and their device names: built in WM_CREATE before the window-list
    // thread starts, read-only afterwards (no lock).
    DriveMap driveMap;

    // Capture pipeline: written only by the running capture thread (mode control
    // lets one run at a time), no lock. memoryDC holds the frame buffer while a run
    // lasts and is none between runs; the last-foreground fields keep their value
    // from one run to the next.
    HDC memoryDC;
    HWND lastForeground;                 // screen loop
    HWND foregroundModeLastForeground;   // foreground-window loop
    HWND selectedModeLastForeground;     // selected-window loop
    // Set (interlocked) by any window of ours told of a new display layout or work
    // area; the running capture loop takes it and reads the monitors again.
    volatile LONG displayChanged;
    // Why the session is away (deskRules.h): written by the main window on a session
    // change, read by the capture loops, both interlocked.
    volatile LONG sessionAway;
    // Set (interlocked) by an overlay told to paint itself; the running capture
    // loop takes it and presents its next frame whole.
    volatile LONG overlayNeedsPaint;
    // 1: a full-screen window in front leaves its monitor in colour (habit.txt's
    // "fullscreen colour"). Written by the habit control, read by the capture
    // loops every frame, both interlocked.
    volatile LONG fullScreenColour;
};

extern AppState appState;
