// Where the capture loops put the overlay (and, in the window modes, the target
// and the foreground window) in the z-order: the first and second topmost
// decisions of the screen loop and of the window loops, by tables and stories.
#include <gtest/gtest.h>

#include <vector>

#include "captureRules.h"

namespace {

WindowId id(uintptr_t value) { return reinterpret_cast<WindowId>(value); }

const WindowId OVERLAY = id(1);
const WindowId TARGET = id(2);
const WindowId OTHER = id(3);
const WindowId TASKBAR = id(4);
const WindowId NONE = nullptr;

const ScreenRect WORK_AREA = {0, 0, 1920, 1040};
const ScreenPoint INSIDE = {800, 500};
const ScreenPoint LEFT_EDGE = {0, 500};
const ScreenPoint RIGHT_EDGE = {1920, 500};
const ScreenPoint TOP_EDGE = {800, 0};
const ScreenPoint BOTTOM_EDGE = {800, 1040};
const ScreenPoint ON_TASKBAR = {800, 1060};
const ScreenPoint LEFT_OF_SCREEN = {-1, 500};

using Moves = std::vector<ZOrderMove>;

Moves movesOf(const ZOrderMoves &moves) { return Moves(moves.moves, moves.moves + moves.count); }

ZOrderInput frame(ScreenPoint cursor, WindowId fg, WindowId lastFg, const char *fgClass, WindowId top,
                  const char *topClass, int32_t overlayOnTop)
{
    ZOrderInput in{};
    in.cursor = cursor;
    in.workArea = WORK_AREA;
    in.foreground = fg;
    in.lastForeground = lastFg;
    in.target = TARGET;
    in.overlay = OVERLAY;
    in.topWindow = top;
    in.overlayOnTop = overlayOnTop;
    in.foregroundClass = fgClass;
    in.topClass = topClass;
    return in;
}

using Decision = void (*)(const ZOrderInput &, ZOrderState *, ZOrderMoves *);

struct FirstCase {
    const char *story;
    ScreenPoint cursor;
    WindowId fg;
    WindowId lastFg;
    const char *fgClass;
    const char *topClass;
    int32_t loweredBefore;
    Moves expected;
    int32_t loweredAfter;
};

void runFirst(Decision decide, const FirstCase &c)
{
    ZOrderInput in = frame(c.cursor, c.fg, c.lastFg, c.fgClass, OTHER, c.topClass, 0);
    ZOrderState state{c.loweredBefore, 7};
    ZOrderMoves moves{};
    decide(in, &state, &moves);
    EXPECT_EQ(c.expected, movesOf(moves)) << c.story;
    EXPECT_EQ(c.loweredAfter, state.overlayLowered) << c.story;
    EXPECT_EQ(7, state.raiseCounter) << c.story;   // the first decision never counts
}

const ZOrderMove RAISE = MOVE_RAISE_OVERLAY;
const ZOrderMove LOWER = MOVE_LOWER_OVERLAY;
const ZOrderMove REFRESH = MOVE_REFRESH_OVERLAY;
const ZOrderMove TARGET_TOP = MOVE_TARGET_TO_TOP;
const ZOrderMove TARGET_UNDER = MOVE_TARGET_UNDER_OVERLAY;
const ZOrderMove FG_TOP = MOVE_FOREGROUND_TO_TOP;

TEST(CaptureZOrder, ScreenFirstDecision)
{
    const FirstCase cases[] = {
        {"outside, new foreground: lower then raise", ON_TASKBAR, OTHER, TARGET, "Notepad", "Notepad", 0, {LOWER, RAISE}, 1},
        {"outside, same foreground: lower only", ON_TASKBAR, OTHER, OTHER, "Notepad", "Notepad", 0, {LOWER}, 1},
        {"outside, taskbar in front: lower only", ON_TASKBAR, TASKBAR, OTHER, "Shell_TrayWnd", "Notepad", 0, {LOWER}, 1},
        {"outside, thumbnail on top: lower only", ON_TASKBAR, OTHER, TARGET, "Notepad", "TaskListThumbnailWnd", 0, {LOWER}, 1},
        {"outside while lowered, new foreground", ON_TASKBAR, OTHER, TARGET, "Notepad", "Notepad", 1, {LOWER, RAISE}, 1},
        {"left of the screen is outside", LEFT_OF_SCREEN, OTHER, OTHER, "Notepad", "Notepad", 0, {LOWER}, 1},
        {"inside, lowered: raise", INSIDE, OTHER, OTHER, "Notepad", "Notepad", 1, {RAISE}, 0},
        {"inside, lowered, shell: stay lowered", INSIDE, TASKBAR, OTHER, "Shell_TrayWnd", "Notepad", 1, {}, 1},
        {"inside, not lowered: nothing", INSIDE, OTHER, TARGET, "Notepad", "Notepad", 0, {}, 0},
        {"left edge counts as inside", LEFT_EDGE, OTHER, OTHER, "Notepad", "Notepad", 1, {RAISE}, 0},
        {"right edge counts as inside", RIGHT_EDGE, OTHER, OTHER, "Notepad", "Notepad", 1, {RAISE}, 0},
        {"top edge counts as inside", TOP_EDGE, OTHER, OTHER, "Notepad", "Notepad", 0, {}, 0},
        {"bottom edge counts as inside", BOTTOM_EDGE, OTHER, OTHER, "Notepad", "Notepad", 0, {}, 0},
    };
    for (const FirstCase &c : cases)
        runFirst(screenFirstDecision, c);
}

TEST(CaptureZOrder, WindowFirstDecision)
{
    const FirstCase cases[] = {
        {"outside, new foreground is the target", ON_TASKBAR, TARGET, OTHER, "Notepad", "Notepad", 0,
         {LOWER, LOWER, RAISE, TARGET_TOP, LOWER}, 1},
        {"outside, new foreground is the overlay", ON_TASKBAR, OVERLAY, OTHER, "TALVERO", "Notepad", 0,
         {LOWER, LOWER, RAISE, TARGET_TOP, LOWER}, 1},
        {"outside, new foreground is another window", ON_TASKBAR, OTHER, TARGET, "Notepad", "Notepad", 0,
         {LOWER, LOWER}, 1},
        {"outside, same foreground", ON_TASKBAR, TARGET, TARGET, "Notepad", "Notepad", 0, {LOWER}, 1},
        {"outside, taskbar in front", ON_TASKBAR, TASKBAR, TARGET, "Shell_TrayWnd", "Notepad", 0, {LOWER}, 1},
        {"inside, lowered, target in front", INSIDE, TARGET, TARGET, "Notepad", "Notepad", 1, {RAISE, TARGET_TOP}, 0},
        {"inside, lowered, another in front", INSIDE, OTHER, OTHER, "Notepad", "Notepad", 1, {}, 0},
        {"inside, lowered, shell case", INSIDE, TARGET, TARGET, "Notepad", "TaskListThumbnailWnd", 1, {}, 1},
        {"inside, not lowered", INSIDE, TARGET, OTHER, "Notepad", "Notepad", 0, {}, 0},
        {"left edge counts as inside", LEFT_EDGE, TARGET, TARGET, "Notepad", "Notepad", 1, {RAISE, TARGET_TOP}, 0},
    };
    for (const FirstCase &c : cases)
        runFirst(windowFirstDecision, c);
}

struct SecondCase {
    const char *story;
    ScreenPoint cursor;
    WindowId fg;
    const char *fgClass;
    WindowId top;
    const char *topClass;
    int32_t overlayOnTop;
    int32_t counterBefore;
    Moves expected;
    int32_t counterAfter;
};

void runSecond(Decision decide, const SecondCase &c)
{
    ZOrderInput in = frame(c.cursor, c.fg, NONE, c.fgClass, c.top, c.topClass, c.overlayOnTop);
    ZOrderState state{0, c.counterBefore};
    ZOrderMoves moves{};
    decide(in, &state, &moves);
    EXPECT_EQ(c.expected, movesOf(moves)) << c.story;
    EXPECT_EQ(c.counterAfter, state.raiseCounter) << c.story;
    EXPECT_EQ(0, state.overlayLowered) << c.story;
}

TEST(CaptureZOrder, ScreenSecondDecision)
{
    const SecondCase cases[] = {
        {"fg on top, overlay above it: count", INSIDE, OTHER, "Notepad", OTHER, "Notepad", 1, 0, {}, 1},
        {"fg on top, overlay not above: refresh", INSIDE, OTHER, "Notepad", OTHER, "Notepad", 0, 4, {REFRESH}, 0},
        {"fg on top, 30th frame: refresh", INSIDE, OTHER, "Notepad", OTHER, "Notepad", 1, 29, {REFRESH}, 0},
        {"fg on top, 31st frame after a refresh", INSIDE, OTHER, "Notepad", OTHER, "Notepad", 1, 30, {}, 31},
        {"fg on top, 60th frame: refresh", INSIDE, OTHER, "Notepad", OTHER, "Notepad", 1, 59, {REFRESH}, 0},
        {"thumbnail on top and in front: lower", INSIDE, OTHER, "TaskListThumbnailWnd", OTHER, "TaskListThumbnailWnd", 0, 29,
         {LOWER}, 30},
        {"another window on top: lower", INSIDE, OTHER, "Notepad", TASKBAR, "Notepad", 1, 3, {LOWER}, 3},
        {"overlay in front: nothing", INSIDE, OVERLAY, "TALVERO", OTHER, "Notepad", 1, 3, {}, 3},
        {"no top window: lower", INSIDE, OTHER, "Notepad", NONE, "", 1, 3, {LOWER}, 3},
        {"no window in front (changing hands): nothing", INSIDE, NONE, "", OTHER, "Notepad", 1, 3, {}, 3},
        {"left edge is not strictly inside", LEFT_EDGE, OTHER, "Notepad", OTHER, "Notepad", 0, 3, {}, 3},
        {"top edge is not strictly inside", TOP_EDGE, OTHER, "Notepad", TASKBAR, "Notepad", 0, 3, {}, 3},
        {"outside: nothing", ON_TASKBAR, OTHER, "Notepad", TASKBAR, "Notepad", 0, 3, {}, 3},
    };
    for (const SecondCase &c : cases)
        runSecond(screenSecondDecision, c);
}

TEST(CaptureZOrder, WindowSecondDecision)
{
    const SecondCase cases[] = {
        {"target in front and on top, overlay above", INSIDE, TARGET, "Notepad", TARGET, "Notepad", 1, 0, {}, 1},
        {"target in front and on top, overlay below", INSIDE, TARGET, "Notepad", TARGET, "Notepad", 0, 0, {REFRESH}, 0},
        {"target on top, 30th frame", INSIDE, TARGET, "Notepad", TARGET, "Notepad", 1, 29, {REFRESH}, 0},
        {"target is a thumbnail on top", INSIDE, TARGET, "TaskListThumbnailWnd", TARGET, "TaskListThumbnailWnd", 0, 0,
         {LOWER}, 1},
        {"target in front, another on top", INSIDE, TARGET, "Notepad", OTHER, "Notepad", 1, 5, {LOWER}, 5},
        {"target in front, another on top, pair", INSIDE, TARGET, "Notepad", OTHER, "tooltips_class32", 1, 5, {LOWER}, 5},
        {"overlay in front, another on top", INSIDE, OVERLAY, "TALVERO", OTHER, "Notepad", 1, 5, {}, 5},
        {"another in front and on top, no pair", INSIDE, OTHER, "Notepad", OTHER, "Notepad", 1, 5,
         {LOWER, FG_TOP, TARGET_UNDER}, 5},
        {"another in front, a pop-up on top (pair)", INSIDE, OTHER, "Notepad", TASKBAR, "tooltips_class32", 1, 5,
         {LOWER}, 5},
        {"a dialog in front (pair), another on top", INSIDE, OTHER, "#32770", TASKBAR, "Notepad", 1, 5, {LOWER}, 5},
        {"Chrome in front and on top (pair)", INSIDE, OTHER, "Chrome_WidgetWin_1", OTHER, "Chrome_WidgetWin_1", 1, 5,
         {LOWER, FG_TOP}, 5},
        {"another in front, a third on top", INSIDE, OTHER, "Notepad", TASKBAR, "Notepad", 1, 5, {LOWER, TARGET_UNDER}, 5},
        {"left edge is not strictly inside", LEFT_EDGE, OTHER, "Notepad", OTHER, "Notepad", 1, 5, {}, 5},
    };
    for (const SecondCase &c : cases)
        runSecond(windowSecondDecision, c);
}

// Frames in a row of the screen loop, each with both decisions.
struct StoryFrame {
    ScreenPoint cursor;
    WindowId fg;
    const char *fgClass;
    Moves expected;
    int32_t loweredAfter;
};

TEST(CaptureZOrder, ScreenStoryTaskbarInFrontThenBack)
{
    const StoryFrame story[] = {
        {ON_TASKBAR, TASKBAR, "Shell_TrayWnd", {LOWER}, 1},
        {ON_TASKBAR, TASKBAR, "Shell_TrayWnd", {LOWER}, 1},
        {INSIDE, TASKBAR, "Shell_TrayWnd", {LOWER}, 1},   // still the shell: stays low
        {INSIDE, OTHER, "Notepad", {RAISE, LOWER}, 0},    // back: raised, then lowered under another top window
        {INSIDE, OTHER, "Notepad", {LOWER}, 0},
    };
    ZOrderState state{};
    WindowId lastFg = OTHER;
    int frameNumber = 0;
    for (const StoryFrame &f : story) {
        ZOrderInput in = frame(f.cursor, f.fg, lastFg, f.fgClass, TARGET, "Notepad", 0);
        in.target = nullptr;
        ZOrderMoves moves{};
        screenFirstDecision(in, &state, &moves);
        screenSecondDecision(in, &state, &moves);
        EXPECT_EQ(f.expected, movesOf(moves)) << "frame " << frameNumber;
        EXPECT_EQ(f.loweredAfter, state.overlayLowered) << "frame " << frameNumber;
        lastFg = f.fg;
        frameNumber++;
    }
}

TEST(CaptureZOrder, RefreshEveryThirtiethFrameWithTheForegroundOnTop)
{
    ZOrderState state{};
    std::vector<int> refreshed;
    for (int frameNumber = 1; frameNumber <= 95; frameNumber++) {
        ZOrderInput in = frame(INSIDE, OTHER, OTHER, "Notepad", OTHER, "Notepad", 1);
        ZOrderMoves moves{};
        screenSecondDecision(in, &state, &moves);
        if (movesOf(moves) == Moves{REFRESH})
            refreshed.push_back(frameNumber);
        else
            EXPECT_EQ(Moves{}, movesOf(moves)) << "frame " << frameNumber;
    }
    EXPECT_EQ((std::vector<int>{30, 60, 90}), refreshed);
}

TEST(CaptureZOrder, MovesAreBounded)
{
    ZOrderMoves moves{};
    ZOrderState state{};
    ZOrderInput in = frame(ON_TASKBAR, TARGET, OTHER, "Notepad", TARGET, "Notepad", 0);
    for (int i = 0; i < 5; i++)
        windowFirstDecision(in, &state, &moves);
    EXPECT_EQ(MAX_ZORDER_MOVES, moves.count);
}

}  // namespace
