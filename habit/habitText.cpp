// habit.txt's text (see habitText.h). A line is what runs up to and including its
// "\n"; a "\r" before it belongs to the line end. Settings are read with a cursor
// over the line's bytes, so no line is copied and none is too long to look at.
#include "habitText.h"

#include <cstring>

#include "boundedText.h"

namespace {

const char PERIOD_WORD[] = "period";
const char FADE_WORD[] = "fade";
const char INTENSITY_WORD[] = "intensity";
const char FULLSCREEN_WORD[] = "fullscreen";
// The days of the week from Sunday, as the system counts them, then "daily".
const char *const DAY_WORDS[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "daily"};
constexpr int32_t DAILY = DAYS_PER_WEEK;
// Indexed by HabitMode; "" for the modes a period cannot name.
const char *const MODE_WORDS[] = {"", "screen", "focus", "monitor", "rules"};
constexpr int32_t PERIOD_MODE_COUNT = sizeof MODE_WORDS / sizeof MODE_WORDS[0];
// Indexed by HabitFullscreen.
const char *const FULLSCREEN_WORDS[] = {"colour", "gray"};
constexpr int32_t FULLSCREEN_WORD_COUNT = sizeof FULLSCREEN_WORDS / sizeof FULLSCREEN_WORDS[0];

const char DEFAULT_LINE_END[] = "\r\n";
// Editors that save UTF-8 may start the file with it.
const char BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";
constexpr size_t BYTE_ORDER_MARK_LENGTH = sizeof BYTE_ORDER_MARK - 1;
constexpr char COMMENT_MARK = '#';
constexpr unsigned char FIRST_TEXT_BYTE = 0x20;
constexpr unsigned char DELETE_BYTE = 0x7F;
// Three digits hold every fade and intensity; more are no number we read.
constexpr int32_t SETTING_DIGITS = 3;
constexpr int32_t HOUR_DIGITS = 2;
constexpr int32_t SECONDS_PER_HOUR = 60 * 60;
constexpr int32_t SECONDS_PER_MINUTE = 60;
constexpr int32_t HOURS_PER_DAY = 24;
constexpr int32_t MINUTES_PER_HOUR = 60;
// Days written in week order from Monday, as people write "Mon-Fri".
constexpr int32_t MONDAY = 1;

enum LineKind { LINE_COMMENT, LINE_SKIPPED, LINE_FADE, LINE_INTENSITY, LINE_FULLSCREEN, LINE_PERIOD };
constexpr int32_t SINGLE_SETTING_COUNT = 3;   // fade, intensity, fullscreen: one line each

struct Line {
    const char *start;
    size_t length;      // with its line end
    size_t textLength;  // without it
    bool ended;         // it has its "\n"
    LineKind kind;
    int32_t value;      // fade, intensity or fullscreen
    HabitPeriod period;
};

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

bool holdsOnlyText(const char *text, size_t length)
{
    for (size_t i = 0; i < length; i++) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if ((c < FIRST_TEXT_BYTE && c != '\t') || c == DELETE_BYTE)
            return false;
    }
    return true;
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
    return digits >= fewestDigits && (cursor->at == cursor->end || !isDigit(*cursor->at));
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
    if (!takeNumber(cursor, 1, HOUR_DIGITS, &hour) || !takeChar(cursor, ':') || !takeNumber(cursor, 2, 2, &minute))
        return false;
    if (takeChar(cursor, ':') && !takeNumber(cursor, 2, 2, &extra))
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
    int32_t first = takeWord(cursor, DAY_WORDS, DAYS_PER_WEEK + 1);
    if (first == DAILY) {
        *days = HABIT_ALL_DAYS;
        return true;
    }
    if (first < 0)
        return false;
    int32_t last = first;
    skipBlanks(cursor);
    if (takeChar(cursor, '-') && (last = takeWord(cursor, DAY_WORDS, DAYS_PER_WEEK)) < 0)
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
    period->mode = takeWord(cursor, MODE_WORDS, PERIOD_MODE_COUNT);
    return period->mode > HABIT_MODE_NONE && atEnd(cursor);
}

