// The main window's pure rules: where the window and its controls go, which
// button sits in which slot, how the status bar and the list columns divide the
// width, and the native word size of a processor architecture. No platform
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

// The main window's timers: the release watch of a held hotkey, the rules file's watch.
constexpr unsigned HOTKEY_RELEASE_TIMER_ID = 1;
constexpr unsigned RULES_WATCH_TIMER_ID = 2;
