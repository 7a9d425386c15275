// Where the settings are kept and read, and when a failed save is told.
#include <gtest/gtest.h>

#include "settingsPlace.h"

namespace {

// What start-up finds, the folder it keeps the settings in, and where a file is read.
struct PlaceCase {
    bool startWritable;
    bool appDataReady;
    bool inSettingsFolder;
    bool inStartFolder;
    int32_t folder;
    int32_t source;
};

const PlaceCase PLACES[] = {
    // A folder that can be written keeps its files, as it always did.
    {true, true, true, false, SETTINGS_IN_START_FOLDER, READ_SETTINGS_FOLDER},
    {true, true, false, false, SETTINGS_IN_START_FOLDER, READ_NOTHING},
    {true, false, false, false, SETTINGS_IN_START_FOLDER, READ_NOTHING},
    // Program Files, a read-only medium: %APPDATA%\TALVERO.
    {false, true, true, true, SETTINGS_IN_APPDATA, READ_SETTINGS_FOLDER},
    {false, true, true, false, SETTINGS_IN_APPDATA, READ_SETTINGS_FOLDER},
    // A set-up made in the start folder is read until the first save moves it.
    {false, true, false, true, SETTINGS_IN_APPDATA, READ_START_FOLDER},
    {false, true, false, false, SETTINGS_IN_APPDATA, READ_NOTHING},
    // No %APPDATA% to use: the start folder, whose saves fail and are told.
    {false, false, true, true, SETTINGS_IN_START_FOLDER, READ_SETTINGS_FOLDER},
    {false, false, false, false, SETTINGS_IN_START_FOLDER, READ_NOTHING},
};

TEST(SettingsPlace, FolderAndFileToRead)
{
    for (const PlaceCase &c : PLACES) {
        SCOPED_TRACE(testing::Message() << "writable " << c.startWritable << ", appdata " << c.appDataReady
                                        << ", in folder " << c.inSettingsFolder << ", in start " << c.inStartFolder);
        int32_t folder = settingsFolderKind(c.startWritable, c.appDataReady);
        EXPECT_EQ(c.folder, folder);
        EXPECT_EQ(c.source, settingsSource(folder, c.inSettingsFolder, c.inStartFolder));
    }
}

// A run of saves, each with the state the one before left: told at the first
// failure, silent while failures go on, told again after a save that worked.
TEST(SettingsPlace, OneMessagePerFailure)
{
    const struct {
        bool saved;
        bool tell;
    } saves[] = {{true, false}, {false, true}, {false, false}, {false, false}, {true, false}, {false, true}};
    bool told = false;
    for (const auto &save : saves) {
        SaveNotice notice = saveNoticeAfter(told, save.saved);
        EXPECT_EQ(save.tell, notice.tell);
        EXPECT_EQ(!save.saved, notice.failureTold);
        told = notice.failureTold;
    }
}

}  // namespace
