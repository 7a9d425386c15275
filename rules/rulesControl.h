// The program rules as TALVERO keeps them (program names in UTF-8; the file is
// UTF-8, older files' lines in the ANSI code page): read from rules.txt at start and again
// when its write time changes (a person may edit it while TALVERO runs), and set
// from the window list's row menu. The file is read and written on the UI thread
// only; the rules are shared under settingsLock with the threads that use them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "programRules.h"

// Reads rules.txt; at start, before any other thread uses the rules.
void loadProgramRules();
// Says in the status bar what the first reading found, and starts watching the file.
void watchProgramRules(HWND mainWindow);
// The watch timer's tick: reads the file again when its write time changed.
void onRulesWatchTimer();

// The rule a program has now.
int32_t programRuleOf(const char *programName);
// Writes the program's rule into rules.txt and hands it to every loop; false, said
// in the status bar, when the file cannot take it (then nothing changes).
bool setProgramRule(const char *programName, int32_t kind);
// Copies the rules when they changed since *version, which it updates; any thread.
bool copyProgramRulesIfChanged(ProgramRules *rules, uint32_t *version);
