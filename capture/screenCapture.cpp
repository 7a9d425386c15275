// The capture thread of the screen mode and of the focus mode: copies the whole
// screen, grays it and paints the part under the overlay into it, keeping the
// overlay's z-order place right; the focus mode also keeps a hole in the overlay
// over the window in front. Runs on its own thread; see captureLoops.h.
#include <windows.h>

#include <cstring>

#include "appState.h"
#include "captureLoops.h"
#include "captureRun.h"
#include "focusHole.h"
#include "gray.h"
#include "retry.h"

namespace {

// Copies the screen into the frame buffer through a context on display device 0.
void copyScreen(const char *deviceName, const ScreenRect &screen)
{
    HDC screenDC = nullptr;
    if (!retryCall(FRAME_RETRIES, [&] {
            screenDC = CreateDCA(deviceName, deviceName, nullptr, nullptr);
            return screenDC != nullptr;
        }))
        return;   // the frame goes on with what the buffer holds
    // SRCCOPY alone: on Windows the layered overlay is left out of the copy.
    retryCall(FRAME_RETRIES, [&] {
        return BitBlt(appState.memoryDC, 0, 0, rectWidth(screen), rectHeight(screen), screenDC, 0, 0, SRCCOPY) != FALSE;
    });
    retryCall(FRAME_RETRIES, [&] { return DeleteDC(screenDC) != FALSE; });
}

// Paints the part of the frame that lies under the overlay into it.
void presentUnderOverlay(HWND overlay)
{
    ScreenRect place = windowRect(overlay, nullptr);
    HDC overlayDC = GetDC(overlay);
    if (overlayDC == nullptr)
        return;
    BitBlt(overlayDC, 0, 0, rectWidth(place), rectHeight(place), appState.memoryDC, place.left, place.top, SRCCOPY);
    ReleaseDC(overlay, overlayDC);
}

// Both topmost decisions of one frame, applied.
void placeOverlay(CaptureRun *run, ScreenPoint cursor, HWND foreground)
{
    char foregroundClass[FOREGROUND_CLASS_BUFFER];
    readClassName(foreground, foregroundClass, FOREGROUND_CLASS_BUFFER);
    ZOrderScan scan{};
    EnumWindows(screenScanProc, reinterpret_cast<LPARAM>(&scan));
    char topClass[TOP_CLASS_BUFFER];
    readClassName(static_cast<HWND>(scan.topWindow), topClass, TOP_CLASS_BUFFER);

    ZOrderInput in{};
    in.cursor = cursor;
    in.workArea = run->workArea;
    in.foreground = foreground;
    in.lastForeground = appState.lastForeground;
    in.target = run->target;
    in.overlay = run->overlay;
    in.topWindow = scan.topWindow;
    in.overlayOnTop = scan.overlayOnTop;
    in.foregroundClass = foregroundClass;
    in.topClass = topClass;
    ZOrderMoves moves{};
    screenFirstDecision(in, &run->zOrder, &moves);
    screenSecondDecision(in, &run->zOrder, &moves);
    applyZOrderMoves(moves, run->overlay, run->target, foreground);
}

// The frame loop; returns when a stop was requested or no kernel fits.
void runScreenFrames(CaptureRun *run, const char *deviceName, bool cutsFocusHole)
{
    FocusHole hole = {};   // the overlay starts without a region
    for (;;) {
        ScreenPoint cursor = cursorPosition();
        ScreenRect screen = windowRect(run->target, nullptr);
        HWND foreground = GetForegroundWindow();
        placeOverlay(run, cursor, foreground);
        if (cutsFocusHole)
            followFocusHole(run->overlay, foreground, &hole);
        appState.lastForeground = foreground;
        // Never more than the frame buffer holds, should the screen have grown.
        screen.right = screen.left + run->frame.width;
        screen.bottom = screen.top + run->frame.height;
        copyScreen(deviceName, screen);
        if (!convertCapturedFrame(run))
            return;
        if (!IsIconic(run->target))
            presentUnderOverlay(run->overlay);
        paceAndCountFrame(run);
        if (stopWasRequested())
            return;
    }
}

unsigned runScreenCapture(void *start, bool focusMode)
{
    CaptureRun run;
    beginCaptureRun(&run);
    run.referenceWindow = GetDesktopWindow();
    run.referenceDC = GetDC(run.referenceWindow);
    takeCaptureStart(&run, start);
    readDisplayDepth(&run);

    ScreenRect screen = windowRect(run.target, nullptr);
    openFrameMapping(&run, screenMappingBytes(screen));
    if (!buildFrameBuffer(&run, screen)) {
        endCaptureRun(&run);
        return 0;
    }

    DISPLAY_DEVICEA device;
    ZeroMemory(&device, sizeof device);
    device.cb = sizeof device;
    EnumDisplayDevicesA(nullptr, 0, &device, 0);

    startFrameClock(&run);
    memset(run.frame.pixels, 0,
           static_cast<size_t>(dibRowStride(run.frame.width, run.bitsPerPixel)) * static_cast<size_t>(run.frame.height));
    raiseOverlay(run.overlay);
    // The focus mode leaves the user's window in front (its overlay was shown
    // without activation): that is the window it keeps in colour.
    if (!focusMode)
        SetForegroundWindow(appState.mainWindow);

    runScreenFrames(&run, device.DeviceName, focusMode);
    endCaptureRun(&run);
    return 0;
}

}  // namespace

unsigned __stdcall screenCaptureMain(void *start)
{
    return runScreenCapture(start, false);
}

unsigned __stdcall focusCaptureMain(void *start)
{
    return runScreenCapture(start, true);
}
