// habit.txt's text: the settings and periods read from it, the lines skipped, and
// a rewrite that puts new settings in and keeps every other line as it stands.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "habitText.h"

namespace {

constexpr int32_t MON = 1 << 1, TUE = 1 << 2, WED = 1 << 3, THU = 1 << 4, FRI = 1 << 5, SAT = 1 << 6, SUN = 1;

HabitReading reading(const std::string &text)
{
    HabitReading read;
    readHabitText(text.data(), text.size(), &read);
    return read;
}

std::string rewritten(const std::string &text, const HabitSettings &settings)
{
    static char dest[HABIT_FILE_LIMIT];
    size_t length = 0;
    EXPECT_TRUE(rewriteHabitText(text.data(), text.size(), settings, dest, sizeof dest, &length));
    return std::string(dest, length);
}

int32_t at(int32_t hour, int32_t minute, int32_t second = 0)
{
    return hour * SECONDS_PER_HOUR + minute * SECONDS_PER_MINUTE + second;
}

}  // namespace

TEST(ReadHabitText, SettingsCommentsAndTheLinesItSkips)
{
    const struct {
        std::string text;
        int32_t fade, intensity, fullscreen, skipped;
    } cases[] = {
        {"", 10, 100, HABIT_FULLSCREEN_COLOUR, 0},
        {"# comment\n\n  \t\r\n   # fade 3\n", 10, 100, HABIT_FULLSCREEN_COLOUR, 0},
        {"FADE 5\r\nIntensity 060\nfullscreen GRAY\n", 5, 60, HABIT_FULLSCREEN_GRAY, 0},
        {"fade 0 # at once\nintensity 0\t\nfullscreen colour\n", 0, 0, HABIT_FULLSCREEN_COLOUR, 0},
        {"fade 3\nfade 4\n", 4, 100, HABIT_FULLSCREEN_COLOUR, 0},   // the later line holds
        {"fade 121\nintensity 101\nfade -1\nfade 5.5\nfade5\nfade\nfade 0005\n", 10, 100, HABIT_FULLSCREEN_COLOUR, 7},
        {"fullscreen grey\nfullscreen\nfullscreen gray colour\ncolour x.exe\n", 10, 100, HABIT_FULLSCREEN_COLOUR, 4},
        {"fade \x01" "3\nintensity 50\x7F\n", 10, 100, HABIT_FULLSCREEN_COLOUR, 2},   // bytes no text holds
        {"intensity 50\nfade 3", 10, 50, HABIT_FULLSCREEN_COLOUR, 1},                 // no line end at the end
        {"\xEF\xBB\xBF" "fade 2\n", 2, 100, HABIT_FULLSCREEN_COLOUR, 0},
    };
    for (const auto &c : cases) {
        HabitReading r = reading(c.text);
        EXPECT_EQ(std::make_tuple(c.fade, c.intensity, c.fullscreen, 0, c.skipped),
                  std::make_tuple(r.settings.fadeMinutes, r.settings.intensity, r.settings.fullscreen,
                                  r.settings.periodCount, r.skippedLines))
            << c.text;
    }
}

TEST(ReadHabitText, PeriodsAndTheSpellingsRefused)
{
    const struct {
        const char *line;
        HabitPeriod period;
    } accepted[] = {
        {"period daily 22:00-07:00", {HABIT_ALL_DAYS, at(22, 0), at(7, 0), HABIT_MODE_SCREEN}},
        {"period Mon-Fri 09:00-17:30 focus", {MON | TUE | WED | THU | FRI, at(9, 0), at(17, 30), HABIT_MODE_FOCUS}},
        {"PERIOD mon 9:00-17:00:30 MONITOR", {MON, at(9, 0), at(17, 0, 30), HABIT_MODE_MONITOR}},
        {"period Fri-Mon 23:00-01:00 rules", {FRI | SAT | SUN | MON, at(23, 0), at(1, 0), HABIT_MODE_RULES}},
        {"period Sat,Sun 00:00-24:00", {SAT | SUN, 0, SECONDS_PER_DAY, HABIT_MODE_SCREEN}},
        {"period  sun , Wed - thu  10:00 - 11:00:00  screen # a comment",
         {SUN | WED | THU, at(10, 0), at(11, 0), HABIT_MODE_SCREEN}},
    };
    for (const auto &c : accepted) {
        HabitReading read = reading(std::string(c.line) + "\n");
        ASSERT_EQ(1, read.settings.periodCount) << c.line;
        const HabitPeriod &p = read.settings.periods[0];
        EXPECT_EQ(std::make_tuple(c.period.days, c.period.startSecond, c.period.endSecond, c.period.mode),
                  std::make_tuple(p.days, p.startSecond, p.endSecond, p.mode))
            << c.line;
    }
    const char *const refused[] = {
        "period daily 22:00-22:00",   "period daily 24:00-01:00",      "period daily 10:00-24:00:01",
        "period Monday 10:00-11:00",  "period daily 10:60-11:00",      "period daily 10:00-11:00:60",
        "period daily 10:00-11:00 window", "period 10:00-11:00",      "period daily 10:00",
        "period daily 1000-1100",     "period daily 10:00-11:00 focus x", "period Mon- 10:00-11:00",
        "period daily 123:00-11:00",  "period daily,Mon 10:0-11:00",   "period daily 10:00-11:00 foreground",
        "periods daily 10:00-11:00",  "period daily 10:00:5-11:00",
    };
    for (const char *line : refused) {
        HabitReading read = reading(std::string(line) + "\n");
        EXPECT_EQ(0, read.settings.periodCount) << line;
        EXPECT_EQ(1, read.skippedLines) << line;
    }
}

