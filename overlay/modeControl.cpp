// Mode control: every gray mode is a run, registered before its overlay exists and
// unregistered by the stop that sees its capture thread end.
//
// Why the protocol is sound:
// - Every run has an identity (runSerial) and an end event of its own, which its
//   capture thread alone sets at teardown (handed over in CaptureStart). A stop
//   waits on the end event of the run that is active when it looks, so it waits
//   for that run's capture thread and no other; an earlier run's late end cannot
//   release it, and nothing stays set for a later wait.
// - Only a stop that has seen the end unregisters the run, and a run is registered
//   only while none is active (under listLock), so at most one capture thread runs.
//   Two starts at once: the loser finds the winner active, stops it and tries again.
// - The stop request says which run it may stop (stoppableRun, under runLock with
//   stopRequested). A start sets both, and clears the request, before it registers
//   its run; the capture thread never clears it. So a stop that finds the run
//   registered is never undone, and a late markModeStopped of an older run finds
//   another identity there and changes nothing. It never unregisters a run either:
//   its capture thread may still be tearing down, and the next stop must wait.
// - A start that fails signals its own end event (abandonModeRun), so a stop that
//   already waits for it ends, and no later stop waits for ever.
// Each waiter waits on a duplicate of the end event, so the stop that unregisters
// the run may close the original while another stop still waits.
#include "modeControl.h"

#include "appState.h"
#include "habitControl.h"
#include "overlayWindows.h"
#include "threadStart.h"

namespace {

constexpr DWORD STOP_POLL_MS = 10;

// Threads that could not be started, as the user sees it.
void showThreadError()
{
    MessageBoxA(appState.mainWindow, "error", "thread error", MB_OK);
}

void unregisterRun(uint32_t id)
{
    EnterCriticalSection(&appState.listLock);
    if (appState.activeRun == id) {
        CloseHandle(appState.activeRunDone);
        appState.activeRun = 0;
        appState.activeRunDone = nullptr;
        appState.runCount = 0;
        appState.selectedTarget = nullptr;
        InterlockedExchange(&appState.activeMode, MODE_NONE);
    }
    LeaveCriticalSection(&appState.listLock);
}

bool runHasEnded(uint32_t id)
{
    EnterCriticalSection(&appState.listLock);
    bool ended = appState.activeRun != id || WaitForSingleObject(appState.activeRunDone, 0) == WAIT_OBJECT_0;
    LeaveCriticalSection(&appState.listLock);
    return ended;
}

// Waits for the end of run id, whose end event was duplicated into ownDone (or not).
void waitForRunEnd(uint32_t id, HANDLE ownDone)
{
    if (ownDone != nullptr) {
        WaitForSingleObject(ownDone, INFINITE);
        CloseHandle(ownDone);
        return;
    }
    // No handle left to duplicate: look at the original under the lock instead.
    while (!runHasEnded(id))
        Sleep(STOP_POLL_MS);
}

uint32_t takeRunIdentity()
{
    EnterCriticalSection(&appState.runLock);
    uint32_t id = ++appState.runSerial;
    if (id == 0)
        id = ++appState.runSerial;   // 0 means none
    appState.stoppableRun = id;
    appState.stopRequested = 0;
    LeaveCriticalSection(&appState.runLock);
    return id;
}

bool registerRun(uint32_t id, HANDLE captureDone, HWND selected, int32_t mode)
{
    EnterCriticalSection(&appState.listLock);
    bool free = appState.activeRun == 0;
    if (free) {
        appState.activeRun = id;
        appState.activeRunDone = captureDone;
        appState.runCount = 1;
        appState.selectedTarget = selected;
        InterlockedExchange(&appState.activeMode, mode);
    }
    LeaveCriticalSection(&appState.listLock);
    return free;
}

HWND listEntryWindow(int32_t index)
{
    HWND window = nullptr;
    EnterCriticalSection(&appState.listLock);
    const WindowEntry *entry = appState.windowList;
    for (int32_t i = 0; entry != nullptr && i < index; i++)
        entry = entry->next;
    if (entry != nullptr && index >= 0)
        window = entry->windowHandle;
    LeaveCriticalSection(&appState.listLock);
    return window;
}

bool isSelectedTarget(HWND window)
{
    EnterCriticalSection(&appState.listLock);
    bool same = appState.selectedTarget == window;
    LeaveCriticalSection(&appState.listLock);
    return same;
}

int startOverlayThread(ThreadRoutine overlayMain, void *argument)
{
    HANDLE thread = startThread(overlayMain, argument);
    if (thread == nullptr) {
        showThreadError();
        return -1;
    }
    CloseHandle(thread);
    return 1;
}

}  // namespace

