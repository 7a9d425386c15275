// A storm of commands a restless person could give: random presses of the five
// buttons, random settings changes and the window list's double click and row
// menu, first at a fast human pace (each effect awaited), then at machine pace. The program must never hang or crash, never
// show two overlays, keep the settings it was given, and end with no more kernel
// handles or GDI objects than it had before. Then it is closed while gray is on.
#include "talveroTest.h"

#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <random>

#include "processCounts.h"

#include <tlhelp32.h>

namespace {

constexpr unsigned STORM_SEED = 20261207;
constexpr int STORM_COMMANDS = 200;
constexpr int HUMAN_PAUSE_MIN_MS = 30;
constexpr int HUMAN_PAUSE_MAX_MS = 250;
constexpr DWORD SETTLE_DEADLINE_MS = 20000;
constexpr DWORD OVERLAY_SAMPLE_MS = 5;
constexpr int32_t WINE_DC_CACHE_OBJECTS = 3 * 64;   // DCs, regions, surfaces Wine may keep
// Some cached DCs keep a bitmap too: after the storm the other objects grew by up to
// as many as the DCs did (measured: +1 to +9 bitmaps with +10 to +18 DCs). A leak of
// one object per command or per dialog grows past that by dozens.
constexpr int32_t WINE_CACHE_BITMAPS = 8;

enum Command { FOREGROUND_MODE, SCREEN_MODE, NORMAL_COLOR, TRAY, CONFIGURE, LIST_DOUBLE_CLICK, LIST_MENU, COMMAND_KINDS };
constexpr int ROW_CLICK_X = 60;   // in the title column, right of the row's icon
constexpr int MENU_ATTEMPTS = 4;
constexpr DWORD MENU_DEADLINE_MS = 2000;

// Samples the number of overlays on a thread of its own, all through the storm.
struct OverlayWatch {
    const Program *program;
    std::atomic<bool> stop{false};
    std::atomic<size_t> most{0};
    HANDLE thread = nullptr;
};

DWORD WINAPI watchOverlays(void *parameter)
{
    OverlayWatch *watch = static_cast<OverlayWatch *>(parameter);
    while (!watch->stop) {
        size_t now = overlayWindows(*watch->program).size();
        if (now > watch->most)
            watch->most = now;
        Sleep(OVERLAY_SAMPLE_MS);
    }
    return 0;
}

struct Settings {
    int type = 0;
    int tone = 10;
    int reverse = 0;
};

}  // namespace

class Storm : public TalveroTest {
protected:
    std::mt19937 random{STORM_SEED};
    Settings settings;
    HANDLE programHandle = nullptr;

    void TearDown() override
    {
        if (programHandle != nullptr)
            CloseHandle(programHandle);
        TalveroTest::TearDown();
    }
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    bool settingsFileHoldsModel()
    {
        return settingsFileHolds("Setting " + std::to_string(settings.type) + " " + std::to_string(settings.tone) +
                                 " " + std::to_string(settings.reverse) + " ");
    }
    bool modeIsOn() { return status(1) == "Gray: ON" && overlayWindows(program).size() == 1; }
    bool modeIsOff() { return status(1) == "Gray: OFF" && overlayWindows(program).empty(); }

