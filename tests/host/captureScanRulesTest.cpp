// The window classification rules of the capture loops: which windows count in
// a z-order scan, how overlays are told apart, the pair rule and the shell case.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "captureRules.h"

namespace {

struct ClassCase {
    const char *className;
    bool countsForScreen;
    bool countsForWindow;
};

const ClassCase CLASS_CASES[] = {
    {"Notepad", true, true},
    {"button", true, true},              // exact comparison: case matters
    {"Button", false, false},
    {"Button ", true, true},             // length matters
    {"Butto", true, true},
    {"Alternate Owner", false, false},
    {"TaskListOverlayWnd", false, false},
    {"DV2ControlHost", false, false},
    {"BaseBar", false, false},
    {"#32768", false, false},
    {"#32769", false, false},
    {"#32770", false, false},
    {"#32771", false, false},
    {"#32772", false, false},
    {"#32773", true, true},              // not in the list
    {"#32774", false, false},
    {"Progman", false, false},
    {"ComboLBox", false, false},
    {"DDEMLEvent", false, false},
    {"Message", false, false},
    {"ComboBox", false, false},
    {"ListBox", false, false},
    {"MDIClient", false, false},
    {"ScrollBar", false, false},
    {"Static", false, false},
    {"SynTrackCursorWindowClass", false, false},
    {"Shell_TrayWnd", false, false},
    {"WorkerW", false, false},
    {"screenClass", false, false},
    {"gdkWindowTemp", false, false},
    {"MsoCommandBarShadow", false, false},
    {"MozillaDropShadowWindowClass", true, false},   // the one difference of the two scans
    {"MozillaDropShadowWindowClas", true, true},
    {"tooltips_class32", true, true},
    {"TALVERO", true, true},
};

TEST(CaptureScanRules, ClassesThatCountInEachScan)
{
    for (const ClassCase &c : CLASS_CASES) {
        ScanWindowFacts facts{true, true, true, c.className};
        EXPECT_EQ(c.countsForScreen, windowCountsInScan(facts, SCAN_FOR_SCREEN)) << c.className;
        EXPECT_EQ(c.countsForWindow, windowCountsInScan(facts, SCAN_FOR_WINDOW)) << c.className;
    }
}

struct FactsCase {
    ScanWindowFacts facts;
    bool counts;
};

TEST(CaptureScanRules, HiddenDisabledVanishedOrNamelessWindowsDoNotCount)
{
    const FactsCase cases[] = {
        {{true, true, true, "Notepad"}, true},
        {{false, true, true, "Notepad"}, false},
        {{true, false, true, "Notepad"}, false},
        {{true, true, false, "Notepad"}, false},
        {{true, true, true, ""}, false},
        {{true, true, true, nullptr}, false},
    };
    for (const FactsCase &c : cases) {
        EXPECT_EQ(c.counts, windowCountsInScan(c.facts, SCAN_FOR_SCREEN));
        EXPECT_EQ(c.counts, windowCountsInScan(c.facts, SCAN_FOR_WINDOW));
    }
}

TEST(CaptureScanRules, OverlayTitleIsATwelveCharacterPrefix)
{
    const struct {
        const char *title;
        bool overlay;
    } cases[] = {
        {"TALVERO_GRAY", true},
        {"TALVERO_GRAY.txt - Notepad", true},   // whatever follows
        {"TALVERO_GRA", false},                 // 11 characters
        {"talvero_gray", false},
        {" TALVERO_GRAY", false},
        {"TALVERO", false},
        {"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.overlay, isOverlayTitle(c.title)) << c.title;
}

// One window in z-order, top first, as the scan would see it after counting.
struct Counted {
    uintptr_t id;
    const char *title;
};

ZOrderScan scanOf(const std::vector<Counted> &windows)
{
    ZOrderScan scan{};
    for (const Counted &w : windows)
        recordCountedWindow(&scan, reinterpret_cast<WindowId>(w.id), w.title);
    return scan;
}

struct ScanCase {
    const char *story;
    std::vector<Counted> windows;
    int32_t windowCount;
    int32_t topFound;
    int32_t overlayOnTop;
    uintptr_t topWindow;
};

TEST(CaptureScanRules, ScanResultsOverZOrders)
{
    const ScanCase cases[] = {
        {"empty z-order", {}, 0, 0, 0, 0},
        {"overlay, editor, overlay", {{1, "TALVERO_GRAY"}, {2, "notes - Editor"}, {3, "TALVERO_GRAY"}}, 3, 1, 1, 2},
        {"editor, overlay", {{2, "notes - Editor"}, {1, "TALVERO_GRAY"}}, 2, 1, 0, 2},
        {"only an overlay", {{1, "TALVERO_GRAY"}}, 1, 0, 1, 0},
        {"editor titled like an overlay", {{4, "TALVERO_GRAY notes"}, {2, "Editor"}}, 2, 1, 1, 2},
        {"11-character title is a window", {{5, "TALVERO_GRA"}, {2, "Editor"}}, 2, 1, 0, 5},
        {"first of several windows", {{7, "a"}, {8, "b"}, {9, "c"}}, 3, 1, 0, 7},
        {"untitled window counts", {{6, ""}}, 1, 1, 0, 6},
    };
    for (const ScanCase &c : cases) {
        ZOrderScan scan = scanOf(c.windows);
        EXPECT_EQ(c.windowCount, scan.windowCount) << c.story;
        EXPECT_EQ(c.topFound, scan.topFound) << c.story;
        EXPECT_EQ(c.overlayOnTop, scan.overlayOnTop) << c.story;
        EXPECT_EQ(reinterpret_cast<WindowId>(c.topWindow), scan.topWindow) << c.story;
    }
}

struct PairCase {
    const char *foregroundClass;
    const char *topClass;
    int expected;
};

const PairCase PAIR_CASES[] = {
    {"IEFrame", "tooltips_class32", 1},
    {"IEFrame", "IEFrame", 1},
    {"IEFrame", "Notepad", 0},
    {"ieframe", "IEFrame", 0},
    {"Chrome_WidgetWin_0", "Chrome_WidgetWin_1", 1},      // last two characters free
    {"Chrome_WidgetWin_1", "Chrome_WidgetWin_1", 1},
    {"Chrome_WidgetWinXY", "Chrome_WidgetWin__", 1},
    {"Chrome_WidgetWin_10", "Chrome_WidgetWin_1", 0},     // 19 characters
    {"Chrome_WidgetWin_1", "Chrome_WidgetWin_10", 0},
    {"Chrome_WidgetWin", "Chrome_WidgetWin", 0},          // 16 characters alone
    {"Chrome_WidgetWin_1", "Notepad", 0},
    {"chrome_WidgetWin_1", "Chrome_WidgetWin_1", 0},
    {"TaskListThumbnailWnd", "TaskListThumbnailWnd", 1},
    {"Notepad", "TaskListThumbnailWnd", 0},               // only when both
    {"TaskListThumbnailWnd", "Notepad", 0},
    {"Notepad", "VsTipWindow", 1},
    {"Notepad", "SysShadow", 1},
    {"Notepad", "tooltips_class32", 1},                   // whatever the foreground
    {"", "tooltips_class32", 1},
    {"#32770", "Notepad", 1},                             // a dialog in the foreground
    {"Notepad", "#32770", 0},                             // never reached: the scan ignores dialogs
    {"Notepad", "Notepad", 0},
    {"", "", 0},
    {"Notepad", "tooltips_class3", 0},
    {"Notepad", "VsTipWindow ", 0},
};

TEST(CaptureScanRules, PairRule)
{
    for (const PairCase &c : PAIR_CASES)
        EXPECT_EQ(c.expected, matchesPairRule(c.foregroundClass, c.topClass))
            << c.foregroundClass << " / " << c.topClass;
}

TEST(CaptureScanRules, ShellCase)
{
    const struct {
        const char *foregroundClass;
        const char *topClass;
        bool shell;
    } cases[] = {
        {"tooltips_class32", "Notepad", true},
        {"SysShadow", "Notepad", true},
        {"TaskListThumbnailWnd", "Notepad", true},
        {"DV2ControlHost", "Notepad", true},
        {"Shell_TrayWnd", "Notepad", true},
        {"BaseBar", "Notepad", true},
        {"TaskListOverlayWnd", "Notepad", true},
        {"TaskListOverlayWnd ", "Notepad", false},
        {"shell_traywnd", "Notepad", false},
        {"Notepad", "TaskListThumbnailWnd", true},
        {"Notepad", "Shell_TrayWnd", false},      // only thumbnails count on top
        {"Notepad", "tooltips_class32", false},
        {"Notepad", "Notepad", false},
        {"", "", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.shell, isShellCase(c.foregroundClass, c.topClass)) << c.foregroundClass << " / " << c.topClass;
}

TEST(CaptureScanRules, ExactClassComparison)
{
    EXPECT_TRUE(classIs("Static", "Static"));
    EXPECT_FALSE(classIs("Static2", "Static"));
    EXPECT_FALSE(classIs("Stati", "Static"));
    EXPECT_FALSE(classIs("static", "Static"));
}

}  // namespace
