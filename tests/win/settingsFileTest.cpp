// The settings file on a real file system: each test runs in a directory of its
// own and saves the way the configuration dialog does, on a thread it waits for.
#include <gtest/gtest.h>

#include <process.h>
#include <windows.h>

#include <string>

#include "appState.h"
#include "settingsFile.h"
#include "testWorld.h"

namespace {

const char *const FILE_NAME = "config.txt";

class SettingsFile : public testing::Test {
protected:
    void SetUp() override
    {
        ensureAppLocks();
        appState.graySettings = GraySettings{};
    }
    void TearDown() override { appState.graySettings = GraySettings{}; }

    static void saveOnThread()
    {
        HANDLE thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, saveSettings, nullptr, 0, nullptr));
        ASSERT_NE(nullptr, thread);
        WaitForSingleObject(thread, INFINITE);
        DWORD exitCode = 1;
        GetExitCodeThread(thread, &exitCode);
        CloseHandle(thread);
        EXPECT_EQ(0u, exitCode);
    }

    static void expectSettings(int32_t convertType, int32_t grayTone, int32_t reverseGray)
    {
        EXPECT_EQ(convertType, appState.graySettings.convertType);
        EXPECT_EQ(grayTone, appState.graySettings.grayTone);
        EXPECT_EQ(reverseGray, appState.graySettings.reverseGray);
    }

    ScratchDirectory directory;
};

TEST_F(SettingsFile, NoFileKeepsDefaultsAndFirstSaveCreatesIt)
{
    EXPECT_EQ(-1, loadSettings());
    expectSettings(0, 10, 0);
    saveOnThread();
    EXPECT_EQ("Setting 0 10 0 ", readWholeFile(FILE_NAME));
}

TEST_F(SettingsFile, SavedSettingsLoadAgain)
{
    appState.graySettings = GraySettings{1, 3, 1};
    saveOnThread();
    appState.graySettings = GraySettings{};
    EXPECT_EQ(1, loadSettings());
    expectSettings(1, 3, 1);
}

TEST_F(SettingsFile, FileSizeLimitIs32Bytes)
{
    const std::string line = "Setting 1 5 1 ";
    writeWholeFile(FILE_NAME, line + std::string(32 - line.size(), ' '));
    EXPECT_EQ(1, loadSettings());
    expectSettings(1, 5, 1);

    appState.graySettings = GraySettings{};
    writeWholeFile(FILE_NAME, line + std::string(33 - line.size(), ' '));
    EXPECT_EQ(-1, loadSettings());
    expectSettings(0, 10, 0);
}

TEST_F(SettingsFile, EmptyOrMalformedFilesKeepDefaults)
{
    for (const char *content : {"", "Setting 1 5", "setting 1 5 1", "Setting 0 10 2"}) {
        writeWholeFile(FILE_NAME, content);
        EXPECT_EQ(-1, loadSettings()) << content;
        expectSettings(0, 10, 0);
    }
}

TEST_F(SettingsFile, FileLockedByAnotherHandleIsNeitherReadNorWritten)
{
    writeWholeFile(FILE_NAME, "Setting 1 5 1 ");
    HANDLE holder = CreateFileA(FILE_NAME, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);

    EXPECT_EQ(-1, loadSettings());
    expectSettings(0, 10, 0);
    saveOnThread();

    CloseHandle(holder);
    EXPECT_EQ("Setting 1 5 1 ", readWholeFile(FILE_NAME));
}

TEST_F(SettingsFile, ReadOnlyFileLoadsButIsNotOverwritten)
{
    writeWholeFile(FILE_NAME, "Setting 1 4 0 ");
    SetFileAttributesA(FILE_NAME, FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(1, loadSettings());
    expectSettings(1, 4, 0);

    // Wine run by root (as in CI) opens a read-only file for writing anyway;
    // Windows refuses, and only there can the save's failure be seen.
    HANDLE probe = CreateFileA(FILE_NAME, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool platformRefusesWrites = probe == INVALID_HANDLE_VALUE;
    if (!platformRefusesWrites)
        CloseHandle(probe);

    appState.graySettings = GraySettings{0, 8, 1};
    saveOnThread();
    if (platformRefusesWrites)
        EXPECT_EQ("Setting 1 4 0 ", readWholeFile(FILE_NAME));
    SetFileAttributesA(FILE_NAME, FILE_ATTRIBUTE_NORMAL);
    if (!platformRefusesWrites)
        GTEST_SKIP() << "this platform lets the read-only file be written";
}

TEST_F(SettingsFile, ShorterSaveKeepsTheOldTailWhichStillReads)
{
    writeWholeFile(FILE_NAME, "Setting 1 10 1 ");
    appState.graySettings = GraySettings{1, 9, 1};
    saveOnThread();
    EXPECT_EQ("Setting 1 9 1  ", readWholeFile(FILE_NAME));

    appState.graySettings = GraySettings{};
    EXPECT_EQ(1, loadSettings());
    expectSettings(1, 9, 1);
}

TEST_F(SettingsFile, SaveOverAnOversizedFileMakesItReadableAgain)
{
    writeWholeFile(FILE_NAME, "Setting 1 10 1 " + std::string(40, '#'));
    EXPECT_EQ(-1, loadSettings());

    appState.graySettings = GraySettings{1, 6, 0};
    saveOnThread();
    EXPECT_EQ("Setting 1 6 0 ", readWholeFile(FILE_NAME));

    appState.graySettings = GraySettings{};
    EXPECT_EQ(1, loadSettings());
    expectSettings(1, 6, 0);
}

}  // namespace
