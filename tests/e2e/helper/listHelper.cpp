// listHelper.exe: a window of a program of the tests' own for the window-list tests.
// Arguments: title, left, top and, optionally, a window count (the benchmark's).
// It shows that many ordinary top-level windows with its own icon there, the
// first with the title and the others with the title and their number, and ends
// when the first window is closed.
#include <windows.h>

#include <cstdlib>

#include "boundedText.h"

namespace {

const char HELPER_CLASS[] = "TALVERO_LIST_HELPER";
constexpr int HELPER_WIDTH = 300;
constexpr int HELPER_HEIGHT = 200;
constexpr int HELPER_ICON = 1;
constexpr int ARGUMENT_COUNT = 4;
constexpr int COUNT_ARGUMENT = 4;
constexpr int MAX_WINDOWS = 100;
constexpr int TITLE_SIZE = 256;
// Each further window stands a little lower and to the right of the one before.
constexpr int CASCADE_STEP = 5;

HWND firstWindow = nullptr;

LRESULT CALLBACK helperWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY && window == firstWindow) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    if (__argc < ARGUMENT_COUNT)
        return 1;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = helperWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(HELPER_ICON));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = HELPER_CLASS;
    RegisterClassA(&windowClass);
    int count = __argc > COUNT_ARGUMENT ? atoi(__argv[COUNT_ARGUMENT]) : 1;
    count = count < 1 ? 1 : (count > MAX_WINDOWS ? MAX_WINDOWS : count);
    for (int number = 0; number < count; number++) {
        char title[TITLE_SIZE];
        if (number == 0)
            copyText(title, __argv[1]);
        else
            formatText(title, "%s %d", __argv[1], number);
        int shift = number * CASCADE_STEP;
        HWND window = CreateWindowExA(0, HELPER_CLASS, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      atoi(__argv[2]) + shift, atoi(__argv[3]) + shift, HELPER_WIDTH, HELPER_HEIGHT,
                                      nullptr, nullptr, instance, nullptr);
        if (window == nullptr)
            return 1;
        if (number == 0)
            firstWindow = window;
    }
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
