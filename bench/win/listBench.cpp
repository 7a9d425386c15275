// listBench [processes]: times one scan of the window list under Wine with 50
// top-level windows of helper processes, five unless given (plus whatever the
// desktop has; windows of one program share one look-up of its names): the scan and
// compare of a quiet period, as every refresh period makes it, per listed window;
// and a scan that is shown (the set changed), with its icons and the hand-over of
// the list. Not a test: figures only.
#include <windows.h>

#include "benchTiming.h"
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "appState.h"
#include "driveMap.h"
#include "listThread.h"
#include "startup.h"
#include "windowScan.h"

namespace {

constexpr int ROUNDS = 60;
constexpr int WINDOW_COUNT = 50;
constexpr int DEFAULT_HELPER_PROCESSES = 5;
constexpr DWORD APPEAR_DEADLINE_MS = 30000;
constexpr DWORD POLL_MS = 50;
constexpr DWORD EXIT_DEADLINE_MS = 10000;
const char HELPER_TITLE[] = "TALVERO list bench";
// Where the helpers' windows stand: each helper's cascade a little right of the last.
constexpr int HELPER_LEFT = 600;
constexpr int HELPER_STEP = 40;
constexpr int HELPER_TOP = 100;

Figures timeIt(const std::function<void()> &work)
{
    return ::timeIt(work, ROUNDS);
}

// This exe is <build>\bench\win\listBench.exe; the helper is <build>\tests\listHelper.exe.
std::string helperPath()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    char *slash = strrchr(path, '\\');
    if (slash != nullptr)
        *slash = '\0';
    return std::string(path) + "\\..\\..\\tests\\listHelper.exe";
}

bool startHelpers(int processes, std::vector<PROCESS_INFORMATION> &helpers)
{
    std::string path = helperPath();
    int windowsPerHelper = WINDOW_COUNT / processes;
    for (int i = 0; i < processes; i++) {
        std::string line = "\"" + path + "\" \"" + HELPER_TITLE + " " + std::to_string(i) + "\" " +
                           std::to_string(HELPER_LEFT + HELPER_STEP * i) + " " + std::to_string(HELPER_TOP) + " " +
                           std::to_string(windowsPerHelper);
        std::vector<char> commandLine(line.begin(), line.end());
        commandLine.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process))
            return false;
        helpers.push_back(process);
    }
    return true;
}

BOOL CALLBACK countHelperWindowsProc(HWND window, LPARAM count)
{
    char title[TEXT_LONG] = {};
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && strncmp(title, HELPER_TITLE, strlen(HELPER_TITLE)) == 0)
        *reinterpret_cast<int *>(count) += 1;
    return TRUE;
}

int helperWindowCount()
{
    int count = 0;
    EnumWindows(countHelperWindowsProc, reinterpret_cast<LPARAM>(&count));
    return count;
}

void endHelpers(const std::vector<PROCESS_INFORMATION> &helpers)
{
    for (const PROCESS_INFORMATION &helper : helpers) {
        TerminateProcess(helper.hProcess, 0);
        WaitForSingleObject(helper.hProcess, EXIT_DEADLINE_MS);
        CloseHandle(helper.hProcess);
        CloseHandle(helper.hThread);
    }
}

void prepareListState()
{
    InitializeCriticalSection(&appState.listLock);
    appState.nativeBits = findNativeBits();
    appState.isWow64Fn = reinterpret_cast<IsWow64ProcessFn>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsWow64Process")));
    buildDriveMap();
}

// One refresh period's work: scan and compare (and, on a change, show).
void scanAndCompare(HICON defaultIcon)
{
    beginScan();
    EnumWindows(listWindowProc, 0);
    showScan(defaultIcon);
}

}  // namespace

int main(int argc, char **argv)
{
    int processes = argc > 1 ? atoi(argv[1]) : DEFAULT_HELPER_PROCESSES;
    if (processes < 1 || processes > WINDOW_COUNT || WINDOW_COUNT % processes != 0) {
        printf("listBench: the process count must divide %d\n", WINDOW_COUNT);
        return 1;
    }
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    prepareListState();
    std::vector<PROCESS_INFORMATION> helpers;
    int wanted = WINDOW_COUNT;
    if (!startHelpers(processes, helpers)) {
        printf("listBench: cannot start %s\n", helperPath().c_str());
        endHelpers(helpers);
        return 1;
    }
    DWORD start = GetTickCount();
    while (helperWindowCount() < wanted && GetTickCount() - start < APPEAR_DEADLINE_MS)
        Sleep(POLL_MS);
    if (helperWindowCount() < wanted) {
        printf("listBench: only %d of %d helper windows appeared\n", helperWindowCount(), wanted);
        endHelpers(helpers);
        return 1;
    }

    HICON defaultIcon = LoadIconA(nullptr, IDI_APPLICATION);
    scanAndCompare(defaultIcon);   // the first scan fills the shown list
    int listed = appState.previousEntryCount;
    Figures scan = timeIt([&] { scanAndCompare(defaultIcon); });

    Figures shown = timeIt([&] {
        appState.previousEntryCount = -1;   // as if a window had opened: the scan is shown
        scanAndCompare(defaultIcon);
    });

    printf("listBench: %d windows listed (%d of them of %d helper processes), %d rounds\n", listed, wanted,
           processes, ROUNDS);
    printf("  %-40s median %7.2f ms   p90 %7.2f ms\n", "quiet period: one scan and compare", scan.median, scan.p90);
    printf("  %-40s median %7.3f ms   p90 %7.3f ms\n", "  per listed window", scan.median / listed,
           scan.p90 / listed);
    printf("  %-40s median %7.2f ms   p90 %7.2f ms\n", "a change: scan, icons, hand-over", shown.median, shown.p90);
    endHelpers(helpers);
    return 0;
}
