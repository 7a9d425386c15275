// A settings file read whole (see settingsRead.h), from where settingsFolder.h says.
#include "settingsRead.h"

#include "settingsFolder.h"

bool settingsFileWriteTime(int32_t file, FILETIME *writeTime)
{
    wchar_t path[MAX_PATH];
    settingsFileToRead(file, path);
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data))
        return false;
    *writeTime = data.ftLastWriteTime;
    return true;
}

bool settingsFileChanged(int32_t file, bool seen, const FILETIME &writeTime)
{
    FILETIME now = {};
    bool exists = settingsFileWriteTime(file, &now);
    if (exists != seen)
        return true;
    return exists && (now.dwLowDateTime != writeTime.dwLowDateTime || now.dwHighDateTime != writeTime.dwHighDateTime);
}

int32_t readWholeSettingsFile(int32_t file, char *text, size_t capacity, size_t *length)
{
    *length = 0;
    wchar_t path[MAX_PATH];
    settingsFileToRead(file, path);
    // Shared for reading and writing: a person may have it open in an editor.
    HANDLE handle = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_NOT_FOUND ? WHOLE_FILE_MISSING : WHOLE_FILE_UNREADABLE;
    DWORD sizeHigh = 0;
    DWORD sizeLow = GetFileSize(handle, &sizeHigh);
    int32_t state = WHOLE_FILE_READ;
    DWORD read = 0;
    if (sizeLow == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        state = WHOLE_FILE_UNREADABLE;
    else if (sizeHigh != 0 || sizeLow > capacity)
        state = WHOLE_FILE_TOO_LARGE;
    else if (!ReadFile(handle, text, sizeLow, &read, nullptr))
        state = WHOLE_FILE_UNREADABLE;
    CloseHandle(handle);
    *length = read;
    return state;
}
