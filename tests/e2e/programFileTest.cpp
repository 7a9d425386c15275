// What a user (or an installer) finds inside talvero.exe: the version resource,
// the manifest for this build's processor, the string table, the pictures in
// their sizes and formats, the menu, and the dialog templates item by item.
#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "boundedText.h"
#include "dialogTemplate.h"
#include "talveroTest.h"

namespace {

// What the program promises of one control of a dialog.
struct ExpectedItem {
    DWORD id;
    const char *className;
    const char *title;
    DWORD style;
    short x, y, width, height;
};
constexpr DWORD NO_ID = static_cast<DWORD>(-1);
constexpr DWORD CHILD = WS_CHILD | WS_VISIBLE;
const char ICON_104[] = "#104";

class ProgramFile : public testing::Test {
protected:
    HMODULE exe = nullptr;
    void SetUp() override
    {
        exe = LoadLibraryExA(talveroPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, exe) << talveroPath();
    }
    void TearDown() override
    {
        if (exe != nullptr)
            FreeLibrary(exe);
    }

    std::string resourceText(const char *type, int id)
    {
        HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(id), type);
        if (found == nullptr)
            return "";
        const char *data = static_cast<const char *>(LockResource(LoadResource(exe, found)));
        return data != nullptr ? std::string(data, SizeofResource(exe, found)) : "";
    }

    void expectBitmap(int id, int width, int height)
    {
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageA(exe, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(nullptr, bitmap) << "bitmap " << id;
        DIBSECTION section = {};
        GetObjectA(bitmap, sizeof section, &section);
        EXPECT_EQ(width, section.dsBmih.biWidth) << "bitmap " << id;
        EXPECT_EQ(height, abs(section.dsBmih.biHeight)) << "bitmap " << id;
        EXPECT_EQ(24, section.dsBmih.biBitCount) << "bitmap " << id;
        DeleteObject(bitmap);
    }

    DialogTemplate dialogTemplate(int id)
    {
        HRSRC found = FindResourceA(exe, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
        if (found == nullptr)
            return {};
        const BYTE *data = static_cast<const BYTE *>(LockResource(LoadResource(exe, found)));
        return data != nullptr ? parseDialogTemplate(data, SizeofResource(exe, found)) : DialogTemplate{};
    }

    void expectItems(const DialogTemplate &dialog, const std::vector<ExpectedItem> &expected)
    {
        ASSERT_EQ(expected.size(), dialog.items.size());
        for (size_t index = 0; index < expected.size(); index++) {
            const ExpectedItem &want = expected[index];
            const DialogItem &item = dialog.items[index];
            SCOPED_TRACE("item " + std::to_string(index) + " \"" + want.title + "\"");
            EXPECT_EQ(want.id, item.id);
            EXPECT_EQ(want.className, item.className);
            EXPECT_EQ(want.title, item.title);
            EXPECT_EQ(want.style, item.style) << std::hex << "0x" << want.style << " wanted, 0x" << item.style;
            EXPECT_EQ(0u, item.exStyle);
            EXPECT_EQ(want.x, item.x);
            EXPECT_EQ(want.y, item.y);
            EXPECT_EQ(want.width, item.width);
            EXPECT_EQ(want.height, item.height);
        }
    }

    // The frame, width and font the About and Document dialogs share.
    void expectHelpDialogFrame(const DialogTemplate &dialog, const char *title, short height)
    {
        ASSERT_TRUE(dialog.readable) << "not a readable extended template";
        EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS),
                  dialog.style);
        EXPECT_EQ(0u, dialog.exStyle);
        EXPECT_EQ(title, dialog.title);
        EXPECT_EQ(0, dialog.x);
        EXPECT_EQ(0, dialog.y);
        EXPECT_EQ(186, dialog.width);
        EXPECT_EQ(height, dialog.height);
        EXPECT_EQ(8, dialog.pointSize);
        EXPECT_EQ(400, dialog.weight);
        EXPECT_EQ(0, dialog.italic);
        EXPECT_EQ(1, dialog.charset);
        EXPECT_EQ("MS Shell Dlg", dialog.face);
    }

