// "rules.txt" in the settings folder, beside "config.txt": read whole, and
// replaced safely (a new file written fully, then moved over the old one, so a
// crash or a full disk never leaves half a file). UI thread.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "programRules.h"

constexpr char RULES_FILE_NAME[] = "rules.txt";

// The file's last write time; false when there is no file.
bool rulesFileWriteTime(FILETIME *writeTime);
// The whole file into text (at most RULES_FILE_LIMIT bytes); its state.
int32_t readRulesFile(char (&text)[RULES_FILE_LIMIT], size_t *length);
// Writes text into a new file and moves it over rules.txt; NO_ERROR, or the
// system's error with rules.txt untouched.
DWORD replaceRulesFile(const char *text, size_t length);

// The file name of a process's program ("mspaint.exe") in UTF-8, as its rules name
// it; false when the process cannot be asked or the name is too long for a rule.
// Any thread.
bool programNameOfProcess(DWORD processId, char (&name)[RULE_NAME_BYTES]);
