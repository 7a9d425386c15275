// Focus mode's hole: the window in front, clipped to the overlay, in the
// overlay's coordinates; none for a window that does not show or lies outside.
#include <gtest/gtest.h>

#include "captureRules.h"

TEST(FocusHoleFor, TheForegroundRectangleClippedIntoOverlayCoordinates)
{
    const ScreenRect overlay = {0, 0, 1280, 770};
    const ScreenRect shifted = {100, 50, 1380, 820};   // a work area below a top taskbar, say
    const struct {
        ScreenRect overlay;
        ScreenRect foreground;
        bool shows;
        FocusHole hole;
    } cases[] = {
        {overlay, {10, 10, 460, 510}, true, {1, {10, 10, 460, 510}}},
        {shifted, {110, 60, 460, 510}, true, {1, {10, 10, 360, 460}}},
        {overlay, {-8, -8, 1288, 778}, true, {1, {0, 0, 1280, 770}}},     // maximised, frame off screen
        {overlay, {1200, 700, 1600, 900}, true, {1, {1200, 700, 1280, 770}}},
        {overlay, {10, 10, 460, 510}, false, {0, {}}},                     // minimised or none
        {overlay, {-32000, -32000, -31840, -31970}, true, {0, {}}},        // parked off screen
        {overlay, {1280, 0, 1400, 100}, true, {0, {}}},                    // touching the edge only
        {overlay, {50, 50, 50, 90}, true, {0, {}}},                        // empty
        {{-1280, 0, 1920, 1080}, {-200, 100, 300, 400}, true, {1, {1080, 100, 1580, 400}}},   // across two monitors
    };
    for (const auto &c : cases) {
        FocusHole hole = focusHoleFor(c.overlay, c.foreground, c.shows);
        EXPECT_TRUE(sameFocusHole(c.hole, hole))
            << "foreground (" << c.foreground.left << ", " << c.foreground.top << ")-(" << c.foreground.right << ", "
            << c.foreground.bottom << "): present " << hole.present << " at (" << hole.rect.left << ", "
            << hole.rect.top << ")-(" << hole.rect.right << ", " << hole.rect.bottom << ")";
    }
}

TEST(SameFocusHole, AbsentHolesAreEqualWhateverTheirRectangles)
{
    EXPECT_TRUE(sameFocusHole({0, {1, 2, 3, 4}}, {0, {5, 6, 7, 8}}));
    EXPECT_FALSE(sameFocusHole({0, {}}, {1, {0, 0, 10, 10}}));
    EXPECT_FALSE(sameFocusHole({1, {0, 0, 10, 10}}, {1, {0, 0, 10, 11}}));
    EXPECT_TRUE(sameFocusHole({1, {0, 0, 10, 10}}, {1, {0, 0, 10, 10}}));
}
