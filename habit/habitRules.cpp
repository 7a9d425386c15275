// The schedule's decisions (see habitRules.h). Every moment is in local seconds;
// the day of the week of any day follows from the clock's own day of the week.
#include "habitRules.h"

#include "boundedText.h"

namespace {

// A step this much later than the last, or earlier: the machine slept or the clock moved.
constexpr int64_t CLOCK_JUMP_SECONDS = 5;
// The days whose runs may hold, or change, within a week from now: yesterday's
// may still run, and a weekly period may next start in seven days.
constexpr int64_t FIRST_DAY_SEARCHED = -1;
constexpr int64_t LAST_DAY_SEARCHED = DAYS_PER_WEEK;

// Days since 1970-01-01 of a date of the Gregorian calendar (H. Hinnant's days_from_civil).
int64_t dayNumber(int32_t year, int32_t month, int32_t day)
{
    constexpr int64_t YEARS_PER_ERA = 400;
    constexpr int64_t DAYS_PER_ERA = 146097;
    constexpr int64_t DAYS_BEFORE_1970 = 719468;   // from 0000-03-01
    int64_t y = year - (month <= 2);
    int64_t era = (y >= 0 ? y : y - (YEARS_PER_ERA - 1)) / YEARS_PER_ERA;
    int64_t yearOfEra = y - era * YEARS_PER_ERA;
    int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;   // from March
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * DAYS_PER_ERA + dayOfEra - DAYS_BEFORE_1970;
}

// The system's clock cannot be set before 1980, so seconds are never negative.
int64_t dayOf(int64_t seconds)
{
    return seconds / SECONDS_PER_DAY;
}

// Today, by which the day of the week of any other day is known.
struct Week {
    int64_t today;
    int32_t todayOfWeek;
};

Week weekOf(const LocalClock &clock)
{
    return Week{dayNumber(clock.year, clock.month, clock.day), clock.dayOfWeek};
}

int32_t dayOfWeek(const Week &week, int64_t day)
{
    int64_t weekday = (week.todayOfWeek + (day - week.today)) % DAYS_PER_WEEK;
    return static_cast<int32_t>(weekday < 0 ? weekday + DAYS_PER_WEEK : weekday);
}

HabitOccurrence runOn(const HabitPeriod &period, int64_t day)
{
    int64_t midnight = day * SECONDS_PER_DAY;
    int64_t nextDay = period.endSecond <= period.startSecond ? SECONDS_PER_DAY : 0;
    return HabitOccurrence{midnight + period.startSecond, midnight + period.endSecond + nextDay, period.mode};
}

bool sameRun(const HabitOccurrence &a, const HabitOccurrence &b)
{
    return a.start == b.start && a.end == b.end && a.mode == b.mode;
}

// The run that holds at a moment, leaving out one run (the last that ended).
HabitOccurrence runAt(const HabitSettings &settings, const Week &week, int64_t at, const HabitOccurrence &left)
{
    HabitOccurrence found = {};
    for (int64_t day = dayOf(at) - 1; day <= dayOf(at); day++)
        for (int32_t i = 0; i < settings.periodCount; i++) {
            if ((settings.periods[i].days & 1 << dayOfWeek(week, day)) == 0)
                continue;
            HabitOccurrence run = runOn(settings.periods[i], day);
            bool holds = run.start <= at && at < run.end && !sameRun(run, left);
            if (holds && (found.mode == HABIT_MODE_NONE || run.start > found.start))
                found = run;
        }
    return found;
}

constexpr HabitDecision NO_DECISION = {HABIT_NOTHING, HABIT_MODE_NONE, false};

HabitDecision startUnlessRunning(int32_t mode, int32_t runningMode, bool fade)
{
    if (mode == HABIT_MODE_NONE || mode == runningMode)
        return NO_DECISION;
    return HabitDecision{HABIT_START, mode, fade};
}

bool snoozeOver(const HabitState &state, int64_t now)
{
    // The longest snooze, and the minute it is rounded up by. Further away than
    // that: the clock was put back.
    constexpr int64_t LONGEST = (HABIT_SNOOZE_LONGEST_MINUTES + 1) * SECONDS_PER_MINUTE;
    return state.snoozeUntil != 0 && (now >= state.snoozeUntil || state.snoozeUntil - now > LONGEST);
}

// A run begins, or the last one ended: the person's choice is over with it. A run
// that gave way to another before its end is not over.
void enterRun(HabitState *state, const HabitOccurrence &run, int64_t now)
{
    if (state->period.mode != HABIT_MODE_NONE && now >= state->period.end)
        state->ended = state->period;
    state->period = run;
    state->handChoice = false;
    if (run.mode != HABIT_MODE_NONE)
        state->snoozedMode = HABIT_MODE_NONE;
}

}  // namespace

int64_t localSeconds(const LocalClock &clock)
{
    return dayNumber(clock.year, clock.month, clock.day) * SECONDS_PER_DAY + clock.hour * SECONDS_PER_HOUR +
           clock.minute * SECONDS_PER_MINUTE + clock.second;
}

HabitOccurrence activeHabitPeriod(const HabitSettings &settings, const LocalClock &now)
{
    return runAt(settings, weekOf(now), localSeconds(now), HabitOccurrence{});
}

