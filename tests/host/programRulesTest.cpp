// The rules file's text: what is read from it, what is skipped, and a rewrite that
// changes one rule and keeps every other line, skipped ones included, as it stands.
#include <gtest/gtest.h>

#include <string>

#include "programRules.h"

namespace {

RulesReading reading(const std::string &text)
{
    RulesReading read;
    readRulesText(text.data(), text.size(), &read);
    return read;
}

std::string rewritten(const std::string &text, const char *name, int32_t kind)
{
    static char dest[RULES_FILE_LIMIT];
    size_t length = 0;
    EXPECT_TRUE(rewriteRulesText(text.data(), text.size(), name, kind, dest, sizeof dest, &length));
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
    EXPECT_FALSE(rewriteRulesText(kept.data(), kept.size(), "a.exe", RULE_GRAY, small, sizeof small, &length));
}
