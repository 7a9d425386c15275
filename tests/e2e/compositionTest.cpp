// A user on a composited desktop (the registry's DWM "Composition" value set)
// starts TALVERO: it explains why it cannot run and ends with code 1. With the
// value 0, or without the key, it starts normally. The test process shares the
// Wine prefix with the program, so it sets the value itself and restores it after.
#include "talveroTest.h"

namespace {

const char COMPOSITION_REFUSAL[] =
    "TALVERO is not compatible with Aero and \"Windows Standard\"\r\n"
    "Please Set to \"Windows Basic\"(Not \"Windows Standard\") about Windows Theme.";
// The static text of a message box.
constexpr int MESSAGE_BOX_TEXT_ID = 0xFFFF;

class Composition : public TalveroTest {
protected:
    SavedComposition saved;
    void SetUp() override
    {
        TalveroTest::SetUp();
        saved = saveComposition();
    }
    void TearDown() override
    {
        TalveroTest::TearDown();
        restoreComposition(saved);
    }

    void exitThroughMenu()
    {
        ASSERT_TRUE(chooseMenuItem(program, 'F', 'E')) << "the File menu did not open";
        EXPECT_EQ(0, exitCodeAfterEnd());
    }
};

}  // namespace

TEST_F(Composition, CompositionOnIsRefusedWithCodeOne)
{
    setComposition(1);
    ASSERT_TRUE(startProgram(program));
    HWND box = waitForDialog("Error");
    ASSERT_NE(nullptr, box) << "no refusal shown";
    EXPECT_EQ(COMPOSITION_REFUSAL, windowText(GetDlgItem(box, MESSAGE_BOX_TEXT_ID)));
    EXPECT_EQ(nullptr, GetWindow(box, GW_OWNER)) << "the refusal has no owner window";

    // The refusal comes from inside the main window's creation, before any control
    // is made: the window exists, hidden and without children, while the box is up.
    HWND main = findProgramWindowShownOrNot(program, "TALVERO", "TALVERO");
    ASSERT_NE(nullptr, main) << "the refusal must come while the main window is being created";
    EXPECT_FALSE(IsWindowVisible(main)) << "the main window must not show";
    EXPECT_EQ(nullptr, GetWindow(main, GW_CHILD)) << "no control may exist when the refusal shows";
    EXPECT_TRUE(IsWindow(box)) << "the refusal waits for the user";

    POINT ok = centreOf(GetDlgItem(box, IDOK));
    clickAt(ok.x, ok.y);
    EXPECT_EQ(1, exitCodeAfterEnd());
}

TEST_F(Composition, CompositionOffStartsNormally)
{
    setComposition(0);
    startTalvero();
    EXPECT_EQ(nullptr, findProgramWindow(program, "#32770", "Error"));
    exitThroughMenu();
}

TEST_F(Composition, WithoutTheKeyItStartsNormally)
{
    removeComposition();
    startTalvero();
    EXPECT_EQ(nullptr, findProgramWindow(program, "#32770", "Error"));
    exitThroughMenu();
}