HabitChange nextHabitChange(const HabitSettings &settings, const LocalClock &now)
{
    Week week = weekOf(now);
    int64_t from = localSeconds(now);
    int32_t current = runAt(settings, week, from, HabitOccurrence{}).mode;
    HabitChange change = {};
    for (int64_t day = week.today + FIRST_DAY_SEARCHED; day <= week.today + LAST_DAY_SEARCHED; day++)
        for (int32_t i = 0; i < settings.periodCount; i++) {
            if ((settings.periods[i].days & 1 << dayOfWeek(week, day)) == 0)
                continue;
            HabitOccurrence run = runOn(settings.periods[i], day);
            const int64_t boundaries[] = {run.start, run.end};
            for (int64_t at : boundaries) {
                if (at <= from || (change.found && at >= change.at))
                    continue;
                int32_t mode = runAt(settings, week, at, HabitOccurrence{}).mode;
                if (mode != current)
                    change = HabitChange{true, at, mode};
            }
        }
    return change;
}

HabitDecision habitStep(const HabitSettings &settings, HabitState *state, const LocalClock &now, int32_t runningMode)
{
    int64_t at = localSeconds(now);
    bool jumped = state->lastStep == 0 || at < state->lastStep || at - state->lastStep > CLOCK_JUMP_SECONDS;
    state->lastStep = at;
    HabitOccurrence before = state->period;
    bool handBefore = state->handChoice;
    HabitOccurrence run = runAt(settings, weekOf(now), at, state->ended);
    bool changed = !sameRun(run, before);
    if (changed)
        enterRun(state, run, at);
    if (snoozeOver(*state, at)) {
        int32_t back = habitSnoozeReturn(*state);
        state->snoozeUntil = 0;
        state->snoozedMode = HABIT_MODE_NONE;
        return startUnlessRunning(back, runningMode, false);
    }
    if (state->snoozeUntil != 0)
        return NO_DECISION;
    if (changed && run.mode == HABIT_MODE_NONE) {
        bool stops = !handBefore && before.mode != HABIT_MODE_NONE && runningMode == before.mode;
        return HabitDecision{stops ? HABIT_STOP : HABIT_NOTHING, stops ? before.mode : HABIT_MODE_NONE, false};
    }
    bool resumes = jumped && !state->handChoice;   // the run goes on: is its mode still there?
    if (!changed && !resumes)
        return NO_DECISION;
    bool fade = at - run.start < settings.fadeMinutes * SECONDS_PER_MINUTE;
    return startUnlessRunning(run.mode, runningMode, fade);
}

void habitHandChoice(HabitState *state)
{
    state->handChoice = true;
    state->snoozeUntil = 0;
    state->snoozedMode = HABIT_MODE_NONE;
}

int32_t habitFadeShare(int64_t sinceStart, int32_t fadeMinutes, int32_t intensity)
{
    int64_t target = static_cast<int64_t>(intensity) * HABIT_SHARE_PER_PERCENT;
    int64_t fadeSeconds = static_cast<int64_t>(fadeMinutes) * SECONDS_PER_MINUTE;
    if (sinceStart >= fadeSeconds)
        return static_cast<int32_t>(target);
    if (sinceStart <= 0)
        return 0;
    return static_cast<int32_t>(target * sinceStart / fadeSeconds);
}

int64_t habitSnooze(HabitState *state, const LocalClock &now, int32_t minutes, int32_t runningMode)
{
    minutes = minutes < 1 ? 1 : minutes > HABIT_SNOOZE_LONGEST_MINUTES ? HABIT_SNOOZE_LONGEST_MINUTES : minutes;
    // The schedule brings its own run back; only the person's own mode is kept. A
    // second snooze within the first keeps what the first kept (nothing runs now).
    bool scheduled = state->period.mode != HABIT_MODE_NONE && !state->handChoice;
    if (state->snoozeUntil == 0)
        state->snoozedMode = scheduled ? HABIT_MODE_NONE : runningMode;
    // It ends on a whole minute, the one the status bar shows.
    int64_t until = localSeconds(now) + minutes * SECONDS_PER_MINUTE;
    state->snoozeUntil = until + (SECONDS_PER_MINUTE - until % SECONDS_PER_MINUTE) % SECONDS_PER_MINUTE;
    return state->snoozeUntil;
}

int32_t habitSnoozeReturn(const HabitState &state)
{
    bool scheduled = state.period.mode != HABIT_MODE_NONE && !state.handChoice;
    return scheduled ? state.period.mode : state.snoozedMode;
}

size_t formatHabitMoment(char (&text)[HABIT_MOMENT_BYTES], int64_t at, const LocalClock &now)
{
    Week week = weekOf(now);
    int64_t day = dayOf(at);
    int second = static_cast<int>(at - day * SECONDS_PER_DAY);
    int hour = second / SECONDS_PER_HOUR;
    int minute = second % SECONDS_PER_HOUR / SECONDS_PER_MINUTE;
    char time[HABIT_MOMENT_BYTES];
    if (second % SECONDS_PER_MINUTE == 0)
        formatText(time, "%02d:%02d", hour, minute);
    else
        formatText(time, "%02d:%02d:%02d", hour, minute, second % SECONDS_PER_MINUTE);
    if (day == week.today)
        return copyText(text, time);
    return formatText(text, "%s %s", habitDayWord(dayOfWeek(week, day)), time);
}
