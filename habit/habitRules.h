// The schedule's decisions over a local clock the program hands in: which period
// runs, the next change, what to do this second (start a mode, stop it, nothing),
// the fade, and the snooze. Times are local wall-clock seconds, so a period follows
// the clock the person reads, through daylight saving and clock changes alike.
// Pure, no platform headers; unit-tested on the host.
#pragma once

#include <cstddef>
#include <cstdint>

#include "habitText.h"

// The local time as the system gives it (dayOfWeek: 0 Sunday to 6 Saturday).
struct LocalClock {
    int32_t year;
    int32_t month;
    int32_t day;
    int32_t dayOfWeek;
    int32_t hour;
    int32_t minute;
    int32_t second;
};

// Seconds since 1970-01-01 00:00 of the local calendar: ordering only, it jumps
// with the clock.
int64_t localSeconds(const LocalClock &clock);

// One run of a period, in local seconds; mode HABIT_MODE_NONE for none.
struct HabitOccurrence {
    int64_t start;
    int64_t end;
    int32_t mode;
};

// The run of a period that holds now, or none. A period that crosses midnight
// belongs to the day it starts. Of runs that overlap, the one that started last
// holds (the first in the file on a tie).
HabitOccurrence activeHabitPeriod(const HabitSettings &settings, const LocalClock &now);

// The next moment the schedule wants something else (another mode, or colour);
// found is false when nothing changes within a week.
struct HabitChange {
    bool found;
    int64_t at;      // local seconds
    int32_t mode;    // what runs from then on; HABIT_MODE_NONE: colour
};
HabitChange nextHabitChange(const HabitSettings &settings, const LocalClock &now);

// What the schedule remembers from one step to the next; zeroed at the start.
struct HabitState {
    HabitOccurrence period;    // the run the last step saw
    HabitOccurrence ended;     // the last run that ended: a repeated hour does not start it again
    bool handChoice;           // the person started or stopped a mode since `period` began
    int64_t snoozeUntil;       // local seconds; 0 without a snooze
    int32_t snoozedMode;       // the person's own mode, back at the snooze's end
    int64_t lastStep;          // local seconds of the last step; 0 before the first
};

enum HabitAction : int32_t { HABIT_NOTHING = 0, HABIT_START = 1, HABIT_STOP = 2 };
struct HabitDecision {
    int32_t action;
    int32_t mode;   // the mode to start or stop
    bool fade;      // a start that fades in (habitFadeShare from the run's start)
};

// The decision of one step, about once a second. runningMode is the mode that runs
// now (HABIT_MODE_NONE for none). A run that begins starts its mode (unless that
// mode runs already); its end stops it unless the person chose by hand meanwhile.
// When the clock jumped (sleep, a clock change, daylight saving) the state is
// taken from the clock again: a run that ended meanwhile is not started, one still
// going is started again if the person did not stop it.
HabitDecision habitStep(const HabitSettings &settings, HabitState *state, const LocalClock &now, int32_t runningMode);

// The person started or stopped a mode by hand: their choice holds until the next
// run begins, and a snooze is over.
void habitHandChoice(HabitState *state);

// The share of gray, in hundredths of a percent, sinceStart seconds into a fade
// toward intensity percent over fadeMinutes: fine enough that a fade of two hours
// to full gray takes a step every second, none of them visible.
constexpr int32_t HABIT_SHARE_PER_PERCENT = 100;
constexpr int32_t HABIT_SHARE_FULL = HABIT_INTENSITY_FULL * HABIT_SHARE_PER_PERCENT;
int32_t habitFadeShare(int64_t sinceStart, int32_t fadeMinutes, int32_t intensity);

// Colour for minutes (at most the longest snooze) from now: the program stops its
// mode; the step brings gray back at the end if the schedule or the person still
// wants it. Returns the snooze's end in local seconds.
constexpr int32_t HABIT_SNOOZE_LONGEST_MINUTES = 60;
int64_t habitSnooze(HabitState *state, const LocalClock &now, int32_t minutes, int32_t runningMode);
// The mode that comes back when the snooze ends, as things stand; HABIT_MODE_NONE for none.
int32_t habitSnoozeReturn(const HabitState &state);

// "22:40" for a moment of today, "Tue 07:00" for another day: for "Colour until
// 22:40" and the tray menu's next change.
constexpr size_t HABIT_MOMENT_BYTES = 16;
size_t formatHabitMoment(char (&text)[HABIT_MOMENT_BYTES], int64_t at, const LocalClock &now);
