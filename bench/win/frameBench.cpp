// frameBench: times the parts of one capture frame under Wine, at the screen's
// size (1920x1080 in the test world) for the screen loop and on a 1280x800
// window for the window loops, then lets the real screen and selected loops run
// 100 frames and prints the frame rate they report. Not a test: figures only.
#include <windows.h>

#include "benchTiming.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "appState.h"
#include "captureLoops.h"
#include "captureRun.h"
#include "captureTestWorld.h"
#include "frameBuffer.h"
#include "gray.h"

namespace {

constexpr int ROUNDS = 60;
constexpr DWORD LOOP_DEADLINE_MS = 60000;
const Stripes COLOURS = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x804020};

Figures timeIt(const std::function<void()> &work)
{
    return ::timeIt(work, ROUNDS);
}

void print(const char *what, const Figures &f)
{
    printf("  %-44s median %7.2f ms   p90 %7.2f ms\n", what, f.median, f.p90);
}

void scanOnce(WNDENUMPROC scanProc)
{
    ZOrderScan scan{};
    EnumWindows(scanProc, reinterpret_cast<LPARAM>(&scan));
    char topClass[TOP_CLASS_BUFFER];
    readClassName(static_cast<HWND>(scan.topWindow), topClass, TOP_CLASS_BUFFER);
    char foregroundClass[FOREGROUND_CLASS_BUFFER];
    readClassName(GetForegroundWindow(), foregroundClass, FOREGROUND_CLASS_BUFFER);
}

void copyScreen(const char *device, int32_t width, int32_t height)
{
    HDC screen = CreateDCA(device, device, nullptr, nullptr);
    BitBlt(appState.memoryDC, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    DeleteDC(screen);
}

void convert(const FrameBitmap &frame, int32_t bitsPerPixel)
{
    convertFrame(frame.pixels, frame.width, frame.height, bitsPerPixel, 0, 10, 0);
}

void presentAt(HWND overlay, const RECT &place, int32_t sourceX, int32_t sourceY, bool move)
{
    HDC overlayDC = GetDC(overlay);
    if (move)
        SetWindowPos(overlay, HWND_TOP, place.left, place.top, place.right - place.left, place.bottom - place.top,
                     SWP_SHOWWINDOW | SWP_NOACTIVATE);
    BitBlt(overlayDC, 0, 0, place.right - place.left, place.bottom - place.top, appState.memoryDC, sourceX, sourceY,
           SRCCOPY);
    ReleaseDC(overlay, overlayDC);
}

int32_t displayBitsNow()
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return static_cast<int32_t>(mode.dmBitsPerPel);
}

void benchScreenFrame(int32_t bitsPerPixel)
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    OverlayLog log{};
    HWND overlay = createTestOverlay(work, &log);
    ShowWindow(overlay, SW_SHOWNA);
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    ScreenRect screen{desktop.left, desktop.top, desktop.right, desktop.bottom};
    HDC reference = GetDC(GetDesktopWindow());
    FrameMapping mapping = createFrameMapping(screenMappingBytes(screen));
    FrameBitmap frame{};
    const char *failedCall = nullptr;
    createFrameBitmap(reference, screen, mapping, bitsPerPixel, &frame, &failedCall);
    DISPLAY_DEVICEA device = {};
    device.cb = sizeof device;
    EnumDisplayDevicesA(nullptr, 0, &device, 0);

    printf("screen loop, %dx%d at %d bits per pixel\n", frame.width, frame.height, bitsPerPixel);
    print("scan (EnumWindows + class names)", timeIt([] { scanOnce(screenScanProc); }));
    print("copy (CreateDCA + BitBlt + DeleteDC)", timeIt([&] { copyScreen(device.DeviceName, frame.width, frame.height); }));
    print("conversion (convertFrame)", timeIt([&] { convert(frame, bitsPerPixel); }));
    print("present (GetDC + BitBlt + ReleaseDC)", timeIt([&] { presentAt(overlay, work, work.left, work.top, false); }));
    print("whole frame without the pacing wait", timeIt([&] {
              scanOnce(screenScanProc);
              copyScreen(device.DeviceName, frame.width, frame.height);
              convert(frame, bitsPerPixel);
              presentAt(overlay, work, work.left, work.top, false);
          }));
    print("everything but the copy", timeIt([&] {
              scanOnce(screenScanProc);
              convert(frame, bitsPerPixel);
              presentAt(overlay, work, work.left, work.top, false);
          }));
    releaseFrameBitmap(&frame);
    closeFrameMapping(&mapping);
    ReleaseDC(GetDesktopWindow(), reference);
    destroyTestWindow(overlay);
}