    // One command; with awaitEffect, true once its visible effect has come.
    bool run(Command command, bool awaitEffect)
    {
        switch (command) {
        case FOREGROUND_MODE:
        case SCREEN_MODE:
            press(command == SCREEN_MODE ? IDC_BUTTON_SCREEN_MODE : IDC_BUTTON_FOREGROUND_MODE);
            return !awaitEffect || waitUntil([&] { return modeIsOn(); }, SETTLE_DEADLINE_MS);
        case NORMAL_COLOR:
            press(IDC_BUTTON_NORMAL_COLOR);
            return !awaitEffect || waitUntil([&] { return modeIsOff(); }, SETTLE_DEADLINE_MS);
        case TRAY: return storeAndRestore();
        case CONFIGURE: return changeASetting();
        case LIST_DOUBLE_CLICK:
        case LIST_MENU:
            // The row's window may be grayed or the gray turned off: either way the
            // modes must come to rest.
            if (!useARow(command == LIST_MENU))
                return false;
            return !awaitEffect || waitUntil([&] { return modeIsOn() || modeIsOff(); }, SETTLE_DEADLINE_MS);
        case COMMAND_KINDS: break;
        }
        return false;
    }
    // A double click on a random row, or its menu's "Set to gray" or "Turn off gray".
    bool useARow(bool withMenu)
    {
        HWND list = control(IDC_WINDOW_LIST);
        // A person brings the main window to the front first: a grayed or raised
        // window may lie over the list. Wine sometimes refuses the activation or
        // closes the menu at once under load; then the row is left alone, but the
        // program must still answer.
        if (!bringToFront(program.mainWindow))
            return answers();
        int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
        int shown = std::min(listItemCount(list) - top, static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0)));
        if (shown <= 0)
            return true;   // nothing listed this moment: nothing to use
        RECT row = listRowOnScreen(program, list, top + pick(0, shown - 1));
        POINT at = {row.left + ROW_CLICK_X, (row.top + row.bottom) / 2};
        if (!withMenu) {
            doubleClickAt(at.x, at.y);
            parkMouse();
            return true;
        }
        // Wine may move the focus once more just after an activation, which closes a
        // menu that opened too early: a person would right-click again.
        bool opened = false;
        for (int attempt = 0; attempt < MENU_ATTEMPTS && !opened; attempt++) {
            rightClickAt(at.x, at.y);
            opened = waitUntil([&] { return findProgramWindow(program, "#32768", "") != nullptr; }, MENU_DEADLINE_MS);
        }
        if (!opened)
            return answers();
        int downPresses = pick(1, 2);   // "Set to gray", "Turn off gray"
        for (int press = 0; press < downPresses; press++)
            pressKey(VK_DOWN);
        pressKey(VK_RETURN);
        parkMouse();
        return true;
    }
    // The main window's thread still handles messages.
    bool answers()
    {
        DWORD_PTR result = 0;
        return SendMessageTimeoutA(program.mainWindow, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, SETTLE_DEADLINE_MS, &result) != 0;
    }
    bool storeAndRestore()
    {
        press(IDC_BUTTON_TRAY);
        HWND icon = nullptr;
        if (!waitUntil([&] { return !IsWindowVisible(program.mainWindow) && (icon = trayIconWindow()) != nullptr; },
                       SETTLE_DEADLINE_MS))
            return false;
        POINT centre = centreOf(icon);
        clickAt(centre.x, centre.y);
        parkMouse();
        return waitUntil([&] { return IsWindowVisible(program.mainWindow) != FALSE; }, SETTLE_DEADLINE_MS);
    }
    bool changeASetting()
    {
        press(IDC_BUTTON_CONFIGURE);
        HWND dialog = waitForDialog("Config");
        if (dialog == nullptr)
            return false;
        switch (pick(0, 2)) {
        case 0: {
            settings.tone = pick(1, 10);
            HWND trackbar = GetDlgItem(dialog, IDC_CONFIG_TONE);
            SendMessageA(trackbar, TBM_SETPOS, TRUE, settings.tone);
            SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, settings.tone),
                         reinterpret_cast<LPARAM>(trackbar));
            break;
        }
        case 1:
            settings.type = pick(0, 1);
            SendMessageA(GetDlgItem(dialog, settings.type == 0 ? IDC_CONFIG_NTSC : IDC_CONFIG_HDTV), BM_CLICK, 0, 0);
            break;
        default:
            settings.reverse = 1 - settings.reverse;
            SendMessageA(GetDlgItem(dialog, IDC_CONFIG_REVERSE), BM_CLICK, 0, 0);
            break;
        }
        SendMessageA(GetDlgItem(dialog, IDC_CONFIG_CLOSE), BM_CLICK, 0, 0);
        return waitUntil([&] { return !IsWindow(dialog) && settingsFileHoldsModel(); }, SETTLE_DEADLINE_MS);
    }
    // The storm's commands; the tray and the dialog wait for their windows at any pace.
    void storm(bool humanPace, OverlayWatch *watch)
    {
        for (int i = 0; i < STORM_COMMANDS && !HasFatalFailure(); i++) {
            Command command = static_cast<Command>(pick(0, COMMAND_KINDS - 1));
            bool awaited = humanPace || command == TRAY || command == CONFIGURE;
            ASSERT_TRUE(run(command, awaited))
                << "command " << i << " (kind " << command << ") had no effect in time; status \"" << status(1)
                << "\", " << overlayWindows(program).size() << " overlays, menu open "
                << (findProgramWindow(program, "#32768", "") != nullptr);
            ASSERT_EQ(STILL_ACTIVE, exitCodeNow()) << "the program ended at command " << i;
            ASSERT_LE(watch->most, 1u) << "two overlays at once by command " << i;
            if (humanPace)
                Sleep(static_cast<DWORD>(pick(HUMAN_PAUSE_MIN_MS, HUMAN_PAUSE_MAX_MS)));
        }
    }
    DWORD exitCodeNow()
    {
        DWORD code = 0;
        GetExitCodeProcess(program.process.hProcess, &code);
        return code;
    }
    int threadCount()
    {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
        THREADENTRY32 entry = {};
        entry.dwSize = sizeof entry;
        int count = 0;
        for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
            count += entry.th32OwnerProcessID == program.process.dwProcessId;
        CloseHandle(snapshot);
        return count;
    }
    std::string modeState()
    {
        return "status \"" + status(1) + "\", " + std::to_string(overlayWindows(program).size()) + " overlays, " +
               std::to_string(threadCount()) + " threads";
    }
    struct Counts {
        int32_t handles;
        GdiCounts gdi;
        bool gdiRead;
    };
    Counts countsNow()
    {
        Counts counts = {handleCountOf(program.process.dwProcessId), {}, false};
        counts.gdiRead = gdiCountsOf(programHandle, &counts.gdi);
        return counts;
    }
};

