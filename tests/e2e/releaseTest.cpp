// The installer of this build's bitness, run silently as an administrator would,
// in a Wine prefix of its own (the test script makes a fresh one). The program it
// installs is started as its shortcuts start it. Each test leaves nothing installed.
#include <shlobj.h>

#include <string>

#include "talveroTest.h"
#include "version.h"

namespace {

const char *const SETUP_ARCH = sizeof(void *) == 8 ? "x64" : "x86";
const char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\TALVERO";
const char RUN_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char SETTINGS_TEXT[] = "Setting 1 7 0";

std::string folder(int csidl)
{
    char path[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// This exe is <checkout>\build\<tree>\tests\e2eTests.exe; scripts/package.sh fills <checkout>\dist.
std::string setupPath()
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    return std::string(self) + "\\..\\..\\..\\..\\dist\\talvero-" TALVERO_VERSION_TEXT "-setup-" + SETUP_ARCH + ".exe";
}

// A text or DWORD value as text; "<missing>" when it is not there.
std::string registryText(HKEY root, const char *key, const char *name)
{
    char text[MAX_PATH * 2] = "";
    DWORD size = sizeof text - 1, type = REG_NONE;
    if (RegGetValueA(root, key, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, text, &size) != ERROR_SUCCESS)
        return "<missing>";
    return type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD *>(text)) : text;
}

bool startProcess(std::string commandLine, const char *directory, PROCESS_INFORMATION *process)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory, &startup, process);
}

DWORD runAndWait(const std::string &commandLine)
{
    PROCESS_INFORMATION process = {};
    if (!startProcess(commandLine, nullptr, &process))
        return GetLastError();
    DWORD exitCode = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, START_DEADLINE_MS) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return exitCode;
}

struct Shortcut {
    std::string target, arguments, startIn;
};

Shortcut readShortcut(const std::string &path)
{
    Shortcut shortcut;
    IShellLinkA *link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void **>(&link))))
        return shortcut;
    IPersistFile *file = nullptr;
    char text[3][MAX_PATH] = {};
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void **>(&file))) &&
        SUCCEEDED(file->Load(std::wstring(path.begin(), path.end()).c_str(), STGM_READ))) {  // ASCII paths
        link->GetPath(text[0], MAX_PATH, nullptr, 0);
        link->GetArguments(text[1], MAX_PATH);
        link->GetWorkingDirectory(text[2], MAX_PATH);
        shortcut = {text[0], text[1], text[2]};
    }
    if (file != nullptr)
        file->Release();
    link->Release();
    return shortcut;
}

class Release : public TalveroTest {
protected:
    std::string installed = folder(CSIDL_PROGRAM_FILES) + "\\TALVERO";
    std::string settings = folder(CSIDL_APPDATA) + "\\TALVERO";
    std::string menuShortcut = folder(CSIDL_PROGRAMS) + "\\TALVERO.lnk";
    std::string logOnShortcut = settings + "\\TALVERO at log-on.lnk";

    void SetUp() override
    {
        TalveroTest::SetUp();
        CoInitialize(nullptr);
        ASSERT_TRUE(fileExists(setupPath().c_str())) << setupPath() << " is missing: run scripts/package.sh";
    }

