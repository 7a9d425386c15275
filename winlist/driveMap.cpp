// buildDriveMap: the logical drives and their device names into appState.driveMap.
// UI thread, during WM_CREATE; the translation itself is toDrivePath (listRules).
#include "driveMap.h"

#include <windows.h>

#include <cwchar>

#include "appState.h"
#include "boundedText.h"

namespace {

// Every root string takes 4 characters (D:\ and its NUL): all 26 drives fit with the final NUL.
constexpr DWORD DRIVE_STRINGS_SIZE = 128;

}  // namespace

int32_t buildDriveMap()
{
    wchar_t drives[DRIVE_STRINGS_SIZE] = {};
    DWORD length = GetLogicalDriveStringsW(DRIVE_STRINGS_SIZE, drives);
    if (length == 0 || length >= DRIVE_STRINGS_SIZE)
        return -1;
    for (DWORD at = 0; at < length && drives[at] != L'\0'; at += wcslen(drives + at) + 1) {
        wchar_t driveName[TEXT_SMALL];
        copyText(driveName, drives + at);
        wchar_t *backslash = wcschr(driveName, L'\\');
        if (backslash != nullptr)
            *backslash = L'\0';
        // A drive whose device cannot be named is left out rather than entered with
        // a stale or empty name, which would claim other drives' paths.
        wchar_t deviceName[DEVICE_NAME_SIZE] = {};
        if (QueryDosDeviceW(driveName, deviceName, DEVICE_NAME_SIZE) == 0)
            continue;
        addDriveMapEntry(appState.driveMap, driveName, deviceName);
    }
    return 1;
}
