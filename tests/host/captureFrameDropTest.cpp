// Whether a window frame is presented or dropped, from what its two scans saw:
// the foreground window and the number of counted windows.
#include <gtest/gtest.h>

#include "captureRules.h"

namespace {

WindowId id(uintptr_t value) { return reinterpret_cast<WindowId>(value); }

const WindowId EDITOR = id(0x10);
const WindowId BROWSER = id(0x20);
const WindowId OVERLAY = id(0x30);
const WindowId NONE = nullptr;

TEST(CaptureFrameDrop, DroppedWhenTheWindowsChangedBetweenTheScans)
{
    const struct {
        const char *story;
        WindowsSeen first;
        WindowsSeen second;
        FrameFate fate;
    } cases[] = {
        {"nothing changed", {EDITOR, 12}, {EDITOR, 12}, FRAME_PRESENT},
        {"the user switched windows", {EDITOR, 12}, {BROWSER, 12}, FRAME_DROP},
        {"a window opened", {EDITOR, 12}, {EDITOR, 13}, FRAME_DROP},
        {"a window closed", {EDITOR, 12}, {EDITOR, 11}, FRAME_DROP},
        {"a switch to a new window", {EDITOR, 12}, {BROWSER, 13}, FRAME_DROP},
        {"the foreground window went away", {EDITOR, 12}, {NONE, 12}, FRAME_DROP},
        {"a foreground window came", {NONE, 12}, {EDITOR, 12}, FRAME_DROP},
        {"no foreground window in either scan", {NONE, 12}, {NONE, 12}, FRAME_PRESENT},
        // Foreground mode with its overlay in front takes the window below it as the
        // frame's foreground; the second look still sees the overlay: dropped.
        {"the overlay in front, the window below it taken", {EDITOR, 5}, {OVERLAY, 5}, FRAME_DROP},
        {"an empty z-order", {EDITOR, 0}, {EDITOR, 0}, FRAME_PRESENT},
        {"the count went to zero", {EDITOR, 1}, {EDITOR, 0}, FRAME_DROP},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.fate, windowFrameFate(c.first, c.second)) << c.story;
}

}  // namespace
