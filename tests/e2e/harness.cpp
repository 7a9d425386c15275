// The end-to-end harness's Windows calls. Remote reads follow one pattern: a
// buffer allocated in the program, the message sent with its address, the
// result read back (the control fills the buffer in the program's memory).
#include "harness.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "boundedText.h"
#include "resource.h"

namespace {

constexpr DWORD POLL_INTERVAL_MS = 20;
constexpr DWORD INPUT_SETTLE_MS = 30;
constexpr size_t REMOTE_TEXT_BYTES = 1024;
constexpr int MAX_STATUS_PARTS = 16;
constexpr int MAX_TOOLS = 16;

// A block of memory inside the program, freed on destruction.
struct RemoteBlock {
    HANDLE process = nullptr;
    void *address = nullptr;
    RemoteBlock(DWORD processId, size_t size)
    {
        process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION,
                              FALSE, processId);
        if (process != nullptr)
            address = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
    ~RemoteBlock()
    {
        if (address != nullptr)
            VirtualFreeEx(process, address, 0, MEM_RELEASE);
        if (process != nullptr)
            CloseHandle(process);
    }
    bool write(size_t offset, const void *data, size_t size)
    {
        SIZE_T done = 0;
        return address != nullptr &&
               WriteProcessMemory(process, static_cast<char *>(address) + offset, data, size, &done) && done == size;
    }
    bool read(size_t offset, void *data, size_t size)
    {
        SIZE_T done = 0;
        return address != nullptr &&
               ReadProcessMemory(process, static_cast<char *>(address) + offset, data, size, &done) && done == size;
    }
    char *at(size_t offset) { return static_cast<char *>(address) + offset; }
};

struct WindowSearch {
    DWORD processId;
    const char *className;
    const char *title;
    bool visibleOnly;
    HWND found;
};

BOOL CALLBACK findWindowProc(HWND window, LPARAM parameter)
{
    WindowSearch *search = reinterpret_cast<WindowSearch *>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || (search->visibleOnly && !IsWindowVisible(window)))
        return TRUE;
    if (windowClass(window) != search->className || windowText(window) != search->title)
        return TRUE;
    search->found = window;
    return FALSE;
}

struct ToolTipSearch {
    DWORD processId;
    std::vector<HWND> windows;
};

BOOL CALLBACK findToolTipsProc(HWND window, LPARAM parameter)
{
    ToolTipSearch *search = reinterpret_cast<ToolTipSearch *>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && windowClass(window) == TOOLTIPS_CLASSA)
        search->windows.push_back(window);
    return TRUE;
}

void sendMouse(int x, int y, DWORD buttonFlags)
{
    // Absolute coordinates in every event: a bare button event may land where the
    // X pointer was left earlier.
    // Over the virtual screen: with more than one monitor a point may lie left of
    // or above the primary one (with one, this is the screen).
    int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((static_cast<LONGLONG>(x - left) * 65536 + width - 1) / width);
    input.mi.dy = static_cast<LONG>((static_cast<LONGLONG>(y - top) * 65536 + height - 1) / height);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK | buttonFlags;
    SendInput(1, &input, sizeof input);
    Sleep(INPUT_SETTLE_MS);
}

void sendKey(WORD virtualKey, DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    Sleep(INPUT_SETTLE_MS);
}

}  // namespace

bool waitUntil(const std::function<bool()> &condition, DWORD deadlineMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > deadlineMs)
            return false;
        Sleep(POLL_INTERVAL_MS);
    }
}

std::string talveroPath()
{
    char path[MAX_PATH];
    DWORD fromEnvironment = GetEnvironmentVariableA("TALVERO_EXE", path, sizeof path);
    if (fromEnvironment > 0 && fromEnvironment < sizeof path)
        return path;
    // This exe is <build>\tests\e2eTests.exe; the program is <build>\app\talvero.exe.
    GetModuleFileNameA(nullptr, path, sizeof path);
    char *slash = strrchr(path, '\\');
    if (slash != nullptr)
        *slash = '\0';
    return std::string(path) + "\\..\\app\\talvero.exe";
}

