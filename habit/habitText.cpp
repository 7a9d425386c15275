// habit.txt's text (see habitText.h): read line by line (habitLines.h), and
// written back with the settings put into the lines that hold them.
#include "habitText.h"

#include <cstring>

#include "boundedText.h"
#include "habitLines.h"

namespace {

const char DEFAULT_LINE_END[] = "\r\n";
constexpr int32_t SINGLE_SETTING_COUNT = 3;   // fade, intensity, fullscreen: one line each
constexpr int32_t MINUTES_PER_HOUR = 60;
// Days written in week order from Monday, as people write "Mon-Fri".
constexpr int32_t MONDAY = 1;

// Takes a line's setting into settings; false for a line not understood, or a
// period that finds no room.
bool applyLine(const HabitLine &line, HabitSettings *settings)
{
    switch (line.kind) {
    case HABIT_LINE_FADE: settings->fadeMinutes = line.value; return true;
    case HABIT_LINE_INTENSITY: settings->intensity = line.value; return true;
    case HABIT_LINE_FULLSCREEN: settings->fullscreen = line.value; return true;
    case HABIT_LINE_PERIOD:
        if (settings->periodCount >= HABIT_PERIOD_CAPACITY)
            return false;
        settings->periods[settings->periodCount++] = line.period;
        return true;
    default: return line.kind == HABIT_LINE_COMMENT;
    }
}

bool samePeriod(const HabitPeriod &a, const HabitPeriod &b)
{
    return a.days == b.days && a.startSecond == b.startSecond && a.endSecond == b.endSecond && a.mode == b.mode;
}

struct LineEnd {
    const char *bytes;
    size_t length;
};

// The text being written, and what of the settings it holds so far.
struct Rewrite {
    const HabitSettings *settings;
    char *dest;
    size_t size;
    size_t used;
    bool fits;
    LineEnd lineEnd;   // the file's own, for the lines added
    bool written[SINGLE_SETTING_COUNT];   // by HabitLineKind from HABIT_LINE_FADE
    int32_t oldPeriods;   // period lines in the text
    int32_t periodLines;  // of them, met so far
    bool added;           // the settings the text lacked were added
};

void put(Rewrite *rewrite, const char *bytes, size_t count)
{
    if (!rewrite->fits || count > rewrite->size - rewrite->used) {
        rewrite->fits = false;
        return;
    }
    memcpy(rewrite->dest + rewrite->used, bytes, count);
    rewrite->used += count;
}

// The settings' line for a kind (for periods, the period of that index) and a line end.
void putNewLine(Rewrite *rewrite, HabitLineKind kind, int32_t period, LineEnd lineEnd)
{
    const HabitSettings &settings = *rewrite->settings;
    char line[HABIT_LINE_BYTES];
    size_t length = 0;
    if (kind == HABIT_LINE_FADE)
        length = formatText(line, "%s %d", HABIT_FADE_WORD, static_cast<int>(settings.fadeMinutes));
    else if (kind == HABIT_LINE_INTENSITY)
        length = formatText(line, "%s %d", HABIT_INTENSITY_WORD, static_cast<int>(settings.intensity));
    else if (kind == HABIT_LINE_FULLSCREEN)
        length = formatText(line, "%s %s", HABIT_FULLSCREEN_WORD, HABIT_FULLSCREEN_WORDS[settings.fullscreen != 0]);
    else
        length = formatHabitPeriod(line, settings.periods[period]);
    put(rewrite, line, length);
    put(rewrite, lineEnd.bytes, lineEnd.length);
}

// A line the settings hold a value for: kept as it stands when the value is the same.
void putSettingLine(Rewrite *rewrite, const HabitLine &line, int32_t period)
{
    const HabitSettings &settings = *rewrite->settings;
    bool same = line.kind == HABIT_LINE_PERIOD    ? samePeriod(line.period, settings.periods[period])
              : line.kind == HABIT_LINE_FADE      ? line.value == settings.fadeMinutes
              : line.kind == HABIT_LINE_INTENSITY ? line.value == settings.intensity
                                                  : line.value == (settings.fullscreen != 0);
    if (same)
        put(rewrite, line.start, line.length);
    else
        putNewLine(rewrite, line.kind, period, LineEnd{line.start + line.textLength, line.length - line.textLength});
}

void putPeriodLine(Rewrite *rewrite, const HabitLine &line)
{
    int32_t index = rewrite->periodLines++;
    if (index < rewrite->settings->periodCount)
        putSettingLine(rewrite, line, index);
    if (rewrite->periodLines != rewrite->oldPeriods)
        return;
    LineEnd own = {line.start + line.textLength, line.length - line.textLength};
    for (int32_t i = rewrite->oldPeriods; i < rewrite->settings->periodCount; i++)
        putNewLine(rewrite, HABIT_LINE_PERIOD, i, own);
}

// The settings the text had no line for, once.
void addMissing(Rewrite *rewrite)
{
    if (rewrite->added)
        return;
    rewrite->added = true;
    for (int32_t i = 0; i < SINGLE_SETTING_COUNT; i++)
        if (!rewrite->written[i])
            putNewLine(rewrite, static_cast<HabitLineKind>(HABIT_LINE_FADE + i), 0, rewrite->lineEnd);
    if (rewrite->oldPeriods == 0)
        for (int32_t i = 0; i < rewrite->settings->periodCount; i++)
            putNewLine(rewrite, HABIT_LINE_PERIOD, i, rewrite->lineEnd);
}

void rewriteLine(Rewrite *rewrite, const HabitLine &line)
{
    if (!line.ended)   // a last line without its end stays last
        addMissing(rewrite);
    if (line.kind == HABIT_LINE_PERIOD) {
        putPeriodLine(rewrite, line);
    } else if (line.kind >= HABIT_LINE_FADE && line.kind < HABIT_LINE_FADE + SINGLE_SETTING_COUNT) {
        bool &written = rewrite->written[line.kind - HABIT_LINE_FADE];
        if (!written)
            putSettingLine(rewrite, line, 0);
        written = true;
    } else {
        put(rewrite, line.start, line.length);
    }
}

// The number of period lines, and the first line end, of a text.
void surveyText(const char *text, size_t length, size_t start, Rewrite *rewrite)
{
    rewrite->lineEnd = LineEnd{DEFAULT_LINE_END, sizeof DEFAULT_LINE_END - 1};
    bool lineEndKnown = false;
    for (size_t offset = start; offset < length;) {
        HabitLine line = nextHabitLine(text, length, offset);
        offset += line.length;
        rewrite->oldPeriods += line.kind == HABIT_LINE_PERIOD;
        if (line.ended && !lineEndKnown)
            rewrite->lineEnd = LineEnd{line.start + line.textLength, line.length - line.textLength};
        lineEndKnown = lineEndKnown || line.ended;
    }
}

size_t formatDays(char *text, size_t size, int32_t days)
{
    if (days == HABIT_ALL_DAYS)
        return copyTextN(text, size, HABIT_DAY_WORDS[HABIT_DAILY]);
    copyTextN(text, size, "");
    for (int32_t i = 0; i < DAYS_PER_WEEK; i++) {
        int32_t first = (MONDAY + i) % DAYS_PER_WEEK;
        int32_t before = (first + DAYS_PER_WEEK - 1) % DAYS_PER_WEEK;
        if ((days & 1 << first) == 0 || (days & 1 << before) != 0)
            continue;   // no run of days starts here
        int32_t last = first;
        while ((days & 1 << (last + 1) % DAYS_PER_WEEK) != 0)
            last = (last + 1) % DAYS_PER_WEEK;
        if (text[0] != '\0')
            appendTextN(text, size, ",");
        appendTextN(text, size, HABIT_DAY_WORDS[first]);
        if (last != first)
            appendTextN(text, size, last == (first + 1) % DAYS_PER_WEEK ? "," : "-");
        if (last != first)
            appendTextN(text, size, HABIT_DAY_WORDS[last]);
    }
    return strlen(text);
}

size_t formatTime(char *text, size_t size, int32_t second)
{
    int hours = second / SECONDS_PER_HOUR;
    int minutes = second / SECONDS_PER_MINUTE % MINUTES_PER_HOUR;
    int seconds = second % SECONDS_PER_MINUTE;
    if (seconds == 0)
        return formatTextN(text, size, "%02d:%02d", hours, minutes);
    return formatTextN(text, size, "%02d:%02d:%02d", hours, minutes, seconds);
}

}  // namespace

