// The window capture loops on real windows of the test process: the overlay
// shows exactly the kernels' gray of the target, follows a move, hides while the
// target is minimised, and the run ends cleanly on a stop or an unusable setting.
// Targets belong to this process because Wine reads another process's covered
// window as black; Windows would not (the product does not depend on it).
#include <gtest/gtest.h>

#include "appState.h"
#include "testWorld.h"
#include "captureTestWorld.h"

namespace {

constexpr DWORD SHOW_DEADLINE_MS = 10000;
constexpr DWORD END_DEADLINE_MS = 10000;

const Stripes COLOURS = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0x000000, 0x804020, 0x808080, 0x20C0E0};
const Stripes OTHER_COLOURS = {0x102030, 0xF0E0D0, 0x7F7F00};

const RECT TARGET_PLACE = {300, 200, 300 + 320, 200 + 180};
const RECT SECOND_PLACE = {700, 250, 700 + 240, 250 + 160};   // beside the target, not over it
const RECT EMPTY_PLACE = {300, 200, 300, 200};

// Enough frames for a loop to have made every z-order move many times over.
constexpr int32_t FRAMES_WATCHED = 20;
constexpr int32_t SCANS_PER_WINDOW_FRAME = 2;
// A few frames given up early (each scans once before it gives up).
constexpr int32_t GIVEN_UP_FRAMES = 5;

struct GraySetting {
    int32_t convertType;
    int32_t grayTone;
    int32_t reverseGray;
    int32_t intensity = GRAY_INTENSITY_FULL;
};

class CaptureWindowLoop : public testing::Test {
protected:
    void SetUp() override
    {
        ensureCaptureWorld();
        appState.graySettings = GraySettings{};
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2);
        WaitForSingleObject(testCaptureDone, 0);   // no leftover signal from another test
    }
    void TearDown() override
    {
        // A failed rebuild would wait in its message box for ever.
        for (const char *caption : {"CreateDIBSection", "CreateCompatibleDC", "pbits", "CreateFileMapping"})
            EXPECT_EQ(0, dismissMessageBoxes(caption)) << caption;
        if (capture.thread != nullptr) {
            requestStop();
            DWORD exitCode = 0;
            waitCaptureEnd(&capture, END_DEADLINE_MS, &exitCode);
        }
        destroyTestWindow(overlay);
        destroyTestWindow(target);
        destroyTestWindow(secondTarget);
        appState.graySettings = GraySettings{};
        InterlockedExchange(&appState.grayIntensity, GRAY_INTENSITY_FULL);
        appState.fullScreenColour = 0;
    }

    void start(unsigned(__stdcall *captureMain)(void *), HWND captured)
    {
        overlay = createTestOverlay(TARGET_PLACE, &log);
        capture = startCapture(captureMain, overlay, captured);
        ASSERT_NE(nullptr, capture.thread);
    }

    // A striped target in front, grayed by the given loop.
    void startOnStripedTarget(unsigned(__stdcall *captureMain)(void *))
    {
        target = createStripedWindow(TARGET_PLACE, COLOURS);
        SetForegroundWindow(target);
        start(captureMain, target);
    }

    RECT overlayRect() const
    {
        RECT rect{};
        GetWindowRect(overlay, &rect);
        return rect;
    }

    bool overlayShowsGrayOf(HWND window, const Stripes &stripes, const GraySetting &setting)
    {
        return pumpUntil(
            [&] {
                RECT place{};
                GetWindowRect(window, &place);
                RECT shown = overlayRect();
                return IsWindowVisible(overlay) && EqualRect(&place, &shown) &&
                       grayMismatches(place, stripes, setting.convertType, setting.grayTone, setting.reverseGray,
                                      setting.intensity) == 0;
            },
            SHOW_DEADLINE_MS);
    }

    void expectCleanEnd()
    {
        DWORD exitCode = 1;
        ASSERT_TRUE(waitCaptureEnd(&capture, END_DEADLINE_MS, &exitCode));
        EXPECT_EQ(0u, exitCode);
        EXPECT_TRUE(pumpUntil([&] { return !IsWindow(overlay); }, END_DEADLINE_MS)) << "overlay closed";
        EXPECT_EQ(nullptr, appState.memoryDC);
        EXPECT_EQ("FPS: ", statusText(0));
        EXPECT_EQ("Gray: OFF", statusText(1));
    }

    // Pumps one message at a time and looks at captureDone before each, so that it
    // sees the event as soon as it is set: what the status reads then was sent before.
    bool pumpUntilCaptureDone(DWORD timeoutMs)
    {
        DWORD start = GetTickCount();
        while (GetTickCount() - start <= timeoutMs) {
            if (WaitForSingleObject(testCaptureDone, 0) == WAIT_OBJECT_0)
                return true;
            MSG message;
            if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            } else {
                MsgWaitForMultipleObjects(0, nullptr, FALSE, ONE_MESSAGE_WAIT_MS, QS_ALLINPUT);
            }
        }
        return false;
    }

    // captureDone already taken: only the thread's end is left to wait for.
    void waitThreadEnd()
    {
        ASSERT_TRUE(pumpUntil([&] { return WaitForSingleObject(capture.thread, 0) == WAIT_OBJECT_0; }, END_DEADLINE_MS));
        CloseHandle(capture.thread);
        capture.thread = nullptr;
        EXPECT_TRUE(pumpUntil([&] { return !IsWindow(overlay); }, END_DEADLINE_MS)) << "overlay closed";
    }

    static constexpr DWORD ONE_MESSAGE_WAIT_MS = 5;

    HWND target = nullptr;
    HWND secondTarget = nullptr;
    HWND overlay = nullptr;
    OverlayLog log{};
    CaptureThread capture{};
};