ModeRun beginModeRun(HWND selected, int32_t mode)
{
    for (;;) {
        // This is a worker thread that would only wait for a stop thread: stop here.
        stopModeAndWait(nullptr);
        HANDLE captureDone = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        if (captureDone == nullptr)
            return ModeRun{};
        uint32_t id = takeRunIdentity();
        if (registerRun(id, captureDone, selected, mode))
            return ModeRun{id, captureDone};
        CloseHandle(captureDone);   // another start came first: stop that one too
    }
}

void abandonModeRun(const ModeRun &run)
{
    SetEvent(run.captureDone);
    unregisterRun(run.id);
}

int32_t runningMode()
{
    return InterlockedCompareExchange(&appState.activeMode, MODE_NONE, MODE_NONE);
}

void markModeOffScreen()
{
    // No lock needed to know whose mode this is: a run's overlay closes before its
    // capture thread signals the end, and no later run registers before that.
    InterlockedExchange(&appState.activeMode, MODE_NONE);
}

unsigned __stdcall stopModeAndWait(void *)
{
    EnterCriticalSection(&appState.runLock);
    appState.stopRequested = 1;
    LeaveCriticalSection(&appState.runLock);

    EnterCriticalSection(&appState.listLock);
    uint32_t id = appState.activeRun;
    HANDLE ownDone = nullptr;
    if (id != 0)
        DuplicateHandle(GetCurrentProcess(), appState.activeRunDone, GetCurrentProcess(), &ownDone, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
    appState.selectedTarget = nullptr;
    LeaveCriticalSection(&appState.listLock);

    if (id != 0) {
        waitForRunEnd(id, ownDone);
        unregisterRun(id);
    }
    return 0;
}

unsigned __stdcall markModeStopped(void *runId)
{
    uint32_t id = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(runId));
    EnterCriticalSection(&appState.runLock);
    if (appState.stoppableRun == id)
        appState.stopRequested = 1;
    LeaveCriticalSection(&appState.runLock);

    EnterCriticalSection(&appState.listLock);
    if (appState.activeRun == id)
        appState.selectedTarget = nullptr;
    LeaveCriticalSection(&appState.listLock);
    return 0;
}

bool startStop()
{
    HANDLE thread = startThread(stopModeAndWait, nullptr);
    if (thread == nullptr)
        return false;
    CloseHandle(thread);
    return true;
}

int startScreenMode()
{
    return startOverlayThread(screenOverlayMain, nullptr);
}

int startFocusMode()
{
    return startOverlayThread(focusOverlayMain, nullptr);
}

int startMonitorMode()
{
    return startOverlayThread(monitorOverlayMain, nullptr);
}

int startRulesMode()
{
    return startOverlayThread(rulesOverlayMain, nullptr);
}

int startForegroundMode()
{
    return startOverlayThread(foregroundOverlayMain, nullptr);
}

int startForegroundModeOn(HWND target)
{
    return startOverlayThread(foregroundOverlayMain, target);
}

int startSelectedModeOn(HWND target)
{
    return startOverlayThread(selectedOverlayMain, target);
}

int grayPendingListEntry()
{
    return startOverlayThread(grayListEntryMain, &appState.selectedListIndex);
}

int grayListEntry(int32_t index)
{
    noteHandChoice();
    appState.selectedListIndex = index;
    if (index == -1)
        return 1;
    grayPendingListEntry();
    return 1;
}

unsigned __stdcall grayListEntryMain(void *index)
{
    HWND window = listEntryWindow(*static_cast<const int32_t *>(index));
    if (window == nullptr)
        return 0;   // past the end of the list
    if (isSelectedTarget(window)) {
        stopModeAndWait(nullptr);   // picking the grayed window again turns gray off
        return 0;
    }
    // The overlay thread stops the running mode and registers the new run itself,
    // so a start that fails leaves no mark and no run behind.
    HANDLE thread = startThread(selectedOverlayMain, window);
    if (thread == nullptr) {
        showThreadError();
        return static_cast<unsigned>(-1);
    }
    CloseHandle(thread);
    return 0;
}
