// The settings-folder decisions of settingsPlace.h. Pure.
#include "settingsPlace.h"

int32_t settingsFolderKind(bool startFolderWritable, bool appDataFolderReady)
{
    return !startFolderWritable && appDataFolderReady ? SETTINGS_IN_APPDATA : SETTINGS_IN_START_FOLDER;
}

int32_t settingsSource(int32_t folderKind, bool inSettingsFolder, bool inStartFolder)
{
    if (inSettingsFolder)
        return READ_SETTINGS_FOLDER;
    if (folderKind == SETTINGS_IN_APPDATA && inStartFolder)
        return READ_START_FOLDER;
    return READ_NOTHING;
}

SaveNotice saveNoticeAfter(bool failureTold, bool saved)
{
    if (saved)
        return SaveNotice{false, false};
    return SaveNotice{!failureTold, true};
}
