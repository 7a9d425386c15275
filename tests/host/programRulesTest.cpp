// The rules file's text: what is read from it, what is skipped, and a rewrite that
// changes one rule and keeps every other line, skipped ones included, as it stands.
#include <gtest/gtest.h>

#include <string>

#include "programRules.h"

namespace {

// The ANSI code page of a Western system, for its letters: each byte is the code
// point of the same number (as code page 1252 has them from 0xA0 on).
bool westernToUtf8(const char *ansi, size_t length, char *utf8, size_t size)
{
    size_t used = 0;
    for (size_t i = 0; i < length && used + 3 <= size; i++) {
        unsigned char c = static_cast<unsigned char>(ansi[i]);
        if (c >= 0x80)
            utf8[used++] = static_cast<char>(0xC0 | c >> 6);
        utf8[used++] = static_cast<char>(c < 0x80 ? c : 0x80 | (c & 0x3F));
    }
    utf8[used] = '\0';
    return used + 3 <= size;
}

RulesReading reading(const std::string &text)
{
    RulesReading read;
    readRulesText(text.data(), text.size(), westernToUtf8, &read);
    return read;
}

std::string rewritten(const std::string &text, const char *name, int32_t kind)
{
    static char dest[RULES_FILE_LIMIT];
    size_t length = 0;
    EXPECT_TRUE(rewriteRulesText(text.data(), text.size(), westernToUtf8, name, kind, dest, sizeof dest, &length));
    return std::string(dest, length);
}

}  // namespace

TEST(ReadRulesText, RulesCommentsAndTheLinesItSkips)
{
    const std::string tooLong = "gray " + std::string(RULE_NAME_BYTES, 'a') + ".exe\n";
    const struct {
        std::string text;
        int32_t rules;
        int32_t skipped;
    } cases[] = {
        {"colour mspaint.exe\r\ngray Chrome.exe\n", 2, 0},
        {"# comment\n\n   \r\n\t# indented comment\n", 0, 0},
        {"Colour  My App.exe  \n", 1, 0},                        // any case, blanks around, blanks inside
        {"colours x.exe\nkeep x.exe\ncolour\ncolour \n", 0, 4},   // unknown words, no name
        {tooLong, 0, 1},
        {std::string("gray a\0b.exe\n", 13) + "colour \x01x.exe\n", 0, 2},   // bytes no text holds
        {"colour a.exe\ngray b.exe", 1, 1},                       // no line end at the end of the file
        {"colour a.exe\ngray A.EXE\n", 1, 0},                     // one program: the later line holds
    };
    for (const auto &c : cases) {
        RulesReading read = reading(c.text);
        EXPECT_EQ(c.rules, read.rules.count) << c.text;
        EXPECT_EQ(c.skipped, read.skippedLines) << c.text;
    }
    RulesReading read = reading("colour mspaint.exe\ngray chrome.exe\ngray MSPAINT.exe\n");
    EXPECT_EQ(RULE_GRAY, ruleFor(read.rules, "MsPaint.EXE"));
    EXPECT_EQ(RULE_GRAY, ruleFor(read.rules, "chrome.exe"));
    EXPECT_EQ(RULE_NONE, ruleFor(read.rules, "notepad.exe"));
}

TEST(ReadRulesText, TheRuleAfterTheLastThatFitsIsSkipped)
{
    std::string text;
    for (int i = 0; i <= RULE_CAPACITY; i++)
        text += "gray p" + std::to_string(i) + ".exe\n";
    RulesReading read = reading(text + "colour p0.exe\n");   // an old program still takes its new rule
    EXPECT_EQ(RULE_CAPACITY, read.rules.count);
    EXPECT_EQ(1, read.skippedLines);
    EXPECT_EQ(RULE_COLOUR, ruleFor(read.rules, "p0.exe"));
}

