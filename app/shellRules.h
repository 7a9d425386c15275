// The main window's pure rules: where the window and its controls go, which
// button sits in which slot, how the status bar and the list columns divide the
// width, the native word size of a processor architecture, when to stop trying
// the tray icon and how a start meets a running copy. No platform
// headers (resource.h holds only numbers); unit-tested on the host.
#pragma once

#include <cstdint>

#include "resource.h"

// The main window's outer rectangle at the first start (AppState.mainPlacement).
constexpr int32_t MAIN_INITIAL_LEFT = 10;
constexpr int32_t MAIN_INITIAL_TOP = 10;
constexpr int32_t MAIN_INITIAL_WIDTH = 450;
constexpr int32_t MAIN_INITIAL_HEIGHT = 500;

// The command buttons' ids by slot, left to right: the one order of the buttons,
// their places, their tooltips and their columns in the image strip.
constexpr int COMMAND_BUTTON_COUNT = 5;
constexpr int32_t COMMAND_BUTTON_IDS[COMMAND_BUTTON_COUNT] = {
    IDC_BUTTON_FOREGROUND_MODE, IDC_BUTTON_SCREEN_MODE, IDC_BUTTON_NORMAL_COLOR, IDC_BUTTON_TRAY,
    IDC_BUTTON_CONFIGURE};

// Slot of a command button's control id, or -1 for any other id.
constexpr int32_t commandButtonSlot(int32_t controlId)
{
    for (int32_t slot = 0; slot < COMMAND_BUTTON_COUNT; slot++)
        if (COMMAND_BUTTON_IDS[slot] == controlId)
            return slot;
    return -1;
}

// Command buttons: 60 x 60, 10 apart in a group, a wider gap before the last two.
constexpr int32_t BUTTON_SIZE = 60;
constexpr int32_t BUTTON_TOP = 5;
constexpr int32_t BUTTON_LEFTS[COMMAND_BUTTON_COUNT] = {5, 75, 145, 260, 330};
// The list view starts below the button row; before the first resize it is this
// much shorter than the client area.
constexpr int32_t LIST_TOP = 75;
constexpr int32_t LIST_INITIAL_HEIGHT_MARGIN = 100;
constexpr int32_t MIN_TRACK_WIDTH = 300;
constexpr int32_t MIN_TRACK_HEIGHT = 200;
constexpr int32_t STATUS_PART_COUNT = 2;
constexpr int32_t LIST_COLUMN_COUNT = 3;

// Right edge of status part 0: half the client width (part 1 takes the rest).
constexpr int32_t statusPartEdge(int32_t clientWidth) { return clientWidth / 2; }

// Column widths of the window list from its client width: 3/5, 1/5, 1/5, each
// fifth truncated first, as a 16-bit value.
struct ListColumnWidths {
    int16_t title;
    int16_t application;
    int16_t onOff;
};
constexpr ListColumnWidths listColumnWidths(int32_t listClientWidth)
{
    return {static_cast<int16_t>((listClientWidth / 5) * 3), static_cast<int16_t>(listClientWidth / 5),
            static_cast<int16_t>(listClientWidth / 5)};
}

// Height of the list view between the button row and a status bar whose own
// client rectangle spans statusTop..statusBottom. Negative for a minimised window.
constexpr int32_t listHeightOnSize(int32_t clientHeight, int32_t statusTop, int32_t statusBottom)
{
    return clientHeight - statusTop - statusBottom - LIST_TOP;
}

// SYSTEM_INFO's processor architectures of a 64-bit system: IA64, ALPHA64, AMD64.
constexpr uint16_t ARCHITECTURE_IA64 = 6;
constexpr uint16_t ARCHITECTURE_ALPHA64 = 7;
constexpr uint16_t ARCHITECTURE_AMD64 = 9;
constexpr int32_t nativeBitsFor(uint16_t architecture)
{
    return architecture == ARCHITECTURE_IA64 || architecture == ARCHITECTURE_ALPHA64 ||
                   architecture == ARCHITECTURE_AMD64
               ? 64
               : 32;
}

// The main window's timers: the release watch of a held hotkey, the rules file's
// watch, the retries of the notification-area icon.
constexpr unsigned HOTKEY_RELEASE_TIMER_ID = 1;
constexpr unsigned RULES_WATCH_TIMER_ID = 2;
constexpr unsigned TRAY_RETRY_TIMER_ID = 3;
constexpr unsigned HABIT_TIMER_ID = 4;

// A start from the log-on entry may come before the notification area exists, or
// while it is too busy to answer: the icon is tried again every second, and at
// "TaskbarCreated", for 30 s from the first failure before the window comes back.
constexpr uint32_t TRAY_RETRY_PERIOD_MS = 1000;
constexpr uint32_t TRAY_RETRY_LIMIT_MS = 30000;
enum TrayRetryStep : int32_t {
    TRAY_ICON_IN_PLACE = 0,   // added: stop trying
    TRAY_TRY_AGAIN = 1,       // not yet: try at the next tick
    TRAY_GIVE_UP = 2,         // the time is over: show the main window and say so
};
// After one try to add the icon; the times are tick counts (they wrap after 49 days).
constexpr int32_t trayRetryStep(bool added, uint32_t waitStartMs, uint32_t nowMs)
{
    if (added)
        return TRAY_ICON_IN_PLACE;
    return nowMs - waitStartMs >= TRAY_RETRY_LIMIT_MS ? TRAY_GIVE_UP : TRAY_TRY_AGAIN;
}

// The single-instance mutex as CreateMutex left it (GetLastError's values).
constexpr uint32_t MUTEX_ERROR_NONE = 0;
constexpr uint32_t MUTEX_ERROR_ACCESS_DENIED = 5;      // ERROR_ACCESS_DENIED
constexpr uint32_t MUTEX_ERROR_ALREADY_EXISTS = 183;   // ERROR_ALREADY_EXISTS
// What a start does, from the mutex and, once asked, whether the running copy took the command.
enum HandOverResult : int32_t {
    HAND_OVER_NOT_TRIED = 0,
    HAND_OVER_TAKEN = 1,
    HAND_OVER_NOT_TAKEN = 2,   // no main window found in time, or it did not answer yes
};
enum InstanceStep : int32_t {
    INSTANCE_RUN_FIRST = 0,      // run as the one copy
    INSTANCE_HAND_OVER = 1,      // another copy runs: hand it the command
    INSTANCE_END = 2,            // the running copy took it: end
    INSTANCE_TELL_AND_END = 3,   // a copy runs that we may not reach: say so and end
};
// A mutex we may not open (a copy that runs as administrator, while this start
// does not) is a running copy as much as one that exists: never a second copy.
// A copy that exists but did not take the command is ending: this start goes on.
// A mutex that could not be made for any other reason leaves this start the one copy.
constexpr int32_t instanceStep(bool mutexMade, uint32_t mutexError, int32_t handOver)
{
    bool copyRuns = mutexError == MUTEX_ERROR_ACCESS_DENIED ||
                    (mutexMade && mutexError == MUTEX_ERROR_ALREADY_EXISTS);
    if (!copyRuns)
        return INSTANCE_RUN_FIRST;
    if (handOver == HAND_OVER_NOT_TRIED)
        return INSTANCE_HAND_OVER;
    if (handOver == HAND_OVER_TAKEN)
        return INSTANCE_END;
    return mutexMade ? INSTANCE_RUN_FIRST : INSTANCE_TELL_AND_END;
}
