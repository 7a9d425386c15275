// The frame buffer's own guarantees: a mapping name another process holds is not
// shared, a frame of 8 bits per pixel is built from a zeroed colour table, and a
// release that failed half-way is finished by the next one; a copy that failed is
// not converted again.
#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>
#include <vector>

#include "appState.h"
#include "boundedText.h"
#include "captureCounts.h"
#include "captureRun.h"
#include "captureTestWorld.h"
#include "frameBuffer.h"

namespace {

constexpr int32_t TAKEN_NAMES = 20;            // well within the retry budget
constexpr DWORD TAKEN_SECTION_BYTES = 4096;
constexpr uint64_t FRAME_SECTION_BYTES = 4u << 20;
constexpr size_t NAME_BYTES = 20;
constexpr int32_t EIGHT_BITS = 8;
constexpr UINT COLOUR_TABLE_ENTRIES = 256;
constexpr uintptr_t BOGUS_DC = 0x00DEAD01;   // no device context has this handle

TEST(CaptureFrameBuffer, AMappingNameAlreadyTakenIsNotShared)
{
    // Small sections under the names the next clock values give, as another
    // TALVERO started in the same millisecond would hold them.
    std::vector<HANDLE> taken;
    clock_t now = clock();
    for (int32_t i = 0; i < TAKEN_NAMES; i++) {
        char name[NAME_BYTES];
        formatText(name, "talvero%d", static_cast<int>(now) + i);
        HANDLE section = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, TAKEN_SECTION_BYTES, name);
        ASSERT_NE(nullptr, section);
        taken.push_back(section);
    }
    FrameMapping mapping = createFrameMapping(FRAME_SECTION_BYTES);
    ASSERT_NE(nullptr, mapping.handle);
    EXPECT_EQ(FRAME_SECTION_BYTES, mapping.bytes);
    // A taken section is too small for a view of the frame's size.
    void *view = MapViewOfFile(mapping.handle, FILE_MAP_WRITE, 0, 0, static_cast<SIZE_T>(FRAME_SECTION_BYTES));
    EXPECT_NE(nullptr, view) << "the mapping is another's section";
    if (view != nullptr)
        UnmapViewOfFile(view);
    closeFrameMapping(&mapping);
    for (HANDLE section : taken)
        CloseHandle(section);
}

TEST(CaptureFrameBuffer, AnEightBitFrameHasAZeroedColourTable)
{
    ensureCaptureWorld();
    ASSERT_EQ(nullptr, appState.memoryDC) << "a capture run is still going";
    HDC reference = GetDC(nullptr);
    FrameBitmap frame{};
    const char *failedCall = nullptr;
    ASSERT_EQ(1, createFrameBitmap(reference, ScreenRect{0, 0, 64, 32}, FrameMapping{}, EIGHT_BITS, &frame,
                                   &failedCall));
    RGBQUAD colours[COLOUR_TABLE_ENTRIES];
    memset(colours, 0xA5, sizeof colours);
    EXPECT_EQ(COLOUR_TABLE_ENTRIES, GetDIBColorTable(appState.memoryDC, 0, COLOUR_TABLE_ENTRIES, colours));
    int32_t nonZero = 0;
    for (const RGBQUAD &colour : colours) {
        if (colour.rgbRed != 0 || colour.rgbGreen != 0 || colour.rgbBlue != 0 || colour.rgbReserved != 0)
            nonZero++;
    }
    EXPECT_EQ(0, nonZero) << "the colour table was read from beyond the header";
    EXPECT_EQ(1, releaseFrameBitmap(&frame));
    EXPECT_EQ(nullptr, appState.memoryDC);
    ReleaseDC(nullptr, reference);
}

TEST(CaptureFrameBuffer, AReleaseThatFailedIsFinishedByTheNextOne)
{
    ensureCaptureWorld();
    ASSERT_EQ(nullptr, appState.memoryDC) << "a capture run is still going";
    HDC reference = GetDC(nullptr);
    int32_t gdiBefore = processGdiObjectCount();
    FrameBitmap frame{};
    const char *failedCall = nullptr;
    ASSERT_EQ(1, createFrameBitmap(reference, ScreenRect{0, 0, 64, 32}, FrameMapping{}, 32, &frame, &failedCall));

    // A memory context that no longer answers: the selection cannot be restored.
    HDC memory = appState.memoryDC;
    appState.memoryDC = reinterpret_cast<HDC>(static_cast<uintptr_t>(BOGUS_DC));
    EXPECT_EQ(-1, releaseFrameBitmap(&frame));
    EXPECT_NE(nullptr, frame.bitmap) << "the bitmap was forgotten before it was deleted";
    EXPECT_TRUE(frameIsSelected(frame));

    appState.memoryDC = memory;
    EXPECT_EQ(1, releaseFrameBitmap(&frame));
    EXPECT_EQ(nullptr, appState.memoryDC);
    EXPECT_EQ(nullptr, frame.bitmap);
    EXPECT_FALSE(frameIsSelected(frame));
    EXPECT_EQ(0, releaseFrameBitmap(&frame)) << "nothing left to release";
    ReleaseDC(nullptr, reference);
    if (gdiBefore >= 0) {
        EXPECT_EQ(gdiBefore, processGdiObjectCount()) << "bitmap or memory context left";
    }
}

// No copy of the screen can be made to fail under Wine (it has no secure desktop):
// the step every loop takes after its copy is driven here with the copy's outcome.
TEST(CaptureFrameBuffer, AFailedCopyIsNeitherConvertedNorPresented)
{
    ensureCaptureWorld();
    ASSERT_EQ(nullptr, appState.memoryDC) << "a capture run is still going";
    appState.graySettings = GraySettings{0, 10, 1};   // reversed: a second conversion would flip the picture
    CaptureRun run{};
    run.bitsPerPixel = 32;
    run.referenceDC = GetDC(nullptr);
    const ScreenRect place{0, 0, 64, 32};
    ASSERT_TRUE(buildFrameBuffer(&run, place));
    const uint32_t colour = 0x00C82828;
    uint32_t *pixels = reinterpret_cast<uint32_t *>(run.frame.pixels);
    std::fill(pixels, pixels + 64 * 32, colour);
    bool noKernel = true;
    ASSERT_TRUE(convertCopiedFrame(&run, true, &place, 1, &noKernel));
    const uint32_t gray = pixels[0];
    EXPECT_NE(colour, gray);
    EXPECT_EQ(1, run.history.changed.count);

    EXPECT_FALSE(convertCopiedFrame(&run, false, &place, 1, &noKernel)) << "a failed copy is to be presented";
    EXPECT_FALSE(noKernel);
    EXPECT_EQ(gray, pixels[0]) << "the picture of the last copy was converted again";
    EXPECT_EQ(1, run.history.activity.failedCopies);
    EXPECT_EQ(1, releaseFrameBitmap(&run.frame));
    releaseFrameHistory(&run.history);
    ReleaseDC(nullptr, run.referenceDC);
    appState.graySettings = GraySettings{};
}

}  // namespace
