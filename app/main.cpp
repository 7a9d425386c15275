// Entry point of talvero.exe. For now it only loads the settings and exits;
// the main window and its message loop come with the application shell.
#include <windows.h>

#include "settingsFile.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    loadSettings();
    return 0;
}
