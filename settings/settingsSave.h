// Saving a settings file so that a failed save never changes the one on disk, and
// telling the person when a save fails. The write may run on any thread; the
// telling runs on the UI thread only (a message box on a thread that the UI thread
// waits for would hang both).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// Writes bytes into a new file beside the file and moves it over the old one in one
// step. Where the file is a symbolic link, the file it names is replaced and the
// link stays. NO_ERROR, or the system's error with the old file untouched.
DWORD replaceSettingsFile(int32_t file, const char *bytes, size_t length);

// After a save: a message box naming the file and the system's reason when it
// failed, once per failure (settingsPlace.h). UI thread.
void tellSaveOutcome(HWND owner, int32_t file, DWORD error);
