// The window list's platform steps in this test process: the drive map against
// Wine's real drives, and the per-window step against windows the test makes.
// (The stop protocol runs at every shutdown of the end-to-end tests.)
#include <windows.h>
#include <aclapi.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "appState.h"
#include "driveMap.h"
#include "startup.h"
#include "testWorld.h"
#include "windowScan.h"

namespace {

const char TEST_CLASS[] = "TALVERO_LIST_TEST";
constexpr RECT TEST_PLACE = {600, 100, 800, 220};   // away from Wine's tray corner
constexpr size_t LONG_TITLE = 300;
constexpr size_t SUFFIXED_TITLE = 250;

void ensureListWorld()
{
    ensureAppLocks();
    static bool ready = false;
    if (ready)
        return;
    ready = true;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = TEST_CLASS;
    RegisterClassA(&windowClass);
    appState.nativeBits = findNativeBits();
    appState.isWow64Fn = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    buildDriveMap();
}

HWND createListedWindow(const std::string &title, DWORD style = WS_OVERLAPPEDWINDOW)
{
    return CreateWindowExA(0, TEST_CLASS, title.c_str(), style | WS_VISIBLE, TEST_PLACE.left, TEST_PLACE.top,
                           TEST_PLACE.right - TEST_PLACE.left, TEST_PLACE.bottom - TEST_PLACE.top, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// While it lives, this process refuses to be opened, as a process of another user would.
struct ClosedProcess {
    PACL savedAcl = nullptr;
    PSECURITY_DESCRIPTOR saved = nullptr;
    ClosedProcess()
    {
        GetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &savedAcl,
                        nullptr, &saved);
        ACL empty;
        InitializeAcl(&empty, sizeof empty, ACL_REVISION);
        SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &empty,
                        nullptr);
    }
    ~ClosedProcess()
    {
        SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, savedAcl,
                        nullptr);
        LocalFree(saved);
    }
};

// A fresh scan of these windows, with its icons, as the list thread makes one to show.
void scanWindows(std::initializer_list<HWND> windows)
{
    discardScan();
    beginScan();
    for (HWND window : windows)
        listWindowProc(window, 0);
    addScanIcons(LoadIconA(nullptr, IDI_APPLICATION));
}

std::wstring thisProgramsName()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return wcsrchr(path, L'\\') + 1;
}

std::wstring wideOf(const std::string &ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

}  // namespace

// This program's image path in device form comes back as the path it was started from.
TEST(DriveMap, TranslatesThisProgramsImagePathToItsDrivePath)
{
    ensureListWorld();
    wchar_t devicePath[TEXT_PATH] = {};
    ASSERT_NE(0u, GetProcessImageFileNameW(GetCurrentProcess(), devicePath, TEXT_PATH));
    wchar_t modulePath[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, modulePath, MAX_PATH);
    wchar_t drivePath[TEXT_PATH] = {};
    ASSERT_EQ(1, toDrivePath(appState.driveMap, devicePath, drivePath)) << devicePath;
    EXPECT_EQ(0, lstrcmpiW(modulePath, drivePath)) << devicePath << " became " << drivePath;
}

TEST(WindowScanStep, ListsOrSkipsTheTestsWindows)
{
    ensureListWorld();
    const std::string longTitle(LONG_TITLE, 'L');
    const std::string suffixed(SUFFIXED_TITLE, 'S');
    // A 64-bit system cannot tell the bitness of a process it cannot open: listed
    // without a name. A 32-bit one finds no module of it: not listed.
    bool closedListed = appState.nativeBits == NATIVE_BITS_64;
    const struct {
        const char *what;
        std::string title;
        DWORD style;
        bool closed;
        bool listed;
        std::string shownTitle;
        std::wstring appName;
    } cases[] = {
        {"empty title", "", WS_OVERLAPPEDWINDOW, false, true, "", thisProgramsName()},
        {"pop-up", "A pop-up", WS_POPUP, false, false, "", L""},
        {"300 characters", longTitle, WS_OVERLAPPEDWINDOW, false, true, longTitle.substr(0, TEXT_LONG - 1),
         thisProgramsName()},
        {"process not opened", suffixed, WS_OVERLAPPEDWINDOW, true, closedListed, suffixed + "::Ope", L""},
    };
    WindowEntry *shownBefore = appState.windowList;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        HWND window = createListedWindow(c.title, c.style);
        if (c.closed) {
            ClosedProcess closed;
            scanWindows({window});
        } else {
            scanWindows({window});
        }
        DestroyWindow(window);
        const WindowEntry *entry = appState.scanList;
        ASSERT_EQ(c.listed, entry != nullptr);
        if (entry == nullptr)
            continue;
        EXPECT_EQ(window, entry->windowHandle);
        EXPECT_EQ(wideOf(c.shownTitle), entry->title);
        EXPECT_EQ(c.appName, entry->appName);
    }
    // A scan is built apart: a list lookup meanwhile still sees the rows on display.
    EXPECT_EQ(shownBefore, appState.windowList);
    discardScan();
}

TEST(WindowScanStep, WindowsOfOneProgramShareOneIcon)
{
    ensureListWorld();
    HWND first = createListedWindow("First of two");
    HWND second = createListedWindow("Second of two");
    scanWindows({first, second});
    DestroyWindow(first);
    DestroyWindow(second);
    ASSERT_EQ(2, appState.scanEntryCount);
    const WindowEntry *entry = appState.scanList;
    EXPECT_EQ(entry->iconIndex, entry->next->iconIndex);
    // The k-th icon of a scan is image k + 1, behind the two default images.
    EXPECT_EQ(ImageList_GetImageCount(appState.scanImages), DEFAULT_IMAGE_COUNT + entry->iconIndex);
    discardScan();
}
