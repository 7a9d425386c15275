// modeBench: what each gray mode of talvero.exe costs the whole system (every
// process: the program, wineserver and the X server), beside the program started
// and idle: on a still desk, beside a window that repaints a 400x300 area 30 times
// a second, and while the session is locked (the message the system sends, posted
// to the main window). Then, in the foreground mode on the program's own main
// window, the delay from a change on a still desk to its gray on screen, with and
// without a mouse move just before (on a desk of one monitor). With
// TALVERO_REFERENCE_EXE naming another build, its figures stand beside this
// build's. Figures only.
//
// The CPU is read from Linux's /proc/stat through Wine's Z: drive, in clock ticks
// of 10 ms: the stretches are long enough.
#include <windows.h>

#include <commctrl.h>
#include <wtsapi32.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "benchTiming.h"
#include "gray.h"
#include "harness.h"
#include "resource.h"

namespace {

constexpr DWORD RATE_DEADLINE_MS = 30000;
constexpr DWORD SETTLE_MS = 2500;          // past the second after which a desk counts as still
constexpr DWORD MEASURE_MS = 5000;
constexpr DWORD LOCK_SETTLE_MS = 500;
constexpr double MS_PER_CLOCK_TICK = 10.0;
constexpr int IDLE_FIELD = 3;              // idle, then iowait, among the cpu line's numbers

constexpr int DELAY_CHANGES = 20;
constexpr DWORD DELAY_STILL_MS = 5000;     // nothing changes this long before each change
constexpr DWORD DELAY_DEADLINE_MS = 3000;
constexpr int LIST_INSET = 8;              // the probe pixel, inside the list's empty part
constexpr COLORREF LIST_COLOURS[2] = {RGB(200, 60, 40), RGB(40, 120, 200)};

constexpr UINT ANIMATION_PERIOD_MS = 33;
const RECT ANIMATION_PLACE = {100, 100, 500, 400};
constexpr UINT_PTR ANIMATION_TIMER = 1;

std::string readLinuxFile(const std::string &path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    char text[4096];
    DWORD got = 0;
    ReadFile(file, text, sizeof text - 1, &got, nullptr);
    CloseHandle(file);
    return std::string(text, got);
}

// CPU time every processor spent busy since the system started, in ms.
double systemBusyMs()
{
    std::string stat = readLinuxFile("Z:\\proc\\stat");
    unsigned long long busy = 0;
    size_t at = stat.find(' ');   // after "cpu"
    for (int field = 0; at != std::string::npos && at < stat.find('\n'); field++) {
        size_t start = stat.find_first_not_of(' ', at);
        size_t end = stat.find_first_of(" \n", start);
        unsigned long long value = std::stoull(stat.substr(start, end - start));
        if (field != IDLE_FIELD && field != IDLE_FIELD + 1)
            busy += value;
        at = stat[end] == ' ' ? end : std::string::npos;
    }
    return static_cast<double>(busy) * MS_PER_CLOCK_TICK;
}

// The whole system's busy CPU per second of wall time over a stretch.
double cpuPerSecond()
{
    double busy = systemBusyMs();
    double start = nowMs();
    Sleep(MEASURE_MS);
    return (systemBusyMs() - busy) * 1000.0 / (nowMs() - start);
}

// A topmost window of this process that repaints its area 30 times a second. Under
// Wine a window under the overlay is hidden from the screen copy (the copy shows
// the overlay there), so it stays above the overlay, raising itself each time.
struct Animation {
    HWND window;
    HANDLE thread;
    int tick;
    int paints;
};
Animation animation;

LRESULT CALLBACK animationProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER: {
        animation.tick++;
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    }
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        animation.paints++;
        HBRUSH brush = CreateSolidBrush(RGB(animation.tick * 7 % 256, 255 - animation.tick * 3 % 256, 90));
        FillRect(dc, &paint.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI animationThread(void *ready)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = animationProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "ModeBenchAnimation";
    RegisterClassA(&windowClass);
    animation.window = CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, windowClass.lpszClassName, "animation",
                                       WS_POPUP, ANIMATION_PLACE.left, ANIMATION_PLACE.top,
                                       ANIMATION_PLACE.right - ANIMATION_PLACE.left,
                                       ANIMATION_PLACE.bottom - ANIMATION_PLACE.top, nullptr, nullptr,
                                       windowClass.hInstance, nullptr);
    // Shown without taking the front: the foreground mode would follow it.
    ShowWindow(animation.window, SW_SHOWNOACTIVATE);
    SetTimer(animation.window, ANIMATION_TIMER, ANIMATION_PERIOD_MS, nullptr);
    SetEvent(ready);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    return 0;
}