    std::string versionValue(const std::vector<char> &info, const char *name)
    {
        char path[128];
        formatText(path, "\\StringFileInfo\\040904b0\\%s", name);
        char *value = nullptr;
        UINT length = 0;
        if (!VerQueryValueA(info.data(), path, reinterpret_cast<void **>(&value), &length) || value == nullptr)
            return "<missing>";
        return value;
    }
};

}  // namespace

TEST_F(ProgramFile, VersionSaysTalvero103)
{
    std::string path = talveroPath();
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void **>(&fixed), &length));
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwFileVersionMS);  // 1.0
    EXPECT_EQ(MAKELONG(0, 3), fixed->dwFileVersionLS);  // .3.0
    EXPECT_EQ(fixed->dwFileVersionMS, fixed->dwProductVersionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, fixed->dwProductVersionLS);
    EXPECT_EQ("TALVERO", versionValue(info, "FileDescription"));
    EXPECT_EQ("TALVERO", versionValue(info, "InternalName"));
    EXPECT_EQ("TALVERO", versionValue(info, "ProductName"));
    EXPECT_EQ("talvero.exe", versionValue(info, "OriginalFilename"));
    EXPECT_EQ("1.0.3.0", versionValue(info, "FileVersion"));
    EXPECT_EQ("1.0.3.0", versionValue(info, "ProductVersion"));
}

// The manifest's identity and the manual shipped beside the program carry the same version.
TEST_F(ProgramFile, ManifestAndManualNameVersion103)
{
    std::string manifest = resourceText(MAKEINTRESOURCEA(24), 1);
    EXPECT_NE(std::string::npos, manifest.find("name=\"TALVERO.talvero\" version=\"1.0.3.0\"")) << manifest;

    std::string exe = talveroPath();
    std::string manualPath = exe.substr(0, exe.rfind('\\') + 1) + DOCUMENT_FILE_NAME;
    std::string manual;
    FILE *file = fopen(manualPath.c_str(), "rb");
    ASSERT_NE(nullptr, file) << manualPath;
    char chunk[4096];
    for (size_t got; (got = fread(chunk, 1, sizeof chunk, file)) > 0;)
        manual.append(chunk, got);
    fclose(file);
    EXPECT_NE(std::string::npos, manual.find("<h1>TALVERO 1.0.3.0</h1>"));
}

