// The per-window step of a scan: which windows are listed, with which title,
// application name and icon. Runs on the window-list thread (and in tests on the
// caller's); listLock only for the stop request and selectedTarget, per window.
#include "windowScan.h"

#include <psapi.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>

#include "boundedText.h"
#include "listRules.h"

namespace {

constexpr int ICON_SIZE = 16;
constexpr int IMAGES_INITIAL = 1;
constexpr int IMAGES_GROWTH = 1;
constexpr size_t CLASS_NAME_SIZE = 64;
// The system's texts are asked for with room to spare below the buffer's end.
constexpr int TEXT_REQUEST = TEXT_PATH - 2;
// A module or path shorter than this is no real name.
constexpr size_t MIN_NAME_LENGTH = 2;
const char OPEN_FAILURE_SUFFIX[] = "::OpenProcess";

// What the per-window step finds out before the entry is made.
struct ProcessNames {
    char appName[TEXT_PATH];
    char path[TEXT_PATH];
    bool pathHasIcon;  // a drive-letter path the shell can find the icon of
};

bool stopAsked()
{
    EnterCriticalSection(&appState.listLock);
    bool stop = appState.listThreadStop != 0;
    LeaveCriticalSection(&appState.listLock);
    return stop;
}

bool isGrayTarget(HWND window)
{
    EnterCriticalSection(&appState.listLock);
    bool target = appState.selectedTarget == window;
    LeaveCriticalSection(&appState.listLock);
    return target;
}

bool isListable(HWND window)
{
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) || !IsWindow(window))
        return false;
    // Pop-ups (menus, tooltips, our own overlays) are no windows a person picks.
    return (GetWindowLongA(window, GWL_STYLE) & WS_POPUP) == 0;
}

// Module route: the process's main module, the first one it reports.
bool readMainModule(HANDLE process, ProcessNames &names)
{
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!EnumProcessModules(process, &module, sizeof module, &needed))
        return false;
    if (GetModuleBaseNameA(process, module, names.appName, TEXT_REQUEST) == 0 ||
        strlen(names.appName) < MIN_NAME_LENGTH)
        return false;
    if (GetModuleFileNameExA(process, module, names.path, TEXT_REQUEST) == 0 || strlen(names.path) < MIN_NAME_LENGTH)
        return false;
    names.pathHasIcon = true;
    return true;
}

// Image route: the image file in device form, in drive-letter form when its drive
// is mapped. A path that cannot be translated (a network share, a drive attached
// later) still gives the name after its last backslash.
void readImageFile(HANDLE process, ProcessNames &names)
{
    char devicePath[TEXT_PATH] = {};
    GetProcessImageFileNameA(process, devicePath, TEXT_REQUEST);
    names.pathHasIcon = toDrivePath(appState.driveMap, devicePath, names.path) == 1;
    if (!names.pathHasIcon)
        copyText(names.path, devicePath);
    copyText(names.appName, applicationNameOf(names.path));
}

bool askIsWow64(HANDLE process, bool *isWow64)
{
    BOOL wow = FALSE;
    if (appState.isWow64Fn(process, &wow) == 0)
        return false;
    *isWow64 = wow != FALSE;
    return true;
}

// false: the window is not listed (the module route found no usable module).
bool readProcessNames(HANDLE process, ProcessNames &names)
{
    bool canAsk = appState.isWow64Fn != nullptr;
    bool isWow64 = false;
    bool answered = canAsk && appState.nativeBits == NATIVE_BITS_64 && askIsWow64(process, &isWow64);
    switch (chooseNameRoute(appState.nativeBits, canAsk, answered, isWow64)) {
    case ROUTE_MODULE: return readMainModule(process, names);
    case ROUTE_IMAGE: readImageFile(process, names); return true;
    case ROUTE_NONE: return true;
    }
    return true;
}

// The icon's number in this scan, or 0 for the default icon.
int32_t addWindowIcon(const ProcessNames &names)
{
    if (!names.pathHasIcon)
        return 0;
    SHFILEINFOA info = {};
    if (SHGetFileInfoA(names.path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) == 0 || info.hIcon == nullptr)
        return 0;
    int image = ImageList_ReplaceIcon(appState.scanImages, -1, info.hIcon);
    DestroyIcon(info.hIcon);
    if (image < 0)
        return 0;
    appState.iconCounter += 1;
    return appState.iconCounter;
}

}  // namespace

void beginScan(HICON defaultIcon)
{
    appState.scanList = nullptr;
    appState.scanListTail = nullptr;
    appState.scanEntryCount = 0;
    appState.iconCounter = -1;
    appState.scanImages = ImageList_Create(ICON_SIZE, ICON_SIZE, ILC_COLOR32 | ILC_MASK, IMAGES_INITIAL, IMAGES_GROWTH);
    for (int image = 0; image < DEFAULT_IMAGE_COUNT; image++)
        ImageList_ReplaceIcon(appState.scanImages, -1, defaultIcon);
    appState.iconCounter = 0;
}

BOOL CALLBACK listWindowProc(HWND window, LPARAM)
{
    if (stopAsked())
        return FALSE;
    if (!isListable(window))
        return TRUE;

    WindowEntry entry = {};
    char className[CLASS_NAME_SIZE] = {};
    GetClassNameA(window, className, sizeof className);
    char title[TEXT_PATH] = {};
    GetWindowTextA(window, title, TEXT_REQUEST);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);

    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (process == nullptr)
        appendText(title, OPEN_FAILURE_SUFFIX);
    ProcessNames names = {};
    bool named = readProcessNames(process, names);
    if (process != nullptr)
        CloseHandle(process);
    if (!named)
        return TRUE;

    entry.iconIndex = addWindowIcon(names);
    copyText(entry.appName, names.appName);
    copyText(entry.className, className);
    copyText(entry.title, title);
    copyText(entry.imagePath, names.path);
    entry.processId = processId;
    entry.windowHandle = window;
    entry.isGrayTarget = isGrayTarget(window) ? 1 : 0;
    appendWindowEntry(entry);
    return TRUE;
}

bool appendWindowEntry(const WindowEntry &entry)
{
    WindowEntry *copy = static_cast<WindowEntry *>(malloc(sizeof(WindowEntry)));
    if (copy == nullptr)
        return false;
    *copy = entry;
    copy->next = nullptr;
    if (appState.scanListTail == nullptr)
        appState.scanList = copy;
    else
        appState.scanListTail->next = copy;
    appState.scanListTail = copy;
    appState.scanEntryCount += 1;
    return true;
}

void freeWindowEntries(WindowEntry *list)
{
    while (list != nullptr) {
        WindowEntry *next = list->next;
        free(list);
        list = next;
    }
}

void discardScan()
{
    freeWindowEntries(appState.scanList);
    appState.scanList = nullptr;
    appState.scanListTail = nullptr;
    appState.scanEntryCount = 0;
    if (appState.scanImages != nullptr)
        ImageList_Destroy(appState.scanImages);
    appState.scanImages = nullptr;
}
