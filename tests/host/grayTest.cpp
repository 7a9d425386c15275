// Gray kernels: the worked values, convertFrame's dispatch and refusals, empty frames,
// row strides and the path switch, run on every path this machine can execute.
// Expected values are the documented worked examples, not outputs captured from the code.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "gray.h"
#include "grayPaths.h"
#include "grayTestPaths.h"

namespace {

constexpr int32_t TONE_FULL = 10;
constexpr int32_t DEPTH_32 = 32;
constexpr int32_t DEPTH_24 = 24;
constexpr int32_t DEPTH_16 = 16;
constexpr uint8_t OPAQUE_BYTE = 0xFF;
// Wide enough that SIMD blocks of every path and a scalar tail both carry the pixel.
constexpr int32_t REPEAT_WIDTH = 45;
constexpr int32_t REPEAT_HEIGHT = 2;

struct PixelCase {
    int32_t convertType;
    int32_t grayTone;
    int32_t reverseGray;
    uint8_t blue, green, red;
    uint8_t expected;
};

const PixelCase PIXEL_CASES[] = {
    // NTSC at full tone
    {GRAY_NTSC, TONE_FULL, 0, 0, 0, 0, 0},
    {GRAY_NTSC, TONE_FULL, 0, 255, 255, 255, 255},
    {GRAY_NTSC, TONE_FULL, 0, 255, 0, 0, 36},
    {GRAY_NTSC, TONE_FULL, 0, 0, 0, 255, 72},
    {GRAY_NTSC, TONE_FULL, 0, 0, 255, 0, 145},
    {GRAY_NTSC, TONE_FULL, 0, 128, 128, 128, 128},
    {GRAY_NTSC, TONE_FULL, 0, 32, 64, 128, 77},
    // NTSC tone
    {GRAY_NTSC, 5, 0, 255, 255, 255, 127},
    {GRAY_NTSC, 1, 0, 255, 255, 255, 25},
    {GRAY_NTSC, 0, 0, 255, 255, 255, 0},
    {GRAY_NTSC, 0, 0, 32, 64, 128, 0},
    {GRAY_NTSC, 0, 0, 0, 255, 0, 0},
    {GRAY_NTSC, 0, 0, 0, 0, 0, 0},
    // NTSC reversed
    {GRAY_NTSC, TONE_FULL, 1, 0, 0, 0, 255},
    {GRAY_NTSC, TONE_FULL, 1, 255, 255, 255, 0},
    {GRAY_NTSC, TONE_FULL, 1, 32, 64, 128, 178},
    // HDTV at full tone: black is 1 because each component becomes 2 first
    {GRAY_HDTV, TONE_FULL, 0, 0, 0, 0, 1},
    {GRAY_HDTV, TONE_FULL, 0, 255, 255, 255, 250},
    {GRAY_HDTV, TONE_FULL, 0, 255, 0, 0, 29},
    {GRAY_HDTV, TONE_FULL, 0, 0, 0, 255, 57},
    {GRAY_HDTV, TONE_FULL, 0, 0, 255, 0, 167},
    {GRAY_HDTV, TONE_FULL, 0, 128, 128, 128, 128},
    {GRAY_HDTV, TONE_FULL, 0, 32, 64, 128, 75},
    // HDTV reversed and toned
    {GRAY_HDTV, TONE_FULL, 1, 0, 0, 0, 254},
    {GRAY_HDTV, TONE_FULL, 1, 255, 255, 255, 5},
    {GRAY_HDTV, 5, 0, 0, 0, 0, 0},
    {GRAY_HDTV, 5, 0, 255, 255, 255, 125},
};

// Fourth-byte values a 32 bpp pixel may arrive with; all must leave as 0xFF.
const uint8_t FOURTH_BYTES[] = {0x00, 0x01, 0x7F, 0x80, 0xFE, 0xFF};

TEST(GrayWorkedValues, ThirtyTwoBitPixelsOnEveryPath)
{
    for (GrayPath path : availablePaths()) {
        ASSERT_TRUE(forceGrayPath(path));
        for (const PixelCase &c : PIXEL_CASES) {
            for (uint8_t fourth : FOURTH_BYTES) {
                SCOPED_TRACE(testing::Message() << grayPathName(path) << " type " << c.convertType << " tone "
                                                << c.grayTone << " reverse " << c.reverseGray << " bgr (" << (int)c.blue
                                                << "," << (int)c.green << "," << (int)c.red << ") fourth " << (int)fourth);
                std::vector<uint8_t> frame;
                for (int32_t i = 0; i < REPEAT_WIDTH * REPEAT_HEIGHT; ++i)
                    frame.insert(frame.end(), {c.blue, c.green, c.red, fourth});
                ASSERT_TRUE(convertFrame(frame.data(), REPEAT_WIDTH, REPEAT_HEIGHT, DEPTH_32, c.convertType, c.grayTone,
                                         c.reverseGray));
                for (size_t i = 0; i < frame.size(); i += 4) {
                    ASSERT_EQ(frame[i], c.expected) << "pixel " << i / 4;
                    ASSERT_EQ(frame[i + 1], c.expected) << "pixel " << i / 4;
                    ASSERT_EQ(frame[i + 2], c.expected) << "pixel " << i / 4;
                    ASSERT_EQ(frame[i + 3], OPAQUE_BYTE) << "pixel " << i / 4;
                }
            }
        }
    }
    forceGrayPath(bestGrayPath());
}

TEST(GrayWorkedValues, TwentyFourBitPixelsOnEveryPath)
{
    // 45 * 3 = 135 bytes per row: each row carries one byte of padding that stays put.
    const int32_t stride = dibRowStride(REPEAT_WIDTH, DEPTH_24);
    const uint8_t padding = 0x5A;
    for (GrayPath path : availablePaths()) {
        ASSERT_TRUE(forceGrayPath(path));
        for (const PixelCase &c : PIXEL_CASES) {
            SCOPED_TRACE(testing::Message() << grayPathName(path) << " type " << c.convertType << " tone "
                                            << c.grayTone << " reverse " << c.reverseGray << " bgr (" << (int)c.blue
                                            << "," << (int)c.green << "," << (int)c.red << ")");
            std::vector<uint8_t> frame((size_t)stride * REPEAT_HEIGHT, padding);
            for (int32_t y = 0; y < REPEAT_HEIGHT; ++y)
                for (int32_t x = 0; x < REPEAT_WIDTH; ++x) {
                    uint8_t *p = &frame[(size_t)y * stride + (size_t)x * 3];
                    p[0] = c.blue;
                    p[1] = c.green;
                    p[2] = c.red;
                }
            ASSERT_TRUE(convertFrame(frame.data(), REPEAT_WIDTH, REPEAT_HEIGHT, DEPTH_24, c.convertType, c.grayTone,
                                     c.reverseGray));
            for (int32_t y = 0; y < REPEAT_HEIGHT; ++y) {
                const uint8_t *row = &frame[(size_t)y * stride];
                for (int32_t i = 0; i < REPEAT_WIDTH * 3; ++i)
                    ASSERT_EQ(row[i], c.expected) << "row " << y << " byte " << i;
                for (int32_t i = REPEAT_WIDTH * 3; i < stride; ++i)
                    ASSERT_EQ(row[i], padding) << "row " << y << " padding byte " << i;
            }
        }
    }
    forceGrayPath(bestGrayPath());
}

struct WordCase {
    int32_t convertType;
    int32_t reverseGray;
    uint16_t input;
    uint16_t expected;
};

const WordCase WORD_CASES[] = {
    {GRAY_NTSC, 0, 0x7FFF, 0x7FFF},
    {GRAY_NTSC, 0, 0x0000, 0x0000},
    {GRAY_NTSC, 0, 0x7C00, 0x2108},
    {GRAY_NTSC, 0, 0x001F, 0x1084},
    {GRAY_NTSC, 0, 0x03E0, 0x4631},
    {GRAY_NTSC, 1, 0x0000, 0x7FFF},
    {GRAY_NTSC, 1, 0x7FFF, 0x0000},
    // bit 15 carries no colour and is cleared
    {GRAY_NTSC, 0, 0xFFFF, 0x7FFF},
    {GRAY_NTSC, 0, 0x8000, 0x0000},
    {GRAY_NTSC, 1, 0x8000, 0x7FFF},
    {GRAY_HDTV, 0, 0x7FFF, 0x7BDE},
    {GRAY_HDTV, 0, 0x7C00, 0x1CE7},
    {GRAY_HDTV, 0, 0x001F, 0x0C63},
    {GRAY_HDTV, 0, 0x03E0, 0x5294},
    {GRAY_HDTV, 0, 0xFC00, 0x1CE7},
};

TEST(GrayWorkedValues, SixteenBitWordsOnEveryPath)
{
    // Odd width: each row ends in two padding bytes.
    const int32_t stride = dibRowStride(REPEAT_WIDTH, DEPTH_16);
    const uint8_t padding = 0xC3;
    for (GrayPath path : availablePaths()) {
        ASSERT_TRUE(forceGrayPath(path));
        for (const WordCase &c : WORD_CASES) {
            SCOPED_TRACE(testing::Message() << grayPathName(path) << " type " << c.convertType << " reverse "
                                            << c.reverseGray << " word 0x" << std::hex << c.input);
            std::vector<uint8_t> frame((size_t)stride * REPEAT_HEIGHT, padding);
            for (int32_t y = 0; y < REPEAT_HEIGHT; ++y)
                for (int32_t x = 0; x < REPEAT_WIDTH; ++x) {
                    uint8_t *p = &frame[(size_t)y * stride + (size_t)x * 2];
                    p[0] = (uint8_t)c.input;
                    p[1] = (uint8_t)(c.input >> 8);
                }
            ASSERT_TRUE(convertFrame(frame.data(), REPEAT_WIDTH, REPEAT_HEIGHT, DEPTH_16, c.convertType, TONE_FULL,
                                     c.reverseGray));
            for (int32_t y = 0; y < REPEAT_HEIGHT; ++y) {
                const uint8_t *row = &frame[(size_t)y * stride];
                for (int32_t x = 0; x < REPEAT_WIDTH; ++x)
                    ASSERT_EQ(row[2 * x] | (row[2 * x + 1] << 8), c.expected) << "row " << y << " pixel " << x;
                for (int32_t i = REPEAT_WIDTH * 2; i < stride; ++i)
                    ASSERT_EQ(row[i], padding) << "row " << y << " padding byte " << i;
            }
        }
    }
    forceGrayPath(bestGrayPath());
}

struct StrideCase {
    int32_t width;
    int32_t bitsPerPixel;
    int32_t expected;
};

const StrideCase STRIDE_CASES[] = {
    {1, 32, 4},      {7, 32, 28},      {1920, 32, 7680}, {1, 24, 4},   {2, 24, 8},  {3, 24, 12},
    {4, 24, 12},     {5, 24, 16},      {1920, 24, 5760}, {1, 16, 4},   {2, 16, 4},  {3, 16, 8},
    {1279, 16, 2560}, {1, 8, 4},       {5, 8, 8},        {0, 32, 0},   {33, 1, 8},
};

TEST(GrayRowStride, WholeFourByteMultiples)
{
    for (const StrideCase &c : STRIDE_CASES)
        EXPECT_EQ(dibRowStride(c.width, c.bitsPerPixel), c.expected) << c.width << " x " << c.bitsPerPixel;
}

// Deterministic mixed bytes so that NTSC and HDTV results differ from each other.
std::vector<uint8_t> patternFrame(size_t bytes)
{
    std::vector<uint8_t> frame(bytes);
    uint32_t state = 0x9E3779B9u;
    for (uint8_t &b : frame) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = (uint8_t)(state >> 24);
    }
    return frame;
}

