// The pure rules of the commands that come from outside the main window: the
// global hotkeys (which key does what, given the mode that runs), the texts that
// tell a person which hotkeys are held, and the command line's one argument.
// No platform headers; unit-tested on the host.
#pragma once

#include <cstddef>
#include <cstdint>

#include "boundedText.h"
#include "resource.h"

// The gray mode a registered run belongs to (mode control records it with the run).
enum GrayMode : int32_t {
    MODE_NONE = 0,
    MODE_FOREGROUND = 1,
    MODE_SCREEN = 2,
    MODE_SELECTED = 3,
    MODE_FOCUS = 4,
    MODE_MONITOR = 5,
    MODE_RULES = 6,
};

// The hotkeys, Ctrl+Alt+letter each. The id is the one RegisterHotKey is given
// (0x0000-0xBFFF is an application's range) and WM_HOTKEY brings back.
constexpr int32_t HOTKEY_FOREGROUND = 1;
constexpr int32_t HOTKEY_SCREEN = 2;
constexpr int32_t HOTKEY_NORMAL_COLOR = 3;
constexpr int32_t HOTKEY_FOCUS = 4;
constexpr int32_t HOTKEY_MONITOR = 5;
constexpr int32_t HOTKEY_RULES = 6;
constexpr int32_t HOTKEY_SNOOZE = 7;
constexpr int HOTKEY_COUNT = 7;

struct HotkeyBinding {
    int32_t id;
    char letter;        // the virtual-key code of a letter is its capital
    const char *name;   // as the tooltips, the status bar and the manual spell it
    int32_t button;     // the button whose tooltip names it
    const char *what;   // said before the name when the button's own command is another
};
// The focus, monitor and rules modes have no button: the screen button names the
// first two, the window button the rules mode (which grays chosen programs' windows).
constexpr HotkeyBinding HOTKEYS[HOTKEY_COUNT] = {
    {HOTKEY_FOREGROUND, 'G', "Ctrl+Alt+G", IDC_BUTTON_FOREGROUND_MODE, ""},
    {HOTKEY_SCREEN, 'S', "Ctrl+Alt+S", IDC_BUTTON_SCREEN_MODE, ""},
    {HOTKEY_FOCUS, 'F', "Ctrl+Alt+F", IDC_BUTTON_SCREEN_MODE, "all but the window in front "},
    {HOTKEY_NORMAL_COLOR, 'N', "Ctrl+Alt+N", IDC_BUTTON_NORMAL_COLOR, ""},
    {HOTKEY_MONITOR, 'M', "Ctrl+Alt+M", IDC_BUTTON_SCREEN_MODE, "one monitor "},
    {HOTKEY_RULES, 'R', "Ctrl+Alt+R", IDC_BUTTON_FOREGROUND_MODE, "programs ruled gray "},
    {HOTKEY_SNOOZE, 'Z', "Ctrl+Alt+Z", IDC_BUTTON_NORMAL_COLOR, "colour for 10 minutes "},
};

// No command: a hotkey id we did not register.
constexpr int32_t COMMAND_NONE = 0;

// The command button whose command a hotkey runs while `running` is the mode on:
// each mode key toggles its own mode, and the foreground key turns any gray off.
constexpr int32_t hotkeyCommand(int32_t hotkeyId, int32_t running)
{
    switch (hotkeyId) {
    case HOTKEY_FOREGROUND: return running == MODE_NONE ? IDC_BUTTON_FOREGROUND_MODE : IDC_BUTTON_NORMAL_COLOR;
    case HOTKEY_SCREEN: return running == MODE_SCREEN ? IDC_BUTTON_NORMAL_COLOR : IDC_BUTTON_SCREEN_MODE;
    case HOTKEY_FOCUS: return running == MODE_FOCUS ? IDC_BUTTON_NORMAL_COLOR : IDC_COMMAND_FOCUS_MODE;
    case HOTKEY_MONITOR: return running == MODE_MONITOR ? IDC_BUTTON_NORMAL_COLOR : IDC_COMMAND_MONITOR_MODE;
    case HOTKEY_RULES: return running == MODE_RULES ? IDC_BUTTON_NORMAL_COLOR : IDC_COMMAND_RULES_MODE;
    case HOTKEY_NORMAL_COLOR: return IDC_BUTTON_NORMAL_COLOR;
    case HOTKEY_SNOOZE: return IDC_COMMAND_SNOOZE;
    }
    return COMMAND_NONE;
}

