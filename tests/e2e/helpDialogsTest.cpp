// A user opens Help > About and Help > Document: each dialog is modal, shows its
// texts, ignores Escape and its close box, and closes only through Close (the
// button, or Enter while it is the default button).
#include <string>
#include <vector>

#include "talveroTest.h"

namespace {

class HelpDialogs : public TalveroTest {
protected:
    std::vector<std::string> staticTexts(HWND dialog)
    {
        std::vector<std::string> texts;
        for (HWND child = FindWindowExA(dialog, nullptr, "Static", nullptr); child != nullptr;
             child = FindWindowExA(dialog, child, "Static", nullptr))
            texts.push_back(windowText(child));
        return texts;
    }

    bool hasText(HWND dialog, const std::string &text)
    {
        for (const std::string &shown : staticTexts(dialog))
            if (shown == text)
                return true;
        return false;
    }

    // The dialog is the active window of the foreground and holds the focus: input
    // that the test sends goes to it.
    bool dialogHasInput(HWND dialog)
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetForegroundWindow() == dialog &&
               GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) && info.hwndActive == dialog &&
               info.hwndFocus != nullptr && IsChild(dialog, info.hwndFocus);
    }

    // Escape and the caption's close box must leave the dialog open. So that
    // "nothing happened" cannot mean "the input went elsewhere", the dialog keeps
    // the foreground and the focus throughout, and Enter afterwards (Close is the
    // default button) does close it.
    void expectEscapeAndCloseBoxIgnoredThenEnterCloses(HWND dialog)
    {
        ASSERT_TRUE(bringToFront(dialog));
        ASSERT_TRUE(dialogHasInput(dialog)) << "the dialog does not have the keyboard";
        pressKey(VK_ESCAPE);
        Sleep(QUIET_PERIOD_MS);
        EXPECT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog)) << "Escape closed the dialog";
        EXPECT_TRUE(dialogHasInput(dialog)) << "the dialog lost the keyboard after Escape";

        POINT closeBox = {};
        ASSERT_TRUE(findHitTestPoint(dialog, HTCLOSE, &closeBox)) << "no close box on the dialog";
        EXPECT_EQ(dialog, WindowFromPoint(closeBox)) << "the close box is covered";
        clickAt(closeBox.x, closeBox.y);
        Sleep(QUIET_PERIOD_MS);
        EXPECT_TRUE(IsWindow(dialog) && IsWindowVisible(dialog)) << "the close box closed the dialog";
        ASSERT_TRUE(dialogHasInput(dialog)) << "the dialog lost the keyboard after the click";

        pressKey(VK_RETURN);
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(dialog); }, APPEAR_DEADLINE_MS))
            << "Enter did not close it: the keys do not reach the dialog";
    }

    void openFromHelpMenu(WORD mnemonic)
    {
        ASSERT_TRUE(chooseMenuItem(program, 'H', mnemonic)) << "the Help menu did not open";
    }

    void exitProgram()
    {
        ASSERT_TRUE(chooseMenuItem(program, 'F', 'E')) << "the File menu did not open";
        EXPECT_EQ(0, exitCodeAfterEnd());
    }
};

}  // namespace

TEST_F(HelpDialogs, AboutShowsTheNoticeAndClosesOnlyThroughClose)
{
    startTalvero();
    openFromHelpMenu('A');
    HWND about = waitForDialog("Copyright");
    ASSERT_NE(nullptr, about) << "Help > About opened no \"Copyright\" dialog";
    EXPECT_EQ(program.mainWindow, GetWindow(about, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(program.mainWindow)) << "the dialog is modal";
    EXPECT_EQ("Close", windowText(GetDlgItem(about, IDC_ABOUT_CLOSE)));
    EXPECT_TRUE(hasText(about, "TALVERO 1.0.3.0\r\nCopyright (C) 2026 the TALVERO developers"));

    expectEscapeAndCloseBoxIgnoredThenEnterCloses(about);
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(program.mainWindow) != 0; }, APPEAR_DEADLINE_MS));

    // Clicking Close closes it too.
    openFromHelpMenu('A');
    about = waitForDialog("Copyright");
    ASSERT_NE(nullptr, about) << "Help > About did not open again";
    POINT close = centreOf(GetDlgItem(about, IDC_ABOUT_CLOSE));
    clickAt(close.x, close.y);
    EXPECT_TRUE(waitUntil([&] { return !IsWindow(about); }, APPEAR_DEADLINE_MS)) << "Close did not close it";
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(program.mainWindow) != 0; }, APPEAR_DEADLINE_MS));
    exitProgram();
}

TEST_F(HelpDialogs, DocumentNamesTheManualAndClosesOnlyThroughClose)
{
    startTalvero();
    openFromHelpMenu('U');
    HWND document = waitForDialog("Document");
    ASSERT_NE(nullptr, document) << "Help > Document opened no \"Document\" dialog";
    EXPECT_FALSE(IsWindowEnabled(program.mainWindow)) << "the dialog is modal";
    EXPECT_EQ("Close", windowText(GetDlgItem(document, IDC_DOCUMENT_CLOSE)));
    EXPECT_EQ("TALVERO Document", windowText(GetDlgItem(document, IDC_DOCUMENT_OPEN)));
    EXPECT_TRUE(hasText(document, "Please refer to a document. \r\n" DOCUMENT_FILE_NAME ", next to talvero.exe"));

    // The page the dialog names is shipped beside the program. "TALVERO Document"
    // is not pressed here: under Wine it would open the page in the host's browser.
    std::string exe = talveroPath();
    std::string manual = exe.substr(0, exe.rfind('\\') + 1) + DOCUMENT_FILE_NAME;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(manual.c_str())) << manual;

    expectEscapeAndCloseBoxIgnoredThenEnterCloses(document);
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(program.mainWindow) != 0; }, APPEAR_DEADLINE_MS));
    exitProgram();
}
