// The rules file's text (see programRules.h). A line is what runs up to and
// including its "\n"; a "\r" before it belongs to the line end.
#include "programRules.h"

#include <cstring>

#include "boundedText.h"
#include "textBytes.h"
#include "unicodeNames.h"

namespace {

const char COLOUR_WORD[] = "colour";
const char GRAY_WORD[] = "gray";
const char DEFAULT_LINE_END[] = "\r\n";
// Editors that save UTF-8 may start the file with it.
const char BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";
constexpr size_t BYTE_ORDER_MARK_LENGTH = sizeof BYTE_ORDER_MARK - 1;
constexpr char COMMENT_MARK = '#';
// The longest line the program writes: the word, a blank and the name.
constexpr size_t RULE_LINE_BYTES = sizeof COLOUR_WORD + RULE_NAME_BYTES;

enum LineKind { LINE_COMMENT, LINE_RULE, LINE_SKIPPED };

struct Line {
    const char *start;
    size_t length;      // with its line end
    size_t textLength;  // without it
    bool ended;         // it has its "\n"
    LineKind kind;
    int32_t ruleKind;
    char name[RULE_NAME_BYTES];
};

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(const char *a, size_t aLength, const char *b)
{
    size_t i = 0;
    for (; i < aLength; i++)
        if (b[i] == '\0' || lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return b[i] == '\0';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

int32_t ruleKindOfWord(const char *word, size_t length)
{
    if (sameName(word, length, COLOUR_WORD))
        return RULE_COLOUR;
    if (sameName(word, length, GRAY_WORD))
        return RULE_GRAY;
    return RULE_NONE;
}

// The name's bytes in UTF-8, decoded from the ANSI code page when they are not UTF-8.
bool takeName(const char *bytes, size_t length, AnsiDecoder decodeAnsi, char (&name)[RULE_NAME_BYTES])
{
    if (!isUtf8(bytes, length))
        return decodeAnsi != nullptr && decodeAnsi(bytes, length, name, sizeof name);
    if (length >= RULE_NAME_BYTES)
        return false;
    memcpy(name, bytes, length);
    name[length] = '\0';
    return true;
}

// What a line says, before the rule count is known.
void classify(Line *line, AnsiDecoder decodeAnsi)
{
    const char *text = line->start;
    size_t end = line->textLength;
    line->kind = LINE_SKIPPED;
    if (!line->ended || !holdsOnlyText(text, end))
        return;
    size_t at = 0;
    while (at < end && isBlank(text[at]))
        at++;
    if (at == end || text[at] == COMMENT_MARK) {
        line->kind = LINE_COMMENT;
        return;
    }
    size_t wordStart = at;
    while (at < end && !isBlank(text[at]))
        at++;
    line->ruleKind = ruleKindOfWord(text + wordStart, at - wordStart);
    size_t nameStart = at;
    while (nameStart < end && isBlank(text[nameStart]))
        nameStart++;
    while (end > nameStart && isBlank(text[end - 1]))
        end--;
    size_t nameLength = end - nameStart;
    if (line->ruleKind == RULE_NONE || nameStart == at || nameLength == 0 ||
        !takeName(text + nameStart, nameLength, decodeAnsi, line->name))
        return;
    line->kind = LINE_RULE;
}

// The line that starts at offset; its rule taken into rules, unless there is no
// room, which makes it a skipped line.
Line nextLine(const char *text, size_t length, size_t offset, AnsiDecoder decodeAnsi, ProgramRules *rules)
{
    Line line = {};
    line.start = text + offset;
    const char *newline = static_cast<const char *>(memchr(line.start, '\n', length - offset));
    line.ended = newline != nullptr;
    line.length = line.ended ? static_cast<size_t>(newline - line.start) + 1 : length - offset;
    line.textLength = line.ended ? line.length - 1 : line.length;
    if (line.ended && line.textLength > 0 && line.start[line.textLength - 1] == '\r')
        line.textLength--;
    classify(&line, decodeAnsi);
    if (line.kind == LINE_RULE && !setRule(rules, line.name, line.ruleKind))
        line.kind = LINE_SKIPPED;
    return line;
}

int32_t findRule(const ProgramRules &rules, const char *programName)
{
    for (int32_t i = 0; i < rules.count; i++)
        if (sameProgramName(rules.rules[i].name, strlen(rules.rules[i].name), programName))
            return i;
    return -1;
}

// Appends bytes to dest if they fit.
bool put(char *dest, size_t size, size_t *used, const char *bytes, size_t count)
{
    if (count > size - *used)
        return false;
    memcpy(dest + *used, bytes, count);
    *used += count;
    return true;
}

bool putRuleLine(char *dest, size_t size, size_t *used, const char *programName, int32_t kind, const char *lineEnd,
                 size_t lineEndLength)
{
    char line[RULE_LINE_BYTES];
    size_t length = formatText(line, "%s %s", ruleWord(kind), programName);
    return put(dest, size, used, line, length) && put(dest, size, used, lineEnd, lineEndLength);
}

size_t byteOrderMarkLength(const char *text, size_t length)
{
    bool marked = length >= BYTE_ORDER_MARK_LENGTH && memcmp(text, BYTE_ORDER_MARK, BYTE_ORDER_MARK_LENGTH) == 0;
    return marked ? BYTE_ORDER_MARK_LENGTH : 0;
}

}  // namespace

void readRulesText(const char *text, size_t length, AnsiDecoder decodeAnsi, RulesReading *reading)
{
    *reading = RulesReading{};
    for (size_t offset = byteOrderMarkLength(text, length); offset < length;) {
        Line line = nextLine(text, length, offset, decodeAnsi, &reading->rules);
        reading->skippedLines += line.kind == LINE_SKIPPED;
        offset += line.length;
    }
}

int32_t ruleFor(const ProgramRules &rules, const char *programName)
{
    int32_t index = findRule(rules, programName);
    return index < 0 ? RULE_NONE : rules.rules[index].kind;
}

bool setRule(ProgramRules *rules, const char *programName, int32_t kind)
{
    int32_t index = findRule(*rules, programName);
    if (index >= 0 && kind == RULE_NONE) {
        for (int32_t i = index; i + 1 < rules->count; i++)
            rules->rules[i] = rules->rules[i + 1];
        rules->count--;
        return true;
    }
    if (index < 0 && kind == RULE_NONE)
        return true;
    if (index < 0) {
        if (rules->count >= RULE_CAPACITY)
            return false;
        index = rules->count++;
    }
    rules->rules[index].kind = kind;
    copyText(rules->rules[index].name, programName);
    return true;
}

bool rewriteRulesText(const char *text, size_t length, AnsiDecoder decodeAnsi, const char *programName, int32_t kind,
                      char *dest, size_t size, size_t *destLength)
{
    ProgramRules seen = {};
    size_t used = 0;
    size_t start = byteOrderMarkLength(text, length);
    if (!put(dest, size, &used, text, start))
        return false;
    bool written = kind == RULE_NONE;
    const char *lineEnd = DEFAULT_LINE_END;
    size_t lineEndLength = sizeof DEFAULT_LINE_END - 1;
    bool lineEndKnown = false;
    for (size_t offset = start; offset < length;) {
        Line line = nextLine(text, length, offset, decodeAnsi, &seen);
        offset += line.length;
        if (line.ended && !lineEndKnown) {
            lineEnd = line.start + line.textLength;
            lineEndLength = line.length - line.textLength;
            lineEndKnown = true;
        }
        if (!line.ended && !written) {   // a last line without its end stays last
            if (!putRuleLine(dest, size, &used, programName, kind, lineEnd, lineEndLength))
                return false;
            written = true;
        }
        bool ours = line.kind == LINE_RULE && sameProgramName(line.name, strlen(line.name), programName);
        if (!ours) {
            if (!put(dest, size, &used, line.start, line.length))
                return false;
        } else if (!written) {
            const char *ownEnd = line.start + line.textLength;
            if (!putRuleLine(dest, size, &used, programName, kind, ownEnd, line.length - line.textLength))
                return false;
            written = true;
        }
    }
    if (!written && !putRuleLine(dest, size, &used, programName, kind, lineEnd, lineEndLength))
        return false;
    *destLength = used;
    return true;
}

const char *ruleWord(int32_t kind)
{
    return kind == RULE_COLOUR ? COLOUR_WORD : kind == RULE_GRAY ? GRAY_WORD : "";
}

void rulesReadingNote(char *dest, size_t size, int32_t state, int32_t skippedLines)
{
    constexpr size_t BYTES_PER_KB = 1024;
    if (state == RULES_FILE_TOO_LARGE)
        formatTextN(dest, size, "rules.txt is larger than %u KB: not read",
                    static_cast<unsigned>(RULES_FILE_LIMIT / BYTES_PER_KB));
    else if (state == RULES_FILE_UNREADABLE)
        copyTextN(dest, size, "rules.txt cannot be read");
    else if (state == RULES_FILE_READ && skippedLines > 0)
        formatTextN(dest, size, "rules.txt: %d %s skipped", static_cast<int>(skippedLines),
                    skippedLines == 1 ? "line" : "lines");
    else
        copyTextN(dest, size, "");
}
