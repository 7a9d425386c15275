// Screen read-back through a 32-bit top-down DIB section.
#include "testScreen.h"

#include <cstdlib>

std::vector<uint32_t> screenPixels(const RECT &area)
{
    int width = area.right - area.left;
    int height = area.bottom - area.top;
    if (width <= 0 || height <= 0)
        return {};
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as the vector is
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void *bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap != nullptr && bits != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        const uint32_t *source = static_cast<const uint32_t *>(bits);
        for (size_t i = 0; i < pixels.size(); i++)
            pixels[i] = source[i] & 0x00FFFFFF;
        SelectObject(memory, previous);
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool isGrayPixel(uint32_t pixel)
{
    constexpr int TOLERANCE = 8;   // a 16-bit screen's quantisation
    int red = static_cast<int>((pixel >> 16) & 0xFF);
    int green = static_cast<int>((pixel >> 8) & 0xFF);
    int blue = static_cast<int>(pixel & 0xFF);
    return abs(red - green) <= TOLERANCE && abs(green - blue) <= TOLERANCE;
}

bool screenIsGray(const RECT &area)
{
    std::vector<uint32_t> pixels = screenPixels(area);
    for (uint32_t pixel : pixels)
        if (!isGrayPixel(pixel))
            return false;
    return !pixels.empty();
}
