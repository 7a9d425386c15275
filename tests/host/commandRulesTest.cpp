// The rules of the commands from outside the main window: what each hotkey runs
// given the mode that is on, and the texts that name the hotkeys held elsewhere.
#include <gtest/gtest.h>

#include <string>

#include "commandRules.h"

TEST(HotkeyCommand, EachModeKeyTogglesItsModeAndTheColourKeyAlwaysStops)
{
    const struct {
        int32_t hotkey;
        int32_t running;
        int32_t button;
    } cases[] = {
        {HOTKEY_FOREGROUND, MODE_NONE, IDC_BUTTON_FOREGROUND_MODE},
        {HOTKEY_FOREGROUND, MODE_FOREGROUND, IDC_BUTTON_NORMAL_COLOR},
        {HOTKEY_FOREGROUND, MODE_SCREEN, IDC_BUTTON_NORMAL_COLOR},   // any gray: off
        {HOTKEY_FOREGROUND, MODE_SELECTED, IDC_BUTTON_NORMAL_COLOR},
        {HOTKEY_SCREEN, MODE_NONE, IDC_BUTTON_SCREEN_MODE},
        {HOTKEY_SCREEN, MODE_SCREEN, IDC_BUTTON_NORMAL_COLOR},
        {HOTKEY_SCREEN, MODE_FOREGROUND, IDC_BUTTON_SCREEN_MODE},    // another mode: replaced
        {HOTKEY_SCREEN, MODE_FOCUS, IDC_BUTTON_SCREEN_MODE},
        {HOTKEY_FOCUS, MODE_NONE, IDC_COMMAND_FOCUS_MODE},
        {HOTKEY_FOCUS, MODE_FOCUS, IDC_BUTTON_NORMAL_COLOR},
        {HOTKEY_FOCUS, MODE_SCREEN, IDC_COMMAND_FOCUS_MODE},
        {HOTKEY_NORMAL_COLOR, MODE_FOCUS, IDC_BUTTON_NORMAL_COLOR},
        {HOTKEY_NORMAL_COLOR, MODE_NONE, IDC_BUTTON_NORMAL_COLOR},
        {HOTKEY_NORMAL_COLOR, MODE_SCREEN, IDC_BUTTON_NORMAL_COLOR},
        {HOTKEY_MONITOR, MODE_NONE, IDC_COMMAND_MONITOR_MODE},
        {HOTKEY_MONITOR, MODE_MONITOR, IDC_BUTTON_NORMAL_COLOR},
        {HOTKEY_MONITOR, MODE_SCREEN, IDC_COMMAND_MONITOR_MODE},
        {HOTKEY_SCREEN, MODE_MONITOR, IDC_BUTTON_SCREEN_MODE},
        {HOTKEY_RULES, MODE_NONE, IDC_COMMAND_RULES_MODE},
        {HOTKEY_RULES, MODE_RULES, IDC_BUTTON_NORMAL_COLOR},
        {HOTKEY_RULES, MODE_SCREEN, IDC_COMMAND_RULES_MODE},
        {0, MODE_NONE, COMMAND_NONE},
        {99, MODE_SCREEN, COMMAND_NONE},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.button, hotkeyCommand(c.hotkey, c.running)) << "hotkey " << c.hotkey << ", mode " << c.running;
}

TEST(HotkeyHold, AHeldCombinationActsOnceUntilItsLetterIsUp)
{
    // WM_HOTKEY of these ids in turn, or UP: the timer saw the held letter released.
    constexpr int32_t UP = 0, S = HOTKEY_SCREEN, F = HOTKEY_FOCUS;
    const int32_t events[] = {S, S, S, UP, S, F, S};
    const bool acts[] = {true, false, false, false, true, true, true};
    HotkeyHold hold{};
    for (size_t i = 0; i < sizeof events / sizeof events[0]; i++) {
        if (events[i] == UP)
            hotkeyReleased(&hold);
        else
            EXPECT_EQ(acts[i], hotkeyPressActs(&hold, events[i])) << "event " << i;
    }
}

TEST(HotkeyTexts, TitlesAndTheNoteNameTheHeldKeys)
{
    char text[100];
    const bool all[HOTKEY_COUNT] = {true, true, true, true, true, true, true};
    const bool screenHeld[HOTKEY_COUNT] = {true, false, true, true, true, true, true};
    const struct {
        int32_t button;
        const bool *registered;
        const char *title;
    } titles[] = {
        {IDC_BUTTON_FOREGROUND_MODE, all, "Hotkey: Ctrl+Alt+G; programs ruled gray Ctrl+Alt+R"},
        {IDC_BUTTON_SCREEN_MODE, all, "Hotkey: Ctrl+Alt+S; all but the window in front Ctrl+Alt+F; one monitor Ctrl+Alt+M"},
        {IDC_BUTTON_SCREEN_MODE, screenHeld,   // cut to the tooltip title's 99 characters
         "Hotkey: Ctrl+Alt+S (held by another program); all but the window in front Ctrl+Alt+F; one monitor C"},
        {IDC_BUTTON_NORMAL_COLOR, screenHeld, "Hotkey: Ctrl+Alt+N; colour for 10 minutes Ctrl+Alt+Z"},
        {IDC_BUTTON_TRAY, all, ""},
    };
    for (const auto &t : titles) {
        buttonTitle(text, sizeof text, t.button, t.registered);
        EXPECT_EQ(t.title, std::string(text));
    }

    const struct {
        bool registered[HOTKEY_COUNT];
        const char *note;
    } cases[] = {
        {{true, true, true, true, true, true, true}, ""},
        {{true, false, true, true, true, true, true}, "Hotkey in use: Ctrl+Alt+S"},
        {{false, true, true, false, true, true, true}, "Hotkey in use: Ctrl+Alt+G, Ctrl+Alt+N"},
        {{true, true, true, true, false, true, true}, "Hotkey in use: Ctrl+Alt+M"},
    };
    for (const auto &c : cases) {
        heldHotkeysNote(text, sizeof text, c.registered);
        EXPECT_EQ(c.note, std::string(text));
    }
}

TEST(ParseCommandLine, OneKnownArgumentAnyCaseOrNone)
{
    const struct {
        const char *line;
        int32_t command;
    } cases[] = {
        {"", START_SHOW},
        {"   ", START_SHOW},
        {nullptr, START_SHOW},
        {"/screen", START_SCREEN},
        {"  /SCREEN\t", START_SCREEN},
        {"/window", START_WINDOW},
        {"/Off", START_OFF},
        {"/tray", START_TRAY},
        {"/FOCUS", START_FOCUS},
        {"/Monitor", START_MONITOR},
        {"/RULES", START_RULES},
        {"/bogus", START_UNKNOWN},
        {"/scree", START_UNKNOWN},
        {"/screens", START_UNKNOWN},
        {"screen", START_UNKNOWN},
        {"/screen /tray", START_UNKNOWN},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.command, parseCommandLine(c.line)) << "\"" << (c.line ? c.line : "(null)") << "\"";
}

TEST(AcceptedArgumentsText, NamesEveryArgument)
{
    char text[200];
    acceptedArgumentsText(text, sizeof text);
    EXPECT_EQ("Unknown argument. TALVERO accepts one of: /screen /window /focus /off /tray /monitor /rules, or none.", std::string(text));
}
