// The registry value HKCU\Software\Microsoft\Windows\DWM "Composition", which the
// program reads at start. Tests share the Wine prefix with the program, so they
// set it from their own process and put back what was there.
#pragma once

#include <windows.h>

struct SavedComposition {
    bool keyExisted = false;
    bool valueExisted = false;
    DWORD value = 0;
};

SavedComposition saveComposition();
// Creates the key when needed; false when it could not be written.
bool setComposition(DWORD value);
// Removes the value and, when it is empty, the key.
void removeComposition();
void restoreComposition(const SavedComposition &saved);
