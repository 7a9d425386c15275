// modeBench: starts talvero.exe, runs the screen and foreground modes from their
// buttons and the focus and monitor modes from their hotkeys, and prints, for
// each, the frame rate the program reports and the program's CPU time per frame
// over a measured stretch, beside what one copy of the mode's picture costs this
// process (on several monitors, the copy of each covered work area). Figures only.
//
// Wine's GetProcessTimes reports no CPU time for the running threads of another
// process, so where it gives none the times are read from Linux's /proc (through
// Wine's Z: drive) for the process whose command line names this build's
// talvero.exe, and for this process alike. Clock ticks of 10 ms: the stretches are long enough.
#include <windows.h>

#include <cstdio>
#include <regex>
#include <string>
#include <vector>

#include "harness.h"
#include "resource.h"

namespace {

constexpr DWORD RATE_DEADLINE_MS = 30000;
constexpr DWORD MEASURE_MS = 8000;
constexpr int COPY_ROUNDS = 200;
constexpr double MS_PER_CLOCK_TICK = 10.0;
constexpr int STAT_UTIME_FIELD = 14;   // utime, then stime, in /proc/<pid>/stat

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

// CPU time of a Linux process from its stat line, or -1.
double linuxCpuMs(const std::string &pid)
{
    std::string stat = readLinuxFile("Z:\\proc\\" + pid + "\\stat");
    size_t field = stat.rfind(')');   // the command name may hold blanks
    if (field == std::string::npos)
        return -1;
    // Fields after ")" start with the third; utime is the 14th.
    unsigned long long values[2] = {};
    int index = 2;
    size_t at = field + 1;
    while (index < STAT_UTIME_FIELD + 1 && at < stat.size()) {
        size_t start = stat.find_first_not_of(' ', at);
        size_t end = stat.find(' ', start);
        index++;
        if (index >= STAT_UTIME_FIELD)
            values[index - STAT_UTIME_FIELD] = std::stoull(stat.substr(start, end - start));
        at = end;
    }
    return static_cast<double>(values[0] + values[1]) * MS_PER_CLOCK_TICK;
}

std::string linuxPidOfProgram()
{
    // Wine shows the program's command line as it was given to CreateProcess.
    std::string programPath = talveroPath();
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    std::string pid;
    if (search == INVALID_HANDLE_VALUE)
        return pid;
    do {
        std::string name = found.cFileName;
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        if (readLinuxFile("Z:\\proc\\" + name + "\\cmdline").find(programPath) != std::string::npos)
            pid = name;
    } while (pid.empty() && FindNextFileA(search, &found));
    FindClose(search);
    return pid;
}

double fileTimeMs(const FILETIME &time)
{
    return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e4;
}

// The process's CPU time: from /proc under Wine (where the Linux process is
// found), from GetProcessTimes elsewhere.
double processCpuMs(HANDLE process, const std::string &linuxPid)
{
    if (!linuxPid.empty())
        return linuxCpuMs(linuxPid);
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    return fileTimeMs(kernel) + fileTimeMs(user);
}

// CPU time of one screen copy of this rectangle into a 32-bpp DIB section.
double copyCpuMs(const RECT &place)
{
    if (place.right <= place.left || place.bottom <= place.top)
        return 0;
    int width = place.right - place.left;
    int height = place.bottom - place.top;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    double start = linuxCpuMs("self");
    for (int i = 0; i < COPY_ROUNDS; i++)
        BitBlt(memory, 0, 0, width, height, screen, place.left, place.top, SRCCOPY);
    double perCopy = (linuxCpuMs("self") - start) / COPY_ROUNDS;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return perCopy;
}

std::string status(const Program &program, int part)
{
    return statusText(program, GetDlgItem(program.mainWindow, IDC_STATUS_BAR), part);
}

void press(const Program &program, int buttonId)
{
    POINT centre = centreOf(GetDlgItem(program.mainWindow, buttonId));
    clickAt(centre.x, centre.y);
    moveMouse(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
}

// The mode is started by a click on its button, or by Ctrl+Alt+letter.
struct ModeStart {
    const char *name;
    int buttonId;
    WORD hotkeyLetter;
};

void startMode(const Program &program, const ModeStart &mode)
{
    if (mode.buttonId != 0) {
        press(program, mode.buttonId);
        return;
    }
    SetForegroundWindow(program.mainWindow);
    pressCtrlAltKey(mode.hotkeyLetter);
}

void measureMode(const Program &program, const ModeStart &mode, const std::vector<RECT> &pictures)
{
    static const std::regex rate("FPS: ([0-9]+)");
    const char *name = mode.name;
    std::smatch found;
    std::string text;
    startMode(program, mode);
    bool reported = waitUntil(
        [&] {
            text = status(program, 0);
            return std::regex_match(text, found, rate);
        },
        RATE_DEADLINE_MS);
    if (!reported) {
        printf("%-18s no frame rate within %lu ms (status \"%s\")\n", name, RATE_DEADLINE_MS, text.c_str());
        return;
    }
    std::string linuxPid = linuxPidOfProgram();
    double cpuStart = processCpuMs(program.process.hProcess, linuxPid);
    DWORD start = GetTickCount();
    Sleep(MEASURE_MS);
    double cpu = processCpuMs(program.process.hProcess, linuxPid) - cpuStart;
    DWORD elapsed = GetTickCount() - start;
    text = status(program, 0);
    std::regex_match(text, found, rate);
    int fps = std::stoi(found[1].str());
    double frames = fps * elapsed / 1000.0;
    double perFrame = cpu / frames;
    double copy = 0;
    std::string sizes;
    for (const RECT &picture : pictures) {
        copy += copyCpuMs(picture);
        sizes += (sizes.empty() ? "" : "+") + std::to_string(picture.right - picture.left) + "x" +
                 std::to_string(picture.bottom - picture.top);
    }
    printf("%-18s %s   CPU per frame %.2f ms, of which the %s copy about %.2f ms: %.2f ms beside it\n", name,
           text.c_str(), perFrame, sizes.c_str(), copy, perFrame - copy);
    press(program, IDC_BUTTON_NORMAL_COLOR);
    waitUntil([&] { return status(program, 1) == "Gray: OFF"; }, RATE_DEADLINE_MS);
}

// This exe is <build>\bench\win\modeBench.exe; the program is <build>\app\talvero.exe.
void findProgramOfThisBuild()
{
    char path[MAX_PATH];
    if (GetEnvironmentVariableA("TALVERO_EXE", path, sizeof path) > 0)
        return;
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path)
        return;
    std::string exe(path);
    exe = exe.substr(0, exe.rfind('\\')) + "\\..\\..\\app\\talvero.exe";
    SetEnvironmentVariableA("TALVERO_EXE", exe.c_str());
}

BOOL CALLBACK addWorkArea(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info))
        reinterpret_cast<std::vector<RECT> *>(data)->push_back(info.rcWork);
    return TRUE;
}