void startAnimation()
{
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    animation.thread = CreateThread(nullptr, 0, animationThread, ready, 0, nullptr);
    WaitForSingleObject(ready, INFINITE);
    CloseHandle(ready);
}

void stopAnimation()
{
    PostMessageA(animation.window, WM_CLOSE, 0, 0);
    WaitForSingleObject(animation.thread, INFINITE);
    CloseHandle(animation.thread);
    animation = Animation{};
}

std::string status(const Program &program, int part)
{
    return statusText(program, GetDlgItem(program.mainWindow, IDC_STATUS_BAR), part);
}

POINT restingPointer()
{
    return POINT{GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1};
}

void press(const Program &program, int buttonId)
{
    POINT centre = centreOf(GetDlgItem(program.mainWindow, buttonId));
    clickAt(centre.x, centre.y);
    moveMouse(restingPointer().x, restingPointer().y);
}

// The mode is started by a click on its button, or by Ctrl+Alt+letter.
struct ModeStart {
    const char *name;
    int buttonId;
    WORD hotkeyLetter;
};

const ModeStart MODES[] = {
    {"screen mode", IDC_BUTTON_SCREEN_MODE, 0},
    {"focus mode", 0, 'F'},
    {"monitor mode", 0, 'M'},
    {"foreground mode", IDC_BUTTON_FOREGROUND_MODE, 0},
};

bool startMode(const Program &program, const ModeStart &mode)
{
    if (mode.buttonId != 0) {
        press(program, mode.buttonId);
    } else {
        SetForegroundWindow(program.mainWindow);
        pressCtrlAltKey(mode.hotkeyLetter);
    }
    return waitUntil([&] { return status(program, 1) == "Gray: ON"; }, RATE_DEADLINE_MS);
}

void stopMode(const Program &program)
{
    press(program, IDC_BUTTON_NORMAL_COLOR);
    waitUntil([&] { return status(program, 1) == "Gray: OFF"; }, RATE_DEADLINE_MS);
}

// One build's figures, by row; its frame rates while the area repaints, by mode.
using Rows = std::vector<std::pair<std::string, std::string>>;
struct BuildFigures {
    Rows cpu;     // ms per second, as text
    Rows rates;
    std::string delays;
};

void addRow(Rows *rows, const std::string &name, const std::string &value)
{
    rows->push_back({name, value});
}

void addCpu(BuildFigures *figures, const std::string &name, double ms)
{
    addRow(&figures->cpu, name, std::to_string(static_cast<int>(ms + 0.5)));
}

std::string rowOf(const Rows &rows, const std::string &name)
{
    for (const auto &row : rows) {
        if (row.first == name)
            return row.second;
    }
    return "";
}

void measureModes(const Program &program, BuildFigures *figures)
{
    Sleep(SETTLE_MS);
    double idleStill = cpuPerSecond();
    startAnimation();
    double idleMoving = cpuPerSecond();
    stopAnimation();
    addCpu(figures, "idle program, still desk (whole system)", idleStill);
    addCpu(figures, "idle program, area repainting (whole system)", idleMoving);
    for (const ModeStart &mode : MODES) {
        std::string name = mode.name;
        if (!startMode(program, mode)) {
            printf("%s did not start: %s\n", mode.name, status(program, 1).c_str());
            continue;
        }
        Sleep(SETTLE_MS);
        addCpu(figures, name + ", still desk", cpuPerSecond() - idleStill);
        startAnimation();
        int paints = animation.paints;
        addCpu(figures, name + ", area repainting", cpuPerSecond() - idleMoving);
        // What the program reports beside how often the area really changed.
        addRow(&figures->rates, name,
               status(program, 0) + " (area " + std::to_string((animation.paints - paints) * 1000 / MEASURE_MS) + "/s)");
        stopAnimation();
        PostMessageA(program.mainWindow, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 0);
        Sleep(LOCK_SETTLE_MS);
        addCpu(figures, name + ", locked session", cpuPerSecond() - idleStill);
        PostMessageA(program.mainWindow, WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 0);
        stopMode(program);
    }
}

