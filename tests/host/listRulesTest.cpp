// The window list's pure rules: device paths to drive-letter paths, which drives
// enter the map, the comparison of a scan with the rows on display, the route to
// a process's name and the application name in a path.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listRules.h"

namespace {

struct Drive {
    const char *driveName;
    const char *deviceName;
};

// Maps are built once and kept, as the program keeps its own.
DriveMap mapOf(const std::vector<Drive> &drives)
{
    DriveMap map = {};
    for (const Drive &drive : drives)
        addDriveMapEntry(map, drive.driveName, drive.deviceName);
    return map;
}

const char VOLUME_1[] = "\\Device\\HarddiskVolume1";
const char VOLUME_2[] = "\\Device\\HarddiskVolume2";
const char VOLUME_10[] = "\\Device\\HarddiskVolume10";

}  // namespace

TEST(ToDrivePath, TranslatesByTheFirstDriveWhoseDeviceIsAWholePathElement)
{
    const DriveMap plain = mapOf({{"C:", VOLUME_2}, {"D:", VOLUME_1}});
    const DriveMap sameDevice = mapOf({{"E:", VOLUME_1}, {"F:", VOLUME_1}});
    const DriveMap oneBeforeTen = mapOf({{"G:", VOLUME_1}, {"H:", VOLUME_10}});
    const DriveMap none = mapOf({});
    const std::string longRest = "\\" + std::string(TEXT_PATH, 'x');
    const struct {
        const char *what;
        const DriveMap *map;
        std::string devicePath;
        int32_t result;
        std::string out;   // "unchanged" when out must keep what it held
    } cases[] = {
        {"first drive", &plain, "\\Device\\HarddiskVolume2\\Windows\\notepad.exe", 1, "C:\\Windows\\notepad.exe"},
        {"later drive", &plain, "\\Device\\HarddiskVolume1\\Windows\\notepad.exe", 1, "D:\\Windows\\notepad.exe"},
        {"equal device name", &plain, VOLUME_1, -1, "unchanged"},
        {"device name and backslash only", &plain, std::string(VOLUME_1) + "\\", 1, "D:\\"},
        {"case difference", &plain, "\\device\\harddiskvolume1\\a.exe", -1, "unchanged"},
        {"drive attached later", &plain, "\\Device\\HarddiskVolume7\\a.exe", -1, "unchanged"},
        {"network path", &plain, "\\Device\\Mup\\server\\share\\a.exe", -1, "unchanged"},
        {"same device on two drives", &sameDevice, "\\Device\\HarddiskVolume1\\a.exe", 1, "E:\\a.exe"},
        {"volume 1 before volume 10", &oneBeforeTen, "\\Device\\HarddiskVolume10\\a.exe", 1, "H:\\a.exe"},
        {"no drives", &none, "\\Device\\HarddiskVolume1\\a.exe", -1, "unchanged"},
        {"cut to the buffer", &plain, VOLUME_1 + longRest, 1, ("D:" + longRest).substr(0, TEXT_PATH - 1)},
        {"empty path", &plain, "", -1, "unchanged"},
    };
    for (const auto &c : cases) {
        char out[TEXT_PATH] = "unchanged";
        EXPECT_EQ(c.result, toDrivePath(*c.map, c.devicePath.c_str(), out)) << c.what;
        EXPECT_EQ(c.out, out) << c.what;
    }
}

TEST(AddDriveMapEntry, LeavesOutADriveWithoutDeviceName)
{
    DriveMap map = {};
    EXPECT_EQ(1, addDriveMapEntry(map, "C:", VOLUME_1));
    EXPECT_EQ(-1, addDriveMapEntry(map, "D:", ""));
    EXPECT_EQ(1, addDriveMapEntry(map, "E:", VOLUME_2));
    char out[TEXT_PATH] = {};
    // An empty device name would have matched every path from D: on.
    EXPECT_EQ(1, toDrivePath(map, "\\Device\\HarddiskVolume2\\a.exe", out));
    EXPECT_STREQ("E:\\a.exe", out);
}

namespace {

struct Listed {
    int32_t isGrayTarget;
    int windowHandle;
    Listed *next;
};

// A linked list of windows (by handle), marked where the handle is marked.
std::vector<Listed> listOf(const std::vector<int> &handles, int marked = 0)
{
    std::vector<Listed> list(handles.size());
    for (size_t i = 0; i < handles.size(); i++)
        list[i] = {handles[i] == marked ? 1 : 0, handles[i], i + 1 < handles.size() ? &list[i + 1] : nullptr};
    return list;
}

Listed *headOf(std::vector<Listed> &list) { return list.empty() ? nullptr : &list[0]; }

}  // namespace

