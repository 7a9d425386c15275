// The window list's pure rules: device paths to drive-letter paths and which drives
// are mapped, the comparison of a scan with the rows on display, which windows are
// listed, and the route to a process's name.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "listRules.h"

namespace {

const wchar_t VOLUME_1[] = L"\\Device\\HarddiskVolume1";
const wchar_t VOLUME_2[] = L"\\Device\\HarddiskVolume2";

DriveMap mapOf(const std::vector<std::pair<const wchar_t *, const wchar_t *>> &drives)
{
    DriveMap map = {};
    for (const auto &drive : drives)
        addDriveMapEntry(map, drive.first, drive.second);
    return map;
}

// A list of windows by handle, linked in order; marked where the handle is marked.
struct Listed {
    int32_t isGrayTarget;
    int windowHandle;
    Listed *next;
};

std::vector<Listed> listOf(const std::vector<int> &handles, int marked)
{
    std::vector<Listed> list(handles.size());
    for (size_t i = 0; i < handles.size(); i++)
        list[i] = {handles[i] == marked, handles[i], i + 1 < handles.size() ? &list[i + 1] : nullptr};
    return list;
}

}  // namespace

TEST(ToDrivePath, TheFirstDriveWhoseDeviceNameIsAWholePathElement)
{
    // D: cannot be named (empty device name) and is left out of the map.
    const DriveMap map = mapOf({{L"C:", VOLUME_2}, {L"D:", L""}, {L"E:", VOLUME_1}, {L"F:", VOLUME_1},
                                {L"G:", L"\\Device\\HarddiskVolume10"}});
    const std::wstring longRest = L"\\" + std::wstring(TEXT_PATH, L'x');
    const struct {
        const char *what;
        std::wstring devicePath;
        int32_t result;
        std::wstring out;   // "unchanged": out keeps what it held
    } cases[] = {
        {"first drive", L"\\Device\\HarddiskVolume2\\Windows\\notepad.exe", 1, L"C:\\Windows\\notepad.exe"},
        {"later drive; same device on two drives", L"\\Device\\HarddiskVolume1\\a.exe", 1, L"E:\\a.exe"},
        {"volume 1 before volume 10", L"\\Device\\HarddiskVolume10\\a.exe", 1, L"G:\\a.exe"},
        {"equal device name", VOLUME_1, -1, L"unchanged"},
        {"case difference", L"\\device\\harddiskvolume1\\a.exe", -1, L"unchanged"},
        {"drive attached later", L"\\Device\\HarddiskVolume7\\a.exe", -1, L"unchanged"},
        {"cut to the buffer", VOLUME_1 + longRest, 1, (L"E:" + longRest).substr(0, TEXT_PATH - 1)},
    };
    for (const auto &c : cases) {
        wchar_t out[TEXT_PATH] = L"unchanged";
        EXPECT_EQ(c.result, toDrivePath(map, c.devicePath.c_str(), out)) << c.what;
        EXPECT_EQ(c.out, out) << c.what;
    }
    // Untranslated paths still give a name. In Shift-JIS the second byte of U+8868
    // is a backslash; in UTF-16 no letter holds one.
    EXPECT_EQ(std::wstring(L"a.exe"), applicationNameOf(L"\\Device\\Mup\\server\\a.exe"));
    EXPECT_EQ(std::wstring(L"a.exe"), applicationNameOf(L"a.exe"));
    EXPECT_EQ(std::wstring(L"\x8868.exe"), applicationNameOf(L"C:\\\x65E5\x672C\\\x8868.exe"));
}

TEST(CompareWindowLists, RebuildOnlyForAnotherSetOfWindows)
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
        {"same windows in a new order", {3, 1, 2}, 0, {1, 2, 3}, 0, LIST_SAME},
        {"a window opened", {4, 1, 2, 3}, 0, {1, 2, 3}, 0, LIST_CHANGED},
        {"a window closed", {1, 3}, 0, {1, 2, 3}, 0, LIST_CHANGED},
        {"one window replaced", {1, 2, 4}, 0, {1, 2, 3}, 0, LIST_CHANGED},
        {"a mark change in a new order", {2, 1, 3}, 2, {1, 2, 3}, 0, LIST_MARKS_CHANGED},
        {"the mark moved", {1, 2, 3}, 3, {1, 2, 3}, 1, LIST_MARKS_CHANGED},
        {"the mark went", {1, 2, 3}, 0, {1, 2, 3}, 1, LIST_MARKS_CHANGED},
    };
    for (const auto &c : cases) {
        std::vector<Listed> scanned = listOf(c.scanned, c.scannedMark);
        std::vector<Listed> shown = listOf(c.shown, c.shownMark);
        EXPECT_EQ(c.result, compareWindowLists(scanned.empty() ? nullptr : &scanned[0],
                                               static_cast<int32_t>(scanned.size()),
                                               shown.empty() ? nullptr : &shown[0], static_cast<int32_t>(shown.size())))
            << c.what;
        // Unless rebuilt, the rows keep their order and take the scan's marks.
        for (size_t i = 0; c.result != LIST_CHANGED && i < shown.size(); i++)
            EXPECT_EQ(c.shown[i] == c.scannedMark, shown[i].isGrayTarget) << c.what << ", row " << i;
    }
}

TEST(IsListableStyle, VisibleEnabledAndNoPopup)
{
    EXPECT_TRUE(isListableStyle(STYLE_VISIBLE | 0x00CF0000));   // WS_OVERLAPPEDWINDOW
    EXPECT_FALSE(isListableStyle(0x00CF0000));                  // hidden
    EXPECT_FALSE(isListableStyle(STYLE_VISIBLE | STYLE_DISABLED | 0x00CF0000));   // under a modal dialog
    EXPECT_FALSE(isListableStyle(STYLE_VISIBLE | STYLE_POPUP));
    EXPECT_FALSE(isListableStyle(0));                           // a window that vanished
}

TEST(ChooseNameRoute, ModuleFor32BitProcessesImageFor64BitOnes)
{
    const struct {
        int32_t nativeBits;
        bool canAsk, answered, isWow64;
        NameRoute route;
    } cases[] = {
        {32, true, false, false, ROUTE_MODULE},   // a 32-bit system never asks
        {64, true, true, true, ROUTE_MODULE},     // a 32-bit process on a 64-bit system
        {64, true, true, false, ROUTE_IMAGE},     // a 64-bit process
        {64, true, false, false, ROUTE_NONE},     // a process that could not be opened
        {64, false, false, false, ROUTE_IMAGE},   // no IsWow64Process: the route that serves both
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.route, chooseNameRoute(c.nativeBits, c.canAsk, c.answered, c.isWow64))
            << c.nativeBits << " bits, asked " << c.canAsk << ", answered " << c.answered << ", WOW64 " << c.isWow64;
}
