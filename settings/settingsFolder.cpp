// The settings folder (see settingsFolder.h). Whether the start folder can be
// written is found by making and deleting a file there: attributes and access
// rights do not tell (a read-only medium or mount, a folder's permissions).
#include "settingsFolder.h"

#include <shlobj.h>

#include "appState.h"

namespace {

const wchar_t APP_FOLDER_NAME[] = L"\\TALVERO";
const wchar_t PROBE_PREFIX[] = L"tlv";
const wchar_t *const FILE_NAMES[SETTINGS_FILE_COUNT] = {L"config.txt", L"rules.txt", L"habit.txt"};

bool folderWritable(const wchar_t *folder)
{
    wchar_t probe[MAX_PATH];
    // GetTempFileNameW makes a file of a name no other file has.
    if (folder[0] == L'\0' || GetTempFileNameW(folder, PROBE_PREFIX, 0, probe) == 0)
        return false;
    return DeleteFileW(probe) != 0;
}

bool isFolder(const wchar_t *path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool isFile(const wchar_t *path)
{
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// %APPDATA%\TALVERO, made if need be; false when there is no such folder to use.
// The shell is asked first; the environment variable serves where it cannot answer.
bool makeAppDataFolder(wchar_t (&folder)[MAX_PATH])
{
    wchar_t appData[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, appData))) {
        DWORD length = GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return false;
    }
    if (!joinWholeText(folder, MAX_PATH, appData, APP_FOLDER_NAME))
        return false;
    CreateDirectoryW(folder, nullptr);
    return isFolder(folder);
}

// No folder (none chosen yet) leaves the name relative to the working folder.
bool pathIn(const wchar_t *folder, int32_t file, wchar_t (&path)[MAX_PATH])
{
    wchar_t withSlash[MAX_PATH];
    size_t length = wcslen(folder);
    const wchar_t *separator = length == 0 || folder[length - 1] == L'\\' ? L"" : L"\\";
    return joinWholeText(withSlash, MAX_PATH, folder, separator) &&
           joinWholeText(path, MAX_PATH, withSlash, settingsFileName(file));
}

}  // namespace

void chooseSettingsFolder()
{
    DWORD length = GetCurrentDirectoryW(MAX_PATH, appState.startFolder);
    if (length == 0 || length >= MAX_PATH)
        appState.startFolder[0] = L'\0';
    bool startWritable = folderWritable(appState.startFolder);
    wchar_t appData[MAX_PATH] = {};
    bool appDataReady = !startWritable && makeAppDataFolder(appData);
    appState.settingsFolderKind = settingsFolderKind(startWritable, appDataReady);
    const wchar_t *chosen = appState.settingsFolderKind == SETTINGS_IN_APPDATA ? appData : appState.startFolder;
    joinWholeText(appState.settingsFolder, MAX_PATH, chosen, L"");
}

const wchar_t *settingsFileName(int32_t file)
{
    return FILE_NAMES[settingsFileIndex(file)];
}

bool settingsFilePath(int32_t file, wchar_t (&path)[MAX_PATH])
{
    return pathIn(appState.settingsFolder, file, path);
}

void settingsFileToRead(int32_t file, wchar_t (&path)[MAX_PATH])
{
    wchar_t inStart[MAX_PATH];
    bool inSettingsFolder = settingsFilePath(file, path) && isFile(path);
    bool inStartFolder = pathIn(appState.startFolder, file, inStart) && isFile(inStart);
    if (settingsSource(appState.settingsFolderKind, inSettingsFolder, inStartFolder) == READ_START_FOLDER)
        joinWholeText(path, MAX_PATH, inStart, L"");
}