TEST(CompareWindowLists, RebuildsOnlyForAnotherSetOfWindowsAndMarksOnlyForAMarkChange)
{
    const struct {
        const char *what;
        std::vector<int> scanned;
        int scannedMark;
        std::vector<int> shown;
        int shownMark;
        int32_t result;
    } cases[] = {
        {"both empty", {}, 0, {}, 0, LIST_SAME},
        {"first scan", {1, 2}, 0, {}, 0, LIST_CHANGED},
        {"same windows, same order", {1, 2, 3}, 0, {1, 2, 3}, 0, LIST_SAME},
        {"same windows in a new order", {3, 1, 2}, 0, {1, 2, 3}, 0, LIST_SAME},
        {"a window opened", {4, 1, 2, 3}, 0, {1, 2, 3}, 0, LIST_CHANGED},
        {"a window closed", {1, 3}, 0, {1, 2, 3}, 0, LIST_CHANGED},
        {"one window replaced by another", {1, 2, 4}, 0, {1, 2, 3}, 0, LIST_CHANGED},
        {"a window was marked", {2, 1, 3}, 2, {1, 2, 3}, 0, LIST_MARKS_CHANGED},
        {"the mark moved", {1, 2, 3}, 3, {1, 2, 3}, 1, LIST_MARKS_CHANGED},
        {"the mark went", {1, 2, 3}, 0, {1, 2, 3}, 1, LIST_MARKS_CHANGED},
        {"the mark stayed", {3, 2, 1}, 2, {1, 2, 3}, 2, LIST_SAME},
        {"a mark and another set", {1, 4}, 1, {1, 2}, 0, LIST_CHANGED},
    };
    for (const auto &c : cases) {
        std::vector<Listed> scanned = listOf(c.scanned, c.scannedMark);
        std::vector<Listed> shown = listOf(c.shown, c.shownMark);
        int32_t result = compareWindowLists(headOf(scanned), static_cast<int32_t>(scanned.size()), headOf(shown),
                                            static_cast<int32_t>(shown.size()));
        EXPECT_EQ(c.result, result) << c.what;
        if (result == LIST_CHANGED)
            continue;
        // The rows stay in their old order and carry the scan's marks.
        for (size_t i = 0; i < shown.size(); i++) {
            EXPECT_EQ(c.shown[i], shown[i].windowHandle) << c.what;
            EXPECT_EQ(shown[i].windowHandle == c.scannedMark ? 1 : 0, shown[i].isGrayTarget)
                << c.what << ", window " << shown[i].windowHandle;
        }
    }
}

TEST(IsListableStyle, VisibleEnabledAndNoPopup)
{
    const struct {
        const char *what;
        uint32_t style;
        bool listed;
    } cases[] = {
        {"an overlapped window", 0x10CF0000, true},    // WS_OVERLAPPEDWINDOW | WS_VISIBLE
        {"a hidden window", 0x00CF0000, false},
        {"a disabled window", 0x18CF0000, false},      // a window under its modal dialog
        {"a pop-up", 0x90000000, false},
        {"a visible pop-up with caption", 0x90C80000, false},
        {"a vanished window (style 0)", 0, false},
        {"a visible child-less tool window", 0x10C00000, true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.listed, isListableStyle(c.style)) << c.what;
}

TEST(ChooseNameRoute, ModuleFor32BitProcessesImageFor64BitOnes)
{
    const struct {
        int32_t nativeBits;
        bool canAsk, answered, isWow64;
        NameRoute route;
    } cases[] = {
        {32, true, false, false, ROUTE_MODULE},   // a 32-bit system never asks
        {32, false, false, false, ROUTE_MODULE},
        {64, true, true, true, ROUTE_MODULE},     // a 32-bit process on a 64-bit system
        {64, true, true, false, ROUTE_IMAGE},     // a 64-bit process
        {64, true, false, false, ROUTE_NONE},     // the process could not be opened
        {64, false, false, false, ROUTE_IMAGE},   // no IsWow64Process: the route that serves both
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.route, chooseNameRoute(c.nativeBits, c.canAsk, c.answered, c.isWow64))
            << c.nativeBits << " bits, can ask " << c.canAsk << ", answered " << c.answered << ", WOW64 " << c.isWow64;
}

TEST(ApplicationNameOf, TheTextAfterTheLastBackslash)
{
    const struct {
        const char *path;
        const char *name;
    } cases[] = {
        {"C:\\Windows\\notepad.exe", "notepad.exe"},
        {"\\Device\\Mup\\server\\share\\tool.exe", "tool.exe"},   // a path that could not be translated
        {"tool.exe", "tool.exe"},
        {"C:\\folder\\", ""},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_STREQ(c.name, applicationNameOf(c.path)) << c.path;
}
