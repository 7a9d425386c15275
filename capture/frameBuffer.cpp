// Frame buffer of the capture loops: mapping, DIB section and memory context.
// Capture thread only; appState.memoryDC belongs to the one running capture thread.
#include "frameBuffer.h"

#include <ctime>

#include "appState.h"
#include "boundedText.h"
#include "retry.h"

namespace {

constexpr size_t MAPPING_NAME_BYTES = 20;
constexpr int32_t BITMAP_INFO_HEADER_BYTES = sizeof(BITMAPINFOHEADER);

// A failed resource is shown with the failing call's name as text and caption.
void showResourceFailure(const char *callName)
{
    MessageBoxA(appState.mainWindow, callName, callName, MB_OK);
}

}  // namespace

FrameMapping createFrameMapping(uint64_t bytes)
{
    FrameMapping mapping{nullptr, 0};
    char name[MAPPING_NAME_BYTES];
    formatText(name, "talvero%d", static_cast<int>(clock()));
    mapping.handle = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                        static_cast<DWORD>(bytes >> 32), static_cast<DWORD>(bytes), name);
    if (mapping.handle == nullptr) {
        showResourceFailure("CreateFileMapping");
        return mapping;
    }
    mapping.bytes = bytes;
    return mapping;
}

void closeFrameMapping(FrameMapping *mapping)
{
    if (mapping->handle != nullptr)
        CloseHandle(mapping->handle);
    mapping->handle = nullptr;
    mapping->bytes = 0;
}

int createFrameBitmap(HDC reference, const ScreenRect &rect, const FrameMapping &mapping, int32_t bitsPerPixel,
                      FrameBitmap *frame)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = BITMAP_INFO_HEADER_BYTES;
    info.bmiHeader.biWidth = rectWidth(rect);
    info.bmiHeader.biHeight = rectHeight(rect);   // positive: rows bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;

    // A target larger than the desktop does not fit the mapping: its bitmap gets
    // memory of its own rather than a section too small for it.
    bool useMapping = mapping.handle != nullptr &&
                      frameFitsMapping(rectWidth(rect), rectHeight(rect), bitsPerPixel, mapping.bytes);
    HANDLE section = useMapping ? mapping.handle : nullptr;
    DWORD offset = useMapping ? FRAME_MAPPING_OFFSET : 0;

    void *pixels = nullptr;
    HBITMAP bitmap = nullptr;
    if (!retryCall(BUILD_RETRIES, [&] {
            bitmap = CreateDIBSection(reference, &info, DIB_RGB_COLORS, &pixels, section, offset);
            return bitmap != nullptr;
        })) {
        showResourceFailure("CreateDIBSection");
        return -1;
    }
    if (pixels == nullptr) {
        // Nothing to convert into: end the run rather than write through null.
        showResourceFailure("pbits");
        DeleteObject(bitmap);
        return -1;
    }

    HDC memory = nullptr;
    if (!retryCall(BUILD_RETRIES, [&] {
            memory = CreateCompatibleDC(reference);
            return memory != nullptr;
        })) {
        showResourceFailure("CreateCompatibleDC");
        DeleteObject(bitmap);
        return -1;
    }
    HGDIOBJ previous = nullptr;
    if (!retryCall(BUILD_RETRIES, [&] {
            previous = SelectObject(memory, bitmap);
            return previous != nullptr && previous != HGDI_ERROR;
        })) {
        showResourceFailure("CreateCompatibleDC");
        DeleteDC(memory);
        DeleteObject(bitmap);
        return -1;
    }

    appState.memoryDC = memory;
    frame->pixels = static_cast<uint8_t *>(pixels);
    frame->bitmap = bitmap;
    frame->previous = previous;
    frame->width = rectWidth(rect);
    frame->height = rectHeight(rect);
    return 1;
}

int releaseFrameBitmap(FrameBitmap *frame)
{
    if (frame->bitmap == nullptr)
        return 0;
    HGDIOBJ previous = frame->previous;
    HBITMAP bitmap = frame->bitmap;
    if (!retryCall(FRAME_RETRIES, [&] {
            HGDIOBJ result = SelectObject(appState.memoryDC, previous);
            return result != nullptr && result != HGDI_ERROR;
        }))
        return -1;
    if (!retryCall(FRAME_RETRIES, [&] { return DeleteObject(bitmap) != FALSE; }))
        return -1;
    if (!retryCall(FRAME_RETRIES, [&] { return DeleteDC(appState.memoryDC) != FALSE; }))
        return -1;
    appState.memoryDC = nullptr;
    *frame = FrameBitmap{};
    return 1;
}