typedef void (*KernelFn)(uint8_t *, int32_t, int32_t, int32_t, int32_t, int32_t);

struct DispatchCase {
    int32_t bitsPerPixel;
    int32_t convertType;
    KernelFn expected;  // nullptr: convertFrame refuses
};

const DispatchCase DISPATCH_CASES[] = {
    {32, GRAY_NTSC, grayNtsc32}, {24, GRAY_NTSC, grayNtsc24}, {16, GRAY_NTSC, grayNtsc16},
    {32, GRAY_HDTV, grayHdtv32}, {24, GRAY_HDTV, grayHdtv24}, {16, GRAY_HDTV, grayHdtv16},
    {8, GRAY_NTSC, nullptr},     {8, GRAY_HDTV, nullptr},     {1, GRAY_NTSC, nullptr},
    {4, GRAY_HDTV, nullptr},     {15, GRAY_NTSC, nullptr},    {0, GRAY_NTSC, nullptr},
    {-32, GRAY_NTSC, nullptr},   {64, GRAY_HDTV, nullptr},    {32, 2, nullptr},
    {24, 2, nullptr},            {16, 2, nullptr},            {32, -1, nullptr},
    {24, -1, nullptr},           {16, -1, nullptr},           {8, 2, nullptr},
    {32, INT32_MAX, nullptr},
};

