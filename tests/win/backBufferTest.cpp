// The main window's back buffer grows to a client area wider or taller than ever
// before and never shrinks; a grown buffer holds the background colour.
#include <windows.h>

#include <gtest/gtest.h>

#include "appState.h"
#include "backBuffer.h"
#include "shellTestState.h"

namespace {

SIZE bitmapSize(HBITMAP bitmap)
{
    BITMAP shape = {};
    GetObjectA(bitmap, sizeof shape, &shape);
    return {shape.bmWidth, shape.bmHeight};
}

}  // namespace

TEST(BackBuffer, GrowsToLargerClientAreasOnly)
{
    ensureShellState();

    HDC screen = GetDC(nullptr);
    appState.backBufferDC = CreateCompatibleDC(screen);
    appState.backBufferBitmap = CreateCompatibleBitmap(screen, 10, 10);
    ReleaseDC(nullptr, screen);
    appState.backBufferStockBitmap = SelectObject(appState.backBufferDC, appState.backBufferBitmap);
    appState.backBufferSize = {};

    // Each step compares with the client size recorded at the last growth; a growth
    // makes the buffer exactly the new client size.
    const struct {
        RECT client;
        LONG width, height;  // of the buffer afterwards
    } steps[] = {
        {{0, 0, 434, 461}, 434, 461},  // first size
        {{0, 0, 300, 200}, 434, 461},  // smaller: kept
        {{0, 0, 500, 100}, 500, 100},  // wider than 434
        {{0, 0, 200, 300}, 200, 300},  // taller than 100
        {{0, 0, 150, 250}, 200, 300},  // smaller again: kept
    };
    for (const auto &step : steps) {
        growBackBuffer(step.client);
        SIZE size = bitmapSize(appState.backBufferBitmap);
        EXPECT_EQ(step.width, size.cx) << "client " << step.client.right << " x " << step.client.bottom;
        EXPECT_EQ(step.height, size.cy) << "client " << step.client.right << " x " << step.client.bottom;
    }
    EXPECT_EQ(RGB(238, 238, 238), GetPixel(appState.backBufferDC, 150, 250) & 0xFFFFFF) << "filled with the background";
}
