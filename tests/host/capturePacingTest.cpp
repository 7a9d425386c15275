// Frame pacing, the frame-rate figure and its status text, and the frame-buffer
// sizing rules of the capture loops.
#include <gtest/gtest.h>

#include <string>

#include "captureRules.h"

namespace {

TEST(CapturePacing, WaitAfterAFrame)
{
    const struct {
        uint32_t lastFrameTime;
        uint32_t now;
        bool waits;
        uint32_t waitMs;
        uint32_t nextFrameTime;
    } cases[] = {
        {1000, 1012, true, 18, 1030},       // a 12 ms frame waits 18 ms
        {1000, 1000, true, 30, 1030},       // now == last
        {1000, 1029, true, 1, 1030},
        {1000, 1030, false, 0, 1030},       // exactly 30 ms: no wait left
        {1000, 1031, false, 0, 1031},       // slower frames start the next at once
        {1000, 1100, false, 0, 1100},
        {1030, 1029, true, 31, 1060},       // the clock reads before the last due time
        {1030, 1020, true, 40, 1060},
        {5030, 5000, true, 60, 5060},
        {0xFFFFFFF6u, 2, true, 18, 20},     // timeGetTime wrapped during the frame
        {0xFFFFFFF0u, 0xFFFFFFF4u, true, 26, 14},   // the wait's end wraps
        {0xFFFFFFF0u, 0x20, false, 0, 0x20},        // a slow frame across the wrap
        {2, 0xFFFFFFFFu, true, 33, 32},     // before the last due time, across the wrap
        {0xFFFFFFFFu, 0xFFFFFFFFu, true, 30, 29},   // now == last at the wrap
    };
    for (const auto &c : cases) {
        PaceWait wait = framePacingWait(c.now, c.lastFrameTime);
        EXPECT_EQ(c.waits, wait.waits) << c.lastFrameTime << " -> " << c.now;
        EXPECT_EQ(c.waitMs, wait.waitMs) << c.lastFrameTime << " -> " << c.now;
        EXPECT_EQ(c.nextFrameTime, wait.nextFrameTime) << c.lastFrameTime << " -> " << c.now;
    }
}

TEST(CapturePacing, TheFirstFrameNeverWaits)
{
    // Whatever the clock reads when a run starts, early after boot or past 2^31.
    for (uint32_t start : {0u, 5u, 29u, 30u, 5000u, 0x7FFFFFFFu, 0x80000000u, 0x90000000u, 0xFFFFFFF0u}) {
        uint32_t last = firstFrameTimeBase(start);
        for (uint32_t frameMs : {0u, 12u, 31u}) {
            PaceWait wait = framePacingWait(start + frameMs, last);
            EXPECT_FALSE(wait.waits) << start << " + " << frameMs;
            EXPECT_EQ(start + frameMs, wait.nextFrameTime) << start << " + " << frameMs;
        }
    }
}

TEST(CapturePacing, OversleptWaitIsTakenOutOfTheNextWait)
{
    // Frames of 12 ms whose waits each oversleep by 1 ms still keep a 30 ms cadence.
    uint32_t clock = 100000;
    uint32_t lastFrameTime = clock;
    for (int frameNumber = 0; frameNumber < 100; frameNumber++) {
        clock += 12;
        PaceWait wait = framePacingWait(clock, lastFrameTime);
        ASSERT_TRUE(wait.waits);
        clock += wait.waitMs + 1;
        lastFrameTime = wait.nextFrameTime;
    }
    EXPECT_EQ(100000u + 100 * FRAME_PERIOD_MS, lastFrameTime);
    EXPECT_LE(clock - 100000u, 100 * FRAME_PERIOD_MS + 1);
}

TEST(CapturePacing, FramesPerSecond)
{
    const struct {
        uint32_t elapsedMs;
        int32_t fps;
    } cases[] = {
        {3300, 30},    // 100000 / 3300, truncated
        {3000, 33},
        {3030, 33},
        {1000, 100},
        {100001, 0},
        {0, 100000},   // a timer that did not move divides by 1, not by 0
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.fps, framesPerSecond(c.elapsedMs)) << c.elapsedMs;
}

TEST(CapturePacing, ReportEveryHundredFrames)
{
    FrameRateCounter counter{0, 50000};
    int32_t fps = -1;
    for (int frameNumber = 1; frameNumber < 100; frameNumber++)
        EXPECT_FALSE(countFrame(&counter, 50000 + frameNumber * 33, &fps)) << frameNumber;
    EXPECT_EQ(-1, fps);
    EXPECT_TRUE(countFrame(&counter, 53300, &fps));
    EXPECT_EQ(30, fps);
    EXPECT_EQ(0u, counter.frameCount);
    EXPECT_EQ(53300u, counter.startTime);

    for (int frameNumber = 1; frameNumber < 100; frameNumber++)
        EXPECT_FALSE(countFrame(&counter, 53300 + frameNumber * 30, &fps));
    EXPECT_TRUE(countFrame(&counter, 56300, &fps));
    EXPECT_EQ(33, fps);
}

TEST(CapturePacing, FrameRateText)
{
    char text[TEXT_STATUS];
    formatFrameRateText(text, sizeof text, 30);
    EXPECT_EQ(std::string("FPS: 30"), text);
    formatFrameRateText(text, sizeof text, 33);
    EXPECT_EQ(std::string("FPS: 33"), text);
    char small[6];
    formatFrameRateText(small, sizeof small, 33);
    EXPECT_EQ(std::string("FPS: "), small);
}

TEST(CaptureFrameBuffer, MappingSizes)
{
    EXPECT_EQ(1920ull * 1080 * 10, screenMappingBytes(ScreenRect{0, 0, 1920, 1080}));
    EXPECT_EQ(1920ull * 1080 * 5, windowMappingBytes(ScreenRect{0, 0, 1920, 1080}));
    EXPECT_EQ(0ull, windowMappingBytes(ScreenRect{0, 0, 0, 1080}));
    EXPECT_EQ(0ull, screenMappingBytes(ScreenRect{0, 0, 1920, 0}));
}

TEST(CaptureFrameBuffer, FrameFitsTheMapping)
{
    const uint64_t desktop = windowMappingBytes(ScreenRect{0, 0, 1920, 1080});
    const struct {
        int32_t width;
        int32_t height;
        int32_t bitsPerPixel;
        uint64_t mappingBytes;
        bool fits;
    } cases[] = {
        {1280, 800, 32, desktop, true},
        {1920, 1080, 32, desktop, true},       // 4 bytes a pixel plus the offset within 5 bytes a pixel
        {2400, 1080, 32, desktop, false},      // a window larger than the desktop
        {2400, 1080, 16, desktop, true},
        {1920, 1080, 32, 0, false},            // no mapping
        {0, 600, 32, desktop, false},          // an empty rectangle has no frame
        {800, 0, 32, desktop, false},
        {-5, 600, 32, desktop, false},
        {1, 1, 32, FRAME_MAPPING_OFFSET + 4, true},
        {1, 1, 32, FRAME_MAPPING_OFFSET + 3, false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.fits, frameFitsMapping(c.width, c.height, c.bitsPerPixel, c.mappingBytes))
            << c.width << "x" << c.height << "x" << c.bitsPerPixel;
    EXPECT_EQ(FRAME_MAPPING_OFFSET + 16ull * 3, frameBytesInMapping(5, 3, 24));   // rows padded to 4 bytes
}

TEST(CaptureRects, InsideOnEdgeAndStrictly)
{
    const ScreenRect area{0, 0, 100, 50};
    const struct {
        ScreenPoint point;
        bool insideOrOnEdge;
        bool strictlyInside;
    } cases[] = {
        {{50, 25}, true, true}, {{0, 25}, true, false},  {{100, 25}, true, false}, {{50, 0}, true, false},
        {{50, 50}, true, false}, {{-1, 25}, false, false}, {{101, 25}, false, false}, {{50, 51}, false, false},
        {{1, 1}, true, true},    {{99, 49}, true, true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.insideOrOnEdge, pointInsideOrOnEdge(area, c.point)) << c.point.x << "," << c.point.y;
        EXPECT_EQ(c.strictlyInside, pointStrictlyInside(area, c.point)) << c.point.x << "," << c.point.y;
    }
    EXPECT_TRUE(sameRect(area, ScreenRect{0, 0, 100, 50}));
    EXPECT_FALSE(sameRect(area, ScreenRect{1, 0, 101, 50}));   // a move by one pixel
    EXPECT_FALSE(sameRect(area, ScreenRect{0, 0, 100, 51}));
    EXPECT_EQ(100, rectWidth(area));
    EXPECT_EQ(50, rectHeight(area));
}

}  // namespace
