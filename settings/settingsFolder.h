// Where TALVERO keeps config.txt and rules.txt: the folder it starts in when that
// can be written, else %APPDATA%\TALVERO (see settingsPlace.h). Chosen once in
// WM_CREATE before the settings are loaded; read-only afterwards, so any thread
// may ask for the files' paths.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cwchar>

#include "settingsPlace.h"

// Probes the start folder and sets appState's startFolder, settingsFolder and
// settingsFolderKind. UI thread, before loadSettings.
void chooseSettingsFolder();

// "config.txt" or "rules.txt".
const wchar_t *settingsFileName(int32_t file);
// The file's path in the settings folder: where it is saved. False (and an empty
// path) when it does not fit.
bool settingsFilePath(int32_t file, wchar_t (&path)[MAX_PATH]);
// The file to read: the settings folder's, or the start folder's while only that one
// exists (settingsSource). A missing file gives its settings-folder path.
void settingsFileToRead(int32_t file, wchar_t (&path)[MAX_PATH]);

// first + second into dest, whole or not at all: a cut path would name another
// file. False, with dest empty, when it does not fit.
inline bool joinWholeText(wchar_t *dest, size_t size, const wchar_t *first, const wchar_t *second)
{
    size_t firstLength = wcslen(first);
    size_t secondLength = wcslen(second);
    if (size == 0)
        return false;
    dest[0] = L'\0';
    if (firstLength + secondLength >= size)
        return false;
    wmemcpy(dest, first, firstLength);
    wmemcpy(dest + firstLength, second, secondLength);
    dest[firstLength + secondLength] = L'\0';
    return true;
}
