// Program rules: "colour NAME" keeps every window of the program NAME in colour,
// "gray NAME" grays it in the rules mode. This is the pure part: the rules file's
// text read into rules, and the text written back with one rule changed, every
// other line kept byte for byte. Names are held in UTF-8; a line whose name is not
// UTF-8 was written in the ANSI code page (an older file) and is decoded from it.
// No platform headers; unit-tested on the host.
#pragma once

#include <cstddef>
#include <cstdint>

enum RuleKind : int32_t { RULE_NONE = 0, RULE_COLOUR = 1, RULE_GRAY = 2 };

constexpr int32_t RULE_CAPACITY = 256;
// A program's file name in UTF-8, "mspaint.exe"; a longer name makes its line one we skip.
constexpr size_t RULE_NAME_BYTES = 128;
// A file larger than this is no rules file: it is not read (nor written over).
constexpr size_t RULES_FILE_LIMIT = 64 * 1024;

struct ProgramRule {
    int32_t kind;
    char name[RULE_NAME_BYTES];
};

struct ProgramRules {
    int32_t count;
    ProgramRule rules[RULE_CAPACITY];
};

// The rules of a text, and how many of its lines were not understood (an unknown
// word, a name too long or missing, bytes no text holds, the 257th rule, or a
// last line without its line end). Blank lines and lines starting with "#" are
// comments. Of two lines for one program, the later one holds. A UTF-8 byte order
// mark at the start is no part of the first line.
struct RulesReading {
    ProgramRules rules;
    int32_t skippedLines;
};
// Writes the UTF-8 form of a name in the ANSI code page into utf8 (NUL-terminated);
// false when it cannot be decoded or does not fit into size bytes.
typedef bool (*AnsiDecoder)(const char *ansi, size_t length, char *utf8, size_t size);
void readRulesText(const char *text, size_t length, AnsiDecoder decodeAnsi, RulesReading *reading);

// The rule for a program's file name (UTF-8), letter case aside; RULE_NONE without one.
int32_t ruleFor(const ProgramRules &rules, const char *programName);
// Sets (or, with RULE_NONE, removes) the rule of a program in the rules; false
// when there is no room for another.
bool setRule(ProgramRules *rules, const char *programName, int32_t kind);

// The text with the program's rule set to kind: its first rule line rewritten,
// its other rule lines taken out, or a line added (before a last line that has no
// line end, which stays last). Every other line is kept as it stands. false when
// the result would not fit into size bytes (dest is then undefined).
// The new line is written in UTF-8, whatever the file's other lines are written in.
bool rewriteRulesText(const char *text, size_t length, AnsiDecoder decodeAnsi, const char *programName, int32_t kind,
                      char *dest, size_t size, size_t *destLength);

// A rule's word as the program writes it: "colour", "gray" ("" for none).
const char *ruleWord(int32_t kind);

// What came of reading rules.txt.
enum RulesFileState : int32_t {
    RULES_FILE_MISSING = 0,   // no rules
    RULES_FILE_READ = 1,
    RULES_FILE_TOO_LARGE = 2,   // not read, and never written over
    RULES_FILE_UNREADABLE = 3,
};
// The status-bar note on a reading; empty when there is nothing to say.
void rulesReadingNote(char *dest, size_t size, int32_t state, int32_t skippedLines);
