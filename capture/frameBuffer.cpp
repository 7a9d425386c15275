// Frame buffer of the capture loops: mapping, DIB section and memory context.
// Capture thread only; appState.memoryDC belongs to the one running capture thread.
#include "frameBuffer.h"

#include <ctime>

#include "appState.h"
#include "boundedText.h"
#include "retry.h"

namespace {

constexpr char MAPPING_NAME_FORMAT[] = "talvero%d";   // with clock(): a name per run
constexpr size_t MAPPING_NAME_BYTES = 20;
constexpr DWORD NAME_TAKEN_SLEEP_MS = 1;               // long enough for clock() to move on
constexpr int32_t BITMAP_INFO_HEADER_BYTES = sizeof(BITMAPINFOHEADER);
constexpr size_t LARGEST_COLOUR_TABLE = 256;

// Room for the largest colour table: at a depth of 8 bits or less, CreateDIBSection
// with DIB_RGB_COLORS reads one behind the header. Zeroed; such a frame is refused
// by the conversion anyway, but must not be built from whatever follows on the stack.
struct FrameBitmapInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colours[LARGEST_COLOUR_TABLE];
};

}  // namespace

FrameMapping createFrameMapping(uint64_t bytes)
{
    FrameMapping mapping{nullptr, 0};
    HANDLE handle = nullptr;
    bool made = retryCall(BUILD_RETRIES, [&] {
        char name[MAPPING_NAME_BYTES];
        formatText(name, MAPPING_NAME_FORMAT, static_cast<int>(clock()));
        handle = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, static_cast<DWORD>(bytes >> 32),
                                    static_cast<DWORD>(bytes), name);
        if (handle != nullptr && GetLastError() == ERROR_ALREADY_EXISTS) {
            // Another process (or run) holds this name: its section is not ours and
            // may be smaller. Try again under the next clock value.
            CloseHandle(handle);
            handle = nullptr;
            Sleep(NAME_TAKEN_SLEEP_MS);
        }
        return handle != nullptr;
    });
    if (!made)
        return mapping;
    mapping.handle = handle;
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
                      FrameBitmap *frame, const char **failedCall)
{
    FrameBitmapInfo info = {};
    info.header.biSize = BITMAP_INFO_HEADER_BYTES;
    info.header.biWidth = rectWidth(rect);
    info.header.biHeight = rectHeight(rect);   // positive: rows bottom-up
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.header.biCompression = BI_RGB;

    // A target larger than the desktop does not fit the mapping: its bitmap gets
    // memory of its own rather than a section too small for it.
    bool useMapping = mapping.handle != nullptr &&
                      frameFitsMapping(rectWidth(rect), rectHeight(rect), bitsPerPixel, mapping.bytes);
    HANDLE section = useMapping ? mapping.handle : nullptr;
    DWORD offset = useMapping ? FRAME_MAPPING_OFFSET : 0;

    void *pixels = nullptr;
    HBITMAP bitmap = nullptr;
    if (!retryCall(BUILD_RETRIES, [&] {
            bitmap = CreateDIBSection(reference, reinterpret_cast<BITMAPINFO *>(&info), DIB_RGB_COLORS, &pixels,
                                      section, offset);
            return bitmap != nullptr;
        })) {
        *failedCall = FAILED_BITMAP;
        return -1;
    }
    if (pixels == nullptr) {
        // Nothing to convert into: end the run rather than write through null.
        *failedCall = FAILED_PIXELS;
        DeleteObject(bitmap);
        return -1;
    }

    HDC memory = nullptr;
    if (!retryCall(BUILD_RETRIES, [&] {
            memory = CreateCompatibleDC(reference);
            return memory != nullptr;
        })) {
        *failedCall = FAILED_MEMORY_DC;
        DeleteObject(bitmap);
        return -1;
    }
    HGDIOBJ previous = nullptr;
    if (!retryCall(BUILD_RETRIES, [&] {
            previous = SelectObject(memory, bitmap);
            return previous != nullptr && previous != HGDI_ERROR;
        })) {
        *failedCall = FAILED_MEMORY_DC;
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
    if (frame->bitmap == nullptr && frame->previous == nullptr && appState.memoryDC == nullptr)
        return 0;
    // Each step that succeeded is marked done, so that a later call after a failure
    // goes on where this one stopped instead of repeating it on a dead handle.
    if (frame->previous != nullptr) {
        HGDIOBJ previous = frame->previous;
        if (!retryCall(FRAME_RETRIES, [&] {
                HGDIOBJ result = SelectObject(appState.memoryDC, previous);
                return result != nullptr && result != HGDI_ERROR;
            }))
            return -1;
        frame->previous = nullptr;
    }
    if (frame->bitmap != nullptr) {
        HBITMAP bitmap = frame->bitmap;
        if (!retryCall(FRAME_RETRIES, [&] { return DeleteObject(bitmap) != FALSE; }))
            return -1;
        frame->bitmap = nullptr;
        frame->pixels = nullptr;
    }
    if (appState.memoryDC != nullptr) {
        if (!retryCall(FRAME_RETRIES, [&] { return DeleteDC(appState.memoryDC) != FALSE; }))
            return -1;
        appState.memoryDC = nullptr;
    }
    *frame = FrameBitmap{};
    return 1;
}