// What the line's settings say: the keyword picks the rest's reader.
LineKind settingKind(Cursor *cursor, Line *line)
{
    const char *const keywords[] = {PERIOD_WORD, FADE_WORD, INTENSITY_WORD, FULLSCREEN_WORD};
    int32_t keyword = takeWord(cursor, keywords, sizeof keywords / sizeof keywords[0]);
    if (cursor->at == cursor->end || !isBlank(*cursor->at))   // "fade5" is no setting
        return LINE_SKIPPED;
    switch (keyword) {
    case 0: return takePeriod(cursor, &line->period) ? LINE_PERIOD : LINE_SKIPPED;
    case 1: return takeSetting(cursor, HABIT_FADE_LONGEST_MINUTES, &line->value) ? LINE_FADE : LINE_SKIPPED;
    case 2: return takeSetting(cursor, HABIT_INTENSITY_FULL, &line->value) ? LINE_INTENSITY : LINE_SKIPPED;
    case 3:
        line->value = takeWord(cursor, FULLSCREEN_WORDS, FULLSCREEN_WORD_COUNT);
        return line->value >= 0 && atEnd(cursor) ? LINE_FULLSCREEN : LINE_SKIPPED;
    default: return LINE_SKIPPED;
    }
}

void classify(Line *line)
{
    line->kind = LINE_SKIPPED;
    if (!line->ended || !holdsOnlyText(line->start, line->textLength))
        return;
    const char *comment = static_cast<const char *>(memchr(line->start, COMMENT_MARK, line->textLength));
    Cursor cursor = {line->start, comment != nullptr ? comment : line->start + line->textLength};
    line->kind = atEnd(&cursor) ? LINE_COMMENT : settingKind(&cursor, line);
}

