// The habit settings at work (see habitControl.h). habit.txt is read and written
// here only; the schedule's memory, the fade and the snooze live in AppState and
// are the UI thread's alone, except the two words the capture loops read.
#include "habitControl.h"

#include <commctrl.h>

#include <cstring>

#include "appState.h"
#include "boundedText.h"
#include "habitRules.h"
#include "modeControl.h"
#include "settingsRead.h"
#include "settingsSave.h"
#include "shellRules.h"

namespace {

// A second at most between an edit of habit.txt, a period's start or a snooze's
// end and what the screen shows; the fade takes a step each tick.
constexpr UINT HABIT_TICK_MS = 500;
constexpr WPARAM STATUS_PART_NOTES = 0;
constexpr WPARAM STATUS_PART_GRAY = 1;

static_assert(HABIT_FILE_MISSING == WHOLE_FILE_MISSING && HABIT_FILE_READ == WHOLE_FILE_READ &&
                  HABIT_FILE_TOO_LARGE == WHOLE_FILE_TOO_LARGE && HABIT_FILE_UNREADABLE == WHOLE_FILE_UNREADABLE,
              "habit.txt reads in the settings files' states");

// The file's text and its rewrite: UI thread only.
char fileText[HABIT_FILE_LIMIT];
char newText[HABIT_FILE_LIMIT];

void sayInStatusBar(WPARAM part, const char *note)
{
    if (note[0] != '\0' && appState.statusBar != nullptr)
        SendMessageA(appState.statusBar, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(note));
}

void announceReading()
{
    char note[TEXT_STATUS];
    habitReadingNote(note, sizeof note, appState.habitFileState, appState.habitSkippedLines);
    sayInStatusBar(STATUS_PART_NOTES, note);
}

LocalClock localClockNow()
{
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return LocalClock{now.wYear, now.wMonth, now.wDay, now.wDayOfWeek, now.wHour, now.wMinute, now.wSecond};
}

int32_t habitModeOf(int32_t grayMode)
{
    switch (grayMode) {
    case MODE_SCREEN: return HABIT_MODE_SCREEN;
    case MODE_FOCUS: return HABIT_MODE_FOCUS;
    case MODE_MONITOR: return HABIT_MODE_MONITOR;
    case MODE_RULES: return HABIT_MODE_RULES;
    case MODE_FOREGROUND: return HABIT_MODE_FOREGROUND;
    case MODE_SELECTED: return HABIT_MODE_SELECTED;
    }
    return HABIT_MODE_NONE;
}

void startHabitMode(int32_t mode)
{
    switch (mode) {
    case HABIT_MODE_SCREEN: startScreenMode(); break;
    case HABIT_MODE_FOCUS: startFocusMode(); break;
    case HABIT_MODE_MONITOR: startMonitorMode(); break;
    case HABIT_MODE_RULES: startRulesMode(); break;
    case HABIT_MODE_FOREGROUND: startForegroundMode(); break;
    case HABIT_MODE_SELECTED:
        if (IsWindow(appState.snoozedTarget))
            startSelectedModeOn(appState.snoozedTarget);
        break;
    }
}

void setIntensity(int32_t percent)
{
    InterlockedExchange(&appState.grayIntensity, percent);
}

// The intensity now: the fade's share while a scheduled start fades in, else the set one.
void applyIntensity(int64_t now)
{
    const HabitSettings &settings = appState.habitSettings;
    if (appState.fadeStart == 0) {
        setIntensity(settings.intensity);
        return;
    }
    int32_t share = habitFadeShare(now - appState.fadeStart, settings.fadeMinutes, settings.intensity);
    // The kernels move in whole percents: each is taken as soon as the fade reaches it.
    setIntensity(share / HABIT_SHARE_PER_PERCENT);
    if (share >= settings.intensity * HABIT_SHARE_PER_PERCENT)
        appState.fadeStart = 0;
}

void applyFullScreenChoice()
{
    bool leave = appState.habitFileState == HABIT_FILE_READ && appState.habitSettings.fullscreen == HABIT_FULLSCREEN_COLOUR;
    InterlockedExchange(&appState.fullScreenColour, leave ? 1 : 0);
}

// Reads the file as it is now into fileText; the settings it holds in *reading.
int32_t readNow(HabitReading *reading, size_t *length)
{
    appState.habitFileSeen = settingsFileWriteTime(SETTINGS_FILE_HABIT, &appState.habitWriteTime);
    int32_t state = readWholeSettingsFile(SETTINGS_FILE_HABIT, fileText, sizeof fileText, length);
    reading->settings = defaultHabitSettings();
    reading->skippedLines = 0;
    if (state == HABIT_FILE_READ)
        readHabitText(fileText, *length, reading);
    return state;
}

void takeReading(int32_t state, const HabitReading &reading)
{
    appState.habitFileState = state;
    appState.habitSkippedLines = reading.skippedLines;
    appState.habitSettings = reading.settings;
    applyFullScreenChoice();
}

void snoozeText(char (&text)[HABIT_MENU_TEXT_BYTES], const LocalClock &clock)
{
    char moment[HABIT_MOMENT_BYTES];
    formatHabitMoment(moment, appState.habitState.snoozeUntil, clock);
    formatText(text, "Colour until %s", moment);
}

// A part's text, set only when it differs: the tick would otherwise redraw it twice a second.
void keepStatusText(WPARAM part, const char *text)
{
    char shown[TEXT_STATUS] = {};
    LRESULT length = SendMessageA(appState.statusBar, SB_GETTEXTLENGTHA, part, 0);
    if (LOWORD(length) < sizeof shown)
        SendMessageA(appState.statusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(shown));
    if (strcmp(shown, text) != 0)
        SendMessageA(appState.statusBar, SB_SETTEXTA, part, reinterpret_cast<LPARAM>(text));
}

// "Colour until 22:40" while a snooze lasts, in the gray part, where "Gray: OFF"
// would say less (the stopped run writes that after the snooze began).
void showSnooze(const LocalClock &clock)
{
    if (appState.habitState.snoozeUntil == 0 || appState.statusBar == nullptr)
        return;
    char note[HABIT_MENU_TEXT_BYTES];
    snoozeText(note, clock);
    keepStatusText(STATUS_PART_GRAY, note);
}

// A snooze is over: the gray part says "Gray: OFF" until a run that starts says otherwise.
void showSnoozeOver()
{
    char gray[TEXT_STATUS];
    formatText(gray, "%s%s", appState.texts.grayLabel, appState.texts.grayOff);
    sayInStatusBar(STATUS_PART_GRAY, gray);
}

void followFile()
{
    if (!settingsFileChanged(SETTINGS_FILE_HABIT, appState.habitFileSeen, appState.habitWriteTime))
        return;
    loadHabit();
    announceReading();
}

void act(const HabitDecision &decision, int64_t now)
{
    if (decision.action == HABIT_STOP) {
        appState.fadeStart = 0;
        startStop();
    } else if (decision.action == HABIT_START) {
        // A fade starts from colour; a start without one shows the set intensity at once.
        appState.fadeStart = decision.fade ? now : 0;
        applyIntensity(now);
        startHabitMode(decision.mode);
    }
}

}  // namespace

