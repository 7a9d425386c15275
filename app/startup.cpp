// Start-up of the application inside the main window's WM_CREATE, on the UI
// thread, before any other thread of ours exists. Refusals end the process here.
#include "startup.h"

#include "appState.h"
#include "driveMap.h"
#include "listThread.h"
#include "mainControls.h"
#include "habitControl.h"
#include "rulesControl.h"
#include "settingsFile.h"
#include "settingsFolder.h"
#include "shellRules.h"
#include "threadStart.h"

namespace {

// Exit code of the start-up refusals of a composited desktop. The system-interface
// check ends with this too, not 0: a refusal is a failure and must not read as success.
constexpr UINT EXIT_COMPOSITION_REFUSED = 1;
constexpr DWORD VISTA_MAJOR_VERSION = 6;
const char DWM_KEY[] = "Software\\Microsoft\\Windows\\DWM";
const char DWM_MODULE[] = "Dwmapi.dll";
const char KERNEL_MODULE[] = "kernel32.dll";

typedef void(WINAPI *GetNativeSystemInfoFn)(LPSYSTEM_INFO info);
typedef HRESULT(WINAPI *DwmIsCompositionEnabledFn)(BOOL *enabled);
typedef BOOL(WINAPI *WTSRegisterSessionNotificationFn)(HWND window, DWORD flags);
const char SESSION_MODULE[] = "wtsapi32.dll";
constexpr DWORD NOTIFY_THIS_SESSION = 0;   // NOTIFY_FOR_THIS_SESSION

// GetProcAddress's result as the routine's own type (through void * to keep the
// compiler's function-cast check quiet about a cast that is intended).
template <typename Routine> Routine lookUp(HMODULE module, const char *name)
{
    return reinterpret_cast<Routine>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

// Lock, unlock, disconnection and connection of this session come to the main
// window as WM_WTSSESSION_CHANGE. Looked up at run time, as the other start-up
// checks are; the module stays loaded for the life of the process.
void watchSessionChanges(HWND window)
{
    HMODULE sessions = LoadLibraryA(SESSION_MODULE);
    auto watch = sessions != nullptr ? lookUp<WTSRegisterSessionNotificationFn>(sessions, "WTSRegisterSessionNotification")
                                     : nullptr;
    if (watch != nullptr)
        watch(window, NOTIFY_THIS_SESSION);
}

void refuseComposition(HWND owner)
{
    MessageBoxA(owner, appState.texts.compositionRefusal, appState.texts.errorTitle, MB_OK);
    ExitProcess(EXIT_COMPOSITION_REFUSED);
}

DWORD systemMajorVersion()
{
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) ? version.dwMajorVersion : 0;
}

// Only a Dwmapi.dll that is already loaded is asked: loading it for this would
// fail on XP and is not needed on a classic desktop.
int compositionOnBySystem()
{
    if (systemMajorVersion() < VISTA_MAJOR_VERSION)
        return 0;
    HMODULE dwm = GetModuleHandleA(DWM_MODULE);
    if (dwm == nullptr)
        return 0;
    DwmIsCompositionEnabledFn isEnabled = lookUp<DwmIsCompositionEnabledFn>(dwm, "DwmIsCompositionEnabled");
    if (isEnabled == nullptr)
        return 0;
    BOOL enabled = FALSE;
    isEnabled(&enabled);
    return enabled == TRUE;
}

void createLocksAndEvents()
{
    InitializeCriticalSection(&appState.listLock);
    InitializeCriticalSection(&appState.runLock);
    InitializeCriticalSection(&appState.settingsLock);
    appState.listThreadDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

void readDisplayMode()
{
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    appState.displayBits = static_cast<int32_t>(mode.dmBitsPerPel);
}

IsWow64ProcessFn findIsWow64()
{
    return lookUp<IsWow64ProcessFn>(GetModuleHandleA(KERNEL_MODULE), "IsWow64Process");
}

}  // namespace

int32_t findNativeBits()
{
    GetNativeSystemInfoFn getNativeSystemInfo =
        lookUp<GetNativeSystemInfoFn>(GetModuleHandleA(KERNEL_MODULE), "GetNativeSystemInfo");
    if (getNativeSystemInfo == nullptr)
        return 0;
    SYSTEM_INFO info = {};
    getNativeSystemInfo(&info);
    return nativeBitsFor(info.wProcessorArchitecture);
}

int compositionOnByRegistry()
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, DWM_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    LONG result = RegQueryValueExA(key, "Composition", nullptr, nullptr, reinterpret_cast<BYTE *>(&value), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS && value != 0;
}

LRESULT onCreate(HWND window, LPARAM createParameters)
{
    if (appState.nativeBits != 0)
        return 0;  // an overlay window of the same class: the application is up already
    appState.nativeBits = findNativeBits();
    if (appState.nativeBits == 0) {
        MessageBoxA(window, appState.texts.unsupportedSystem, appState.texts.errorTitle, MB_OK);
        SendMessageA(window, WM_DESTROY, 0, 0);
        return DefWindowProcA(window, WM_CREATE, 0, createParameters);
    }
    chooseSettingsFolder();
    loadSettings();
    buildDriveMap();
    if (compositionOnByRegistry())
        refuseComposition(nullptr);  // mainWindow does not exist yet
    if (compositionOnBySystem())
        refuseComposition(window);

    appState.instance = reinterpret_cast<const CREATESTRUCTA *>(createParameters)->hInstance;
    createMainControls(window);
    createLocksAndEvents();
    loadProgramRules();
    loadHabit();
    readDisplayMode();
    appState.isWow64Fn = findIsWow64();
    layoutInitial(window);
    createTooltips(window);
    watchSessionChanges(window);

    HANDLE listThread = startThread(listThreadMain, nullptr);
    if (listThread == nullptr) {
        MessageBoxA(nullptr, "error", "thread error", MB_OK);
        return -1;
    }
    CloseHandle(listThread);
    appState.backBufferSize = {};
    return 0;
}