// A held combination acts once until its letter is released: Windows before 7
// repeats WM_HOTKEY while the keys are down (MOD_NOREPEAT came with Windows 7), and
// a repeated toggle would switch the gray on and off. heldId: the hotkey that acted
// last and whose letter has not been seen up since (0: none).
struct HotkeyHold {
    int32_t heldId;
};
// Whether a WM_HOTKEY acts; a repeat of the held hotkey does not.
constexpr bool hotkeyPressActs(HotkeyHold *hold, int32_t hotkeyId)
{
    if (hold->heldId == hotkeyId)
        return false;
    hold->heldId = hotkeyId;
    return true;
}
// The held hotkey's letter was seen up: its next WM_HOTKEY is a new press.
constexpr void hotkeyReleased(HotkeyHold *hold) { hold->heldId = 0; }

// Slot in HOTKEYS of a hotkey id, or -1.
constexpr int32_t hotkeySlot(int32_t hotkeyId)
{
    for (int32_t slot = 0; slot < HOTKEY_COUNT; slot++)
        if (HOTKEYS[slot].id == hotkeyId)
            return slot;
    return -1;
}

// A button tooltip's title: the hotkeys it names, each marked when another
// program holds it; empty for a button without one.
inline void buttonTitle(char *dest, size_t size, int32_t buttonId, const bool registered[HOTKEY_COUNT])
{
    dest[0] = '\0';
    for (int32_t slot = 0; slot < HOTKEY_COUNT; slot++) {
        const HotkeyBinding &key = HOTKEYS[slot];
        if (key.button != buttonId)
            continue;
        appendTextN(dest, size, dest[0] == '\0' ? "Hotkey: " : "; ");
        appendTextN(dest, size, key.what);
        appendTextN(dest, size, key.name);
        if (!registered[slot])
            appendTextN(dest, size, " (held by another program)");
    }
}

// The start-up note of the hotkeys that could not be registered; empty when all were.
inline void heldHotkeysNote(char *dest, size_t size, const bool registered[HOTKEY_COUNT])
{
    dest[0] = '\0';
    for (int32_t slot = 0; slot < HOTKEY_COUNT; slot++) {
        if (registered[slot])
            continue;
        appendTextN(dest, size, dest[0] == '\0' ? "Hotkey in use: " : ", ");
        appendTextN(dest, size, HOTKEYS[slot].name);
    }
}

// The command a start hands to the program: from its one argument, or carried
// from a second start to the running instance (WM_COPYDATA).
enum StartCommand : int32_t {
    START_SHOW = 0,   // no argument: a second start brings the main window to the front
    START_SCREEN = 1,
    START_WINDOW = 2,
    START_OFF = 3,
    START_TRAY = 4,
    START_FOCUS = 5,
    START_MONITOR = 6,
    START_RULES = 7,
    START_UNKNOWN = 8,
};
constexpr int ARGUMENT_COUNT = 7;

struct ArgumentName {
    const char *text;
    int32_t command;
};
constexpr ArgumentName ARGUMENTS[ARGUMENT_COUNT] = {
    {"/screen", START_SCREEN},
    {"/window", START_WINDOW},
    {"/focus", START_FOCUS},
    {"/off", START_OFF},
    {"/tray", START_TRAY},
    {"/monitor", START_MONITOR},
    {"/rules", START_RULES},
};

constexpr bool isArgumentSpace(char c) { return c == ' ' || c == '\t'; }
constexpr char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether text[0, length) is name, letter case aside (Windows' switches ignore it).
constexpr bool sameArgument(const char *text, size_t length, const char *name)
{
    size_t i = 0;
    for (; i < length; i++)
        if (name[i] == '\0' || lowerAscii(text[i]) != name[i])
            return false;
    return name[i] == '\0';
}

// The command of a command line without the program's name (WinMain's): blanks
// around one argument are allowed; two arguments, or one we do not know, are unknown.
constexpr int32_t parseCommandLine(const char *commandLine)
{
    if (commandLine == nullptr)
        return START_SHOW;
    size_t start = 0;
    while (isArgumentSpace(commandLine[start]))
        start++;
    size_t end = start;
    while (commandLine[end] != '\0' && !isArgumentSpace(commandLine[end]))
        end++;
    size_t rest = end;
    while (isArgumentSpace(commandLine[rest]))
        rest++;
    if (commandLine[rest] != '\0')
        return START_UNKNOWN;
    if (end == start)
        return START_SHOW;
    for (const ArgumentName &argument : ARGUMENTS)
        if (sameArgument(commandLine + start, end - start, argument.text))
            return argument.command;
    return START_UNKNOWN;
}

// What the message box of an unknown argument says.
inline void acceptedArgumentsText(char *dest, size_t size)
{
    copyTextN(dest, size, "Unknown argument. TALVERO accepts one of:");
    for (const ArgumentName &argument : ARGUMENTS) {
        appendTextN(dest, size, " ");
        appendTextN(dest, size, argument.text);
    }
    appendTextN(dest, size, ", or none.");
}
