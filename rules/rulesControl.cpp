// Program rules: rules.txt read, watched and changed on the UI thread (see
// rulesControl.h). A change is written to the file first and taken into the
// shared rules only once the file holds it, so the file and the screen agree.
#include "rulesControl.h"

#include <commctrl.h>

#include "appState.h"
#include "boundedText.h"
#include "rulesFile.h"
#include "settingsRead.h"
#include "settingsSave.h"
#include "shellRules.h"
#include "wideText.h"

namespace {

constexpr UINT RULES_WATCH_PERIOD_MS = 500;   // a changed file applies within a second

// The file's text and its rewrite: UI thread only.
char fileText[RULES_FILE_LIMIT];
char newText[RULES_FILE_LIMIT];

void shareRules(const ProgramRules &rules)
{
    EnterCriticalSection(&appState.settingsLock);
    appState.programRules = rules;
    appState.rulesVersion++;
    LeaveCriticalSection(&appState.settingsLock);
}

// The frame-rate part, which says nothing while no gray runs.
constexpr WPARAM STATUS_PART_NOTES = 0;

void sayInStatusBar(const char *note)
{
    if (note[0] != '\0' && appState.statusBar != nullptr)
        SendMessageA(appState.statusBar, SB_SETTEXTA, STATUS_PART_NOTES, reinterpret_cast<LPARAM>(note));
}

void announceReading()
{
    char note[TEXT_STATUS];
    rulesReadingNote(note, sizeof note, appState.rulesFileState, appState.rulesSkippedLines);
    sayInStatusBar(note);
}

// Reads the file as it is now into fileText; the rules it holds in *reading.
int32_t readNow(RulesReading *reading, size_t *length)
{
    appState.rulesFileSeen = rulesFileWriteTime(&appState.rulesWriteTime);
    int32_t state = readRulesFile(fileText, length);
    *reading = RulesReading{};
    if (state == RULES_FILE_READ)
        readRulesText(fileText, *length, utf8FromAnsi, reading);
    return state;
}

// Writes the rules and tells the person of a failure (once per failure).
bool writeRules(const char *text, size_t length)
{
    DWORD error = replaceRulesFile(text, length);
    tellSaveOutcome(appState.mainWindow, SETTINGS_FILE_RULES, error);
    return error == NO_ERROR;
}

}  // namespace

void loadProgramRules()
{
    RulesReading reading;
    size_t length = 0;
    appState.rulesFileState = readNow(&reading, &length);
    appState.rulesSkippedLines = reading.skippedLines;
    shareRules(reading.rules);
}

void watchProgramRules(HWND mainWindow)
{
    announceReading();
    SetTimer(mainWindow, RULES_WATCH_TIMER_ID, RULES_WATCH_PERIOD_MS, nullptr);
}

void onRulesWatchTimer()
{
    if (!settingsFileChanged(SETTINGS_FILE_RULES, appState.rulesFileSeen, appState.rulesWriteTime))
        return;
    loadProgramRules();
    announceReading();
}

int32_t programRuleOf(const char *programName)
{
    EnterCriticalSection(&appState.settingsLock);
    int32_t kind = ruleFor(appState.programRules, programName);
    LeaveCriticalSection(&appState.settingsLock);
    return kind;
}

bool setProgramRule(const char *programName, int32_t kind)
{
    RulesReading reading;
    size_t length = 0;
    int32_t state = readNow(&reading, &length);
    size_t newLength = 0;
    const char *refusal = nullptr;
    if (state == RULES_FILE_TOO_LARGE)
        refusal = "rules.txt is too large to change: rule not saved";
    else if (state == RULES_FILE_UNREADABLE)
        refusal = "rules.txt cannot be read: rule not saved";
    else if (!setRule(&reading.rules, programName, kind))
        refusal = "No room for another rule: rule not saved";
    else if (!rewriteRulesText(fileText, length, utf8FromAnsi, programName, kind, newText, sizeof newText,
                               &newLength))
        refusal = "rules.txt would grow too large: rule not saved";
    else if (!writeRules(newText, newLength))
        refusal = "rules.txt cannot be written: rule not saved";
    if (refusal != nullptr) {
        sayInStatusBar(refusal);
        return false;
    }
    // Our own write is no change to announce.
    appState.rulesFileSeen = rulesFileWriteTime(&appState.rulesWriteTime);
    appState.rulesFileState = RULES_FILE_READ;
    appState.rulesSkippedLines = reading.skippedLines;
    shareRules(reading.rules);
    return true;
}

bool copyProgramRulesIfChanged(ProgramRules *rules, uint32_t *version)
{
    EnterCriticalSection(&appState.settingsLock);
    bool changed = appState.rulesVersion != *version;
    if (changed) {
        *rules = appState.programRules;
        *version = appState.rulesVersion;
    }
    LeaveCriticalSection(&appState.settingsLock);
    return changed;
}
