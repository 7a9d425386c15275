// The documentation page that Help > Document opens: the manual in the folder of
// the running program, whatever the working directory is.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "helpDialogs.h"
#include "resource.h"

TEST(DocumentPage, IsTheManualBesideTheProgram)
{
    wchar_t program[MAX_PATH];
    GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring folder(program);
    folder.erase(folder.rfind(L'\\') + 1);

    wchar_t path[MAX_PATH];
    documentPagePath(path, MAX_PATH);
    EXPECT_EQ(folder + L"" DOCUMENT_FILE_NAME, std::wstring(path));

    wchar_t small[8];
    documentPagePath(small, 8);
    EXPECT_EQ(7u, wcslen(small)) << "a short buffer gets a cut, terminated path";
}
