// rules.txt on disk (see rulesFile.h), where settingsFolder.h says; it is
// replaced the way every settings file is (settingsSave.h).
#include "rulesFile.h"

#include <psapi.h>

#include "boundedText.h"
#include "listRules.h"
#include "settingsFolder.h"
#include "settingsRead.h"
#include "settingsSave.h"
#include "textSizes.h"
#include "wideText.h"

static_assert(RULES_FILE_MISSING == WHOLE_FILE_MISSING && RULES_FILE_READ == WHOLE_FILE_READ &&
                  RULES_FILE_TOO_LARGE == WHOLE_FILE_TOO_LARGE && RULES_FILE_UNREADABLE == WHOLE_FILE_UNREADABLE,
              "rules.txt reads in the settings files' states");

bool rulesFileWriteTime(FILETIME *writeTime)
{
    return settingsFileWriteTime(SETTINGS_FILE_RULES, writeTime);
}

int32_t readRulesFile(char (&text)[RULES_FILE_LIMIT], size_t *length)
{
    return readWholeSettingsFile(SETTINGS_FILE_RULES, text, RULES_FILE_LIMIT, length);
}

DWORD replaceRulesFile(const char *text, size_t length)
{
    return replaceSettingsFile(SETTINGS_FILE_RULES, text, length);
}

bool programNameOfProcess(DWORD processId, char (&name)[RULE_NAME_BYTES])
{
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId);
    if (process == nullptr)
        return false;
    // The image file works for processes of either bitness, from XP on; in UTF-16,
    // so that a name in any script reaches the rules whole.
    wchar_t path[TEXT_PATH] = {};
    DWORD length = GetProcessImageFileNameW(process, path, TEXT_PATH - 1);
    CloseHandle(process);
    return length != 0 && utf8FromWide(name, applicationNameOf(path));
}