// A 64-bit program whose manifest names an x86 dependency does not start on Windows.
TEST_F(ProgramFile, ManifestAsksForCommonControls6OfThisProcessor)
{
    std::string manifest = resourceText(MAKEINTRESOURCEA(24), 1);
    ASSERT_FALSE(manifest.empty()) << "no manifest resource 1 of type 24";
    const char *architecture = sizeof(void *) == 8 ? "amd64" : "x86";
    std::string wanted = std::string("processorArchitecture=\"") + architecture + "\"";
    EXPECT_NE(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls"));
    EXPECT_NE(std::string::npos, manifest.find("version=\"6.0.0.0\""));
    size_t dependency = manifest.find("Microsoft.Windows.Common-Controls");
    EXPECT_NE(std::string::npos, manifest.find(wanted, dependency)) << manifest;
    EXPECT_EQ(std::string::npos, manifest.find(sizeof(void *) == 8 ? "\"x86\"" : "\"amd64\"")) << manifest;
}

// No elevation or file redirection on Vista and 7, both systems named, no DPI scaling.
TEST_F(ProgramFile, ManifestRunsAsInvokerOnVistaAndSevenDpiAware)
{
    std::string manifest = resourceText(MAKEINTRESOURCEA(24), 1);
    for (const char *wanted : {"level=\"asInvoker\"", "Id=\"{e2011457-1546-43c5-a5fe-008deee3d3f0}\"",
                               "Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"", "WindowsSettings\">true</dpiAware>"})
        EXPECT_NE(std::string::npos, manifest.find(wanted)) << wanted;
}

TEST_F(ProgramFile, StringTableHoldsTheProgramsTexts)
{
    const struct {
        int id;
        const char *text;
    } strings[] = {
        {104, "Set to gray"}, {105, "Turn off gray"}, {106, "Window Title"}, {107, "Application"},
        {108, "ON/OFF"}, {109, "Make a top window into gray"}, {110, "Make a screen into gray"},
        {111, "Return a color to normal"}, {112, "Store in a Tasktray"}, {113, "Configure TALVERO"},
        {114, "TALVERO is compatible with XP,Vista,7"}, {116, "Error"}, {117, "ON"}, {118, "OFF"},
        {119, "Under measurement "}, {120, "Gray: "}, {130, "Tray icon could not be added"},
    };
    for (const auto &entry : strings) {
        char text[256] = {};
        LoadStringA(exe, entry.id, text, sizeof text);
        EXPECT_EQ(entry.text, std::string(text)) << "string " << entry.id;
    }
}

TEST_F(ProgramFile, PicturesDialogsAndMenuAreThere)
{
    expectBitmap(IDB_BUTTON_STRIP, 300, 180);
    expectBitmap(IDB_CONFIG_BANNER, 591, 38);
    EXPECT_NE(nullptr, FindResourceA(exe, MAKEINTRESOURCEA(IDI_TALVERO), MAKEINTRESOURCEA(14)));  // RT_GROUP_ICON
    EXPECT_NE(nullptr, FindResourceA(exe, MAKEINTRESOURCEA(IDI_LIST_DEFAULT), MAKEINTRESOURCEA(14)));
    EXPECT_NE(nullptr, FindResourceA(exe, MAKEINTRESOURCEA(IDM_MAIN_MENU), MAKEINTRESOURCEA(4)));  // RT_MENU
    for (int dialog : {IDD_ABOUT, IDD_DOCUMENT, IDD_CONFIG, IDD_HABIT})
        EXPECT_NE(nullptr, FindResourceA(exe, MAKEINTRESOURCEA(dialog), MAKEINTRESOURCEA(5))) << "dialog " << dialog;
}

TEST_F(ProgramFile, AboutDialogTemplateHoldsCloseIconAndNotice)
{
    DialogTemplate about = dialogTemplate(IDD_ABOUT);
    expectHelpDialogFrame(about, "Copyright", 126);
    expectItems(about, {
        {IDC_ABOUT_CLOSE, "button", "Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 72, 105, 50, 14},
        {NO_ID, "static", ICON_104, CHILD | SS_ICON, 19, 7, 21, 20},
        {NO_ID, "static", "TALVERO 1.0.3.0\r\nCopyright (C) 2026 the TALVERO developers",
         CHILD | WS_GROUP | SS_LEFT, 20, 34, 148, 31},
        {NO_ID, "static", "Settings are kept in:", CHILD | WS_GROUP | SS_LEFT, 20, 66, 148, 9},
        // The folder, filled in when the dialog opens; "&" in a path is no mnemonic.
        {IDC_ABOUT_SETTINGS_FOLDER, "static", "", CHILD | SS_LEFT | SS_NOPREFIX, 20, 76, 160, 26},
    });
}

TEST_F(ProgramFile, DocumentDialogTemplateHoldsItsButtonsTextAndIcon)
{
    DialogTemplate document = dialogTemplate(IDD_DOCUMENT);
    expectHelpDialogFrame(document, "Document", 93);
    expectItems(document, {
        {IDC_DOCUMENT_CLOSE, "button", "Close", CHILD | WS_TABSTOP | BS_DEFPUSHBUTTON, 25, 72, 50, 14},
        {IDC_DOCUMENT_OPEN, "button", "TALVERO Document", CHILD | WS_TABSTOP | BS_PUSHBUTTON, 89, 72, 75, 14},
        {NO_ID, "static", "Please refer to a document. \r\n" DOCUMENT_FILE_NAME ", next to talvero.exe",
         CHILD | WS_GROUP | SS_LEFT, 14, 42, 165, 24},
        {NO_ID, "static", ICON_104, CHILD | SS_ICON, 19, 7, 21, 20},
    });
}

TEST_F(ProgramFile, ConfigDialogTemplateHoldsItsControlsInOrder)
{
    DialogTemplate config = dialogTemplate(IDD_CONFIG);
    ASSERT_TRUE(config.readable) << "not a readable extended template";
    // No system menu: the dialog has no close box.
    EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_THICKFRAME | DS_SETFONT), config.style);
    EXPECT_EQ(0u, config.exStyle);
    EXPECT_EQ("Config", config.title);
    EXPECT_EQ(259, config.width);
    EXPECT_EQ(281, config.height);
    EXPECT_EQ(10, config.pointSize);
    EXPECT_EQ("MS UI Gothic", config.face);
    expectItems(config, {
        {NO_ID, "button", "Convert Type", CHILD | BS_GROUPBOX, 7, 52, 245, 74},
        {NO_ID, "button", "Reverse Color", CHILD | BS_GROUPBOX, 7, 205, 245, 46},
        {IDC_CONFIG_NTSC, "button", "NTSC Type", CHILD | BS_AUTORADIOBUTTON, 27, 75, 191, 13},
        {IDC_CONFIG_HDTV, "button", "HDTV Type", CHILD | BS_AUTORADIOBUTTON, 27, 96, 208, 18},
        {NO_ID, "static", "Change gray tone(Standard: 10)", CHILD | WS_GROUP, 26, 152, 161, 9},
        {IDC_CONFIG_REVERSE, "button", "Reverse Gray", CHILD | BS_AUTOCHECKBOX | WS_TABSTOP, 27, 223, 88, 15},
        {NO_ID, "button", "Brightness", CHILD | BS_GROUPBOX, 7, 135, 245, 62},
        {IDC_CONFIG_TONE, "msctls_trackbar32", "", CHILD | TBS_AUTOTICKS | TBS_BOTH | TBS_TOOLTIPS | WS_TABSTOP, 37,
         167, 167, 24},
        {IDC_CONFIG_CLOSE, "button", "Close", CHILD | BS_PUSHBUTTON | WS_TABSTOP, 53, 261, 56, 17},
        {IDC_CONFIG_DEFAULT, "button", "Set Default", CHILD | BS_PUSHBUTTON | WS_TABSTOP, 126, 261, 69, 17},
        {IDC_CONFIG_TONE_VALUE, "edit", "", CHILD | ES_READONLY | WS_BORDER | WS_TABSTOP, 207, 172, 15, 14},
        {NO_ID, "static", "#122", CHILD | SS_BITMAP, 0, 7, 150, 23},
    });
}

