// The fixture of every end-to-end test: one run of talvero.exe in a working
// directory of its own, a screenshot when the test fails, and clean-up.
#pragma once

#include <gtest/gtest.h>

#include "harness.h"

// Ids of the main window's controls and commands, as a user's tools see them.
#include "resource.h"

class TalveroTest : public testing::Test {
protected:
    Program program;

    void SetUp() override;
    void TearDown() override;

    // Starts the program (with config.txt holding settingsText, if given) and
    // waits for its main window (fatal on failure).
    void startTalvero(const char *settingsText = nullptr);
    // Moves the mouse where it rests between actions, away from every window of ours.
    void parkMouse();
    HWND control(int id) const { return GetDlgItem(program.mainWindow, id); }
    // Waits for the program to end; the exit code, or a failure and -1.
    long exitCodeAfterEnd();
    // A modal dialog of the program with this caption, once it is shown.
    HWND waitForDialog(const char *caption);
    // A click on a command button, the mouse parked again afterwards.
    void press(int buttonId);
    std::string status(int part) { return statusText(program, control(IDC_STATUS_BAR), part); }
    // Waits until the status bar reads "Gray: " + state.
    bool waitForGray(const std::string &state);
    std::string settingsText();
    // Opens the row menu at a point and chooses its entry with the arrow keys.
    void chooseFromMenu(POINT at, int downPresses);
    // Saves rewrite the line in place: a shorter line leaves blanks of the old one after it.
    bool settingsFileHolds(const std::string &line);
};
