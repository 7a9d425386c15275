// The schedule over a local clock: which period runs, the next change, and a
// program that follows the steps second by second through midnight, sleep,
// daylight saving, a person's choices and snoozes; the fade's shares.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <tuple>

#include "habitRules.h"

namespace {

// Local times as seconds of a calendar with no zone (the C library's UTC one),
// which the program's clock is tested against.
time_t when(int year, int month, int day, int hour, int minute, int second = 0)
{
    tm t = {};
    t.tm_year = year - 1900, t.tm_mon = month - 1, t.tm_mday = day;
    t.tm_hour = hour, t.tm_min = minute, t.tm_sec = second;
    return timegm(&t);
}

// Mon 7 December 2026 ... Sun 13 December.
time_t dec(int day, int hour, int minute, int second = 0)
{
    return when(2026, 12, day, hour, minute, second);
}

LocalClock clockOf(time_t seconds)
{
    tm t = {};
    gmtime_r(&seconds, &t);
    return LocalClock{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_wday, t.tm_hour, t.tm_min, t.tm_sec};
}

HabitSettings settingsOf(const std::string &text)
{
    HabitReading read;
    readHabitText(text.data(), text.size(), &read);
    EXPECT_EQ(0, read.skippedLines) << text;
    return read.settings;
}

// What talvero.exe does with the steps: it runs the mode it is told to.
struct Program {
    HabitSettings settings;
    HabitState state;
    time_t now;
    int32_t running;
    int32_t starts;
    int32_t stops;
    time_t startedAt;
    bool faded;
};

Program programAt(const std::string &habitText, time_t now)
{
    return Program{settingsOf(habitText), HabitState{}, now, HABIT_MODE_NONE, 0, 0, 0, false};
}

void step(Program *program)
{
    HabitDecision decision = habitStep(program->settings, &program->state, clockOf(program->now), program->running);
    if (decision.action == HABIT_START) {
        program->running = decision.mode;
        program->starts++;
        program->startedAt = program->now;
        program->faded = decision.fade;
    } else if (decision.action == HABIT_STOP) {
        EXPECT_EQ(program->running, decision.mode);
        program->running = HABIT_MODE_NONE;
        program->stops++;
    }
}

// A step every second up to a moment.
void runTo(Program *program, time_t until)
{
    while (program->now < until) {
        program->now++;
        step(program);
    }
}

// The next step at a moment that does not follow: after sleep, or a clock moved.
void jumpTo(Program *program, time_t to)
{
    program->now = to;
    step(program);
}

void byHand(Program *program, int32_t mode)
{
    program->running = mode;
    habitHandChoice(&program->state);
}

}  // namespace

TEST(LocalSeconds, CountOnThroughMonthsYearsAndLeapDays)
{
    for (time_t t = when(2024, 1, 1, 0, 0); t < when(2033, 1, 1, 0, 0); t += SECONDS_PER_DAY - 1)
        ASSERT_EQ(t, localSeconds(clockOf(t))) << t;
}