void benchWindowFrame(int32_t bitsPerPixel)
{
    const RECT place = {100, 60, 100 + 1280, 60 + 800};
    HWND target = createStripedWindow(place, COLOURS);
    OverlayLog log{};
    HWND overlay = createTestOverlay(place, &log);
    HDC reference = GetDC(nullptr);   // as the window loops: a screen context
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    FrameMapping mapping =
        createFrameMapping(windowMappingBytes(ScreenRect{desktop.left, desktop.top, desktop.right, desktop.bottom}));
    FrameBitmap frame{};
    const char *failedCall = nullptr;
    createFrameBitmap(reference, ScreenRect{place.left, place.top, place.right, place.bottom}, mapping, bitsPerPixel,
                      &frame, &failedCall);
    auto copyWindow = [&] {
        HDC windowDC = GetWindowDC(target);
        BitBlt(appState.memoryDC, 0, 0, frame.width, frame.height, windowDC, 0, 0, SRCCOPY);
        ReleaseDC(target, windowDC);
    };

    printf("window loop, %dx%d window\n", frame.width, frame.height);
    print("scan, twice (EnumWindows + class names)", timeIt([] {
              scanOnce(windowScanProc);
              scanOnce(windowScanProc);
          }));
    print("copy (GetWindowDC + BitBlt + ReleaseDC)", timeIt(copyWindow));
    print("conversion (convertFrame)", timeIt([&] { convert(frame, bitsPerPixel); }));
    print("present (SetWindowPos + BitBlt)", timeIt([&] { presentAt(overlay, place, 0, 0, true); }));
    print("whole frame without the pacing wait", timeIt([&] {
              scanOnce(windowScanProc);
              copyWindow();
              scanOnce(windowScanProc);
              convert(frame, bitsPerPixel);
              presentAt(overlay, place, 0, 0, true);
          }));
    releaseFrameBitmap(&frame);
    closeFrameMapping(&mapping);
    ReleaseDC(nullptr, reference);
    destroyTestWindow(overlay);
    destroyTestWindow(target);
}

// Runs a real loop until it reports its frame rate after 100 frames.
void reportedFrameRate(const char *name, unsigned(__stdcall *captureMain)(void *), bool screen)
{
    const RECT place = {100, 60, 100 + 1280, 60 + 800};
    HWND target = screen ? GetDesktopWindow() : createStripedWindow(place, COLOURS);
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    OverlayLog log{};
    HWND overlay = createTestOverlay(screen ? work : place, &log);
    if (screen)
        ShowWindow(overlay, SW_SHOWNA);
    CaptureThread capture = startCapture(captureMain, overlay, target);
    printf("%s loop, frame rate it reports:", name);
    // A report is "FPS: " and a number; the previous run's closing "FPS: " is not one.
    auto reported = [] {
        std::string text = statusText(0);
        return text.rfind(FPS_LABEL, 0) == 0 && text.size() > sizeof FPS_LABEL - 1 &&
               text.find_first_not_of("0123456789", sizeof FPS_LABEL - 1) == std::string::npos;
    };
    if (pumpUntil(reported, LOOP_DEADLINE_MS))
        printf("  \"%s\"\n", statusText(0).c_str());
    else
        printf("  none within %lu ms\n", LOOP_DEADLINE_MS);
    requestStop();
    DWORD exitCode = 0;
    waitCaptureEnd(&capture, LOOP_DEADLINE_MS, &exitCode);
    if (!screen)
        destroyTestWindow(target);
}

}  // namespace

int main()
{
    ensureCaptureWorld();
    int32_t bitsPerPixel = displayBitsNow();
    benchScreenFrame(bitsPerPixel);
    benchWindowFrame(bitsPerPixel);
    reportedFrameRate("screen", screenCaptureMain, true);
    reportedFrameRate("selected-window", selectedCaptureMain, false);
    fflush(stdout);
    return 0;
}
