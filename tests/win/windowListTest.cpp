// The window list's platform steps in this test process: the drive map against
// Wine's real drives, the per-window step against windows the test makes itself,
// and the list thread's stop protocol.
#include <windows.h>
#include <aclapi.h>
#include <psapi.h>

#include <gtest/gtest.h>

#include <string>

#include "appState.h"
#include "captureTestWorld.h"
#include "driveMap.h"
#include "listThread.h"
#include "startup.h"
#include "testWorld.h"
#include "threadStart.h"
#include "windowScan.h"

namespace {

const char TEST_CLASS[] = "TALVERO_LIST_TEST";
constexpr DWORD STOP_DEADLINE_MS = 20000;
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
    if (appState.driveMap.head == nullptr)
        buildDriveMap();
}

HWND createListedWindow(const std::string &title, DWORD style)
{
    return CreateWindowExA(0, TEST_CLASS, title.c_str(), style | WS_VISIBLE, 600, 100, 200, 120, nullptr, nullptr,
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

// The entry the per-window step made for window in a fresh scan, or null.
const WindowEntry *scanOne(HWND window, bool processClosed)
{
    discardScan();
    beginScan();
    if (processClosed) {
        ClosedProcess closed;
        listWindowProc(window, 0);
    } else {
        listWindowProc(window, 0);
    }
    addScanIcons(LoadIconA(nullptr, IDI_APPLICATION));
    return appState.scanList;
}

std::string thisProgramsName()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    const char *name = strrchr(path, '\\');
    return name != nullptr ? name + 1 : path;
}

}  // namespace

// The image route's translation, against the drives Wine really has: this
// program's image path in device form comes back as the path it was started from.
TEST(DriveMap, TranslatesThisProgramsImagePathToItsDrivePath)
{
    ensureListWorld();
    ASSERT_NE(nullptr, appState.driveMap.head) << "no drive of Wine's was mapped";
    char devicePath[TEXT_PATH] = {};
    ASSERT_NE(0u, GetProcessImageFileNameA(GetCurrentProcess(), devicePath, sizeof devicePath));
    char modulePath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);

    char drivePath[TEXT_PATH] = {};
    ASSERT_EQ(1, toDrivePath(appState.driveMap, devicePath, drivePath)) << devicePath;
    EXPECT_EQ(0, lstrcmpiA(modulePath, drivePath)) << devicePath << " became " << drivePath;
}

TEST(WindowScanStep, ListsOrSkipsTheTestsWindows)
{
    ensureListWorld();
    const std::string longTitle(LONG_TITLE, 'L');
    const std::string suffixedTitle(SUFFIXED_TITLE, 'S');
    struct Case {
        const char *what;
        std::string title;
        DWORD style;
        bool processClosed;
        bool listed;
        std::string shownTitle;
        std::string appName;
    };
    const Case cases[] = {
        {"plain window", "List test", WS_OVERLAPPEDWINDOW, false, true, "List test", thisProgramsName()},
        {"empty title", "", WS_OVERLAPPEDWINDOW, false, true, "", thisProgramsName()},
        {"pop-up", "A pop-up", WS_POPUP, false, false, "", ""},
        {"300 characters", longTitle, WS_OVERLAPPEDWINDOW, false, true, longTitle.substr(0, TEXT_LONG - 1),
         thisProgramsName()},
        // A 64-bit system cannot tell the bitness of a process it cannot open: no name.
        {"process not opened", suffixedTitle, WS_OVERLAPPEDWINDOW, true, appState.nativeBits == NATIVE_BITS_64,
         suffixedTitle + "::Ope", ""},
    };
    WindowEntry *shownBefore = appState.windowList;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        HWND window = createListedWindow(c.title, c.style);
        ASSERT_NE(nullptr, window);
        const WindowEntry *entry = scanOne(window, c.processClosed);
        DestroyWindow(window);
        if (!c.listed) {
            EXPECT_EQ(nullptr, entry);
            continue;
        }
        ASSERT_NE(nullptr, entry);
        EXPECT_EQ(window, entry->windowHandle);
        EXPECT_EQ(c.shownTitle, entry->title);
        EXPECT_EQ(c.appName, entry->appName);
        EXPECT_EQ(GetCurrentProcessId(), entry->processId);
        EXPECT_EQ(0, entry->isGrayTarget);
        // The k-th icon of a scan is image k + 1 behind the two default images.
        EXPECT_EQ(ImageList_GetImageCount(appState.scanImages), DEFAULT_IMAGE_COUNT + entry->iconIndex);
        EXPECT_EQ(1, appState.scanEntryCount);
    }
    // A scan builds apart: a list lookup meanwhile still sees the rows on display.
    EXPECT_EQ(shownBefore, appState.windowList);
    discardScan();
}