TEST_F(ProgramFile, MenuHoldsFileAndHelpWithTheirCommands)
{
    HMENU menu = LoadMenuA(exe, MAKEINTRESOURCEA(IDM_MAIN_MENU));
    ASSERT_NE(nullptr, menu) << "menu " << IDM_MAIN_MENU << " does not load";
    const struct {
        const char *text;
        std::vector<std::pair<const char *, int>> items;
    } popups[] = {
        {"File(&F)", {{"Habit...(&H)", IDM_HABIT}, {"", 0}, {"Exit(&E)", IDM_FILE_EXIT}}},   // a separator between
        {"Help(&H)", {{"Document(&U)", IDM_HELP_DOCUMENT}, {"About TALVERO(&A)", IDM_HELP_ABOUT}}},
    };
    auto itemText = [](HMENU owner, int position) {
        char text[128] = {};
        GetMenuStringA(owner, position, text, sizeof text, MF_BYPOSITION);
        return std::string(text);
    };
    ASSERT_EQ(2, GetMenuItemCount(menu));
    for (int position = 0; position < 2; position++) {
        SCOPED_TRACE(popups[position].text);
        EXPECT_EQ(popups[position].text, itemText(menu, position));
        EXPECT_EQ(static_cast<UINT>(-1), GetMenuItemID(menu, position)) << "a pop-up, not a command";
        HMENU popup = GetSubMenu(menu, position);
        ASSERT_NE(nullptr, popup);
        ASSERT_EQ(static_cast<int>(popups[position].items.size()), GetMenuItemCount(popup));
        for (size_t item = 0; item < popups[position].items.size(); item++) {
            EXPECT_EQ(popups[position].items[item].first, itemText(popup, static_cast<int>(item)));
            EXPECT_EQ(static_cast<UINT>(popups[position].items[item].second),
                      GetMenuItemID(popup, static_cast<int>(item)));
            EXPECT_EQ(nullptr, GetSubMenu(popup, static_cast<int>(item)));
        }
    }
    DestroyMenu(menu);
}
