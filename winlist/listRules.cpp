// The window list's pure rules: drive map, path translation, name route.
#include "listRules.h"

#include <cstdlib>
#include <cwchar>

#include "boundedText.h"

int32_t addDriveMapEntry(DriveMap &map, const wchar_t *driveName, const wchar_t *deviceName)
{
    if (deviceName == nullptr || deviceName[0] == L'\0')
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

int32_t toDrivePath(const DriveMap &map, const wchar_t *devicePath, wchar_t (&out)[TEXT_PATH])
{
    for (const DriveMapEntry *entry = map.head; entry != nullptr; entry = entry->next) {
        size_t length = wcslen(entry->deviceName);
        // Volume 1 must not claim volume 10's paths: the name ends at a backslash.
        if (wcsncmp(devicePath, entry->deviceName, length) != 0 || devicePath[length] != L'\\')
            continue;
        copyText(out, entry->driveName);
        appendText(out, devicePath + length);
        return 1;
    }
    return -1;
}

const wchar_t *applicationNameOf(const wchar_t *path)
{
    const wchar_t *lastBackslash = wcsrchr(path, L'\\');
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