void loadHabit()
{
    HabitReading reading;
    size_t length = 0;
    int32_t state = readNow(&reading, &length);
    takeReading(state, reading);
}

void watchHabit(HWND mainWindow)
{
    announceReading();
    SetTimer(mainWindow, HABIT_TIMER_ID, HABIT_TICK_MS, nullptr);
    onHabitTimer();
}

void onHabitTimer()
{
    followFile();
    LocalClock clock = localClockNow();
    int64_t now = localSeconds(clock);
    int32_t running = habitModeOf(runningMode());
    bool snoozing = appState.habitState.snoozeUntil != 0;
    act(habitStep(appState.habitSettings, &appState.habitState, clock, running), now);
    applyIntensity(now);
    if (snoozing && appState.habitState.snoozeUntil == 0)
        showSnoozeOver();
    showSnooze(clock);
}

void noteHandChoice()
{
    bool snoozing = appState.habitState.snoozeUntil != 0;
    habitHandChoice(&appState.habitState);
    appState.fadeStart = 0;
    setIntensity(appState.habitSettings.intensity);
    if (snoozing)
        showSnoozeOver();
}

void currentHabitSettings(HabitSettings *settings)
{
    *settings = appState.habitSettings;
}

bool saveHabitSettings(const HabitSettings &settings)
{
    HabitReading reading;
    size_t length = 0;
    int32_t state = readNow(&reading, &length);
    size_t newLength = 0;
    const char *refusal = nullptr;
    if (state == HABIT_FILE_TOO_LARGE)
        refusal = "habit.txt is too large to change: not saved";
    else if (state == HABIT_FILE_UNREADABLE)
        refusal = "habit.txt cannot be read: not saved";
    else if (!rewriteHabitText(fileText, length, settings, newText, sizeof newText, &newLength))
        refusal = "habit.txt would grow too large: not saved";
    else {
        DWORD error = replaceSettingsFile(SETTINGS_FILE_HABIT, newText, newLength);
        tellSaveOutcome(appState.mainWindow, SETTINGS_FILE_HABIT, error);
        if (error != NO_ERROR)
            refusal = "habit.txt cannot be written: not saved";
    }
    if (refusal != nullptr) {
        sayInStatusBar(STATUS_PART_NOTES, refusal);
        return false;
    }
    // Our own write is no change to announce; what it says is read back, so the
    // file and the schedule agree.
    loadHabit();
    onHabitTimer();
    return true;
}

void snoozeGray(int32_t minutes)
{
    LocalClock clock = localClockNow();
    int32_t running = habitModeOf(runningMode());
    if (running == HABIT_MODE_SELECTED)
        appState.snoozedTarget = appState.selectedOverlayTarget;
    habitSnooze(&appState.habitState, clock, minutes, running);
    appState.fadeStart = 0;
    if (running != HABIT_MODE_NONE)
        startStop();
    showSnooze(clock);
}

void endSnooze()
{
    if (appState.habitState.snoozeUntil == 0)
        return;
    // The step ends a snooze whose time is up: now is its end.
    appState.habitState.snoozeUntil = localSeconds(localClockNow());
    onHabitTimer();
}

bool habitSnoozing()
{
    return appState.habitState.snoozeUntil != 0;
}

void habitMenuTexts(HabitMenuTexts *texts)
{
    LocalClock clock = localClockNow();
    formatText(texts->gray, "%s%s", appState.texts.grayLabel,
               runningMode() != MODE_NONE ? appState.texts.grayOn : appState.texts.grayOff);
    texts->snooze[0] = '\0';
    if (appState.habitState.snoozeUntil != 0)
        snoozeText(texts->snooze, clock);
    formatHabitChange(texts->next, nextHabitChange(appState.habitSettings, clock), clock);
}
