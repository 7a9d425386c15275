// modeBench: starts talvero.exe, runs the screen and foreground modes from their
// buttons and prints, for each, the frame rate the program reports and the
// program's CPU time per frame (GetProcessTimes over a measured stretch), beside
// what one copy of the mode's picture costs this process. Figures only.
#include <windows.h>

#include <cstdio>
#include <regex>
#include <string>

#include "harness.h"
#include "resource.h"

namespace {

constexpr DWORD RATE_DEADLINE_MS = 30000;
constexpr DWORD MEASURE_MS = 8000;
constexpr int COPY_ROUNDS = 60;

double processCpuMs(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(process, &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME &time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

double threadCpuMs()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME &time) {
        return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

// CPU time of one screen copy of this rectangle into a 32-bpp DIB section.
double copyCpuMs(const RECT &place)
{
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
    double start = threadCpuMs();
    for (int i = 0; i < COPY_ROUNDS; i++)
        BitBlt(memory, 0, 0, width, height, screen, place.left, place.top, SRCCOPY);
    double perCopy = (threadCpuMs() - start) / COPY_ROUNDS;
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

void measureMode(const Program &program, const char *name, int buttonId, const RECT &picture)
{
    static const std::regex rate("FPS: ([0-9]+)");
    std::smatch found;
    std::string text;
    press(program, buttonId);
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
    double cpuStart = processCpuMs(program.process.hProcess);
    DWORD start = GetTickCount();
    Sleep(MEASURE_MS);
    double cpu = processCpuMs(program.process.hProcess) - cpuStart;
    DWORD elapsed = GetTickCount() - start;
    text = status(program, 0);
    std::regex_match(text, found, rate);
    int fps = std::stoi(found[1].str());
    double frames = fps * elapsed / 1000.0;
    double perFrame = cpu / frames;
    double copy = copyCpuMs(picture);
    printf("%-18s %s   CPU per frame %.2f ms, of which the %ldx%ld copy about %.2f ms: %.2f ms beside it\n", name,
           text.c_str(), perFrame, picture.right - picture.left, picture.bottom - picture.top, copy,
           perFrame - copy);
    press(program, IDC_BUTTON_NORMAL_COLOR);
    waitUntil([&] { return status(program, 1) == "Gray: OFF"; }, RATE_DEADLINE_MS);
}

}  // namespace

int main()
{
    Program program;
    if (!startProgram(program) || !waitForMainWindow(program)) {
        printf("talvero.exe did not start\n");
        disposeProgram(program);
        return 1;
    }
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT mainWindow = {};
    GetWindowRect(program.mainWindow, &mainWindow);
    printf("display %ldx%ld\n", screen.right, screen.bottom);
    measureMode(program, "screen mode", IDC_BUTTON_SCREEN_MODE, screen);
    measureMode(program, "foreground mode", IDC_BUTTON_FOREGROUND_MODE, mainWindow);
    disposeProgram(program);
    return 0;
}
