// The monitor rules: what the screen overlays cover on a desk of one or more
// monitors, and which work area the loops' cursor decisions use.
#include <gtest/gtest.h>

#include <cstring>

#include "monitorRules.h"

namespace {

// The two-monitor test world: a 1280x1024 monitor left of a 1920x1080 primary,
// so at negative coordinates, with a gap below it.
const ScreenRect PRIMARY = {0, 0, 1920, 1080};
const ScreenRect LEFT = {-1280, 0, 0, 1024};

MonitorLayout layoutOf(std::initializer_list<std::pair<ScreenRect, ScreenRect>> monitors)
{
    MonitorLayout layout = {};
    for (const auto &monitor : monitors) {
        layout.monitors[layout.count] = monitor.first;
        layout.workAreas[layout.count] = monitor.second;
        snprintf(layout.names[layout.count], MONITOR_NAME_BYTES, "\\\\.\\DISPLAY%d", layout.count + 1);
        layout.count++;
    }
    return layout;
}

}  // namespace

TEST(CoverAllMonitors, OneMonitorIsItsWorkAreaSeveralTheVirtualScreenWithARegionWhereTheyLeaveGaps)
{
    const ScreenRect taskbarless = {0, 0, 1920, 1040};
    const struct {
        const char *desk;
        MonitorLayout layout;
        ScreenRect place;
        bool needsRegion;
    } cases[] = {
        {"one monitor, taskbar below", layoutOf({{PRIMARY, taskbarless}}), taskbarless, false},
        {"left monitor, gap below it", layoutOf({{PRIMARY, PRIMARY}, {LEFT, LEFT}}), {-1280, 0, 1920, 1080}, true},
        {"two alike, no taskbar", layoutOf({{PRIMARY, PRIMARY}, {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}}}),
         {0, 0, 3840, 1080}, false},
        {"two alike, taskbar on one", layoutOf({{PRIMARY, taskbarless}, {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}}}),
         {0, 0, 3840, 1080}, true},
        {"above the primary", layoutOf({{PRIMARY, PRIMARY}, {{0, -768, 1024, 0}, {0, -768, 1024, 0}}}),
         {0, -768, 1920, 1080}, true},
    };
    for (const auto &c : cases) {
        OverlayCover cover = coverAllMonitors(c.layout);
        EXPECT_TRUE(sameRect(c.place, cover.place)) << c.desk;
        EXPECT_EQ(c.needsRegion, cover.needsRegion) << c.desk;
        ASSERT_EQ(c.layout.count, cover.partCount) << c.desk;
        for (int32_t i = 0; i < cover.partCount; i++)
            EXPECT_TRUE(sameRect(c.layout.workAreas[i], cover.parts[i])) << c.desk << ", part " << i;
    }
}

TEST(WorkAreaUnderPoint, TheMonitorUnderTheCursorDecidesWhetherItIsInside)
{
    const ScreenRect leftWork = {-1280, 0, 0, 984};   // a taskbar along the left monitor's foot
    MonitorLayout layout = layoutOf({{PRIMARY, PRIMARY}, {LEFT, leftWork}});
    const struct {
        ScreenPoint cursor;
        int32_t monitor;
        bool inside;
    } cases[] = {
        {{500, 500}, 0, true},     {{0, 10}, 0, true},      {{-1, 10}, 1, true},
        {{-640, 500}, 1, true},    {{-640, 1000}, 1, false},  // on the left monitor's taskbar
        {{-100, 1050}, 1, false},  // in the gap below it: the nearest monitor
        {{-1000, 1079}, 1, false}, {{1919, 1079}, 0, true},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.monitor, monitorUnderPoint(layout, c.cursor)) << c.cursor.x << ", " << c.cursor.y;
        EXPECT_EQ(c.inside, pointInsideOrOnEdge(workAreaUnderPoint(layout, c.cursor), c.cursor))
            << c.cursor.x << ", " << c.cursor.y;
    }
    EXPECT_EQ(-1, monitorUnderPoint(MonitorLayout{}, {0, 0}));
}

TEST(CoverOneMonitor, FollowsItsMonitorByNameUntilItIsGone)
{
    MonitorLayout before = layoutOf({{PRIMARY, PRIMARY}, {LEFT, LEFT}});
    MonitorLayout moved = layoutOf({{PRIMARY, PRIMARY}, {{1920, 0, 3200, 1024}, {1920, 0, 3200, 1024}}});
    MonitorLayout alone = layoutOf({{PRIMARY, PRIMARY}});
    EXPECT_FALSE(sameLayout(before, moved));
    EXPECT_TRUE(sameLayout(before, layoutOf({{PRIMARY, PRIMARY}, {LEFT, LEFT}})));

    OverlayCover cover = coverOneMonitor(moved, monitorNamed(moved, before.names[1]));
    EXPECT_TRUE(sameRect(moved.workAreas[1], cover.place));
    EXPECT_FALSE(cover.needsRegion);
    EXPECT_EQ(-1, monitorNamed(alone, before.names[1]));
    EXPECT_EQ(0, coverOneMonitor(alone, -1).partCount);
}
