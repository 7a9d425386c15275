// Back buffer of the main window. Forwarded WM_SIZE and WM_PAINT run on overlay
// threads too, so every step is under backBufferLock, which is held only around
// GDI calls on our own memory context (no message is sent while holding it).
#include "backBuffer.h"

#include "appState.h"

namespace {

HBITMAP screenCompatibleBitmap(const RECT &client)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

void createBackBuffer(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    HDC screen = GetDC(nullptr);
    appState.backBufferBitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    appState.backBufferDC = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    appState.backBufferStockBitmap = SelectObject(appState.backBufferDC, appState.backBufferBitmap);
    FillRect(appState.backBufferDC, &client, appState.backgroundBrush);
}

}  // namespace

void growBackBuffer(const RECT &client)
{
    EnterCriticalSection(&appState.backBufferLock);
    RECT &size = appState.backBufferSize;
    if (client.bottom - client.top > size.bottom - size.top || client.right - client.left > size.right - size.left) {
        size = client;
        if (appState.backBufferDC != nullptr) {
            SelectObject(appState.backBufferDC, appState.backBufferStockBitmap);
            DeleteObject(appState.backBufferBitmap);
            appState.backBufferBitmap = screenCompatibleBitmap(client);
            SelectObject(appState.backBufferDC, appState.backBufferBitmap);
            FillRect(appState.backBufferDC, &client, appState.backgroundBrush);
        }
    }
    LeaveCriticalSection(&appState.backBufferLock);
}

LRESULT paintFromBackBuffer(HWND window)
{
    // The main window is the one whose client area the buffer copies.
    EnterCriticalSection(&appState.backBufferLock);
    if (appState.backBufferDC == nullptr)
        createBackBuffer(appState.mainWindow != nullptr ? appState.mainWindow : window);
    LeaveCriticalSection(&appState.backBufferLock);

    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client = {};
    GetClientRect(window, &client);
    EnterCriticalSection(&appState.backBufferLock);
    BitBlt(dc, client.left, client.top, client.right, client.bottom, appState.backBufferDC, 0, 0, SRCCOPY);
    LeaveCriticalSection(&appState.backBufferLock);
    EndPaint(window, &paint);
    return 0;
}

void refillBackBuffer()
{
    RECT client = {};
    GetClientRect(appState.mainWindow, &client);
    EnterCriticalSection(&appState.backBufferLock);
    if (appState.backBufferDC != nullptr)
        FillRect(appState.backBufferDC, &client, appState.backgroundBrush);
    LeaveCriticalSection(&appState.backBufferLock);
}
