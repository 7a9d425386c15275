// The single instance: the first start creates the named mutex and keeps it for
// the life of the process; a later start finds the first one's main window (a
// window of class "TALVERO" that is not a layered overlay) and sends it its
// command by WM_COPYDATA. A first copy that runs as administrator takes that
// message from a start without those rights too. WinMain's thread only.
#include "singleInstance.h"

#include "appState.h"

namespace {

const char INSTANCE_MUTEX_NAME[] = "TALVERO.SingleInstance";
const char MAIN_CLASS_NAME[] = "TALVERO";
// The first instance may still be inside its start-up; its window is looked for this long.
constexpr DWORD FIND_DEADLINE_MS = 10000;
constexpr DWORD FIND_POLL_MS = 50;
constexpr UINT HANDOVER_TIMEOUT_MS = 10000;
constexpr DWORD MESSAGE_FILTER_ADD = 1;   // MSGFLT_ADD, which headers for XP leave out

// The other instance's main window: its overlays share the class but are layered.
HWND findRunningMainWindow()
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, MAIN_CLASS_NAME, nullptr)) != nullptr) {
        if ((GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_LAYERED) == 0)
            return window;
    }
    return nullptr;
}

HWND waitForRunningMainWindow()
{
    DWORD started = GetTickCount();
    for (;;) {
        HWND window = findRunningMainWindow();
        if (window != nullptr || GetTickCount() - started >= FIND_DEADLINE_MS)
            return window;
        Sleep(FIND_POLL_MS);
    }
}

bool sendCommand(HWND mainWindow, int32_t command)
{
    // The running instance may bring its window to the front: this start is the
    // foreground process and may pass that right on.
    DWORD processId = 0;
    GetWindowThreadProcessId(mainWindow, &processId);
    AllowSetForegroundWindow(processId);

    COPYDATASTRUCT data = {};
    data.dwData = START_COMMAND_TAG;
    data.cbData = sizeof command;
    data.lpData = &command;
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(mainWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                               HANDOVER_TIMEOUT_MS, &answer) != 0 &&
           answer == TRUE;
}

}  // namespace

int32_t handOverToRunningInstance(int32_t command)
{
    // Kept open for the life of the process: the system closes it at the end.
    HANDLE mutex = CreateMutexA(nullptr, FALSE, INSTANCE_MUTEX_NAME);
    DWORD lastError = GetLastError();
    bool made = mutex != nullptr;
    // A new mutex leaves no error of its own to read.
    uint32_t error = made && lastError != ERROR_ALREADY_EXISTS ? MUTEX_ERROR_NONE : lastError;
    int32_t step = instanceStep(made, error, HAND_OVER_NOT_TRIED);
    if (step != INSTANCE_HAND_OVER)
        return step;
    HWND running = waitForRunningMainWindow();
    bool taken = running != nullptr && sendCommand(running, command);
    step = instanceStep(made, error, taken ? HAND_OVER_TAKEN : HAND_OVER_NOT_TAKEN);
    if (step == INSTANCE_TELL_AND_END)
        MessageBoxA(nullptr, appState.texts.runningCopyUnreachable, MAIN_CLASS_NAME, MB_OK | MB_ICONWARNING);
    return step;
}

void letLowerRightsReach(UINT taskbarCreatedMessage)
{
    typedef BOOL(WINAPI * ChangeWindowMessageFilterFn)(UINT message, DWORD flag);
    // Through void *: the compiler's function-cast check is quiet about an intended cast.
    ChangeWindowMessageFilterFn allow = reinterpret_cast<ChangeWindowMessageFilterFn>(reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "ChangeWindowMessageFilter")));
    if (allow == nullptr)
        return;
    allow(WM_COPYDATA, MESSAGE_FILTER_ADD);
    if (taskbarCreatedMessage != 0)
        allow(taskbarCreatedMessage, MESSAGE_FILTER_ADD);
}
