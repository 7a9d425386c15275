// The rules file's text: what is read from it, what is skipped, and a rewrite that
// changes one rule and keeps every other line, skipped ones included, as it stands.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "programRules.h"
#include "unicodeNames.h"

namespace {

// The ANSI code page of a Western system, for its letters: each byte is the code
// point of the same number (as code page 1252 has them from 0xA0 on).
bool westernToUtf8(const char *ansi, size_t length, char *utf8, size_t size)
{
    std::string out;
    for (size_t i = 0; i < length; i++) {
        unsigned char c = static_cast<unsigned char>(ansi[i]);
        out += c < 0x80 ? std::string(1, static_cast<char>(c))
                        : std::string{static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    }
    if (out.size() >= size)
        return false;
    memcpy(utf8, out.c_str(), out.size() + 1);
    return true;
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
// file); a rule set is written in UTF-8 and every other line keeps its bytes, so a
// file of both kinds reads back as it was meant.
TEST(RulesTextEncoding, UTF8AndAnsiLinesAndTheRuleWrittenBetweenThem)
{
    const std::string cafeUtf8 = "caf\xC3\xA9.exe", cafeAnsi = "caf\xE9.exe";
    const std::string greek = "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD.exe";   // Ellen.exe in Greek
    const struct {
        std::string text;
        const char *name;   // UTF-8
        int32_t rule;
    } cases[] = {
        {"gray " + cafeUtf8 + "\n", "caf\xC3\xA9.exe", RULE_GRAY},
        {"gray " + cafeAnsi + "\n", "caf\xC3\xA9.exe", RULE_GRAY},
        {"gray " + cafeUtf8 + "\n", "CAF\xC3\x89.EXE", RULE_GRAY},   // letter case aside: É
        {"colour " + greek + "\n", "\xCE\xB5\xCE\xBB\xCE\xBB\xCE\xB7\xCE\xBD.EXE", RULE_COLOUR},
        {"\xEF\xBB\xBFgray a.exe\n", "a.exe", RULE_GRAY},           // an editor's byte order mark
        {"gray \xC3\xA9\xE9.exe\n", "\xC3\x83\xC2\xA9\xC3\xA9.exe", RULE_GRAY},   // one byte not UTF-8: all ANSI
        {"gray \xED\xA0\x80.exe\n", "\xC3\xAD\xC2\xA0\xC2\x80.exe", RULE_GRAY},   // a surrogate is no UTF-8
    };
    for (const auto &c : cases) {
        RulesReading read = reading(c.text);
        EXPECT_EQ(0, read.skippedLines) << c.text;
        EXPECT_EQ(c.rule, ruleFor(read.rules, c.name)) << c.text;
    }

    const std::string old = "# caf\xE9\r\ncolour " + cafeAnsi + "\r\n";
    std::string text = rewritten(old, greek.c_str(), RULE_GRAY);
    EXPECT_EQ(old + "gray " + greek + "\r\n", text);
    RulesReading read = reading(text);
    EXPECT_EQ(RULE_COLOUR, ruleFor(read.rules, cafeUtf8.c_str()));
    EXPECT_EQ(RULE_GRAY, ruleFor(read.rules, greek.c_str()));
    EXPECT_EQ("\xEF\xBB\xBFgray a.exe\n", rewritten("\xEF\xBB\xBF" "colour a.exe\n", "a.exe", RULE_GRAY))
        << "the byte order mark stays in front";
}

TEST(ProgramNames, LetterCaseAsideInEveryAlphabetWithCase)
{
    const struct {
        const char *a;
        const char *b;
        bool same;
    } cases[] = {
        {"Paint.EXE", "paint.exe", true},
        {"\xC3\x84pfel.exe", "\xC3\xA4PFEL.exe", true},            // Ä ä
        {"\xC5\x81\xC3\xB3d\xC5\xBA.exe", "\xC5\x82\xC3\x93D\xC5\xB9.exe", true},   // Łódź ŁÓDŹ
        {"\xD0\x9C\xD0\xB8\xD1\x80.exe", "\xD0\xBC\xD0\x98\xD0\xA0.exe", true},   // Мир мИР
        {"\xCE\x86\xCF\x81\xCE\xB7\xCF\x82.exe", "\xCE\xAC\xCF\x81\xCE\xB7\xCF\x82.exe", true},   // Άρης
        {"\xEF\xBC\xA1.exe", "\xEF\xBD\x81.exe", true},            // full-width A a
        {"\xE6\x97\xA5\xE6\x9C\xAC.exe", "\xE6\x97\xA5\xE6\x9C\xAC.exe", true},   // no case: itself
        {"\xE6\x97\xA5.exe", "\xE6\x9C\xAC.exe", false},
        {"e.exe", "\xC3\xA9.exe", false},                             // an accent is no case
        {"a.exe", "a.exe ", false},
        {"\xFF.exe", "\xFF.exe", true},                               // bytes that are not UTF-8: exactly
        {"\xFF.exe", "\xFE.exe", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.same, sameProgramName(c.a, strlen(c.a), c.b)) << c.a << " / " << c.b;
    EXPECT_EQ(0x1FFu, lowerLetter(0x1FF)) << "beyond the alphabets with case: itself";
    EXPECT_EQ(static_cast<uint32_t>(0xFF), lowerLetter(0x178));
    EXPECT_EQ(static_cast<uint32_t>(0x131), lowerLetter(0x131)) << "dotless i is its own";

    const struct {
        std::string bytes;
        bool utf8;
    } forms[] = {{"plain", true},           {"\xC3\xA9", true},      {"\xF0\x9F\x98\x80", true},
                 {"\xC3", false},           {"\xC0\xAF", false},      {"\xE0\x80\xAF", false},   // cut, overlong
                 {"\xF4\x90\x80\x80", false}, {"\x80", false},      {"\xE9t\xE9", false}};
    for (const auto &f : forms)
        EXPECT_EQ(f.utf8, isUtf8(f.bytes.data(), f.bytes.size())) << f.bytes;
}