TEST(GrayConvertFrame, PicksTheKernelByDepthAndType)
{
    const int32_t width = 37, height = 3, tone = 7;
    for (const DispatchCase &c : DISPATCH_CASES) {
        SCOPED_TRACE(testing::Message() << "depth " << c.bitsPerPixel << " type " << c.convertType);
        // Sized for the widest depth so that a refused call has something to (not) change.
        const std::vector<uint8_t> original = patternFrame((size_t)dibRowStride(width, DEPTH_32) * height);
        std::vector<uint8_t> viaFrame = original;
        bool ran = convertFrame(viaFrame.data(), width, height, c.bitsPerPixel, c.convertType, tone, 0);
        if (c.expected == nullptr) {
            EXPECT_FALSE(ran);
            EXPECT_EQ(viaFrame, original);
            continue;
        }
        EXPECT_TRUE(ran);
        std::vector<uint8_t> viaKernel = original;
        c.expected(viaKernel.data(), width, height, dibRowStride(width, c.bitsPerPixel), tone, 0);
        EXPECT_EQ(viaFrame, viaKernel);
        EXPECT_NE(viaFrame, original);
    }
}

struct SizeCase {
    int32_t width;
    int32_t height;
};

const SizeCase EMPTY_SIZES[] = {
    {0, 0}, {0, 10}, {10, 0}, {-1, 10}, {10, -1}, {-5, -5}, {INT32_MIN, 10}, {10, INT32_MIN}, {INT32_MIN, INT32_MIN},
};

