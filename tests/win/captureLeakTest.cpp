// A whole capture run (set-up, frames, a rebuilt frame buffer, stop, teardown)
// leaves no kernel handle and no GDI object behind, for each of the three loops,
// nor when a frame buffer could not be released at once.
#include <gtest/gtest.h>

#include "appState.h"
#include "testWorld.h"
#include "captureCounts.h"
#include "captureTestWorld.h"

namespace {

constexpr DWORD DEADLINE_MS = 10000;
const Stripes COLOURS = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
const RECT TARGET_PLACE = {300, 200, 300 + 320, 200 + 180};
constexpr uintptr_t BOGUS_DC = 0x00DEAD01;    // no device context has this handle
constexpr int32_t FRAMES_WATCHED = 20;        // release attempts that must all fail
constexpr int32_t SCANS_PER_WINDOW_FRAME = 2;

// One run of the loop against the target: gray shown, the target moved once
// (a new frame buffer), then a stop and the end awaited.
void runOnce(unsigned(__stdcall *captureMain)(void *), HWND target, bool screen)
{
    OverlayLog log{};
    RECT place = TARGET_PLACE;
    HWND overlay = createTestOverlay(place, &log);
    if (screen)
        ShowWindow(overlay, SW_SHOWNA);
    SetForegroundWindow(target);
    CaptureThread capture = startCapture(captureMain, overlay, screen ? GetDesktopWindow() : target);
    ASSERT_NE(nullptr, capture.thread);
    EXPECT_TRUE(pumpUntil([] { return statusText(0).rfind("FPS: Under", 0) == 0; }, DEADLINE_MS));
    pumpFor(200);
    SetWindowPos(target, nullptr, TARGET_PLACE.left + 1, TARGET_PLACE.top, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    pumpFor(200);
    SetWindowPos(target, nullptr, TARGET_PLACE.left, TARGET_PLACE.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    requestStop();
    DWORD exitCode = 1;
    EXPECT_TRUE(waitCaptureEnd(&capture, DEADLINE_MS, &exitCode));
    EXPECT_TRUE(pumpUntil([&] { return !IsWindow(overlay); }, DEADLINE_MS));
}

struct LoopCase {
    const char *name;
    unsigned(__stdcall *captureMain)(void *);
    bool screen;
};

TEST(CaptureLeaks, NoHandleOrGdiObjectLeftAfterARun)
{
    ensureCaptureWorld();
    WaitForSingleObject(testCaptureDone, 0);
    HWND target = createStripedWindow(TARGET_PLACE, COLOURS);
    const LoopCase loops[] = {{"selected window", selectedCaptureMain, false},
                              {"foreground window", foregroundCaptureMain, false},
                              {"screen", screenCaptureMain, true}};
    for (const LoopCase &loop : loops) {
        SCOPED_TRACE(loop.name);
        // The first run loads what Wine keeps for the process's life (display
        // drivers, fonts); only the second run is measured.
        runOnce(loop.captureMain, target, loop.screen);
        ResourceCounts before = resourceCountsNow();
        runOnce(loop.captureMain, target, loop.screen);
        ResourceCounts after = resourceCountsNow();
        ASSERT_GT(before.handles, 0) << "the handle list could not be read";
        EXPECT_EQ(before.handles, after.handles);
        if (before.gdiObjects >= 0) {
            EXPECT_EQ(before.gdiObjects, after.gdiObjects);
        }
    }
    destroyTestWindow(target);
#ifdef _WIN64
    EXPECT_GT(processGdiObjectCount(), 0) << "the GDI table could not be read";
#endif
}

TEST(CaptureLeaks, AFrameBufferThatCannotBeReleasedIsKeptUntilItCanBe)
{
    ensureCaptureWorld();
    WaitForSingleObject(testCaptureDone, 0);
    HWND target = createStripedWindow(TARGET_PLACE, COLOURS);
    runOnce(selectedCaptureMain, target, false);
    ResourceCounts before = resourceCountsNow();

    OverlayLog log{};
    HWND overlay = createTestOverlay(TARGET_PLACE, &log);
    CaptureThread capture = startCapture(selectedCaptureMain, overlay, target);
    ASSERT_NE(nullptr, capture.thread);
    ASSERT_TRUE(pumpUntil([&] { return appState.memoryDC != nullptr && IsWindowVisible(overlay); }, DEADLINE_MS));

    // The loop's memory context stops answering, as a failing one would (the field
    // is the capture thread's; swapped atomically here to inject the fault), and
    // the target moves: the old buffer cannot be released for the rebuild.
    HDC memory = appState.memoryDC;
    HDC bogus = reinterpret_cast<HDC>(BOGUS_DC);
    InterlockedExchangePointer(reinterpret_cast<PVOID *>(&appState.memoryDC), bogus);
    const RECT moved = {TARGET_PLACE.left + 1, TARGET_PLACE.top, TARGET_PLACE.right + 1, TARGET_PLACE.bottom};
    SetWindowPos(target, nullptr, moved.left, moved.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(pumpForScans(FRAMES_WATCHED * SCANS_PER_WINDOW_FRAME, DEADLINE_MS));
    PVOID seen = InterlockedCompareExchangePointer(reinterpret_cast<PVOID *>(&appState.memoryDC), memory, bogus);
    EXPECT_EQ(bogus, static_cast<HDC>(seen)) << "a new frame buffer replaced one that was never released";

    // Once the context answers again the old buffer goes and the new place is grayed.
    EXPECT_TRUE(pumpUntil(
        [&] {
            RECT shown{};
            GetWindowRect(overlay, &shown);
            return EqualRect(&shown, &moved) && grayMismatches(moved, COLOURS, 0, 10, 0) == 0;
        },
        DEADLINE_MS));
    requestStop();
    DWORD exitCode = 1;
    EXPECT_TRUE(waitCaptureEnd(&capture, DEADLINE_MS, &exitCode));
    EXPECT_TRUE(pumpUntil([&] { return !IsWindow(overlay); }, DEADLINE_MS));
    SetWindowPos(target, nullptr, TARGET_PLACE.left, TARGET_PLACE.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    ResourceCounts after = resourceCountsNow();
    EXPECT_EQ(before.handles, after.handles);
    if (before.gdiObjects >= 0) {
        EXPECT_EQ(before.gdiObjects, after.gdiObjects) << "the unreleased buffer leaked";
    }
    destroyTestWindow(target);
}

}  // namespace
