// The window list's pure rules: drive map, path translation, name route.
#include "listRules.h"

#include <cstdlib>
#include <cstring>

#include "boundedText.h"

int32_t addDriveMapEntry(DriveMap &map, const char *driveName, const char *deviceName)
{
    if (deviceName == nullptr || deviceName[0] == '\0')
        return -1;
    DriveMapEntry *entry = static_cast<DriveMapEntry *>(calloc(1, sizeof(DriveMapEntry)));
    if (entry == nullptr)
        return -1;  // the drive's paths stay untranslated; the names are still shown
    copyText(entry->deviceName, deviceName);
    copyText(entry->driveName, driveName);
    if (map.tail == nullptr)
        map.head = entry;
    else
        map.tail->next = entry;
    map.tail = entry;
    return 1;
}

int32_t toDrivePath(const DriveMap &map, const char *devicePath, char (&out)[TEXT_PATH])
{
    for (const DriveMapEntry *entry = map.head; entry != nullptr; entry = entry->next) {
        size_t length = strlen(entry->deviceName);
        // Volume 1 must not claim volume 10's paths: the name ends at a backslash.
        if (strncmp(devicePath, entry->deviceName, length) != 0 || devicePath[length] != '\\')
            continue;
        copyText(out, entry->driveName);
        appendText(out, devicePath + length);
        return 1;
    }
    return -1;
}

const char *applicationNameOf(const char *path)
{
    const char *lastBackslash = strrchr(path, '\\');
    return lastBackslash != nullptr ? lastBackslash + 1 : path;
}

bool isListableStyle(uint32_t style)
{
    return (style & STYLE_VISIBLE) != 0 && (style & STYLE_DISABLED) == 0 && (style & STYLE_POPUP) == 0;
}

NameRoute chooseNameRoute(int32_t nativeBits, bool canAskWow64, bool answered, bool isWow64)
{
    if (nativeBits != NATIVE_BITS_64)
        return ROUTE_MODULE;
    // Without IsWow64Process the bitness is unknown; the image route serves both.
    if (!canAskWow64)
        return ROUTE_IMAGE;
    if (!answered)
        return ROUTE_NONE;
    return isWow64 ? ROUTE_MODULE : ROUTE_IMAGE;
}