TEST(ActiveHabitPeriod, DaysAndPeriodsAcrossMidnight)
{
    const struct {
        const char *text;
        time_t now;
        int32_t mode;
    } cases[] = {
        {"period Fri 22:00-02:00 focus\n", dec(11, 23, 0), HABIT_MODE_FOCUS},
        {"period Fri 22:00-02:00 focus\n", dec(12, 1, 59, 59), HABIT_MODE_FOCUS},   // Saturday: Friday's period
        {"period Fri 22:00-02:00 focus\n", dec(12, 2, 0), HABIT_MODE_NONE},
        {"period Fri 22:00-02:00 focus\n", dec(11, 21, 59, 59), HABIT_MODE_NONE},
        {"period Fri 22:00-02:00 focus\n", dec(11, 1, 0), HABIT_MODE_NONE},        // Thursday had none
        {"period Mon-Fri 09:00-17:00\n", dec(11, 16, 59, 59), HABIT_MODE_SCREEN},
        {"period Fri-Mon 12:00-13:00 rules\n", dec(13, 12, 30), HABIT_MODE_RULES},
        {"period Fri-Mon 12:00-13:00 rules\n", dec(8, 12, 30), HABIT_MODE_NONE},
        {"period Sat 00:00-24:00 monitor\n", dec(12, 23, 59, 59), HABIT_MODE_MONITOR},
        {"period Sat 00:00-24:00 monitor\n", dec(13, 0, 0), HABIT_MODE_NONE},
        {"period daily 20:00-23:00\nperiod daily 21:00-22:00 focus\n", dec(9, 21, 30), HABIT_MODE_FOCUS},
        {"period daily 20:00-23:00\nperiod daily 21:00-22:00 focus\n", dec(9, 22, 30), HABIT_MODE_SCREEN},
        {"period daily 21:00-22:00 focus\nperiod daily 21:00-23:00 rules\n", dec(9, 21, 30), HABIT_MODE_FOCUS},
        {"period Thu 23:00-01:00\n", when(2027, 1, 1, 0, 30), HABIT_MODE_SCREEN},   // into a new year
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.mode, activeHabitPeriod(settingsOf(c.text), clockOf(c.now)).mode) << c.text << " " << c.now;
}

TEST(NextHabitChange, TheNextMomentTheScheduleWantsSomethingElse)
{
    const struct {
        const char *text;
        time_t now;
        bool found;
        time_t at;
        int32_t mode;
    } cases[] = {
        {"period Mon-Fri 22:00-07:00\n", dec(7, 12, 0), true, dec(7, 22, 0), HABIT_MODE_SCREEN},
        {"period Mon-Fri 22:00-07:00\n", dec(7, 22, 0), true, dec(8, 7, 0), HABIT_MODE_NONE},
        {"period Mon-Fri 22:00-07:00\n", dec(12, 8, 0), true, dec(14, 22, 0), HABIT_MODE_SCREEN},
        {"period Mon 10:00-11:00\n", dec(7, 11, 0), true, dec(14, 10, 0), HABIT_MODE_SCREEN},
        {"period daily 20:00-23:00\nperiod daily 21:00-22:00 focus\n", dec(9, 21, 30), true, dec(9, 22, 0),
         HABIT_MODE_SCREEN},
        {"period daily 00:00-24:00\n", dec(9, 21, 30), false, 0, 0},   // one period after another: no change
        {"", dec(9, 21, 30), false, 0, 0},
    };
    for (const auto &c : cases) {
        HabitChange change = nextHabitChange(settingsOf(c.text), clockOf(c.now));
        int64_t at = c.found ? localSeconds(clockOf(c.at)) : change.at;
        EXPECT_EQ(std::make_tuple(c.found, at, c.found ? c.mode : change.mode),
                  std::make_tuple(change.found, change.at, change.mode)) << c.text << " " << c.now;
    }
}

TEST(HabitStep, APeriodAcrossMidnightFadesInAtItsStartAndStopsAtItsEnd)
{
    Program program = programAt("period Fri 22:00-02:00 focus\n", dec(11, 21, 59, 50));
    step(&program);
    runTo(&program, dec(12, 1, 59, 59));
    EXPECT_EQ(HABIT_MODE_FOCUS, program.running);
    EXPECT_EQ(dec(11, 22, 0), program.startedAt);
    EXPECT_TRUE(program.faded);
    runTo(&program, dec(12, 2, 0));
    EXPECT_EQ(HABIT_MODE_NONE, program.running);
    EXPECT_EQ(1, program.starts);
    EXPECT_EQ(1, program.stops);
}

TEST(HabitStep, APersonsChoiceHoldsUntilTheNextPeriod)
{
    const char *text = "period daily 22:00-23:00\nperiod daily 23:00-23:30 monitor\n";
    Program stopped = programAt(text, dec(9, 22, 10));
    step(&stopped);
    byHand(&stopped, HABIT_MODE_NONE);
    runTo(&stopped, dec(9, 22, 59, 59));
    EXPECT_EQ(HABIT_MODE_NONE, stopped.running);
    runTo(&stopped, dec(9, 23, 0));
    EXPECT_EQ(HABIT_MODE_MONITOR, stopped.running);

    for (int32_t mode : {HABIT_MODE_SCREEN, HABIT_MODE_RULES}) {   // the period's own mode, another
        Program changed = programAt("period daily 22:00-23:00\n", dec(9, 22, 10));
        step(&changed);
        byHand(&changed, mode);
        runTo(&changed, dec(9, 23, 5));
        EXPECT_EQ(mode, changed.running);   // the period's end leaves the person's mode alone
    }
}

