// The rules of the window in front: which windows only pass through the front,
// and which monitor a full-screen window leaves in colour.
#include <gtest/gtest.h>

#include "frontRules.h"

TEST(FrontRules, PassingWindowsByClassAndOwner)
{
    const struct {
        const char *className, *ownerClass;
        bool passing;
    } cases[] = {
        {"#32768", "", true}, {"DV2ControlHost", "", true}, {"BaseBar", "", true}, {"Shell_TrayWnd", "", true},
        {"Shell_SecondaryTrayWnd", "", true}, {"NotifyIconOverflowWindow", "", true}, {"ClockFlyoutWindow", "", true},
        {"#32771", "", true}, {"TaskSwitcherWnd", "", true}, {"IME", "", true}, {"MSCTFIME UI", "", true},
        {"tooltips_class32", "", true}, {"Button", "Shell_TrayWnd", true},   // the Vista/7 Start button
        {"Button", "", false}, {"Button", "Notepad", false}, {"Notepad", "", false}, {"#32770", "", false},
        {"ime", "", false}, {"Progman", "", false}, {"", "", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.passing, isPassingFront(c.className, c.ownerClass)) << c.className << " / " << c.ownerClass;
}

TEST(FrontRules, FullScreenMonitor)
{
    // A 1024x768 primary and an 800x600 monitor left of it.
    MonitorLayout layout = {};
    layout.count = 2;
    layout.monitors[0] = {0, 0, 1024, 768};
    layout.monitors[1] = {-800, 0, 0, 600};
    const ScreenRect primary = layout.monitors[0];
    const struct {
        const char *className;
        bool shows, ours, captioned;
        ScreenRect rect;
        int32_t monitor;
    } cases[] = {
        {"Film", true, false, false, primary, 0},
        {"Film", true, false, false, {-8, -8, 1032, 776}, 0},      // larger than its monitor
        {"Film", true, false, false, {-800, 0, 1024, 768}, 0},     // over both: its own is the larger overlap
        {"Film", true, false, false, {-100, 0, 1024, 767}, -1},    // one row short
        {"Film", true, false, false, {-900, 0, 100, 600}, 1},      // the left monitor and a strip of the primary
        {"Film", true, false, false, {-900, 0, 1024, 600}, -1},    // more of the primary, which it does not fill
        {"Film", false, false, false, primary, -1}, {"Film", true, true, false, primary, -1},   // hidden; our overlay
        {"Notepad", true, false, true, {-8, -8, 1032, 776}, -1},   // maximised with a title bar
        {"Progman", true, false, false, primary, -1}, {"Shell_TrayWnd", true, false, false, primary, -1},
    };
    for (const auto &c : cases) {
        FrontFacts front = {c.className, "", c.shows, c.ours, c.captioned, c.rect};
        EXPECT_EQ(c.monitor, fullScreenMonitor(layout, front)) << "case " << &c - cases;
    }
}