// One pass over the modes with the program started with these rules (none: no rules.txt).
bool measureModes(const std::string *rules)
{
    Program program;
    if (!startProgram(program, nullptr, nullptr, rules) || !waitForMainWindow(program)) {
        printf("talvero.exe did not start\n");
        disposeProgram(program);
        return false;
    }
    std::vector<RECT> workAreas;
    EnumDisplayMonitors(nullptr, nullptr, addWorkArea, reinterpret_cast<LPARAM>(&workAreas));
    RECT mainWindow = {};
    GetWindowRect(program.mainWindow, &mainWindow);
    // The monitor mode grays the monitor under the pointer, which press() leaves
    // at the primary's bottom-right corner.
    POINT corner = {GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1};
    MONITORINFO underPointer = {};
    underPointer.cbSize = sizeof underPointer;
    GetMonitorInfoA(MonitorFromPoint(corner, MONITOR_DEFAULTTONEAREST), &underPointer);
    printf("display %dx%d, %zu monitor(s), virtual screen %dx%d, %s\n", GetSystemMetrics(SM_CXSCREEN),
           GetSystemMetrics(SM_CYSCREEN), workAreas.size(), GetSystemMetrics(SM_CXVIRTUALSCREEN),
           GetSystemMetrics(SM_CYVIRTUALSCREEN), rules != nullptr ? "with rules" : "without rules");
    measureMode(program, {"screen mode", IDC_BUTTON_SCREEN_MODE, 0}, workAreas);
    measureMode(program, {"focus mode", 0, 'F'}, workAreas);
    measureMode(program, {"monitor mode", 0, 'M'}, {underPointer.rcWork});
    measureMode(program, {"foreground mode", IDC_BUTTON_FOREGROUND_MODE, 0}, {mainWindow});
    if (rules != nullptr)
        measureMode(program, {"rules mode", 0, 'R'}, workAreas);
    disposeProgram(program);
    return true;
}

}  // namespace

int main()
{
    findProgramOfThisBuild();
    // With rules, every frame of the screen modes reads the windows on screen: this
    // process is kept in colour (the loops look it up), talvero.exe is ruled gray.
    const std::string rules = "colour modeBench.exe\r\ngray talvero.exe\r\n";
    return measureModes(nullptr) && measureModes(&rules) ? 0 : 1;
}