TEST(HabitStep, AfterSleepTheClockSaysWhatRuns)
{
    const struct {
        time_t sleeps, wakes;
        bool handStop;       // the person stopped gray before the machine slept
        bool modeLost;       // the mode did not survive the sleep
        int32_t running;     // after waking
        bool faded;
    } cases[] = {
        {dec(9, 21, 0), dec(9, 23, 30), false, false, HABIT_MODE_NONE, false},   // slept through the period
        {dec(9, 22, 10), dec(9, 23, 30), false, false, HABIT_MODE_NONE, true},   // woke after its end: stopped
        {dec(9, 21, 0), dec(9, 22, 30), false, false, HABIT_MODE_FOCUS, false},
        {dec(9, 21, 0), dec(9, 22, 4), false, false, HABIT_MODE_FOCUS, true},    // within the fade
        {dec(9, 22, 10), dec(9, 22, 40), false, true, HABIT_MODE_FOCUS, false},  // started again
        {dec(9, 22, 10), dec(9, 22, 40), true, true, HABIT_MODE_NONE, true},
        {dec(9, 22, 40), dec(9, 22, 20), false, true, HABIT_MODE_FOCUS, false},  // the clock put back
    };
    for (const auto &c : cases) {
        Program program = programAt("period daily 22:00-23:00 focus\n", dec(9, 20, 0));
        step(&program);
        runTo(&program, c.sleeps);
        if (c.handStop)
            byHand(&program, HABIT_MODE_NONE);
        if (c.modeLost)
            program.running = HABIT_MODE_NONE;
        jumpTo(&program, c.wakes);
        EXPECT_EQ(c.running, program.running) << c.sleeps << " " << c.wakes;
        EXPECT_EQ(c.faded, program.faded) << c.sleeps << " " << c.wakes;
    }
}

TEST(HabitStep, DaylightSavingInBothDirections)
{
    // Spring: 01:59:59 is followed by 03:00:00.
    const char *spring = "period daily 01:00-02:30 focus\nperiod daily 02:10-02:50 rules\nperiod daily 02:40-04:00\n";
    Program forward = programAt(spring, dec(9, 0, 59, 59));
    step(&forward);
    runTo(&forward, dec(9, 1, 59, 59));
    EXPECT_EQ(HABIT_MODE_FOCUS, forward.running);
    jumpTo(&forward, dec(9, 3, 0));
    EXPECT_EQ(HABIT_MODE_SCREEN, forward.running);   // the period that holds on the clock, at once
    EXPECT_FALSE(forward.faded);
    EXPECT_EQ(2, forward.starts);

    // Autumn: 02:59:59 is followed by 02:00:00; an hour-long period does not come back.
    Program back = programAt("period daily 02:15-02:45\nperiod daily 01:00-04:00 focus\n", dec(9, 0, 59, 59));
    step(&back);
    runTo(&back, dec(9, 2, 59, 59));
    jumpTo(&back, dec(9, 2, 0));
    runTo(&back, dec(9, 3, 59, 59));
    EXPECT_EQ(HABIT_MODE_FOCUS, back.running);
    EXPECT_EQ(3, back.starts);   // focus, screen from 02:15, focus again from 02:45 (once)
    EXPECT_EQ(0, back.stops);
    runTo(&back, dec(9, 4, 0));
    EXPECT_EQ(HABIT_MODE_NONE, back.running);
}

