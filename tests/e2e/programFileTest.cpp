// What a user (or an installer) finds inside talvero.exe: the version resource,
// the manifest for this build's processor, the string table, the pictures in
// their sizes and formats, and the dialog templates.
#include <windows.h>

#include <string>

#include "talveroTest.h"

namespace {

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

    std::string versionValue(const std::vector<char> &info, const char *name)
    {
        char path[128];
        snprintf(path, sizeof path, "\\StringFileInfo\\040904b0\\%s", name);
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
        {119, "Under measurement "}, {120, "Gray: "},
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
    for (int dialog : {IDD_ABOUT, IDD_DOCUMENT, IDD_CONFIG})
        EXPECT_NE(nullptr, FindResourceA(exe, MAKEINTRESOURCEA(dialog), MAKEINTRESOURCEA(5))) << "dialog " << dialog;
}
