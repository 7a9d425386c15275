// Where the settings are kept and read, and when a failed save is told.
#include <gtest/gtest.h>

#include "settingsPlace.h"

namespace {

// What start-up finds; the folder the settings are kept in, and where a file is read.
const struct {
    bool startWritable, appDataReady, inSettingsFolder, inStartFolder;
    int32_t folder, source;
} PLACES[] = {
    // A folder that can be written keeps its files, as it always did.
    {true, true, true, false, SETTINGS_IN_START_FOLDER, READ_SETTINGS_FOLDER},
    {true, true, false, false, SETTINGS_IN_START_FOLDER, READ_NOTHING},
    // Program Files, a read-only medium: %APPDATA%\TALVERO, whose own file wins.
    {false, true, true, true, SETTINGS_IN_APPDATA, READ_SETTINGS_FOLDER},
    // A set-up made in the start folder is read until the first save moves it.
    {false, true, false, true, SETTINGS_IN_APPDATA, READ_START_FOLDER},
    {false, true, false, false, SETTINGS_IN_APPDATA, READ_NOTHING},
    // No %APPDATA% to use: the start folder, whose saves fail and are told.
    {false, false, true, true, SETTINGS_IN_START_FOLDER, READ_SETTINGS_FOLDER},
};

TEST(SettingsPlace, FolderAndFileToRead)
{
    for (const auto &c : PLACES) {
        SCOPED_TRACE(testing::Message() << c.startWritable << c.appDataReady << c.inSettingsFolder << c.inStartFolder);
        int32_t folder = settingsFolderKind(c.startWritable, c.appDataReady);
        EXPECT_EQ(c.folder, folder);
        EXPECT_EQ(c.source, settingsSource(folder, c.inSettingsFolder, c.inStartFolder));
    }
}

// Saves in a row, each with the state the one before left: told at the first
// failure, silent while failures go on, told again after a save that worked.
TEST(SettingsPlace, OneMessagePerFailure)
{
    const struct { bool saved, tell; } saves[] = {
        {true, false}, {false, true}, {false, false}, {true, false}, {false, true}};
    bool told = false;
    for (const auto &save : saves) {
        SaveNotice notice = saveNoticeAfter(told, save.saved);
        EXPECT_EQ(save.tell, notice.tell);
        told = notice.failureTold;
    }
}

}  // namespace