Line nextLine(const char *text, size_t length, size_t offset)
{
    Line line = {};
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

size_t byteOrderMarkLength(const char *text, size_t length)
{
    bool marked = length >= BYTE_ORDER_MARK_LENGTH && memcmp(text, BYTE_ORDER_MARK, BYTE_ORDER_MARK_LENGTH) == 0;
    return marked ? BYTE_ORDER_MARK_LENGTH : 0;
}

// Takes a line's setting into settings; false for a line not understood, or a
// period that finds no room.
bool applyLine(const Line &line, HabitSettings *settings)
{
    switch (line.kind) {
    case LINE_FADE: settings->fadeMinutes = line.value; return true;
    case LINE_INTENSITY: settings->intensity = line.value; return true;
    case LINE_FULLSCREEN: settings->fullscreen = line.value; return true;
    case LINE_PERIOD:
        if (settings->periodCount >= HABIT_PERIOD_CAPACITY)
            return false;
        settings->periods[settings->periodCount++] = line.period;
        return true;
    default: return line.kind == LINE_COMMENT;
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
    bool written[SINGLE_SETTING_COUNT];   // by LineKind from LINE_FADE
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
void putNewLine(Rewrite *rewrite, LineKind kind, int32_t period, LineEnd lineEnd)
{
    const HabitSettings &settings = *rewrite->settings;
    char line[HABIT_LINE_BYTES];
    size_t length = 0;
    if (kind == LINE_FADE)
        length = formatText(line, "%s %d", FADE_WORD, static_cast<int>(settings.fadeMinutes));
    else if (kind == LINE_INTENSITY)
        length = formatText(line, "%s %d", INTENSITY_WORD, static_cast<int>(settings.intensity));
    else if (kind == LINE_FULLSCREEN)
        length = formatText(line, "%s %s", FULLSCREEN_WORD, FULLSCREEN_WORDS[settings.fullscreen != 0]);
    else
        length = formatHabitPeriod(line, settings.periods[period]);
    put(rewrite, line, length);
    put(rewrite, lineEnd.bytes, lineEnd.length);
}

// A line the settings hold a value for: kept as it stands when the value is the same.
void putSettingLine(Rewrite *rewrite, const Line &line, int32_t period)
{
    const HabitSettings &settings = *rewrite->settings;
    bool same = line.kind == LINE_PERIOD ? samePeriod(line.period, settings.periods[period])
              : line.kind == LINE_FADE   ? line.value == settings.fadeMinutes
              : line.kind == LINE_INTENSITY ? line.value == settings.intensity
                                            : line.value == (settings.fullscreen != 0);
    if (same)
        put(rewrite, line.start, line.length);
    else
        putNewLine(rewrite, line.kind, period, LineEnd{line.start + line.textLength, line.length - line.textLength});
}

void putPeriodLine(Rewrite *rewrite, const Line &line)
{
    int32_t index = rewrite->periodLines++;
    if (index < rewrite->settings->periodCount)
        putSettingLine(rewrite, line, index);
    if (rewrite->periodLines != rewrite->oldPeriods)
        return;
    LineEnd own = {line.start + line.textLength, line.length - line.textLength};
    for (int32_t i = rewrite->oldPeriods; i < rewrite->settings->periodCount; i++)
        putNewLine(rewrite, LINE_PERIOD, i, own);
}

// The settings the text had no line for, once.
void addMissing(Rewrite *rewrite)
{
    if (rewrite->added)
        return;
    rewrite->added = true;
    for (int32_t i = 0; i < SINGLE_SETTING_COUNT; i++)
        if (!rewrite->written[i])
            putNewLine(rewrite, static_cast<LineKind>(LINE_FADE + i), 0, rewrite->lineEnd);
    if (rewrite->oldPeriods == 0)
        for (int32_t i = 0; i < rewrite->settings->periodCount; i++)
            putNewLine(rewrite, LINE_PERIOD, i, rewrite->lineEnd);
}

void rewriteLine(Rewrite *rewrite, const Line &line)
{
    if (!line.ended)   // a last line without its end stays last
        addMissing(rewrite);
    if (line.kind == LINE_PERIOD) {
        putPeriodLine(rewrite, line);
    } else if (line.kind == LINE_FADE || line.kind == LINE_INTENSITY || line.kind == LINE_FULLSCREEN) {
        bool &written = rewrite->written[line.kind - LINE_FADE];
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
        Line line = nextLine(text, length, offset);
        offset += line.length;
        rewrite->oldPeriods += line.kind == LINE_PERIOD;
        if (line.ended && !lineEndKnown)
            rewrite->lineEnd = LineEnd{line.start + line.textLength, line.length - line.textLength};
        lineEndKnown = lineEndKnown || line.ended;
    }
}

size_t formatDays(char *text, size_t size, int32_t days)
{
    if (days == HABIT_ALL_DAYS)
        return copyTextN(text, size, DAY_WORDS[DAILY]);
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
        appendTextN(text, size, DAY_WORDS[first]);
        if (last != first)
            appendTextN(text, size, last == (first + 1) % DAYS_PER_WEEK ? "," : "-");
        if (last != first)
            appendTextN(text, size, DAY_WORDS[last]);
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
    for (size_t offset = byteOrderMarkLength(text, length); offset < length;) {
        Line line = nextLine(text, length, offset);
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
    size_t start = byteOrderMarkLength(text, length);
    surveyText(text, length, start, &rewrite);
    put(&rewrite, text, start);
    for (size_t offset = start; offset < length;) {
        Line line = nextLine(text, length, offset);
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
    bool named = period.mode > HABIT_MODE_NONE && period.mode < PERIOD_MODE_COUNT;
    return formatText(line, "%s %s %s-%s %s", PERIOD_WORD, days, start, end,
                      MODE_WORDS[named ? period.mode : HABIT_MODE_SCREEN]);
}

const char *habitDayWord(int32_t dayOfWeek)
{
    return DAY_WORDS[(dayOfWeek % DAYS_PER_WEEK + DAYS_PER_WEEK) % DAYS_PER_WEEK];
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
