// One line of habit.txt and what it says: the reader that the text's read and
// its rewrite share (habitText.cpp). A line is what runs up to and including its
// "\n"; a "\r" before it belongs to the line end. Pure; for habit/ itself.
#pragma once

#include <cstddef>
#include <cstdint>

#include "habitText.h"

inline constexpr char HABIT_PERIOD_WORD[] = "period";
inline constexpr char HABIT_FADE_WORD[] = "fade";
inline constexpr char HABIT_INTENSITY_WORD[] = "intensity";
inline constexpr char HABIT_FULLSCREEN_WORD[] = "fullscreen";
// The days of the week from Sunday, as the system counts them, then "daily".
inline constexpr const char *HABIT_DAY_WORDS[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "daily"};
constexpr int32_t HABIT_DAILY = DAYS_PER_WEEK;
// Indexed by HabitMode; "" for none.
inline constexpr const char *HABIT_MODE_WORDS[] = {"", "screen", "focus", "monitor", "rules"};
constexpr int32_t HABIT_PERIOD_MODE_COUNT = sizeof HABIT_MODE_WORDS / sizeof HABIT_MODE_WORDS[0];
// Indexed by HabitFullscreen.
inline constexpr const char *HABIT_FULLSCREEN_WORDS[] = {"colour", "gray"};
constexpr int32_t HABIT_FULLSCREEN_WORD_COUNT = sizeof HABIT_FULLSCREEN_WORDS / sizeof HABIT_FULLSCREEN_WORDS[0];

enum HabitLineKind {
    HABIT_LINE_COMMENT,   // blank, or only a comment
    HABIT_LINE_SKIPPED,   // not understood
    HABIT_LINE_FADE,
    HABIT_LINE_INTENSITY,
    HABIT_LINE_FULLSCREEN,
    HABIT_LINE_PERIOD,
};

struct HabitLine {
    const char *start;
    size_t length;      // with its line end
    size_t textLength;  // without it
    bool ended;         // it has its "\n"
    HabitLineKind kind;
    int32_t value;      // fade, intensity or fullscreen
    HabitPeriod period;
};

// The line that starts at offset, and what it says.
HabitLine nextHabitLine(const char *text, size_t length, size_t offset);
// The length of a UTF-8 byte order mark at the text's start (editors that save
// UTF-8 may write one), or 0.
size_t habitByteOrderMarkLength(const char *text, size_t length);