TEST(HabitSnooze, GrayComesBackIfTheScheduleOrThePersonStillWantsIt)
{
    const struct {
        const char *text;
        int32_t ownMode;      // the person's, started before the snooze
        time_t snoozes;
        int32_t minutes;
        time_t until;
        bool stoppedByHand;   // during the snooze
        int32_t after;        // running at the snooze's end
    } cases[] = {
        {"period daily 22:00-23:00\nfade 0\n", HABIT_MODE_NONE, dec(9, 22, 10), 10, dec(9, 22, 20), false,
         HABIT_MODE_SCREEN},
        {"period daily 22:00-23:00\n", HABIT_MODE_NONE, dec(9, 22, 55), 10, dec(9, 23, 5), false, HABIT_MODE_NONE},
        {"", HABIT_MODE_FOCUS, dec(9, 12, 0, 30), 30, dec(9, 12, 31), false, HABIT_MODE_FOCUS},
        {"", HABIT_MODE_FOCUS, dec(9, 12, 0, 30), 30, dec(9, 12, 31), true, HABIT_MODE_NONE},
        {"period daily 12:10-13:00 rules\n", HABIT_MODE_FOCUS, dec(9, 12, 0, 30), 60, dec(9, 13, 1), false,
         HABIT_MODE_NONE},   // the period that began meanwhile is over too
        {"period daily 12:25-13:00 rules\n", HABIT_MODE_FOCUS, dec(9, 12, 20), 10, dec(9, 12, 30), false,
         HABIT_MODE_RULES},   // at once, not faded in
    };
    for (const auto &c : cases) {
        Program program = programAt(c.text, c.snoozes - 60);
        step(&program);
        if (c.ownMode != HABIT_MODE_NONE)
            byHand(&program, c.ownMode);
        runTo(&program, c.snoozes);
        EXPECT_EQ(localSeconds(clockOf(c.until)),
                  habitSnooze(&program.state, clockOf(program.now), c.minutes, program.running));
        program.running = HABIT_MODE_NONE;
        int32_t starts = program.starts;
        runTo(&program, c.until - 1);
        EXPECT_EQ(starts, program.starts) << c.text << c.snoozes;   // colour all along
        if (c.stoppedByHand)
            byHand(&program, HABIT_MODE_NONE);
        runTo(&program, c.until);
        EXPECT_EQ(c.after, program.running) << c.text << c.snoozes;
        EXPECT_FALSE(program.faded && program.startedAt == c.until);
    }
    Program putBack = programAt("", dec(9, 12, 0));
    byHand(&putBack, HABIT_MODE_SCREEN);
    habitSnooze(&putBack.state, clockOf(putBack.now), 10, putBack.running);
    putBack.running = HABIT_MODE_NONE;
    habitSnooze(&putBack.state, clockOf(putBack.now), 30, putBack.running);   // longer, nothing running now
    jumpTo(&putBack, dec(9, 11, 0));   // the clock put back an hour ends the snooze
    EXPECT_EQ(HABIT_MODE_SCREEN, putBack.running);
}

TEST(HabitFadeShare, RisesEverySecondToTheIntensity)
{
    const struct {
        int64_t since;
        int32_t minutes, intensity, share;
    } cases[] = {
        {0, 10, 100, 0},      {300, 10, 100, 5000}, {600, 10, 100, 10000}, {9999, 10, 100, 10000},
        {-5, 10, 100, 0},     {0, 0, 60, 6000},     {30, 1, 50, 2500},     {1, 120, 100, 1},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.share, habitFadeShare(c.since, c.minutes, c.intensity)) << c.since << " " << c.minutes;
    for (int32_t minutes : {1, 10, HABIT_FADE_LONGEST_MINUTES}) {
        int32_t largestStep = HABIT_SHARE_FULL / (minutes * SECONDS_PER_MINUTE) + 1;
        for (int64_t second = 1; second <= minutes * SECONDS_PER_MINUTE; second++) {
            int32_t rise = habitFadeShare(second, minutes, 100) - habitFadeShare(second - 1, minutes, 100);
            ASSERT_GE(rise, 1) << minutes << " " << second;
            ASSERT_LE(rise, largestStep) << minutes << " " << second;
        }
    }
}
