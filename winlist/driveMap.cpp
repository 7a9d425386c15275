// buildDriveMap: the logical drives and their device names into appState.driveMap.
// UI thread, during WM_CREATE; the translation itself is toDrivePath (listRules).
#include "driveMap.h"

#include <windows.h>

#include <cstring>

#include "appState.h"
#include "boundedText.h"

namespace {

// Every root string takes 4 bytes (D:\ and its NUL): all 26 drives fit with the final NUL.
constexpr DWORD DRIVE_STRINGS_SIZE = 128;

}  // namespace

int32_t buildDriveMap()
{
    char drives[DRIVE_STRINGS_SIZE] = {};
    DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
    if (length == 0 || length >= sizeof drives)
        return -1;
    for (DWORD at = 0; at < length && drives[at] != '\0'; at += strlen(drives + at) + 1) {
        char driveName[TEXT_SMALL];
        copyText(driveName, drives + at);
        char *backslash = strchr(driveName, '\\');
        if (backslash != nullptr)
            *backslash = '\0';
        // A drive whose device cannot be named is left out rather than entered with
        // a stale or empty name, which would claim other drives' paths.
        char deviceName[DEVICE_NAME_SIZE] = {};
        if (QueryDosDeviceA(driveName, deviceName, sizeof deviceName) == 0)
            continue;
        addDriveMapEntry(appState.driveMap, driveName, deviceName);
    }
    return 1;
}
