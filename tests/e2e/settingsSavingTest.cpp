// A person's settings are never lost without a word: a config.txt that cannot be
// written is told of once, and nothing on disk changes; started from a folder it
// cannot write, TALVERO keeps the settings in %APPDATA%\TALVERO and finds them at
// the next start. Wine runs as root, who writes through a read-only attribute and
// a folder's missing write bits, so "cannot be written" is built from what root
// cannot write either: a link to a file under /proc and a read-only mount, made on
// the Linux side (Wine starts a Unix program given by its path).
#include "talveroTest.h"

#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include "boundedText.h"

namespace {

const char NOT_SAVED_TITLE[] = "TALVERO: not saved";
const char PROC_FILE[] = "/proc/version";

typedef char *(CDECL *WineUnixFileNameFn)(const WCHAR *dosPath);

// The Unix path of a Windows path, or "" outside Wine.
std::string unixPath(const char *windowsPath)
{
    WineUnixFileNameFn toUnix = reinterpret_cast<WineUnixFileNameFn>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR wide[MAX_PATH] = {};
    if (toUnix == nullptr || MultiByteToWideChar(CP_ACP, 0, windowsPath, -1, wide, MAX_PATH) == 0)
        return "";
    char *path = toUnix(wide);
    std::string result = path != nullptr ? path : "";
    HeapFree(GetProcessHeap(), 0, path);
    return result;
}

// Runs a command of /bin/sh on the Linux side; true when it ends with 0. Wine
// gives no handle to wait on for a Unix program, so the shell writes its exit
// status into a file that the test waits for.
bool runShell(const std::string &command)
{
    char statusPath[MAX_PATH];
    GetTempPathA(sizeof statusPath, statusPath);
    appendText(statusPath, "talvero-e2e-shell-status.txt");
    DeleteFileA(statusPath);
    std::string line = "/bin/sh -c \"(" + command + "); echo $? > '" + unixPath(statusPath) + "'\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA("Z:\\bin\\sh", &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    std::string status;
    waitUntil([&] { return (status = readWholeFile(statusPath)).find('\n') != std::string::npos; }, EXIT_DEADLINE_MS);
    DeleteFileA(statusPath);
    return status == "0\n";
}

std::string appDataSettingsFolder()
{
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return std::string(appData) + "\\TALVERO";
}

void clearAppDataSettings()
{
    std::string folder = appDataSettingsFolder();
    DeleteFileA((folder + "\\config.txt").c_str());
    DeleteFileA((folder + "\\rules.txt").c_str());
    RemoveDirectoryA(folder.c_str());
}

class SettingsSaving : public TalveroTest {
protected:
    std::string unixFolder;   // the working folder on the Unix side, made by the test

    void SetUp() override
    {
        TalveroTest::SetUp();
        clearAppDataSettings();
    }
    // The program ends before its folder goes, with the mount made on it, if any.
    void TearDown() override
    {
        TalveroTest::TearDown();
        if (!unixFolder.empty())
            runShell("umount -l '" + unixFolder + "' 2>/dev/null; rm -rf '" + unixFolder + "'");
        clearAppDataSettings();
    }

    // A working folder for the program, and its Unix path (empty outside Wine).
    std::string makeFolder()
    {
        makeWorkDirectory(program);
        unixFolder = unixPath(program.workDirectory);
        return unixFolder;
    }

    void startInItsFolder()
    {
        ASSERT_TRUE(startProgramInItsFolder(program)) << "cannot start " << talveroPath();
        ASSERT_TRUE(waitForMainWindow(program)) << "no main window within " << START_DEADLINE_MS << " ms";
    }

    HWND openConfig()
    {
        press(IDC_BUTTON_CONFIGURE);
        return waitForDialog("Config");
    }

    // Moves the tone slider as a drag would end. Posted: a message box in the
    // dialog's handling would hold a sent message until it is closed.
    void moveTone(HWND dialog, int tone)
    {
        HWND trackbar = GetDlgItem(dialog, IDC_CONFIG_TONE);
        SendMessageA(trackbar, TBM_SETPOS, TRUE, tone);
        PostMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, tone), reinterpret_cast<LPARAM>(trackbar));
    }

    void closeConfig(HWND dialog)
    {
        PostMessageA(GetDlgItem(dialog, IDC_CONFIG_CLOSE), BM_CLICK, 0, 0);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, APPEAR_DEADLINE_MS));
    }

    HWND notSavedBox() { return findProgramWindow(program, "#32770", NOT_SAVED_TITLE); }

    // A message box's text: its static children.
    std::string boxText(HWND box)
    {
        std::string text;
        for (HWND child = FindWindowExA(box, nullptr, "Static", nullptr); child != nullptr;
             child = FindWindowExA(box, child, "Static", nullptr))
            text += controlText(child);
        return text;
    }

    void exitProgram()
    {
        ASSERT_TRUE(chooseMenuItem(program, 'F', 'E')) << "the File menu did not open";
        EXPECT_EQ(0, exitCodeAfterEnd());
        CloseHandle(program.process.hProcess);
        CloseHandle(program.process.hThread);
        program.process = {};
    }
};

}  // namespace

