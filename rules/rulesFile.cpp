// rules.txt on disk (see rulesFile.h), where settingsFolder.h says; it is
// replaced the way every settings file is (settingsSave.h).
#include "rulesFile.h"

#include <psapi.h>

#include "boundedText.h"
#include "listRules.h"
#include "settingsFolder.h"
#include "settingsSave.h"
#include "textSizes.h"
#include "wideText.h"

bool rulesFileWriteTime(FILETIME *writeTime)
{
    wchar_t path[MAX_PATH];
    settingsFileToRead(SETTINGS_FILE_RULES, path);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return false;
    *writeTime = data.ftLastWriteTime;
    return true;
}

int32_t readRulesFile(char (&text)[RULES_FILE_LIMIT], size_t *length)
{
    *length = 0;
    wchar_t path[MAX_PATH];
    settingsFileToRead(SETTINGS_FILE_RULES, path);
    // Shared for reading and writing: a person may have it open in an editor.
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? RULES_FILE_MISSING : RULES_FILE_UNREADABLE;
    DWORD sizeHigh = 0;
    DWORD sizeLow = GetFileSize(file, &sizeHigh);
    int32_t state = RULES_FILE_READ;
    DWORD read = 0;
    if (sizeLow == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        state = RULES_FILE_UNREADABLE;
    else if (sizeHigh != 0 || sizeLow > RULES_FILE_LIMIT)
        state = RULES_FILE_TOO_LARGE;
    else if (!ReadFile(file, text, sizeLow, &read, nullptr))
        state = RULES_FILE_UNREADABLE;
    CloseHandle(file);
    *length = read;
    return state;
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
