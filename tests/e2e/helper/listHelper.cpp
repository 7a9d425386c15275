// listHelper.exe: a window of a program of the tests' own for the window-list tests.
// Arguments: title, left, top. It shows one ordinary top-level window with that
// title and its own icon there, and ends when the window is closed.
#include <windows.h>

#include <cstdlib>

namespace {

const char HELPER_CLASS[] = "TALVERO_LIST_HELPER";
constexpr int HELPER_WIDTH = 300;
constexpr int HELPER_HEIGHT = 200;
constexpr int HELPER_ICON = 1;
constexpr int ARGUMENT_COUNT = 4;

LRESULT CALLBACK helperWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
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
    HWND window = CreateWindowExA(0, HELPER_CLASS, __argv[1], WS_OVERLAPPEDWINDOW | WS_VISIBLE, atoi(__argv[2]),
                                  atoi(__argv[3]), HELPER_WIDTH, HELPER_HEIGHT, nullptr, nullptr, instance, nullptr);
    if (window == nullptr)
        return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