TEST_F(CaptureWindowLoop, SelectedWindowShowsTheKernelsGrayForEachSetting)
{
    const GraySetting settings[] = {{0, 10, 0}, {1, 10, 0}, {0, 5, 1}, {1, 7, 1}, {0, 0, 0}};
    for (const GraySetting &setting : settings) {
        SCOPED_TRACE(testing::Message() << "convertType " << setting.convertType << " grayTone " << setting.grayTone
                                        << " reverseGray " << setting.reverseGray);
        appState.graySettings = GraySettings{setting.convertType, setting.grayTone, setting.reverseGray};
        target = createStripedWindow(TARGET_PLACE, COLOURS);
        start(selectedCaptureMain, target);
        EXPECT_TRUE(overlayShowsGrayOf(target, COLOURS, setting));
        EXPECT_EQ("Gray: ON", statusText(1));
        requestStop();
        expectCleanEnd();
        destroyTestWindow(target);
    }
}

TEST_F(CaptureWindowLoop, AChangedIntensityRegraysTheStillTarget)
{
    // The target never changes: only the intensity does, and each change reaches the overlay.
    const int32_t halfway = 50;
    target = createStripedWindow(TARGET_PLACE, COLOURS);
    start(selectedCaptureMain, target);
    ASSERT_TRUE(overlayShowsGrayOf(target, COLOURS, GraySetting{0, 10, 0}));
    InterlockedExchange(&appState.grayIntensity, halfway);
    EXPECT_TRUE(overlayShowsGrayOf(target, COLOURS, GraySetting{0, 10, 0, halfway}));
    InterlockedExchange(&appState.grayIntensity, GRAY_INTENSITY_FULL);
    EXPECT_TRUE(overlayShowsGrayOf(target, COLOURS, GraySetting{0, 10, 0}));
}

