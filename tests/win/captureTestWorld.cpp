// The capture tests' windows and helpers (see captureTestWorld.h). Test (UI) thread.
#include "captureTestWorld.h"

#include "testScreen.h"

#include <commctrl.h>
#include <process.h>

#include "appState.h"
#include "boundedText.h"
#include "gray.h"
#include "testWorld.h"

namespace {

const char TARGET_CLASS[] = "CaptureTestTarget";
const char OVERLAY_CLASS[] = "CaptureTestOverlay";
const char MAIN_CLASS[] = "CaptureTestMain";
constexpr int32_t STATUS_PARTS = 2;
constexpr int32_t STATUS_PART_WIDTH = 200;
constexpr DWORD PUMP_SLICE_MS = 5;
const char MESSAGE_BOX_CLASS[] = "#32770";
constexpr int32_t MAX_BOXES_DISMISSED = 10;
constexpr DWORD BOX_CLOSE_DEADLINE_MS = 5000;
// The stand-in main window, at the bottom right of the screen.
constexpr int32_t MAIN_WIDTH = 450;
constexpr int32_t MAIN_HEIGHT = 150;
constexpr int32_t MAIN_RIGHT_MARGIN = 10;
constexpr int32_t MAIN_BOTTOM_MARGIN = 50;
constexpr LONG_PTR LOG_SLOT = 0;
constexpr LONG_PTR STRIPES_SLOT = sizeof(LONG_PTR);
constexpr int WINDOW_SLOTS_BYTES = 2 * sizeof(LONG_PTR);

COLORREF colourRef(uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); }

void paintStripes(HWND window, const Stripes &stripes)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    int32_t count = static_cast<int32_t>(stripes.size());
    for (int32_t i = 0; i < count; i++) {
        RECT band = {client.right * i / count, 0, client.right * (i + 1) / count, client.bottom};
        HBRUSH brush = CreateSolidBrush(colourRef(stripes[static_cast<size_t>(i)]));
        FillRect(dc, &band, brush);
        DeleteObject(brush);
    }
    EndPaint(window, &paint);
}

const Stripes *stripesOf(HWND window)
{
    return reinterpret_cast<const Stripes *>(GetWindowLongPtrA(window, STRIPES_SLOT));
}

LRESULT CALLBACK targetProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: paintStripes(window, *stripesOf(window)); return 0;
    case WM_NCDESTROY: delete stripesOf(window); break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK overlayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    OverlayLog *log = reinterpret_cast<OverlayLog *>(GetWindowLongPtrA(window, LOG_SLOT));
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT:
        if (stripesOf(window) != nullptr) {
            paintStripes(window, *stripesOf(window));
        } else {
            ValidateRect(window, nullptr);
        }
        return 0;
    case WM_WINDOWPOSCHANGED:
        if (log != nullptr && (reinterpret_cast<WINDOWPOS *>(lParam)->flags & SWP_SHOWWINDOW))
            log->shown = true;
        break;
    case WM_CLOSE:
        // The last chance to see what the loop painted: the window goes now.
        if (log != nullptr) {
            log->closing = true;
            log->visibleAtClose = IsWindowVisible(window) != FALSE;
            RECT place{};
            GetWindowRect(window, &place);
            if (log->visibleAtClose)
                log->pixelsAtClose = screenPixels(place);
        }
        break;
    case WM_OVERLAY_FOLLOW:
        if (log != nullptr) {
            log->followed = *reinterpret_cast<HWND *>(lParam);
            log->followMessages++;
        }
        return 0;
    case WM_NCDESTROY: delete stripesOf(window); break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

volatile LONG titleReads = 0;

LRESULT CALLBACK mainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETTEXT)
        InterlockedIncrement(&titleReads);
    return DefWindowProcA(window, message, wParam, lParam);
}

void registerClass(const char *name, WNDPROC proc)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = name;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.cbWndExtra = WINDOW_SLOTS_BYTES;
    RegisterClassA(&windowClass);
}