HabitSettings defaultHabitSettings()
{
    HabitSettings settings = {};
    settings.fadeMinutes = HABIT_FADE_DEFAULT_MINUTES;
    settings.intensity = HABIT_INTENSITY_FULL;
    settings.fullscreen = HABIT_FULLSCREEN_COLOUR;
    return settings;
}

void readHabitText(const char *text, size_t length, HabitReading *reading)
{
    reading->settings = defaultHabitSettings();
    reading->skippedLines = 0;
    for (size_t offset = habitByteOrderMarkLength(text, length); offset < length;) {
        HabitLine line = nextHabitLine(text, length, offset);
        reading->skippedLines += !applyLine(line, &reading->settings);
        offset += line.length;
    }
}

bool rewriteHabitText(const char *text, size_t length, const HabitSettings &settings, char *dest, size_t size,
                      size_t *destLength)
{
    Rewrite rewrite = {};
    rewrite.settings = &settings;
    rewrite.dest = dest;
    rewrite.size = size;
    rewrite.fits = true;
    size_t start = habitByteOrderMarkLength(text, length);
    surveyText(text, length, start, &rewrite);
    put(&rewrite, text, start);
    for (size_t offset = start; offset < length;) {
        HabitLine line = nextHabitLine(text, length, offset);
        offset += line.length;
        rewriteLine(&rewrite, line);
    }
    addMissing(&rewrite);
    *destLength = rewrite.used;
    return rewrite.fits;
}

