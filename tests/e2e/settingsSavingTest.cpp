// Settings are never lost without a word: a config.txt that cannot be written is
// told of once and left as it was; started from a folder it cannot write, TALVERO
// keeps the settings in %APPDATA%\TALVERO. Wine runs as root, who writes through
// read-only attributes, so the cases are built from what root cannot write either:
// a link to a file under /proc, and a read-only mount (made on the Unix side).
#include "talveroTest.h"

#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include "boundedText.h"

namespace {

typedef char *(CDECL *WineUnixFileNameFn)(const WCHAR *dosPath);

// The Unix path of a Windows path, or "" outside Wine.
std::string unixPath(const char *windowsPath)
{
    WineUnixFileNameFn toUnix = reinterpret_cast<WineUnixFileNameFn>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    WCHAR wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, windowsPath, -1, wide, MAX_PATH);
    char *path = toUnix != nullptr ? toUnix(wide) : nullptr;
    std::string result = path != nullptr ? path : "";
    HeapFree(GetProcessHeap(), 0, path);
    return result;
}

// Runs /bin/sh -c command (Wine starts a Unix program given by its path); true when
// it ends with 0. Wine gives no handle to wait on, so the shell writes its status.
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

std::string appDataSettings()
{
    char appData[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData);
    return std::string(appData) + "\\TALVERO";
}

class SettingsSaving : public TalveroTest {
protected:
    std::string unixFolder;   // the program's working folder, as the Unix side names it

    void SetUp() override
    {
        TalveroTest::SetUp();
        deleteDirectoryTree(appDataSettings().c_str());
        makeWorkDirectory(program);
        unixFolder = unixPath(program.workDirectory);
    }
    // The program has ended (its working folder is on the mount) before the folder goes.
    void TearDown() override
    {
        TalveroTest::TearDown();
        if (!unixFolder.empty())
            runShell("umount -l '" + unixFolder + "' 2>/dev/null; rm -rf '" + unixFolder + "'");
        deleteDirectoryTree(appDataSettings().c_str());
    }

    void startInItsFolder()
    {
        CloseHandle(program.process.hProcess);   // of the run that ended, if any
        CloseHandle(program.process.hThread);
        ASSERT_TRUE(startProgramInItsFolder(program)) << "cannot start " << talveroPath();
        ASSERT_TRUE(waitForMainWindow(program)) << "no main window within " << START_DEADLINE_MS << " ms";
    }

    // Posted, like every command below: a message box in the dialog's handling
    // would hold a sent message until it is closed.
    void moveTone(HWND dialog, int tone)
    {
        HWND trackbar = GetDlgItem(dialog, IDC_CONFIG_TONE);
        SendMessageA(trackbar, TBM_SETPOS, TRUE, tone);
        PostMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, tone), reinterpret_cast<LPARAM>(trackbar));
    }

    void clickAndWaitForClose(HWND dialog, int buttonId)
    {
        PostMessageA(GetDlgItem(dialog, buttonId), BM_CLICK, 0, 0);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, APPEAR_DEADLINE_MS));
    }

    HWND notSavedBox() { return findProgramWindow(program, "#32770", "TALVERO: not saved"); }
    std::string toneShown(HWND dialog) { return controlText(GetDlgItem(dialog, IDC_CONFIG_TONE_VALUE)); }
};

}  // namespace

TEST_F(SettingsSaving, AFileThatCannotBeWrittenIsToldOnceAndLeftAsItWas)
{
    ASSERT_FALSE(unixFolder.empty()) << "the unwritable file is made on Wine's Unix side";
    ASSERT_TRUE(runShell("ln -sf /proc/version '" + unixFolder + "/config.txt'"));
    std::string settingsPath = std::string(program.workDirectory) + "\\config.txt";
    const std::string procText = readWholeFile("Z:\\proc\\version");
    startInItsFolder();

    // The dialog saves as it shows its values: that first failure is told at once.
    press(IDC_BUTTON_CONFIGURE);
    HWND box = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (box = notSavedBox()) != nullptr; }, APPEAR_DEADLINE_MS)) << "not told";
    std::string text;
    for (HWND part = nullptr; (part = FindWindowExA(box, part, "Static", nullptr)) != nullptr;)
        text += controlText(part);
    EXPECT_NE(std::string::npos, text.find(settingsPath)) << text;
    EXPECT_NE(std::string::npos, text.find("(error ")) << "no reason given: " << text;
    clickAndWaitForClose(box, IDOK);

    // Every change after it fails to save as well: nothing more is said.
    HWND dialog = waitForDialog("Config");
    ASSERT_NE(nullptr, dialog);
    moveTone(dialog, 4);
    PostMessageA(GetDlgItem(dialog, IDC_CONFIG_HDTV), BM_CLICK, 0, 0);
    EXPECT_FALSE(waitUntil([&] { return notSavedBox() != nullptr; }, QUIET_PERIOD_MS)) << "told again";
    EXPECT_EQ("4", toneShown(dialog));
    clickAndWaitForClose(dialog, IDC_CONFIG_CLOSE);

    // The link still leads to the file, whose bytes are as they were; no new file is left.
    EXPECT_EQ(procText, readWholeFile(settingsPath.c_str()));
    EXPECT_EQ(procText, readWholeFile("Z:\\proc\\version"));
    EXPECT_FALSE(fileExists((settingsPath + ".new").c_str()));
}

TEST_F(SettingsSaving, StartedFromAReadOnlyFolderTheSettingsAreKeptInAppData)
{
    ASSERT_FALSE(unixFolder.empty()) << "the read-only folder is mounted on Wine's Unix side";
    // A set-up made there earlier: config.txt written, then the mount made read-only.
    ASSERT_TRUE(runShell("mount -t tmpfs -o size=64k tmpfs '" + unixFolder + "' && printf 'Setting 1 5 0 ' > '" +
                         unixFolder + "/config.txt' && mount -o remount,ro '" + unixFolder + "'"))
        << "cannot mount a read-only folder (root needed)";
    std::string keptSettings = appDataSettings() + "\\config.txt";
    startInItsFolder();

    press(IDC_BUTTON_CONFIGURE);
    HWND dialog = waitForDialog("Config");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("5", toneShown(dialog)) << "the start folder's config.txt was not read";
    moveTone(dialog, 3);
    EXPECT_TRUE(waitUntil([&] { return readWholeFile(keptSettings.c_str()) == "Setting 1 3 0 "; }, APPEAR_DEADLINE_MS))
        << readWholeFile(keptSettings.c_str());
    clickAndWaitForClose(dialog, IDC_CONFIG_CLOSE);
    EXPECT_EQ(nullptr, notSavedBox());
    ASSERT_TRUE(chooseMenuItem(program, 'F', 'E'));
    ASSERT_EQ(0, exitCodeAfterEnd());

    startInItsFolder();
    press(IDC_BUTTON_CONFIGURE);
    dialog = waitForDialog("Config");
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("3", toneShown(dialog)) << "the setting was lost";
    clickAndWaitForClose(dialog, IDC_CONFIG_CLOSE);
    ASSERT_TRUE(chooseMenuItem(program, 'H', 'A'));
    HWND about = waitForDialog("Copyright");
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(appDataSettings(), controlText(GetDlgItem(about, IDC_ABOUT_SETTINGS_FOLDER)));
    clickAndWaitForClose(about, IDC_ABOUT_CLOSE);
    EXPECT_EQ("Setting 1 5 0 ", readWholeFile((std::string(program.workDirectory) + "\\config.txt").c_str()));
}
