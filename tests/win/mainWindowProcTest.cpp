// mainWindowProc in this test process: the answers of its simple messages, and a
// later window of the class (as an overlay will be) getting no initialisation, and
// the back-buffer refill request.
#include <windows.h>

#include <gtest/gtest.h>

#include "appState.h"
#include "mainWindow.h"
#include "resource.h"
#include "shellTestState.h"

namespace {

const char TEST_CLASS[] = "TALVERO_PROC_TEST";

void prepareOnce()
{
    static LONG prepared = 0;
    if (InterlockedExchange(&prepared, 1) != 0)
        return;
    ensureShellState();
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = TEST_CLASS;
    RegisterClassExA(&windowClass);
}

// WM_DESTROY posts WM_QUIT to this thread: take it out of the queue again.
bool takeQuitMessage()
{
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        quit = quit || message.message == WM_QUIT;
    return quit;
}

}  // namespace

TEST(MainWindowProc, SimpleMessagesGetTheirAnswers)
{
    prepareOnce();
    HWND any = GetDesktopWindow();
    EXPECT_EQ(1, mainWindowProc(any, WM_ERASEBKGND, 0, 0)) << "the background is never erased";

    MINMAXINFO limits = {};
    EXPECT_EQ(0, mainWindowProc(any, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits)));
    EXPECT_EQ(300, limits.ptMinTrackSize.x);
    EXPECT_EQ(200, limits.ptMinTrackSize.y);

    LRESULT brush = reinterpret_cast<LRESULT>(appState.backgroundBrush);
    EXPECT_EQ(brush, mainWindowProc(any, WM_CTLCOLORBTN, 0, 0));
    EXPECT_EQ(brush, mainWindowProc(any, WM_CTLCOLORDLG, 0, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    SetBkMode(dc, OPAQUE);
    SetTextColor(dc, RGB(1, 2, 3));
    EXPECT_EQ(brush, mainWindowProc(any, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), 0));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc));
    EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc));
    DeleteDC(dc);

    // Draw requests for other ids and unknown commands do nothing.
    DRAWITEMSTRUCT item = {};
    EXPECT_EQ(0, mainWindowProc(any, WM_DRAWITEM, 1234, reinterpret_cast<LPARAM>(&item)));
    NMHDR header = {};
    header.idFrom = 1234;
    EXPECT_EQ(0, mainWindowProc(any, WM_NOTIFY, 1234, reinterpret_cast<LPARAM>(&header)));
    EXPECT_EQ(0, mainWindowProc(any, WM_COMMAND, 4321, 0));
}

TEST(MainWindowProc, ALaterWindowOfTheClassIsNotInitialised)
{
    prepareOnce();
    int32_t savedBits = appState.nativeBits;
    appState.nativeBits = 64;  // the application is up already
    HWND later = CreateWindowExA(0, TEST_CLASS, "TALVERO_GRAY", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, later) << "WM_CREATE must answer 0";
    EXPECT_EQ(nullptr, GetWindow(later, GW_CHILD)) << "no controls are made for it";
    EXPECT_EQ(nullptr, GetDlgItem(later, IDC_STATUS_BAR));
    DestroyWindow(later);
    EXPECT_TRUE(takeQuitMessage()) << "WM_DESTROY ends the calling thread's loop";
    appState.nativeBits = savedBits;
}

TEST(MainWindowProc, RefillMessageFillsTheBackBufferWithTheBackground)
{
    prepareOnce();
    constexpr int WIDTH = 40, HEIGHT = 30;
    HWND savedMain = appState.mainWindow;
    HDC savedDC = appState.backBufferDC;
    HWND main = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, WIDTH, HEIGHT, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, main);
    appState.mainWindow = main;
    HDC screen = GetDC(nullptr);
    HDC buffer = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, WIDTH, HEIGHT);
    ReleaseDC(nullptr, screen);
    HGDIOBJ stock = SelectObject(buffer, bitmap);
    RECT all = {0, 0, WIDTH, HEIGHT};
    FillRect(buffer, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    appState.backBufferDC = buffer;

    EXPECT_EQ(0, mainWindowProc(main, WM_REFILL_BACK_BUFFER, 0, REFILL_BACK_BUFFER_TAG + 1));
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(buffer, WIDTH - 1, HEIGHT - 1) & 0xFFFFFF) << "another lParam refills nothing";
    EXPECT_EQ(0, mainWindowProc(main, WM_REFILL_BACK_BUFFER, 0, REFILL_BACK_BUFFER_TAG));
    EXPECT_EQ(RGB(238, 238, 238), GetPixel(buffer, WIDTH - 1, HEIGHT - 1) & 0xFFFFFF);
    EXPECT_EQ(RGB(238, 238, 238), GetPixel(buffer, 0, 0) & 0xFFFFFF);

    appState.backBufferDC = savedDC;
    appState.mainWindow = savedMain;
    SelectObject(buffer, stock);
    DeleteObject(bitmap);
    DeleteDC(buffer);
    DestroyWindow(main);
}
