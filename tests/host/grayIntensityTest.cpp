// Partial gray: the worked values at 0, 50 and 100 % for each kernel, clamping and refusals,
// then every SIMD path against the scalar one over random rows of every width up to 70.
// Expected values are worked by hand from the rule in gray.h, not captured from the code.
#include <gtest/gtest.h>

#include <vector>

#include "gray.h"
#include "grayPaths.h"
#include "grayTestPaths.h"

namespace {

constexpr int32_t TONE_FULL = 10;
constexpr int32_t WIDTH = 45;  // SIMD blocks and a scalar tail on every path
constexpr int32_t HEIGHT = 2;
constexpr int32_t BITS_PER_BYTE = 8;

struct IntensityCase {
    int32_t convertType, grayTone, reverseGray, depth, intensity;
    uint32_t pixel, expected;  // little-endian bytes: blue, green, red, fourth (or a 5-5-5 word)
};

// (blue, green, red) = (32, 64, 128) grays to 77 (NTSC), 75 (HDTV), 178 (NTSC reversed);
// at 50 % each channel lands on a half and rounds up. 0x7C00 grays to fields 8 (NTSC), 7 (HDTV).
const IntensityCase CASES[] = {
    {GRAY_NTSC, TONE_FULL, 0, 32, 0, 0x00804020, 0x00804020},
    {GRAY_NTSC, TONE_FULL, 0, 32, 50, 0x00804020, 0xFF674737},
    {GRAY_NTSC, TONE_FULL, 0, 32, 100, 0x00804020, 0xFF4D4D4D},
    {GRAY_NTSC, TONE_FULL, 0, 24, 0, 0x804020, 0x804020},
    {GRAY_NTSC, TONE_FULL, 0, 24, 50, 0x804020, 0x674737},
    {GRAY_NTSC, TONE_FULL, 0, 24, 100, 0x804020, 0x4D4D4D},
    {GRAY_NTSC, TONE_FULL, 0, 16, 0, 0xFC00, 0xFC00},
    {GRAY_NTSC, TONE_FULL, 0, 16, 50, 0xFC00, 0x5084},  // bit 15 cleared as at 100 %
    {GRAY_NTSC, TONE_FULL, 0, 16, 100, 0xFC00, 0x2108},
    {GRAY_HDTV, TONE_FULL, 0, 32, 0, 0x00804020, 0x00804020},
    {GRAY_HDTV, TONE_FULL, 0, 32, 50, 0x00804020, 0xFF664636},
    {GRAY_HDTV, TONE_FULL, 0, 32, 100, 0x00804020, 0xFF4B4B4B},
    {GRAY_HDTV, TONE_FULL, 0, 24, 0, 0x804020, 0x804020},
    {GRAY_HDTV, TONE_FULL, 0, 24, 50, 0x804020, 0x664636},
    {GRAY_HDTV, TONE_FULL, 0, 24, 100, 0x804020, 0x4B4B4B},
    {GRAY_HDTV, TONE_FULL, 0, 16, 0, 0x7C00, 0x7C00},
    {GRAY_HDTV, TONE_FULL, 0, 16, 50, 0x7C00, 0x4C84},
    {GRAY_HDTV, TONE_FULL, 0, 16, 100, 0x7C00, 0x1CE7},
    // toward the reversed gray; 1 % rounds red's 0.51 step to 1 and the others' to 0
    {GRAY_NTSC, TONE_FULL, 1, 24, 50, 0x804020, 0x997969},
    {GRAY_NTSC, TONE_FULL, 0, 24, 1, 0x804020, 0x7F4020},
    // tone 5: gray 38; outside 0..100 clamps
    {GRAY_NTSC, 5, 0, 32, 50, 0x00804020, 0xFF533323},
    {GRAY_NTSC, TONE_FULL, 0, 32, 150, 0x00804020, 0xFF4D4D4D},
    {GRAY_NTSC, TONE_FULL, 0, 32, -5, 0x00804020, 0x00804020},
};

TEST(GrayIntensity, WorkedValuesOnEveryPath)
{
    for (GrayPath path : availablePaths()) {
        ASSERT_TRUE(forceGrayPath(path));
        for (const IntensityCase &c : CASES) {
            SCOPED_TRACE(testing::Message() << grayPathName(path) << " type " << c.convertType << " tone " << c.grayTone
                                            << " reverse " << c.reverseGray << " depth " << c.depth << " at "
                                            << c.intensity << " pixel 0x" << std::hex << c.pixel);
            const int32_t bytes = c.depth / BITS_PER_BYTE, stride = dibRowStride(WIDTH, c.depth);
            const uint8_t padding = 0x5A;
            std::vector<uint8_t> frame((size_t)stride * HEIGHT, padding);
            for (int32_t y = 0; y < HEIGHT; ++y)
                for (int32_t x = 0; x < WIDTH; ++x)
                    for (int32_t b = 0; b < bytes; ++b)
                        frame[(size_t)y * stride + (size_t)x * bytes + b] = (uint8_t)(c.pixel >> (BITS_PER_BYTE * b));
            ASSERT_TRUE(convertFrameIntensity(frame.data(), WIDTH, HEIGHT, c.depth, c.convertType, c.grayTone,
                                              c.reverseGray, c.intensity));
            for (int32_t y = 0; y < HEIGHT; ++y) {
                for (int32_t x = 0; x < WIDTH; ++x)
                    for (int32_t b = 0; b < bytes; ++b)
                        ASSERT_EQ(frame[(size_t)y * stride + (size_t)x * bytes + b],
                                  (uint8_t)(c.expected >> (BITS_PER_BYTE * b)))
                            << "row " << y << " pixel " << x << " byte " << b;
                for (int32_t i = WIDTH * bytes; i < stride; ++i)
                    ASSERT_EQ(frame[(size_t)y * stride + i], padding) << "row " << y << " padding byte " << i;
            }
        }
    }
    forceGrayPath(bestGrayPath());
}

std::vector<uint8_t> randomBytes(size_t count, uint32_t seed)
{
    std::vector<uint8_t> bytes(count);
    for (uint8_t &b : bytes) {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        b = (uint8_t)(seed >> 24);
    }
    return bytes;
}

TEST(GrayIntensity, RefusesWhatConvertFrameRefusesAndLeavesEmptyFramesAlone)
{
    const std::vector<uint8_t> original = randomBytes(256, 7);
    for (int32_t intensity : {0, 50}) {
        std::vector<uint8_t> frame = original;
        EXPECT_FALSE(convertFrameIntensity(frame.data(), 4, 4, 8, GRAY_NTSC, TONE_FULL, 0, intensity));
        EXPECT_FALSE(convertFrameIntensity(frame.data(), 4, 4, 32, 2, TONE_FULL, 0, intensity));
        EXPECT_TRUE(convertFrameIntensity(frame.data(), 0, 4, 32, GRAY_HDTV, TONE_FULL, 0, intensity));
        EXPECT_TRUE(convertFrameIntensity(frame.data(), 4, -1, 16, GRAY_NTSC, TONE_FULL, 0, intensity));
        EXPECT_EQ(frame, original) << intensity;
    }
}

// Widths 1..70 reach every block size's tail; the settings vary with the width so that
// tone, reverse and many intensities meet every depth, weighting and tail length.
TEST(GrayIntensity, EveryPathEqualsTheScalarOneAtEveryWidth)
{
    const int32_t MAX_WIDTH = 70, ROWS = 3, INTENSITY_STEPS = 101, TONE_STEPS = 11;
    for (int32_t depth : {32, 24, 16})
        for (int32_t type : {GRAY_NTSC, GRAY_HDTV})
            for (int32_t width = 1; width <= MAX_WIDTH; ++width) {
                const int32_t intensity = width * 37 % INTENSITY_STEPS, tone = width % TONE_STEPS, reverse = width % 2;
                const std::vector<uint8_t> original =
                    randomBytes((size_t)dibRowStride(width, depth) * ROWS, (uint32_t)(width * 977 + depth));
                std::vector<uint8_t> scalar = original;
                ASSERT_TRUE(forceGrayPath(GRAY_PATH_SCALAR));
                convertFrameIntensity(scalar.data(), width, ROWS, depth, type, tone, reverse, intensity);
                for (GrayPath path : availablePaths()) {
                    ASSERT_TRUE(forceGrayPath(path));
                    std::vector<uint8_t> frame = original;
                    convertFrameIntensity(frame.data(), width, ROWS, depth, type, tone, reverse, intensity);
                    ASSERT_EQ(frame, scalar) << grayPathName(path) << " depth " << depth << " type " << type
                                             << " width " << width << " at " << intensity;
                }
            }
    forceGrayPath(bestGrayPath());
}

}  // namespace
