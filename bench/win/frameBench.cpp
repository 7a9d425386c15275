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
#include "overlayShape.h"
#include "ruledWindows.h"

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

// As the screen loop copies: through the screen's context, one BitBlt per covered part.
void copyScreen(const OverlayCover &cover)
{
    HDC screen = GetDC(nullptr);
    for (int32_t i = 0; i < cover.partCount; i++) {
        const ScreenRect &part = cover.parts[i];
        BitBlt(appState.memoryDC, part.left - cover.place.left, part.top - cover.place.top, rectWidth(part),
               rectHeight(part), screen, part.left, part.top, SRCCOPY);
    }
    ReleaseDC(nullptr, screen);
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

// 50 windows in a cascade over the screen, every fifth of a program kept in colour.
void benchRuledRegion(HWND overlay, const OverlayCover &cover)
{
    constexpr int32_t WINDOWS = 50;
    constexpr int32_t RULED_EVERY = 5;
    constexpr int32_t STEP = 30;
    static WindowStack stack;
    static RectList parts;
    stack.count = WINDOWS;
    for (int32_t i = 0; i < WINDOWS; i++) {
        int32_t left = cover.place.left + (i % 10) * 2 * STEP + (i / 10) * STEP;
        int32_t top = cover.place.top + (i % 10) * STEP + (i / 10) * 3 * STEP;
        stack.windows[i] = {{left, top, left + 640, top + 480}, i % RULED_EVERY == 0 ? ROLE_KEEP_COLOUR : ROLE_PLAIN};
    }
    // The same 50 windows on screen, read as a frame reads them (their roles known).
    std::vector<HWND> windows;
    for (int32_t i = 0; i < WINDOWS; i++) {
        const ScreenRect &r = stack.windows[i].rect;
        windows.push_back(createStripedWindow(RECT{r.left, r.top, r.right, r.bottom}, COLOURS));
    }
    static RuledWindows ruled;
    readRuledWindows(&ruled, overlay);
    print("rules: the windows on screen read (50 and more)", timeIt([&] { readRuledWindows(&ruled, overlay); }));
    for (HWND window : windows)
        destroyTestWindow(window);

    bool whole = false;
    print("rules: parts for 50 windows, 10 kept in colour",
          timeIt([&] { whole = overlayParts(cover, stack, false, &parts); }));
    printf("  (%d rectangles)\n", parts.count);
    print("rules: those parts as the overlay's region",
          timeIt([&] { applyOverlayRegion(overlay, cover.place, parts, whole); }));
}

void benchScreenFrame(int32_t bitsPerPixel)
{
    MonitorLayout layout;
    readMonitorLayout(&layout);
    OverlayCover cover = coverAllMonitors(layout);
    const ScreenRect &place = cover.place;
    RECT work{place.left, place.top, place.right, place.bottom};
    OverlayLog log{};
    HWND overlay = createTestOverlay(work, &log);
    ShowWindow(overlay, SW_SHOWNA);
    HDC reference = GetDC(GetDesktopWindow());
    FrameMapping mapping = createFrameMapping(screenMappingBytes(place));
    FrameBitmap frame{};
    const char *failedCall = nullptr;
    createFrameBitmap(reference, place, mapping, bitsPerPixel, &frame, &failedCall);

    printf("screen loop, %dx%d at %d bits per pixel, %d monitor(s)\n", frame.width, frame.height, bitsPerPixel,
           layout.count);
    print("scan (EnumWindows + class names)", timeIt([] { scanOnce(screenScanProc); }));
    print("monitor layout (EnumDisplayMonitors)", timeIt([] {
              MonitorLayout again;
              readMonitorLayout(&again);
          }));
    static RectList coverParts;
    bool whole = overlayParts(cover, WindowStack{}, false, &coverParts) && !cover.needsRegion;
    print("region of the work areas (SetWindowRgn)",
          timeIt([&] { applyOverlayRegion(overlay, cover.place, coverParts, whole); }));
    benchRuledRegion(overlay, cover);
    print("copy (GetDC + BitBlt per work area)", timeIt([&] { copyScreen(cover); }));
    print("conversion (convertFrame)", timeIt([&] { convert(frame, bitsPerPixel); }));
    print("present (GetDC + BitBlt + ReleaseDC)", timeIt([&] { presentAt(overlay, work, 0, 0, false); }));
    print("whole frame without the pacing wait", timeIt([&] {
              scanOnce(screenScanProc);
              copyScreen(cover);
              convert(frame, bitsPerPixel);
              presentAt(overlay, work, 0, 0, false);
          }));
    print("everything but the copy", timeIt([&] {
              scanOnce(screenScanProc);
              convert(frame, bitsPerPixel);
              presentAt(overlay, work, 0, 0, false);
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
