// A person opens File > Habit..., types a period, sets the intensity with the keys
// and presses OK: habit.txt holds both, and a line it did not understand stays.
#include <string>

#include "talveroTest.h"

namespace {

class HabitDialog : public TalveroTest {};

// Characters as a keyboard of any layout sends them.
void typeText(const std::string &text)
{
    for (char c : text) {
        INPUT keys[2] = {};
        for (INPUT &key : keys) {
            key.type = INPUT_KEYBOARD;
            key.ki.wScan = static_cast<WORD>(static_cast<unsigned char>(c));
            key.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        keys[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        SendInput(2, keys, sizeof keys[0]);
    }
}

}  // namespace

TEST_F(HabitDialog, APeriodAndAnIntensityGoIntoHabitTxtBesideALineItDidNotUnderstand)
{
    const std::string keptLines = "# my evenings\nbedtime 22:00\n";
    makeWorkDirectory(program);
    const std::string habitPath = std::string(program.workDirectory) + "\\habit.txt";
    writeWholeFile(habitPath.c_str(), keptLines);
    ASSERT_TRUE(startProgramInItsFolder(program) && waitForMainWindow(program)) << talveroPath();

    ASSERT_TRUE(chooseMenuItem(program, 'F', 'H')) << "the File menu did not open";
    HWND dialog = waitForDialog("Habit");
    ASSERT_TRUE(dialog != nullptr && bringToFront(dialog)) << "no Habit dialog in front";
    typeText("Mon-Fri 22:00-07:00 focus");
    HWND periods = GetDlgItem(dialog, IDC_HABIT_PERIODS);
    EXPECT_TRUE(waitUntil([&] { return controlText(periods) == "Mon-Fri 22:00-07:00 focus"; }, APPEAR_DEADLINE_MS));
    // A click on the intensity's track takes the keyboard there (Alt+I, sent right after
    // typed characters, reached Wine's edit box as an "i" now and then); Home and six
    // pages of 10 % give 60 %.
    RECT track = windowRectOf(GetDlgItem(dialog, IDC_HABIT_INTENSITY));
    clickAt(track.left + (track.right - track.left) / 4, (track.top + track.bottom) / 2);
    pressKey(VK_HOME);
    for (int page = 0; page < 6; page++)
        pressKey(VK_NEXT);
    HWND intensity = GetDlgItem(dialog, IDC_HABIT_INTENSITY_VALUE);
    EXPECT_TRUE(waitUntil([&] { return controlText(intensity) == "60 %"; }, APPEAR_DEADLINE_MS));
    POINT ok = centreOf(GetDlgItem(dialog, IDOK));
    clickAt(ok.x, ok.y);
    parkMouse();
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, APPEAR_DEADLINE_MS)) << "OK left the dialog open";

    std::string saved = readWholeFile(habitPath.c_str());
    EXPECT_EQ(0u, saved.find(keptLines)) << saved;
    EXPECT_NE(std::string::npos, saved.find("\nperiod Mon-Fri 22:00-07:00 focus\n")) << saved;
    EXPECT_NE(std::string::npos, saved.find("\nintensity 60\n")) << saved;
}
