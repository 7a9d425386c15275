// habit.txt, the hours, fade, intensity and full-screen settings beside config.txt:
// its text read into settings, and the text written back with new settings, every
// other line (comments, blank lines, lines not understood) kept byte for byte.
// Bytes in, bytes out: no file access, no platform headers; unit-tested on the host.
#pragma once

#include <cstddef>
#include <cstdint>

// The modes the program runs. A period names one of the first four; the others
// are only what a person may have running when a snooze begins.
enum HabitMode : int32_t {
    HABIT_MODE_NONE = 0,
    HABIT_MODE_SCREEN = 1,
    HABIT_MODE_FOCUS = 2,
    HABIT_MODE_MONITOR = 3,
    HABIT_MODE_RULES = 4,
    HABIT_MODE_FOREGROUND = 5,
    HABIT_MODE_SELECTED = 6,
};

enum HabitFullscreen : int32_t { HABIT_FULLSCREEN_COLOUR = 0, HABIT_FULLSCREEN_GRAY = 1 };

constexpr int32_t HABIT_PERIOD_CAPACITY = 32;
// A file larger than this is no habit file: it is not read (nor written over).
constexpr size_t HABIT_FILE_LIMIT = 16 * 1024;
constexpr int32_t HABIT_FADE_LONGEST_MINUTES = 120;
constexpr int32_t HABIT_FADE_DEFAULT_MINUTES = 10;
constexpr int32_t HABIT_INTENSITY_FULL = 100;   // percent: today's gray
constexpr int32_t SECONDS_PER_MINUTE = 60;
constexpr int32_t SECONDS_PER_HOUR = 60 * SECONDS_PER_MINUTE;
constexpr int32_t SECONDS_PER_DAY = 24 * SECONDS_PER_HOUR;
constexpr int32_t DAYS_PER_WEEK = 7;
constexpr int32_t HABIT_ALL_DAYS = (1 << DAYS_PER_WEEK) - 1;

// One period: the days it starts on (bit d for day d of the week, 0 Sunday to
// 6 Saturday), its start and end in seconds after local midnight, and its mode.
// An end at or before the start falls on the next day; an end of SECONDS_PER_DAY
// is "24:00". A start equal to its end is never read (it could mean no time or
// the whole day), so a period lasts more than 0 and at most 24 hours.
struct HabitPeriod {
    int32_t days;
    int32_t startSecond;
    int32_t endSecond;
    int32_t mode;
};

struct HabitSettings {
    int32_t fadeMinutes;   // 0 switches at once
    int32_t intensity;     // percent
    int32_t fullscreen;    // HabitFullscreen
    int32_t periodCount;
    HabitPeriod periods[HABIT_PERIOD_CAPACITY];
};

// The settings of a missing or empty file: no periods, so nothing is scheduled.
HabitSettings defaultHabitSettings();

// The settings of a text, and how many of its lines were not understood (an
// unknown word, a value out of range, bytes no text holds, the period after the
// last that fits, or a last line without its line end, which may be a file caught
// half-written). Blank lines and lines starting with "#" are comments, and "#"
// ends any line's settings. Words in any letter case. Of two fade, intensity or
// fullscreen lines, the later holds. A UTF-8 byte order mark is no part of the
// first line.
struct HabitReading {
    HabitSettings settings;
    int32_t skippedLines;
};
void readHabitText(const char *text, size_t length, HabitReading *reading);

// The text with the settings written into it: the first fade, intensity and
// fullscreen lines and the period lines in order take the new values (a line whose
// value is unchanged stays as it stands), later duplicates and period lines beyond
// the new count go, further periods follow the last period line, and a setting the
// text lacks is added at its end (before a last line without its line end, which
// stays last). Every other line is kept as it stands. false when the result would
// not fit into size bytes (dest is then undefined).
bool rewriteHabitText(const char *text, size_t length, const HabitSettings &settings, char *dest, size_t size,
                      size_t *destLength);

// The line the program writes for a period, without its line end:
// "period Mon-Fri 22:00-07:00 screen". A period needs at least one day.
constexpr size_t HABIT_LINE_BYTES = 64;
size_t formatHabitPeriod(char (&line)[HABIT_LINE_BYTES], const HabitPeriod &period);

// "Mon" for day 1 of the week (0 Sunday to 6 Saturday).
const char *habitDayWord(int32_t dayOfWeek);

// What came of reading habit.txt.
enum HabitFileState : int32_t {
    HABIT_FILE_MISSING = 0,   // the defaults, no periods
    HABIT_FILE_READ = 1,
    HABIT_FILE_TOO_LARGE = 2,   // not read, and never written over
    HABIT_FILE_UNREADABLE = 3,
};
// The status-bar note on a reading; empty when there is nothing to say.
void habitReadingNote(char *dest, size_t size, int32_t state, int32_t skippedLines);
