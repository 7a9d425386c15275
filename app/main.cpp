// Entry point of talvero.exe: loads the string table, registers the one window
// class "TALVERO", creates the main window (which initialises everything in its
// WM_CREATE) and runs the UI thread's message loop in a single-threaded COM apartment.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "appState.h"
#include "commandRules.h"
#include "hotkeys.h"
#include "mainWindow.h"
#include "resource.h"
#include "habitControl.h"
#include "rulesControl.h"
#include "singleInstance.h"
#include "startCommands.h"

namespace {

const char MAIN_CLASS_NAME[] = "TALVERO";
constexpr int EXIT_HANDED_OVER = 0;
constexpr int EXIT_UNKNOWN_ARGUMENT = 2;
constexpr int EXIT_NOT_HANDED_OVER = 3;   // a copy runs that this start could not reach
constexpr size_t ARGUMENTS_TEXT_BYTES = 200;
constexpr COLORREF BACKGROUND_COLOR = RGB(238, 238, 238);
constexpr COLORREF WHITE_COLOR = RGB(255, 255, 255);

void loadText(UINT id, char *buffer, int size)
{
    if (LoadStringA(appState.instance, id, buffer, size) <= 0)
        buffer[0] = '\0';
}

void loadStringTexts()
{
    StringTexts &t = appState.texts;
    loadText(IDS_SET_TO_GRAY, t.setToGray, sizeof t.setToGray);
    loadText(IDS_TURN_OFF_GRAY, t.turnOffGray, sizeof t.turnOffGray);
    loadText(IDS_COLUMN_TITLE, t.columnTitle, sizeof t.columnTitle);
    loadText(IDS_COLUMN_APPLICATION, t.columnApplication, sizeof t.columnApplication);
    loadText(IDS_COLUMN_ON_OFF, t.columnOnOff, sizeof t.columnOnOff);
    loadText(IDS_TIP_FOREGROUND_MODE, t.tipForegroundMode, sizeof t.tipForegroundMode);
    loadText(IDS_TIP_SCREEN_MODE, t.tipScreenMode, sizeof t.tipScreenMode);
    loadText(IDS_TIP_NORMAL_COLOR, t.tipNormalColor, sizeof t.tipNormalColor);
    loadText(IDS_TIP_TRAY, t.tipTray, sizeof t.tipTray);
    loadText(IDS_TIP_CONFIGURE, t.tipConfigure, sizeof t.tipConfigure);
    loadText(IDS_UNSUPPORTED_SYSTEM, t.unsupportedSystem, sizeof t.unsupportedSystem);
    loadText(IDS_COMPOSITION_REFUSAL, t.compositionRefusal, sizeof t.compositionRefusal);
    loadText(IDS_ERROR_TITLE, t.errorTitle, sizeof t.errorTitle);
    loadText(IDS_GRAY_ON, t.grayOn, sizeof t.grayOn);
    loadText(IDS_GRAY_OFF, t.grayOff, sizeof t.grayOff);
    loadText(IDS_UNDER_MEASUREMENT, t.underMeasurement, sizeof t.underMeasurement);
    loadText(IDS_GRAY_LABEL, t.grayLabel, sizeof t.grayLabel);
    loadText(IDS_GRAY_PAUSED, t.grayPaused, sizeof t.grayPaused);
    loadText(IDS_TRAY_ICON_FAILED, t.trayIconFailed, sizeof t.trayIconFailed);
    loadText(IDS_RUNNING_COPY_UNREACHABLE, t.runningCopyUnreachable, sizeof t.runningCopyUnreachable);
}

ATOM registerMainClass()
{
    HICON icon = static_cast<HICON>(
        LoadImageA(appState.instance, MAKEINTRESOURCEA(IDI_TALVERO), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mainWindowProc;
    windowClass.hInstance = appState.instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = icon;
    windowClass.hCursor = static_cast<HCURSOR>(LoadImageA(nullptr, IDC_ARROW,
                                                          IMAGE_CURSOR, 0, 0, LR_SHARED));
    windowClass.hbrBackground = appState.backgroundBrush;
    windowClass.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN_MENU);
    windowClass.lpszClassName = MAIN_CLASS_NAME;
    return RegisterClassExA(&windowClass);
}

int refuseUnknownArgument()
{
    char text[ARGUMENTS_TEXT_BYTES];
    acceptedArgumentsText(text, sizeof text);
    MessageBoxA(nullptr, text, MAIN_CLASS_NAME, MB_OK | MB_ICONWARNING);
    return EXIT_UNKNOWN_ARGUMENT;
}

// Everything WinMain does inside the apartment: returns the exit code.
int runApplication(HINSTANCE instance, const char *commandLine, int showCommand)
{
    int32_t command = parseCommandLine(commandLine);
    if (command == START_UNKNOWN)
        return refuseUnknownArgument();
    // Before our own window takes the front: what /window grays.
    appState.startForeground = GetForegroundWindow();
    appState.instance = instance;
    loadStringTexts();
    switch (handOverToRunningInstance(command)) {
    case INSTANCE_END: return EXIT_HANDED_OVER;
    case INSTANCE_TELL_AND_END: return EXIT_NOT_HANDED_OVER;
    }

    InitCommonControls();
    appState.backgroundBrush = CreateSolidBrush(BACKGROUND_COLOR);
    appState.whiteBrush = CreateSolidBrush(WHITE_COLOR);
    InitializeCriticalSection(&appState.backBufferLock);
    appState.taskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
    letLowerRightsReach(appState.taskbarCreatedMessage);
    if (registerMainClass() == 0)
        return 0;

    const WindowPlacement &place = appState.mainPlacement;
    HWND window = CreateWindowExA(WS_EX_CONTROLPARENT, MAIN_CLASS_NAME, MAIN_CLASS_NAME,
                                  WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS, place.left, place.top, place.width,
                                  place.height, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 0;
    appState.mainWindow = window;
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    registerHotkeys(window);
    watchProgramRules(window);
    watchHabit(window);
    // Run from the message loop, with the main window up; no argument: nothing to run.
    if (command != START_SHOW)
        PostMessageA(window, WM_RUN_START_COMMAND, static_cast<WPARAM>(command), 0);

    MSG message = {};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    // ShellExecuteA (Help > Document) may hand the page to COM-based shell
    // handlers, which need the UI thread in a single-threaded apartment.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    int exitCode = runApplication(instance, commandLine, showCommand);
    if (SUCCEEDED(com))
        CoUninitialize();
    return exitCode;
}
