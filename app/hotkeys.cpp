// The global hotkeys of the main window. Each runs the command of the button it
// stands for, through the same start and stop routines, so a hotkey and a click
// are one path. UI thread only.
#include "hotkeys.h"

#include <commctrl.h>

#include "appState.h"
#include "commandButtons.h"
#include "commandRules.h"
#include "mainControls.h"
#include "modeControl.h"
#include "shellRules.h"

namespace {

constexpr UINT HOTKEY_MODIFIERS = MOD_CONTROL | MOD_ALT;
// While a hotkey's letter is held, the main window looks this often for its release.
constexpr UINT HOTKEY_RELEASE_POLL_MS = 30;
constexpr SHORT KEY_DOWN_BIT = static_cast<SHORT>(0x8000);
// TTM_SETTITLE refuses titles of 100 characters or more.
constexpr size_t TOOLTIP_TITLE_BYTES = 100;

// The title above a button's tooltip text names its hotkey; the text stays the button's own.
void showHotkeyTitles()
{
    for (int slot = 0; slot < COMMAND_BUTTON_COUNT; slot++) {
        char title[TOOLTIP_TITLE_BYTES];
        buttonTitle(title, sizeof title, COMMAND_BUTTON_IDS[slot], appState.hotkeyRegistered);
        if (title[0] == '\0' || appState.tooltips[slot] == nullptr)
            continue;
        SendMessageA(appState.tooltips[slot], TTM_SETTITLEA, TTI_NONE, reinterpret_cast<LPARAM>(title));
    }
}

// The frame-rate part is idle at start: it says which hotkeys are held until a mode starts.
void showHeldHotkeys()
{
    char note[TEXT_STATUS];
    heldHotkeysNote(note, sizeof note, appState.hotkeyRegistered);
    if (note[0] != '\0')
        setStatusText(STATUS_PART_RATE, note);
}

}  // namespace

void registerHotkeys(HWND mainWindow)
{
    for (int slot = 0; slot < HOTKEY_COUNT; slot++) {
        const HotkeyBinding &key = HOTKEYS[slot];
        appState.hotkeyRegistered[slot] =
            RegisterHotKey(mainWindow, key.id, HOTKEY_MODIFIERS, static_cast<UINT>(key.letter)) != FALSE;
    }
    showHotkeyTitles();
    showHeldHotkeys();
}

void releaseHotkeys(HWND mainWindow)
{
    for (int slot = 0; slot < HOTKEY_COUNT; slot++) {
        if (appState.hotkeyRegistered[slot])
            UnregisterHotKey(mainWindow, HOTKEYS[slot].id);
        appState.hotkeyRegistered[slot] = false;
    }
}

LRESULT onHotkey(WPARAM hotkeyId)
{
    int32_t id = static_cast<int32_t>(hotkeyId);
    int32_t command = hotkeyCommand(id, runningMode());
    if (command == COMMAND_NONE || !hotkeyPressActs(&appState.hotkeyHold, id))
        return 0;
    SetTimer(appState.mainWindow, HOTKEY_RELEASE_TIMER_ID, HOTKEY_RELEASE_POLL_MS, nullptr);
    runModeCommand(appState.mainWindow, command);
    return 0;
}

LRESULT onHotkeyReleaseTimer()
{
    int32_t slot = hotkeySlot(appState.hotkeyHold.heldId);
    if (slot >= 0 && (GetAsyncKeyState(HOTKEYS[slot].letter) & KEY_DOWN_BIT) != 0)
        return 0;
    hotkeyReleased(&appState.hotkeyHold);
    KillTimer(appState.mainWindow, HOTKEY_RELEASE_TIMER_ID);
    return 0;
}