TEST_F(Storm, TwoHundredCommandsAtEachPaceLeaveNoHangNoSecondOverlayAndNoLeak)
{
    SCOPED_TRACE("storm seed " + std::to_string(STORM_SEED));
    startTalvero();
    programHandle = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, program.process.dwProcessId);
    ASSERT_NE(nullptr, programHandle);
    // Warm-up: every command once, so that caches and one-time objects exist at the baseline.
    for (int kind = 0; kind < COMMAND_KINDS; kind++)
        ASSERT_TRUE(run(static_cast<Command>(kind), true)) << "warm-up command " << kind;
    ASSERT_TRUE(run(NORMAL_COLOR, true));
    Counts baseline = countsNow();
    std::string baselineState = modeState();

    OverlayWatch watch;
    watch.program = &program;
    watch.thread = CreateThread(nullptr, 0, watchOverlays, &watch, 0, nullptr);
    ASSERT_NE(nullptr, watch.thread);
    storm(true, &watch);
    storm(false, &watch);
    ASSERT_TRUE(run(NORMAL_COLOR, true)) << "the last stop did not end gray: " << modeState();
    watch.stop = true;
    WaitForSingleObject(watch.thread, INFINITE);
    CloseHandle(watch.thread);
    EXPECT_LE(watch.most, 1u) << "two overlays at once";
    EXPECT_TRUE(settingsFileHoldsModel());

    // Threads of the last commands may still be ending: wait for the counts to settle.
    Counts after = {};
    bool settled = waitUntil(
        [&] {
            after = countsNow();
            return after.handles == baseline.handles &&
                   (!baseline.gdiRead || (after.gdi.others <= baseline.gdi.others + std::max(WINE_CACHE_BITMAPS, after.gdi.dcs - baseline.gdi.dcs) &&
                                          after.gdi.cacheable <= baseline.gdi.cacheable + WINE_DC_CACHE_OBJECTS));
        },
        SETTLE_DEADLINE_MS);
    EXPECT_TRUE(settled) << baselineState << " -> " << modeState() << "; handles " << baseline.handles << " -> " << after.handles << ", GDI objects "
                         << baseline.gdi.others << " -> " << after.gdi.others << " (DCs " << baseline.gdi.dcs << " -> " << after.gdi.dcs << "; DCs, regions, surfaces "
                         << baseline.gdi.cacheable << " -> " << after.gdi.cacheable << ")";
}

TEST_F(Storm, ClosingTheMainWindowWhileGrayIsOnEndsTheProgramWithCodeZero)
{
    startTalvero();
    press(IDC_BUTTON_SCREEN_MODE);
    ASSERT_TRUE(waitForGray("ON"));
    POINT closeBox = {};
    ASSERT_TRUE(findHitTestPoint(program.mainWindow, HTCLOSE, &closeBox));
    clickAt(closeBox.x, closeBox.y);
    EXPECT_EQ(0, exitCodeAfterEnd());
}
