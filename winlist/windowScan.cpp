// The per-window step of a scan: which windows are listed, with which title,
// application name and icon. A process's names are looked up once per scan; the
// icons only for a scan that is shown, once per program. Runs on the window-list
// thread (in tests on the caller's); listLock only for the stop request and
// selectedTarget, per window.
#include "windowScan.h"

#include <psapi.h>
#include <shellapi.h>

#include <cstdlib>
#include <cwchar>

#include "boundedText.h"
#include "listRules.h"
#include "rulesControl.h"
#include "wideText.h"

namespace {

constexpr int ICON_SIZE = 16;
// Room for the growth of an image list whose size is known beforehand.
constexpr int IMAGES_GROWTH = 4;
constexpr size_t CLASS_NAME_SIZE = 64;
// The system's texts are asked for with room to spare below the buffer's end.
constexpr int TEXT_REQUEST = TEXT_PATH - 2;
// A module or path shorter than this is no real name.
constexpr size_t MIN_NAME_LENGTH = 2;
const wchar_t OPEN_FAILURE_SUFFIX[] = L"::OpenProcess";

// The names as the system gives them, before they are cut to an entry's size.
struct ProcessNames {
    wchar_t appName[TEXT_PATH];
    wchar_t path[TEXT_PATH];
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

static_assert(STYLE_VISIBLE == WS_VISIBLE && STYLE_DISABLED == WS_DISABLED && STYLE_POPUP == WS_POPUP,
              "the list's style bits are the system's");

// One read of the style answers what IsWindowVisible, IsWindowEnabled and the
// pop-up test would ask one by one (each a round trip to the window server).
bool isListable(HWND window)
{
    return isListableStyle(static_cast<uint32_t>(GetWindowLongA(window, GWL_STYLE)));
}

// Module route: the process's main module, the first one it reports.
bool readMainModule(HANDLE process, ProcessNames &names)
{
    HMODULE module = nullptr;
    DWORD needed = 0;
    if (!EnumProcessModules(process, &module, sizeof module, &needed))
        return false;
    if (GetModuleBaseNameW(process, module, names.appName, TEXT_REQUEST) == 0 ||
        wcslen(names.appName) < MIN_NAME_LENGTH)
        return false;
    if (GetModuleFileNameExW(process, module, names.path, TEXT_REQUEST) == 0 || wcslen(names.path) < MIN_NAME_LENGTH)
        return false;
    names.pathHasIcon = true;
    return true;
}

// Image route: the image file in device form, in drive-letter form when its drive
// is mapped. A path that cannot be translated (a network share, a drive attached
// later) still gives the name after its last backslash.
void readImageFile(HANDLE process, ProcessNames &names)
{
    wchar_t devicePath[TEXT_PATH] = {};
    GetProcessImageFileNameW(process, devicePath, TEXT_REQUEST);
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

// Opens the process once and closes it on every way out.
ScannedProcess lookUpProcess(uint32_t processId)
{
    ScannedProcess found = {};
    found.processId = processId;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    found.opened = process != nullptr;
    ProcessNames names = {};
    found.named = readProcessNames(process, names);
    if (process != nullptr)
        CloseHandle(process);
    found.pathHasIcon = names.pathHasIcon;
    copyText(found.appName, names.appName);
    copyText(found.imagePath, names.path);
    // Rules name programs in UTF-8; a name too long for a rule has none.
    char ruleName[RULE_NAME_BYTES];
    found.programRule = utf8FromWide(ruleName, names.appName) ? ruleFor(appState.scanRules, ruleName) : RULE_NONE;
    return found;
}

// The process as this scan found it already, or looked up now (and remembered).
ScannedProcess scannedProcess(uint32_t processId)
{
    for (int32_t i = 0; i < appState.scannedProcessCount; i++)
        if (appState.scannedProcesses[i].processId == processId)
            return appState.scannedProcesses[i];
    ScannedProcess found = lookUpProcess(processId);
    if (appState.scannedProcessCount < SCANNED_PROCESS_CAPACITY)
        appState.scannedProcesses[appState.scannedProcessCount++] = found;
    return found;
}

// The icon number an earlier entry of the same program got, or ICON_WANTED.
int32_t iconOfEarlierEntry(const WindowEntry *entry)
{
    for (const WindowEntry *earlier = appState.scanList; earlier != entry; earlier = earlier->next)
        if (earlier->iconIndex != ICON_WANTED && wcscmp(earlier->imagePath, entry->imagePath) == 0)
            return earlier->iconIndex;
    return ICON_WANTED;
}

// The icon's number in this scan, or 0 for the default icon.
int32_t addProgramIcon(const wchar_t *path)
{
    SHFILEINFOW info = {};
    if (SHGetFileInfoW(path, 0, &info, sizeof info, SHGFI_ICON | SHGFI_SMALLICON) == 0 || info.hIcon == nullptr)
        return 0;
    int image = ImageList_ReplaceIcon(appState.scanImages, -1, info.hIcon);
    DestroyIcon(info.hIcon);
    if (image < 0)
        return 0;
    appState.iconCounter += 1;
    return appState.iconCounter;
}

}  // namespace

void beginScan()
{
    appState.scanList = nullptr;
    appState.scanListTail = nullptr;
    appState.scanEntryCount = 0;
    appState.scanImages = nullptr;
    appState.iconCounter = -1;
    appState.scannedProcessCount = 0;
    copyProgramRulesIfChanged(&appState.scanRules, &appState.scanRulesVersion);
}

BOOL CALLBACK listWindowProc(HWND window, LPARAM)
{
    if (stopAsked())
        return FALSE;
    if (!isListable(window))
        return TRUE;

    wchar_t className[CLASS_NAME_SIZE] = {};
    GetClassNameW(window, className, CLASS_NAME_SIZE);
    wchar_t title[TEXT_PATH] = {};
    GetWindowTextW(window, title, TEXT_REQUEST);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);