void makeWorkDirectory(Program &program)
{
    static LONG counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    formatText(program.workDirectory, "%stalvero-e2e-%lu-%ld", temp, GetCurrentProcessId(),
               InterlockedIncrement(&counter));
    CreateDirectoryA(program.workDirectory, nullptr);
}

bool startProgram(Program &program, const char *settingsText, const char *arguments, const std::string *rulesText)
{
    makeWorkDirectory(program);
    if (settingsText != nullptr) {
        char settingsPath[MAX_PATH];
        formatText(settingsPath, "%s\\config.txt", program.workDirectory);
        writeWholeFile(settingsPath, settingsText);
    }
    if (rulesText != nullptr)
        writeWholeFile((std::string(program.workDirectory) + "\\rules.txt").c_str(), *rulesText);
    return startProgramInItsFolder(program, arguments);
}

bool startProgramInItsFolder(Program &program, const char *arguments)
{
    std::string exe = talveroPath();
    char commandLine[MAX_PATH + 64];
    formatText(commandLine, "\"%s\"%s%s", exe.c_str(), arguments != nullptr ? " " : "",
               arguments != nullptr ? arguments : "");
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(exe.c_str(), commandLine, nullptr, nullptr, FALSE, 0, nullptr, program.workDirectory,
                          &startup, &program.process) != 0;
}

