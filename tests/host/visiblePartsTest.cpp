// The visible-part rule over z-ordered rectangles, and what a screen overlay shows
// with windows kept in colour or grayed by the rules.
#include <gtest/gtest.h>

#include <vector>

#include "visibleParts.h"

namespace {

const ScreenRect WINDOW = {100, 100, 500, 400};   // 400 x 300

WindowStack stackOf(const std::vector<StackedWindow> &windows)
{
    WindowStack stack = {};
    for (const StackedWindow &window : windows)
        stack.windows[stack.count++] = window;
    return stack;
}

int64_t areaOf(const RectList &list)
{
    int64_t area = 0;
    for (int32_t i = 0; i < list.count; i++)
        area += static_cast<int64_t>(rectWidth(list.rects[i])) * rectHeight(list.rects[i]);
    return area;
}

bool holds(const RectList &list, ScreenPoint point)
{
    for (int32_t i = 0; i < list.count; i++) {
        const ScreenRect &r = list.rects[i];
        if (r.left <= point.x && point.x < r.right && r.top <= point.y && point.y < r.bottom)
            return true;
    }
    return false;
}

}  // namespace

TEST(VisiblePart, TheRectangleLessEveryWindowAboveIt)
{
    const struct {
        const char *what;
        std::vector<ScreenRect> above;
        int64_t area;
        ScreenPoint shown, hidden;
    } cases[] = {
        {"alone", {}, 400 * 300, {100, 100}, {500, 400}},
        {"under a corner", {{400, 300, 600, 500}}, 400 * 300 - 100 * 100, {450, 250}, {450, 350}},
        {"a hole in its middle", {{200, 200, 300, 300}}, 400 * 300 - 100 * 100, {150, 250}, {250, 250}},
        {"under two that overlap", {{0, 0, 300, 200}, {200, 100, 400, 250}}, 400 * 300 - 200 * 100 - 200 * 150 + 100 * 100,
         {450, 150}, {350, 120}},
        {"covered whole", {{0, 0, 800, 600}, {150, 150, 160, 160}}, 0, {-1, -1}, {300, 300}},
    };
    for (const auto &c : cases) {
        std::vector<StackedWindow> windows;
        for (const ScreenRect &rect : c.above)
            windows.push_back({rect, ROLE_PLAIN});
        windows.push_back({WINDOW, ROLE_PLAIN});
        RectList part;
        visiblePart(stackOf(windows), static_cast<int32_t>(windows.size()) - 1, &part);
        EXPECT_EQ(c.area, areaOf(part)) << c.what;   // the pieces do not overlap
        EXPECT_EQ(c.area > 0, holds(part, c.shown)) << c.what;
        EXPECT_FALSE(holds(part, c.hidden)) << c.what;
    }
}

TEST(OverlayParts, GrayAllButTheKeptWindowsOrOnlyTheGrayedOnes)
{
    OverlayCover cover = {};
    cover.place = {0, 0, 1000, 800};
    cover.partCount = 1;
    cover.parts[0] = cover.place;
    const ScreenRect above = {400, 300, 700, 600};   // another program's window over the ruled one
    WindowStack keep = stackOf({{above, ROLE_PLAIN}, {WINDOW, ROLE_KEEP_COLOUR}});
    RectList parts;
    EXPECT_FALSE(overlayParts(cover, keep, false, &parts));
    EXPECT_EQ(1000 * 800 - (400 * 300 - 100 * 100), areaOf(parts));
    EXPECT_FALSE(holds(parts, {150, 150})) << "the kept window's visible part is in colour";
    EXPECT_TRUE(holds(parts, {450, 350})) << "the window above it stays gray";
    EXPECT_TRUE(overlayParts(cover, stackOf({{WINDOW, ROLE_PLAIN}}), false, &parts)) << "no kept window: all gray";

    WindowStack gray = stackOf({{above, ROLE_PLAIN}, {{900, 700, 1200, 900}, ROLE_GRAY}, {WINDOW, ROLE_GRAY}});
    overlayParts(cover, gray, true, &parts);
    EXPECT_EQ(400 * 300 - 100 * 100 + 100 * 100, areaOf(parts)) << "visible parts only, within the cover";
    EXPECT_TRUE(holds(parts, {150, 150}) && holds(parts, {950, 750}));
    EXPECT_FALSE(holds(parts, {450, 350}) || holds(parts, {600, 500}));
}