    ScannedProcess process = scannedProcess(processId);
    if (!process.opened)
        appendText(title, OPEN_FAILURE_SUFFIX);
    if (!process.named)
        return TRUE;

    WindowEntry entry = {};
    entry.iconIndex = process.pathHasIcon ? ICON_WANTED : 0;
    copyText(entry.appName, process.appName);
    copyText(entry.className, className);
    copyText(entry.title, title);
    copyText(entry.imagePath, process.imagePath);
    entry.processId = processId;
    entry.windowHandle = window;
    entry.isGrayTarget = isGrayTarget(window) ? 1 : 0;
    entry.programRule = process.programRule;
    appendWindowEntry(entry);
    return TRUE;
}

void addScanIcons(HICON defaultIcon)
{
    appState.scanImages = ImageList_Create(ICON_SIZE, ICON_SIZE, ILC_COLOR32 | ILC_MASK,
                                           DEFAULT_IMAGE_COUNT + appState.scanEntryCount, IMAGES_GROWTH);
    for (int image = 0; image < DEFAULT_IMAGE_COUNT; image++)
        ImageList_ReplaceIcon(appState.scanImages, -1, defaultIcon);
    appState.iconCounter = 0;
    for (WindowEntry *entry = appState.scanList; entry != nullptr; entry = entry->next) {
        if (entry->iconIndex != ICON_WANTED)
            continue;
        int32_t shared = iconOfEarlierEntry(entry);
        entry->iconIndex = shared != ICON_WANTED ? shared : addProgramIcon(entry->imagePath);
    }
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

bool takeRuleMarks(const WindowEntry *scanned, WindowEntry *shown)
{
    bool changed = false;
    for (WindowEntry *old = shown; old != nullptr; old = old->next) {
        const WindowEntry *found = scanned;
        while (found != nullptr && found->windowHandle != old->windowHandle)
            found = found->next;
        if (found != nullptr && found->programRule != old->programRule) {
            old->programRule = found->programRule;
            changed = true;
        }
    }
    return changed;
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
