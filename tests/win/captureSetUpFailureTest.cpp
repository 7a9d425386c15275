// A run whose frame buffer cannot be made: the failing call's message is shown
// with the overlay out of its way, and once it is dismissed the run ends as any
// run ends, leaving no handle or GDI object behind.
#include <gtest/gtest.h>

#include "appState.h"
#include "testWorld.h"
#include "captureCounts.h"
#include "captureTestWorld.h"

namespace {

constexpr DWORD DEADLINE_MS = 30000;   // 101 attempts at the bitmap before the message
// No bitmap of HUGE_SIDE x HUGE_SIDE pixels at 32 bits (6.4 GB) can be made: more
// than the 32-bit build can address, and more than Wine will give the 64-bit one.
constexpr LONG HUGE_SIDE = 40000;
const RECT HUGE_PLACE = {0, 0, HUGE_SIDE, HUGE_SIDE};
const char BITMAP_FAILURE[] = "CreateDIBSection";
constexpr int32_t WARM_UP_RUNS = 2;

bool overlayIsTopmost(HWND overlay) { return (GetWindowLongA(overlay, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

// One run against the huge target, with its overlay over the work area in the
// topmost band, where it would hide a message box.
void runAndDismiss(HWND target)
{
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    OverlayLog log{};
    HWND overlay = createTestOverlay(work, &log);
    ShowWindow(overlay, SW_SHOWNA);
    SetWindowPos(overlay, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    log.shown = false;   // from here on only the loop could show it
    CaptureThread capture = startCapture(selectedCaptureMain, overlay, target);
    ASSERT_NE(nullptr, capture.thread);

    HWND box = waitForMessageBox(BITMAP_FAILURE, DEADLINE_MS);
    ASSERT_NE(nullptr, box) << "no message for the failed bitmap";
    EXPECT_FALSE(IsWindowVisible(overlay)) << "the overlay would cover the message";
    EXPECT_FALSE(overlayIsTopmost(overlay));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(capture.thread, 0)) << "the run ended before the message was read";

    EXPECT_EQ(1, dismissMessageBoxes(BITMAP_FAILURE));
    DWORD exitCode = 1;
    ASSERT_TRUE(waitCaptureEnd(&capture, DEADLINE_MS, &exitCode)) << "captureDone and the thread's end";
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(pumpUntil([&] { return !IsWindow(overlay); }, DEADLINE_MS)) << "overlay closed";
    EXPECT_EQ(nullptr, appState.memoryDC);
    EXPECT_FALSE(log.shown) << "a frame was presented";
    EXPECT_EQ("FPS: ", statusText(0));
    EXPECT_EQ("Gray: OFF", statusText(1));
}

TEST(CaptureSetUpFailure, AFrameBufferThatCannotBeMadeEndsTheRunAfterItsMessage)
{
    ensureCaptureWorld();
    WaitForSingleObject(testCaptureDone, 0);
    // Never shown: only its rectangle matters, and no display needs to hold it.
    HWND target = createHiddenWindow(HUGE_PLACE);
    RECT place{};
    GetWindowRect(target, &place);
    ASSERT_TRUE(EqualRect(&place, &HUGE_PLACE)) << "the window was not given the huge size";

    // The first runs load what Wine keeps for the process's life (the message
    // box's dialog machinery among it, whose GDI objects settle only after its
    // second showing); only a run after those is measured.
    for (int32_t i = 0; i < WARM_UP_RUNS; i++)
        runAndDismiss(target);
    ResourceCounts before = resourceCountsNow();
    runAndDismiss(target);
    ResourceCounts after = resourceCountsNow();
    ASSERT_GT(before.handles, 0) << "the handle list could not be read";
    EXPECT_EQ(before.handles, after.handles);
    if (before.gdiObjects >= 0) {
        EXPECT_EQ(before.gdiObjects, after.gdiObjects);
    }
    destroyTestWindow(target);
}

}  // namespace