TEST(RewriteRulesText, ChangesOneProgramAndKeepsEveryOtherLineAsItStands)
{
    const std::string kept = "# mine\r\nbogus line\r\ncolour keep.exe\r\n";
    const struct {
        std::string text;
        const char *name;
        int32_t kind;
        std::string expected;
    } cases[] = {
        {"", "a.exe", RULE_COLOUR, "colour a.exe\r\n"},
        {kept, "a.exe", RULE_GRAY, kept + "gray a.exe\r\n"},
        {"x\nGRAY A.exe\ny\ncolour a.exe\n", "a.exe", RULE_COLOUR, "x\ncolour a.exe\ny\n"},   // its line end
        {kept + "gray a.exe\r\n", "A.EXE", RULE_NONE, kept},
        {kept + "half a li", "a.exe", RULE_COLOUR, kept + "colour a.exe\r\nhalf a li"},   // stays last
        {std::string("\x01\x02 binary\n", 10), "b.exe", RULE_GRAY, std::string("\x01\x02 binary\ngray b.exe\n", 21)},
    };
    for (const auto &c : cases) {
        std::string text = rewritten(c.text, c.name, c.kind);
        EXPECT_EQ(c.expected, text);
        RulesReading before = reading(c.text), after = reading(text);
        EXPECT_EQ(before.skippedLines, after.skippedLines) << "the skipped lines are kept";
        EXPECT_EQ(c.kind, ruleFor(after.rules, c.name));
    }
    char small[8];
    size_t length = 0;
    EXPECT_FALSE(
        rewriteRulesText(kept.data(), kept.size(), westernToUtf8, "a.exe", RULE_GRAY, small, sizeof small, &length));
}

// A line's name is UTF-8 when its bytes are, else the ANSI code page's (an older
// file); names match letter case aside in every alphabet with case. A rule set is
// written in UTF-8 and the other lines keep their bytes: such a file reads back right.
TEST(RulesTextEncoding, UTF8AndAnsiNamesAndTheRuleWrittenBetweenThem)
{
    const struct {
        std::string line;   // "gray " + name + "\n"
        const char *asked;  // UTF-8
        bool ruled;
    } cases[] = {
        {"caf\xC3\xA9.exe", "CAF\xC3\x89.EXE", true},                  // UTF-8, any case: É
        {"caf\xE9.exe", "caf\xC3\xA9.exe", true},                       // ANSI
        {"\xEF\xBB\xBFgray a.exe", "a.exe", true},                     // an editor's byte order mark
        {"\xC3\xA9\xE9.exe", "\xC3\x83\xC2\xA9\xC3\xA9.exe", true},   // one byte not UTF-8: all ANSI
        {"\xED\xA0\x80.exe", "\xC3\xAD\xC2\xA0\xC2\x80.exe", true},   // a surrogate is no UTF-8
        {"\xC0\xAF.exe", "\xC3\x80\xC2\xAF.exe", true},              // nor an overlong form
        {"\xC5\x81\xC3\xB3" "d\xC5\xBA.exe", "\xC5\x82\xC3\x93" "D\xC5\xB9.exe", true},   // Łódź ŁÓDŹ
        {"\xD0\x9C\xD0\xB8\xD1\x80.exe", "\xD0\xBC\xD0\x98\xD0\xA0.exe", true},   // Мир мИР
        {"\xCE\x86\xCF\x81\xCE\xB7\xCF\x82.exe", "\xCE\xAC\xCF\x81\xCE\xB7\xCF\x82.EXE", true},   // Άρης
        {"\xEF\xBC\xA1.exe", "\xEF\xBD\x81.exe", true},               // full-width A a
        {"\xE6\x97\xA5.exe", "\xE6\x9C\xAC.exe", false},              // no case: itself only
        {"e.exe", "\xC3\xA9.exe", false},                                // an accent is no case
    };
    for (const auto &c : cases) {
        bool marked = c.line.compare(0, 3, "\xEF\xBB\xBF") == 0;
        RulesReading read = reading(marked ? c.line + "\n" : "gray " + c.line + "\n");
        EXPECT_EQ(0, read.skippedLines) << c.line;
        EXPECT_EQ(c.ruled ? RULE_GRAY : RULE_NONE, ruleFor(read.rules, c.asked)) << c.line;
    }

    const std::string greek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD.exe";
    const std::string old = "\xEF\xBB\xBF# caf\xE9\r\ncolour caf\xE9.exe\r\n";
    std::string text = rewritten(old, greek.c_str(), RULE_GRAY);
    EXPECT_EQ(old + "gray " + greek + "\r\n", text);
    RulesReading read = reading(text);
    EXPECT_EQ(RULE_COLOUR, ruleFor(read.rules, "caf\xC3\xA9.exe"));
    EXPECT_EQ(RULE_GRAY, ruleFor(read.rules, greek.c_str()));
}
