// The settings-file line: which texts are accepted, what they give, and the
// line the program writes back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "graySettings.h"

namespace {

struct AcceptedCase {
    const char *text;
    int32_t convertType;
    int32_t grayTone;
    int32_t reverseGray;
};

const AcceptedCase ACCEPTED[] = {
    {"Setting 0 10 0 ", 0, 10, 0},
    {"Setting 1 5 1", 1, 5, 1},
    {"Setting 1 5 1\r\n", 1, 5, 1},
    {"Setting 1 5 1 trailing words", 1, 5, 1},
    {"Setting 1 9 1  ", 1, 9, 1},                 // a shorter save over a longer line
    {"Setting 0000000010 1", 0, 10, 1},           // first token cut after 8 characters
    {"Setting x y z", 0, 0, 0},                   // no leading digits reads as 0
    {"Setting 5 10 0", 5, 10, 0},                 // the file admits types beyond the two weightings
    {"Setting 10 0 1", 10, 0, 1},
    {"Setting\t2\n3\t0", 2, 3, 0},
    {"Setting +1 +7 +0", 1, 7, 0},
    {"Setting 1abc 4x 0y", 1, 4, 0},              // digits up to the first non-digit
    {"Setting1 2 0", 1, 2, 0},                    // the blank after the keyword may be absent
};

const char *const REJECTED[] = {
    "",
    "Setting 1 5",
    "setting 1 5 1",
    " Setting 1 5 1",
    "Settings",
    "Setting -1 10 0",
    "Setting 0 11 0",
    "Setting 0 10 2",
    "Setting 11 0 0",
    "Setting 0 -1 0",
    "Setting 0 10 -1",
    "Setting 99999999 0 0",
    "Setting 4294967295 0 0",          // cut to 42949672, still out of range
    "SETTING 0 10 0",
};

TEST(SettingsText, AcceptedLinesGiveTheirValues)
{
    for (const AcceptedCase &c : ACCEPTED) {
        GraySettings settings = {7, 7, 7};
        EXPECT_EQ(1, parseSettingsText(c.text, &settings)) << c.text;
        EXPECT_EQ(c.convertType, settings.convertType) << c.text;
        EXPECT_EQ(c.grayTone, settings.grayTone) << c.text;
        EXPECT_EQ(c.reverseGray, settings.reverseGray) << c.text;
    }
}

TEST(SettingsText, RejectedLinesLeaveEverySettingAsItWas)
{
    for (const char *text : REJECTED) {
        GraySettings settings = {1, 4, 1};
        EXPECT_EQ(-1, parseSettingsText(text, &settings)) << '"' << text << '"';
        EXPECT_EQ(1, settings.convertType) << text;
        EXPECT_EQ(4, settings.grayTone) << text;
        EXPECT_EQ(1, settings.reverseGray) << text;
    }
}

TEST(SettingsText, DefaultsAreNtscFullToneNotReversed)
{
    GraySettings settings;
    EXPECT_EQ(0, settings.convertType);
    EXPECT_EQ(10, settings.grayTone);
    EXPECT_EQ(0, settings.reverseGray);
}

TEST(SettingsText, LineHasThreeValuesEachFollowedByABlank)
{
    const struct {
        GraySettings settings;
        const char *line;
    } cases[] = {
        {{0, 10, 0}, "Setting 0 10 0 "},
        {{1, 9, 1}, "Setting 1 9 1 "},
        {{10, 10, 1}, "Setting 10 10 1 "},
        {{1, 0, 0}, "Setting 1 0 0 "},
    };
    for (const auto &c : cases) {
        char line[SETTINGS_LINE_BYTES];
        memset(line, 'x', sizeof line);
        size_t length = formatSettingsLine(c.settings, line, sizeof line);
        EXPECT_STREQ(c.line, line);
        EXPECT_EQ(strlen(c.line), length);
    }
}

TEST(SettingsText, EveryWrittenLineReadsBackAsTheSameSettings)
{
    for (int32_t type = 0; type <= 10; type++)
        for (int32_t tone = 0; tone <= 10; tone++)
            for (int32_t reverse = 0; reverse <= 1; reverse++) {
                GraySettings written = {type, tone, reverse};
                char line[SETTINGS_LINE_BYTES];
                formatSettingsLine(written, line, sizeof line);
                GraySettings read = {-5, -5, -5};
                ASSERT_EQ(1, parseSettingsText(line, &read)) << line;
                EXPECT_EQ(type, read.convertType);
                EXPECT_EQ(tone, read.grayTone);
                EXPECT_EQ(reverse, read.reverseGray);
            }
}

TEST(SettingsText, LineTruncatesIntoASmallBuffer)
{
    GraySettings settings = {1, 10, 1};
    char small[8];
    size_t length = formatSettingsLine(settings, small, sizeof small);
    EXPECT_STREQ("Setting", small);
    EXPECT_EQ(7u, length);
}

}  // namespace