uint32_t grayOnScreen(COLORREF colour)
{
    uint8_t pixel[4] = {GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
    convertFrame(pixel, 1, 1, 32, 0, 10, 0);   // the default settings
    return pixel[0] | static_cast<uint32_t>(pixel[1]) << 8 | static_cast<uint32_t>(pixel[2]) << 16;
}

// Changes the list's colour after DELAY_STILL_MS of a still desk and times the
// change to its gray on screen, DELAY_CHANGES times; p50 and p95 in ms.
std::string changeDelays(const Program &program, bool moveFirst)
{
    HWND list = GetDlgItem(program.mainWindow, IDC_WINDOW_LIST);
    RECT place = {};
    GetWindowRect(list, &place);
    RECT probe = {place.left + LIST_INSET, place.bottom - LIST_INSET, place.left + LIST_INSET + 1,
                  place.bottom - LIST_INSET + 1};
    std::vector<double> delays;
    for (int i = 0; i < DELAY_CHANGES; i++) {
        COLORREF colour = LIST_COLOURS[i % 2];
        Sleep(DELAY_STILL_MS);
        if (moveFirst)
            moveMouse(restingPointer().x - 1 - i % 2, restingPointer().y - 1);
        double start = nowMs();
        SendMessageA(list, LVM_SETBKCOLOR, 0, colour);
        InvalidateRect(list, nullptr, TRUE);
        uint32_t seen = 0;
        // Polled every millisecond: the harness's wait polls too seldom to time a frame.
        while ((seen = screenPixels(probe)[0]) != grayOnScreen(colour) && nowMs() - start < DELAY_DEADLINE_MS)
            Sleep(1);
        if (seen != grayOnScreen(colour)) {
            char text[96];
            snprintf(text, sizeof text, "no gray within %lu ms (%06x, not %06x)", DELAY_DEADLINE_MS, seen,
                     grayOnScreen(colour));
            return text;
        }
        delays.push_back(nowMs() - start);
    }
    std::sort(delays.begin(), delays.end());
    char text[64];
    snprintf(text, sizeof text, "p50 %.0f ms, p95 %.0f ms", delays[DELAY_CHANGES / 2],
             delays[DELAY_CHANGES * 95 / 100 - 1]);
    return text;
}

void measureDelays(const Program &program, BuildFigures *figures)
{
    if (!startMode(program, MODES[3]))
        return;
    Sleep(SETTLE_MS);
    std::string still = changeDelays(program, false);
    std::string moved = changeDelays(program, true);
    figures->delays = "still desk " + still + "; a mouse move first " + moved;
    stopMode(program);
}

bool measureBuild(BuildFigures *figures, bool withDelays)
{
    Program program;
    if (!startProgram(program) || !waitForMainWindow(program)) {
        printf("%s did not start\n", talveroPath().c_str());
        disposeProgram(program);
        return false;
    }
    measureModes(program, figures);
    if (withDelays)
        measureDelays(program, figures);
    disposeProgram(program);
    return true;
}

// This exe is <build>\bench\win\modeBench.exe; the program is <build>\app\talvero.exe.
std::string programOfThisBuild()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string exe(path, length < sizeof path ? length : 0);
    return exe.substr(0, exe.rfind('\\')) + "\\..\\..\\app\\talvero.exe";
}

void printTable(const BuildFigures &reference, const BuildFigures &build)
{
    printf("%-52s %12s %12s\n", "CPU per second, ms (modes: beyond the idle program)", "reference", "this build");
    for (const auto &row : build.cpu)
        printf("%-52s %12s %12s\n", row.first.c_str(), rowOf(reference.cpu, row.first).c_str(), row.second.c_str());
    printf("status while the area repaints (reference, this build):\n");
    for (const auto &rate : build.rates)
        printf("  %-18s %-10s %s\n", rate.first.c_str(), rowOf(reference.rates, rate.first).c_str(),
               rate.second.c_str());
    if (!build.delays.empty())
        printf("delay from a change to its gray (foreground mode, this build): %s\n", build.delays.c_str());
}

}  // namespace

int main()
{
    char path[MAX_PATH];
    bool hasReference = GetEnvironmentVariableA("TALVERO_REFERENCE_EXE", path, sizeof path) > 0;
    std::string reference = hasReference ? path : "";
    printf("display %dx%d, %d monitor(s), virtual screen %dx%d\n", GetSystemMetrics(SM_CXSCREEN),
           GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CMONITORS), GetSystemMetrics(SM_CXVIRTUALSCREEN),
           GetSystemMetrics(SM_CYVIRTUALSCREEN));
    BuildFigures before, now;
    if (hasReference) {
        SetEnvironmentVariableA("TALVERO_EXE", reference.c_str());
        if (!measureBuild(&before, false))
            return 1;
    }
    SetEnvironmentVariableA("TALVERO_EXE", programOfThisBuild().c_str());
    // The delays once, on the desk of one monitor: they time the main window alone.
    if (!measureBuild(&now, GetSystemMetrics(SM_CMONITORS) == 1))
        return 1;
    printTable(before, now);
    return 0;
}
