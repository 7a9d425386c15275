// Where config.txt and rules.txt are kept and read, and when a failed save is
// told: pure decisions over what start-up and a save found out. The calls that
// look and act live in settingsFolder.cpp and settingsSave.cpp.
#pragma once

#include <cstdint>

// The files kept in the settings folder.
enum SettingsFileId : int32_t { SETTINGS_FILE_CONFIG, SETTINGS_FILE_RULES, SETTINGS_FILE_HABIT, SETTINGS_FILE_COUNT };

// A file id as an index, an id out of range taken as config.txt.
constexpr int32_t settingsFileIndex(int32_t file)
{
    return file >= 0 && file < SETTINGS_FILE_COUNT ? file : SETTINGS_FILE_CONFIG;
}

// The start folder when it can be written; else %APPDATA%\TALVERO when that
// folder is there (made if need be); else the start folder, whose saves then fail
// and are told.
enum SettingsFolderKind : int32_t { SETTINGS_IN_START_FOLDER, SETTINGS_IN_APPDATA };
int32_t settingsFolderKind(bool startFolderWritable, bool appDataFolderReady);

// A settings file is read from the settings folder; while that folder is not the
// start folder and holds no such file, a file left in the start folder is read, so
// a set-up made there keeps its settings until the first save moves them.
enum SettingsSource : int32_t { READ_NOTHING, READ_SETTINGS_FOLDER, READ_START_FOLDER };
int32_t settingsSource(int32_t folderKind, bool inSettingsFolder, bool inStartFolder);

// One message per failure: a failed save is told unless a failure of the same file
// was told already and no save of it has succeeded since.
struct SaveNotice {
    bool tell;
    bool failureTold;   // the state to keep for the next save
};
SaveNotice saveNoticeAfter(bool failureTold, bool saved);
