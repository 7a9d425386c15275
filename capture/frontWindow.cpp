// Reads the window in front for the front rules (see frontWindow.h).
#include "frontWindow.h"

#include "appState.h"
#include "captureRun.h"

namespace {

struct FrontClasses {
    char className[FOREGROUND_CLASS_BUFFER];
    char ownerClass[FOREGROUND_CLASS_BUFFER];
};

void readFrontClasses(HWND window, FrontClasses *classes)
{
    readClassName(window, classes->className, FOREGROUND_CLASS_BUFFER);
    readClassName(GetWindow(window, GW_OWNER), classes->ownerClass, FOREGROUND_CLASS_BUFFER);
}

}  // namespace

bool isPassingFrontWindow(HWND window)
{
    if (window == nullptr)
        return false;
    FrontClasses classes;
    readFrontClasses(window, &classes);
    return isPassingFront(classes.className, classes.ownerClass);
}

int32_t fullScreenColourMonitor(const MonitorLayout &layout, HWND foreground, HWND overlay)
{
    if (foreground == nullptr || InterlockedCompareExchange(&appState.fullScreenColour, 0, 0) == 0)
        return -1;
    FrontClasses classes;
    readFrontClasses(foreground, &classes);
    FrontFacts front = {};
    front.className = classes.className;
    front.ownerClass = classes.ownerClass;
    front.shows = IsWindowVisible(foreground) && !IsIconic(foreground);
    front.ours = foreground == overlay;
    front.captioned = (GetWindowLongA(foreground, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    bool readable = false;
    front.rect = windowRect(foreground, &readable);
    return readable ? fullScreenMonitor(layout, front) : -1;
}