HWND findProgramWindow(const Program &program, const char *className, const char *title)
{
    WindowSearch search = {program.process.dwProcessId, className, title, true, nullptr};
    EnumWindows(findWindowProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findProgramWindowShownOrNot(const Program &program, const char *className, const char *title)
{
    WindowSearch search = {program.process.dwProcessId, className, title, false, nullptr};
    EnumWindows(findWindowProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

namespace {

struct OverlaySearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK findOverlaysProc(HWND window, LPARAM parameter)
{
    OverlaySearch *search = reinterpret_cast<OverlaySearch *>(parameter);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == search->processId && windowClass(window) == "TALVERO" && windowText(window) == "TALVERO_GRAY")
        search->found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> overlayWindows(const Program &program)
{
    OverlaySearch search = {program.process.dwProcessId, {}};
    EnumWindows(findOverlaysProc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT windowRectOf(HWND window)
{
    RECT place = {};
    GetWindowRect(window, &place);
    return place;
}

bool onlyOverlayOver(const Program &program, const RECT &place)
{
    std::vector<HWND> overlays = overlayWindows(program);
    RECT now = overlays.size() == 1 ? windowRectOf(overlays[0]) : RECT{};
    return overlays.size() == 1 && IsWindowVisible(overlays[0]) && EqualRect(&now, &place);
}

HWND findMainWindow(const Program &program)
{
    return findProgramWindow(program, "TALVERO", "TALVERO");
}

bool waitForMainWindow(Program &program)
{
    bool shown = waitUntil(
        [&] {
            program.mainWindow = findMainWindow(program);
            // The status bar is made inside WM_CREATE: once it exists, start-up is through.
            return program.mainWindow != nullptr && GetDlgItem(program.mainWindow, IDC_STATUS_BAR) != nullptr;
        },
        START_DEADLINE_MS);
    // Let the start-up messages (the first sizes, paints and activation) run out.
    WaitForInputIdle(program.process.hProcess, START_DEADLINE_MS);
    return shown;
}

bool waitForExit(const Program &program, DWORD deadlineMs, DWORD *exitCode)
{
    if (WaitForSingleObject(program.process.hProcess, deadlineMs) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(program.process.hProcess, exitCode) != 0;
}

void disposeProgram(Program &program)
{
    if (program.process.hProcess != nullptr) {
        if (WaitForSingleObject(program.process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(program.process.hProcess, 99);
            WaitForSingleObject(program.process.hProcess, EXIT_DEADLINE_MS);
        }
        CloseHandle(program.process.hProcess);
        CloseHandle(program.process.hThread);
    }
    program.process = {};
    if (program.workDirectory[0] != '\0')
        deleteDirectoryTree(program.workDirectory);
    program.workDirectory[0] = '\0';
}

std::string windowText(HWND window)
{
    char text[REMOTE_TEXT_BYTES];
    text[0] = '\0';
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string controlText(HWND control)
{
    char text[REMOTE_TEXT_BYTES];
    text[0] = '\0';
    SendMessageA(control, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

std::string windowClass(HWND window)
{
    char name[256];
    name[0] = '\0';
    GetClassNameA(window, name, sizeof name);
    return name;
}

RECT clientRectOnScreen(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT *>(&client), 2);
    return client;
}

RECT rectInParent(HWND child)
{
    RECT place = {};
    GetWindowRect(child, &place);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT *>(&place), 2);
    return place;
}

std::string statusText(const Program &program, HWND statusBar, int part)
{
    RemoteBlock block(program.process.dwProcessId, REMOTE_TEXT_BYTES);
    char text[REMOTE_TEXT_BYTES] = {};
    LRESULT length = SendMessageA(statusBar, SB_GETTEXTLENGTHA, part, 0);
    if (LOWORD(length) >= sizeof text)
        return "<too long>";
    SendMessageA(statusBar, SB_GETTEXTA, part, reinterpret_cast<LPARAM>(block.address));
    if (!block.read(0, text, LOWORD(length)))
        return "<unreadable>";
    text[LOWORD(length)] = '\0';
    return text;
}

std::vector<int> statusPartEdges(const Program &program, HWND statusBar)
{
    RemoteBlock block(program.process.dwProcessId, sizeof(int) * MAX_STATUS_PARTS);
    int edges[MAX_STATUS_PARTS] = {};
    int count = static_cast<int>(SendMessageA(statusBar, SB_GETPARTS, MAX_STATUS_PARTS,
                                              reinterpret_cast<LPARAM>(block.address)));
    if (count <= 0 || count > MAX_STATUS_PARTS || !block.read(0, edges, sizeof(int) * count))
        return {};
    return std::vector<int>(edges, edges + count);
}

int listColumnWidth(HWND listView, int column)
{
    return static_cast<int>(SendMessageA(listView, LVM_GETCOLUMNWIDTH, column, 0));
}

int listColumnCount(HWND listView)
{
    HWND header = reinterpret_cast<HWND>(SendMessageA(listView, LVM_GETHEADER, 0, 0));
    return static_cast<int>(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
}

std::string listColumnText(const Program &program, HWND listView, int column)
{
    RemoteBlock block(program.process.dwProcessId, sizeof(LVCOLUMNA) + REMOTE_TEXT_BYTES);
    LVCOLUMNA request = {};
    request.mask = LVCF_TEXT;
    request.pszText = block.at(sizeof(LVCOLUMNA));
    request.cchTextMax = REMOTE_TEXT_BYTES;
    char empty = '\0';
    block.write(sizeof(LVCOLUMNA), &empty, 1);
    if (!block.write(0, &request, sizeof request))
        return "<unwritable>";
    if (!SendMessageA(listView, LVM_GETCOLUMNA, column, reinterpret_cast<LPARAM>(block.address)))
        return "<no column>";
    LVCOLUMNA answer = {};
    block.read(0, &answer, sizeof answer);
    char text[REMOTE_TEXT_BYTES] = {};
    size_t offset = static_cast<size_t>(answer.pszText - static_cast<char *>(block.address));
    if (offset >= sizeof(LVCOLUMNA) + REMOTE_TEXT_BYTES || !block.read(offset, text, sizeof text - 1))
        return "<unreadable>";
    text[sizeof text - 1] = '\0';
    return text;
}

int listItemCount(HWND listView)
{
    return static_cast<int>(SendMessageA(listView, LVM_GETITEMCOUNT, 0, 0));
}

std::string listItemText(const Program &program, HWND listView, int row, int subItem)
{
    RemoteBlock block(program.process.dwProcessId, sizeof(LVITEMW) + REMOTE_TEXT_BYTES);
    LVITEMW request = {};
    request.iSubItem = subItem;
    request.pszText = reinterpret_cast<wchar_t *>(block.at(sizeof(LVITEMW)));
    request.cchTextMax = REMOTE_TEXT_BYTES / sizeof(wchar_t);
    if (!block.write(0, &request, sizeof request))
        return "<unwritable>";
    LRESULT length = SendMessageW(listView, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(block.address));
    std::wstring text(REMOTE_TEXT_BYTES / sizeof(wchar_t), L'\0');
    if (length < 0 || static_cast<size_t>(length) >= text.size() ||
        !block.read(sizeof(LVITEMW), &text[0], length * sizeof(wchar_t)))
        return "<unreadable>";
    return utf8Of(text.substr(0, length));
}

bool startListHelperCopy(Program &helper, const std::wstring &exePath, const std::wstring &title, int left, int top)
{
    wchar_t original[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, original, MAX_PATH);
    *wcsrchr(original, L'\\') = L'\0';
    copyText(original, (std::wstring(original) + L"\\listHelper.exe").c_str());
    if (!CopyFileW(original, exePath.c_str(), FALSE))
        return false;
    std::wstring line =
        L"\"" + exePath + L"\" \"" + title + L"\" " + std::to_wstring(left) + L" " + std::to_wstring(top);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exePath.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &helper.process))
        return false;
    // Idle once its window is made and has taken the activation, which would
    // otherwise take the foreground from a window the test brings up meanwhile.
    WaitForInputIdle(helper.process.hProcess, START_DEADLINE_MS);
    return waitUntil(
        [&] { return (helper.mainWindow = FindWindowW(L"TALVERO_LIST_HELPER", title.c_str())) != nullptr; },
        START_DEADLINE_MS);
}

std::wstring wideOf(const std::string &ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

bool deleteFileOnceFree(const std::wstring &path)
{
    return waitUntil([&] { return DeleteFileW(path.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND; },
                     EXIT_DEADLINE_MS);
}

std::string utf8Of(const std::wstring &text)
{
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &utf8[0], size, nullptr, nullptr);
    return utf8;
}

RECT listRowOnScreen(const Program &program, HWND listView, int row)
{
    RemoteBlock block(program.process.dwProcessId, sizeof(RECT));
    RECT place = {};
    place.left = LVIR_BOUNDS;
    block.write(0, &place, sizeof place);
    SendMessageA(listView, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(block.address));
    block.read(0, &place, sizeof place);
    MapWindowPoints(listView, nullptr, reinterpret_cast<POINT *>(&place), 2);
    return place;
}

int listSelectedRow(HWND listView)
{
    return static_cast<int>(SendMessageA(listView, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

std::vector<ToolTip> programToolTips(const Program &program)
{
    ToolTipSearch found = {program.process.dwProcessId, {}};
    EnumWindows(findToolTipsProc, reinterpret_cast<LPARAM>(&found));

    std::vector<ToolTip> tips;
    RemoteBlock block(program.process.dwProcessId, sizeof(TOOLINFOA) + REMOTE_TEXT_BYTES);
    for (HWND tooltip : found.windows) {
        int count = static_cast<int>(SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
        for (int index = 0; index < count && index < MAX_TOOLS; index++) {
            TOOLINFOA tool = {};
            tool.cbSize = sizeof tool;
            tool.lpszText = block.at(sizeof(TOOLINFOA));
            char empty[REMOTE_TEXT_BYTES] = {};
            block.write(sizeof(TOOLINFOA), empty, sizeof empty);
            block.write(0, &tool, sizeof tool);
            if (!SendMessageA(tooltip, TTM_ENUMTOOLSA, index, reinterpret_cast<LPARAM>(block.address)))
                continue;
            TOOLINFOA answer = {};
            block.read(0, &answer, sizeof answer);
            char text[REMOTE_TEXT_BYTES] = {};
            block.read(sizeof(TOOLINFOA), text, sizeof text - 1);
            tips.push_back({tooltip, reinterpret_cast<HWND>(answer.uId), text});
        }
    }
    return tips;
}

void moveMouse(int x, int y)
{
    sendMouse(x, y, 0);
}

void clickAt(int x, int y)
{
    sendMouse(x, y, 0);
    sendMouse(x, y, MOUSEEVENTF_LEFTDOWN);
    sendMouse(x, y, MOUSEEVENTF_LEFTUP);
}

void doubleClickAt(int x, int y)
{
    // Both clicks at the same point, well within the system's double-click time.
    clickAt(x, y);
    sendMouse(x, y, MOUSEEVENTF_LEFTDOWN);
    sendMouse(x, y, MOUSEEVENTF_LEFTUP);
}

void rightClickAt(int x, int y)
{
    sendMouse(x, y, 0);
    sendMouse(x, y, MOUSEEVENTF_RIGHTDOWN);
    sendMouse(x, y, MOUSEEVENTF_RIGHTUP);
}

void pressMouseAt(int x, int y)
{
    sendMouse(x, y, 0);
    sendMouse(x, y, MOUSEEVENTF_LEFTDOWN);
}

void releaseMouseAt(int x, int y)
{
    sendMouse(x, y, 0);
    sendMouse(x, y, MOUSEEVENTF_LEFTUP);
}

void dragFromTo(int fromX, int fromY, int toX, int toY)
{
    constexpr int STEPS = 10;
    sendMouse(fromX, fromY, 0);
    sendMouse(fromX, fromY, MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= STEPS; step++)
        sendMouse(fromX + (toX - fromX) * step / STEPS, fromY + (toY - fromY) * step / STEPS, 0);
    sendMouse(toX, toY, MOUSEEVENTF_LEFTUP);
}

void pressKey(WORD virtualKey)
{
    sendKey(virtualKey, 0);
    sendKey(virtualKey, KEYEVENTF_KEYUP);
}

void pressAltKey(WORD virtualKey)
{
    sendKey(VK_MENU, 0);
    sendKey(virtualKey, 0);
    sendKey(virtualKey, KEYEVENTF_KEYUP);
    sendKey(VK_MENU, KEYEVENTF_KEYUP);
}

void pressCtrlAltKey(WORD virtualKey)
{
    sendKey(VK_CONTROL, 0);
    sendKey(VK_MENU, 0);
    sendKey(virtualKey, 0);
    sendKey(virtualKey, KEYEVENTF_KEYUP);
    sendKey(VK_MENU, KEYEVENTF_KEYUP);
    sendKey(VK_CONTROL, KEYEVENTF_KEYUP);
}

bool bringToFront(HWND window)
{
    // Keys go to the focus of the window's thread: wait until the activation has
    // reached that thread, not just until the window is the foreground one.
    DWORD thread = GetWindowThreadProcessId(window, nullptr);
    SetForegroundWindow(window);
    return waitUntil(
        [&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof info;
            return GetForegroundWindow() == window && GetGUIThreadInfo(thread, &info) &&
                   info.hwndActive == window && info.hwndFocus != nullptr;
        },
        APPEAR_DEADLINE_MS);
}

bool chooseMenuItem(const Program &program, WORD menuKey, WORD itemKey)
{
    // The window manager side of Wine may move the focus once more just after an
    // activation, which closes a menu that opened too early: retry until the
    // pop-up stays up.
    constexpr int ATTEMPTS = 4;
    constexpr DWORD POPUP_DEADLINE_MS = 2000;
    for (int attempt = 0; attempt < ATTEMPTS; attempt++) {
        if (!bringToFront(program.mainWindow))
            continue;
        WaitForInputIdle(program.process.hProcess, POPUP_DEADLINE_MS);
        pressAltKey(menuKey);
        if (waitUntil([&] { return findProgramWindow(program, "#32768", "") != nullptr; }, POPUP_DEADLINE_MS)) {
            pressKey(itemKey);
            return true;
        }
        pressKey(VK_ESCAPE);  // leave a half-open menu mode before the next try
    }
    return false;
}

bool findHitTestPoint(HWND window, LRESULT hitTest, POINT *point)
{
    // Caption buttons and sizing corners lie in a band along the right edge, near
    // the top or the bottom: scan from the matching corner inwards.
    constexpr int ROWS = 48;
    constexpr int COLUMNS = 160;
    bool fromBottom = hitTest == HTBOTTOMRIGHT || hitTest == HTBOTTOM || hitTest == HTBOTTOMLEFT;
    RECT outer = {};
    GetWindowRect(window, &outer);
    for (int row = 0; row < ROWS; row++) {
        int y = fromBottom ? outer.bottom - 1 - row : outer.top + row;
        for (int x = outer.right - 1; x >= outer.right - COLUMNS && x >= outer.left; x--) {
            if (SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == hitTest) {
                *point = {x, y};
                return true;
            }
        }
    }
    return false;
}

POINT centreOf(HWND window)
{
    RECT place = {};
    GetWindowRect(window, &place);
    return {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
}

bool saveScreenshot(const char *path)
{
    RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    std::vector<uint32_t> pixels = screenPixels(screen);
    int width = screen.right;
    int height = screen.bottom;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    DWORD dataBytes = static_cast<DWORD>(pixels.size() * sizeof(uint32_t));
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + dataBytes;
    FILE *out = fopen(path, "wb");
    if (out == nullptr)
        return false;
    fwrite(&file, sizeof file, 1, out);
    fwrite(&header, sizeof header, 1, out);
    fwrite(pixels.data(), dataBytes, 1, out);
    return fclose(out) == 0;
}

// The button strip (bitmap 121) as stored in talvero.exe, 0x00RRGGBB top-down.
std::vector<DWORD> loadButtonStrip(int *width, int *height)
{
    std::vector<DWORD> pixels;
    HMODULE exe = LoadLibraryExA(talveroPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (exe == nullptr)
        return pixels;
    HBITMAP strip = static_cast<HBITMAP>(
        LoadImageA(exe, MAKEINTRESOURCEA(IDB_BUTTON_STRIP), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    BITMAP shape = {};
    if (strip != nullptr && GetObjectA(strip, sizeof shape, &shape) != 0) {
        *width = shape.bmWidth;
        *height = shape.bmHeight;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = shape.bmWidth;
        info.bmiHeader.biHeight = -shape.bmHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        pixels.resize(static_cast<size_t>(shape.bmWidth) * shape.bmHeight);
        HDC screen = GetDC(nullptr);
        GetDIBits(screen, strip, 0, shape.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        for (DWORD &pixel : pixels)
            pixel &= 0x00FFFFFF;
    }
    if (strip != nullptr)
        DeleteObject(strip);
    FreeLibrary(exe);
    return pixels;
}

namespace {

BOOL CALLBACK findTrayIconChild(HWND window, LPARAM found)
{
    if (windowClass(window) == "__winex11_tray_icon" && IsWindowVisible(window)) {
        *reinterpret_cast<HWND *>(found) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND trayIconWindow()
{
    HWND found = nullptr;
    for (HWND top = GetTopWindow(nullptr); top != nullptr && found == nullptr; top = GetWindow(top, GW_HWNDNEXT))
        EnumChildWindows(top, findTrayIconChild, reinterpret_cast<LPARAM>(&found));
    return found;
}

bool isAbove(HWND upper, HWND lower)
{
    for (HWND below = GetWindow(upper, GW_HWNDNEXT); below != nullptr; below = GetWindow(below, GW_HWNDNEXT)) {
        if (below == lower)
            return true;
    }
    return false;
}

bool waitUntilPumping(const std::function<bool()> &condition, DWORD deadlineMs)
{
    return waitUntil(
        [&] {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            return condition();
        },
        deadlineMs);
}

namespace {

constexpr size_t MAX_CLASS_NAME_BYTES = 64;

LRESULT CALLBACK colourWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    LONG *clicks = reinterpret_cast<LONG *>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == WM_LBUTTONDOWN && clicks != nullptr)
        InterlockedIncrement(clicks);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

HWND createColourWindow(const char *title, const RECT &place, COLORREF colour, DWORD style, LONG *clicks)
{
    // A class per colour, whose background brush lives as long as the process.
    char className[MAX_CLASS_NAME_BYTES];
    formatText(className, "TalveroTestColour%06lx", static_cast<unsigned long>(colour));
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = colourWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = CreateSolidBrush(colour);
    windowClass.lpszClassName = className;
    if (!RegisterClassA(&windowClass))
        DeleteObject(windowClass.hbrBackground);   // registered before
    HWND window = CreateWindowExA(0, className, title, style | WS_VISIBLE, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(clicks));
    return window;
}

int listRowTitled(const Program &program, HWND listView, const std::string &title)
{
    for (int row = 0; row < listItemCount(listView); row++)
        if (listItemText(program, listView, row, 0) == title)
            return row;
    return -1;
}
