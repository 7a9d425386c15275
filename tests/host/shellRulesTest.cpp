// The main window's pure rules: status part edge, list column widths, list
// height on resize, the native word size of each processor architecture, the
// tray icon's retries and how a start meets a running copy.
#include <gtest/gtest.h>

#include "shellRules.h"

TEST(StatusPartEdge, HalfTheClientWidthTruncated)
{
    const struct {
        int32_t clientWidth;
        int32_t edge;
    } cases[] = {{400, 200}, {401, 200}, {434, 217}, {284, 142}, {1, 0}, {0, 0}};
    for (const auto &c : cases)
        EXPECT_EQ(c.edge, statusPartEdge(c.clientWidth)) << "client width " << c.clientWidth;
}

TEST(ListColumnWidths, ThreeFifthsAndTwoFifthsOfTruncatedFifths)
{
    const struct {
        int32_t listWidth;
        int16_t title, application, onOff;
    } cases[] = {
        {396, 237, 79, 79},  // 396 / 5 = 79: the fifth is truncated before tripling
        {400, 240, 80, 80},
        {430, 258, 86, 86},
        {4, 0, 0, 0},
        {0, 0, 0, 0},
    };
    for (const auto &c : cases) {
        ListColumnWidths widths = listColumnWidths(c.listWidth);
        EXPECT_EQ(c.title, widths.title) << "list width " << c.listWidth;
        EXPECT_EQ(c.application, widths.application) << "list width " << c.listWidth;
        EXPECT_EQ(c.onOff, widths.onOff) << "list width " << c.listWidth;
    }
}

TEST(CommandButtonSlot, ButtonsLeftToRightAndNothingElse)
{
    const struct {
        int32_t id;
        int32_t slot;
    } cases[] = {
        {2016, 0} /* top window into gray */, {2010, 1} /* screen */, {2008, 2} /* normal colour */,
        {2012, 3} /* notification area */,    {2014, 4} /* configure */,
        {2004, -1} /* the list */,            {2002, -1} /* the status bar */,
        {0, -1},                              {2009, -1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.slot, commandButtonSlot(c.id)) << "id " << c.id;
}

TEST(ListHeightOnSize, FillsTheBandBetweenButtonsAndStatusBar)
{
    EXPECT_EQ(461 - 0 - 22 - 75, listHeightOnSize(461, 0, 22));
    EXPECT_EQ(200 - 20 - 75, listHeightOnSize(200, 0, 20));
    // A minimised window has an empty client area: the height goes negative.
    EXPECT_EQ(-95, listHeightOnSize(0, 0, 20));
}

TEST(NativeBitsFor, SixtyFourBitArchitecturesOnly)
{
    const struct {
        uint16_t architecture;
        int32_t bits;
    } cases[] = {{0, 32} /* x86 */, {5, 32} /* ARM */, {6, 64} /* IA64 */, {7, 64} /* ALPHA64 */,
                 {9, 64} /* AMD64 */, {10, 32} /* x86 on Win64 */, {12, 32} /* ARM64 is not listed */,
                 {0xFFFF, 32} /* unknown */};
    for (const auto &c : cases)
        EXPECT_EQ(c.bits, nativeBitsFor(c.architecture)) << "architecture " << c.architecture;
}

TEST(TrayRetryStep, EverySecondForThirtySecondsThenTheWindowComesBack)
{
    const struct {
        bool added;
        uint32_t start, now;
        int32_t step;
    } cases[] = {
        {true, 5000, 90000, TRAY_ICON_IN_PLACE},   // late, but there: no window
        {false, 5000, 34999, TRAY_TRY_AGAIN},
        {false, 5000, 35000, TRAY_GIVE_UP},
        {false, 0xFFFFF000u, 0x00001000u, TRAY_TRY_AGAIN},   // the tick count wrapped 8 s in
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.step, trayRetryStep(c.added, c.start, c.now)) << "added " << c.added << " at " << c.now;
}

// The running copy's own hand-over, taken or not, is the SecondStart story.
TEST(InstanceStep, ARunningCopyGetsTheCommandEvenWhenItsMutexIsClosedToUs)
{
    const struct {
        bool made;
        uint32_t error;
        int32_t handOver;
        int32_t step;
    } cases[] = {
        {true, MUTEX_ERROR_NONE, HAND_OVER_NOT_TRIED, INSTANCE_RUN_FIRST},
        {true, MUTEX_ERROR_ALREADY_EXISTS, HAND_OVER_NOT_TAKEN, INSTANCE_RUN_FIRST},   // it is ending
        {false, MUTEX_ERROR_ACCESS_DENIED, HAND_OVER_NOT_TRIED, INSTANCE_HAND_OVER},
        {false, MUTEX_ERROR_ACCESS_DENIED, HAND_OVER_TAKEN, INSTANCE_END},
        {false, MUTEX_ERROR_ACCESS_DENIED, HAND_OVER_NOT_TAKEN, INSTANCE_TELL_AND_END},
        {false, 6 /* the name is another kind of object's */, HAND_OVER_NOT_TRIED, INSTANCE_RUN_FIRST},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.step, instanceStep(c.made, c.error, c.handOver))
            << "made " << c.made << ", error " << c.error << ", hand-over " << c.handOver;
}
