// The periods box read and written through habit.txt's own reader and writer, so
// the box accepts exactly the period lines the file does.
#include "habitPeriodsBox.h"

#include <cstring>

#include "boundedText.h"
#include "habitLines.h"

namespace {

bool isBlank(const char *line, size_t length)
{
    for (size_t i = 0; i < length; i++)
        if (line[i] != ' ' && line[i] != '\t')
            return false;
    return true;
}

void refuse(PeriodsBoxReading *reading, int32_t verdict, int32_t lineNumber, const char *line, size_t length)
{
    reading->verdict = verdict;
    reading->refusedLine = lineNumber;
    size_t kept = length < sizeof reading->refusedText - 1 ? length : sizeof reading->refusedText - 1;
    memcpy(reading->refusedText, line, kept);
    reading->refusedText[kept] = '\0';
}

}  // namespace

size_t formatPeriodsBox(char *dest, size_t size, const HabitSettings &settings)
{
    constexpr size_t WORD_AND_SPACE = sizeof HABIT_PERIOD_WORD;   // "period "
    if (size > 0)
        dest[0] = '\0';
    size_t used = 0;
    for (int32_t i = 0; i < settings.periodCount; i++) {
        char line[HABIT_LINE_BYTES];
        size_t length = formatHabitPeriod(line, settings.periods[i]);
        if (length > WORD_AND_SPACE)
            appendTextN(dest, size, line + WORD_AND_SPACE);
        used = appendTextN(dest, size, HABIT_BOX_LINE_END);
    }
    return used;
}

bool readPeriodLine(const char *line, size_t length, HabitPeriod *period)
{
    // "period " + the line + its line end, as the file would hold it.
    char fileLine[2 * HABIT_LINE_BYTES];
    size_t prefix = formatText(fileLine, "%s ", HABIT_PERIOD_WORD);
    if (length + prefix + 1 >= sizeof fileLine)
        return false;
    memcpy(fileLine + prefix, line, length);
    fileLine[prefix + length] = '\n';
    HabitReading reading;
    readHabitText(fileLine, prefix + length + 1, &reading);
    if (reading.skippedLines != 0 || reading.settings.periodCount != 1)
        return false;
    *period = reading.settings.periods[0];
    return true;
}

void readPeriodsBox(const char *text, size_t length, PeriodsBoxReading *reading)
{
    *reading = PeriodsBoxReading{};
    int32_t lineNumber = 0;
    size_t start = 0;
    while (start < length) {
        const char *lineEnd = static_cast<const char *>(memchr(text + start, '\n', length - start));
        size_t next = lineEnd != nullptr ? static_cast<size_t>(lineEnd - text) + 1 : length;
        size_t lineLength = next - start - (lineEnd != nullptr ? 1 : 0);
        if (lineLength > 0 && text[start + lineLength - 1] == '\r')
            lineLength--;
        const char *line = text + start;
        lineNumber++;
        start = next;
        if (isBlank(line, lineLength))
            continue;
        HabitPeriod period;
        if (!readPeriodLine(line, lineLength, &period))
            return refuse(reading, PERIODS_BOX_LINE_NOT_UNDERSTOOD, lineNumber, line, lineLength);
        if (reading->periodCount == HABIT_PERIOD_CAPACITY)
            return refuse(reading, PERIODS_BOX_TOO_MANY, lineNumber, line, lineLength);
        reading->periods[reading->periodCount++] = period;
    }
}