void loadTexts()
{
    copyText(appState.texts.grayLabel, "Gray: ");
    copyText(appState.texts.grayOn, "ON");
    copyText(appState.texts.grayOff, "OFF");
    copyText(appState.texts.underMeasurement, "Under measurement ");
}

}  // namespace

void ensureCaptureWorld()
{
    ensureAppLocks();
    if (appState.statusBar != nullptr)
        return;
    InitCommonControls();
    loadTexts();
    registerClass(TARGET_CLASS, targetProc);
    registerClass(OVERLAY_CLASS, overlayProc);
    registerClass(MAIN_CLASS, mainProc);
    appState.instance = GetModuleHandleA(nullptr);
    // Bottom right, away from the targets and from Wine's tray corner.
    int32_t screenWidth = GetSystemMetrics(SM_CXSCREEN);
    int32_t screenHeight = GetSystemMetrics(SM_CYSCREEN);
    appState.mainWindow = CreateWindowExA(0, MAIN_CLASS, "TALVERO test main", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                          screenWidth - MAIN_WIDTH - MAIN_RIGHT_MARGIN,
                                          screenHeight - MAIN_HEIGHT - MAIN_BOTTOM_MARGIN, MAIN_WIDTH, MAIN_HEIGHT,
                                          nullptr, nullptr, appState.instance, nullptr);
    appState.statusBar = CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                                         appState.mainWindow, nullptr, appState.instance, nullptr);
    int widths[STATUS_PARTS] = {STATUS_PART_WIDTH, -1};
    SendMessageA(appState.statusBar, SB_SETPARTS, STATUS_PARTS, reinterpret_cast<LPARAM>(widths));
}

bool pumpUntil(const std::function<bool()> &done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return done();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, PUMP_SLICE_MS, QS_ALLINPUT);
    }
}

void pumpFor(DWORD milliseconds)
{
    pumpUntil([] { return false; }, milliseconds);
}