TEST(GrayConvertFrame, EmptyOrNegativeSizesTouchNothing)
{
    const std::vector<uint8_t> original = patternFrame(256);
    for (GrayPath path : availablePaths()) {
        ASSERT_TRUE(forceGrayPath(path));
        for (const SizeCase &s : EMPTY_SIZES) {
            for (int32_t depth : {DEPTH_32, DEPTH_24, DEPTH_16}) {
                for (int32_t type : {GRAY_NTSC, GRAY_HDTV}) {
                    SCOPED_TRACE(testing::Message() << grayPathName(path) << " " << s.width << " x " << s.height
                                                    << " depth " << depth << " type " << type);
                    std::vector<uint8_t> frame = original;
                    EXPECT_TRUE(convertFrame(frame.data(), s.width, s.height, depth, type, TONE_FULL, 0));
                    EXPECT_EQ(frame, original);
                }
            }
        }
    }
    forceGrayPath(bestGrayPath());
}

TEST(GrayConvertFrame, KernelsCalledDirectlyWithEmptySizesTouchNothing)
{
    const int32_t ANY_STRIDE = 64;
    const KernelFn kernels[] = {grayNtsc32, grayNtsc24, grayNtsc16, grayHdtv32, grayHdtv24, grayHdtv16};
    const std::vector<uint8_t> original = patternFrame(256);
    for (KernelFn kernel : kernels)
        for (const SizeCase &s : EMPTY_SIZES) {
            std::vector<uint8_t> frame = original;
            kernel(frame.data(), s.width, s.height, ANY_STRIDE, TONE_FULL, 1);
            EXPECT_EQ(frame, original) << s.width << " x " << s.height;
        }
}

