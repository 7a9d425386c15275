// Load and save of "config.txt". Both open the file without sharing. Saving
// rewrites the line in place and keeps a longer old tail (every line we write
// ends in a blank, so the reader ignores leftovers), except where that tail would
// leave the file too long to be read back: then the file is cut to the new line,
// so the settings just saved are the ones the next start loads.
#include "settingsFile.h"

#include <windows.h>

#include "appState.h"
#include "graySettings.h"

namespace {

// The whole file, NUL-terminated; false when it is too large or unreadable.
bool readSmallFile(HANDLE file, char (&text)[SETTINGS_READ_BUFFER_BYTES])
{
    DWORD sizeHigh = 0;
    DWORD sizeLow = GetFileSize(file, &sizeHigh);
    if (sizeLow == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        return false;
    if (sizeHigh != 0 || sizeLow > static_cast<DWORD>(SETTINGS_MAX_FILE_BYTES))
        return false;

    DWORD bytesRead = 0;
    if (!ReadFile(file, text, SETTINGS_MAX_FILE_BYTES, &bytesRead, nullptr))
        return false;
    text[bytesRead] = '\0';
    return true;
}

void cutUnreadableTail(HANDLE file, DWORD lineLength)
{
    DWORD sizeHigh = 0;
    DWORD sizeLow = GetFileSize(file, &sizeHigh);
    if (sizeHigh == 0 && sizeLow <= static_cast<DWORD>(SETTINGS_MAX_FILE_BYTES))
        return;
    if (SetFilePointer(file, static_cast<LONG>(lineLength), nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER)
        SetEndOfFile(file);
}

}  // namespace

int loadSettings()
{
    HANDLE file = CreateFileA(SETTINGS_FILE_NAME, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_READONLY, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;

    char text[SETTINGS_READ_BUFFER_BYTES] = {};
    int result = readSmallFile(file, text) ? parseSettingsText(text, &appState.graySettings) : -1;
    CloseHandle(file);
    return result;
}

unsigned __stdcall saveSettings(void *)
{
    EnterCriticalSection(&appState.settingsLock);
    char line[SETTINGS_LINE_BYTES] = {};
    DWORD length = static_cast<DWORD>(formatSettingsLine(appState.graySettings, line, sizeof line));

    HANDLE file = CreateFileA(SETTINGS_FILE_NAME, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        if (WriteFile(file, line, length, &written, nullptr) && written == length)
            cutUnreadableTail(file, length);
        CloseHandle(file);
    }
    LeaveCriticalSection(&appState.settingsLock);
    return 0;
}
