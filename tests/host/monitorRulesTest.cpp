// The monitor rules: what the screen overlays cover on a desk of one or more
// monitors, and which work area the loops' cursor decisions use.
#include <gtest/gtest.h>

#include <cstdio>

#include "monitorRules.h"

namespace {

// The two-monitor test world: a 1280x1024 monitor left of a 1920x1080 primary,
// so at negative coordinates, with a gap below it.
const ScreenRect PRIMARY = {0, 0, 1920, 1080};
const ScreenRect LEFT = {-1280, 0, 0, 1024};
const ScreenRect RIGHT = {1920, 0, 3840, 1080};
const ScreenRect TASKBARLESS = {0, 0, 1920, 1040};   // the primary above its taskbar

// Monitors as (monitor, work area) pairs, named "\\.\DISPLAY1" on.
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
    const struct {
        MonitorLayout layout;
        ScreenRect place;
        bool needsRegion;
    } cases[] = {
        {layoutOf({{PRIMARY, TASKBARLESS}}), TASKBARLESS, false},
        {layoutOf({{PRIMARY, PRIMARY}, {LEFT, LEFT}}), {-1280, 0, 1920, 1080}, true},   // the gap below LEFT
        {layoutOf({{PRIMARY, PRIMARY}, {RIGHT, RIGHT}}), {0, 0, 3840, 1080}, false},
        {layoutOf({{PRIMARY, TASKBARLESS}, {RIGHT, RIGHT}}), {0, 0, 3840, 1080}, true},
    };
    for (const auto &c : cases) {
        OverlayCover cover = coverAllMonitors(c.layout);
        EXPECT_TRUE(sameRect(c.place, cover.place) && c.needsRegion == cover.needsRegion) << c.layout.count;
        ASSERT_EQ(c.layout.count, cover.partCount);
        for (int32_t i = 0; i < cover.partCount; i++)
            EXPECT_TRUE(sameRect(c.layout.workAreas[i], cover.parts[i])) << "part " << i;
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
        {{500, 500}, 0, true},    {{0, 10}, 0, true},        {{-1, 10}, 1, true},      {{1919, 1079}, 0, true},
        {{-640, 1000}, 1, false},   // on the left monitor's taskbar
        {{-100, 1050}, 1, false},   // in the gap below it: the nearest monitor's
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.monitor, monitorUnderPoint(layout, c.cursor)) << c.cursor.x << ", " << c.cursor.y;
        EXPECT_EQ(c.inside, pointInsideOrOnEdge(workAreaUnderPoint(layout, c.cursor), c.cursor))
            << c.cursor.x << ", " << c.cursor.y;
    }
}

TEST(CoverOneMonitor, FollowsItsMonitorByNameUntilItIsGone)
{
    MonitorLayout moved = layoutOf({{PRIMARY, PRIMARY}, {RIGHT, RIGHT}});
    EXPECT_TRUE(sameRect(RIGHT, coverOneMonitor(moved, monitorNamed(moved, "\\\\.\\DISPLAY2")).place));
    MonitorLayout alone = layoutOf({{PRIMARY, PRIMARY}});
    EXPECT_EQ(-1, monitorNamed(alone, "\\\\.\\DISPLAY2"));
    EXPECT_EQ(0, coverOneMonitor(alone, -1).partCount);
    EXPECT_FALSE(sameLayout(moved, layoutOf({{PRIMARY, PRIMARY}, {LEFT, LEFT}})));
}
