// The Habit dialog's periods box: the lines it reads and refuses, and the box's
// text of the periods read from it, which is that text again.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "habitPeriodsBox.h"

TEST(HabitPeriodsBox, LinesReadAndRefusedAndTheTextOfWhatWasRead)
{
    std::string tooMany;
    for (int32_t i = 0; i <= HABIT_PERIOD_CAPACITY; i++)
        tooMany += "daily 10:00-11:00\r\n";
    const std::string longLine = "daily 23:00-07:00 " + std::string(2 * HABIT_LINE_BYTES, ' ');
    const struct {
        std::string box;
        int32_t verdict, periods, refusedLine;
        std::string refusedText;
    } cases[] = {
        {"", PERIODS_BOX_READ, 0, 0, ""},
        {"Mon-Fri 22:00-07:00 screen\r\n\r\n  \r\nDAILY 23:00-07:00", PERIODS_BOX_READ, 2, 0, ""},
        {"sat,sun 09:00-12:00:30 rules # week-end\r\n", PERIODS_BOX_READ, 1, 0, ""},
        {"daily 23:00-07:00\r\nMon-Fry 22:00-07:00\r\ndaily 1", PERIODS_BOX_LINE_NOT_UNDERSTOOD, 1, 2,
         "Mon-Fry 22:00-07:00"},
        {"period daily 23:00-07:00", PERIODS_BOX_LINE_NOT_UNDERSTOOD, 0, 1, "period daily 23:00-07:00"},
        {"# a note\n", PERIODS_BOX_LINE_NOT_UNDERSTOOD, 0, 1, "# a note"},
        {longLine, PERIODS_BOX_LINE_NOT_UNDERSTOOD, 0, 1, longLine.substr(0, HABIT_LINE_BYTES - 1)},
        {tooMany, PERIODS_BOX_TOO_MANY, HABIT_PERIOD_CAPACITY, HABIT_PERIOD_CAPACITY + 1, "daily 10:00-11:00"},
    };
    for (const auto &c : cases) {
        PeriodsBoxReading read;
        readPeriodsBox(c.box.data(), c.box.size(), &read);
        EXPECT_EQ(std::make_tuple(c.verdict, c.periods, c.refusedLine, c.refusedText),
                  std::make_tuple(read.verdict, read.periodCount, read.refusedLine, std::string(read.refusedText)))
            << c.box;
    }

    const std::string box = "Mon-Fri 22:00-07:00 screen\r\ndaily 23:00-07:00:30 focus\r\nSun 00:00-24:00 monitor\r\n";
    PeriodsBoxReading read;
    readPeriodsBox(box.data(), box.size(), &read);
    HabitSettings settings = defaultHabitSettings();
    settings.periodCount = read.periodCount;
    std::copy(read.periods, read.periods + read.periodCount, settings.periods);
    char text[HABIT_BOX_BYTES];
    formatPeriodsBox(text, sizeof text, settings);
    EXPECT_EQ(box, text);
}