    void TearDown() override
    {
        TalveroTest::TearDown();
        if (registryText(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName") != "<missing>")
            uninstall();
        deleteDirectoryTree(settings.c_str());
        CoUninitialize();
    }

    void install(const char *options)
    {
        ASSERT_EQ(0u, runAndWait("\"" + setupPath() + "\" /S" + options)) << "the installer failed";
    }

    // The quiet uninstall command from the registry, as a management tool runs it.
    // The uninstaller works on from a copy of itself and removes its key last.
    bool uninstall()
    {
        runAndWait(registryText(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "QuietUninstallString"));
        return waitUntil([&] { return registryText(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "DisplayName") == "<missing>"; },
                         EXIT_DEADLINE_MS);
    }

    // As Explorer opens a shortcut: its program with its arguments, in its "Start in" folder.
    void startFrom(const Shortcut &shortcut)
    {
        ASSERT_TRUE(startProcess("\"" + shortcut.target + "\" " + shortcut.arguments, shortcut.startIn.c_str(),
                                 &program.process))
            << "cannot start " << shortcut.target;
    }

    // A shortcut of ours starts the installed program in the user's settings folder.
    Shortcut installedShortcut(const std::string &path)
    {
        Shortcut shortcut = readShortcut(path);
        EXPECT_EQ(installed + "\\talvero.exe", shortcut.target) << path;
        EXPECT_EQ(settings, shortcut.startIn) << path;
        return shortcut;
    }

    std::string settingsFile() { return readWholeFile((settings + "\\config.txt").c_str()); }
};

TEST_F(Release, SilentInstallRegistersTheProgramAndItsShortcutKeepsSettingsInTheUsersFolder)
{
    install("");
    for (const char *file : {"talvero.exe", "talvero-manual.html", "uninstall.exe"})
        EXPECT_TRUE(fileExists((installed + "\\" + file).c_str())) << file;
    const std::string uninstaller = "\"" + installed + "\\uninstall.exe\"";
    const struct {
        const char *name;
        std::string value;
    } entries[] = {{"DisplayName", "TALVERO"},
                   {"DisplayVersion", TALVERO_VERSION_TEXT},
                   {"Publisher", "the TALVERO developers"},
                   {"DisplayIcon", installed + "\\talvero.exe,0"},
                   {"InstallLocation", installed},
                   {"UninstallString", uninstaller},
                   {"QuietUninstallString", uninstaller + " /S"}};
    for (const auto &entry : entries)
        EXPECT_EQ(entry.value, registryText(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, entry.name)) << entry.name;
    EXPECT_LT(500, atoi(registryText(HKEY_LOCAL_MACHINE, UNINSTALL_KEY, "EstimatedSize").c_str())) << "KB";
    EXPECT_EQ("<missing>", registryText(HKEY_CURRENT_USER, RUN_KEY, "TALVERO")) << "log-on start is off by default";

    startFrom(installedShortcut(menuShortcut));
    ASSERT_TRUE(waitForMainWindow(program));
    press(IDC_BUTTON_CONFIGURE);
    HWND dialog = waitForDialog("Config");
    ASSERT_NE(nullptr, dialog);
    SendMessageA(GetDlgItem(dialog, IDC_CONFIG_HDTV), BM_CLICK, 0, 0);
    SendMessageA(GetDlgItem(dialog, IDC_CONFIG_CLOSE), BM_CLICK, 0, 0);
    EXPECT_TRUE(waitUntil([&] { return settingsFile().compare(0, 10, "Setting 1 ") == 0; }, APPEAR_DEADLINE_MS))
        << settingsFile();
}

TEST_F(Release, InstallingAgainClosesTheRunningProgramUpgradesAndKeepsTheSettings)
{
    install("");
    writeWholeFile((settings + "\\config.txt").c_str(), SETTINGS_TEXT);
    startFrom(readShortcut(menuShortcut));
    ASSERT_TRUE(waitForMainWindow(program));
    install(" /LOGON");
    // Closed through its window as File > Exit closes it, never killed.
    EXPECT_EQ(0, exitCodeAfterEnd());
    disposeProgram(program);
    EXPECT_EQ(SETTINGS_TEXT, settingsFile());
    EXPECT_TRUE(fileExists((installed + "\\talvero.exe").c_str()));

    EXPECT_EQ("\"" + logOnShortcut + "\"", registryText(HKEY_CURRENT_USER, RUN_KEY, "TALVERO"));
    Shortcut shortcut = installedShortcut(logOnShortcut);
    EXPECT_EQ("/tray", shortcut.arguments);
    startFrom(shortcut);
    // Only /tray adds the icon; the window is hidden once the command has run.
    EXPECT_TRUE(waitUntil(
        [&] {
            HWND mainWindow = findProgramWindowShownOrNot(program, "TALVERO", "TALVERO");
            return trayIconWindow() != nullptr && mainWindow != nullptr && !IsWindowVisible(mainWindow);
        },
        START_DEADLINE_MS))
        << "not stored in the notification area";
}

TEST_F(Release, SilentUninstallRemovesEverythingButTheSettingsFolder)
{
    install(" /LOGON");
    writeWholeFile((settings + "\\config.txt").c_str(), SETTINGS_TEXT);
    ASSERT_TRUE(uninstall()) << "the uninstall key is still there";
    for (const std::string &file : {installed, menuShortcut, logOnShortcut})
        EXPECT_FALSE(fileExists(file.c_str())) << file;
    EXPECT_EQ("<missing>", registryText(HKEY_CURRENT_USER, RUN_KEY, "TALVERO"));
    EXPECT_EQ(SETTINGS_TEXT, settingsFile());
}

}  // namespace
