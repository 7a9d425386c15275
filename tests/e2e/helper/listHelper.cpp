// listHelper.exe: a window of a program of the tests' own for the window-list tests.
// Arguments: title (in any script: the program reads its command line in UTF-16),
// left, top and, optionally, a window count (the benchmark's).
// It shows that many ordinary top-level windows with its own icon there, the
// first with the title and the others with the title and their number, and ends
// when the first window is closed.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

#include "boundedText.h"

namespace {

const wchar_t HELPER_CLASS[] = L"TALVERO_LIST_HELPER";
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
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    int argc = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (argv == nullptr || argc < ARGUMENT_COUNT)
        return 1;
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = helperWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(HELPER_ICON));
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = HELPER_CLASS;
    RegisterClassW(&windowClass);
    int count = argc > COUNT_ARGUMENT ? _wtoi(argv[COUNT_ARGUMENT]) : 1;
    count = count < 1 ? 1 : (count > MAX_WINDOWS ? MAX_WINDOWS : count);
    for (int number = 0; number < count; number++) {
        wchar_t title[TITLE_SIZE];
        copyText(title, argv[1]);
        if (number != 0) {
            wchar_t suffix[TITLE_SIZE];
            _snwprintf(suffix, TITLE_SIZE - 1, L" %d", number);
            suffix[TITLE_SIZE - 1] = L'\0';
            appendText(title, suffix);
        }
        int shift = number * CASCADE_STEP;
        HWND window = CreateWindowExW(0, HELPER_CLASS, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                      _wtoi(argv[2]) + shift, _wtoi(argv[3]) + shift, HELPER_WIDTH, HELPER_HEIGHT,
                                      nullptr, nullptr, instance, nullptr);
        if (window == nullptr)
            return 1;
        if (number == 0)
            firstWindow = window;
    }
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
