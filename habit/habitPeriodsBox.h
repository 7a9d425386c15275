// The Habit dialog's periods box: the settings' periods as its text, one a line
// in habit.txt's own words without the word "period", and that text read back
// line by line (a blank line is no period). Pure; unit-tested on the host.
#pragma once

#include <cstddef>
#include <cstdint>

#include "habitText.h"

// The box holds every period that fits in the settings, with room to spare for
// what a person types; longer text is refused by the box itself.
constexpr size_t HABIT_BOX_BYTES = 4096;
// Lines in the box end as an edit control ends them.
inline constexpr char HABIT_BOX_LINE_END[] = "\r\n";

// The box's text for the periods of the settings, each line ended, so that the
// caret at the end stands on a line of its own.
size_t formatPeriodsBox(char *dest, size_t size, const HabitSettings &settings);

// One line of the box read as a period; false when habit.txt would skip it.
bool readPeriodLine(const char *line, size_t length, HabitPeriod *period);

enum PeriodsBoxVerdict : int32_t {
    PERIODS_BOX_READ = 0,
    PERIODS_BOX_LINE_NOT_UNDERSTOOD = 1,   // refusedLine and refusedText name it
    PERIODS_BOX_TOO_MANY = 2,              // more than HABIT_PERIOD_CAPACITY
};
struct PeriodsBoxReading {
    int32_t verdict;
    int32_t periodCount;
    HabitPeriod periods[HABIT_PERIOD_CAPACITY];
    int32_t refusedLine;   // counted from 1
    char refusedText[HABIT_LINE_BYTES];   // cut to fit
};
// The periods of the box's text, or the first line that stops it.
void readPeriodsBox(const char *text, size_t length, PeriodsBoxReading *reading);
