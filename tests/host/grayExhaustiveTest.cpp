// Gray kernels against a literal restatement of the arithmetic: every 24-bit colour at
// 32 and 24 bpp, every 16-bit word at 16 bpp, each tone, reverse and weighting, on every
// path this machine runs; then random rows of widths 1..70 for row tails and padding.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

#include "gray.h"
#include "grayPaths.h"
#include "grayTestPaths.h"

namespace {

// The arithmetic as documented, kept apart from the library's own constants.
constexpr uint32_t NTSC_RED = 2, NTSC_GREEN = 4, NTSC_BLUE = 1, NTSC_DIVISOR = 7, TONE_DIVISOR = 10;
constexpr uint32_t HDTV_FLIP = 2, HDTV_RED = 22, HDTV_GREEN = 66, HDTV_BLUE = 11, HDTV_HALF = 2;
constexpr uint32_t HDTV_TONE_FACTOR = 2, HDTV_DIVISOR = 1000;
constexpr uint32_t WHITE = 255;
constexpr int32_t TONE_MAX = 10;
constexpr uint32_t OPAQUE = 0xFF000000u;
constexpr uint32_t BYTE_MASK = 0xFF;
// 5-5-5 words: each 5-bit field widened to 8 bits (low three bits zero), and back.
constexpr uint32_t FIELD555_MASK = 0xF8;
constexpr int32_t RED555_DOWN = 7, GREEN555_DOWN = 2, BLUE555_UP = 3;
constexpr int32_t GRAY_TO_FIELD = 3, RED_FIELD = 10, GREEN_FIELD = 5;
constexpr int32_t DEPTH_32 = 32, DEPTH_24 = 24, DEPTH_16 = 16;

uint32_t referenceGray(int32_t convertType, uint32_t red, uint32_t green, uint32_t blue, int32_t grayTone,
                       int32_t reverseGray)
{
    uint32_t v;
    if (convertType == GRAY_NTSC) {
        uint32_t s = NTSC_RED * red + NTSC_GREEN * green + NTSC_BLUE * blue;
        uint32_t a = s / NTSC_DIVISOR;
        v = a * (uint32_t)grayTone / TONE_DIVISOR;
    } else {
        uint32_t s = (HDTV_RED * (red ^ HDTV_FLIP) + HDTV_GREEN * (green ^ HDTV_FLIP) + HDTV_BLUE * (blue ^ HDTV_FLIP)) /
                     HDTV_HALF;
        v = s * (HDTV_TONE_FACTOR * (uint32_t)grayTone) / HDTV_DIVISOR;
    }
    if (reverseGray == 1)
        v = WHITE - v;
    return v;
}

uint16_t referenceWord(int32_t convertType, uint32_t word, int32_t grayTone, int32_t reverseGray)
{
    uint32_t red = (word >> RED555_DOWN) & FIELD555_MASK;
    uint32_t green = (word >> GREEN555_DOWN) & FIELD555_MASK;
    uint32_t blue = (word << BLUE555_UP) & FIELD555_MASK;
    uint32_t q = referenceGray(convertType, red, green, blue, grayTone, reverseGray) >> GRAY_TO_FIELD;
    return (uint16_t)((q << RED_FIELD) | (q << GREEN_FIELD) | q);
}

struct Setting {
    int32_t convertType;
    int32_t grayTone;
    int32_t reverseGray;
};

std::vector<Setting> allSettings()
{
    std::vector<Setting> settings;
    for (int32_t type : {GRAY_NTSC, GRAY_HDTV})
        for (int32_t tone = 0; tone <= TONE_MAX; ++tone)
            for (int32_t reverse : {0, 1})
                settings.push_back({type, tone, reverse});
    return settings;
}

// What went wrong first, so a failure names the colour and setting.
struct Mismatches {
    int64_t count;
    char first[160];
};

void noteMismatch(Mismatches *m, const char *what, const Setting &s, uint32_t input, uint32_t got, uint32_t expected)
{
    if (m->count++ == 0)
        snprintf(m->first, sizeof m->first, "%s type %d tone %d reverse %d: input 0x%08X gave 0x%08X, expected 0x%08X",
                 what, s.convertType, s.grayTone, s.reverseGray, input, got, expected);
}

// One red value per slice: a 256 x 256 frame, green by row and blue by column.
constexpr int32_t SLICE_SIDE = 256;
constexpr int32_t SLICE_PIXELS = SLICE_SIDE * SLICE_SIDE;
constexpr int32_t RED_VALUES = 256;

// A fourth byte that differs from pixel to pixel and slice to slice.
uint8_t fourthByte(uint32_t index, uint32_t red)
{
    constexpr uint32_t INDEX_MIX = 151, RED_MIX = 29;
    return (uint8_t)(index * INDEX_MIX + red * RED_MIX);
}

void checkRedSlices(int32_t firstRed, int32_t redStep, Mismatches *m)
{
    const std::vector<Setting> settings = allSettings();
    std::vector<uint8_t> pristine32(SLICE_PIXELS * 4), pristine24(SLICE_PIXELS * 3);
    std::vector<uint8_t> frame32(pristine32.size()), frame24(pristine24.size()), expected(SLICE_PIXELS);
    for (int32_t red = firstRed; red < RED_VALUES; red += redStep) {
        for (uint32_t i = 0; i < (uint32_t)SLICE_PIXELS; ++i) {
            uint8_t blue = (uint8_t)(i & BYTE_MASK), green = (uint8_t)(i >> 8);
            uint8_t px[4] = {blue, green, (uint8_t)red, fourthByte(i, red)};
            memcpy(&pristine32[i * 4], px, 4);
            memcpy(&pristine24[i * 3], px, 3);
        }
        for (const Setting &s : settings) {
            for (uint32_t i = 0; i < (uint32_t)SLICE_PIXELS; ++i)
                expected[i] = (uint8_t)referenceGray(s.convertType, red, i >> 8, i & BYTE_MASK, s.grayTone, s.reverseGray);

            frame32 = pristine32;
            if (!convertFrame(frame32.data(), SLICE_SIDE, SLICE_SIDE, DEPTH_32, s.convertType, s.grayTone, s.reverseGray))
                noteMismatch(m, "32 bpp refused", s, 0, 0, 0);
            for (uint32_t i = 0; i < (uint32_t)SLICE_PIXELS; ++i) {
                uint32_t got = frame32[i * 4] | (frame32[i * 4 + 1] << 8) | (frame32[i * 4 + 2] << 16) |
                               ((uint32_t)frame32[i * 4 + 3] << 24);
                uint32_t want = OPAQUE | expected[i] | (expected[i] << 8) | (expected[i] << 16);
                if (got != want) {
                    uint32_t input = pristine32[i * 4] | (pristine32[i * 4 + 1] << 8) | (pristine32[i * 4 + 2] << 16) |
                                     ((uint32_t)pristine32[i * 4 + 3] << 24);
                    noteMismatch(m, "32 bpp", s, input, got, want);
                }
            }

            frame24 = pristine24;
            if (!convertFrame(frame24.data(), SLICE_SIDE, SLICE_SIDE, DEPTH_24, s.convertType, s.grayTone, s.reverseGray))
                noteMismatch(m, "24 bpp refused", s, 0, 0, 0);
            for (uint32_t i = 0; i < (uint32_t)SLICE_PIXELS; ++i) {
                uint32_t got = frame24[i * 3] | (frame24[i * 3 + 1] << 8) | (frame24[i * 3 + 2] << 16);
                uint32_t want = expected[i] | (expected[i] << 8) | (expected[i] << 16);
                if (got != want)
                    noteMismatch(m, "24 bpp", s, ((uint32_t)red << 16) | i, got, want);
            }
        }
    }
}

// Two workers, one per core here, split the red slices between them.
constexpr int32_t WORKERS = 2;

TEST(GrayExhaustive, EveryColourAt32And24BitsOnEveryPath)
{
    for (GrayPath path : availablePaths()) {
        ASSERT_TRUE(forceGrayPath(path));
        auto start = std::chrono::steady_clock::now();
        Mismatches found[WORKERS] = {};
        std::vector<std::thread> workers;
        for (int32_t w = 0; w < WORKERS; ++w)
            workers.emplace_back(checkRedSlices, w, WORKERS, &found[w]);
        for (std::thread &t : workers)
            t.join();
        for (const Mismatches &m : found)
            EXPECT_EQ(m.count, 0) << grayPathName(path) << ": " << m.first;
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        printf("[ %-8s ] every colour, 32 and 24 bpp, 44 settings: %.2f s\n", grayPathName(path), seconds);
    }
    forceGrayPath(bestGrayPath());
}

TEST(GrayExhaustive, EveryWordAt16BitsOnEveryPath)
{
    constexpr uint32_t WORDS = 65536;
    std::vector<uint8_t> pristine(WORDS * 2);
    for (uint32_t w = 0; w < WORDS; ++w) {
        pristine[w * 2] = (uint8_t)w;
        pristine[w * 2 + 1] = (uint8_t)(w >> 8);
    }
    for (GrayPath path : availablePaths()) {
        ASSERT_TRUE(forceGrayPath(path));
        Mismatches m = {};
        for (const Setting &s : allSettings()) {
            std::vector<uint8_t> frame = pristine;
            if (!convertFrame(frame.data(), SLICE_SIDE, SLICE_SIDE, DEPTH_16, s.convertType, s.grayTone, s.reverseGray))
                noteMismatch(&m, "16 bpp refused", s, 0, 0, 0);
            for (uint32_t w = 0; w < WORDS; ++w) {
                uint32_t got = frame[w * 2] | (frame[w * 2 + 1] << 8);
                uint32_t want = referenceWord(s.convertType, w, s.grayTone, s.reverseGray);
                if (got != want)
                    noteMismatch(&m, "16 bpp", s, w, got, want);
            }
        }
        EXPECT_EQ(m.count, 0) << grayPathName(path) << ": " << m.first;
    }
    forceGrayPath(bestGrayPath());
}

constexpr int32_t MAX_TAIL_WIDTH = 70;
constexpr int32_t TAIL_HEIGHT = 3;
constexpr uint8_t PADDING_SENTINEL = 0xA5;

uint32_t nextRandom(uint32_t *state)
{
    *state ^= *state << 13;
    *state ^= *state >> 17;
    *state ^= *state << 5;
    return *state;
}

int32_t bytesPerPixel(int32_t depth)
{
    return depth / 8;
}

// The expected bytes of one converted pixel at `p` given its original bytes.
void expectedPixel(int32_t depth, const Setting &s, const uint8_t *original, uint8_t *out)
{
    if (depth == DEPTH_16) {
        uint16_t word = referenceWord(s.convertType, original[0] | (original[1] << 8), s.grayTone, s.reverseGray);
        out[0] = (uint8_t)word;
        out[1] = (uint8_t)(word >> 8);
        return;
    }
    uint8_t v = (uint8_t)referenceGray(s.convertType, original[2], original[1], original[0], s.grayTone, s.reverseGray);
    out[0] = out[1] = out[2] = v;
    if (depth == DEPTH_32)
        out[3] = (uint8_t)(OPAQUE >> 24);
}

// Random pixels in rows with sentinel padding: each pixel must match the reference and
// every padding byte keep its sentinel.
TEST(GrayRows, EveryTailLengthAndPaddingOnEveryPath)
{
    uint32_t seed = 0x12345678u;
    const std::vector<Setting> settings = allSettings();
    for (GrayPath path : availablePaths()) {
        ASSERT_TRUE(forceGrayPath(path));
        for (int32_t depth : {DEPTH_32, DEPTH_24, DEPTH_16}) {
            const int32_t bpp = bytesPerPixel(depth);
            for (int32_t width = 1; width <= MAX_TAIL_WIDTH; ++width) {
                const Setting &s = settings[(size_t)(width * 7 + depth) % settings.size()];
                SCOPED_TRACE(testing::Message() << grayPathName(path) << " depth " << depth << " width " << width
                                                << " type " << s.convertType << " tone " << s.grayTone << " reverse "
                                                << s.reverseGray);
                const int32_t stride = dibRowStride(width, depth);
                std::vector<uint8_t> frame((size_t)stride * TAIL_HEIGHT, PADDING_SENTINEL);
                for (int32_t y = 0; y < TAIL_HEIGHT; ++y)
                    for (int32_t i = 0; i < width * bpp; ++i)
                        frame[(size_t)y * stride + i] = (uint8_t)nextRandom(&seed);
                const std::vector<uint8_t> original = frame;
                ASSERT_TRUE(convertFrame(frame.data(), width, TAIL_HEIGHT, depth, s.convertType, s.grayTone,
                                         s.reverseGray));
                for (int32_t y = 0; y < TAIL_HEIGHT; ++y) {
                    const size_t row = (size_t)y * stride;
                    for (int32_t x = 0; x < width; ++x) {
                        uint8_t want[4];
                        expectedPixel(depth, s, &original[row + (size_t)x * bpp], want);
                        ASSERT_EQ(memcmp(&frame[row + (size_t)x * bpp], want, bpp), 0) << "row " << y << " pixel " << x;
                    }
                    for (int32_t i = width * bpp; i < stride; ++i)
                        ASSERT_EQ(frame[row + i], PADDING_SENTINEL) << "row " << y << " padding byte " << i;
                }
            }
        }
    }
    forceGrayPath(bestGrayPath());
}

// A buffer that ends right after the last pixel of the last row (no final padding),
// allocated to that exact size so an address sanitizer or heap guard sees any overrun.
TEST(GrayRows, BufferEndingAtTheLastPixelOnEveryPath)
{
    typedef void (*KernelFn)(uint8_t *, int32_t, int32_t, int32_t, int32_t, int32_t);
    struct KernelCase {
        KernelFn kernel;
        int32_t depth;
        int32_t convertType;
    };
    const KernelCase kernels[] = {
        {grayNtsc32, DEPTH_32, GRAY_NTSC}, {grayNtsc24, DEPTH_24, GRAY_NTSC}, {grayNtsc16, DEPTH_16, GRAY_NTSC},
        {grayHdtv32, DEPTH_32, GRAY_HDTV}, {grayHdtv24, DEPTH_24, GRAY_HDTV}, {grayHdtv16, DEPTH_16, GRAY_HDTV},
    };
    uint32_t seed = 0xCAFEF00Du;
    for (GrayPath path : availablePaths()) {
        ASSERT_TRUE(forceGrayPath(path));
        for (const KernelCase &k : kernels) {
            const int32_t bpp = bytesPerPixel(k.depth);
            for (int32_t width = 1; width <= MAX_TAIL_WIDTH; ++width) {
                for (int32_t height : {1, TAIL_HEIGHT}) {
                    const Setting s = {k.convertType, (width + height) % (TONE_MAX + 1), width & 1};
                    SCOPED_TRACE(testing::Message() << grayPathName(path) << " depth " << k.depth << " type "
                                                    << k.convertType << " " << width << " x " << height);
                    const int32_t stride = dibRowStride(width, k.depth);
                    const size_t size = (size_t)stride * (height - 1) + (size_t)width * bpp;
                    std::unique_ptr<uint8_t[]> frame(new uint8_t[size]);
                    for (size_t i = 0; i < size; ++i)
                        frame[i] = (uint8_t)nextRandom(&seed);
                    const std::vector<uint8_t> original(frame.get(), frame.get() + size);
                    k.kernel(frame.get(), width, height, stride, s.grayTone, s.reverseGray);
                    for (int32_t y = 0; y < height; ++y)
                        for (int32_t x = 0; x < width; ++x) {
                            const size_t at = (size_t)y * stride + (size_t)x * bpp;
                            uint8_t want[4];
                            expectedPixel(k.depth, s, &original[at], want);
                            ASSERT_EQ(memcmp(&frame[at], want, bpp), 0) << "row " << y << " pixel " << x;
                        }
                    for (int32_t y = 0; y + 1 < height; ++y)
                        for (int32_t i = width * bpp; i < stride; ++i)
                            ASSERT_EQ(frame[(size_t)y * stride + i], original[(size_t)y * stride + i])
                                << "row " << y << " padding byte " << i;
                }
            }
        }
    }
    forceGrayPath(bestGrayPath());
}

}  // namespace
