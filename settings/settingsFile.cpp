// Load and save of "config.txt". Both open the file without sharing. A save
// replaces the file whole (settingsSave.h), so a failed one leaves it as it was.
// The new file keeps the old one's tail beyond the new line (every line we write
// ends in a blank, so the reader ignores leftovers), except where that tail would
// leave the file too long to be read back.
#include "settingsFile.h"

#include <windows.h>

#include "appState.h"
#include "graySettings.h"
#include "settingsFolder.h"
#include "settingsSave.h"

namespace {

// The whole file, NUL-terminated, and its length; false when it is too large or unreadable.
bool readSmallFile(HANDLE file, char (&text)[SETTINGS_READ_BUFFER_BYTES], size_t *length)
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
    *length = bytesRead;
    return true;
}

// The file at path, read whole; false when it cannot be.
bool readSettingsFile(const wchar_t *path, char (&text)[SETTINGS_READ_BUFFER_BYTES], size_t *length)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_READONLY, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool read = readSmallFile(file, text, length);
    CloseHandle(file);
    return read;
}

}  // namespace

int loadSettings()
{
    wchar_t path[MAX_PATH];
    settingsFileToRead(SETTINGS_FILE_CONFIG, path);
    char text[SETTINGS_READ_BUFFER_BYTES] = {};
    size_t length = 0;
    return readSettingsFile(path, text, &length) ? parseSettingsText(text, &appState.graySettings) : -1;
}

// The file is written outside settingsLock, so a frame never waits for the disk;
// saves do not overlap, since the dialog waits for each before it goes on.
unsigned __stdcall saveSettings(void *outcome)
{
    EnterCriticalSection(&appState.settingsLock);
    GraySettings settings = appState.graySettings;
    LeaveCriticalSection(&appState.settingsLock);
    char line[SETTINGS_LINE_BYTES] = {};
    size_t lineLength = formatSettingsLine(settings, line, sizeof line);

    wchar_t path[MAX_PATH];
    char old[SETTINGS_READ_BUFFER_BYTES] = {};
    size_t oldLength = 0;
    if (!settingsFilePath(SETTINGS_FILE_CONFIG, path) || !readSettingsFile(path, old, &oldLength))
        oldLength = 0;
    char content[SETTINGS_READ_BUFFER_BYTES] = {};
    size_t length = settingsFileContent(old, oldLength, line, lineLength, content, sizeof content);
    DWORD error = replaceSettingsFile(SETTINGS_FILE_CONFIG, content, length);
    if (outcome != nullptr)
        *static_cast<DWORD *>(outcome) = error;
    return 0;
}