TEST_F(CaptureWindowLoop, StatusReadsUnderMeasurementUntilTheFirstReport)
{
    target = createStripedWindow(TARGET_PLACE, COLOURS);
    start(selectedCaptureMain, target);
    // The capture thread sends the texts; they arrive as this thread pumps.
    EXPECT_TRUE(pumpUntil([] { return statusText(1) == "Gray: ON"; }, SHOW_DEADLINE_MS));
    EXPECT_EQ("FPS: Under measurement ", statusText(0));
    // A report is due after 100 presented frames or 5 s; the target is still, so
    // the figure counts the frames that presented something: few.
    EXPECT_TRUE(pumpUntil([] { return statusText(0) != "FPS: Under measurement "; }, 4 * SHOW_DEADLINE_MS));
    std::string rate = statusText(0);
    ASSERT_EQ(0u, rate.rfind("FPS: ", 0)) << rate;
    int fps = atoi(rate.c_str() + 5);
    EXPECT_GE(fps, 0) << rate;
    EXPECT_LE(fps, 2) << rate;
}

TEST_F(CaptureWindowLoop, MovingTheTargetByOnePixelRebuildsTheFrameBuffer)
{
    const GraySetting setting{0, 10, 0};
    target = createStripedWindow(TARGET_PLACE, COLOURS);
    start(selectedCaptureMain, target);
    ASSERT_TRUE(overlayShowsGrayOf(target, COLOURS, setting));

    HGDIOBJ before = GetCurrentObject(appState.memoryDC, OBJ_BITMAP);
    SetWindowPos(target, nullptr, TARGET_PLACE.left + 1, TARGET_PLACE.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(pumpUntil(
        [&] {
            HDC memory = appState.memoryDC;
            return memory != nullptr && GetCurrentObject(memory, OBJ_BITMAP) != before;
        },
        SHOW_DEADLINE_MS));
    EXPECT_TRUE(overlayShowsGrayOf(target, COLOURS, setting));

    // One pixel wider: a stale frame buffer would leave the new column unconverted.
    SetWindowPos(target, nullptr, 0, 0, TARGET_PLACE.right - TARGET_PLACE.left + 1,
                 TARGET_PLACE.bottom - TARGET_PLACE.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(overlayShowsGrayOf(target, COLOURS, setting));
}

TEST_F(CaptureWindowLoop, OverlayHidesWhileTheTargetIsMinimised)
{
    const GraySetting setting{0, 10, 0};
    target = createStripedWindow(TARGET_PLACE, COLOURS);
    start(selectedCaptureMain, target);
    ASSERT_TRUE(overlayShowsGrayOf(target, COLOURS, setting));

    ShowWindow(target, SW_MINIMIZE);
    EXPECT_TRUE(pumpUntil([&] { return !IsWindowVisible(overlay); }, SHOW_DEADLINE_MS));
    // Hidden where it was, frame after frame: not shrunk to nothing at the corner.
    ASSERT_TRUE(pumpForScans(FRAMES_WATCHED * SCANS_PER_WINDOW_FRAME, SHOW_DEADLINE_MS));
    RECT hidden = overlayRect();
    EXPECT_TRUE(EqualRect(&hidden, &TARGET_PLACE)) << hidden.left << "," << hidden.top << " " << hidden.right - hidden.left
                                                   << "x" << hidden.bottom - hidden.top;
    ShowWindow(target, SW_RESTORE);
    EXPECT_TRUE(overlayShowsGrayOf(target, COLOURS, setting));
}

TEST_F(CaptureWindowLoop, UnknownConvertTypeEndsTheRunWithoutPresenting)
{
    appState.graySettings = GraySettings{2, 10, 0};
    for (auto captureMain : {selectedCaptureMain, foregroundCaptureMain}) {
        SCOPED_TRACE(captureMain == selectedCaptureMain ? "selected window" : "foreground window");
        startOnStripedTarget(captureMain);
        expectCleanEnd();
        EXPECT_FALSE(log.shown) << "the frame was presented";
        destroyTestWindow(target);
    }
}

TEST_F(CaptureWindowLoop, StopRequestEndsTheRunAndSignalsCaptureDone)
{
    for (auto captureMain : {selectedCaptureMain, foregroundCaptureMain}) {
        SCOPED_TRACE(captureMain == selectedCaptureMain ? "selected window" : "foreground window");
        startOnStripedTarget(captureMain);
        ASSERT_TRUE(overlayShowsGrayOf(target, COLOURS, GraySetting{0, 10, 0}));
        requestStop();
        expectCleanEnd();
        destroyTestWindow(target);
    }
}

TEST_F(CaptureWindowLoop, ForegroundModeFollowsTheWindowInFront)
{
    const GraySetting setting{1, 10, 0};
    appState.graySettings = GraySettings{setting.convertType, setting.grayTone, setting.reverseGray};
    startOnStripedTarget(foregroundCaptureMain);
    EXPECT_TRUE(overlayShowsGrayOf(target, COLOURS, setting));
    EXPECT_EQ(target, log.followed);

    secondTarget = createStripedWindow(SECOND_PLACE, OTHER_COLOURS);
    SetForegroundWindow(secondTarget);
    EXPECT_TRUE(overlayShowsGrayOf(secondTarget, OTHER_COLOURS, setting));
    EXPECT_EQ(secondTarget, log.followed);
    EXPECT_GT(log.followMessages, 1);
}

// A target in front that fills its monitor is left in colour: the overlay keeps
// its place with an empty region, and gets its shape and picture back after.
TEST_F(CaptureWindowLoop, AFullScreenTargetInFrontIsLeftInColourWhileItIs)
{
    const GraySetting setting{0, 10, 0};
    appState.fullScreenColour = 1;
    startOnStripedTarget(foregroundCaptureMain);
    ASSERT_TRUE(overlayShowsGrayOf(target, COLOURS, setting));
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    SetWindowPos(target, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), SWP_NOZORDER);
    EXPECT_TRUE(pumpUntil([&] { return GetWindowRgn(overlay, region) == NULLREGION; }, SHOW_DEADLINE_MS));
    SetWindowPos(target, nullptr, TARGET_PLACE.left, TARGET_PLACE.top, TARGET_PLACE.right - TARGET_PLACE.left,
                 TARGET_PLACE.bottom - TARGET_PLACE.top, SWP_NOZORDER);
    EXPECT_TRUE(pumpUntil([&] { return GetWindowRgn(overlay, region) == ERROR; }, SHOW_DEADLINE_MS));
    EXPECT_TRUE(overlayShowsGrayOf(target, COLOURS, setting));
    DeleteObject(region);
}

TEST_F(CaptureWindowLoop, SelectedWindowLargerThanTheDesktopIsGrayed)
{
    const int32_t width = GetSystemMetrics(SM_CXSCREEN);
    const int32_t height = GetSystemMetrics(SM_CYSCREEN);
    // Wider than the desktop and taller: its frame no longer fits the mapping.
    const RECT huge = {-200, -100, width + 300, height + 100};
    target = createStripedWindow(huge, COLOURS);
    start(selectedCaptureMain, target);
    // Only the visible part can be read back; the stripes are placed by the window's width.
    RECT visible = {0, 0, width, height - 200};
    EXPECT_TRUE(pumpUntil(
        [&] {
            std::vector<uint32_t> pixels = screenPixels(visible);
            for (size_t i = 0; i < pixels.size(); i += 97) {
                int32_t x = static_cast<int32_t>(i % static_cast<size_t>(width)) - huge.left;
                if (pixels[i] != expectedGray(stripeAt(COLOURS, x, huge.right - huge.left), 0, 10, 0))
                    return false;
            }
            return IsWindowVisible(overlay) != FALSE;
        },
        SHOW_DEADLINE_MS));
    requestStop();
    expectCleanEnd();
}

TEST_F(CaptureWindowLoop, SelectedWindowWithAnEmptyRectangleKeepsRunning)
{
    target = createStripedWindow(EMPTY_PLACE, COLOURS);
    start(selectedCaptureMain, target);
    pumpFor(300);
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(capture.thread, 0)) << "the run ended";
    // Given a size, the target is grayed.
    SetWindowPos(target, nullptr, TARGET_PLACE.left, TARGET_PLACE.top, TARGET_PLACE.right - TARGET_PLACE.left,
                 TARGET_PLACE.bottom - TARGET_PLACE.top, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(overlayShowsGrayOf(target, COLOURS, GraySetting{0, 10, 0}));
    requestStop();
    expectCleanEnd();
}

TEST_F(CaptureWindowLoop, AnotherWindowInFrontKeepsTheForegroundWhileTheTargetIsGrayed)
{
    const GraySetting setting{0, 10, 0};
    target = createStripedWindow(TARGET_PLACE, COLOURS);
    start(selectedCaptureMain, target);
    ASSERT_TRUE(overlayShowsGrayOf(target, COLOURS, setting));

    // The user works in another window: every frame now lowers the overlay and puts
    // the target under it, none of which may take the foreground from that window.
    secondTarget = createStripedWindow(SECOND_PLACE, OTHER_COLOURS);
    ASSERT_TRUE(SetForegroundWindow(secondTarget));
    ASSERT_EQ(secondTarget, GetForegroundWindow());
    ASSERT_TRUE(pumpForScans(FRAMES_WATCHED * SCANS_PER_WINDOW_FRAME, SHOW_DEADLINE_MS));
    EXPECT_EQ(secondTarget, GetForegroundWindow()) << "a z-order move activated a window";
    EXPECT_TRUE(overlayShowsGrayOf(target, COLOURS, setting)) << "the target is still grayed";
}

TEST_F(CaptureWindowLoop, TheEndTextsAreShownBeforeCaptureDoneIsSet)
{
    for (auto captureMain : {selectedCaptureMain, foregroundCaptureMain}) {
        SCOPED_TRACE(captureMain == selectedCaptureMain ? "selected window" : "foreground window");
        startOnStripedTarget(captureMain);
        ASSERT_TRUE(overlayShowsGrayOf(target, COLOURS, GraySetting{0, 10, 0}));
        ASSERT_EQ("Gray: ON", statusText(1));
        requestStop();
        // A mode started right after captureDone writes "Gray: ON": nothing of this
        // run may come after it.
        ASSERT_TRUE(pumpUntilCaptureDone(END_DEADLINE_MS));
        EXPECT_EQ("FPS: ", statusText(0));
        EXPECT_EQ("Gray: OFF", statusText(1));
        waitThreadEnd();
        destroyTestWindow(target);
    }
}

TEST_F(CaptureWindowLoop, ForegroundModeOutlivesTheWindowItStartedOn)
{
    const GraySetting setting{0, 10, 0};
    startOnStripedTarget(foregroundCaptureMain);
    ASSERT_TRUE(overlayShowsGrayOf(target, COLOURS, setting));

    // The first window closes; the next one, of another size, needs a new frame
    // buffer, made compatible with the run's reference context.
    destroyTestWindow(target);
    secondTarget = createStripedWindow(SECOND_PLACE, OTHER_COLOURS);
    SetForegroundWindow(secondTarget);
    EXPECT_TRUE(overlayShowsGrayOf(secondTarget, OTHER_COLOURS, setting));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(capture.thread, 0)) << "the run ended";
}

TEST_F(CaptureWindowLoop, AStopEndsARunWhoseFramesAreGivenUpEarly)
{
    // An empty target: the selected loop has no frame buffer for it, the foreground
    // loop skips its rectangle; neither ever reaches a presented frame.
    for (auto captureMain : {selectedCaptureMain, foregroundCaptureMain}) {
        SCOPED_TRACE(captureMain == selectedCaptureMain ? "selected window" : "foreground window");
        target = createStripedWindow(EMPTY_PLACE, COLOURS);
        SetForegroundWindow(target);
        start(captureMain, target);
        ASSERT_TRUE(pumpForScans(GIVEN_UP_FRAMES, SHOW_DEADLINE_MS));
        ASSERT_EQ(WAIT_TIMEOUT, WaitForSingleObject(capture.thread, 0)) << "the run ended";
        EXPECT_FALSE(log.shown) << "a frame was presented";
        requestStop();
        expectCleanEnd();
        destroyTestWindow(target);
    }
}

}  // namespace
