// A user ends TALVERO through File > Exit or the close box: the program ends with
// exit code 0 and leaves no settings file behind (settings are saved only by the
// configuration dialog).
#include <string>

#include "talveroTest.h"

namespace {

class Ending : public TalveroTest {
protected:
    bool settingsFileWritten() const
    {
        std::string file = std::string(program.workDirectory) + "\\config.txt";
        return GetFileAttributesA(file.c_str()) != INVALID_FILE_ATTRIBUTES;
    }
};

}  // namespace

TEST_F(Ending, FileExitEndsWithCodeZero)
{
    startTalvero();
    ASSERT_TRUE(chooseMenuItem(program, 'F', 'E')) << "the File menu did not open";
    EXPECT_EQ(0, exitCodeAfterEnd());
    EXPECT_FALSE(settingsFileWritten());
}

TEST_F(Ending, CloseBoxEndsWithCodeZero)
{
    startTalvero();
    ASSERT_TRUE(bringToFront(program.mainWindow));
    POINT closeBox = {};
    ASSERT_TRUE(findHitTestPoint(program.mainWindow, HTCLOSE, &closeBox)) << "no close box in the caption";
    clickAt(closeBox.x, closeBox.y);
    EXPECT_EQ(0, exitCodeAfterEnd());
    EXPECT_FALSE(settingsFileWritten());
}

TEST_F(Ending, TwoCloseRequestsInARowEndWithCodeZero)
{
    startTalvero();
    PostMessageA(program.mainWindow, WM_CLOSE, 0, 0);
    PostMessageA(program.mainWindow, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, exitCodeAfterEnd());
}
