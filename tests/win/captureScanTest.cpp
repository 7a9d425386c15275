// The z-order scans over real top-level windows that the test stacks at the top
// of the z-order: classes, titles, visibility, enabled state and order.
#include <gtest/gtest.h>

#include <vector>

#include "captureLoops.h"
#include "captureTestWorld.h"

namespace {

const char EDITOR_CLASS[] = "CaptureScanEditor";
const char MOZILLA_SHADOW_CLASS[] = "MozillaDropShadowWindowClass";

// The stack lies apart from the other tests' windows, each one a step down and right.
constexpr int32_t STACK_LEFT = 600;
constexpr int32_t STACK_TOP = 500;
constexpr int32_t STACK_STEP = 30;
constexpr int32_t STACKED_WIDTH = 80;
constexpr int32_t STACKED_HEIGHT = 60;

enum Shape { SHOWN, HIDDEN, DISABLED };

struct StackedWindow {
    const char *className;   // "Button" is the system's own class
    const char *title;
    Shape shape;
};

struct ScanCase {
    const char *story;
    std::vector<StackedWindow> stack;   // top of the z-order first
    int32_t countedForScreen;           // counted windows of the stack
    int32_t countedForWindow;
    int32_t overlayOnTop;
    int topForScreen;                   // index into the stack, -1: none of the stack
    int topForWindow;
};

void registerScanClasses()
{
    for (const char *name : {EDITOR_CLASS, MOZILLA_SHADOW_CLASS}) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = name;
        RegisterClassA(&windowClass);
    }
}

// Creates the stack bottom first, each new window going to the top of the topmost band.
std::vector<HWND> createStack(const std::vector<StackedWindow> &stack)
{
    std::vector<HWND> windows(stack.size());
    for (size_t i = stack.size(); i-- > 0;) {
        const StackedWindow &w = stack[i];
        int32_t offset = static_cast<int32_t>(i) * STACK_STEP;
        HWND window = CreateWindowExA(WS_EX_TOPMOST, w.className, w.title, WS_POPUP, STACK_LEFT + offset,
                                      STACK_TOP + offset, STACKED_WIDTH, STACKED_HEIGHT, nullptr, nullptr,
                                      GetModuleHandleA(nullptr), nullptr);
        if (w.shape != HIDDEN)
            ShowWindow(window, SW_SHOWNA);
        if (w.shape == DISABLED)
            EnableWindow(window, FALSE);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        windows[i] = window;
    }
    return windows;
}

ZOrderScan scanWith(WNDENUMPROC scanProc)
{
    ZOrderScan scan{};
    EnumWindows(scanProc, reinterpret_cast<LPARAM>(&scan));
    return scan;
}

const ScanCase CASES[] = {
    {"overlay, editor, overlay",
     {{EDITOR_CLASS, "TALVERO_GRAY", SHOWN}, {EDITOR_CLASS, "notes - Editor", SHOWN}, {EDITOR_CLASS, "TALVERO_GRAY", SHOWN}},
     3, 3, 1, 1, 1},
    {"editor, overlay", {{EDITOR_CLASS, "notes - Editor", SHOWN}, {EDITOR_CLASS, "TALVERO_GRAY", SHOWN}}, 2, 2, 0, 0, 0},
    {"hidden overlay does not count",
     {{EDITOR_CLASS, "TALVERO_GRAY", HIDDEN}, {EDITOR_CLASS, "notes - Editor", SHOWN}}, 1, 1, 0, 1, 1},
    {"disabled overlay does not count",
     {{EDITOR_CLASS, "TALVERO_GRAY", DISABLED}, {EDITOR_CLASS, "notes - Editor", SHOWN}}, 1, 1, 0, 1, 1},
    {"an editor showing a file named like the overlay",
     {{EDITOR_CLASS, "TALVERO_GRAY.txt - Editor", SHOWN}, {EDITOR_CLASS, "notes - Editor", SHOWN}}, 2, 2, 1, 1, 1},
    {"11 characters of the overlay title make a window",
     {{EDITOR_CLASS, "TALVERO_GRA", SHOWN}, {EDITOR_CLASS, "notes - Editor", SHOWN}}, 2, 2, 0, 0, 0},
    {"a Button window does not count",
     {{"Button", "OK", SHOWN}, {EDITOR_CLASS, "notes - Editor", SHOWN}}, 1, 1, 0, 1, 1},
    {"Mozilla's shadow counts only for the screen",
     {{MOZILLA_SHADOW_CLASS, "", SHOWN}, {EDITOR_CLASS, "notes - Editor", SHOWN}}, 2, 1, 0, 0, 1},
    {"hidden and disabled editors do not count",
     {{EDITOR_CLASS, "hidden", HIDDEN}, {EDITOR_CLASS, "disabled", DISABLED}, {EDITOR_CLASS, "shown", SHOWN}}, 1, 1, 0,
     2, 2},
};

TEST(CaptureScan, ScansOverStackedWindows)
{
    ensureCaptureWorld();
    registerScanClasses();
    for (const ScanCase &c : CASES) {
        SCOPED_TRACE(c.story);
        ZOrderScan screenBefore = scanWith(screenScanProc);
        ZOrderScan windowBefore = scanWith(windowScanProc);
        std::vector<HWND> windows = createStack(c.stack);
        ZOrderScan screen = scanWith(screenScanProc);
        ZOrderScan window = scanWith(windowScanProc);

        EXPECT_EQ(screenBefore.windowCount + c.countedForScreen, screen.windowCount);
        EXPECT_EQ(windowBefore.windowCount + c.countedForWindow, window.windowCount);
        EXPECT_EQ(c.overlayOnTop, screen.overlayOnTop);
        EXPECT_EQ(c.overlayOnTop, window.overlayOnTop);
        EXPECT_EQ(1, screen.topFound);
        EXPECT_EQ(windows[static_cast<size_t>(c.topForScreen)], static_cast<HWND>(screen.topWindow));
        EXPECT_EQ(windows[static_cast<size_t>(c.topForWindow)], static_cast<HWND>(window.topWindow));
        for (HWND w : windows)
            DestroyWindow(w);
        pumpFor(0);
    }
}

TEST(CaptureScan, OnlyAnOverlayAtTheTopLeavesTopWindowBelowIt)
{
    ensureCaptureWorld();
    registerScanClasses();
    ZOrderScan before = scanWith(windowScanProc);
    std::vector<HWND> windows = createStack({{EDITOR_CLASS, "TALVERO_GRAY", SHOWN}});
    ZOrderScan scan = scanWith(windowScanProc);
    EXPECT_EQ(before.windowCount + 1, scan.windowCount);
    EXPECT_EQ(1, scan.overlayOnTop);
    EXPECT_NE(windows[0], static_cast<HWND>(scan.topWindow));
    EXPECT_EQ(before.topWindow, scan.topWindow);   // the overlay is never the top window
    DestroyWindow(windows[0]);
    pumpFor(0);
}

}  // namespace