TEST(FormatHabitPeriod, EverySetOfDaysReadsBackAsWritten)
{
    for (int32_t days = 1; days <= HABIT_ALL_DAYS; days++) {
        HabitPeriod period = {days, at(22, 0, 5), SECONDS_PER_DAY, HABIT_MODE_FOCUS};
        char line[HABIT_LINE_BYTES];
        formatHabitPeriod(line, period);
        HabitReading read = reading(std::string(line) + "\n");
        ASSERT_EQ(1, read.settings.periodCount) << line;
        EXPECT_EQ(days, read.settings.periods[0].days) << line;
    }
}

TEST(RewriteHabitText, TheSameSettingsLeaveTheTextAsItStands)
{
    const std::string text = "\xEF\xBB\xBF# my hours\r\nbogus line\r\nperiod MON-fri 22:00-7:00 # bed\r\n"
                             "\r\nFade 05\r\nintensity 80\r\nfullscreen GRAY\r\nperiod sat 10:00-11:00 rules\r\nno end";
    EXPECT_EQ(text, rewritten(text, reading(text).settings));
}

TEST(RewriteHabitText, NewSettingsGoIntoTheirLinesAndEveryOtherLineStays)
{
    HabitSettings settings = defaultHabitSettings();
    settings.fadeMinutes = 7;
    settings.fullscreen = HABIT_FULLSCREEN_GRAY;
    settings.periodCount = 3;
    settings.periods[0] = {MON, at(8, 0), at(9, 0), HABIT_MODE_SCREEN};
    settings.periods[1] = {FRI | SAT | SUN | MON, at(10, 0), at(11, 0, 30), HABIT_MODE_FOCUS};
    settings.periods[2] = {SAT | SUN, at(22, 0), SECONDS_PER_DAY, HABIT_MODE_RULES};
    EXPECT_EQ("# mine\nbogus line\nperiod Mon 08:00-09:00 # a\nfade 7\nperiod Fri-Mon 10:00-11:00:30 focus\n"
              "period Sat,Sun 22:00-24:00 rules\nintensity 100\nfullscreen gray\nlast",
              rewritten("# mine\nbogus line\nperiod Mon 08:00-09:00 # a\nfade 5\nperiod Tue 08:00-09:00\n"
                        "fade 6\r\nlast",
                        settings));

    settings.periodCount = 1;   // fewer periods: the lines beyond them go, beyond the capacity too
    settings.periods[0].days = HABIT_ALL_DAYS;
    std::string many;
    for (int i = 0; i <= HABIT_PERIOD_CAPACITY; i++)
        many += "period daily 10:00-11:00\n# keep " + std::to_string(i) + "\n";
    EXPECT_EQ(HABIT_PERIOD_CAPACITY, reading(many).settings.periodCount);
    EXPECT_EQ(1, reading(many).skippedLines);   // the period after the last that fits
    std::string text = rewritten(many, settings);
    EXPECT_EQ(0, text.find("period daily 08:00-09:00 screen\n# keep 0\n# keep 1\n")) << text;
    HabitReading read = reading(text);
    EXPECT_EQ(1, read.settings.periodCount);
    EXPECT_EQ(0, read.skippedLines);

    EXPECT_EQ("fade 10\r\nintensity 100\r\nfullscreen colour\r\n", rewritten("", defaultHabitSettings()));
    char small[16];
    size_t length = 0;
    EXPECT_FALSE(rewriteHabitText("", 0, settings, small, sizeof small, &length));
}