size_t formatHabitPeriod(char (&line)[HABIT_LINE_BYTES], const HabitPeriod &period)
{
    constexpr size_t DAYS_BYTES = 24;   // "Mon,Wed,Fri,Sun" at most
    constexpr size_t TIME_BYTES = 12;   // "23:59:59"
    char days[DAYS_BYTES];
    char start[TIME_BYTES];
    char end[TIME_BYTES];
    formatDays(days, sizeof days, period.days);
    formatTime(start, sizeof start, period.startSecond);
    formatTime(end, sizeof end, period.endSecond);
    bool named = period.mode > HABIT_MODE_NONE && period.mode < HABIT_PERIOD_MODE_COUNT;
    return formatText(line, "%s %s %s-%s %s", HABIT_PERIOD_WORD, days, start, end,
                      HABIT_MODE_WORDS[named ? period.mode : HABIT_MODE_SCREEN]);
}

const char *habitDayWord(int32_t dayOfWeek)
{
    return HABIT_DAY_WORDS[(dayOfWeek % DAYS_PER_WEEK + DAYS_PER_WEEK) % DAYS_PER_WEEK];
}

void habitReadingNote(char *dest, size_t size, int32_t state, int32_t skippedLines)
{
    constexpr size_t BYTES_PER_KB = 1024;
    if (state == HABIT_FILE_TOO_LARGE)
        formatTextN(dest, size, "habit.txt is larger than %u KB: not read",
                    static_cast<unsigned>(HABIT_FILE_LIMIT / BYTES_PER_KB));
    else if (state == HABIT_FILE_UNREADABLE)
        copyTextN(dest, size, "habit.txt cannot be read");
    else if (state == HABIT_FILE_READ && skippedLines > 0)
        formatTextN(dest, size, "habit.txt: %d %s skipped", static_cast<int>(skippedLines),
                    skippedLines == 1 ? "line" : "lines");
    else
        copyTextN(dest, size, "");
}
