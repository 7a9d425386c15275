// rules.txt on disk (see rulesFile.h). The new file goes beside the old one, so
// the move stays on one volume and replaces the old file in one step.
#include "rulesFile.h"

#include <psapi.h>

#include "boundedText.h"
#include "listRules.h"
#include "textSizes.h"
#include "wideText.h"

namespace {

const char NEW_RULES_FILE_NAME[] = "rules.txt.new";

bool writeWhole(HANDLE file, const char *text, size_t length)
{
    DWORD written = 0;
    return WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr) && written == length &&
           FlushFileBuffers(file);
}

}  // namespace

bool rulesFileWriteTime(FILETIME *writeTime)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(RULES_FILE_NAME, GetFileExInfoStandard, &data))
        return false;
    *writeTime = data.ftLastWriteTime;
    return true;
}

int32_t readRulesFile(char (&text)[RULES_FILE_LIMIT], size_t *length)
{
    *length = 0;
    // Shared for reading and writing: a person may have it open in an editor.
    HANDLE file = CreateFileA(RULES_FILE_NAME, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
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

bool replaceRulesFile(const char *text, size_t length)
{
    HANDLE file = CreateFileA(NEW_RULES_FILE_NAME, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool written = writeWhole(file, text, length);
    CloseHandle(file);
    constexpr DWORD MOVE_FLAGS = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    if (written && MoveFileExA(NEW_RULES_FILE_NAME, RULES_FILE_NAME, MOVE_FLAGS))
        return true;
    DeleteFileA(NEW_RULES_FILE_NAME);
    return false;
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