std::string statusText(int part)
{
    char text[TEXT_STATUS] = {};
    LRESULT length = SendMessageA(appState.statusBar, SB_GETTEXTLENGTHA, static_cast<WPARAM>(part), 0);
    if (LOWORD(length) >= sizeof text)
        return "<too long>";
    SendMessageA(appState.statusBar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
}

int32_t mainWindowTitleReads()
{
    return static_cast<int32_t>(titleReads);
}

bool pumpForScans(int32_t scans, DWORD timeoutMs)
{
    int32_t start = mainWindowTitleReads();
    return pumpUntil([&] { return mainWindowTitleReads() - start >= scans; }, timeoutMs);
}

HWND createStripedWindow(const RECT &place, const Stripes &stripes)
{
    HWND window = CreateWindowExA(0, TARGET_CLASS, "capture test target", WS_POPUP, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, STRIPES_SLOT, reinterpret_cast<LONG_PTR>(new Stripes(stripes)));
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

void destroyTestWindow(HWND window)
{
    if (IsWindow(window))
        DestroyWindow(window);
    pumpFor(0);
}

HWND createHiddenWindow(const RECT &place)
{
    HWND window = CreateWindowExA(0, TARGET_CLASS, "capture test target", WS_POPUP, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(window, STRIPES_SLOT, reinterpret_cast<LONG_PTR>(new Stripes{0}));
    return window;
}

HWND waitForMessageBox(const char *caption, DWORD timeoutMs)
{
    HWND box = nullptr;
    pumpUntil(
        [&] {
            box = FindWindowA(MESSAGE_BOX_CLASS, caption);
            return box != nullptr;
        },
        timeoutMs);
    return box;
}

int32_t dismissMessageBoxes(const char *caption)
{
    int32_t count = 0;
    for (HWND box = FindWindowA(MESSAGE_BOX_CLASS, caption); box != nullptr && count < MAX_BOXES_DISMISSED;
         box = FindWindowA(MESSAGE_BOX_CLASS, caption)) {
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        pumpUntil([&] { return !IsWindow(box); }, BOX_CLOSE_DEADLINE_MS);
        count++;
    }
    return count;
}

HWND createTestOverlay(const RECT &place, OverlayLog *log, const Stripes *paintStripes)
{
    *log = OverlayLog{};
    HWND overlay = CreateWindowExA(WS_EX_LAYERED | WS_EX_TRANSPARENT, OVERLAY_CLASS, "TALVERO_GRAY",
                                   WS_POPUP | WS_CLIPCHILDREN, place.left, place.top, place.right - place.left,
                                   place.bottom - place.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(overlay, LOG_SLOT, reinterpret_cast<LONG_PTR>(log));
    if (paintStripes != nullptr)
        SetWindowLongPtrA(overlay, STRIPES_SLOT, reinterpret_cast<LONG_PTR>(new Stripes(*paintStripes)));
    SetLayeredWindowAttributes(overlay, 0, 255, LWA_ALPHA);
    return overlay;
}

CaptureThread startCapture(unsigned(__stdcall *captureMain)(void *), HWND overlay, HWND target)
{
    CaptureStart start = {};
    start.overlay = overlay;
    start.target = target;
    start.startedEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    start.captureDone = testCaptureDone;
    // Mode control clears the stop request when it registers a run; here the test does.
    EnterCriticalSection(&appState.runLock);
    appState.stopRequested = 0;
    LeaveCriticalSection(&appState.runLock);
    CaptureThread capture{};
    capture.thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, captureMain, &start, 0, nullptr));
    if (capture.thread != nullptr)
        WaitForSingleObject(start.startedEvent, INFINITE);   // set before the thread sends anything
    CloseHandle(start.startedEvent);
    return capture;
}

void requestStop()
{
    EnterCriticalSection(&appState.runLock);
    appState.stopRequested = 1;
    LeaveCriticalSection(&appState.runLock);
}

bool waitCaptureEnd(CaptureThread *capture, DWORD timeoutMs, DWORD *exitCode)
{
    bool done = false;
    bool ended = pumpUntil(
        [&] {
            if (!done)
                done = WaitForSingleObject(testCaptureDone, 0) == WAIT_OBJECT_0;
            return done && WaitForSingleObject(capture->thread, 0) == WAIT_OBJECT_0;
        },
        timeoutMs);
    if (!ended)
        return false;
    GetExitCodeThread(capture->thread, exitCode);
    CloseHandle(capture->thread);
    capture->thread = nullptr;
    return true;
}

uint32_t expectedGray(uint32_t colour, int32_t convertType, int32_t grayTone, int32_t reverseGray, int32_t intensity)
{
    uint8_t pixel[4] = {static_cast<uint8_t>(colour), static_cast<uint8_t>(colour >> 8),
                        static_cast<uint8_t>(colour >> 16), 0};
    convertFrameIntensity(pixel, 1, 1, 32, convertType, grayTone, reverseGray, intensity);
    return static_cast<uint32_t>(pixel[0]) | static_cast<uint32_t>(pixel[1]) << 8 |
           static_cast<uint32_t>(pixel[2]) << 16;
}

uint32_t stripeAt(const Stripes &stripes, int32_t x, int32_t width)
{
    int32_t count = static_cast<int32_t>(stripes.size());
    for (int32_t i = 0; i < count; i++) {
        if (x < width * (i + 1) / count)
            return stripes[static_cast<size_t>(i)];
    }
    return stripes.back();
}

int32_t grayMismatches(const RECT &rect, const Stripes &stripes, int32_t convertType, int32_t grayTone,
                       int32_t reverseGray, int32_t intensity)
{
    std::vector<uint32_t> pixels = screenPixels(rect);
    int32_t width = rect.right - rect.left;
    int32_t mismatches = 0;
    for (size_t i = 0; i < pixels.size(); i++) {
        int32_t x = static_cast<int32_t>(i % static_cast<size_t>(width));
        if (pixels[i] != expectedGray(stripeAt(stripes, x, width), convertType, grayTone, reverseGray, intensity))
            mismatches++;
    }
    return mismatches;
}
