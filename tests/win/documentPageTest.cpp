// The documentation page that Help > Document opens: the manual in the folder of
// the running program, whatever the working directory is.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "helpDialogs.h"
#include "resource.h"

TEST(DocumentPage, IsTheManualBesideTheProgram)
{
    char program[MAX_PATH];
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string folder(program);
    folder.erase(folder.rfind('\\') + 1);

    char path[MAX_PATH];
    documentPagePath(path, sizeof path);
    EXPECT_EQ(folder + DOCUMENT_FILE_NAME, std::string(path));

    char small[8];
    documentPagePath(small, sizeof small);
    EXPECT_EQ(sizeof small - 1, strlen(small)) << "a short buffer gets a cut, terminated path";
}