TEST(WindowScanStep, WindowsOfOneProgramShareOneIcon)
{
    ensureListWorld();
    HWND first = createListedWindow("First of two", WS_OVERLAPPEDWINDOW);
    HWND second = createListedWindow("Second of two", WS_OVERLAPPEDWINDOW);
    discardScan();
    beginScan();
    listWindowProc(first, 0);
    listWindowProc(second, 0);
    addScanIcons(LoadIconA(nullptr, IDI_APPLICATION));
    DestroyWindow(first);
    DestroyWindow(second);
    ASSERT_EQ(2, appState.scanEntryCount);
    const WindowEntry *entry = appState.scanList;
    EXPECT_EQ(entry->iconIndex, entry->next->iconIndex);
    EXPECT_EQ(ImageList_GetImageCount(appState.scanImages), DEFAULT_IMAGE_COUNT + entry->iconIndex);
    discardScan();
}

TEST(WindowScanStep, MarksTheSelectedTarget)
{
    ensureListWorld();
    HWND window = createListedWindow("Grayed", WS_OVERLAPPEDWINDOW);
    EnterCriticalSection(&appState.listLock);
    appState.selectedTarget = window;
    LeaveCriticalSection(&appState.listLock);
    const WindowEntry *entry = scanOne(window, false);
    EnterCriticalSection(&appState.listLock);
    appState.selectedTarget = nullptr;
    LeaveCriticalSection(&appState.listLock);
    DestroyWindow(window);
    ASSERT_NE(nullptr, entry);
    EXPECT_EQ(1, entry->isGrayTarget);
    discardScan();
}

// Shutdown's stop protocol: the thread ends and says so exactly once.
TEST(ListThread, EndsOnRequestAndSignalsOnce)
{
    ensureListWorld();
    if (appState.listThreadDone == nullptr)
        appState.listThreadDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HWND savedList = appState.windowListView;
    appState.windowListView = nullptr;   // no rows here: the list view's messages go nowhere
    EnterCriticalSection(&appState.listLock);
    appState.listThreadStop = 0;
    LeaveCriticalSection(&appState.listLock);

    HWND window = createListedWindow("Listed while the thread runs", WS_OVERLAPPEDWINDOW);
    HANDLE thread = startThread(listThreadMain, nullptr);
    ASSERT_NE(nullptr, thread);
    // Let it get through at least one scan of the real desktop before the stop. This
    // thread pumps meanwhile: the scan asks this thread's windows for their titles.
    EXPECT_TRUE(pumpUntil([] {
        EnterCriticalSection(&appState.listLock);
        bool scanned = appState.windowList != nullptr;
        LeaveCriticalSection(&appState.listLock);
        return scanned;
    }, STOP_DEADLINE_MS));
    EnterCriticalSection(&appState.listLock);
    appState.listThreadStop = 1;
    LeaveCriticalSection(&appState.listLock);

    EXPECT_TRUE(pumpUntil([] { return WaitForSingleObject(appState.listThreadDone, 0) == WAIT_OBJECT_0; },
                          STOP_DEADLINE_MS));
    EXPECT_TRUE(pumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, STOP_DEADLINE_MS));
    DWORD exitCode = 1;
    GetExitCodeThread(thread, &exitCode);
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), WaitForSingleObject(appState.listThreadDone, 0)) << "set twice";
    CloseHandle(thread);
    DestroyWindow(window);

    EnterCriticalSection(&appState.listLock);
    appState.listThreadStop = 0;
    LeaveCriticalSection(&appState.listLock);
    appState.windowListView = savedList;
}
