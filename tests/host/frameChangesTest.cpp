// What a frame finds changed since the last copy, the rectangles it presents, and
// when a still desk and a failed copy look again.
#include <gtest/gtest.h>

#include <vector>

#include "frameChanges.h"

namespace {

constexpr int32_t WIDTH = 50;
constexpr int32_t HEIGHT = 70;   // five bands, the last of six rows

struct Frames {
    FrameLayout layout;
    std::vector<uint8_t> now, before;
};

Frames framesOf(int32_t bitsPerPixel)
{
    int32_t stride = (WIDTH * bitsPerPixel / 8 + 3) / 4 * 4;
    Frames f{{WIDTH, HEIGHT, bitsPerPixel, stride}, {}, {}};
    f.now.assign(static_cast<size_t>(stride) * HEIGHT, 0x5A);
    f.before = f.now;
    return f;
}

// Changes one byte of pixel (x, y), y counted from the top as on screen.
void touch(Frames *f, int32_t x, int32_t y, int32_t byteOfPixel)
{
    size_t row = static_cast<size_t>(HEIGHT - 1 - y) * static_cast<size_t>(f->layout.rowStride);
    f->now[row + static_cast<size_t>(x * f->layout.bitsPerPixel / 8 + byteOfPixel)] ^= 0xFF;
}

struct Touch { int32_t x, y, byteOfPixel; };

TEST(FrameChanges, ChangedPixelsGiveTheirBandsAndColumnsAndAreKept)
{
    const ScreenRect wholeFrame{0, 0, WIDTH, HEIGHT};
    const ScreenRect leftHalf{0, 0, 25, HEIGHT};
    const struct {
        int32_t bitsPerPixel;
        std::vector<Touch> touches;
        ScreenRect part;
        std::vector<ScreenRect> rects;   // what is presented
    } cases[] = {
        {32, {{0, 0, 0}}, wholeFrame, {{0, 0, 1, 16}}},
        {32, {{49, 69, 3}}, wholeFrame, {{49, 64, 50, 70}}},             // last pixel, last byte, short band
        {24, {{10, 15, 2}, {30, 16, 0}}, wholeFrame, {{10, 0, 31, 32}}},  // two bands in a row make one rectangle
        {24, {{10, 5, 0}, {20, 40, 1}}, wholeFrame, {{10, 0, 11, 16}, {20, 32, 21, 48}}},
        {16, {{7, 20, 1}, {3, 27, 0}, {40, 22, 0}}, wholeFrame, {{3, 16, 41, 32}}},
        {32, {{30, 20, 0}}, leftHalf, {}},                                 // outside the copied parts: never looked at
        {32, {{24, 20, 0}, {30, 20, 0}}, leftHalf, {{24, 16, 25, 32}}},
    };
    for (const auto &c : cases) {
        Frames f = framesOf(c.bitsPerPixel);
        for (const Touch &t : c.touches)
            touch(&f, t.x, t.y, t.byteOfPixel);
        std::vector<BandChange> bands(bandCountOf(HEIGHT), BandChange{0, 0});
        bool changed = findChangedBands(f.now.data(), f.before.data(), f.layout, &c.part, 1, bands.data());
        RectList rects;
        changedRects(bands.data(), f.layout, &rects);
        ASSERT_EQ(c.rects.size(), static_cast<size_t>(rects.count)) << c.bitsPerPixel << " " << c.touches.size();
        EXPECT_EQ(!c.rects.empty(), changed);
        for (size_t i = 0; i < c.rects.size(); i++)
            EXPECT_TRUE(sameRect(c.rects[i], rects.rects[i])) << c.bitsPerPixel << " rectangle " << i;
        // The next frame compares with this copy: inside the parts nothing is new.
        keepChangedBands(f.now.data(), f.before.data(), f.layout, bands.data());
        std::vector<BandChange> again(bandCountOf(HEIGHT), BandChange{0, 0});
        EXPECT_FALSE(findChangedBands(f.now.data(), f.before.data(), f.layout, &c.part, 1, again.data()));
    }
}

TEST(FrameChanges, WhenTheNextCopyIsDue)
{
    const uint32_t T = 0xFFFFFF00u;   // the tick count wraps during the cases
    const struct {
        DeskActivity activity;
        uint32_t now;
        uint32_t wait;
    } cases[] = {
        {{T, T, T, 0}, T + 30, 0},                    // something moved: every frame
        {{T, T - 5000, T, 0}, T + 999, 0},            // changed within the second
        {{T - 5000, T, T, 0}, T + 999, 0},            // input within the second
        {{T - 5000, T - 5000, T, 0}, T + 30, 15},     // still: a look at the input first
        {{T - 5000, T - 5000, T, 0}, T + 100, 0},     // ten copies a second
        {{T - 5000, T + 200, T + 100, 0}, T + 210, 0},   // a key: full rate at once
        {{T - 5000, T + 220, T + 100, 0}, T + 210, 0},   // input read a little after the clock
        {{T, T, T, 1}, T + 10, 20},                   // failed copies back off...
        {{T, T, T, 4}, T + 40, 200},
        {{T, T, T, 5}, T, 480},
        {{T, T, T, 40}, T, 500},                      // ...up to half a second
        {{T, T, T, 40}, T + 600, 0},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.wait, nextCopyWait(c.activity, c.now)) << "case " << &c - cases;
}

}  // namespace
