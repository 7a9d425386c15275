// A person writes hours into habit.txt while TALVERO runs: the period's start
// grays the screen and its end gives the colour back, each at its own second.
#include "talveroTest.h"

#include "boundedText.h"
#include "testFiles.h"

namespace {

constexpr int START_IN_SECONDS = 3;
constexpr int LASTS_SECONDS = 5;
constexpr int TOLERANCE_SECONDS = 1;   // the clock's second turns between our reading and the program's
constexpr DWORD PERIOD_DEADLINE_MS = 15000;

int secondsOfDay(const SYSTEMTIME &time)
{
    return time.wHour * 3600 + time.wMinute * 60 + time.wSecond;
}

int secondsOfDayNow()
{
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    return secondsOfDay(now);
}

std::string clockText(int seconds)
{
    char text[16];
    formatText(text, "%02d:%02d:%02d", seconds / 3600 % 24, seconds / 60 % 60, seconds % 60);
    return text;
}

}  // namespace

class HabitSchedule : public TalveroTest {};

TEST_F(HabitSchedule, APeriodWrittenInHabitTxtStartsTheScreenModeAndItsEndStopsIt)
{
    startTalvero();
    ASSERT_TRUE(waitForGray("OFF"));
    int start = secondsOfDayNow() + START_IN_SECONDS;
    int end = start + LASTS_SECONDS;
    if (end >= 24 * 3600)
        GTEST_SKIP() << "the period would cross midnight, which the host tables cover";
    std::string habit = "fade 0\r\nperiod daily " + clockText(start) + "-" + clockText(end) + " screen\r\n";
    writeWholeFile((std::string(program.workDirectory) + "\\habit.txt").c_str(), habit);

    ASSERT_TRUE(waitUntilPumping([&] { return status(1) == "Gray: ON"; }, PERIOD_DEADLINE_MS))
        << "the period did not start: " << status(1);
    EXPECT_GE(secondsOfDayNow(), start - TOLERANCE_SECONDS) << "gray before the period's start";
    EXPECT_EQ(1u, overlayWindows(program).size());
    ASSERT_TRUE(waitUntilPumping([&] { return status(1) == "Gray: OFF"; }, PERIOD_DEADLINE_MS))
        << "the period's end did not stop the gray";
    EXPECT_GE(secondsOfDayNow(), end - TOLERANCE_SECONDS) << "colour before the period's end";
    EXPECT_TRUE(waitUntil([&] { return overlayWindows(program).empty(); }, APPEAR_DEADLINE_MS));
}
