// Safe saves of the settings files (see settingsSave.h). The new bytes go to
// "NAME.new" beside the file and MoveFileExW puts them in its place: it replaces
// in one step from Windows XP on, and fails, leaving the old file, where that file
// is read-only. A link is followed first, or the move would replace the link.
#include "settingsSave.h"

#include "appState.h"
#include "resource.h"
#include "settingsFolder.h"
#include "settingsPlace.h"
#include "textSizes.h"

namespace {

const wchar_t NEW_FILE_SUFFIX[] = L".new";
// A followed link may name a long path (the "\\?\" form allows one).
constexpr size_t TARGET_PATH_CHARS = TEXT_PATH;
constexpr DWORD MOVE_FLAGS = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

typedef DWORD(WINAPI *GetFinalPathNameByHandleWFn)(HANDLE file, LPWSTR path, DWORD size, DWORD flags);

// The file a path leads to. Windows XP has neither file links nor
// GetFinalPathNameByHandleW: there, and for a file not made yet, it is the path.
void fileBehind(const wchar_t *path, wchar_t (&target)[TARGET_PATH_CHARS])
{
    joinWholeText(target, TARGET_PATH_CHARS, path, L"");
    GetFinalPathNameByHandleWFn finalPath = reinterpret_cast<GetFinalPathNameByHandleWFn>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetFinalPathNameByHandleW")));
    if (finalPath == nullptr)
        return;
    // No access asked: this opens even a file that another program holds unshared.
    HANDLE file = CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    wchar_t resolved[TARGET_PATH_CHARS];
    DWORD length = finalPath(file, resolved, TARGET_PATH_CHARS, FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    CloseHandle(file);
    if (length > 0 && length < TARGET_PATH_CHARS)
        joinWholeText(target, TARGET_PATH_CHARS, resolved, L"");
}

DWORD writeNewFile(const wchar_t *path, const char *bytes, size_t length)
{
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return GetLastError();
    DWORD error = NO_ERROR;
    DWORD written = 0;
    if (!WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr) || !FlushFileBuffers(file))
        error = GetLastError();
    else if (written != length)
        error = ERROR_DISK_FULL;
    CloseHandle(file);
    return error;
}

// The system's text for an error, without its line end.
void systemReason(DWORD error, wchar_t (&reason)[TEXT_LONG])
{
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                  reason, TEXT_LONG, nullptr);
    while (length > 0 && (reason[length - 1] == L'\r' || reason[length - 1] == L'\n' || reason[length - 1] == L' '))
        length--;
    reason[length] = L'\0';
}

void loadWideText(UINT id, wchar_t *text, int size)
{
    if (LoadStringW(appState.instance, id, text, size) <= 0)
        text[0] = L'\0';
}

void showSaveFailure(HWND owner, int32_t file, DWORD error)
{
    wchar_t path[MAX_PATH];
    settingsFilePath(file, path);
    wchar_t reason[TEXT_LONG];
    systemReason(error, reason);
    wchar_t format[TEXT_LONG];
    const UINT NOT_SAVED_TEXTS[SETTINGS_FILE_COUNT] = {IDS_SETTINGS_NOT_SAVED, IDS_RULES_NOT_SAVED, IDS_HABIT_NOT_SAVED};
    loadWideText(NOT_SAVED_TEXTS[settingsFileIndex(file)], format, TEXT_LONG);
    wchar_t title[TEXT_MEDIUM];
    loadWideText(IDS_SAVE_FAILED_TITLE, title, TEXT_MEDIUM);
    DWORD_PTR inserts[] = {reinterpret_cast<DWORD_PTR>(path), reinterpret_cast<DWORD_PTR>(reason), error};
    wchar_t text[TEXT_PATH];
    if (FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, format, 0, 0, text, TEXT_PATH,
                       reinterpret_cast<va_list *>(inserts)) == 0)
        joinWholeText(text, TEXT_PATH, path, L"");
    MessageBoxW(owner, text, title, MB_OK | MB_ICONWARNING);
}

}  // namespace

DWORD replaceSettingsFile(int32_t file, const char *bytes, size_t length)
{
    wchar_t path[MAX_PATH];
    wchar_t target[TARGET_PATH_CHARS];
    wchar_t fresh[TARGET_PATH_CHARS];
    if (!settingsFilePath(file, path))
        return ERROR_FILENAME_EXCED_RANGE;
    fileBehind(path, target);
    if (!joinWholeText(fresh, TARGET_PATH_CHARS, target, NEW_FILE_SUFFIX))
        return ERROR_FILENAME_EXCED_RANGE;
    DWORD error = writeNewFile(fresh, bytes, length);
    if (error == NO_ERROR && !MoveFileExW(fresh, target, MOVE_FLAGS))
        error = GetLastError();
    if (error != NO_ERROR)
        DeleteFileW(fresh);
    return error;
}

void tellSaveOutcome(HWND owner, int32_t file, DWORD error)
{
    bool &told = appState.saveFailureTold[settingsFileIndex(file)];
    SaveNotice notice = saveNoticeAfter(told, error == NO_ERROR);
    // Kept before the box shows: its message loop may run the next save.
    told = notice.failureTold;
    if (notice.tell)
        showSaveFailure(owner, file, error);
}
