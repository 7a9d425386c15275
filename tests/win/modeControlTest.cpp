// Mode control in this test process: real overlay and capture threads started and
// stopped as the buttons and the list start them, over windows the test makes.
// What matters is the run protocol: which capture thread a stop waits for, what a
// late close and a failed start leave behind, and two starts at once.
#include <windows.h>

#include <gtest/gtest.h>

#include "appState.h"
#include "captureTestWorld.h"
#include "modeControl.h"
#include "overlayWindows.h"
#include "testWorld.h"
#include "threadStart.h"

namespace {

const char OVERLAY_CLASS[] = "TALVERO";
const char OVERLAY_TITLE[] = "TALVERO_GRAY";
constexpr DWORD DEADLINE_MS = 15000;
constexpr DWORD SETTLE_MS = 500;
const RECT TARGET_PLACE = {100, 100, 400, 300};

// The class procedure the overlays forward to: like the main window's, it ends the
// overlay thread's loop on WM_DESTROY.
LRESULT CALLBACK classProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool registerOverlayClass()
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = classProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = OVERLAY_CLASS;
    return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

BOOL CALLBACK countOverlayProc(HWND window, LPARAM count)
{
    char className[32] = {};
    char title[32] = {};
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId() && strcmp(className, OVERLAY_CLASS) == 0 && strcmp(title, OVERLAY_TITLE) == 0)
        ++*reinterpret_cast<int *>(count);
    return TRUE;
}

int overlayCount()
{
    int count = 0;
    EnumWindows(countOverlayProc, reinterpret_cast<LPARAM>(&count));
    return count;
}

struct ModeState {
    uint32_t activeRun;
    int32_t runCount;
    HWND selectedTarget;
    int32_t stopRequested;
};

ModeState modeState()
{
    ModeState state = {};
    EnterCriticalSection(&appState.listLock);
    state.activeRun = appState.activeRun;
    state.runCount = appState.runCount;
    state.selectedTarget = appState.selectedTarget;
    LeaveCriticalSection(&appState.listLock);
    EnterCriticalSection(&appState.runLock);
    state.stopRequested = appState.stopRequested;
    LeaveCriticalSection(&appState.runLock);
    return state;
}

void startDetached(ThreadRoutine routine, void *argument)
{
    HANDLE thread = startThread(routine, argument);
    ASSERT_NE(nullptr, thread);
    CloseHandle(thread);
}

// Runs routine on a thread and pumps (the capture threads write the status bar of
// this thread's window) until it ends.
bool runPumping(ThreadRoutine routine, void *argument)
{
    HANDLE thread = startThread(routine, argument);
    if (thread == nullptr)
        return false;
    bool ended = pumpUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, DEADLINE_MS);
    CloseHandle(thread);
    return ended;
}

bool grayIsOn()
{
    return overlayCount() == 1 && statusText(1) == "Gray: ON";
}

class ModeControl : public testing::Test {
protected:
    void SetUp() override
    {
        ensureCaptureWorld();
        ASSERT_TRUE(registerOverlayClass());
    }
    void TearDown() override
    {
        runPumping(stopModeAndWait, nullptr);
        pumpUntil([] { return overlayCount() == 0; }, DEADLINE_MS);
    }
};

}  // namespace

// The selected mode closes itself when its window goes; its end may come late. A
// later run is neither stopped by the old run's close nor released early by its end.
TEST_F(ModeControl, ASelfClosedRunLeavesNothingThatTouchesTheNextRun)
{
    HWND target = createStripedWindow(TARGET_PLACE, {0xFF0000, 0x00FF00});
    startDetached(selectedOverlayMain, target);
    ASSERT_TRUE(pumpUntil(grayIsOn, DEADLINE_MS)) << "the selected mode did not start";
    ModeState first = modeState();
    EXPECT_EQ(target, first.selectedTarget) << "the list marks the selected window";

    destroyTestWindow(target);
    ASSERT_TRUE(pumpUntil([] { return overlayCount() == 0 && statusText(1) == "Gray: OFF"; }, DEADLINE_MS))
        << "the overlay did not close itself after its window went";
    EXPECT_EQ(nullptr, modeState().selectedTarget);

    startDetached(screenOverlayMain, nullptr);
    ASSERT_TRUE(pumpUntil([&] { return grayIsOn() && modeState().activeRun != first.activeRun; }, DEADLINE_MS))
        << "the screen mode did not start after the self-closed run";

    // The first run's close, arriving late, must not stop the screen mode.
    ASSERT_TRUE(runPumping(markModeStopped, reinterpret_cast<void *>(static_cast<uintptr_t>(first.activeRun))));
    pumpFor(SETTLE_MS);
    EXPECT_EQ(0, modeState().stopRequested);
    EXPECT_TRUE(grayIsOn()) << "a late close of an older run stopped the running one";

    // The stop returns only once this run's capture thread has closed its overlay.
    ASSERT_TRUE(runPumping(stopModeAndWait, nullptr));
    EXPECT_EQ(0, overlayCount()) << "the stop returned before the running capture thread ended";
    ModeState after = modeState();
    EXPECT_EQ(0u, after.activeRun);
    EXPECT_EQ(0, after.runCount);
}

// No overlay can be made (its class is gone): the start is undone, nothing stays
// marked, and the next stop does not wait for a capture thread that never ran.
TEST_F(ModeControl, AFailedStartLeavesNoRunAndNoMark)
{
    ASSERT_TRUE(UnregisterClassA(OVERLAY_CLASS, GetModuleHandleA(nullptr)));
    HWND target = createStripedWindow(TARGET_PLACE, {0x0000FF});
    ASSERT_TRUE(runPumping(selectedOverlayMain, target)) << "the failed start did not end its thread";
    ModeState state = modeState();
    EXPECT_EQ(0u, state.activeRun);
    EXPECT_EQ(0, state.runCount);
    EXPECT_EQ(nullptr, state.selectedTarget) << "the list would mark a window that is not gray";
    EXPECT_TRUE(runPumping(stopModeAndWait, nullptr)) << "a stop after the failed start hangs";
    destroyTestWindow(target);
    ASSERT_TRUE(registerOverlayClass());
}

// Two presses of a mode button at once: the later start stops the earlier run, so
// there is never more than one overlay, and one stop ends everything.
TEST_F(ModeControl, TwoStartsAtOnceLeaveOneRun)
{
    startDetached(screenOverlayMain, nullptr);
    startDetached(screenOverlayMain, nullptr);
    int most = 0;
    DWORD start = GetTickCount();
    pumpUntil(
        [&] {
            most = std::max(most, overlayCount());
            return GetTickCount() - start > 3 * SETTLE_MS && grayIsOn();
        },
        DEADLINE_MS);
    EXPECT_EQ(1, most) << "two overlays at once";
    EXPECT_TRUE(grayIsOn());
    ASSERT_TRUE(runPumping(stopModeAndWait, nullptr));
    EXPECT_EQ(0, overlayCount());
    EXPECT_EQ(0u, modeState().activeRun);
}