TEST_F(SettingsSaving, AFileThatCannotBeWrittenIsToldOnceAndLeftAsItWas)
{
    std::string folder = makeFolder();
    ASSERT_FALSE(folder.empty()) << "this test makes its unwritable file on Wine's Unix side";
    ASSERT_TRUE(runShell(std::string("ln -sf ") + PROC_FILE + " '" + folder + "/config.txt'"));
    std::string settingsPath = std::string(program.workDirectory) + "\\config.txt";
    const std::string procText = readWholeFile("Z:\\proc\\version");
    startInItsFolder();

    // The dialog saves as it shows its values: that first save is told at once.
    press(IDC_BUTTON_CONFIGURE);
    HWND box = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (box = notSavedBox()) != nullptr; }, APPEAR_DEADLINE_MS))
        << "a failed save was not told";
    std::string text = boxText(box);
    EXPECT_NE(std::string::npos, text.find(settingsPath)) << text;
    EXPECT_NE(std::string::npos, text.find("(error ")) << text;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(box); }, APPEAR_DEADLINE_MS));

    // The changes that follow fail to save as well: nothing more is said.
    HWND dialog = waitForDialog("Config");
    ASSERT_NE(nullptr, dialog);
    moveTone(dialog, 4);
    PostMessageA(GetDlgItem(dialog, IDC_CONFIG_HDTV), BM_CLICK, 0, 0);
    EXPECT_FALSE(waitUntil([&] { return notSavedBox() != nullptr; }, QUIET_PERIOD_MS)) << "told again";
    EXPECT_EQ("4", controlText(GetDlgItem(dialog, IDC_CONFIG_TONE_VALUE)));
    closeConfig(dialog);
    EXPECT_EQ(nullptr, notSavedBox());

    // The link still leads to the file, whose bytes are as they were, and no new file is left.
    EXPECT_EQ(procText, readWholeFile(settingsPath.c_str()));
    EXPECT_EQ(procText, readWholeFile("Z:\\proc\\version"));
    EXPECT_FALSE(fileExists((settingsPath + ".new").c_str()));
}

TEST_F(SettingsSaving, StartedFromAReadOnlyFolderTheSettingsAreKeptInAppData)
{
    std::string folder = makeFolder();
    ASSERT_FALSE(folder.empty()) << "this test mounts its read-only folder on Wine's Unix side";
    // A set-up made there earlier: config.txt written, then the mount made read-only.
    ASSERT_TRUE(runShell("mount -t tmpfs -o size=64k tmpfs '" + folder + "' && printf 'Setting 1 5 0 ' > '" +
                         folder + "/config.txt' && mount -o remount,ro '" + folder + "'"))
        << "cannot mount a read-only folder (root needed)";
    std::string startSettings = std::string(program.workDirectory) + "\\config.txt";
    std::string keptSettings = appDataSettingsFolder() + "\\config.txt";
    startInItsFolder();

    HWND dialog = openConfig();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("5", controlText(GetDlgItem(dialog, IDC_CONFIG_TONE_VALUE))) << "the start folder's file was not read";
    moveTone(dialog, 3);
    EXPECT_TRUE(waitUntil([&] { return readWholeFile(keptSettings.c_str()) == "Setting 1 3 0 "; }, APPEAR_DEADLINE_MS))
        << readWholeFile(keptSettings.c_str());
    closeConfig(dialog);
    EXPECT_EQ(nullptr, notSavedBox());
    exitProgram();

    startInItsFolder();
    dialog = openConfig();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("3", controlText(GetDlgItem(dialog, IDC_CONFIG_TONE_VALUE))) << "the setting was lost";
    closeConfig(dialog);

    ASSERT_TRUE(chooseMenuItem(program, 'H', 'A')) << "the Help menu did not open";
    HWND about = waitForDialog("Copyright");
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(appDataSettingsFolder(), controlText(GetDlgItem(about, IDC_ABOUT_SETTINGS_FOLDER)));
    PostMessageA(GetDlgItem(about, IDC_ABOUT_CLOSE), BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(about); }, APPEAR_DEADLINE_MS));
    EXPECT_EQ("Setting 1 5 0 ", readWholeFile(startSettings.c_str()));
    exitProgram();
}
