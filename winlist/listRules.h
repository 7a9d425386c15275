// The window list's pure rules, shared by the Windows build and the host tests:
// the drive map and the translation of device paths, the comparison of a fresh
// scan with the list on display, and the choice of the route to a process's name.
// No platform headers; the drive map is read-only once built, so no lock.
#pragma once

#include <cstddef>
#include <cstdint>

#include "textSizes.h"

constexpr size_t DEVICE_NAME_SIZE = 128;

// One logical drive: its device name (\Device\HarddiskVolume2) and its drive name
// (D:), in UTF-16 as the system gives them.
struct DriveMapEntry {
    wchar_t deviceName[DEVICE_NAME_SIZE];
    wchar_t driveName[TEXT_SMALL];
    DriveMapEntry *next;
};

// The drives in the order the system lists them; tail is the entry to append after.
struct DriveMap {
    DriveMapEntry *head;
    DriveMapEntry *tail;
};

// Appends a drive; 1, or -1 when the drive is left out: an empty device name (it
// would match every path) or no memory for the entry.
int32_t addDriveMapEntry(DriveMap &map, const wchar_t *driveName, const wchar_t *deviceName);

// Writes the drive-letter form of a device path into out and returns 1, or returns
// -1 and leaves out untouched. A device name matches only as a whole path element
// (a backslash follows it); the first matching drive wins.
int32_t toDrivePath(const DriveMap &map, const wchar_t *devicePath, wchar_t (&out)[TEXT_PATH]);

// The application name in a path: the text after its last backslash, or the whole
// path when it has none. Wide text, where a backslash is never part of a letter
// (in a double-byte code page it can be a letter's second byte).
const wchar_t *applicationNameOf(const wchar_t *path);

// Window style bits, as the system defines them (WS_VISIBLE, WS_DISABLED, WS_POPUP).
constexpr uint32_t STYLE_VISIBLE = 0x10000000;
constexpr uint32_t STYLE_DISABLED = 0x08000000;
constexpr uint32_t STYLE_POPUP = 0x80000000;

// Whether a top-level window with this style is listed: visible, enabled and no
// pop-up (menus, tooltips, our own overlays are no windows a person picks). Its
// parent is the desktop, so its own visible bit is its visibility; a window that
// vanished reads style 0 and is left out.
bool isListableStyle(uint32_t style);

// How a process's name and image path are found. The module route reads the main
// module, which a 64-bit process cannot be read for from a 32-bit one; the image
// route asks for the image file (device form) and works for any process.
enum NameRoute : int32_t {
    ROUTE_NONE = 0,  // nothing known of the process: listed without a name
    ROUTE_MODULE = 1,
    ROUTE_IMAGE = 2,
};

// appState.nativeBits on a 64-bit system.
constexpr int32_t NATIVE_BITS_64 = 64;

// canAskWow64: IsWow64Process exists; answered: the call succeeded; isWow64: its answer.
NameRoute chooseNameRoute(int32_t nativeBits, bool canAskWow64, bool answered, bool isWow64);

// What a fresh scan means for the rows on display.
enum ListComparison : int32_t {
    LIST_CHANGED = -1,        // another set of windows: show the scan
    LIST_SAME = 1,            // same windows (in any order), same marks: leave the rows
    LIST_MARKS_CHANGED = 2,   // same windows, a gray mark moved: the shown list's marks are updated
};

// Compares the list a scan built with the list on display (entries linked by next,
// each with windowHandle and isGrayTarget). Order, titles, names and icons are not
// compared, so a new z-order or a changed title does not rebuild the rows. On
// LIST_MARKS_CHANGED the shown entries carry the scan's marks.
template <typename Entry>
int32_t compareWindowLists(const Entry *scanned, int32_t scannedCount, Entry *shown, int32_t shownCount)
{
    if (scannedCount != shownCount)
        return LIST_CHANGED;
    bool marksChanged = false;
    for (Entry *old = shown; old != nullptr; old = old->next) {
        const Entry *found = scanned;
        while (found != nullptr && found->windowHandle != old->windowHandle)
            found = found->next;
        if (found == nullptr)
            return LIST_CHANGED;
        if (found->isGrayTarget != old->isGrayTarget) {
            old->isGrayTarget = found->isGrayTarget;
            marksChanged = true;
        }
    }
    return marksChanged ? LIST_MARKS_CHANGED : LIST_SAME;
}