// Settings outside their documented ranges: tone clamps to 0..10, reverse means exactly 1.
struct SettingsCase {
    int32_t grayTone;
    int32_t reverseGray;
    int32_t sameAsTone;
    int32_t sameAsReverse;
};

const SettingsCase OUT_OF_RANGE[] = {
    {11, 0, 10, 0}, {1000, 0, 10, 0}, {INT32_MAX, 1, 10, 1}, {-1, 0, 0, 0}, {INT32_MIN, 1, 0, 1},
    {5, 2, 5, 0},   {5, -1, 5, 0},   {10, INT32_MAX, 10, 0},
};

TEST(GrayConvertFrame, OutOfRangeSettingsFollowTheNearestValidOnes)
{
    const int32_t width = 41, height = 2;
    for (GrayPath path : availablePaths()) {
        ASSERT_TRUE(forceGrayPath(path));
        for (const SettingsCase &c : OUT_OF_RANGE)
            for (int32_t depth : {DEPTH_32, DEPTH_24, DEPTH_16})
                for (int32_t type : {GRAY_NTSC, GRAY_HDTV}) {
                    SCOPED_TRACE(testing::Message() << grayPathName(path) << " tone " << c.grayTone << " reverse "
                                                    << c.reverseGray << " depth " << depth << " type " << type);
                    const std::vector<uint8_t> original = patternFrame((size_t)dibRowStride(width, depth) * height);
                    std::vector<uint8_t> odd = original, valid = original;
                    ASSERT_TRUE(convertFrame(odd.data(), width, height, depth, type, c.grayTone, c.reverseGray));
                    ASSERT_TRUE(convertFrame(valid.data(), width, height, depth, type, c.sameAsTone, c.sameAsReverse));
                    EXPECT_EQ(odd, valid);
                }
    }
    forceGrayPath(bestGrayPath());
}

TEST(GrayPaths, ScalarAlwaysAvailableAndBestIsAvailable)
{
    EXPECT_TRUE(grayPathAvailable(GRAY_PATH_SCALAR));
    EXPECT_TRUE(grayPathAvailable(bestGrayPath()));
    for (int32_t p = GRAY_PATH_SCALAR; p < GRAY_PATH_COUNT; ++p) {
        if (grayPathAvailable((GrayPath)p)) {
            EXPECT_GE(bestGrayPath(), p) << grayPathName((GrayPath)p);
        }
    }
}

TEST(GrayPaths, ForcingSwitchesOnlyToAvailablePaths)
{
    for (int32_t p = GRAY_PATH_SCALAR; p < GRAY_PATH_COUNT; ++p) {
        ASSERT_TRUE(forceGrayPath(GRAY_PATH_SCALAR));
        GrayPath path = (GrayPath)p;
        bool available = grayPathAvailable(path);
        EXPECT_EQ(forceGrayPath(path), available) << grayPathName(path);
        EXPECT_EQ(activeGrayPath(), available ? path : GRAY_PATH_SCALAR) << grayPathName(path);
    }
    EXPECT_FALSE(forceGrayPath(GRAY_PATH_COUNT));
    EXPECT_FALSE(forceGrayPath((GrayPath)-1));
    forceGrayPath(bestGrayPath());
}

#if defined(__x86_64__) || defined(__i386__)
// The library reads cpuid and XGETBV itself; the compiler's own check must agree here.
TEST(GrayPaths, AvailabilityMatchesTheCompilersCpuCheck)
{
    __builtin_cpu_init();
    EXPECT_EQ(grayPathAvailable(GRAY_PATH_SSE2), __builtin_cpu_supports("sse2") != 0);
    EXPECT_EQ(grayPathAvailable(GRAY_PATH_SSSE3), __builtin_cpu_supports("ssse3") != 0);
    EXPECT_EQ(grayPathAvailable(GRAY_PATH_AVX2), __builtin_cpu_supports("avx2") != 0);
}
#endif

}  // namespace
