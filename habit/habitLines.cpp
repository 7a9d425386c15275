// Reading one line of habit.txt (see habitLines.h). Settings are read with a
// cursor over the line's bytes, so no line is copied and none is too long to look at.
#include "habitLines.h"

#include <cstring>

#include "textBytes.h"

namespace {

const char BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";
constexpr size_t BYTE_ORDER_MARK_LENGTH = sizeof BYTE_ORDER_MARK - 1;
constexpr char COMMENT_MARK = '#';
// Three digits hold every fade and intensity; more are no number we read.
constexpr int32_t SETTING_DIGITS = 3;
constexpr int32_t HOUR_DIGITS = 2;   // "7:00" or "07:00"
constexpr int32_t MINUTE_DIGITS = 2;   // minutes and seconds: always two
constexpr int32_t HOURS_PER_DAY = 24;
constexpr int32_t MINUTES_PER_HOUR = 60;

// The unread rest of a line's settings.
struct Cursor {
    const char *at;
    const char *end;
};

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool isLetter(char c)
{
    return lowerAscii(c) >= 'a' && lowerAscii(c) <= 'z';
}

bool sameWord(const char *a, size_t aLength, const char *b)
{
    size_t i = 0;
    for (; i < aLength; i++)
        if (b[i] == '\0' || lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return b[i] == '\0';
}

void skipBlanks(Cursor *cursor)
{
    while (cursor->at < cursor->end && isBlank(*cursor->at))
        cursor->at++;
}

bool atEnd(Cursor *cursor)
{
    skipBlanks(cursor);
    return cursor->at == cursor->end;
}

bool takeChar(Cursor *cursor, char c)
{
    if (cursor->at == cursor->end || *cursor->at != c)
        return false;
    cursor->at++;
    return true;
}

// The index of the word the cursor stands on among count words (letters only),
// or -1; the cursor moves past the word either way.
int32_t takeWord(Cursor *cursor, const char *const *words, int32_t count)
{
    skipBlanks(cursor);
    const char *start = cursor->at;
    while (cursor->at < cursor->end && isLetter(*cursor->at))
        cursor->at++;
    size_t length = static_cast<size_t>(cursor->at - start);
    for (int32_t i = 0; i < count; i++)
        if (length > 0 && sameWord(start, length, words[i]))
            return i;
    return -1;
}

bool takeNumber(Cursor *cursor, int32_t fewestDigits, int32_t mostDigits, int32_t *value)
{
    int32_t digits = 0;
    *value = 0;
    while (cursor->at < cursor->end && isDigit(*cursor->at) && digits < mostDigits) {
        *value = *value * 10 + (*cursor->at++ - '0');
        digits++;
    }
    return digits >= fewestDigits;   // a digit left over fails what must follow
}

bool takeSetting(Cursor *cursor, int32_t most, int32_t *value)
{
    skipBlanks(cursor);
    return takeNumber(cursor, 1, SETTING_DIGITS, value) && *value <= most && atEnd(cursor);
}

// HH:MM or HH:MM:SS in seconds after midnight; 24:00 only where the day's end may stand.
bool takeTime(Cursor *cursor, bool endOfDay, int32_t *second)
{
    int32_t hour = 0, minute = 0, extra = 0;
    skipBlanks(cursor);
    if (!takeNumber(cursor, 1, HOUR_DIGITS, &hour) || !takeChar(cursor, ':'))
        return false;
    if (!takeNumber(cursor, MINUTE_DIGITS, MINUTE_DIGITS, &minute))
        return false;
    if (takeChar(cursor, ':') && !takeNumber(cursor, MINUTE_DIGITS, MINUTE_DIGITS, &extra))
        return false;
    *second = hour * SECONDS_PER_HOUR + minute * SECONDS_PER_MINUTE + extra;
    if (hour == HOURS_PER_DAY)
        return endOfDay && minute == 0 && extra == 0;
    return hour < HOURS_PER_DAY && minute < MINUTES_PER_HOUR && extra < SECONDS_PER_MINUTE;
}

int32_t dayRange(int32_t first, int32_t last)
{
    int32_t days = 0;
    for (int32_t day = first;; day = (day + 1) % DAYS_PER_WEEK) {
        days |= 1 << day;
        if (day == last)
            return days;
    }
}

// One item of a day list: "daily", "Mon", or a range, which may wrap: "Fri-Mon".
bool takeDayItem(Cursor *cursor, int32_t *days)
{
    int32_t first = takeWord(cursor, HABIT_DAY_WORDS, DAYS_PER_WEEK + 1);
    if (first == HABIT_DAILY) {
        *days = HABIT_ALL_DAYS;
        return true;
    }
    if (first < 0)
        return false;
    int32_t last = first;
    skipBlanks(cursor);
    if (takeChar(cursor, '-') && (last = takeWord(cursor, HABIT_DAY_WORDS, DAYS_PER_WEEK)) < 0)
        return false;
    *days |= dayRange(first, last);
    return true;
}

// A list of day items: "Sat,Sun", "Mon, Wed-Fri".
bool takeDays(Cursor *cursor, int32_t *days)
{
    *days = 0;
    do {
        if (!takeDayItem(cursor, days))
            return false;
        skipBlanks(cursor);
    } while (takeChar(cursor, ','));
    return true;
}

// DAYS START-END [MODE]
bool takePeriod(Cursor *cursor, HabitPeriod *period)
{
    *period = HabitPeriod{};
    if (!takeDays(cursor, &period->days) || !takeTime(cursor, false, &period->startSecond))
        return false;
    skipBlanks(cursor);
    if (!takeChar(cursor, '-') || !takeTime(cursor, true, &period->endSecond) ||
        period->startSecond == period->endSecond)
        return false;
    period->mode = HABIT_MODE_SCREEN;
    if (atEnd(cursor))
        return true;
    period->mode = takeWord(cursor, HABIT_MODE_WORDS, HABIT_PERIOD_MODE_COUNT);
    return period->mode > HABIT_MODE_NONE && atEnd(cursor);
}

bool takeFullscreen(Cursor *cursor, int32_t *value)
{
    *value = takeWord(cursor, HABIT_FULLSCREEN_WORDS, HABIT_FULLSCREEN_WORD_COUNT);
    return *value >= 0 && atEnd(cursor);
}

// What the line's settings say: the keyword picks the reader of the rest.
HabitLineKind settingKind(Cursor *cursor, HabitLine *line)
{
    const char *const keywords[] = {HABIT_PERIOD_WORD, HABIT_FADE_WORD, HABIT_INTENSITY_WORD, HABIT_FULLSCREEN_WORD};
    const HabitLineKind kinds[] = {HABIT_LINE_PERIOD, HABIT_LINE_FADE, HABIT_LINE_INTENSITY, HABIT_LINE_FULLSCREEN};
    int32_t keyword = takeWord(cursor, keywords, sizeof keywords / sizeof keywords[0]);
    if (keyword < 0 || cursor->at == cursor->end || !isBlank(*cursor->at))   // "fade5" is no setting
        return HABIT_LINE_SKIPPED;
    HabitLineKind kind = kinds[keyword];
    bool understood = kind == HABIT_LINE_PERIOD      ? takePeriod(cursor, &line->period)
                    : kind == HABIT_LINE_FADE        ? takeSetting(cursor, HABIT_FADE_LONGEST_MINUTES, &line->value)
                    : kind == HABIT_LINE_INTENSITY   ? takeSetting(cursor, HABIT_INTENSITY_FULL, &line->value)
                                                     : takeFullscreen(cursor, &line->value);
    return understood ? kind : HABIT_LINE_SKIPPED;
}

void classify(HabitLine *line)
{
    line->kind = HABIT_LINE_SKIPPED;
    if (!line->ended || !holdsOnlyText(line->start, line->textLength))
        return;
    const char *comment = static_cast<const char *>(memchr(line->start, COMMENT_MARK, line->textLength));
    Cursor cursor = {line->start, comment != nullptr ? comment : line->start + line->textLength};
    line->kind = atEnd(&cursor) ? HABIT_LINE_COMMENT : settingKind(&cursor, line);
}

}  // namespace

HabitLine nextHabitLine(const char *text, size_t length, size_t offset)
{
    HabitLine line = {};
    line.start = text + offset;
    const char *newline = static_cast<const char *>(memchr(line.start, '\n', length - offset));
    line.ended = newline != nullptr;
    line.length = line.ended ? static_cast<size_t>(newline - line.start) + 1 : length - offset;
    line.textLength = line.ended ? line.length - 1 : line.length;
    if (line.ended && line.textLength > 0 && line.start[line.textLength - 1] == '\r')
        line.textLength--;
    classify(&line);
    return line;
}

size_t habitByteOrderMarkLength(const char *text, size_t length)
{
    bool marked = length >= BYTE_ORDER_MARK_LENGTH && memcmp(text, BYTE_ORDER_MARK, BYTE_ORDER_MARK_LENGTH) == 0;
    return marked ? BYTE_ORDER_MARK_LENGTH : 0;
}

